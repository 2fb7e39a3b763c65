#pragma once
// Something drawn on the screen that can tell the points bounding what it draws; the text
// controls are, and the consumers that frame text ask them through this.

#include <vector>

#include "core/FPoint.h"
#include "core/Object.h"

class BoundingPointsSource : public virtual Interface {
public:
    // Appends points in absolute logical coordinates whose bounding box is the drawn area.
    virtual void AddBoundingPoints(std::vector<FPoint>& points) = 0;
};
