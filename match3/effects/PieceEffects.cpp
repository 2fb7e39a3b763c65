#include "match3/effects/PieceEffects.h"

#include <algorithm>

#include "core/Random.h"
#include "match3/effects/EffectDrawing.h"
#include "shell/RenderDevice.h"

namespace {

// A piece picture's corner lies this far left of and below its centre.
constexpr float PIECE_HALF = 21.0f;
constexpr float LATEST_SWITCH_START = 0.4f;
constexpr float SHORTEST_SWITCH = 0.25f;
constexpr float LONGEST_SWITCH = 0.6f;
// The rise above the higher end of a vertical way, and the tilt of a diagonal one.
constexpr float ARC_HEIGHT = 10.0f;
constexpr float TILT = 45.0f;
// HidePieceEffect: the flash lasts while the time left is above this share.
constexpr float FLASH_END = 0.34f;
constexpr float FLASH_SCALE = 1.5151515f;
constexpr float FADE_SCALE = 2.9411764f;

}  // namespace

CreateBombEffect::CreateBombEffect(int x, int y) {
    EffectHandle effect = _owner.StartEffect("CreateBonusEffect");
    if (!effect) return;
    effect->x = static_cast<float>(x);
    effect->y = static_cast<float>(y);
    effect->Reset();
}

void CreateBombEffect::Draw() {
    if (!IsFinished()) _owner.DrawAll();
}

void CreateBombEffect::Update(float) {}

bool CreateBombEffect::IsFinished() { return _owner.GetEffectCount() == 0; }

ReplacePieceEffect::ReplacePieceEffect(float fromX, float fromY, float toX, float toY,
                                       const ObjectSmartPointer<AnimationService>& from,
                                       const ObjectSmartPointer<AnimationService>& to, float duration,
                                       float earliestSwitchStart)
    : _timeLeft(duration), _from(from), _to(to) {
    const float r1 = RandomFloatRange(earliestSwitchStart, LATEST_SWITCH_START);
    const float r2 = RandomFloatRange(SHORTEST_SWITCH, LONGEST_SWITCH);
    _switch = ObjectSmartPointer<FlarePosition>(
        new FlarePosition(r2 * duration, true, (1.0f - r1 - r2) * duration, 0.0f, r1 * duration));

    _x.addKey(0.0f, fromX);
    _x.addKey(1.0f, toX);
    _y.addKey(0.0f, fromY);
    if (fromY != toY) _y.addKey(fromY < toY ? 0.8f : 0.2f, std::max(fromY, toY) + ARC_HEIGHT);
    _y.addKey(1.0f, toY);
    // The key at 0.1 twice, as the curve has always been built; it sorts its keys by time.
    _scale.addKey(0.0f, 1.0f);
    _scale.addKey(0.1f, 0.8f);
    _scale.addKey(0.5f, 1.1f);
    _scale.addKey(0.1f, 0.8f);
    _scale.addKey(1.0f, 1.0f);
    _angle.addKey(0.0f, 0.0f);
    if (fromX != toX && fromY != toY) _angle.addKey(0.5f, fromX < toX ? TILT : -TILT);
    _angle.addKey(1.0f, 0.0f);
    _x.CalculateGradient(false);
    _y.CalculateGradient(false);
    _scale.CalculateGradient(false);
    _angle.CalculateGradient(false);
}

void ReplacePieceEffect::Draw() {
    RenderDevice& device = Render::device;
    device.PushMatrix();
    if (_switch->IsFlaring()) {
        const float p = _switch->GetProgress();
        device.MatrixTranslate(_x.getValueAt(p), _y.getValueAt(p), 0.0f);
        device.MatrixRotate(effect_drawing::Z_AXIS, _angle.getValueAt(p));
        device.MatrixScale(1.0f, _scale.getValueAt(p), 1.0f);
        device.MatrixTranslate(-PIECE_HALF, -PIECE_HALF, 0.0f);
        if (_from != NULL) effect_drawing::DrawFrameAt(*_from, Point(0, 0), 1.0f - p);
        if (_to != NULL) effect_drawing::DrawFrameAt(*_to, Point(0, 0), p);
    } else if (!_switch->_done) {
        if (_from != NULL) {
            device.MatrixTranslate(_x.getValueAt(0.0f), _y.getValueAt(0.0f), 0.0f);
            device.MatrixTranslate(-PIECE_HALF, -PIECE_HALF, 0.0f);
            effect_drawing::DrawFrameAt(*_from, Point(0, 0), 1.0f);
        }
    } else if (_to != NULL) {
        device.MatrixTranslate(_x.getValueAt(1.0f), _y.getValueAt(1.0f), 0.0f);
        device.MatrixTranslate(-PIECE_HALF, -PIECE_HALF, 0.0f);
        effect_drawing::DrawFrameAt(*_to, Point(0, 0), 1.0f);
    }
    device.PopMatrix();
}

