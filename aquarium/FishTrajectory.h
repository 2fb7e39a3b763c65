#pragma once
// Where a fish goes: its position and the leg it swims along in the tank, the choice of the next
// destination (a random leg within a slope, a dive to a plant point, a depth step that keeps
// clear of other fish) and the table of depths that fish hold.

#include "content/TrajectoryPoint.h"
#include "core/ObjectSmartPointer.h"
#include "core/Variable.h"

class ZOrderControl;

// The fish's state bits; swim, turn and study exclude each other, enter and sold come on top.
struct FishStates {
    static constexpr int SWIM = 1;
    static constexpr int TURN = 2;
    static constexpr int SCHOOL = 4;
    static constexpr int STUDY = 8;
    static constexpr int ENTER = 16;
    static constexpr int SOLD = 64;

    bool Is(int bit) const { return (_stateId & bit) != 0; }
    void Set(int bit) { _stateId |= bit; }
    void Clear(int bit) { _stateId &= ~bit; }

    int _stateId = 0;
};

// Depths 0 (far) to 200 (near), shared by every fish of every tank. Each fish holds the depth it
// swims at; a depth is taken while some fish holds it.
namespace FishDepthTable {
constexpr int DEPTH_COUNT = 201;
bool IsTaken(int depth);
void Take(int depth);
void Release(int depth);
// The fish holding the depth (tests).
int HolderCount(int depth);
}  // namespace FishDepthTable

class FishTrajectory {
public:
    static constexpr int MAX_DEPTH_STEP = 20;
    static constexpr float MAX_DEPTH = 1.0f;
    static constexpr float MIN_TRAVEL = 200.0f;
    // Depths of a steep target differ by less than this.
    static constexpr int STEEP_DEPTH_RANGE = 25;

    // Draws a start in the tank and the first destination; the start depth is held.
    explicit FishTrajectory(const ObjectWeakPointer<ZOrderControl>& tank);
    // Lets the held depth go.
    ~FishTrajectory();
    FishTrajectory(const FishTrajectory&) = delete;
    FishTrajectory& operator=(const FishTrajectory&) = delete;

    // A plant point when asked for and steep enough (isObject tells), else a random leg of at
    // least MIN_TRAVEL whose depth moves by at most MAX_DEPTH_STEP to a free depth.
    TrajectoryPoint NextDestination(const TrajectoryPoint& from, bool tryPlant, bool* isObject = nullptr);
    // Far enough, steeper than maxAngle and at nearly the same depth.
    bool IsSteepTarget(const TrajectoryPoint& a, const TrajectoryPoint& b) const;

    // The player's "Want tutorial"; a player without it does not want the tutorial.
    bool IsTutorialWanted();
    // The shop is open for the first shop tutorial.
    bool IsShopTutorial();

    const TrajectoryPoint& GetPosition() const { return _pos; }
    const TrajectoryPoint& GetCurrentDest() const { return _currentDest; }
    const TrajectoryPoint& GetOldDest() const { return _oldDest; }

protected:
    // Moves the held depth to the position's depth.
    void HoldDepth(int depth);

    float _maxAngle = 0.0f;
    TrajectoryPoint _oldDest;
    TrajectoryPoint _pos;
    TrajectoryPoint _currentDest;
    ObjectWeakPointer<ZOrderControl> _tank;
    ObjectSmartPointer<Variable<bool>> _wantTutorial;

private:
    // The depth this fish holds in the table; -1 for none.
    int _heldDepth = -1;
};
