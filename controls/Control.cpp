#include "controls/Control.h"

#include "controls/MouseEvents.h"
#include "core/ContentValues.h"
#include "core/XmlElement.h"

Control::Control(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : Definition(xml), _parent(parent) {
    if (xml == NULL) {
        return;
    }
    const ObjectWeakPointer<XmlElement> position = xml->GetFirstChildElement("position");
    if (position == NULL) {
        // The failed check of the pointer access; the control stays at (0, 0).
        ReportFailure("Assertion failed", "_object != NULL", __FILE__, __LINE__);
        return;
    }
    _position.y = position->GetIntAttribute("y");
    _position.x = position->GetIntAttribute("x");
    // Far outside the screen, but no sum of positions down the tree can overflow.
    const int limit = 1000000;
    _position.x = CHECKED_INT(_position.x, -limit, limit, "-1000000 <= position && position <= 1000000");
    _position.y = CHECKED_INT(_position.y, -limit, limit, "-1000000 <= position && position <= 1000000");
}

Control::~Control() = default;

Point Control::GetAbsolutePos() {
    if (_parent == NULL) {
        return _position;
    }
    return _parent->GetAbsolutePos() + _position;
}

void Control::SetAbsolutePos(const Point& p) { _position = _position + p - GetAbsolutePos(); }

MouseTransparentControl::MouseTransparentControl(const ObjectWeakPointer<Control>& parent,
                                                 const ObjectWeakPointer<XmlElement>& xml)
    : Control(parent, xml) {}

void MouseTransparentControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) { event = nullptr; }

void MouseTransparentControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) { event = nullptr; }

void MouseTransparentControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) { event = nullptr; }
