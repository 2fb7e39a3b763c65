#pragma once
// One fish in a tank: built new (it drops in from above on a trail of bubbles), in place (a
// background tank) or from its saved state; swims, turns, studies plants, leads a school or
// follows a race; drawn by depth with perspective, fog by height, its shadow and its wishes.

#include <list>
#include <string>
#include <vector>

#include "aquarium/FishTrajectory.h"
#include "aquarium/FishWishes.h"
#include "aquarium/ZOrderClientControl.h"
#include "content/Animation.h"
#include "content/EffectObserver.h"
#include "content/MotionFlare.h"
#include "content/Spline.h"
#include "core/FPoint.h"
#include "core/MousePosRememberer.h"
#include "shell/Texture.h"

class FishControl : public ZOrderClientControl, public MousePosRememberer, public FishStates, public FishTrajectory {
public:
    static constexpr float MAX_SPEED = 500.0f;
    static constexpr float TURN_CONSTANT = 2.1f;
    static constexpr float TURN_SHIFT = 50.0f;
    static constexpr float ARRIVAL_RADIUS = 60.0f;
    static constexpr float STUDY_RADIUS = 120.0f;
    static constexpr float STUDY_LOOP = 40.0f;
    static constexpr int SCHOOL_SIZE = 3;
    static constexpr int RACE_LENGTH = 20;
    static constexpr float ENTRY_TIME = 1.0f;
    static constexpr float SOLD_TIME = 1.9f;
    static constexpr float STUDY_TIME = 15.0f;

    FishControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~FishControl() override;

    // The values of a stored fish that its constructor cannot refuse: empty when they lie where a
    // saved fish keeps them, else what is wrong.
    static std::string CheckRecord(const ObjectWeakPointer<XmlElement>& record, bool isStored);

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;

    // Empty for a sold fish; an entering fish ends its entry first.
    ObjectSmartPointer<XmlElement> SaveToXml() override;
    void OnSellingCancelled() override;
    void OnSellingDone() override;
    std::string GetKindName() override { return _templateId; }
    // The current destination's depth fraction.
    float GetZ() override;
    float GetX() override;
    // The projected y of the position.
    float GetY() override;
    float GetWidth() override;
    float GetHeight() override;
    void TryStartSchool() override;
    bool MakeWish() override;
    void AddVolume(VolumeObjectList& list) override;
    bool JoinSchool(int memberIndex, const std::vector<float>& times,
                    const std::vector<TrajectoryPoint>& points) override;
    void LeaveSchool() override;
    void StopStudy() override;
    void Sell() override;
    // "show harts": hearts over the head.
    void OnText(const std::string& text) override;

    // One step along the current leg.
    void Move(float dt);

    // The tank's y of a tank y at depth fraction z: farther fish are pressed into the band above
    // the floor line of their depth.
    float Project(float y, float z);

    // Read-only views for tests.
    float GetSpeed() const { return _speed; }
    float GetPitch() const { return _pitch; }
    float GetTurnDuration() const { return _turnDuration; }
    float GetTurnTime() const { return _turnTime; }
    bool IsObject() const { return _isObject; }
    bool IsWaiting() const { return _isWaiting; }
    bool IsJumping() const { return _isJumping; }
    bool IsLoveShown() const { return static_cast<bool>(_love); }
    bool IsBubbleTrailShown() const { return static_cast<bool>(_bubbleTrail); }
    FPoint GetEntryPoint() const { return FPoint(_entryX, _entryY); }
    FPoint GetHeadAnchor() const { return _headAnchor; }
    const std::vector<ObjectSmartPointer<FishControl>>& GetMembers() const { return _members; }
    const ObjectSmartPointer<FishWishes>& GetWishes() const { return _wishes; }
    std::size_t GetRouteLength() const { return _schoolWay.size(); }
    std::size_t GetLeaderQueueLength() const { return _leaderDests.size(); }
    float GetTimeLeft() const { return _timeLeft; }
    float GetDistanceLeft() const { return _distanceLeft; }
    int GetFrameIndex() const { return _frameIndex; }
    bool IsCurrentAnimation(const std::string& id) const;

private:
    // Construction.
    void ReadState(const ObjectWeakPointer<XmlElement>& state);
    void StartInPlace();
    void StartEntering();
    void MakeSchool(const ObjectWeakPointer<XmlElement>& xml);

