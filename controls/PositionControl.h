#pragma once
// A named anchor that answers "get screen pos" with its absolute position as "x,y".

#include <string>

#include "controls/Control.h"
#include "core/MessageReceiver.h"

class PositionControl : public MouseTransparentControl, public MessageReceiver {
public:
    PositionControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~PositionControl() override;

    void Draw() override {}
    void Update(float) override {}

    std::string OnMessageReply(std::string message) override;
};
