// How a fish moves: entering, swimming a leg, turning back, studying a plant point, its speed,
// schools led by a leader and races along a shared route.
#include <algorithm>
#include <cmath>

#include "aquarium/FishControl.h"
#include "aquarium/ZOrderControl.h"
#include "content/ControllerManager.h"
#include "core/Assert.h"
#include "core/Int.h"
#include "core/Math.h"
#include "core/PermanentStorage.h"
#include "core/Random.h"
#include "core/VolumeObject.h"

namespace {

constexpr float LONGEST_STEP = 0.1f;
constexpr float PITCH_RATE = 0.75f;
constexpr float MIN_TURN = 0.25f;
constexpr float MAX_TURN = 2.0f;
constexpr float STUDY_END_SPEED = 9.0f;
constexpr float JUMP_RISE = 25.0f;
constexpr float RACE_FIRST_TIME = 2.0f;

float Clamp01(float v) { return std::min(std::max(v, 0.0f), 1.0f); }

// a / b, or 0 where b is 0.
float Ratio(float a, float b) { return b != 0.0f ? a / b : 0.0f; }

bool IsTimeInRange(float t) { return 0.0f <= t && t < static_cast<float>(Int::MAX_VALUE); }

}  // namespace

float FishControl::TurnDuration(float depthFactor) const {
    // A fish standing still (or pushed backwards) takes the longest turn.
    if (!(_speed > 0.0f)) return MAX_TURN;
    const float t = TURN_CONSTANT / (_speed * 0.02f) / depthFactor;
    return std::min(std::max(t, MIN_TURN), MAX_TURN);
}

float FishControl::SignedDirection() const { return static_cast<float>(Math::sign(_currentDest.x - _oldDest.x)); }

void FishControl::Update(float dt) {
    dt = std::min(dt, LONGEST_STEP);
    if (_tank == NULL) return;
    if (Is(ENTER)) {
        UpdateEntering(dt);
    } else if (Is(SWIM)) {
        UpdateSwimming(dt);
    } else if (Is(TURN)) {
        UpdateTurning(dt);
    } else if (Is(STUDY)) {
        UpdateStudying(dt);
    }
    UpdateEnd(dt);
}

void FishControl::UpdateEntering(float dt) {
    _entryTimer->Update(dt);
    const float p = _entryTimer->GetProgress();
    _entryY = _entryYCurve.getValueAt(p);
    _entryX = _pos.x + (_entryStartX - _pos.x) * (1.0f - p);
    _pitch = _entryPitchCurve.getValueAt(p);
    _frameClock += 1.25f * p + 100.0f * dt;
    _current = &_side;
    const int n = FrameCount(_side);
    _frameIndex = n > 0 ? Math::round(_distancePhase + _frameClock) % n : 0;
    SetFrame(_side, _frameIndex);
    if (_entryTimer->_done) {
        Clear(ENTER);
        _bubbleTrail.Finish();
        _bubbleTrail = EffectHandle();
    }
}

void FishControl::UpdateSwimming(float dt) {
    if ((_currentDest.x - _oldDest.x) * (_pos.x - _currentDest.x) > 0.0f) {
        _pos.x = _currentDest.x;
        _isCycleWrapped = true;
    }
    if (std::fabs(_pos.x - _currentDest.x) < ARRIVAL_RADIUS && _isCycleWrapped) {
        NextLeg();
    } else {
        Move(dt);
        ApplySpeedRules(dt);
    }
}

void FishControl::UpdateTurning(float dt) {
    _turnTime += dt;
    const UsingPointer<Animation>& animation = *_current;
    if (_turnTime <= _turnDuration) {
        const int n = FrameCount(animation);
        SetFrame(animation, Math::round(static_cast<float>(n - 1) / _turnDuration * _turnTime));
        return;
    }
    Clear(TURN);
    Set(SWIM);
    if (_isStudy && _isObject) {
        Clear(SWIM);
        Set(STUDY);
        _studyStartSpeed = _speed;
        _studyStartDistance = std::fabs(_pos.x - _currentDest.x);
    }
    _frameIndex = 0;
    _turnTime = 0.0f;
    _distancePhase = 0.0f;
    _current = &_side;
    SetFrame(_side, 0);
    _pos.depth = _currentDest.depth;
    HoldDepth(_pos.depth);
    _oldDest.y = _pos.y;
    _oldDest.depth = _pos.depth;
    _pitch = -_pitch;
}

