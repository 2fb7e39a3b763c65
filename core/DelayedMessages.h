#pragma once
// Text messages waiting to be sent after a delay; the owner embeds the list and advances it every
// frame. Receivers may add entries, empty the list or destroy its owner while it is being walked.

#include <list>
#include <string>

class DelayedMessages {
public:
    DelayedMessages() = default;
    ~DelayedMessages();
    DelayedMessages(const DelayedMessages&) = delete;
    DelayedMessages& operator=(const DelayedMessages&) = delete;

    // Appends the entry; any receiver, any number of times.
    void Add(const std::string& receiver, const std::string& message, float seconds);
    // Counts every entry down by dt, first to last, and sends the due ones in that order. Entries
    // added by a receiver during the walk are reached in the same call and counted down by dt too.
    // A call made from inside a receiver does nothing.
    void Update(float dt);
    // Forgets every waiting entry; inside a walk, the walk goes on with what is added afterwards.
    void Clear();

    bool IsEmpty() const { return _entries.empty(); }
    std::size_t GetCount() const { return _entries.size(); }

private:
    struct Entry {
        std::string receiver;
        std::string message;
        float secondsLeft = 0.0f;
    };
    // What a receiver did to the list while Update waited for it.
    struct Walk {
        bool cleared = false;
        bool destroyed = false;
    };

    std::list<Entry> _entries;
    Walk* _walk = nullptr;
};
