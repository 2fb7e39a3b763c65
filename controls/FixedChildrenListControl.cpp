#include "controls/FixedChildrenListControl.h"

#include "controls/ControlFactory.h"
#include "controls/MouseEvents.h"
#include "core/XmlElement.h"

FixedChildrenListControl::FixedChildrenListControl(const ObjectWeakPointer<Control>& parent,
                                                   const ObjectWeakPointer<XmlElement>& xml)
    : Control(parent, xml) {
    if (xml == NULL) {
        return;
    }
    const ObjectWeakPointer<XmlElement> children = xml->GetFirstChildElement("children");
    if (children == NULL) {
        return;
    }
    const ObjectWeakPointer<Control> self(this);
    for (ObjectWeakPointer<XmlElement> child = children->GetFirstChildElement(); child != NULL;
         child = child->GetNextElement()) {
        _children.push_back(ControlFactory::CreateControl(self, child));
    }
}

FixedChildrenListControl::~FixedChildrenListControl() {
    for (ObjectSmartPointer<Control>& child : _children) {
        child = nullptr;
    }
}

// The list never changes after construction.
void FixedChildrenListControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    for (const ObjectSmartPointer<Control>& child : _children) {
        if (child != NULL) child->OnMouseDown(event);
    }
}

void FixedChildrenListControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    for (const ObjectSmartPointer<Control>& child : _children) {
        if (child != NULL) child->OnMouseUp(event);
    }
}

void FixedChildrenListControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    for (const ObjectSmartPointer<Control>& child : _children) {
        if (child != NULL) child->OnMouseMove(event);
    }
}

void FixedChildrenListControl::Draw() {
    for (auto child = _children.rbegin(); child != _children.rend(); ++child) {
        if (*child != NULL) (*child)->Draw();
    }
}

void FixedChildrenListControl::Update(float dt) {
    for (const ObjectSmartPointer<Control>& child : _children) {
        if (child != NULL) child->Update(dt);
    }
}
