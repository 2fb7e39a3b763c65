#pragma once
// A frame animation: frame textures that are loaded only while somebody uses the animation.

#include "core/ObjectSmartPointer.h"

class Texture;

class Animation : public Interface {
public:
    Animation() = default;
    // Reports an animation destroyed while still in use.
    ~Animation() override;

    // Uses of the animation, counted; the first starts using the frames, the last lets them go.
    void AddReference();
    void RemoveReference();

    // Make the frames available; let them go.
    virtual void StartUsing() = 0;
    virtual void StopUsing() = 0;
    // Only while in use: a further use of the frame's texture, held by the caller.
    virtual UsingPointer<Texture> GetFrame(int index) = 0;
    virtual int size() = 0;

    int GetReferenceCount() const { return _referenceCount; }

protected:
    int _referenceCount = 0;
};
