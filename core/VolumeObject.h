#pragma once
// A box for overlap tests between moving objects, and lists of such boxes.

#include <list>

#include "core/Object.h"
#include "core/ObjectSmartPointer.h"
#include "core/Point.h"
#include "core/Rect.h"

class VolumeObject : public Interface {
public:
    // The depth z is not used; each float is truncated toward zero.
    VolumeObject(float x, float y, float z, float width, float height);

    // 0 (x, y), 1 (x + width, y), 2 (x + width, y + height), 3 (x, y + height).
    Point GetCorner(int i) const;
    // True when either box holds a corner of the other (half-open containment).
    bool Intersects(const VolumeObject& other) const;

    const Rect& GetRect() const { return _rect; }
    int GetCornerCount() const { return _cornerCount; }

private:
    int _cornerCount = 4;
    Rect _rect;
};

class VolumeObjectList : public std::list<ObjectSmartPointer<VolumeObject>> {
public:
    // True at the first element, in order, that intersects the box.
    bool Intersects(const VolumeObject& box) const;
};
