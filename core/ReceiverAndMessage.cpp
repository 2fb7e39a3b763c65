#include "core/ReceiverAndMessage.h"

#include "core/MessageServer.h"
#include "core/XmlElement.h"

ReceiverAndMessage::ReceiverAndMessage(const ObjectWeakPointer<XmlElement>& element)
    : _receiver(element->GetStringAttribute("receiver")), _message(element->GetStringAttribute("message")) {}

void ReceiverAndMessage::Send() { SendMessage(_receiver, _message); }
