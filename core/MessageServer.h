#pragma once
// Delivery of text messages to receivers by name, with the queue of posted messages.
// "null" swallows a message, "post:" delays it until ProcessPostedMessages, "lua:" calls a script.

#include <functional>
#include <string>

#include "core/ObjectSmartPointer.h"

class MessageReceiver;

class MessageServer {
public:
    // The script host's call of a global function with one text argument.
    using ScriptCall = std::function<void(const std::string& functionName, const std::string& text)>;

    static ObjectWeakPointer<MessageReceiver> GetReceiver(std::string receiverName);
    static void AddReceiver(std::string receiverName, ObjectWeakPointer<MessageReceiver> newReceiver);
    static void RemoveReceiver(std::string receiverName, ObjectWeakPointer<MessageReceiver> receiver);
    static void CheckNoReceivers();

    // Installed by the script host; an empty function leaves "lua:" messages undelivered.
    static void SetScriptCall(ScriptCall call);
};

void SendMessage(std::string receiverName, std::string message);
std::string SendMessageReply(std::string receiverName, std::string message);
bool IsReceiver(std::string receiverName);
void ProcessPostedMessages();
