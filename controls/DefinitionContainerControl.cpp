#include "controls/DefinitionContainerControl.h"

#include "controls/ControlFactory.h"

DefinitionContainerControl::DefinitionContainerControl(const ObjectWeakPointer<Control>& parent,
                                                       const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {
    if (xml == NULL) {
        return;
    }
    const ObjectWeakPointer<XmlElement> children = xml->GetFirstChildElement("children");
    if (children == NULL) {
        ReportFailure("Assertion failed", "_object != NULL", __FILE__, __LINE__);
        return;
    }
    for (ObjectWeakPointer<XmlElement> child = children->GetFirstChildElement(); child != NULL;
         child = child->GetNextElement()) {
        _definitions.push_back(ControlFactory::CreateDefinition(child));
    }
}

DefinitionContainerControl::~DefinitionContainerControl() {
    // In document order.
    for (ObjectSmartPointer<Definition>& definition : _definitions) {
        definition = nullptr;
    }
}
