#pragma once
// A turnable arrow with a drop shadow that pulses once a second; its owner reads it from its
// "directArrow" element, advances it and draws it inside its own matrix.

#include "core/Object.h"
#include "core/ObjectSmartPointer.h"
#include "shell/Texture.h"

class XmlElement;

class DirectArrow : public Interface {
public:
    // "x", "y" (ints) and "angle" (degrees); pictures "direct_arrow" and "direct_arrow_shadow".
    explicit DirectArrow(const ObjectWeakPointer<XmlElement>& xml);
    ~DirectArrow() override;

    void Draw();
    // Advances the pulse; one pulse a second.
    void Update(float dt);

    float GetPulse() const { return _pulse; }

private:
    void DrawPicture(const UsingPointer<Texture>& picture, float b, float s);

    float _distance = 30.0f;
    UsingPointer<Texture> _arrow;
    UsingPointer<Texture> _shadow;
    // Phase of the pulse in [0, 1).
    float _pulse = 0.0f;
    float _angle = 0.0f;
    int _x = 0;
    int _y = 0;
};
