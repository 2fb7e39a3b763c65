#pragma once
// A group that tells a receiver when the pointer starts and stops resting on one of its children.

#include <string>

#include "controls/FixedChildrenListControl.h"

class MouseHandledSensorControl : public FixedChildrenListControl {
public:
    // Reads the child "message" with "receiver", "active" and "normal".
    MouseHandledSensorControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    // Sends the normal message first while a child is active.
    ~MouseHandledSensorControl() override;

    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;

    bool IsChildActive() const { return _isChildActive; }

private:
    std::string _receiver;
    std::string _activeMessage;
    std::string _normalMessage;
    bool _isChildActive = false;
};
