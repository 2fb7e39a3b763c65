#pragma once
// A node of the control tree: input, drawing and per-frame update, a position relative to its parent.

#include "content/Definition.h"
#include "core/ObjectSmartPointer.h"
#include "core/Point.h"

class MouseDownEvent;
class MouseUpEvent;
class MouseMoveEvent;

class Control : public Definition {
public:
    // Reads the child "position" with its int attributes "x" and "y".
    Control(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~Control() override;

    // Also double clicks (MouseDoubleClickEvent).
    virtual void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) = 0;
    virtual void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) = 0;
    // Also keys, characters, the wheel and the right button.
    virtual void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) = 0;
    virtual void Draw() = 0;
    virtual void Update(float dt) = 0;
    virtual Point GetAbsolutePos();

    Point GetInParentPos() const { return _position; }
    ObjectWeakPointer<Control> GetParent() const { return _parent; }
    void SetParent(const ObjectWeakPointer<Control>& parent) { _parent = parent; }
    void SetAbsolutePos(const Point& p);

protected:
    ObjectWeakPointer<Control> _parent;
    Point _position;
};

// A control that lets every input event pass.
class MouseTransparentControl : public Control {
public:
    MouseTransparentControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
};
