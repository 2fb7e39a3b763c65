#pragma once
// What a tank asks of the items it holds (fish and floor items): depth for the drawing order,
// position and size, the saved element, selling, schools, wishes and texts handed to the item.

#include <string>
#include <vector>

#include "controls/Control.h"

class XmlElement;
class VolumeObjectList;
struct TrajectoryPoint;

class ZOrderClientControl : public Control {
public:
    ZOrderClientControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~ZOrderClientControl() override;

    // The element the tank state keeps for this item; empty leaves the item out of the state.
    virtual ObjectSmartPointer<XmlElement> SaveToXml() = 0;
    // The item that went to the basket stays in the tank.
    virtual void OnSellingCancelled() = 0;
    // The item that went to the basket is sold; the tank erases it right after.
    virtual void OnSellingDone() = 0;
    // "WaterPlant" for plants; a fish answers its kind, the key of its school.
    virtual std::string GetKindName();
    // Depth fraction: greater is nearer and drawn later.
    virtual float GetZ() = 0;
    // Position and size in the tank's coordinates.
    virtual float GetX() = 0;
    virtual float GetY() = 0;
    virtual float GetWidth() = 0;
    virtual float GetHeight() = 0;
    virtual void TryStartSchool();
    // True when a wish is now shown.
    virtual bool MakeWish();
    // Appends the item's box (x, y, width, height) to the list.
    virtual void AddVolume(VolumeObjectList& list);
    virtual bool JoinSchool(int memberIndex, const std::vector<float>& times,
                            const std::vector<TrajectoryPoint>& points);
    virtual void LeaveSchool();
    virtual bool IsUnderMouse();
    virtual void StopStudy();
    // The fish leaves the tank.
    virtual void Sell();
    // Texts addressed to the item ("show harts", "mirror").
    virtual void OnText(const std::string& text);
};
