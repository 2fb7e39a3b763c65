#include "aquarium/FishTrajectory.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "aquarium/ZOrderControl.h"
#include "core/Math.h"
#include "core/PermanentStorage.h"
#include "core/PermanentVariable.h"
#include "core/Random.h"

namespace {

int holders[FishDepthTable::DEPTH_COUNT] = {};

bool IsInTable(int depth) { return 0 <= depth && depth < FishDepthTable::DEPTH_COUNT; }

// The x range of the first shop tutorial.
constexpr float TUTORIAL_MIN_X = 100.0f;
constexpr float TUTORIAL_MAX_X = 700.0f;
// A plant point lies up to this much above the plant.
constexpr float PLANT_POINT_RISE = 60.0f;
// Depths this close to the start count as the start.
constexpr int DEPTH_NEAR = 2;

}  // namespace

namespace FishDepthTable {

bool IsTaken(int depth) { return IsInTable(depth) && holders[depth] > 0; }

void Take(int depth) {
    if (IsInTable(depth)) ++holders[depth];
}

void Release(int depth) {
    if (IsInTable(depth) && holders[depth] > 0) --holders[depth];
}

int HolderCount(int depth) { return IsInTable(depth) ? holders[depth] : 0; }

}  // namespace FishDepthTable

FishTrajectory::FishTrajectory(const ObjectWeakPointer<ZOrderControl>& tank) : _tank(tank) {
    _wantTutorial = ObjectSmartPointer<Variable<bool>>(new PermanentVariable<Local, bool>("Want tutorial"));
    if (_tank == NULL) return;
    ZOrderControl& t = *_tank;
    const float minY = t.GetMinY(true);
    const float maxY = t.GetMaxY();
    _pos.x = RandomFloatRange(200.0f, 600.0f);
    const float mid = (maxY + minY) / 2.0f;
    if (IsShopTutorial()) {
        _pos.y = minY + (maxY - minY) * 0.25f;
    } else {
        _pos.y = RandomFloatRange((minY + mid) / 2.0f, mid + 0.3f * (maxY + mid));
    }
    // The upper bound above lies beyond maxY in most tanks.
    _pos.y = std::min(std::max(_pos.y, minY), maxY);
    int z = RandomIntRange(static_cast<int>((t.GetMinZ() + 1.0f) * 100.0f), FishDepthTable::DEPTH_COUNT);
    while (z > 0 && FishDepthTable::IsTaken(z)) --z;
    // A full band would push the fish behind the tank's farthest depth.
    _pos.depth = std::max(z, Math::round(t.GetMinZ() * 200.0f));
    _oldDest = _pos;
    _currentDest = NextDestination(_oldDest, false);
    _currentDest.depth = _pos.depth;
    HoldDepth(_pos.depth);
}

FishTrajectory::~FishTrajectory() { FishDepthTable::Release(_heldDepth); }

void FishTrajectory::HoldDepth(int depth) {
    FishDepthTable::Release(_heldDepth);
    _heldDepth = depth;
    FishDepthTable::Take(depth);
}

bool FishTrajectory::IsTutorialWanted() {
    return PermanentStorage::IsLocalNameDefined("Want tutorial") && _wantTutorial->GetValue();
}

bool FishTrajectory::IsShopTutorial() {
    return _tank != NULL && _tank->IsInShop() && IsTutorialWanted() &&
           PermanentStorage::GetLocalBoolOrDef("temp:First shop tutorial started", false) &&
           !PermanentStorage::GetLocalBoolOrDef("temp:First shop tutorial complete", false);
}

bool FishTrajectory::IsSteepTarget(const TrajectoryPoint& a, const TrajectoryPoint& b) const {
    const float dx = std::fabs(a.x - b.x);
    return dx >= MIN_TRAVEL && std::fabs(a.y - b.y) > dx * std::tan(_maxAngle) &&
           std::abs(a.depth - b.depth) < STEEP_DEPTH_RANGE;
}

TrajectoryPoint FishTrajectory::NextDestination(const TrajectoryPoint& from, bool tryPlant, bool* isObject) {
    if (_tank == NULL) return from;
    ZOrderControl& t = *_tank;
    const std::vector<FVector3>& plants = t.GetPlantPoints();
    if (tryPlant && !plants.empty()) {
        const FVector3& plant = plants[static_cast<std::size_t>(RandomIntRange(0, static_cast<int>(plants.size())))];
        TrajectoryPoint p(plant.x, plant.y, plant.z);
        p.y += RandomFloatRange(0.0f, PLANT_POINT_RISE);
        if (IsSteepTarget(from, p)) {
            if (isObject != nullptr) *isObject = true;
            return p;
        }
    }
    const bool isTutorial = IsShopTutorial();
    const float minX = t.GetMinX();
    const float maxX = t.GetMaxX();
    float x = RandomFloatRange(isTutorial ? TUTORIAL_MIN_X : minX, isTutorial ? TUTORIAL_MAX_X : maxX);
    if (std::fabs(x - from.x) < MIN_TRAVEL) {
        x = x >= from.x ? from.x + MIN_TRAVEL : from.x - MIN_TRAVEL;
        if (x < minX) {
            x = maxX - (minX - x);
        } else if (x > maxX) {
            x = minX + (x - maxX);
        }
    }
    const float a = std::fabs(x - from.x) * std::tan(_maxAngle);
    float y = from.y + RandomFloatRange(-a, a);
    if (y < t.GetMinY(false)) {
        y = t.GetMinY(false);
    } else if (y > t.GetMaxY()) {
        y = t.GetMaxY();
    }
    int z = from.depth + RandomIntRange(-MAX_DEPTH_STEP, MAX_DEPTH_STEP);
    const int lo = Math::round(t.GetMinZ() * 200.0f);
    const int hi = Math::round(MAX_DEPTH * 200.0f);
    if (z < lo) {
        z = lo;
    } else if (z > hi) {
        z = hi;
    }
    bool isFree = false;
    while (std::abs(z - from.depth) > DEPTH_NEAR) {
        if (!FishDepthTable::IsTaken(z)) {
            isFree = true;
            break;
        }
        z = (from.depth + z) / 2;
    }
    if (!isFree && FishDepthTable::IsTaken(z)) z = from.depth;
    if (isObject != nullptr) *isObject = false;
    TrajectoryPoint next;
    next.x = x;
    next.y = y;
    next.depth = z;
    return next;
}