void FishControl::UpdateStudying(float dt) {
    const float d = std::fabs(_pos.x - _currentDest.x);
    const float r = (GetZ() + 1.0f) * STUDY_RADIUS / 2.0f;
    if (!_isWaiting) {
        if (d >= r) {
            Move(dt);
            _speed = Ratio((d - r) * (_studyStartSpeed - STUDY_END_SPEED), _studyStartDistance - r) + STUDY_END_SPEED;
            return;
        }
        _studyTimer = ObjectSmartPointer<FlarePosition>(new FlarePosition(STUDY_TIME, true, 0.0f, 0.0f, 0.0f));
        _studyPoint = _pos;
        _studyAngle = _pitch;
        _isWaiting = true;
        // One fish at a time shows its love.
        if (!PermanentStorage::GetLocalBoolOrDef("inLove", false)) {
            PermanentStorage::SetLocalBool("inLove", true);
            _love = _loveOwner.StartEffect("LoveIsEffect");
            if (_love) {
                _love->x = _headAnchor._x;
                _love->y = _headAnchor._y;
                _love->Reset();
            }
        }
    }
    _studyTimer->Update(dt);
    _frameClock += static_cast<float>(_minAction) * dt;
    _current = &_side;
    const int n = FrameCount(_side);
    _frameIndex = n > 0 ? Math::round(_distancePhase + _frameClock) % n : 0;
    SetFrame(_side, _frameIndex);
    const float p = _studyTimer->GetProgress();
    const float x0 = _pos.x;
    const float y0 = _pos.y;
    const float loop = std::cos((2.0f * p + 1.0f) * Math::PI) + 1.0f;
    _pos.x = _studyPoint.x + static_cast<float>(Math::sign(_currentDest.x - _pos.x)) * STUDY_LOOP *
                                 std::sin(2.0f * Math::PI * p) / 2.0f;
    _pos.y = std::max(_studyPoint.y + loop * STUDY_LOOP / 2.0f, _tank->GetMinY(true));
    if ((_pos.x - x0) * (_currentDest.x - _pos.x) > 0.0f) {
        _distancePhase += std::hypot(_pos.x - x0, _pos.y - y0);
    }
    _pitch = _studyAngle + loop * 0.1f;
    if (p != 1.0f) return;
    Clear(STUDY);
    Set(SWIM);
    _isObject = false;
    _isWaiting = false;
    StopLove();
    Core::GetControllerManager().Update(0.0f);
}

void FishControl::StopLove() {
    if (!_love) return;
    _love.Finish();
    _love = EffectHandle();
    if (PermanentStorage::GetLocalBoolOrDef("inLove", false)) PermanentStorage::SetLocalBool("inLove", false);
}

void FishControl::StopStudy() {
    if (!Is(STUDY)) return;
    _oldDest = _pos;
    Clear(STUDY);
    Set(SWIM);
    _isObject = false;
    _isWaiting = false;
    StopLove();
}

void FishControl::UpdateEnd(float dt) {
    if (Is(SCHOOL)) _timeLeft -= dt;
    if (Is(SOLD)) {
        _soldTimer->Update(dt);
        if (_soldTimer->_done && !IsMember()) _tank->RemoveFish(this);
    }
    if (_wishes != NULL) {
        _wishes->Update(dt);
        if (!_wishes->HasClouds()) {
            _wishes = nullptr;
            PermanentStorage::SetLocalBool("FishWishVisible", false);
        }
    }
    for (const ObjectSmartPointer<FishControl>& member : _members) member->Update(dt);
}

// One step along the leg.

