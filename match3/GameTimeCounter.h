#pragma once
// The level timer beside the game field: a bar that drains with the share of time left and a
// glow with a tick while the field makes it shine. It does not count time itself.

#include <string>

#include "controls/Control.h"
#include "shell/Texture.h"

class GameTimeCounter : public MouseTransparentControl {
public:
    // Attributes: "textureId" (the bar picture, optional), "hideProcess" (default 0.2).
    GameTimeCounter(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    // p must lie in [0, 1]; it is stored either way.
    void SetProgress(float p);
    float GetProgress() const { return _progress; }

    void Update(float dt) override;
    void Draw() override;

    bool shining = false;
    float shineTime = 0.75f;
    float shinePeriod = 1.0f;

private:
    UsingPointer<Texture> _bar;
    float _hideProcess = 0.2f;
    float _progress = 0.0f;
};
