#include "controls/EffectControls.h"

#include "controls/ControlFactory.h"
#include "core/Random.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"
#include "shell/SoundSystem.h"

namespace {
// The pan that keeps the sample's own.
constexpr int OWN_PAN = -101;
}  // namespace

void DrawEffectsAtParent(Control& control, EffectOwner& effects) {
    const Point parentOrigin = control.GetAbsolutePos() - control.GetInParentPos();
    Render::device.PushMatrix();
    Render::device.MatrixTranslate(static_cast<float>(parentOrigin.x), static_cast<float>(parentOrigin.y), 0.0f);
    effects.DrawAll();
    Render::device.PopMatrix();
}

ShowEffectControl::ShowEffectControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {
    EffectHandle effect = _effects.StartEffect(xml->GetStringAttribute("effect"));
    effect->x = static_cast<float>(_position.x);
    effect->y = static_cast<float>(_position.y);
    effect->Reset();
}

void ShowEffectControl::Draw() { DrawEffectsAtParent(*this, _effects); }

void ShowEffectControl::Update(float) {}

FireWorkControl::FireWorkControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {
    _effectName = xml->GetStringAttribute("effect");
    _width = xml->GetIntAttribute("width");
    // Spelled so in content.
    _height = xml->GetIntAttribute("heigth");
    _minPause = xml->GetFloatAttribute("minPause");
    _maxPause = xml->GetFloatAttribute("maxPause");
    ObjectWeakPointer<XmlElement> sound = xml->GetFirstChildElement("sound");
    Assert(sound != NULL);
    if (sound != NULL) _sound = sound->GetStringAttribute("soundId");
}

void FireWorkControl::Draw() { DrawEffectsAtParent(*this, _effects); }

void FireWorkControl::Update(float dt) {
    _timer -= dt;
    if (!(_timer < 0.0f)) return;
    EffectHandle effect = _effects.StartEffect(_effectName);
    effect->x = static_cast<float>(_position.x + RandomIntRange(0, _width));
    effect->y = static_cast<float>(_position.y + RandomIntRange(0, _height));
    effect->Reset();
    _timer = RandomFloatRange(_minPause, _maxPause);
    if (!_sound.empty()) Sound::soundSystem.PlaySampleEx(_sound, OWN_PAN, false);
}

void RegisterEffectControls() {
    if (ControlFactory::IsControlRegistered("ShowEffectControl")) return;
    ControlFactory::RegisterControl("ShowEffectControl", ControlFactory::Make<ShowEffectControl>());
    ControlFactory::RegisterControl("FireWorkControl", ControlFactory::Make<FireWorkControl>());
}