void FishControl::Move(float dt) {
    const float k = (GetZ() + 1.0f) * 0.5f;
    const float dx = SignedDirection() * k * dt * _speed;
    _pos.x += dx;
    if (_distanceLeft > 0.0f) _distanceLeft -= std::fabs(dx);

    const float legX = std::fabs(_currentDest.x - _oldDest.x);
    const float toGo = std::fabs(_currentDest.x - _pos.x);
    const float phi = toGo < ARRIVAL_RADIUS ? 0.0f : Math::PI * Ratio(toGo - ARRIVAL_RADIUS, legX - ARRIVAL_RADIUS);
    const float y0 = _pos.y;
    _pos.y = _oldDest.y + (_currentDest.y - _oldDest.y) * (std::cos(phi) + 1.0f) / 2.0f;
    if (!(_tank->GetMinY(true) <= _pos.y)) {
        ReportFailure("Assertion failed", "GetZOrder()->GetMinY(true) <= _pos.y", __FILE__, __LINE__);
    }

    const float target = -0.5f * std::atan(Ratio(_currentDest.y - _oldDest.y, legX)) * std::sin(phi);
    float a = (_pitch + target) / 2.0f;
    if (std::fabs(a - _pitch) > PITCH_RATE * dt) a = _pitch + static_cast<float>(Math::sign(a - _pitch)) * PITCH_RATE * dt;
    _pitch = a;

    if (_pauseTimer->IsFlaring() && _isJumping) {
        _current = &_jump;
        SetFrame(_jump, Math::round(static_cast<float>(FrameCount(_jump) - 1) * _pauseTimer->GetProgress()));
    } else {
        _frameClock += static_cast<float>(_minAction) * dt;
        _distancePhase += std::hypot(dx, _pos.y - y0);
        _current = &_side;
        const int previous = _frameIndex;
        const int n = FrameCount(_side);
        _frameIndex = n > 0 ? Math::round(_frameClock + _distancePhase) % n : 0;
        _isCycleWrapped = previous > _frameIndex;
        SetFrame(_side, _frameIndex);
    }
    if (Is(SCHOOL)) ApplyFollowerSpeed(dt);
}

void FishControl::ApplyFollowerSpeed(float dt) {
    if (IsMember()) {
        if (_leaderDests.empty()) {
            // Slows down within one width of its destination, to wait for the leader.
            const float w = GetWidth();
            const float gap = std::fabs(_pos.x - _currentDest.x);
            const float share = w > 0.0f ? Clamp01((gap - w) / w) : (gap > 0.0f ? 1.0f : 0.0f);
            _speed = share * GetParent().Cast<FishControl>()->_speed;
        } else {
            _speed = std::min(_speed + dt * _acceleration, MAX_SPEED);
        }
        return;
    }
    if (_timeLeft * _speed < _distanceLeft) {
        _speed = std::min(_speed + dt * _acceleration, MAX_SPEED);
        return;
    }
    const float v = _speed > _minSpeed ? _speed - (_speed - _minSpeed) * dt : _speed - 0.25f * dt * _acceleration;
    _speed = std::max(v, 0.0f);
}

void FishControl::ApplySpeedRules(float dt) {
    // A sea horse's flare waits for its jump.
    if (!(_isHippocampus && _pauseTimer->IsFlaring() && !_isJumping)) _pauseTimer->Update(dt);
    bool isBurst = _pauseTimer->IsFlaring() && _wishes == NULL;
    if (isBurst && !Is(SCHOOL) && _isHippocampus && !_isJumping && !_isCycleWrapped) isBurst = false;
    if (isBurst) {
        if (Is(SCHOOL)) return;
        if (_isHippocampus) {
            if (!_isJumping && std::fabs(_pos.x - _currentDest.x) > (_acceleration + _speed) * _accTime) {
                _isJumping = true;
                _jumpSpeed = _speed;
                _isCycleWrapped = false;
            }
            const float lift = _jumpCurve.getValueAt(_pauseTimer->GetProgress());
            _speed = lift * _acceleration + _jumpSpeed;
            _pos.y += lift * JUMP_RISE;
        } else {
            _speed = std::min(_speed + dt * _acceleration, MAX_SPEED);
        }
        return;
    }
    if (Is(SCHOOL)) return;
    if (_isHippocampus && _isJumping) {
        _isJumping = false;
        _speed = _jumpSpeed;
        _isCycleWrapped = true;
    }
    if (_speed > _minSpeed) {
        _speed = std::max(_minSpeed, _speed - (_speed - _minSpeed) * dt);
    } else {
        _speed = _minSpeed;
    }
}

