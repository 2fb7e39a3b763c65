#pragma once
// Base of controls that keep the last mouse position they were shown.

#include "core/Object.h"
#include "core/Point.h"

class MousePosRememberer : public virtual Interface {
public:
    void SetMousePos(const Point& point);
    // The remembered position; before any was set, a failed check and (0, 0).
    Point GetMousePos() const;

private:
    Point _mousePos;
    bool _isSet = false;
};
