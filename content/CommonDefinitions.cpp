#include "content/CommonDefinitions.h"

#include "core/Assert.h"
#include "core/PermanentStorage.h"
#include "core/XmlElement.h"
#include "shell/SoundSystem.h"

namespace {

// A required child element; a missing one is reported like the pointer access it stands for.
ObjectWeakPointer<XmlElement> RequiredChild(const ObjectWeakPointer<XmlElement>& xml, const std::string& name) {
    if (xml == NULL) {
        return ObjectWeakPointer<XmlElement>();
    }
    ObjectWeakPointer<XmlElement> child = xml->GetFirstChildElement(name);
    if (child == NULL) {
        ReportFailure("Assertion failed", "_object != NULL", __FILE__, __LINE__);
    }
    return child;
}

}  // namespace

CreationMessageDefinition::CreationMessageDefinition(const ObjectWeakPointer<XmlElement>& xml) : Definition(xml) {
    const ObjectWeakPointer<XmlElement> constructionXml = RequiredChild(xml, "construction");
    ObjectSmartPointer<ReceiverAndMessage> construction;
    if (constructionXml != NULL) {
        construction = ObjectSmartPointer<ReceiverAndMessage>(new ReceiverAndMessage(constructionXml));
    }
    const ObjectWeakPointer<XmlElement> destructionXml = RequiredChild(xml, "destruction");
    if (destructionXml != NULL) {
        _destruction = ObjectSmartPointer<ReceiverAndMessage>(new ReceiverAndMessage(destructionXml));
    }
    if (construction != NULL) {
        construction->Send();
    }
}

CreationMessageDefinition::~CreationMessageDefinition() {
    if (_destruction != NULL) {
        _destruction->Send();
    }
}

PlaySampleDefinition::PlaySampleDefinition(const ObjectWeakPointer<XmlElement>& xml) : Definition(xml) {
    if (xml == NULL) {
        return;
    }
    Sound::soundSystem.PlaySample(xml->GetStringAttribute("name"));
}

UndefVariableDefinition::UndefVariableDefinition(const ObjectWeakPointer<XmlElement>& xml) : Definition(xml) {
    const ObjectWeakPointer<XmlElement> variable = RequiredChild(xml, "variable");
    if (variable != NULL) {
        _variableName = variable->GetStringAttribute("name");
    }
}

UndefVariableDefinition::~UndefVariableDefinition() {
    if (!_variableName.empty()) {
        PermanentStorage::UndefLocalName(_variableName);
    }
}

DefUndefVariableDefinition::DefUndefVariableDefinition(const ObjectWeakPointer<XmlElement>& xml) : Definition(xml) {
    const ObjectWeakPointer<XmlElement> variable = RequiredChild(xml, "variable");
    if (variable == NULL) {
        return;
    }
    _variableName = variable->GetStringAttribute("name");
    PermanentStorage::SetLocalString(_variableName, variable->GetStringAttribute("value"));
}

DefUndefVariableDefinition::~DefUndefVariableDefinition() {
    if (!_variableName.empty()) {
        PermanentStorage::UndefLocalName(_variableName);
    }
}

HelpTimes::HelpTimes(const ObjectWeakPointer<XmlElement>& xml) {
    Assert(xml != NULL);
    if (xml == NULL) {
        return;
    }
    _initialTime = xml->GetFloatAttribute("initial");
    _reshowTime = xml->GetFloatAttribute("reshow");
    const float initialTime = _initialTime;
    const float reshowTime = _reshowTime;
    Assert(0.0f <= reshowTime && reshowTime <= initialTime);
}
