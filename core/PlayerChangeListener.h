#pragma once
// Objects with per-player state: told before the active player changes (save your state)
// and after it (read the new player's state).

#include <set>

#include "core/ObjectSmartPointer.h"

class PlayerChangeListener : public virtual Interface {
public:
    PlayerChangeListener();
    // Every derived destructor calls AllowDestructor first.
    ~PlayerChangeListener() override;

    virtual void BeforePlayerChange() = 0;
    virtual void AfterPlayerChange() = 0;

    // A last BeforePlayerChange while the derived object is still whole.
    void AllowDestructor();

private:
    bool _isDestructorAllowed = false;
};

class PlayerChangeServer {
public:
    static void AddListener(const ObjectWeakPointer<PlayerChangeListener>& listener);
    static void RemoveListener(const ObjectWeakPointer<PlayerChangeListener>& listener);
    // In address order; listeners removed while the walk runs are skipped.
    static void NotifyBeforeChange();
    static void NotifyAfterChange();
    static void CheckNoListeners();
    static std::size_t GetListenerCount();
};
