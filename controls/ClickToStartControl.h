#pragma once
// A caption that fades in and then breathes with a soft glow on top.

#include <string>

#include "controls/Control.h"

class ClickToStartControl : public MouseTransparentControl {
public:
    // Attributes "resourceName" (a string resource) and "fontName" on the element itself.
    ClickToStartControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    void Draw() override;
    void Update(float dt) override;

    float GetAlpha() const { return _alpha; }
    // The scale of the caption and the alpha of its glow now.
    float GetScale() const;
    float GetGlowAlpha() const;

private:
    float _time = 0.0f;
    float _alpha = 0.0f;
    std::string _text;
    std::string _fontName;
};
