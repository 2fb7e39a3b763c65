#include "match3/effects/BreakingUpEffect.h"

#include <cmath>

#include "core/Math.h"
#include "core/Random.h"
#include "match3/effects/EffectDrawing.h"
#include "shell/RenderDevice.h"

namespace {

constexpr float GRAVITY = 1200.0f;
constexpr float FULL_TURN = 360.0f;
constexpr float WOBBLE_RATE = 1.6666666f;
constexpr float VISIBLE_ALPHA = 0.001f;
// Shards start this far from the tile's offset and are thrown up and outwards.
constexpr float SHARD_SHIFT = 6.0f;
constexpr float THROW_SHIFT_X = 3.0f;
constexpr float THROW_SHIFT_Y = -16.0f;
constexpr int THROW_JITTER = 6;
constexpr float THROW_SCALE = 22.0f;
constexpr float FADE_TIME = 1.5f;
// Tile steps summed across a row fall short of 1 by rounding on some widths (384 = 12 tiles).
constexpr float ROW_END_TOLERANCE = 0.0001f;

}  // namespace

WaterTransporter::WaterTransporter(float x, float y, float spinReference, float floor, float startAlpha,
                                   float endAlpha, float fadeTime, float vx, float vy, float wobbleAmplitude)
    : _wobbleAmplitude(wobbleAmplitude),
      _startX(x),
      _spinReference(spinReference),
      _startY(y),
      _floor(floor),
      _x(x),
      _y(y),
      _vx(vx),
      _vy(vy),
      _fadeTime(fadeTime),
      _startAlpha(startAlpha),
      _endAlpha(endAlpha),
      _alpha(startAlpha),
      _wobbleDirection(static_cast<float>(1 - 2 * RandomIntRange(0, 2))) {}

void WaterTransporter::Update(float dt) {
    _age += dt;
    if (IsFinished()) return;
    const float dy = _drag * _vy * _vy * dt;
    if (std::fabs(_vy + GRAVITY * dt) - dy < 0.0f) {
        _vy = 0.0f;
    } else {
        _vy = static_cast<float>(Math::sign(_vy)) * (std::fabs(_vy) - dy) + GRAVITY * dt;
    }
    const float dx = _drag * _vx * _vx * dt;
    if (std::fabs(_vx) - dx < 0.0f) {
        _vx = 0.0f;
    } else {
        _vx = static_cast<float>(Math::sign(_vx)) * (std::fabs(_vx) - dx);
    }
    _x += dt * _vx;
    _y -= dt * _vy;
    if (_y < _floor) _y = _floor;
    if (_spinClock <= _spinTime) {
        _spinFraction = _spinClock / _spinTime;
        _spinClock += dt;
        _spinAngle -= static_cast<float>(Math::sign(_spinReference)) * FULL_TURN * (1.0f - _spinFraction) * dt;
    }
    _alpha = _age <= _fadeTime ? _startAlpha + (_endAlpha - _startAlpha) * _age / _fadeTime : 0.0f;
    _wobbleAngle = std::sin(Math::PI * _wobbleDirection * _age * WOBBLE_RATE) * (_spinFraction / Math::PI) *
                   _wobbleAmplitude * 180.0f;
}

bool WaterTransporter::IsFinished() const { return _y == _floor || _alpha < VISIBLE_ALPHA; }

BreakingUpEffect::BreakingUpEffect(float centreX, float centreY, float speedX, float speedY,
                                   const UsingPointer<Texture>& picture, int tileSize, const std::vector<Point>& offsets,
                                   float wobbleAmplitude, bool mirrored)
    : _picture(picture), _tileSize(tileSize), _mirrored(mirrored), _centreX(centreX), _centreY(centreY) {
    for (const Point& p : offsets) {
        const float r = 0.5f + RandomFloat(0.5f);
        const float ox = static_cast<float>(-p.x) - SHARD_SHIFT;
        const float oy = static_cast<float>(-p.y) - SHARD_SHIFT;
        const float kx = static_cast<float>(RandomIntRange(0, THROW_JITTER));
        const float ky = static_cast<float>(RandomIntRange(0, THROW_JITTER));
        const float vx = ((ox + THROW_SHIFT_X) - kx) * r * speedX / THROW_SCALE;
        const float vy = ((oy + THROW_SHIFT_Y) - ky) * r * speedY / THROW_SCALE;
        // The floor is just below the screen's bottom edge.
        const float floor = static_cast<float>(-tileSize) / 2.0f;
        _shards.push_back(ObjectSmartPointer<WaterTransporter>(new WaterTransporter(
            centreX + ox, centreY - oy, ox, floor, 1.0f, 0.0f, FADE_TIME, vx, vy, wobbleAmplitude)));
    }
}

void BreakingUpEffect::Update(float dt) {
    for (const auto& shard : _shards) {
        if (!shard->IsFinished()) shard->Update(dt);
    }
}

bool BreakingUpEffect::IsFinished() {
    for (const auto& shard : _shards) {
        if (!shard->IsFinished()) return false;
    }
    return true;
}

void BreakingUpEffect::Draw() {
    if (_picture == NULL) return;
    const Rect r = _picture->GetRectangle();
    if (r.width <= 0 || r.height <= 0) return;
    RenderDevice& device = Render::device;
    const float du = static_cast<float>(_tileSize) / static_cast<float>(r.width);
    const float dv = static_cast<float>(_tileSize) / static_cast<float>(r.height);
    float u = 0.0f;
    float v = 1.0f;
    for (const auto& shard : _shards) {
        if (!shard->IsFinished()) {
            device.PushMatrix();
            device.PushAlpha(effect_drawing::Unit(shard->_alpha));
            device.MatrixTranslate(_centreX, _centreY, 0.0f);
            if (_mirrored) device.MatrixRotate(effect_drawing::Y_AXIS, 180.0f);
            device.MatrixTranslate(shard->_x - _centreX, shard->_y - _centreY, 0.0f);
            device.MatrixRotate(effect_drawing::Z_AXIS, shard->_spinAngle + shard->_wobbleAngle);
            _picture->Draw(Rect(_tileSize / -2, _tileSize / -2, _tileSize, _tileSize), FRect(u, u + du, v - dv, v));
            device.PopAlpha();
            device.PopMatrix();
        }
        u += du;
        if (u >= 1.0f - ROW_END_TOLERANCE) {
            u = 0.0f;
            v -= dv;
        }
    }
}
