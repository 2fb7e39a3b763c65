#include "controls/ReminderControl.h"

#include "controls/MouseEvents.h"
#include "core/Assert.h"
#include "core/Float.h"
#include "core/MessageServer.h"
#include "core/String.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"
#include "shell/SoundSystem.h"

namespace {

// Digits, a point, digits, with an optional minus: the form the parser accepts without a report.
bool IsDecimal(const std::string& text) {
    std::size_t i = text.size() > 0 && text[0] == '-' ? 1 : 0;
    const std::size_t digitsBefore = i;
    while (i < text.size() && '0' <= text[i] && text[i] <= '9') ++i;
    if (i == digitsBefore || i >= text.size() || text[i] != '.') return false;
    const std::size_t digitsAfter = ++i;
    while (i < text.size() && '0' <= text[i] && text[i] <= '9') ++i;
    return i > digitsAfter && i == text.size();
}

}  // namespace

ReminderControl::ReminderControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml), MessageReceiver(xml) {}

void ReminderControl::OnMessage(std::string message) {
    if (String::IsHeadCut(message, "set delay ")) {
        Assert(_timeToSend == 0);
        if (_timeToSend != 0) {
            return;
        }
        const float delay = Float::Parse(message);
        if (message.find("/0x") == std::string::npos && !IsDecimal(message)) {
            return;  // reported by the parser
        }
        Assert(delay > 0);
        if (delay > 0) {
            _timeToSend = delay;
        }
    } else if (String::IsHeadCut(message, "set message ")) {
        Assert(_timeToSend > 0);
        Assert(_message.empty());
        Assert(!message.empty());
        if (_timeToSend > 0 && _message.empty()) {
            _message = message;
        }
    } else if (String::IsHeadCut(message, "report to ")) {
        Assert(_timeToSend > 0);
        Assert(!_message.empty());
        Assert(_receiver.empty());
        Assert(!message.empty());
        if (_timeToSend > 0 && !_message.empty() && _receiver.empty()) {
            _receiver = message;
        }
    } else {
        MessageReceiver::OnMessage(message);
    }
}

void ReminderControl::Update(float dt) {
    if (_timeToSend == 0) {
        return;
    }
    Assert(dt > 0);
    Assert(_timeToSend > 0);
    _timeToSend -= dt;
    if (_timeToSend > 0) {
        return;
    }
    _timeToSend = 0;
    Assert(!_receiver.empty());
    Assert(!_message.empty());
    const std::string receiver = _receiver;
    const std::string message = _message;
    _receiver.clear();
    _message.clear();
    // Expired before it was armed: nothing goes out.
    if (receiver.empty() || message.empty()) {
        return;
    }
    SendMessage(receiver, message);
}

// ---------------------------------------------------------------------------------------------

DragSensorControl::DragSensorControl(const ObjectWeakPointer<Control>& parent,
                                     const ObjectWeakPointer<XmlElement>& xml)
    : Control(parent, xml), MessageReceiver(xml) {}

void DragSensorControl::OnMessage(std::string message) {
    if (String::IsHeadCut(message, "on ")) {
        Assert(_receiverName.empty());
        const std::size_t slashPos = message.find('/');
        Assert(slashPos != std::string::npos);
        if (!_receiverName.empty() || slashPos == std::string::npos) {
            return;
        }
        const std::string receiver = message.substr(0, slashPos);
        const std::string text = message.substr(slashPos + 1);
        Assert(!receiver.empty());
        Assert(!text.empty());
        if (receiver.empty() || text.empty()) {
            return;
        }
        _receiverName = receiver;
        _message = text;
    } else if (String::IsHeadCut(message, "off ")) {
        Assert(!_receiverName.empty());
        Assert(message == _receiverName);
        if (!_receiverName.empty() && message == _receiverName) {
            _receiverName.clear();
        }
    } else {
        MessageReceiver::OnMessage(message);
    }
}

void DragSensorControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    if (!event->IsMouseCaptured() || event->IsMouseHandled() || _receiverName.empty()) {
        return;
    }
    const std::string receiver = _receiverName;
    _receiverName.clear();
    SendMessage(receiver, _message);
}

// ---------------------------------------------------------------------------------------------

EffectShowingControl::EffectShowingControl(const ObjectWeakPointer<Control>& parent,
                                           const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml), MessageReceiver(xml) {
    const ObjectWeakPointer<XmlElement> effect = xml->GetFirstChildElement("effect");
    Assert(effect != NULL);
    if (effect != NULL) {
        _effectName = effect->GetStringAttribute("name");
    }
    _soundId = xml->GetStringAttributeOrDef("soundId", "none");
    _effects.StartEffect(_effectName);
    _effects.PauseAll();
}

void EffectShowingControl::PlaySound() {
    if (_soundId != "none") {
        Sound::soundSystem.PlaySampleEx(_soundId, Sound::DEFAULT_PAN, false);
    }
}

void EffectShowingControl::OnMessage(std::string message) {
    if (message == "start") {
        Assert(!_isStarted);
        if (_isStarted) {
            return;
        }
        _isStarted = true;
        _effects.ResumeAll();
        PlaySound();
    } else if (message == "restart") {
        _effects.FinishAll();
        _effects.StartEffect(_effectName);
        _isStarted = true;
        PlaySound();
    } else {
        MessageReceiver::OnMessage(message);
    }
}

void EffectShowingControl::Draw() {
    const Point p = GetAbsolutePos();
    Render::device.PushMatrix();
    Render::device.MatrixTranslate(static_cast<float>(p.x), static_cast<float>(p.y), 0.0f);
    _effects.DrawAll();
    Render::device.PopMatrix();
}
