#include "controls/MovableTextureControl.h"

#include "controls/MouseEvents.h"

MovableTextureControl::MovableTextureControl(const ObjectWeakPointer<Control>& parent,
                                             const ObjectWeakPointer<XmlElement>& xml)
    : SingleTextureControl(parent, xml) {}

void MovableTextureControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    SingleTextureControl::OnMouseDown(event);
    if (event->IsMouseCaptured()) {
        return;
    }
    Assert(!_isInDragging);
    if (IsMouseInTexture()) {
        event->CaptureMouse();
        _isInDragging = true;
        const Point mouse = GetMousePos();
        _dragOffset = mouse - GetAbsolutePos();
        _dragStartMousePos = mouse;
        _wasMovedInDrag = false;
    }
}

void MovableTextureControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    SetMousePos(event->GetMousePos());
    SingleTextureControl::OnMouseMove(event);
    const Point mouse = GetMousePos();
    if (event->IsMouseCaptured()) {
        if (_isInDragging) {
            event->ConfirmCapture();
            event->SetPressedCursor();
            SetAbsolutePos(mouse - _dragOffset);
            if (mouse != _dragStartMousePos) {
                _wasMovedInDrag = true;
            }
        } else if (!event->IsMouseHandled() && IsMouseInTexture()) {
            event->SetMouseHandled();
        }
        return;
    }
    Assert(!_isInDragging);
    if (!event->IsMouseHandled() && IsMouseInTexture()) {
        event->SetMouseHandled();
        event->SetActiveCursor();
    }
}

void MovableTextureControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    SingleTextureControl::OnMouseUp(event);
    if (!event->IsMouseCaptured()) {
        Assert(!_isInDragging);
        return;
    }
    if (!_isInDragging) {
        return;
    }
    if (_wasMovedInDrag) {
        event->ReleaseCapture();
        _isInDragging = false;
    } else {
        Assert(_dragStartMousePos == GetMousePos());
    }
}

void MovableTextureControl::Draw() {
    DrawTexture();
    SingleTextureControl::Draw();
}
