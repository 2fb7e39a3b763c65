#include "content/FloatingTextEffect.h"

#include <algorithm>

#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"

FloatingTextEffect::FloatingTextEffect(float x, float y, const std::string& text, float riseDistance, float duration,
                                       float scale, const std::string& fontName, float alphaStrength)
    : _x(x),
      _y(y),
      _text(text),
      _riseDistance(riseDistance),
      _duration(duration),
      _scale(scale),
      _fontName(fontName),
      _alphaStrength(alphaStrength) {
    for (float v : {0.2f, 1.0f, 1.0f, 1.0f, 1.0f, 0.2f}) _size.addKey(v);
    _size.CalculateGradient(false);
    const float a = 0.75f * _alphaStrength;
    for (float v : {0.0f, a, a, a, 0.0f}) _alpha.addKey(v);
    _alpha.CalculateGradient(false);
}

float FloatingTextEffect::GetT() const {
    if (_duration <= 0.0f) return 1.0f;
    return std::min(std::max(_elapsed / _duration, 0.0f), 1.0f);
}

float FloatingTextEffect::GetSize() const { return _size.getGlobalFrame(GetT()); }

float FloatingTextEffect::GetAlpha() const { return std::min(_alpha.getGlobalFrame(GetT()), 1.0f); }

void FloatingTextEffect::Update(float dt) {
    if (IsFinished()) return;
    _elapsed += dt;
    if (_duration > 0.0f) _rise = (_riseDistance / _duration) * _elapsed;
}

void FloatingTextEffect::Draw() {
    if (IsFinished()) return;
    Render::device.PushMatrix();
    Render::device.MatrixTranslate(_x, _y + _rise, 0.0f);
    Render::device.PushAlpha(GetAlpha());
    Render::fonts.SetFont(_fontName);
    Render::fonts.DrawString(0, 0, _text, GetSize() * _scale, 2, false);
    Render::device.PopAlpha();
    Render::device.PopMatrix();
}
