#include "controls/McMovableTextureControl.h"

#include "controls/MouseEvents.h"
#include "controls/PictureTexture.h"
#include "core/MessageServer.h"
#include "core/String.h"

McMovableTextureControl::McMovableTextureControl(const ObjectWeakPointer<Control>& parent,
                                                 const ObjectWeakPointer<XmlElement>& xml)
    : Control(parent, xml), MessageReceiver(xml) {}

McMovableTextureControl::~McMovableTextureControl() = default;

void McMovableTextureControl::OnMessage(std::string message) {
    if (String::IsHeadCut(message, "show ")) {
        Assert(message != "");
        _texture = GetPictureTexture(message);
        _showMousePos = GetMousePos();
        _hasMoved = false;
        _replyTo = "";
    } else if (String::IsHeadCut(message, "reply to ")) {
        Assert(_texture != NULL);
        Assert(_replyTo.empty());
        _replyTo = message;
        Assert(!_replyTo.empty());
    } else if (message == "hide") {
        Assert(_texture != NULL);
        _texture = UsingPointer<Texture>();
        _replyTo = "";
    } else {
        MessageReceiver::OnMessage(message);
    }
}

void McMovableTextureControl::Drop() {
    const std::string receiver = _replyTo;
    _texture = UsingPointer<Texture>();
    _replyTo = "";
    // Nobody to tell: reported, and the picture is hidden all the same.
    Assert(!receiver.empty());
    if (!receiver.empty()) {
        SendMessage(receiver, "mouse up");
    }
}

void McMovableTextureControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    if (_texture == NULL) {
        return;
    }
    Assert(event->IsMouseCaptured());
}

void McMovableTextureControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    SetMousePos(event->GetMousePos());
    if (_texture == NULL) {
        return;
    }
    if (event->IsMouseCaptured() && !event->IsCaptureConfirmed()) {
        event->ConfirmCapture();
    }
    event->SetPressedCursor();
    if (!_hasMoved) {
        const Point mouse = GetMousePos();
        const FPoint shown(_showMousePos.x, _showMousePos.y);
        if (shown.GetDistance(FPoint(mouse.x, mouse.y)) > MOVE_THRESHOLD) {
            _hasMoved = true;
        }
    }
    if (event.InstanceOf<RightButtonDownEvent>() && event != NULL) {
        Drop();
    }
}

void McMovableTextureControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    if (_texture == NULL) {
        return;
    }
    Assert(event->IsMouseCaptured());
    if (_hasMoved) {
        if (event->IsMouseCaptured()) {
            event->ReleaseCapture();
        }
        Drop();
    }
}

void McMovableTextureControl::Draw() {
    if (_texture == NULL) {
        return;
    }
    const Rect rect = _texture->GetRectangle();
    const Point mouse = GetMousePos();
    _texture->Draw(Point(mouse.x + rect.width / -2, mouse.y + rect.height / -2));
}

void McMovableTextureControl::Update(float) {}
