#include "controls/MouseHandledSensorControl.h"

#include "controls/MouseEvents.h"
#include "controls/PictureTexture.h"
#include "core/MessageServer.h"
#include "core/XmlElement.h"

MouseHandledSensorControl::MouseHandledSensorControl(const ObjectWeakPointer<Control>& parent,
                                                     const ObjectWeakPointer<XmlElement>& xml)
    : FixedChildrenListControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> message = GetNeededChild(xml, "message");
    if (message != NULL) {
        _receiver = message->GetStringAttribute("receiver");
        _activeMessage = message->GetStringAttribute("active");
        _normalMessage = message->GetStringAttribute("normal");
    }
}

MouseHandledSensorControl::~MouseHandledSensorControl() {
    if (_isChildActive) {
        _isChildActive = false;
        SendMessage(_receiver, _normalMessage);
    }
}

void MouseHandledSensorControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    const bool wasConfirmed = event->IsCaptureConfirmed();
    const bool wasHandled = event->IsMouseHandled();
    FixedChildrenListControl::OnMouseMove(event);
    const bool newChildActive = !wasHandled && event->IsMouseHandled() &&
                                (!event->IsMouseCaptured() || (!wasConfirmed && event->IsCaptureConfirmed()));
    if (newChildActive && !_isChildActive) {
        SendMessage(_receiver, _activeMessage);
        _isChildActive = true;
    } else if (!newChildActive && _isChildActive) {
        SendMessage(_receiver, _normalMessage);
        _isChildActive = false;
    }
    Assert(_isChildActive == newChildActive);
}
