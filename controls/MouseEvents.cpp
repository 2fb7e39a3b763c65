#include "controls/MouseEvents.h"

#include "core/Assert.h"

namespace {

EventCursor::Setter& CursorSetter() {
    static EventCursor::Setter setter;
    return setter;
}

}  // namespace

void EventCursor::Connect(Setter setter) { CursorSetter() = std::move(setter); }

void EventCursor::Set(CursorShape shape) {
    const Setter& setter = CursorSetter();
    if (setter) {
        setter(shape);
    }
}

MouseMoveEvent::MouseMoveEvent(int x, int y, bool isMouseCaptured)
    : _isMouseCaptured(isMouseCaptured), _mousePos(x, y), _floatMousePos(x, y) {
    EventCursor::Set(CursorShape::Normal);
}

MouseMoveEvent::~MouseMoveEvent() {
    Assert(_isHandledStack.empty());
    Assert(_mousePosStack.empty());
}

void MouseMoveEvent::ConfirmCapture() {
    Assert(_isMouseCaptured);
    Assert(!_isCaptureConfirmed);
    _isCaptureConfirmed = true;
}

void MouseMoveEvent::SetMouseHandled() {
    Assert(!_isMouseHandled);
    _isMouseHandled = true;
}

void MouseMoveEvent::PushHandled() {
    _isHandledStack.push_back(_isMouseHandled);
    _isMouseHandled = true;
}

void MouseMoveEvent::PopHandled() {
    Assert(!_isHandledStack.empty());
    if (_isHandledStack.empty()) {
        return;
    }
    _isMouseHandled = _isHandledStack.back();
    _isHandledStack.pop_back();
}

void MouseMoveEvent::PushMousePos(const FPoint& p) {
    _mousePosStack.push_back(_floatMousePos);
    _floatMousePos = p;
    _mousePos = p.Round();
}

void MouseMoveEvent::PopMousePos() {
    Assert(!_mousePosStack.empty());
    if (_mousePosStack.empty()) {
        return;
    }
    _floatMousePos = _mousePosStack.back();
    _mousePos = _floatMousePos.Round();
    _mousePosStack.pop_back();
}

void MouseMoveEvent::SetActiveCursor() { SetCursor(CursorShape::Active); }

void MouseMoveEvent::SetPressedCursor() { SetCursor(CursorShape::Pressed); }

void MouseMoveEvent::SetCursor(CursorShape shape) {
    Assert(!_isCursorSet);
    EventCursor::Set(shape);
    _isCursorSet = true;
}

KeyDownEvent::KeyDownEvent(int x, int y, bool isMouseCaptured, int key)
    : MouseMoveEvent(x, y, isMouseCaptured), _key(key) {}

void KeyDownEvent::SetKeyHandled() {
    Assert(!_isKeyHandled);
    _isKeyHandled = true;
}

CharEvent::CharEvent(int x, int y, bool isMouseCaptured, int character)
    : MouseMoveEvent(x, y, isMouseCaptured), _character(character) {}

void CharEvent::SetCharHandled() {
    Assert(!_isCharHandled);
    _isCharHandled = true;
}

MouseWheelEvent::MouseWheelEvent(int x, int y, bool isMouseCaptured, bool direction)
    : MouseMoveEvent(x, y, isMouseCaptured), _direction(direction) {}

void MouseWheelEvent::SetWheelHandled() {
    Assert(!_isWheelHandled);
    _isWheelHandled = true;
}

MouseDownEvent::MouseDownEvent(bool isMouseCaptured) : _isMouseCaptured(isMouseCaptured) {}

MouseDownEvent::~MouseDownEvent() { Assert(_isCapturedStack.empty()); }

void MouseDownEvent::CaptureMouse() {
    Assert(!_isMouseCaptured);
    _isMouseCaptured = true;
}

void MouseDownEvent::PushCaptured() {
    _isCapturedStack.push_back(_isMouseCaptured);
    _isMouseCaptured = true;
}

void MouseDownEvent::PopCaptured() {
    Assert(!_isCapturedStack.empty());
    if (_isCapturedStack.empty()) {
        return;
    }
    _isMouseCaptured = _isCapturedStack.back();
    _isCapturedStack.pop_back();
}

MouseUpEvent::MouseUpEvent(bool isMouseCaptured) : _isMouseCaptured(isMouseCaptured) {}

void MouseUpEvent::ReleaseCapture() {
    Assert(_isMouseCaptured);
    _isMouseCaptured = false;
}

void ReleaseOwnCapture(const ObjectWeakPointer<MouseUpEvent>& event, bool& _isMouseCapturedByThis) {
    if (event->IsMouseCaptured()) {
        if (_isMouseCapturedByThis) {
            event->ReleaseCapture();
            _isMouseCapturedByThis = false;
        }
    } else {
        Assert(!_isMouseCapturedByThis);
    }
}
