#pragma once
// A picture whose opacity swings between two values once per period.

#include "controls/Control.h"
#include "shell/Texture.h"

class BlinkingTextureControl : public MouseTransparentControl {
public:
    BlinkingTextureControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    void Draw() override;
    void Update(float dt) override;

    float GetPhase() const { return _phase; }
    float GetAlpha() const;

private:
    UsingPointer<Texture> _texture;
    float _phase = 0.0f;
    float _period = 0.0f;
    float _minAlpha = 0.0f;
    float _maxAlpha = 0.0f;
};
