#include "controls/VariableDrivenSwitchControl.h"

#include "content/TemplateLib.h"
#include "core/Assert.h"
#include "core/XmlElement.h"

template <class Scope, class T>
VariableDrivenSwitchControl<Scope, T>::VariableDrivenSwitchControl(const ObjectWeakPointer<Control>& parent,
                                                                   const ObjectWeakPointer<XmlElement>& xml)
    : SingleChildControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> variableXml = xml->GetFirstChildElement("variable");
    Assert(variableXml != NULL);
    if (variableXml != NULL) {
        variableXml->GetStringAttribute("type");
        variableXml->GetStringAttribute("scope");
        const std::string name = variableXml->GetStringAttribute("name");
        const T defaultValue = variableXml->GetTypedAttribute<T>("defaultValue");
        _variable = ObjectSmartPointer<PermanentVariableOrDef<Scope, T>>(
            new PermanentVariableOrDef<Scope, T>(name, defaultValue));
    }

    const ObjectWeakPointer<XmlElement> states = xml->GetFirstChildElement("states");
    const ObjectWeakPointer<XmlElement> oneStateXml = states == NULL ? states : states->GetFirstChildElement();
    Assert(oneStateXml != NULL);
    for (ObjectWeakPointer<XmlElement> state = oneStateXml; state != NULL; state = state->GetNextElement()) {
        Assert(state->GetName() == "state");
        if (state->GetBoolAttributeOrDef("default", false)) {
            Assert(_defaultTemplateName.empty());
            _defaultTemplateName = state->GetStringAttribute("templateName");
            Assert(!_defaultTemplateName.empty());
        } else {
            const T variableValue = state->GetTypedAttribute<T>("variableValue");
            const std::string templateName = state->GetStringAttribute("templateName");
            Assert(_templateNames.find(variableValue) == _templateNames.end());
            _templateNames[variableValue] = templateName;
        }
    }
    if (variableXml != NULL) {
        const T defaultValue = variableXml->GetTypedAttribute<T>("defaultValue");
        Assert(_templateNames.find(defaultValue) != _templateNames.end() || !_defaultTemplateName.empty());
    }
    Refresh();
}

template <class Scope, class T>
VariableDrivenSwitchControl<Scope, T>::~VariableDrivenSwitchControl() = default;

template <class Scope, class T>
void VariableDrivenSwitchControl<Scope, T>::Refresh() {
    if (_variable == NULL || !_variable->IsChanged()) {
        return;
    }
    const T value = _variable->GetValue();
    const auto i = _templateNames.find(value);
    const std::string templateName = i != _templateNames.end() ? i->second : _defaultTemplateName;
    Assert(!templateName.empty());
    if (templateName.empty()) {
        return;
    }
    const ObjectWeakPointer<XmlElement> element = TemplateLib::GetTemplate(templateName);
    if (element == NULL) {
        return;  // reported by the library; the old child stays
    }
    TemplateLib::CheckFullyInstantiated(element);
    CreateChild(element);
}

template <class Scope, class T>
void VariableDrivenSwitchControl<Scope, T>::Update(float dt) {
    Refresh();
    SingleChildControl::Update(dt);
}

template class VariableDrivenSwitchControl<Local, std::string>;
template class VariableDrivenSwitchControl<Local, int>;
template class VariableDrivenSwitchControl<Local, bool>;
template class VariableDrivenSwitchControl<Global, std::string>;
template class VariableDrivenSwitchControl<Global, int>;
template class VariableDrivenSwitchControl<Global, bool>;

namespace {

template <class Scope, class T>
ObjectSmartPointer<Control> Make(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml) {
    return ObjectSmartPointer<Control>(new VariableDrivenSwitchControl<Scope, T>(parent, xml));
}

}  // namespace

ObjectSmartPointer<Control> CreateVariableDrivenSwitchControl(const ObjectWeakPointer<Control>& parent,
                                                              const ObjectWeakPointer<XmlElement>& xml) {
    const ObjectWeakPointer<XmlElement> variable = xml->GetFirstChildElement("variable");
    const std::string type = variable == NULL ? std::string() : variable->GetStringAttributeOrDef("type", "");
    const std::string scope = variable == NULL ? std::string() : variable->GetStringAttributeOrDef("scope", "");
    if (scope == "local") {
        if (type == "string") return Make<Local, std::string>(parent, xml);
        if (type == "int") return Make<Local, int>(parent, xml);
        if (type == "bool") return Make<Local, bool>(parent, xml);
    } else if (scope == "global") {
        if (type == "string") return Make<Global, std::string>(parent, xml);
        if (type == "int") return Make<Global, int>(parent, xml);
        if (type == "bool") return Make<Global, bool>(parent, xml);
    }
    Assert(false);
    return ObjectSmartPointer<Control>();
}
