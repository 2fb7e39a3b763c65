#include "controls/ClickAreaControl.h"

#include "controls/MouseEvents.h"
#include "core/XmlElement.h"

ClickAreaControl::ClickAreaControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : Control(parent, xml) {
    if (xml == NULL) {
        return;
    }
    const ObjectWeakPointer<XmlElement> size = xml->GetFirstChildElement("size");
    const ObjectWeakPointer<XmlElement> message = xml->GetFirstChildElement("message");
    if (size == NULL || message == NULL) {
        // The failed check of the pointer access; the area stays empty and sends nothing.
        ReportFailure("Assertion failed", "_object != NULL", __FILE__, __LINE__);
        return;
    }
    _width = size->GetIntAttribute("width");
    _height = size->GetIntAttribute("height");
    Assert(_width >= 0 && _height >= 0);
    _message = ObjectSmartPointer<ReceiverAndMessage>(new ReceiverAndMessage(message));
}

bool ClickAreaControl::IsOver(const Point& p) {
    if (_width <= 0 || _height <= 0) {
        return false;
    }
    const Point a = GetAbsolutePos();
    return Rect(a.x, a.y, _width, _height).Contains(p.x, p.y);
}

void ClickAreaControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    SetMousePos(event->GetMousePos());
    if (_isMouseCapturedByThis) {
        if (event->IsMouseCaptured()) {
            event->ConfirmCapture();
            return;
        }
        // The container dropped the capture: this area no longer holds the mouse.
        _isMouseCapturedByThis = false;
    }
    if (!event->IsMouseCaptured() && !event->IsMouseHandled() && IsOver(event->GetMousePos())) {
        event->SetMouseHandled();
        event->SetActiveCursor();
    }
}

void ClickAreaControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    if (event->IsMouseCaptured() || !IsOver(GetMousePos())) {
        return;
    }
    event->CaptureMouse();
    _isMouseCapturedByThis = true;
}

void ClickAreaControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    if (!event->IsMouseCaptured() || !_isMouseCapturedByThis) {
        return;
    }
    event->ReleaseCapture();
    _isMouseCapturedByThis = false;
    if (IsOver(GetMousePos()) && _message != NULL) {
        _message->Send();
    }
}
