#include "core/MessageReceiver.h"

#include "core/Assert.h"
#include "core/MessageServer.h"
#include "core/XmlElement.h"

MessageReceiver::MessageReceiver(std::string receiverName) : _receiverName(std::move(receiverName)) {
    Register();
}

namespace {

// "Сообщение " and " не обработано получателем ", single-byte text in the Windows-1251 code page.
const char* const MESSAGE = "\xd1\xee\xee\xe1\xf9\xe5\xed\xe8\xe5 ";
const char* const NOT_HANDLED_BY = " \xed\xe5 \xee\xe1\xf0\xe0\xe1\xee\xf2\xe0\xed\xee \xef\xee\xeb\xf3\xf7\xe0\xf2\xe5\xeb\xe5\xec ";

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
    ReportError(MESSAGE + message + NOT_HANDLED_BY + _receiverName);
}

std::string MessageReceiver::OnMessageReply(std::string message) {
    ReportError(MESSAGE + message + NOT_HANDLED_BY + _receiverName);
    return std::string();
}
