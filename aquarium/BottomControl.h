#pragma once
// A tank item standing on the floor, whose depth and scale follow its height: the player drags it,
// drops it on the floor, the buy-cancel target or the sell basket; a refused drop glides home.

#include <map>
#include <string>

#include "aquarium/ZOrderClientControl.h"
#include "core/FPoint.h"
#include "core/MousePosRememberer.h"

class AquariumDispatcherControl;

class BottomControl : public ZOrderClientControl, public MousePosRememberer {
public:
    // The depth scale at the back of the floor.
    static constexpr float MIN_SCALE = 0.5f;
    // The floor band of in-parent y where an item may stand.
    static constexpr int FLOOR_MIN_Y = 20;
    static constexpr int FLOOR_MAX_Y = 200;

    // Reads "shopItem" (tankItemId), "ground" (groundLine), "fog" (enabled), "icon" (textureId).
    BottomControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~BottomControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Update(float dt) override;

    void OnSellingCancelled() override;
    void OnSellingDone() override;
    // 0.9975 on the front line of the floor, 0.0025 at its back.
    float GetZ() override;

    // The point is relative to the absolute position, in unscaled item units.
    virtual bool IsPointInside(int x, int y) = 0;

    // 1 at the front of the floor, MIN_SCALE at its back; 1 everywhere without fog.
    float GetScale();
    FPoint ToLocalCoords(int x, int y);
    // 0..1, from the fog table by the in-parent y.
    float GetFogRate();
    // Appends "position" (the home position), "shopItem", "fog", "ground" and "icon".
    void SaveCommon(const ObjectWeakPointer<XmlElement>& element);

    // A newly bought item that waits for its first drop is not paid for yet: subclasses leave
    // only such an item out of the saved tank state. An owned item is saved at its home position
    // even while it is being dragged.
    bool IsNewItem() const { return !_replyTo.empty(); }
    // The tank drops the item while it rebuilds itself: a drag in progress ends as a refused drop
    // (a new item reports "misplaced"), so the screen's panels and the shop recover.
    void AbandonDrag();

    Point GetHome() const { return _home; }
    bool IsInDragging() const { return _isInDragging; }

protected:
    Point _home;
    FPoint _glide;
    std::map<int, float> _fogRate;
    float _fixedFogRate = -1.0f;
    FPoint _grabOffset;
    std::string _shopItemId;
    float _glideSpeed = 1000.0f;
    int _groundLine = 0;
    std::string _iconTextureId;
    bool _isFogEnabled = false;
    bool _isDragStartReported = false;
    float _dragThreshold = 3.0f;
    // Not empty while a new item waits for its first drop: who hears how it ended.
    std::string _replyTo;
    bool _isFirstDragMove = true;
    bool _isOverTarget = false;
    bool _isInDragging = false;
    bool _isSelling = false;
    bool _isBuyCancelling = false;
    bool _isIconShowing = false;

private:
    void FollowMouse();
    Point LocalMousePoint();
    ObjectWeakPointer<AquariumDispatcherControl> GetDispatcher();
    void ReportDragStart(bool isNew);
    void ReportDragEnd(bool isNew);
    std::string GetDropTargetName(bool isNew);
    static bool IsTargetActive(const std::string& target);
    void DropNewItem(const Point& p);
    void DropOwnedItem(const Point& p);
};
