#pragma once
// A control that holds text and reports the points bounding that text on the screen; built
// inside an InscribableConsumer, it announces itself there.

#include <vector>

#include "controls/BoundingPointsSource.h"
#include "controls/Control.h"
#include "core/FPoint.h"

class InscribableControl : public Control, public BoundingPointsSource {
public:
    InscribableControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    // Appends points in absolute logical coordinates whose bounding box is the area of the text.
    void AddBoundingPoints(std::vector<FPoint>& points) override = 0;
};