void ReplacePieceEffect::Update(float dt) {
    _switch->Update(dt);
    _timeLeft = std::max(_timeLeft - dt, 0.0f);
}

bool ReplacePieceEffect::IsFinished() { return _timeLeft <= 0.0f; }

SplashRemoverEffect::SplashRemoverEffect(float centreX, float centreY,
                                         const ObjectSmartPointer<AnimationService>& picture, float life)
    : _timeLeft(life), _picture(picture), _centreX(centreX), _centreY(centreY) {}

void SplashRemoverEffect::Draw() {
    if (IsFinished() || _picture == NULL) return;
    UsingPointer<Texture> frame = _picture->GetTexture();
    if (frame == NULL) return;
    const Rect r = frame->GetRectangle();
    RenderDevice& device = Render::device;
    device.PushMatrix();
    device.MatrixTranslate(_centreX - static_cast<float>(r.width / 2), _centreY - static_cast<float>(r.height / 2),
                           0.0f);
    frame->Draw(Point(0, 0));
    device.PopMatrix();
}

void SplashRemoverEffect::Update(float dt) {
    if (!IsFinished()) _timeLeft -= dt;
}

bool SplashRemoverEffect::IsFinished() { return _timeLeft <= 0.0f; }

ClearPieceEffect::ClearPieceEffect(float centreX, float centreY, const UsingPointer<Texture>& base,
                                   const UsingPointer<Texture>& glow, float duration)
    : _base(base), _glow(glow), _duration(duration), _timeLeft(duration), _centre(centreX, centreY) {
    Assert(_glow != NULL);
}

void ClearPieceEffect::Draw() {
    if (IsFinished()) return;
    const float p = _timeLeft / _duration;
    const float q = 0.25f - (p - 0.5f) * (p - 0.5f);
    RenderDevice& device = Render::device;
    device.PushMatrix();
    device.MatrixTranslate(_centre._x, _centre._y, 0.0f);
    device.MatrixScaleUniform(1.0f + q);
    if (_base != NULL) {
        device.PushAlpha(effect_drawing::Unit(p));
        effect_drawing::DrawCentred(_base);
        device.PopAlpha();
    }
    if (_glow != NULL) {
        device.SetBlendMode(effect_drawing::ADDITIVE_BLEND);
        device.PushAlpha(effect_drawing::Unit(4.0f * q));
        effect_drawing::DrawCentred(_glow);
        device.PopAlpha();
        device.SetBlendMode(effect_drawing::NORMAL_BLEND);
    }
    device.PopMatrix();
}

void ClearPieceEffect::Update(float dt) {
    if (!IsFinished()) _timeLeft -= dt;
}

bool ClearPieceEffect::IsFinished() { return _timeLeft <= 0.0f; }

HidePieceEffect::HidePieceEffect(float centreX, float centreY, const ObjectSmartPointer<AnimationService>& picture,
                                 float duration)
    : _duration(duration), _timeLeft(duration), _picture(picture), _centreX(centreX), _centreY(centreY) {
    for (float key : {0.3f, 1.0f, 1.1f, 1.0f}) _scale.addKey(key);
    for (float key : {0.0f, 0.5f, 0.0f}) _glow.addKey(key);
    _scale.CalculateGradient(false);
    _glow.CalculateGradient(false);
}

void HidePieceEffect::Draw() {
    if (IsFinished() || _picture == NULL) return;
    UsingPointer<Texture> frame = _picture->GetTexture();
    if (frame == NULL) return;
    const float p = _timeLeft / _duration;
    const Rect r = frame->GetRectangle();
    const Point corner(r.width / -2, r.height / -2);
    RenderDevice& device = Render::device;
    device.PushMatrix();
    device.MatrixTranslate(_centreX, _centreY, 0.0f);
    device.MatrixScaleUniform(_scale.getGlobalFrame(p));
    if (p > FLASH_END) {
        const float q = (p - FLASH_END) * FLASH_SCALE;
        frame->Draw(corner);
        device.SetBlendMode(effect_drawing::ADDITIVE_BLEND);
        device.PushAlpha(effect_drawing::Unit(_glow.getGlobalFrame(q)));
        frame->DrawSilhouette(corner);
        device.PopAlpha();
        device.SetBlendMode(effect_drawing::NORMAL_BLEND);
    } else {
        device.PushAlpha(effect_drawing::Unit(p * FADE_SCALE));
        frame->Draw(corner);
        device.PopAlpha();
    }
    device.PopMatrix();
}

void HidePieceEffect::Update(float dt) {
    if (!IsFinished()) _timeLeft -= dt;
}

bool HidePieceEffect::IsFinished() { return _timeLeft <= 0.0f; }
