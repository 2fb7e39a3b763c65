#pragma once
// A text that rises from a point and grows, holds and fades over its life: the money and score
// texts that appear where something was bought, sold or cleared.

#include <string>

#include "content/EffectBase.h"
#include "content/Spline.h"

class FloatingTextEffect : public EffectBase {
public:
    FloatingTextEffect(float x, float y, const std::string& text, float riseDistance, float duration, float scale,
                       const std::string& fontName, float alphaStrength);

    void Draw() override;
    void Update(float dt) override;
    bool IsFinished() override { return _elapsed >= _duration; }

    float GetRise() const { return _rise; }
    float GetElapsed() const { return _elapsed; }
    // The curves at t = elapsed / duration, the alpha capped at 1.
    float GetSize() const;
    float GetAlpha() const;

private:
    float GetT() const;

    float _x = 0.0f;
    float _y = 0.0f;
    std::string _text;
    float _riseDistance = 0.0f;
    float _duration = 0.0f;
    float _scale = 1.0f;
    std::string _fontName;
    float _alphaStrength = 1.0f;
    float _elapsed = 0.0f;
    float _rise = 0.0f;
    SplinePath<float> _size;
    SplinePath<float> _alpha;
};
