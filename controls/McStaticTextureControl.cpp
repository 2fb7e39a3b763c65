#include "controls/McStaticTextureControl.h"

#include "controls/MouseEvents.h"
#include "controls/PictureTexture.h"
#include "core/MessageServer.h"
#include "core/XmlElement.h"
#include "shell/SoundSystem.h"

McStaticTextureControl::McStaticTextureControl(const ObjectWeakPointer<Control>& parent,
                                               const ObjectWeakPointer<XmlElement>& xml)
    : SingleTextureControl(parent, xml), MessageReceiver(xml) {
    const ObjectWeakPointer<XmlElement> message = GetNeededChild(xml, "message");
    if (message != NULL) {
        _message = message->GetStringAttribute("value");
        _receiver = message->GetStringAttribute("receiver");
    }
    if (xml != NULL) {
        Assert(xml->GetFirstChildElement("children") == NULL);
    }
}

McStaticTextureControl::~McStaticTextureControl() = default;

void McStaticTextureControl::OnMessage(std::string message) {
    if (message == "show") {
        Assert(!_doShow);
        _doShow = true;
    } else if (message == "hide") {
        Assert(_doShow);
        _doShow = false;
    } else {
        MessageReceiver::OnMessage(message);
    }
}

void McStaticTextureControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    SetMousePos(event->GetMousePos());
    if (!_doShow || event->IsMouseHandled() || !IsMouseInTexture()) {
        return;
    }
    event->SetMouseHandled();
    if (!event->IsMouseCaptured()) {
        event->SetActiveCursor();
    }
}

void McStaticTextureControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    if (!_doShow || event->IsMouseCaptured() || !IsMouseInTexture()) {
        return;
    }
    // Never confirmed: the container drops it at the next move; it only keeps the press from
    // the controls behind.
    event->CaptureMouse();
    SendMessage(_receiver, _message);
    Sound::soundSystem.PlaySample("beauty_take");
}

void McStaticTextureControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent>) {}

void McStaticTextureControl::Draw() {
    if (_doShow) {
        DrawTexture();
    }
}

void McStaticTextureControl::Update(float) {}
