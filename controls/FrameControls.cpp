#include "controls/FrameControls.h"

#include "controls/MouseEvents.h"
#include "controls/PictureTexture.h"
#include "core/Assert.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"

// ---------------------------------------------------------------------------------------------
// RectangleFrameControl

RectangleFrameControl::RectangleFrameControl(const ObjectWeakPointer<Control>& parent,
                                             const ObjectWeakPointer<XmlElement>& xml)
    : FixedChildrenListControl(parent, xml) {
    if (xml != NULL) {
        _width = xml->GetIntAttribute("width");
        _height = xml->GetIntAttribute("height");
    }
}

RectangleFrameControl::~RectangleFrameControl() = default;

bool RectangleFrameControl::IsMouseInside() {
    const Point mouse = GetMousePos();
    const Point a = GetAbsolutePos();
    const int px = mouse.x - a.x;
    const int py = mouse.y - a.y;
    return 0 <= px && px < _width && 0 <= py && py < _height;
}

void RectangleFrameControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    if (IsMouseInside()) {
        FixedChildrenListControl::OnMouseDown(event);
    } else {
        event->PushCaptured();
        FixedChildrenListControl::OnMouseDown(event);
        event->PopCaptured();
    }
}

void RectangleFrameControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    FixedChildrenListControl::OnMouseUp(event);
}

void RectangleFrameControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    SetMousePos(event->GetMousePos());
    if (IsMouseInside()) {
        FixedChildrenListControl::OnMouseMove(event);
    } else {
        event->PushHandled();
        FixedChildrenListControl::OnMouseMove(event);
        event->PopHandled();
    }
}

void RectangleFrameControl::Draw() {
    RenderDevice& device = Render::device;
    const Point a = GetAbsolutePos();
    device.PushClipRect(Rect(a.x, a.y, _width < 0 ? 0 : _width, _height < 0 ? 0 : _height), CLIP_ALL);
    FixedChildrenListControl::Draw();
    device.PopClipRect();
}

// ---------------------------------------------------------------------------------------------
// TextureFrameControl

TextureFrameControl::TextureFrameControl(const ObjectWeakPointer<Control>& parent,
                                         const ObjectWeakPointer<XmlElement>& xml)
    : SingleTextureControl(parent, xml) {}

TextureFrameControl::~TextureFrameControl() = default;

bool TextureFrameControl::IsMouseInWindow() {
    if (_texture == NULL) {
        return false;
    }
    const Point mouse = GetMousePos();
    const Point a = GetAbsolutePos();
    return _texture->IsPointTransparent(Point(mouse.x - a.x, mouse.y - a.y));
}

void TextureFrameControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    if (!event->IsMouseCaptured()) {
        Assert(!_isMouseCapturedByThis);
        if (IsMouseInTexture()) {
            event->CaptureMouse();
            _isMouseCapturedByThis = true;
        }
    }
    if (IsMouseInWindow()) {
        FixedChildrenListControl::OnMouseDown(event);
    } else {
        event->PushCaptured();
        FixedChildrenListControl::OnMouseDown(event);
        event->PopCaptured();
    }
}

void TextureFrameControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    ReleaseOwnCapture(event, _isMouseCapturedByThis);
    FixedChildrenListControl::OnMouseUp(event);
}

void TextureFrameControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    SetMousePos(event->GetMousePos());
    if (event->IsMouseCaptured() && _isMouseCapturedByThis) {
        event->ConfirmCapture();
    } else {
        if (!event->IsMouseCaptured()) {
            Assert(!_isMouseCapturedByThis);
        }
        if (!event->IsMouseHandled() && IsMouseInTexture()) {
            event->SetMouseHandled();
        }
    }
    if (IsMouseInWindow()) {
        FixedChildrenListControl::OnMouseMove(event);
    } else {
        event->PushHandled();
        FixedChildrenListControl::OnMouseMove(event);
        event->PopHandled();
    }
}

void TextureFrameControl::Draw() {
    const Rect picture = GetTextureRectangle();
    // Without a picture there is no window to look through.
    if (picture.width <= 0 || picture.height <= 0) {
        return;
    }
    RenderDevice& device = Render::device;
    const Point a = GetAbsolutePos();
    device.PushClipRect(Rect(a.x, a.y, picture.width, picture.height), CLIP_ALL);
    FixedChildrenListControl::Draw();
    DrawTexture();
    device.PopClipRect();
}

// ---------------------------------------------------------------------------------------------
// ColorRectangleControl

ColorRectangleControl::ColorRectangleControl(const ObjectWeakPointer<Control>& parent,
                                             const ObjectWeakPointer<XmlElement>& xml)
    : FixedChildrenListControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> rectangle = GetNeededChild(xml, "rectangle");
    if (rectangle != NULL) {
        _rect.width = rectangle->GetIntAttribute("width");
        _rect.height = rectangle->GetIntAttribute("height");
    }
    Assert(_rect.width > 0);
    Assert(_rect.height > 0);
    const ObjectWeakPointer<XmlElement> color = GetNeededChild(xml, "color");
    if (color != NULL) {
        _color = color->GetColorAttribute("value");
    }
}

ColorRectangleControl::~ColorRectangleControl() = default;

bool ColorRectangleControl::IsMouseInside() {
    const Point mouse = GetMousePos();
    const Point a = GetAbsolutePos();
    return _rect.Contains(mouse.x - a.x, mouse.y - a.y);
}

void ColorRectangleControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    FixedChildrenListControl::OnMouseDown(event);
    Assert(!_isMouseCapturedByThis);
    if (!event->IsMouseCaptured() && IsMouseInside()) {
        event->CaptureMouse();
        _isMouseCapturedByThis = true;
    }
}

void ColorRectangleControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    FixedChildrenListControl::OnMouseUp(event);
    ReleaseOwnCapture(event, _isMouseCapturedByThis);
}

void ColorRectangleControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    SetMousePos(event->GetMousePos());
    FixedChildrenListControl::OnMouseMove(event);
    if (event->IsMouseCaptured() && _isMouseCapturedByThis) {
        event->ConfirmCapture();
    } else if (!event->IsMouseHandled() && IsMouseInside()) {
        event->SetMouseHandled();
    }
}

void ColorRectangleControl::Draw() {
    RenderDevice& device = Render::device;
    const Point a = GetAbsolutePos();
    device.EnableTexture(false);
    device.PushColor(_color);
    device.DrawRect(a.x, a.y, _rect.width, _rect.height);
    device.PopColor();
    device.EnableTexture(true);
    FixedChildrenListControl::Draw();
}
