#pragma once
// An offset path over progress 0..1 that ends where the owner stands: int points "x", "y" of every
// child element, at least two, the last one (0, 0).

#include "content/Spline.h"
#include "core/FPoint.h"
#include "core/ObjectSmartPointer.h"

class XmlElement;

class InPlacePath {
public:
    InPlacePath() = default;
    // A null element gives the empty path.
    explicit InPlacePath(const ObjectWeakPointer<XmlElement>& xe);

    // (0, 0) for the empty path; p is clamped to 0..1.
    FPoint GetPosition(float p) const;
    bool IsEmpty() const { return _path.keys.empty(); }

private:
    SplinePath<FPoint> _path;
};
