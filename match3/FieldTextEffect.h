#pragma once
// A short text that rises from a point and fades in and out: the score of a cleared cell or the
// money of a painted one.

#include <string>

#include "content/EffectBase.h"

class FieldTextEffect : public EffectBase {
public:
    // rise: units the text climbs over its duration; alphaPeak: share of the duration at which
    // it is fully visible (0..1).
    FieldTextEffect(float x, float y, const std::string& text, float rise, float duration, const std::string& font,
                       float alphaPeak, float scale);

    void Draw() override;
    void Update(float dt) override;
    bool IsFinished() override { return _elapsed >= _duration; }

    // Alpha at a share of the duration.
    float AlphaAt(float share) const;

private:
    float _x = 0.0f;
    float _y = 0.0f;
    std::string _text;
    float _rise = 0.0f;
    float _duration = 0.0f;
    std::string _font;
    float _alphaPeak = 0.0f;
    float _scale = 1.0f;
    float _elapsed = 0.0f;
};
