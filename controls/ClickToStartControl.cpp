#include "controls/ClickToStartControl.h"

#include <algorithm>
#include <cmath>

#include "content/ResourceManager.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"

ClickToStartControl::ClickToStartControl(const ObjectWeakPointer<Control>& parent,
                                         const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {
    if (xml != NULL) {
        _text = ResourceManager::GetString(xml->GetStringAttribute("resourceName"));
        _fontName = xml->GetStringAttribute("fontName");
    }
}

void ClickToStartControl::Update(float dt) {
    _time += dt;
    _alpha = std::min(1.0f, _alpha + 2.0f * dt);
}

float ClickToStartControl::GetScale() const { return std::fabs(std::sin(4.0f * _time)) * 0.04f + 1.01f; }

float ClickToStartControl::GetGlowAlpha() const { return std::fabs(std::sin(4.0f * _time)) * _alpha * 0.5f; }

void ClickToStartControl::Draw() {
    Render::fonts.SetFont(_fontName);
    const Point p = GetAbsolutePos();
    const float scale = GetScale();
    Render::device.PushAlpha(_alpha);
    Render::fonts.DrawString(p.x, p.y, _text, scale, 2, true);
    Render::device.PopAlpha();
    Render::device.SetBlendMode(2);
    Render::device.PushAlpha(GetGlowAlpha());
    Render::fonts.DrawString(p.x, p.y, _text, scale, 2, true);
    Render::device.PopAlpha();
    Render::device.SetBlendMode(0);
}
