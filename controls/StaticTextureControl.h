#pragma once
// The plain picture of a screen: drawn under its children, solid for the mouse over its opaque pixels.

#include "controls/SingleTextureControl.h"

class StaticTextureControl : public SingleTextureControl {
public:
    StaticTextureControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;

private:
    bool _isMouseCapturedByThis = false;
};
