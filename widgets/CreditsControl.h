#pragma once
// Credits: text lines, gaps and pictures scrolling upwards from the control's position in an
// endless loop. The mouse passes through.

#include <string>
#include <vector>

#include "controls/Control.h"
#include "shell/Texture.h"

class CreditsControl : public MouseTransparentControl {
public:
    // Child "text" with "height" (line spacing as a factor of the font height, default 1), "speed"
    // (units per second, default 1) and optionally "resourceName", a template whose element gives
    // the lines instead. Lines: "line" (attribute "font", the text as content), "image"
    // (attribute "texture") and "blank" followed by the gap's height in digits.
    CreditsControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~CreditsControl() override;

    void Draw() override;
    void Update(float dt) override;

    float GetOffset() const { return _offset; }
    float GetTotalHeight() const;

private:
    struct CreditLine {
        std::string _text;
        std::string _font;
        float _height = 0.0f;
        UsingPointer<Texture> _texture;
    };
    void ReadLine(const ObjectWeakPointer<XmlElement>& xml, float heightFactor);

    float _speed = 1.0f;
    float _offset = 0.0f;
    std::vector<CreditLine> _lines;
};
