#pragma once
// Input events that the container hands down the control tree for one dispatch. Controls
// coordinate through their flags: "handled" (a control in front reacts to the pointer) and
// "captured" (a control owns the mouse between a left press and its release). The stacks let
// decorators show their children a changed view of the event and restore it afterwards.

#include <deque>
#include <functional>

#include "core/FPoint.h"
#include "core/ObjectSmartPointer.h"
#include "core/Point.h"

// The shapes of the application cursor that events choose between.
enum class CursorShape { Normal, Active, Pressed };

// Where events set the cursor shape; the shell connects its cursor. Unconnected, nothing happens.
class EventCursor {
public:
    using Setter = std::function<void(CursorShape)>;
    static void Connect(Setter setter);
    static void Set(CursorShape shape);
};

class MouseMoveEvent : public Interface {
public:
    MouseMoveEvent(int x, int y, bool isMouseCaptured);
    ~MouseMoveEvent() override;

    bool IsMouseCaptured() const { return _isMouseCaptured; }
    bool IsCaptureConfirmed() const { return _isCaptureConfirmed; }
    bool IsMouseHandled() const { return _isMouseHandled; }
    Point GetMousePos() const { return _mousePos; }
    FPoint GetFloatMousePos() const { return _floatMousePos; }

    void ConfirmCapture();
    void SetMouseHandled();
    void PushHandled();
    void PopHandled();
    void PushMousePos(const FPoint& p);
    void PopMousePos();
    void SetActiveCursor();
    void SetPressedCursor();

private:
    void SetCursor(CursorShape shape);

    bool _isMouseCaptured = false;
    bool _isCaptureConfirmed = false;
    bool _isMouseHandled = false;
    std::deque<bool> _isHandledStack;
    Point _mousePos;
    FPoint _floatMousePos;
    std::deque<FPoint> _mousePosStack;
    bool _isCursorSet = false;
};

class KeyDownEvent : public MouseMoveEvent {
public:
    // key: the virtual-key code, 1..255.
    KeyDownEvent(int x, int y, bool isMouseCaptured, int key);
    int GetKey() const { return _key; }
    bool IsKeyHandled() const { return _isKeyHandled; }
    void SetKeyHandled();

private:
    int _key = 0;
    bool _isKeyHandled = false;
};

class CharEvent : public MouseMoveEvent {
public:
    // character: the 8-bit code as the window system delivered it.
    CharEvent(int x, int y, bool isMouseCaptured, int character);
    int GetChar() const { return _character; }
    bool IsCharHandled() const { return _isCharHandled; }
    void SetCharHandled();

private:
    int _character = 0;
    bool _isCharHandled = false;
};

class MouseWheelEvent : public MouseMoveEvent {
public:
    // direction: true for one notch away from the user.
    MouseWheelEvent(int x, int y, bool isMouseCaptured, bool direction);
    bool GetDirection() const { return _direction; }
    bool IsWheelHandled() const { return _isWheelHandled; }
    void SetWheelHandled();

private:
    bool _direction = false;
    bool _isWheelHandled = false;
};

class RightMouseButtonEvent : public MouseMoveEvent {
public:
    using MouseMoveEvent::MouseMoveEvent;
};

class RightButtonDownEvent : public RightMouseButtonEvent {
public:
    using RightMouseButtonEvent::RightMouseButtonEvent;
};

class RightButtonUpEvent : public RightMouseButtonEvent {
public:
    using RightMouseButtonEvent::RightMouseButtonEvent;
};

class RightButtonDoubleEvent : public RightButtonDownEvent {
public:
    using RightButtonDownEvent::RightButtonDownEvent;
};

// Left presses carry no position: controls hit-test with the position of the last move they saw.
class MouseDownEvent : public Interface {
public:
    explicit MouseDownEvent(bool isMouseCaptured);
    ~MouseDownEvent() override;

    bool IsMouseCaptured() const { return _isMouseCaptured; }
    void CaptureMouse();
    void PushCaptured();
    void PopCaptured();

private:
    bool _isMouseCaptured = false;
    std::deque<bool> _isCapturedStack;
};

class MouseDoubleClickEvent : public MouseDownEvent {
public:
    using MouseDownEvent::MouseDownEvent;
};

class MouseUpEvent : public Interface {
public:
    explicit MouseUpEvent(bool isMouseCaptured);

    bool IsMouseCaptured() const { return _isMouseCaptured; }
    void ReleaseCapture();

private:
    bool _isMouseCaptured = false;
};

// The mouse-up step of a control that captures the press itself: releases the capture when it
// holds it; an uncaptured release while it thinks it holds one is a failed check.
void ReleaseOwnCapture(const ObjectWeakPointer<MouseUpEvent>& event, bool& _isMouseCapturedByThis);