    // Motion.
    void UpdateEntering(float dt);
    void UpdateSwimming(float dt);
    void UpdateTurning(float dt);
    void UpdateStudying(float dt);
    void UpdateEnd(float dt);
    void NextLeg();
    // Whether a fish between the two depths overlaps this one.
    bool IsDepthChangeBlocked(int from, int to);
    void ApplySpeedRules(float dt);
    void ApplyFollowerSpeed(float dt);
    float TurnDuration(float depthFactor) const;
    void StopLove();

    // Drawing.
    // The depth fraction drawn: the destination's, moving from the position's during a turn.
    float GetDrawZ();
    void DrawFish(float y, float z, float& K, float& u);
    void DrawSoldBubble(float K);
    void DrawShadow(float z, float K, float u);
    FPoint HeadPoint(float y);
    // The head of a fish at (x, y) facing the side of k (1 right, -1 left), at its pitch.
    FPoint HeadPointAt(float x, float y, float k);

    void SetFrame(const UsingPointer<Animation>& animation, int index);
    int FrameCount(const UsingPointer<Animation>& animation) const;
    bool IsMember() const;
    float SignedDirection() const;

    // Pictures.
    std::string _sideId;
    std::string _frontId;
    std::string _backId;
    std::string _jumpId;
    std::string _shadowId;
    UsingPointer<Animation> _side;
    UsingPointer<Animation> _front;
    UsingPointer<Animation> _back;
    UsingPointer<Animation> _jump;
    const UsingPointer<Animation>* _current = &_side;
    UsingPointer<Texture> _frame;
    UsingPointer<Texture> _shadow;
    UsingPointer<Texture> _bubbleBlue;

    // Kind and motion parameters.
    std::string _templateId;
    float _acceleration = 0.0f;
    float _accTime = 1.0f;
    float _minPause = 0.0f;
    float _maxPause = 0.0f;
    float _minSpeed = 0.0f;
    int _minAction = 0;
    float _school = 0.0f;
    float _race = 0.0f;
    float _curiosity = 0.0f;
    bool _isStudy = false;
    bool _isHippocampus = false;

    // Motion state.
    float _speed = 0.0f;
    float _pitch = 0.0f;
    float _frameClock = 0.0f;
    float _distancePhase = 0.0f;
    int _frameIndex = 0;
    bool _isCycleWrapped = false;
    float _turnDuration = 0.0f;
    float _turnTime = 0.0f;
    bool _isJumping = false;
    float _jumpSpeed = 0.0f;
    TrajectoryPoint _studyPoint;
    float _studyAngle = 0.0f;
    bool _isWaiting = false;
    float _studyStartSpeed = 0.0f;
    float _studyStartDistance = 0.0f;
    bool _isObject = false;
    std::list<std::pair<TrajectoryPoint, float>> _schoolWay;
    float _timeLeft = 0.0f;
    float _distanceLeft = 0.0f;
    int _raceIndex = 0;
    std::list<TrajectoryPoint> _leaderDests;

    // Timers.
    ObjectSmartPointer<FlarePosition> _pauseTimer;
    ObjectSmartPointer<FlarePosition> _entryTimer;
    ObjectSmartPointer<FlarePosition> _studyTimer;
    ObjectSmartPointer<FlarePosition> _soldTimer;

    // Effects.
    EffectOwner _bubbleTrailOwner;
    EffectOwner _loveOwner;
    EffectOwner _heartsOwner;
    EffectHandle _bubbleTrail;
    EffectHandle _love;

    // Entry.
    float _entryX = 0.0f;
    float _entryStartX = 0.0f;
    float _entryY = 0.0f;
    TimedSpline _entryYCurve;
    TimedSpline _entryPitchCurve;
    TimedSpline _jumpCurve;

    FPoint _headAnchor;
    FPoint _turnAnchor;
    float _sideValue = 0.0f;
    bool _hasMousePos = false;

    ObjectSmartPointer<FishWishes> _wishes;
    std::vector<ObjectSmartPointer<FishControl>> _members;
};
