#include "core/VolumeObject.h"

#include "core/Assert.h"

VolumeObject::VolumeObject(float x, float y, float /*z*/, float width, float height)
    : _cornerCount(4),
      _rect(static_cast<int>(x), static_cast<int>(y), static_cast<int>(width), static_cast<int>(height)) {}

Point VolumeObject::GetCorner(int i) const {
    switch (i) {
        case 0:
            return Point(_rect.x, _rect.y);
        case 1:
            return Point(_rect.x + _rect.width, _rect.y);
        case 2:
            return Point(_rect.x + _rect.width, _rect.y + _rect.height);
        case 3:
            return Point(_rect.x, _rect.y + _rect.height);
        default:
            Assert(false);
            return Point(0, 0);
    }
}

bool VolumeObject::Intersects(const VolumeObject& other) const {
    for (int i = 0; i < _cornerCount; ++i) {
        const Point corner = other.GetCorner(i);
        if (_rect.Contains(corner.x, corner.y)) {
            return true;
        }
    }
    for (int i = 0; i < _cornerCount; ++i) {
        const Point corner = GetCorner(i);
        if (other._rect.Contains(corner.x, corner.y)) {
            return true;
        }
    }
    return false;
}

bool VolumeObjectList::Intersects(const VolumeObject& box) const {
    for (const ObjectSmartPointer<VolumeObject>& element : *this) {
        if (element->Intersects(box)) {
            return true;
        }
    }
    return false;
}
