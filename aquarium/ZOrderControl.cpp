#include "aquarium/ZOrderControl.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "content/MotionFlare.h"
#include "controls/MouseEvents.h"
#include "core/Assert.h"
#include "core/PermanentStorage.h"
#include "core/XmlDocument.h"
#include "core/XmlElement.h"

namespace {

const char* const WATER_PLANT = "WaterPlant";
// At most this many fish keep the tank in its safe x range.
constexpr int SAFE_FISH_COUNT = 5;
// A fish this high never wishes.
constexpr float WISH_MAX_Y = 450.0f;
constexpr float NO_DISTANCE = 1e8f;

}  // namespace

ObjectWeakPointer<ZOrderControl> FindTank(const Control& control) {
    ObjectWeakPointer<Control> parent = control.GetParent();
    for (;;) {
        Assert(parent != NULL);
        if (parent == NULL) return ObjectWeakPointer<ZOrderControl>();
        if (parent.InstanceOf<ZOrderControl>()) return parent.Cast<ZOrderControl>();
        parent = parent->GetParent();
    }
}

ZOrderControl::ZOrderControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : Control(parent, xml), MessageReceiver(xml) {
    _stateName = GetReceiverName();
    _useStorage = xml->GetBoolAttributeOrDef("useStorage", true);
    if (!_useStorage) {
        // A copy: the screen's document is gone once the tree is built, and every load reads it again.
        const ObjectWeakPointer<XmlElement> layout = xml->GetFirstChildElement("defaultLayout");
        if (layout != NULL) {
            _defaultLayout = ObjectSmartPointer<XmlElement>(new XmlElement(layout));
            layout->MarkVisitedTree();
        }
    }
    _buyHintServer = xml->GetStringAttributeOrDef("buyHintServer", "");
    _minZ = xml->GetFloatAttribute("minZ");
    _minY = static_cast<float>(xml->GetIntAttribute("minY"));
    _maxY = static_cast<float>(xml->GetIntAttribute("maxY"));
    _minX = static_cast<float>(xml->GetIntAttribute("minX"));
    _maxX = static_cast<float>(xml->GetIntAttribute("maxX"));
    const ObjectWeakPointer<XmlElement> safe = xml->GetFirstChildElement("safe");
    if (safe != NULL) {
        _hasSafeRange = true;
        _safeMinX = static_cast<float>(safe->GetIntAttribute("minX"));
        _safeMaxX = static_cast<float>(safe->GetIntAttribute("maxX"));
    }
    _showShadow = xml->GetBoolAttributeOrDef("showShadow", true);
    // A tank without both bounds never hides a fish.
    for (const char* name : {"invisibleMinX", "invisibleMaxX"}) {
        if (xml->HasAttribute(name)) _invisibleX.push_back(xml->GetIntAttribute(name));
    }
    _wishesEnabled = !xml->GetBoolAttributeOrDef("gameMode", false);

    const float nextWishTime =
        GetRootFloatAttributeOrDef(LoadXmlDocument("ini.xml"), "NEXT_WISH_TIME", DEFAULT_NEXT_WISH_TIME);
    _wishTimer = ObjectSmartPointer<FlarePosition>(new FlarePosition(nextWishTime, false, 1.0f, 1.0f, 0.0f));

    LoadState();
}

ZOrderControl::~ZOrderControl() {
    AllowDestructor();
    _children.clear();
    _fishMap.clear();
}

float ZOrderControl::GetMaxX() { return _hasSafeRange && _fishCount <= SAFE_FISH_COUNT ? _safeMaxX : _maxX; }

float ZOrderControl::GetMinX() { return _hasSafeRange && _fishCount <= SAFE_FISH_COUNT ? _safeMinX : _minX; }

float ZOrderControl::GetMinZ() { return _minZ; }

float ZOrderControl::GetMinY(bool isAbsolute) const {
    if (!isAbsolute && _isInShop) return (_minY + _maxY) / 2.0f;
    return _minY;
}

bool ZOrderControl::IsInInvisibleZone(float x) const {
    if (_invisibleX.size() < 2) return false;
    return x <= static_cast<float>(_invisibleX[0]) || x >= static_cast<float>(_invisibleX[1]);
}

void ZOrderControl::DeleteAfterMouseUp() {
    Assert(!_doDeleteAfterMouseUp);
    _doDeleteAfterMouseUp = true;
}

void ZOrderControl::DeleteAfterMouseMove() {
    Assert(!_doDeleteAfterMouseMove);
    _doDeleteAfterMouseMove = true;
}

void ZOrderControl::MakeThisSelling() {
    Assert(!_doMakeThisSelling);
    _doMakeThisSelling = true;
}

void ZOrderControl::RemoveFish(ZOrderClientControl* fishControl) {
    // Several fish may ask in one update; none is erased while the tank walks its children.
    if (fishControl == nullptr) return;
    if (std::find(_fishToRemove.begin(), _fishToRemove.end(), fishControl) == _fishToRemove.end()) {
        _fishToRemove.push_back(fishControl);
    }
}

void ZOrderControl::ErasePendingRemovals() {
    std::vector<ZOrderClientControl*> pending;
    pending.swap(_fishToRemove);
    for (ZOrderClientControl* fish : pending) EraseChild(fish);
}

void ZOrderControl::EraseChild(const ZOrderClientControl* child) {
    const auto same = [child](const ObjectSmartPointer<ZOrderClientControl>& c) { return c.Get() == child; };
    // The object may live only through these lists: keep it until it is out of all of them.
    ChildList keep;
    const auto i = std::find_if(_children.begin(), _children.end(), same);
    if (i != _children.end()) {
        keep.push_back(*i);
        _children.erase(i);
    }
    for (auto& kind : _fishMap) {
        const auto j = std::find_if(kind.second.begin(), kind.second.end(), same);
        if (j != kind.second.end()) {
            keep.push_back(*j);
            kind.second.erase(j);
        }
    }
}

