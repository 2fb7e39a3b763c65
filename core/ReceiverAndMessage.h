#pragma once
// A receiver name and a message from the attributes "receiver" and "message" of a content element.

#include <string>

#include "core/ObjectSmartPointer.h"

class XmlElement;

class ReceiverAndMessage : public Interface {
public:
    explicit ReceiverAndMessage(const ObjectWeakPointer<XmlElement>& element);

    void Send();

    std::string GetReceiver() const { return _receiver; }
    std::string GetMessage() const { return _message; }

private:
    std::string _receiver;
    std::string _message;
};
