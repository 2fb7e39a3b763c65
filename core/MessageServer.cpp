#include "core/MessageServer.h"

#include <deque>
#include <map>

#include "core/Assert.h"
#include "core/MessageReceiver.h"

namespace {

const std::string POST_PREFIX = "post:";
const std::string LUA_PREFIX = "lua:";

using ReceiverMap = std::map<std::string, ObjectWeakPointer<MessageReceiver>>;

ReceiverMap& Receivers() {
    static ReceiverMap receivers;
    return receivers;
}

std::deque<std::string>& PostedQueue() {
    static std::deque<std::string> queue;
    return queue;
}

CriticalSection& Lock() {
    static CriticalSection lock;
    return lock;
}

MessageServer::ScriptCall& ScriptCallSlot() {
    static MessageServer::ScriptCall call;
    return call;
}

bool HasPrefix(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Under the lock: a weak copy of the receiver of that name, or an empty pointer after the Error.
ObjectWeakPointer<MessageReceiver> FindReceiver(const std::string& receiverName) {
    CriticalSectionHolder holder(Lock());
    ReceiverMap& _receivers = Receivers();
    const ReceiverMap::const_iterator f = _receivers.find(receiverName);
    if (f == _receivers.end()) {
        ReportError("Message receiver '" + receiverName + "' not found");
        return ObjectWeakPointer<MessageReceiver>();
    }
    Assert(f->second != NULL);
    return f->second;
}

}  // namespace

ObjectWeakPointer<MessageReceiver> MessageServer::GetReceiver(std::string receiverName) {
    return FindReceiver(receiverName);
}

void MessageServer::AddReceiver(std::string receiverName, ObjectWeakPointer<MessageReceiver> newReceiver) {
    CriticalSectionHolder holder(Lock());
    Assert(receiverName != "");
    Assert(receiverName != "null");
    Assert(newReceiver != NULL);
    ReceiverMap& _receivers = Receivers();
    if (_receivers.find(receiverName) != _receivers.end()) {
        ReportError("Message receiver '" + receiverName + "' already registered");
    }
    _receivers[receiverName] = newReceiver;
}

void MessageServer::RemoveReceiver(std::string receiverName, ObjectWeakPointer<MessageReceiver> receiver) {
    CriticalSectionHolder holder(Lock());
    ReceiverMap& _receivers = Receivers();
    const ReceiverMap::iterator i = _receivers.find(receiverName);
    Assert(i != _receivers.end());
    if (i == _receivers.end()) {
        return;
    }
    Assert(i->first == receiverName);
    const bool ownsEntry = i->second.AsObjectAddress() == receiver.AsObjectAddress();
    if (!ownsEntry) {
        ReportFailure("Assertion failed", "i->second == receiver", __FILE__, __LINE__);
    }
    // A later receiver that took over the name keeps its entry.
    if (ownsEntry) {
        _receivers.erase(i);
    }
}

void MessageServer::CheckNoReceivers() {
    CriticalSectionHolder holder(Lock());
    const ReceiverMap& _receivers = Receivers();
    Assert(_receivers.empty());
}

void MessageServer::SetScriptCall(ScriptCall call) { ScriptCallSlot() = std::move(call); }

void SendMessage(std::string receiverName, std::string message) {
    if (receiverName == "null") {
        Assert(message == "null");
        return;
    }
    if (HasPrefix(receiverName, POST_PREFIX)) {
        CriticalSectionHolder holder(Lock());
        PostedQueue().push_back(receiverName.substr(POST_PREFIX.size()));
        PostedQueue().push_back(message);
        return;
    }
    if (HasPrefix(receiverName, LUA_PREFIX)) {
        const std::string functionName = receiverName.substr(LUA_PREFIX.size());
        Assert(functionName != "");
        const MessageServer::ScriptCall call = ScriptCallSlot();
        if (!call) {
            ReportError("Script function '" + functionName + "' called with no script host");
            return;
        }
        call(functionName, message);
        return;
    }
    const ObjectWeakPointer<MessageReceiver> receiver = FindReceiver(receiverName);
    if (receiver == NULL) {
        return;
    }
    receiver->OnMessage(message);
}

std::string SendMessageReply(std::string receiverName, std::string message) {
    const ObjectWeakPointer<MessageReceiver> receiver = FindReceiver(receiverName);
    if (receiver == NULL) {
        return std::string();
    }
    return receiver->OnMessageReply(message);
}

bool IsReceiver(std::string receiverName) {
    return Receivers().find(receiverName) != Receivers().end();
}

void ProcessPostedMessages() {
    for (;;) {
        std::string receiverName;
        std::string message;
        {
            CriticalSectionHolder holder(Lock());
            std::deque<std::string>& queue = PostedQueue();
            if (queue.empty()) {
                return;
            }
            const std::size_t size = queue.size();
            Assert(size >= 2);
            receiverName = queue.front();
            queue.pop_front();
            if (queue.empty()) {
                continue;
            }
            message = queue.front();
            queue.pop_front();
        }
        SendMessage(receiverName, message);
    }
}
