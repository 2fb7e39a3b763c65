#include "core/DelayedMessages.h"

#include "core/MessageServer.h"

DelayedMessages::~DelayedMessages() {
    if (_walk != nullptr) _walk->destroyed = true;
}

void DelayedMessages::Add(const std::string& receiver, const std::string& message, float seconds) {
    _entries.push_back(Entry{receiver, message, seconds});
}

void DelayedMessages::Clear() {
    _entries.clear();
    if (_walk != nullptr) _walk->cleared = true;
}

void DelayedMessages::Update(float dt) {
    if (_walk != nullptr) return;
    Walk walk;
    _walk = &walk;
    auto it = _entries.begin();
    while (it != _entries.end()) {
        it->secondsLeft -= dt;
        if (it->secondsLeft > 0.0f) {
            ++it;
            continue;
        }
        // The entry stays in the list while its receiver runs, so entries the receiver appends
        // come after it; copies, because the receiver may take the list away.
        const std::string receiver = it->receiver;
        const std::string message = it->message;
        SendMessage(receiver, message);
        // The owner is gone, and this object with it.
        if (walk.destroyed) return;
        if (walk.cleared) {
            walk.cleared = false;
            it = _entries.begin();
            continue;
        }
        it = _entries.erase(it);
    }
    _walk = nullptr;
}