// Input.

void ZOrderControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    const ChildList children = _children;
    for (const ObjectSmartPointer<ZOrderClientControl>& child : children) child->OnMouseDown(event);
    bool isPlantUnderMouse = false;
    for (const ObjectSmartPointer<ZOrderClientControl>& child : children) {
        if (child->GetKindName() == WATER_PLANT && child->IsUnderMouse()) {
            isPlantUnderMouse = true;
            break;
        }
    }
    if (isPlantUnderMouse) {
        for (const ObjectSmartPointer<ZOrderClientControl>& child : children) child->StopStudy();
    }
    _plantPoints.clear();
}

void ZOrderControl::HandOut(const std::function<void(ZOrderClientControl&)>& handler, bool& doDelete,
                            const char* deleteFlagCheck) {
    std::size_t i = 0;
    while (i < _children.size()) {
        if (doDelete) ReportFailure("Assertion failed", deleteFlagCheck, __FILE__, __LINE__);
        Assert(!_doMakeThisSelling);
        const ObjectSmartPointer<ZOrderClientControl> child = _children[i];
        handler(*child);
        if (_doMakeThisSelling) {
            Assert(_sellingControl == NULL);
            _sellingControl = ObjectWeakPointer<ZOrderClientControl>(child);
            _doMakeThisSelling = false;
        }
        if (doDelete) {
            // The next child now stands at this place.
            Assert(_sellingControl == NULL);
            doDelete = false;
            EraseChild(child.Get());
        } else {
            ++i;
        }
    }
}

void ZOrderControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    HandOut([&event](ZOrderClientControl& child) { child.OnMouseMove(event); }, _doDeleteAfterMouseMove,
            "!_doDeleteAfterMouseMove");
}

void ZOrderControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    HandOut([&event](ZOrderClientControl& child) { child.OnMouseUp(event); }, _doDeleteAfterMouseUp,
            "!_doDeleteAfterMouseUp");
    RebuildPlantPoints();
}

// Frames.

void ZOrderControl::Draw() {
    if (_children.empty()) return;
    // Nearest first; equal depths keep their order. The order stays for input and saving.
    std::vector<std::pair<float, ObjectSmartPointer<ZOrderClientControl>>> byDepth;
    byDepth.reserve(_children.size());
    for (const ObjectSmartPointer<ZOrderClientControl>& child : _children) byDepth.emplace_back(child->GetZ(), child);
    std::stable_sort(byDepth.begin(), byDepth.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (std::size_t i = 0; i < byDepth.size(); ++i) _children[i] = byDepth[i].second;
    const ChildList children = _children;
    for (auto i = children.rbegin(); i != children.rend(); ++i) (*i)->Draw();
}

void ZOrderControl::Update(float dt) {
    if (_newFishTimer != NULL) _newFishTimer->Update(dt);
    // Copies: a school start may reach the lists, and a child may leave during its own update.
    const FishMap kinds = _fishMap;
    for (const auto& kind : kinds) {
        if (!kind.second.empty()) kind.second.front()->TryStartSchool();
    }
    const ChildList children = _children;
    for (const ObjectSmartPointer<ZOrderClientControl>& child : children) child->Update(dt);
    ErasePendingRemovals();
    UpdateWishes(dt);
}

float ZOrderControl::FrontCentreDistance(const ObjectSmartPointer<ZOrderClientControl>& child) {
    const float cx = (GetMinX() + GetMaxX()) / 2.0f;
    return FVector3(child->GetX() - cx, child->GetY() - _minY, 300.0f * child->GetZ() - 300.0f).Length();
}

void ZOrderControl::UpdateWishes(float dt) {
    const bool wasFlaring = _wishTimer->IsFlaring();
    _wishTimer->Update(dt);
    if (!_wishesEnabled) return;
    const bool isTimerWish = !wasFlaring && _wishTimer->IsFlaring();
    const bool isNewFishWish = _newFishTimer != NULL && _newFishTimer->GetProgress() == 1.0f;
    if (!isTimerWish && !isNewFishWish) return;
    if (_children.empty() || PermanentStorage::GetLocalBool("FishWishVisible")) return;

    ObjectSmartPointer<ZOrderClientControl> wisher;
    float best = NO_DISTANCE;
    for (const ObjectSmartPointer<ZOrderClientControl>& child : _children) {
        if (child->GetKindName() == WATER_PLANT) continue;
        const float d = FrontCentreDistance(child);
        if (d < best && child->GetY() < WISH_MAX_Y) {
            best = d;
            wisher = child;
        }
    }
    if (wisher == NULL) {
        _newFishTimer = nullptr;
        return;
    }
    // The first wish in a player's life always shows a hint; later an "add" alone brings none.
    const bool isFirst = !PermanentStorage::IsLocalNameDefined("FirstFishWish");
    if (isFirst) {
        PermanentStorage::SetLocalBool("FirstFishWish", true);
    } else if (_newFishTimer != NULL) {
        _newFishTimer = nullptr;
        return;
    }
    const bool isWishing = wisher->MakeWish();
    PermanentStorage::SetLocalBool("FishWishVisible", isWishing);
    // A fish that could not wish (still entering, in a school) leaves the first wish to come.
    if (isFirst && !isWishing) {
        PermanentStorage::UndefLocalName("FirstFishWish");
    } else {
        PermanentStorage::SetLocalBool("FirstFishWish", false);
    }
    _newFishTimer = nullptr;
}
