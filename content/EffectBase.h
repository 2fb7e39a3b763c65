#pragma once
// A short-lived picture that its owner advances and draws through an EffectCollection: a piece
// flying to its cell, a flash, a bolt, a counting number. Not a control.

#include "core/Object.h"

class EffectBase : public Interface {
public:
    // In the render device's current coordinate frame.
    virtual void Draw() = 0;
    virtual void Update(float dt) = 0;
    // True once there is nothing more to show; some effects never finish and go with their owner.
    virtual bool IsFinished() = 0;
};
