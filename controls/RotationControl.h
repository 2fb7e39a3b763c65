#pragma once
// Turns its children about a fixed point (relative to its own position), counter-clockwise for
// positive angles; the pointer reaches the children turned back by the same angle.

#include "controls/FixedChildrenListControl.h"
#include "core/FPoint.h"

class RotationControl : public FixedChildrenListControl {
public:
    // Reads the child "center" ("x", "y") and the child "angle" ("value", "units": "radians" or
    // "degrees").
    RotationControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~RotationControl() override;

    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;

    Point GetCenter() const { return _center; }
    // Radians.
    float GetAngle() const { return _angle; }

private:
    FPoint GetAbsoluteCenter();

    Point _center;
    float _angle = 0.0f;
};