// Legs.

bool FishControl::IsDepthChangeBlocked(int from, int to) {
    const float a = DepthToZ(from);
    const float b = DepthToZ(to);
    const float lo = std::min(a, b);
    const float hi = std::max(a, b);
    VolumeObjectList volumes;
    for (const ObjectSmartPointer<ZOrderClientControl>& child : _tank->GetChildren()) {
        if (child.Get() == this) continue;
        const float z = child->GetZ();
        if (lo <= z && z <= hi) child->AddVolume(volumes);
    }
    // The default volume already starts half a width left of the position; this shifts it again.
    const float w = GetWidth();
    const VolumeObject own(GetX() - w / 2.0f, GetY(), 0.0f, w, GetHeight());
    return volumes.Intersects(own);
}

void FishControl::NextLeg() {
    TrajectoryPoint next;
    bool isStop = false;
    bool isFollowing = Is(SCHOOL);
    if (isFollowing && !IsMember() && _schoolWay.empty()) {
        ReportFailure("Assertion failed", "_schoolWay.begin() != _schoolWay.end()", __FILE__, __LINE__);
        Clear(SCHOOL);
        isFollowing = false;
    }
    if (!isFollowing) {
        if (IsMember()) ReportFailure("Assertion failed", "!GetParent().InstanceOf<FishControl>()", __FILE__, __LINE__);
        const float r = RandomFloatRange(0.0f, 1.0f);
        _isStudy = r * r < _curiosity;
        next = NextDestination(_pos, _isStudy, &_isObject);
        _distanceLeft = std::fabs(_pos.x - next.x);
        _timeLeft = _minSpeed > 0.0f ? _distanceLeft / _minSpeed : 0.0f;
    } else if (IsMember()) {
        if (!_leaderDests.empty()) {
            next = _leaderDests.front();
            _leaderDests.pop_front();
            next.x += static_cast<float>(Math::sign(_pos.x - _currentDest.x)) * RandomFloatRange(0.0f, GetWidth() / 2.0f);
            next.y += RandomFloatRange(0.0f, GetHeight() / 2.0f);
        } else {
            _speed = 0.0f;
            isStop = true;
            // It idles until its next swim cycle.
            _isCycleWrapped = false;
        }
    } else {
        const std::pair<TrajectoryPoint, float> first = _schoolWay.front();
        next = first.first;
        if (_schoolWay.size() != static_cast<std::size_t>(RACE_LENGTH)) {
            if (!IsTimeInRange(first.second)) {
                ReportFailure("Assertion failed",
                              "0 <= _schoolWay.begin()->second && _schoolWay.begin()->second < Int::MAX_VALUE",
                              __FILE__, __LINE__);
            }
            _timeLeft = first.second;
            _distanceLeft = std::fabs(_pos.x - next.x);
        }
        _schoolWay.pop_front();
        if (_schoolWay.empty()) Clear(SCHOOL);
    }

    // A member whose queue ran dry keeps its leg and waits for the leader.
    if (!isStop) {
        if ((next.x - _pos.x) * (_currentDest.x - _pos.x) < 0.0f) {
            Clear(SWIM);
            Set(TURN);
            _turnDuration = TurnDuration(GetZ() * 0.2f + 0.8f);
            _turnTime = 0.0f;
            _current = _pos.depth > next.depth ? &_back : &_front;
            SetFrame(*_current, 0);
            if (next.depth != _pos.depth && !_tank->IsInInvisibleZone(_pos.x) &&
                IsDepthChangeBlocked(_pos.depth, next.depth)) {
                next.depth = _pos.depth;
            }
        } else {
            next.depth = _pos.depth;
            if (_isStudy && _isObject) {
                Clear(SWIM);
                Set(STUDY);
                _studyStartSpeed = _speed;
                _studyStartDistance = std::fabs(_pos.x - next.x);
            }
        }
        _oldDest = _pos;
        _currentDest = next;
    }
    if (!(_currentDest.y >= _tank->GetMinY(true))) {
        ReportFailure("Assertion failed", "_currentDest.y >= GetZOrder()->GetMinY(true)", __FILE__, __LINE__);
    }
    for (const ObjectSmartPointer<FishControl>& member : _members) member->_leaderDests.push_back(_currentDest);
}

