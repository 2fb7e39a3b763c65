#pragma once
// The controller that runs every started particle effect, and the owner list through which
// controls and game objects start, draw, pause and finish their effects.

#include <list>
#include <memory>
#include <string>
#include <vector>

#include "content/Controller.h"
#include "content/ParticleEffect.h"

class EffectOwner;

namespace Core {

// One running effect and who started it.
struct EffectEntry {
    ParticleEffect effect;
    EffectOwner* owner = nullptr;
};

class EffectObserver : public IController {
public:
    EffectObserver() : IController("EffectObserver") {}

    // Advances every effect by dt (at most 0.1 s), then deletes the finished ones.
    void Update(float dt) override;
    bool IsFinished() override { return false; }

    // Appends a running effect; the observer owns it.
    std::shared_ptr<EffectEntry> Add(const ParticleEffect& prototype, EffectOwner* owner);
    std::size_t GetEffectCount() const { return _entries.size(); }
    // Deletes every effect (program end, tests).
    void Clear();

private:
    std::list<std::shared_ptr<EffectEntry>> _entries;
    bool _updating = false;
};

// The one observer of the program; the main loop hands it to the controller manager.
EffectObserver& GetEffectObserver();

}  // namespace Core

// What StartEffect hands out: the running effect while it lasts; once the observer has deleted
// it the handle reads as gone, and stopping it does nothing.
class EffectHandle {
public:
    EffectHandle() = default;
    explicit EffectHandle(const std::shared_ptr<Core::EffectEntry>& entry) : _entry(entry) {}

    // Null once the effect is gone.
    ParticleEffect* Get() const;
    ParticleEffect* operator->() const;
    bool IsGone() const { return Get() == nullptr; }
    explicit operator bool() const { return !IsGone(); }

    // Ends it gracefully (no new particles), or at once; nothing when gone.
    void Finish();
    void Stop();

private:
    std::weak_ptr<Core::EffectEntry> _entry;
};

class EffectOwner {
public:
    EffectOwner() = default;
    // Finishes this owner's effects and deletes them at once.
    ~EffectOwner();
    EffectOwner(const EffectOwner&) = delete;
    EffectOwner& operator=(const EffectOwner&) = delete;

    // A running copy of the library's effect, reset at (0, 0); set its position and reset again.
    EffectHandle StartEffect(const std::string& name);
    void FinishAll();
    void PauseAll();
    void ResumeAll();
    // In start order, in the caller's coordinate frame.
    void DrawAll();
    // Forgets the entry (the observer deletes its effect).
    void Remove(Core::EffectEntry* entry);

    std::size_t GetEffectCount() const { return _entries.size(); }

private:
    std::vector<std::shared_ptr<Core::EffectEntry>> _entries;
};
