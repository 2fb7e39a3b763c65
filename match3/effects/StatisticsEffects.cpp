#include "match3/effects/StatisticsEffects.h"

#include <algorithm>
#include <cmath>

#include "core/Math.h"
#include "match3/effects/EffectDrawing.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"
#include "shell/SoundSystem.h"

namespace {

constexpr float NUMBER_SCALE = 0.75f;
// The number rocks twice to each side by up to 6 degrees while it counts.
constexpr float ROCK_TURNS = 4.0f;
constexpr float ROCK_DEGREES = 6.0f;
// Two and a half turns at the start of a spin-in.
constexpr float SPIN_DEGREES = 900.0f;
constexpr float FLIGHT_TURNS = -720.0f;
constexpr int CENTRED = 2;

// a / b, or 1 when b is not above 0 (a zero time counts as over).
float Ratio(float a, float b) { return b > 0.0f ? a / b : 1.0f; }

}  // namespace

TimerBonusEffect::TimerBonusEffect(float x0, float y0, float x1, float y1, int fromValue, int toValue,
                                   const std::string& prefix, const std::string& suffix, const std::string& font,
                                   float duration, float delay, bool silent)
    : _font(font),
      _duration(duration),
      _timeLeft(duration),
      _from(x0, y0),
      _to(x1, y1),
      _fromValue(fromValue),
      _toValue(toValue),
      _delay(delay),
      _prefix(prefix),
      _suffix(suffix),
      _silent(silent) {}

void TimerBonusEffect::Update(float dt) {
    if (!IsFinished()) _timeLeft -= dt;
}

bool TimerBonusEffect::IsFinished() { return _timeLeft <= 0.0f; }

float TimerBonusEffect::GetProgress() const {
    return _duration - _timeLeft > _delay ? 1.0f - Ratio(_timeLeft, _duration - _delay) : 0.0f;
}

std::string TimerBonusEffect::GetText() const {
    const float p = GetProgress();
    const int value = Math::round(static_cast<float>(_fromValue) + static_cast<float>(_toValue - _fromValue) * p);
    return _prefix + std::to_string(value) + _suffix;
}

void TimerBonusEffect::Draw() {
    if (IsFinished()) return;
    RenderDevice& device = Render::device;
    device.PushMatrix();
    const float p = GetProgress();
    if (_duration - _timeLeft > _delay && !_soundPlayed && !_silent) {
        Sound::soundSystem.PlaySample("counter");
        _soundPlayed = true;
    }
    const FPoint at = _from + p * (_to - _from);
    device.MatrixTranslate(at._x, at._y, 0.0f);
    device.MatrixRotate(effect_drawing::Z_AXIS, std::sin(Math::PI * p * ROCK_TURNS) * ROCK_DEGREES);
    Render::fonts.SetFont(_font);
    Render::fonts.DrawString(0, 0, GetText(), NUMBER_SCALE, CENTRED, true);
    device.PopMatrix();
}

RotateInEffect::RotateInEffect(float x, float y, const std::string& text, float startScale, const std::string& font,
                               float duration, float fadeTime)
    : _font(font), _duration(duration), _fadeTime(fadeTime), _startScale(startScale), _position(x, y), _text(text) {}

void RotateInEffect::Update(float dt) {
    if (!IsFinished()) _elapsed += dt;
}

bool RotateInEffect::IsFinished() {
    _elapsed = std::min(_elapsed, _duration);
    return _elapsed > _duration;
}

void RotateInEffect::Draw() {
    IsFinished();
    const float p = Ratio(_elapsed, _duration);
    RenderDevice& device = Render::device;
    device.PushMatrix();
    device.MatrixTranslate(_position._x, _position._y, 0.0f);
    device.MatrixRotate(effect_drawing::Z_AXIS, (1.0f - p) * (1.0f - p) * SPIN_DEGREES);
    device.PushAlpha(effect_drawing::Unit(Ratio(_elapsed, _fadeTime)));
    Render::fonts.SetFont(_font);
    Render::fonts.DrawString(0, 0, _text, _startScale + (1.0f - _startScale) * p, CENTRED, true);
    device.PopAlpha();
    device.PopMatrix();
}

FlyTextEffect::FlyTextEffect(float x0, float y0, float x1, float y1, const std::string& text, float scale,
                             const std::string& font, float duration, float delay, bool silent)
    : _text(text), _font(font), _duration(duration), _timeLeft(duration), _delay(delay), _silent(silent) {
    _scale.addKey(0.0f, scale);
    _scale.addKey(0.1f, 1.1f * scale);
    _scale.addKey(0.2f, scale);
    _scale.addKey(0.35f, 1.5f * scale);
    _scale.addKey(1.0f, 1.0f);
    _alpha.addKey(0.0f, 1.0f);
    _alpha.addKey(1.0f, 1.0f);
    for (float time : {0.0f, 0.1f, 0.2f, 0.35f}) _angle.addKey(time, 0.0f);
    _angle.addKey(1.0f, FLIGHT_TURNS);
    // The doubled start holds the text in place for the first part of the way.
    _path.addKey(FPoint(x0, y0));
    _path.addKey(FPoint(x0, y0));
    _path.addKey(FPoint((x0 + x1) / 2.0f, y1));
    _path.addKey(FPoint(x1, y1));
    _scale.CalculateGradient(false);
    _alpha.CalculateGradient(false);
    _angle.CalculateGradient(false);
    _path.CalculateGradient(false);
    if (_silent) return;
    EffectHandle burst = _owner.StartEffect("FromHere");
    if (burst) {
        burst->x = x0;
        burst->y = y0;
        burst->Reset();
    }
    Sound::soundSystem.PlaySample("popup");
}

void FlyTextEffect::Update(float dt) {
    if (!IsFinished()) _timeLeft -= dt;
}

bool FlyTextEffect::IsFinished() {
    _timeLeft = std::max(_timeLeft, 0.0f);
    return _timeLeft < 0.0f;
}

void FlyTextEffect::Draw() {
    IsFinished();
    const float t = 1.0f - Ratio(_timeLeft, _duration);
    float p = 0.0f;
    if (_duration - _timeLeft > _delay) p = 1.0f - Ratio(_timeLeft, _duration - _delay);
    const FPoint at = _path.getGlobalFrame(p);
    if (!_trail && !_trailStarted && !_silent) {
        _trailStarted = true;
        _trail = _owner.StartEffect("EffectWay");
        if (_trail) {
            _trail->x = at._x;
            _trail->y = at._y;
            _trail->Reset();
        }
        Sound::soundSystem.PlaySample("fly_text");
    }
    if (_trail) {
        _trail->x = at._x;
        _trail->y = at._y;
        if (_timeLeft <= 0.0f) {
            _trail.Finish();
            _trail = EffectHandle();
        }
    }
    _owner.DrawAll();
    RenderDevice& device = Render::device;
    device.PushMatrix();
    device.MatrixTranslate(at._x, at._y, 0.0f);
    device.MatrixRotate(effect_drawing::Z_AXIS, _angle.getValueAt(t));
    device.PushAlpha(effect_drawing::Unit(_alpha.getValueAt(t)));
    Render::fonts.SetFont(_font);
    Render::fonts.DrawString(0, 0, _text, _scale.getValueAt(t), CENTRED, true);
    device.PopAlpha();
    device.PopMatrix();
}
