#pragma once
// Containers that bound their children to a rectangle.
// RectangleFrameControl: a width x height window; drawing is clipped to it and the pointer and
// presses outside it are hidden from the children.
// TextureFrameControl: the same with a picture as the window; the children lie under the
// picture and are reached only through its transparent pixels, its opaque pixels are solid.
// ColorRectangleControl: a flat colour rectangle under its children, solid for the mouse.

#include "controls/FixedChildrenListControl.h"
#include "controls/SingleTextureControl.h"
#include "core/Color.h"
#include "core/MousePosRememberer.h"
#include "core/Rect.h"

class RectangleFrameControl : public FixedChildrenListControl, public MousePosRememberer {
public:
    // Reads the attributes "width" and "height".
    RectangleFrameControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~RectangleFrameControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;

private:
    bool IsMouseInside();

    int _width = 0;
    int _height = 0;
};

class TextureFrameControl : public SingleTextureControl {
public:
    TextureFrameControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~TextureFrameControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;

    bool IsMouseCapturedByThis() const { return _isMouseCapturedByThis; }

private:
    // Over a transparent pixel of the picture at the remembered position.
    bool IsMouseInWindow();

    bool _isMouseCapturedByThis = false;
};

class ColorRectangleControl : public FixedChildrenListControl, public MousePosRememberer {
public:
    // Reads the child "rectangle" ("width", "height", each > 0) and the child "color" ("value").
    ColorRectangleControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~ColorRectangleControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;

    Color GetColor() const { return _color; }
    Rect GetRect() const { return _rect; }
    bool IsMouseCapturedByThis() const { return _isMouseCapturedByThis; }

private:
    bool IsMouseInside();

    Rect _rect;
    Color _color;
    bool _isMouseCapturedByThis = false;
};
