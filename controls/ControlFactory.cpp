#include "controls/ControlFactory.h"

#include <map>

#include "content/Definition.h"
#include "controls/DefinitionContainerControl.h"
#include "core/Assert.h"
#include "core/HtmlLog.h"
#include "core/XmlElement.h"
#include "shell/TimePauser.h"

namespace {

std::map<std::string, ControlFactory::ControlCreator>& ControlCreators() {
    static std::map<std::string, ControlFactory::ControlCreator> creators;
    return creators;
}

std::map<std::string, ControlFactory::DefinitionCreator>& DefinitionCreators() {
    static std::map<std::string, ControlFactory::DefinitionCreator> creators;
    return creators;
}

}  // namespace

ObjectSmartPointer<Control> ControlFactory::CreateControl(const ObjectWeakPointer<Control>& parent,
                                                          const ObjectWeakPointer<XmlElement>& xe) {
    TimePauser pauser;
    Assert(xe != NULL);
    if (xe == NULL) {
        return ObjectSmartPointer<Control>();
    }
    const std::string name = xe->GetName();
    const auto found = ControlCreators().find(name);
    if (found != ControlCreators().end()) {
        ObjectSmartPointer<Control> control = found->second(parent, xe);
        if (control != NULL) {
            return control;
        }
    }
    // A definition among controls: a container at (0, 0) holds a copy of the element.
    ObjectSmartPointer<XmlElement> holder(new XmlElement("DefinitionContainerControl"));
    ObjectSmartPointer<XmlElement> position(new XmlElement("position"));
    position->SetStringAttribute("x", "0");
    position->SetStringAttribute("y", "0");
    holder->AppendChild(position);
    ObjectSmartPointer<XmlElement> children(new XmlElement("children"));
    children->AppendChild(ObjectSmartPointer<XmlElement>(new XmlElement(xe)));
    holder->AppendChild(children);
    holder->MarkVisited();
    ObjectSmartPointer<Control> container(new DefinitionContainerControl(parent, holder));
    holder->CheckVisited();
    return container;
}

ObjectSmartPointer<Definition> ControlFactory::CreateDefinition(const ObjectWeakPointer<XmlElement>& xe) {
    TimePauser pauser;
    Assert(xe != NULL);
    if (xe == NULL) {
        return ObjectSmartPointer<Definition>();
    }
    const std::string name = xe->GetName();
    const auto found = DefinitionCreators().find(name);
    if (found != DefinitionCreators().end()) {
        ObjectSmartPointer<Definition> definition = found->second(xe);
        if (definition != NULL) {
            return definition;
        }
    }
    HtmlLog::WriteLine("Element '" + name + "' is neither a control nor a definition");
    Assert(false);
    return ObjectSmartPointer<Definition>();
}

void ControlFactory::RegisterControl(const std::string& elementName, ControlCreator creator) {
    Assert(creator);
    const bool isNew = ControlCreators().emplace(elementName, std::move(creator)).second;
    Assert(isNew);
}

void ControlFactory::RegisterDefinition(const std::string& elementName, DefinitionCreator creator) {
    Assert(creator);
    const bool isNew = DefinitionCreators().emplace(elementName, std::move(creator)).second;
    Assert(isNew);
}

bool ControlFactory::IsControlRegistered(const std::string& elementName) {
    return ControlCreators().count(elementName) != 0;
}

bool ControlFactory::IsDefinitionRegistered(const std::string& elementName) {
    return DefinitionCreators().count(elementName) != 0;
}

void ControlFactory::UnregisterControl(const std::string& elementName) { ControlCreators().erase(elementName); }

void ControlFactory::UnregisterDefinition(const std::string& elementName) {
    DefinitionCreators().erase(elementName);
}
