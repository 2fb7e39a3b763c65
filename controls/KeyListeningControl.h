#pragma once
// Turns key presses into text messages: for each listed key a receiver and a message, sent when a
// key-down event for it arrives that no control before has handled; the key is then handled.

#include <map>
#include <memory>
#include <string>

#include "controls/Control.h"
#include "core/ReceiverAndMessage.h"

class KeyListeningControl : public MouseTransparentControl {
public:
    KeyListeningControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override {}
    void Update(float) override {}

    // The virtual-key code of a name such as "VK_ESCAPE"; an unknown name is reported and gives 0.
    static int GetKeyCode(const std::string& image);

private:
    std::map<int, ObjectSmartPointer<ReceiverAndMessage>> _map;
};
