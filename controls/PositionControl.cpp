#include "controls/PositionControl.h"

PositionControl::PositionControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml), MessageReceiver(xml) {}

PositionControl::~PositionControl() = default;

std::string PositionControl::OnMessageReply(std::string message) {
    if (message == "get screen pos") {
        const Point p = GetAbsolutePos();
        return std::to_string(p.x) + "," + std::to_string(p.y);
    }
    return MessageReceiver::OnMessageReply(message);
}
