#pragma once
// Decorators that draw their children with a constant alpha multiplier: ZeroAlphaControl fully
// transparent, FixedAlphaControl with its attribute "alphaMul". Children keep their input.

#include "controls/FixedChildrenListControl.h"

class ZeroAlphaControl : public FixedChildrenListControl {
public:
    ZeroAlphaControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    void Draw() override;
};

class FixedAlphaControl : public FixedChildrenListControl {
public:
    // Reads the attribute "alphaMul" (0..1).
    FixedAlphaControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    void Draw() override;

    float GetAlphaMul() const { return _alphaMul; }

private:
    float _alphaMul = 1.0f;
};
