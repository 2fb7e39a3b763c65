#include "controls/StaticTextureControl.h"

#include "controls/MouseEvents.h"

StaticTextureControl::StaticTextureControl(const ObjectWeakPointer<Control>& parent,
                                           const ObjectWeakPointer<XmlElement>& xml)
    : SingleTextureControl(parent, xml) {}

void StaticTextureControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    SingleTextureControl::OnMouseDown(event);
    if (event->IsMouseCaptured()) {
        return;
    }
    Assert(!_isMouseCapturedByThis);
    if (IsMouseInTexture()) {
        event->CaptureMouse();
        _isMouseCapturedByThis = true;
    }
}

void StaticTextureControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    SingleTextureControl::OnMouseUp(event);
    ReleaseOwnCapture(event, _isMouseCapturedByThis);
}

void StaticTextureControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    SetMousePos(event->GetMousePos());
    SingleTextureControl::OnMouseMove(event);
    if (event->IsMouseCaptured() && _isMouseCapturedByThis) {
        event->ConfirmCapture();
        return;
    }
    if (!event->IsMouseCaptured()) {
        Assert(!_isMouseCapturedByThis);
    }
    if (!event->IsMouseHandled() && IsMouseInTexture()) {
        event->SetMouseHandled();
    }
}

void StaticTextureControl::Draw() {
    DrawTexture();
    SingleTextureControl::Draw();
}
