#include "core/MousePosRememberer.h"

#include "core/Assert.h"

void MousePosRememberer::SetMousePos(const Point& point) {
    _mousePos = point;
    _isSet = true;
}

Point MousePosRememberer::GetMousePos() const {
    Assert(_isSet);
    return _mousePos;
}
