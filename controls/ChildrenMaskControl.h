#pragma once
// Decorators that pass mouse input to their children only where the pointer is inside a mask:
// a rectangle, or the transparent pixels of a picture. Elsewhere the children see presses as
// already captured and moves as already handled. Releases always pass; drawing is not masked.

#include "controls/FixedChildrenListControl.h"
#include "core/MousePosRememberer.h"
#include "core/Rect.h"
#include "shell/Texture.h"

class CommonChildrenMaskControl : public FixedChildrenListControl, public MousePosRememberer {
public:
    CommonChildrenMaskControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~CommonChildrenMaskControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;

    // At the remembered mouse position.
    virtual bool IsMouseInMask() = 0;
};

class RectangleChildrenMaskControl : public CommonChildrenMaskControl {
public:
    // Reads the child "mask" ("x", "y", "width", "height"), relative to the control.
    RectangleChildrenMaskControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    bool IsMouseInMask() override;

private:
    Rect _mask;
};

class TextureChildrenMaskControl : public CommonChildrenMaskControl {
public:
    // Reads the child "mask" with its attribute "textureId".
    TextureChildrenMaskControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    bool IsMouseInMask() override;

private:
    UsingPointer<Texture> _mask;
};
