#pragma once
// Display-only controls that put particle effects into a screen: one named effect at the control's
// place, or fireworks at random points of a rectangle after random pauses, each with a sound.

#include <string>

#include "content/EffectObserver.h"
#include "controls/Control.h"

// "ShowEffectControl": attribute "effect".
class ShowEffectControl : public MouseTransparentControl {
public:
    ShowEffectControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    void Draw() override;
    void Update(float dt) override;

    EffectOwner& GetEffectOwner() { return _effects; }

private:
    EffectOwner _effects;
};

// "FireWorkControl": attributes "effect", "width", "heigth", "minPause", "maxPause" and the child
// "sound" with "soundId".
class FireWorkControl : public MouseTransparentControl {
public:
    FireWorkControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    void Draw() override;
    void Update(float dt) override;

    EffectOwner& GetEffectOwner() { return _effects; }
    float GetTimer() const { return _timer; }

private:
    EffectOwner _effects;
    std::string _effectName;
    int _width = 0;
    int _height = 0;
    float _minPause = 0.0f;
    float _maxPause = 0.0f;
    float _timer = 0.0f;
    std::string _sound;
};

// Enters both into the control factory (once; later calls do nothing).
void RegisterEffectControls();

// Draws an owner's effects in the coordinates of the control's parent.
void DrawEffectsAtParent(Control& control, EffectOwner& effects);
