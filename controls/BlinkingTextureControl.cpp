#include "controls/BlinkingTextureControl.h"

#include <cmath>

#include "controls/PictureTexture.h"
#include "core/Math.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"

BlinkingTextureControl::BlinkingTextureControl(const ObjectWeakPointer<Control>& parent,
                                               const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> texture = GetNeededChild(xml, "texture");
    if (texture != NULL) {
        _texture = GetPictureTexture(texture->GetStringAttribute("textureId"));
    }
    const ObjectWeakPointer<XmlElement> blinking = GetNeededChild(xml, "blinking");
    if (blinking != NULL) {
        _period = blinking->GetFloatAttribute("period");
        _minAlpha = blinking->GetFloatAttribute("minAlpha");
        _maxAlpha = blinking->GetFloatAttribute("maxAlpha");
    }
    Assert(_period > 0.0f);
    Assert(0.0f <= _minAlpha && _minAlpha <= _maxAlpha && _maxAlpha <= 1.0f);
}

void BlinkingTextureControl::Update(float dt) {
    if (!(_period > 0.0f)) {
        return;  // reported at construction; the picture stays at its first phase
    }
    _phase += dt / _period;
    while (_phase >= 1.0f) {
        _phase -= 1.0f;
    }
}

float BlinkingTextureControl::GetAlpha() const {
    return _minAlpha + (_maxAlpha - _minAlpha) * (1.0f - std::cos(2.0f * Math::PI * _phase)) / 2.0f;
}

void BlinkingTextureControl::Draw() {
    if (_texture == NULL) {
        return;
    }
    Render::device.PushAlpha(GetAlpha());
    _texture->Draw(GetAbsolutePos());
    Render::device.PopAlpha();
}
