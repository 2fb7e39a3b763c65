#include "match3/FieldTextEffect.h"

#include <algorithm>

#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"

FieldTextEffect::FieldTextEffect(float x, float y, const std::string& text, float rise, float duration,
                                       const std::string& font, float alphaPeak, float scale)
    : _x(x), _y(y), _text(text), _rise(rise), _duration(duration), _font(font), _alphaPeak(alphaPeak), _scale(scale) {
    _alphaPeak = std::min(std::max(_alphaPeak, 0.0f), 1.0f);
}

float FieldTextEffect::AlphaAt(float share) const {
    share = std::min(std::max(share, 0.0f), 1.0f);
    if (share < _alphaPeak) return _alphaPeak > 0.0f ? share / _alphaPeak : 1.0f;
    return _alphaPeak < 1.0f ? (1.0f - share) / (1.0f - _alphaPeak) : 1.0f;
}

void FieldTextEffect::Update(float dt) { _elapsed = std::min(_elapsed + dt, _duration); }

void FieldTextEffect::Draw() {
    if (_text.empty() || IsFinished()) return;
    const float share = _duration > 0.0f ? _elapsed / _duration : 1.0f;
    RenderDevice& device = Render::device;
    device.PushAlpha(AlphaAt(share));
    Render::fonts.SetFont(_font);
    Render::fonts.DrawString(FPoint(_x, _y + _rise * share), _text, _scale, 2, true);
    device.PopAlpha();
}
