#pragma once
// A picture that lifts itself up and to the left over a dark shadow while the pointer rests on it
// (or while it is pressed with the pointer over it), and plays a rising sound when it lifts.
// Its children move with it. A click sends nothing.

#include "controls/SingleTextureControl.h"

class RaisingTextureControl : public SingleTextureControl {
public:
    // Reads "texture", the child "shift" ("value" > 0) and the child "shadow" ("alpha" 0..1).
    RaisingTextureControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~RaisingTextureControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;

    int GetShift() const { return _shift; }
    bool IsMouseCapturedByThis() const { return _isMouseCapturedByThis; }

private:
    void MoveBy(int shift);

    bool _isMouseCapturedByThis = false;
    int _shift = 0;
    int _maxShift = 0;
    float _shadowAlpha = 0.0f;
};
