#include "core/MessageReceiver.h"

#include "core/Assert.h"
#include "core/MessageServer.h"
#include "core/XmlElement.h"

MessageReceiver::MessageReceiver(std::string receiverName) : _receiverName(std::move(receiverName)) {
    Register();
}

namespace {

std::string ReadReceiverName(const ObjectWeakPointer<XmlElement>& element) {
    const ObjectWeakPointer<XmlElement> receiver = element->GetFirstChildElement("messageReceiver");
    Assert(receiver != NULL);
    if (receiver == NULL) {
        return "null";  // stays unregistered
    }
    return receiver->GetStringAttribute("name");
}

}  // namespace

MessageReceiver::MessageReceiver(const ObjectWeakPointer<XmlElement>& element)
    : _receiverName(ReadReceiverName(element)) {
    Register();
}

void MessageReceiver::Register() {
    Assert(_receiverName != "");
    if (_receiverName != "null") {
        MessageServer::AddReceiver(_receiverName, ObjectWeakPointer<MessageReceiver>(this));
    }
}

MessageReceiver::~MessageReceiver() {
    if (_receiverName != "null") {
        MessageServer::RemoveReceiver(_receiverName, ObjectWeakPointer<MessageReceiver>(this));
    }
}

void MessageReceiver::OnMessage(std::string message) {
    ReportError("Сообщение " + message + " не обработано получателем " + _receiverName);
}

std::string MessageReceiver::OnMessageReply(std::string message) {
    ReportError("Сообщение " + message + " не обработано получателем " + _receiverName);
    return std::string();
}
