#include "controls/ChildrenMaskControl.h"

#include "controls/MouseEvents.h"
#include "controls/PictureTexture.h"
#include "core/XmlElement.h"

CommonChildrenMaskControl::CommonChildrenMaskControl(const ObjectWeakPointer<Control>& parent,
                                                     const ObjectWeakPointer<XmlElement>& xml)
    : FixedChildrenListControl(parent, xml) {}

CommonChildrenMaskControl::~CommonChildrenMaskControl() = default;

void CommonChildrenMaskControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    if (IsMouseInMask()) {
        FixedChildrenListControl::OnMouseDown(event);
    } else {
        event->PushCaptured();
        FixedChildrenListControl::OnMouseDown(event);
        event->PopCaptured();
    }
}

void CommonChildrenMaskControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    SetMousePos(event->GetMousePos());
    if (IsMouseInMask()) {
        FixedChildrenListControl::OnMouseMove(event);
    } else {
        event->PushHandled();
        FixedChildrenListControl::OnMouseMove(event);
        event->PopHandled();
    }
}

RectangleChildrenMaskControl::RectangleChildrenMaskControl(const ObjectWeakPointer<Control>& parent,
                                                           const ObjectWeakPointer<XmlElement>& xml)
    : CommonChildrenMaskControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> mask = GetNeededChild(xml, "mask");
    if (mask != NULL) {
        _mask = mask->GetRect();
    }
}

bool RectangleChildrenMaskControl::IsMouseInMask() {
    const Point mouse = GetMousePos();
    const Point a = GetAbsolutePos();
    return _mask.Contains(mouse.x - a.x, mouse.y - a.y);
}

TextureChildrenMaskControl::TextureChildrenMaskControl(const ObjectWeakPointer<Control>& parent,
                                                       const ObjectWeakPointer<XmlElement>& xml)
    : CommonChildrenMaskControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> mask = GetNeededChild(xml, "mask");
    if (mask != NULL) {
        _mask = GetPictureTexture(mask->GetStringAttribute("textureId"));
    }
}

bool TextureChildrenMaskControl::IsMouseInMask() {
    if (_mask == NULL) {
        return false;
    }
    const Point mouse = GetMousePos();
    const Point a = GetAbsolutePos();
    return _mask->IsPointTransparent(Point(mouse.x - a.x, mouse.y - a.y));
}
