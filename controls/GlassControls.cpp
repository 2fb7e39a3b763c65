#include "controls/GlassControls.h"

#include "controls/MouseEvents.h"
#include "controls/PictureTexture.h"
#include "core/Assert.h"
#include "core/MessageServer.h"
#include "core/XmlElement.h"

ZGlassControl::ZGlassControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : Control(parent, xml) {}

ZGlassControl::~ZGlassControl() = default;

void ZGlassControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    Assert(!_isMouseCapturedByThis);
    if (!event->IsMouseCaptured()) {
        event->CaptureMouse();
        _isMouseCapturedByThis = true;
    }
}

void ZGlassControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    ReleaseOwnCapture(event, _isMouseCapturedByThis);
}

void ZGlassControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    if (event->IsMouseCaptured()) {
        if (_isMouseCapturedByThis) {
            event->ConfirmCapture();
        } else if (!event->IsMouseHandled()) {
            BlockMouseMove(event);
        }
    } else {
        Assert(!_isMouseCapturedByThis);
        if (!event->IsMouseHandled()) {
            BlockMouseMove(event);
        }
    }
    if (event.InstanceOf<KeyDownEvent>()) {
        const ObjectWeakPointer<KeyDownEvent> key = event.Cast<KeyDownEvent>();
        if (key != NULL && !key->IsKeyHandled()) key->SetKeyHandled();
    } else if (event.InstanceOf<CharEvent>()) {
        const ObjectWeakPointer<CharEvent> character = event.Cast<CharEvent>();
        if (character != NULL && !character->IsCharHandled()) character->SetCharHandled();
    }
}

void ZGlassControl::BlockMouseMove(ObjectWeakPointer<MouseMoveEvent> event) { event->SetMouseHandled(); }

void ZGlassControl::Draw() {}

void ZGlassControl::Update(float) {}

MaskZGlassControl::MaskZGlassControl(const ObjectWeakPointer<Control>& parent,
                                     const ObjectWeakPointer<XmlElement>& xml)
    : ZGlassControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> texture = GetNeededChild(xml, "texture");
    if (texture != NULL) {
        _mask = GetPictureTexture(texture->GetStringAttribute("textureId"));
    }
}

MaskZGlassControl::~MaskZGlassControl() = default;

bool MaskZGlassControl::IsMouseInHole() {
    if (_mask == NULL) {
        return false;
    }
    const Point mouse = GetMousePos();
    const Point absolute = GetAbsolutePos();
    return _mask->IsPointTransparent(Point(mouse.x - absolute.x, mouse.y - absolute.y));
}

void MaskZGlassControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    SetMousePos(event->GetMousePos());
    ZGlassControl::OnMouseMove(event);
}

void MaskZGlassControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    if (IsMouseInHole()) {
        return;
    }
    ZGlassControl::OnMouseDown(event);
}

void MaskZGlassControl::BlockMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    if (!IsMouseInHole()) {
        event->SetMouseHandled();
    }
}

MessageZGlassControl::MessageZGlassControl(const ObjectWeakPointer<Control>& parent,
                                           const ObjectWeakPointer<XmlElement>& xml)
    : ZGlassControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> message = GetNeededChild(xml, "message");
    if (message != NULL) {
        _message = message->GetStringAttribute("value");
        _receiver = message->GetStringAttribute("receiver");
    }
}

MessageZGlassControl::~MessageZGlassControl() = default;

void MessageZGlassControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    if (!event->IsMouseCaptured()) {
        SendMessage(_receiver, _message);
    }
    ZGlassControl::OnMouseDown(event);
}

void MessageZGlassControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    if (event.InstanceOf<KeyDownEvent>()) {
        const ObjectWeakPointer<KeyDownEvent> key = event.Cast<KeyDownEvent>();
        if (key != NULL && !key->IsKeyHandled()) SendMessage(_receiver, _message);
    }
    ZGlassControl::OnMouseMove(event);
}
