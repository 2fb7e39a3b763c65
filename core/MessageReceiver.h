#pragma once
// An object that takes text messages and answers text questions under a registered name.

#include <string>

#include "core/ObjectSmartPointer.h"

class XmlElement;

class MessageReceiver : public virtual Interface {
public:
    // The name is the attribute "name" of the element's child "messageReceiver"; "null" stays unregistered.
    explicit MessageReceiver(const ObjectWeakPointer<XmlElement>& element);
    ~MessageReceiver() override;

    virtual void OnMessage(std::string message);
    virtual std::string OnMessageReply(std::string message);

    std::string GetReceiverName() const { return _receiverName; }

protected:
    // For receivers whose name does not come from a content file.
    explicit MessageReceiver(std::string receiverName);

private:
    void Register();

    std::string _receiverName;
};
