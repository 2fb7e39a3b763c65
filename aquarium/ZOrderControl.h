#pragma once
// The tank: holds fish and floor items, draws them back to front by depth, gives input to the
// nearest first, keeps them in the active player's storage and carries out the shop's commands.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "aquarium/ZOrderClientControl.h"
#include "content/FVector3.h"
#include "core/MessageReceiver.h"
#include "core/PlayerChangeListener.h"

class FlarePosition;

class ZOrderControl : public Control, public MessageReceiver, public PlayerChangeListener {
public:
    using ChildList = std::vector<ObjectSmartPointer<ZOrderClientControl>>;
    using FishMap = std::map<std::string, ChildList>;

    // Seconds between wish cycles when "ini.xml" does not say.
    static constexpr float DEFAULT_NEXT_WISH_TIME = 5.0f;

    ZOrderControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~ZOrderControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;

    // The active x range: the safe one while the tank holds at most 5 fish.
    virtual float GetMaxX();
    virtual float GetMinX();
    virtual float GetMinZ();

    void OnMessage(std::string message) override;
    // "add " + template name: "true" when the item is in the tank, "false" when it could not be
    // made (reported); the shop charges only on "true".
    std::string OnMessageReply(std::string message) override;

    // Save before the active player changes (and before a commit), rebuild after.
    void BeforePlayerChange() override { SaveState(); }
    void AfterPlayerChange() override { LoadState(); }
    void SaveState();
    // Builds the children record by record: a record that is no tank item, cannot be built or holds
    // a value out of range, and the records past the tank's limits, are left out, reported and kept
    // aside under the state's name + " broken" in the player's values.
    void LoadState();

    // A fish asks to leave; the tank erases it after the children's update.
    void RemoveFish(ZOrderClientControl* fishControl);
    // Raised by the child being handed an event; the tank acts when the child returns.
    void DeleteAfterMouseUp();
    void DeleteAfterMouseMove();
    void MakeThisSelling();

    // True when both invisible bounds were given and x lies on or beyond one of them.
    bool IsInInvisibleZone(float x) const;
    std::string GetBuyHintServer() const { return _buyHintServer; }

    // The floor line; with isAbsolute false, the middle of the tank while the shop is open.
    float GetMinY(bool isAbsolute) const;
    float GetMaxY() const { return _maxY; }
    bool IsShowShadow() const { return _showShadow; }
    bool AreWishesEnabled() const { return _wishesEnabled; }
    bool IsInShop() const { return _isInShop; }
    const ChildList& GetChildren() const { return _children; }
    const FishMap& GetFishMap() const { return _fishMap; }
    // Fish destinations near plants (and the feeder).
    const std::vector<FVector3>& GetPlantPoints() const { return _plantPoints; }
    ObjectWeakPointer<ZOrderClientControl> GetSellingControl() const { return _sellingControl; }

private:
    // Hands an event to every child in order; a child raising the delete flag or the selling
    // flag is dealt with as soon as it returns.
    void HandOut(const std::function<void(ZOrderClientControl&)>& handler, bool& doDelete, const char* deleteFlagCheck);
    ObjectSmartPointer<ZOrderClientControl> CreateChild(const ObjectWeakPointer<XmlElement>& element);
    // CreateChild with a construction that throws caught: empty, with the failure told, when the
    // element cannot be built. For a stored record every failed check of its construction counts;
    // goods made from a template may meet reports of the screen around them and still be made.
    ObjectSmartPointer<ZOrderClientControl> BuildChild(const ObjectWeakPointer<XmlElement>& element, bool isStored,
                                                       std::string& failure);
    // Swimming fish (school members included) and floor items now in the tank.
    int CountFish() const;
    int CountFloorItems() const;
    // Empty when one more item of the element's class fits; else the limit it would pass.
    std::string CheckRoomFor(const std::string& elementName) const;
    // The same for a child just built, counted by what it is.
    std::string CheckRoomFor(const ObjectSmartPointer<ZOrderClientControl>& child) const;
    // The player's values under the state's name + " broken": records set aside are appended here.
    ObjectWeakPointer<XmlElement> AsideStore();
    // When the state's name holds a value that is no record, it moves aside.
    void SetAsideValueOfOtherType();
    bool AddChildFromTemplate(const std::string& templateName);
    void SellNearest(const std::string& kindName);
    void FinishSelling(bool isSold);
    void ShowComfort(std::string point);
    // Takes the child out of the children and out of every kind list.
    void EraseChild(const ZOrderClientControl* child);
    void ErasePendingRemovals();
    void UpdateWishes(float dt);
    void RebuildPlantPoints();
    // Distance from the front centre of the floor.
    float FrontCentreDistance(const ObjectSmartPointer<ZOrderClientControl>& child);

    ChildList _children;
    FishMap _fishMap;
    int _fishCount = 0;

    float _minX = 0.0f;
    float _maxX = 0.0f;
    float _minY = 0.0f;
    float _maxY = 0.0f;
    float _minZ = 0.0f;
    bool _hasSafeRange = false;
    float _safeMinX = 0.0f;
    float _safeMaxX = 0.0f;
    std::vector<int> _invisibleX;

    bool _useStorage = true;
    ObjectSmartPointer<XmlElement> _defaultLayout;
    std::string _stateName;
    std::string _buyHintServer;
    bool _showShadow = true;
    bool _wishesEnabled = true;
    bool _isInShop = false;

    ObjectSmartPointer<FlarePosition> _wishTimer;
    ObjectSmartPointer<FlarePosition> _newFishTimer;

    std::vector<FVector3> _plantPoints;
    ObjectWeakPointer<ZOrderClientControl> _sellingControl;
    std::vector<ZOrderClientControl*> _fishToRemove;
    bool _doDeleteAfterMouseUp = false;
    bool _doDeleteAfterMouseMove = false;
    bool _doMakeThisSelling = false;
};

// The first ancestor of the control that is a tank; a failed check and empty when there is none.
ObjectWeakPointer<ZOrderControl> FindTank(const Control& control);