// Races.

void FishControl::TryStartSchool() {
    if (_tank == NULL) return;
    if (RandomFloatRange(0.0f, 1.0f) >= _school) return;
    const ZOrderControl::FishMap& kinds = _tank->GetFishMap();
    const ZOrderControl::FishMap::const_iterator kind = kinds.find(GetKindName());
    if (kind == kinds.end() || kind->second.size() < static_cast<std::size_t>(SCHOOL_SIZE)) return;
    // A copy: joining changes no list, but the fish stay alive through it.
    const ZOrderControl::ChildList group = kind->second;

    TrajectoryPoint start;
    start.depth = RandomIntRange(Math::round(_tank->GetMinZ() * 200.0f), Math::round(1.0f * 200.0f));
    start.y = RandomFloatRange(_tank->GetMinY(false), _tank->GetMaxY());
    start.x = RandomFloatRange(_tank->GetMinX(), (_tank->GetMinX() + _tank->GetMaxX()) / 2.0f);
    std::vector<TrajectoryPoint> points = {NextDestination(start, false)};
    std::vector<float> times = {RACE_FIRST_TIME};
    for (int i = 1; i < RACE_LENGTH; ++i) {
        const TrajectoryPoint p = NextDestination(points[static_cast<std::size_t>(i - 1)], false);
        points.push_back(p);
        float time = _minSpeed > 0.0f ? std::fabs(p.x - points[static_cast<std::size_t>(i - 1)].x) / _minSpeed : -1.0f;
        if (i == 1 && RandomFloatRange(0.0f, 1.0f) < _race) time /= 2.0f;
        times.push_back(time);
    }

    std::vector<ObjectSmartPointer<ZOrderClientControl>> joined;
    for (const ObjectSmartPointer<ZOrderClientControl>& fish : group) {
        if (fish->JoinSchool(static_cast<int>(joined.size()), times, points)) joined.push_back(fish);
    }
    if (joined.size() < static_cast<std::size_t>(SCHOOL_SIZE)) {
        for (const ObjectSmartPointer<ZOrderClientControl>& fish : joined) fish->LeaveSchool();
    }
}

bool FishControl::JoinSchool(int memberIndex, const std::vector<float>& times,
                             const std::vector<TrajectoryPoint>& points) {
    if (points.empty() || times.size() < points.size()) return false;
    if (!_schoolWay.empty() || Is(TURN) || Is(STUDY)) return false;
    if (!IsSteepTarget(_currentDest, points[0])) return false;
    if ((_currentDest.x - _oldDest.x) * (points[0].x - _currentDest.x) < 0.0f) return false;
    Set(SCHOOL);
    _raceIndex = memberIndex;
    const float w = GetWidth() * 0.25f;
    const float angle = static_cast<float>(memberIndex) * Math::PI / 2.0f;
    const float offsetX = std::cos(angle) * w;
    const float offsetY = (std::sin(angle) + 1.0f) * w;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!IsTimeInRange(times[i])) {
            ReportFailure("Assertion failed", i == 0 ? "0 <= time[0] && time[0] < Int::MAX_VALUE"
                                                     : "0 <= time[i] && time[i] < Int::MAX_VALUE",
                          __FILE__, __LINE__);
        }
        TrajectoryPoint p = points[i];
        p.x += offsetX;
        p.y += offsetY;
        _schoolWay.emplace_back(p, times[i]);
    }
    StopStudy();
    _timeLeft = times[0];
    _distanceLeft = std::fabs(_currentDest.x - points[0].x) + std::fabs(_currentDest.x - _pos.x);
    return true;
}

void FishControl::LeaveSchool() {
    Clear(SCHOOL);
    _schoolWay.clear();
    _distanceLeft = 0.0f;
}
