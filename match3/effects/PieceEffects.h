#pragma once
// The small effects of the game field's pieces: the burst where a bomb is made, a piece flying to
// its new cell in a reshuffle, a piece waiting for the lightning, the flash of a cleared paint,
// the flash-and-shrink of a cleared piece and the rising text of a bomb chain.
//
// Positions are absolute logical coordinates. A piece picture is 42 x 42 units; an effect that
// shows a piece holds its own copy of the piece's frame player, so it keeps the piece's frame.

#include <string>

#include "content/AnimationService.h"
#include "content/EffectBase.h"
#include "content/EffectObserver.h"
#include "content/MotionFlare.h"
#include "content/Spline.h"
#include "core/FPoint.h"
#include "shell/Texture.h"

// The particle effect "CreateBonusEffect" at the cell centre; finished when it has died out.
class CreateBombEffect : public EffectBase {
public:
    CreateBombEffect(int x, int y);

    void Draw() override;
    void Update(float dt) override;
    bool IsFinished() override;

    EffectOwner _owner;
};

// A piece moving from one cell to another while one picture fades into the other inside a
// random switch window; either picture may be empty.
class ReplacePieceEffect : public EffectBase {
public:
    // The switch window opens at a random moment in [earliestSwitchStart, 0.4) x duration and
    // lasts a random [0.25, 0.6) x duration.
    ReplacePieceEffect(float fromX, float fromY, float toX, float toY, const ObjectSmartPointer<AnimationService>& from,
                       const ObjectSmartPointer<AnimationService>& to, float duration, float earliestSwitchStart);

    // Keeps drawing the new picture at the destination after the window, until it is removed.
    void Draw() override;
    void Update(float dt) override;
    bool IsFinished() override;

    float _timeLeft = 0.0f;
    ObjectSmartPointer<AnimationService> _from;
    ObjectSmartPointer<AnimationService> _to;
    // Over the window's progress 0..1; the angle in degrees.
    TimedSpline _x;
    TimedSpline _y;
    TimedSpline _scale;
    TimedSpline _angle;
    ObjectSmartPointer<FlarePosition> _switch;
};

// A piece that stays on the screen until the lightning run reaches it.
class SplashRemoverEffect : public EffectBase {
public:
    SplashRemoverEffect(float centreX, float centreY, const ObjectSmartPointer<AnimationService>& picture, float life);

    void Draw() override;
    void Update(float dt) override;
    bool IsFinished() override;

    float _timeLeft = 0.0f;
    ObjectSmartPointer<AnimationService> _picture;
    float _centreX = 0.0f;
    float _centreY = 0.0f;
};

// The paint of a silver or gold cell fading while the cell swells to 1.25 and back, with an
// additive glow at its strongest at half time.
class ClearPieceEffect : public EffectBase {
public:
    // The base picture may be empty; the glow must not.
    ClearPieceEffect(float centreX, float centreY, const UsingPointer<Texture>& base, const UsingPointer<Texture>& glow,
                     float duration);

    void Draw() override;
    void Update(float dt) override;
    bool IsFinished() override;

    UsingPointer<Texture> _base;
    UsingPointer<Texture> _glow;
    float _duration = 0.0f;
    float _timeLeft = 0.0f;
    FPoint _centre;
};

// A cleared piece: a white flash over it for the first 66 % of the time, then a fade while it
// shrinks to 0.3.
class HidePieceEffect : public EffectBase {
public:
    HidePieceEffect(float centreX, float centreY, const ObjectSmartPointer<AnimationService>& picture, float duration);

    void Draw() override;
    void Update(float dt) override;
    bool IsFinished() override;

    float _duration = 0.0f;
    float _timeLeft = 0.0f;
    ObjectSmartPointer<AnimationService> _picture;
    float _centreX = 0.0f;
    float _centreY = 0.0f;
    // Equally spaced keys over the time left 0..1 (the end first).
    SplinePath<float> _scale;
    SplinePath<float> _glow;
};

// The chain text of a bomb chain ("boom x2") with its bonus below, rising; every further bomb of
// the chain (the player's "BombCounter" growing) restarts it from its middle, larger.
class BoomTextEffect : public EffectBase {
public:
    // Reads the player's "BombCounter" and "MultipleBomb", which must exist.
    BoomTextEffect(float x, float y, const std::string& prefix, float riseTotal, float duration, float sizeFactor);

    void Draw() override;
    void Update(float dt) override;
    bool IsFinished() override;

    float _x = 0.0f;
    float _y = 0.0f;
    float _riseTotal = 0.0f;
    float _riseNow = 0.0f;
    float _sizeFactor = 0.0f;
    std::string _prefix;
    std::string _chainText;
    std::string _bonusText;
    int _bonus = 0;
    float _duration = 0.0f;
    float _elapsed = 0.0f;
    TimedSpline _scale;
    SplinePath<float> _alpha;
    int _chainLength = 0;
    float _scaleMultiplier = 0.8f;
};
