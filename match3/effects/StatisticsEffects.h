#pragma once
// The effects of the level-complete statistics screen: a number counting between two values while
// it moves and rocks, a text spinning in, and a text popping up and flying along a curve with a
// trail of particles. A silent effect plays no sound and starts no particles but moves the same.

#include <string>

#include "content/EffectBase.h"
#include "content/EffectObserver.h"
#include "content/Spline.h"
#include "core/FPoint.h"

// Stands at the from point showing the from value during the delay, then counts to the to value
// while it moves to the to point; gone when the duration is over. "counter" sounds once.
class TimerBonusEffect : public EffectBase {
public:
    TimerBonusEffect(float x0, float y0, float x1, float y1, int fromValue, int toValue, const std::string& prefix,
                     const std::string& suffix, const std::string& font, float duration, float delay, bool silent);

    void Draw() override;
    void Update(float dt) override;
    bool IsFinished() override;

    // 0 during the delay, then up to 1 at the end of the count.
    float GetProgress() const;
    // The prefix, the value at the progress (rounded) and the suffix.
    std::string GetText() const;

    std::string _font;
    float _duration = 0.0f;
    float _timeLeft = 0.0f;
    FPoint _from;
    FPoint _to;
    int _fromValue = 0;
    int _toValue = 0;
    float _delay = 0.0f;
    std::string _prefix;
    std::string _suffix;
    bool _soundPlayed = false;
    bool _silent = false;
};

// Spins two and a half turns down to rest while it grows or shrinks from the start scale to its
// size and fades in; then stays. Never finished: its owner removes it.
class RotateInEffect : public EffectBase {
public:
    RotateInEffect(float x, float y, const std::string& text, float startScale, const std::string& font,
                   float duration, float fadeTime);

    void Draw() override;
    void Update(float dt) override;
    // Keeps the elapsed time within the duration; never true.
    bool IsFinished() override;

    std::string _font;
    float _duration = 0.0f;
    float _elapsed = 0.0f;
    float _fadeTime = 0.0f;
    float _startScale = 1.0f;
    FPoint _position;
    std::string _text;
};

// Pops up at the start point ("FromHere" particles, "popup"), waits for the delay, then rises and
// slides to the end point turning twice, with an "EffectWay" trail ("fly_text"); then stays at the
// end point at scale 1. Never finished: its owner removes it.
class FlyTextEffect : public EffectBase {
public:
    FlyTextEffect(float x0, float y0, float x1, float y1, const std::string& text, float scale, const std::string& font,
                  float duration, float delay, bool silent);

    void Draw() override;
    void Update(float dt) override;
    // Keeps the time left at or above 0; never true.
    bool IsFinished() override;

    std::string _text;
    std::string _font;
    float _duration = 0.0f;
    float _timeLeft = 0.0f;
    float _delay = 0.0f;
    // Over the effect's time 0..1; the angle in degrees.
    TimedSpline _scale;
    TimedSpline _alpha;
    TimedSpline _angle;
    // Over the flight after the delay, 0..1.
    SplinePath<FPoint> _path;
    EffectOwner _owner;
    EffectHandle _trail;
    bool _trailStarted = false;
    bool _silent = false;
};
