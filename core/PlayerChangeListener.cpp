#include "core/PlayerChangeListener.h"

#include <functional>
#include <vector>

#include "core/Assert.h"

namespace {

struct AddressOrder {
    using is_transparent = void;
    static const void* Address(const ObjectWeakPointer<PlayerChangeListener>& p) { return p.AsObjectAddress(); }
    static const void* Address(const void* p) { return p; }
    template <class A, class B>
    bool operator()(const A& a, const B& b) const {
        return std::less<const void*>()(Address(a), Address(b));
    }
};

using ListenerSet = std::set<ObjectWeakPointer<PlayerChangeListener>, AddressOrder>;

ListenerSet& Listeners() {
    static ListenerSet listeners;
    return listeners;
}

// Calls the operation on a copy of the set; a listener removed meanwhile, or one that died and
// whose address was taken by a newcomer, is skipped.
void Notify(void (PlayerChangeListener::*operation)()) {
    const std::vector<ObjectWeakPointer<PlayerChangeListener>> snapshot(Listeners().begin(), Listeners().end());
    for (const ObjectWeakPointer<PlayerChangeListener>& listener : snapshot) {
        const ListenerSet::const_iterator live = Listeners().find(listener.AsObjectAddress());
        if (live == Listeners().end() || live->GetLinkInfo() != listener.GetLinkInfo()) {
            continue;
        }
        if (listener.GetLinkInfo() == nullptr || listener.GetLinkInfo()->_hardLinkCount < 0) {
            continue;
        }
        (listener.Get()->*operation)();
    }
}

}  // namespace

void PlayerChangeServer::AddListener(const ObjectWeakPointer<PlayerChangeListener>& listener) {
    ListenerSet& _listeners = Listeners();
    if (_listeners.find(listener.AsObjectAddress()) != _listeners.end()) {
        ReportFailure("Assertion failed", "_listeners.find(listener) == _listeners.end()", __FILE__, __LINE__);
        return;
    }
    _listeners.insert(listener);
}

void PlayerChangeServer::RemoveListener(const ObjectWeakPointer<PlayerChangeListener>& listener) {
    ListenerSet& _listeners = Listeners();
    const ListenerSet::iterator i = _listeners.find(listener.AsObjectAddress());
    Assert(i != _listeners.end());
    if (i != _listeners.end()) {
        _listeners.erase(i);
    }
}

void PlayerChangeServer::NotifyBeforeChange() { Notify(&PlayerChangeListener::BeforePlayerChange); }

void PlayerChangeServer::NotifyAfterChange() { Notify(&PlayerChangeListener::AfterPlayerChange); }

void PlayerChangeServer::CheckNoListeners() {
    const ListenerSet& _listeners = Listeners();
    Assert(_listeners.size() == 0);
}

std::size_t PlayerChangeServer::GetListenerCount() { return Listeners().size(); }

PlayerChangeListener::PlayerChangeListener() {
    PlayerChangeServer::AddListener(ObjectWeakPointer<PlayerChangeListener>(this));
}

PlayerChangeListener::~PlayerChangeListener() {
    Assert(_isDestructorAllowed);
    PlayerChangeServer::RemoveListener(ObjectWeakPointer<PlayerChangeListener>(this));
}

void PlayerChangeListener::AllowDestructor() {
    Assert(!_isDestructorAllowed);
    BeforePlayerChange();
    _isDestructorAllowed = true;
}
