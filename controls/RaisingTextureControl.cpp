#include "controls/RaisingTextureControl.h"

#include "controls/MouseEvents.h"
#include "controls/PictureTexture.h"
#include "core/Assert.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"
#include "shell/SoundSystem.h"

RaisingTextureControl::RaisingTextureControl(const ObjectWeakPointer<Control>& parent,
                                             const ObjectWeakPointer<XmlElement>& xml)
    : SingleTextureControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> shift = GetNeededChild(xml, "shift");
    if (shift != NULL) {
        _maxShift = shift->GetIntAttribute("value");
    }
    Assert(_maxShift > 0);
    const ObjectWeakPointer<XmlElement> shadow = GetNeededChild(xml, "shadow");
    if (shadow != NULL) {
        _shadowAlpha = shadow->GetFloatAttribute("alpha");
    }
    Assert(0.0f <= _shadowAlpha && _shadowAlpha <= 1.0f);
}

RaisingTextureControl::~RaisingTextureControl() = default;

// Left and up by shift (y grows upwards).
void RaisingTextureControl::MoveBy(int shift) {
    _position.x -= shift;
    _position.y += shift;
}

void RaisingTextureControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    SetMousePos(event->GetMousePos());
    const bool wasConfirmed = event->IsCaptureConfirmed();
    const bool wasHandled = event->IsMouseHandled();
    FixedChildrenListControl::OnMouseMove(event);

    // Hit tests at the resting place, so the lift does not change what counts as hovered.
    MoveBy(-_shift);
    const int oldShift = _shift;
    _shift = 0;
    bool lift = false;
    if (event->IsMouseCaptured()) {
        const bool isOver = IsMouseInTexture();
        if (_isMouseCapturedByThis) {
            event->ConfirmCapture();
        } else if (!event->IsMouseHandled() && isOver) {
            event->SetMouseHandled();
        }
        lift = !wasConfirmed && event->IsCaptureConfirmed() && isOver;
    } else {
        Assert(!_isMouseCapturedByThis);
        if (!event->IsMouseHandled()) {
            if (IsMouseInTexture()) {
                event->SetMouseHandled();
                lift = true;
            }
        } else if (!wasHandled) {
            // A child took the pointer: the picture under it still rises.
            lift = IsMouseInTexture();
        }
    }
    if (lift) {
        _shift = _maxShift;
    }
    if (oldShift == 0 && _shift == _maxShift && _shift != 0) {
        Sound::soundSystem.PlaySample("button_up_moving");
    }
    MoveBy(_shift);
}

void RaisingTextureControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    FixedChildrenListControl::OnMouseDown(event);
    if (!event->IsMouseCaptured()) {
        Assert(!_isMouseCapturedByThis);
        if (IsMouseInTexture()) {
            event->CaptureMouse();
            _isMouseCapturedByThis = true;
        }
    }
}

void RaisingTextureControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    FixedChildrenListControl::OnMouseUp(event);
    ReleaseOwnCapture(event, _isMouseCapturedByThis);
}

void RaisingTextureControl::Draw() {
    RenderDevice& device = Render::device;
    if (_texture != NULL) {
        const Point a = GetAbsolutePos();
        device.PushColor(Color(0, 0, 0, 255));
        device.PushAlpha(_shadowAlpha);
        _texture->DrawSilhouette(Point(a.x + 2 * _shift, a.y - 2 * _shift));
        device.PopAlpha();
        device.PopColor();
    }
    DrawTexture();
    FixedChildrenListControl::Draw();
}
