#pragma once
// Small message-driven controls: a reminder that sends one message after a delay, a sensor that
// reports the first unhandled drag over its place in the tree, and a particle effect that waits
// paused until "start".

#include <string>

#include "content/EffectObserver.h"
#include "controls/Control.h"
#include "core/MessageReceiver.h"

// Armed by "set delay " + seconds, "set message " + text and "report to " + receiver, in order.
class ReminderControl : public MouseTransparentControl, public MessageReceiver {
public:
    ReminderControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    void Draw() override {}
    void Update(float dt) override;
    void OnMessage(std::string message) override;

    float GetTimeToSend() const { return _timeToSend; }

private:
    float _timeToSend = 0.0f;
    std::string _receiver;
    std::string _message;
};

// "on " + receiver + "/" + message arms it; "off " + receiver disarms it.
class DragSensorControl : public Control, public MessageReceiver {
public:
    DragSensorControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent>) override {}
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent>) override {}
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override {}
    void Update(float) override {}
    void OnMessage(std::string message) override;

private:
    std::string _receiverName;
    std::string _message;
};

// "start" lets the paused effect run; "restart" starts it anew.
class EffectShowingControl : public MouseTransparentControl, public MessageReceiver {
public:
    EffectShowingControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    void Draw() override;
    void Update(float) override {}
    void OnMessage(std::string message) override;

    bool IsStarted() const { return _isStarted; }
    std::size_t GetEffectCount() const { return _effects.GetEffectCount(); }

private:
    void PlaySound();

    EffectOwner _effects;
    bool _isStarted = false;
    std::string _effectName;
    std::string _soundId;
};
