#pragma once
// A picture the player drags with the mouse. A click without movement picks it up; it follows the
// pointer until a button is released after it has moved.

#include "controls/SingleTextureControl.h"

class MovableTextureControl : public SingleTextureControl {
public:
    MovableTextureControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;

    bool IsInDragging() const { return _isInDragging; }

private:
    bool _isInDragging = false;
    Point _dragOffset;
    Point _dragStartMousePos;
    bool _wasMovedInDrag = false;
};
