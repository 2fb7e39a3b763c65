#pragma once
// One piece of the game field: its picture, its main move and its landing hop.
// The field keeps one per cell and draws it at the cell's corner.

#include "content/AnimationService.h"
#include "content/MotionTransporter.h"
#include "core/ObjectSmartPointer.h"
#include "core/Point.h"
#include "core/FPoint.h"

class ZovPiece : public Interface {
public:
    ZovPiece() = default;
    // Keeps its own copy of the picture.
    ZovPiece(const ObjectWeakPointer<AnimationService>& picture, const Point& offset);

    // A fresh copy of the prototype's picture and its offset; stopped.
    void SetFrom(const ObjectWeakPointer<ZovPiece>& prototype);
    void Stop();
    // Mode 2 is a landing hop with upward speed param; other modes play the frame range.
    void PlayAnimation(int firstFrame, int lastFrame, int mode, float param, float fps);
    void StartMove(float x0, float y0, float x1, float y1, float scaleFrom, float scaleTo, float duration, int mode,
                   float xSpeed, float ySpeed, float spin);

    bool IsBusy() const { return _animating || _move.Get() != nullptr; }
    bool IsMoving() const { return _move.Get() != nullptr; }
    bool HasPicture() const { return _picture.Get() != nullptr; }
    ObjectSmartPointer<AnimationService> GetPicture() const { return _picture; }
    FPoint GetPosition() const;
    float GetSpeed() const;
    void Draw(float x, float y);
    // False in the update in which the main move ends (the piece arrived).
    bool Update(float dt);

private:
    ObjectSmartPointer<Transporter> _move;
    ObjectSmartPointer<Transporter> _hop;
    ObjectSmartPointer<AnimationService> _picture;
    Point _offset;
    bool _animating = false;
};
