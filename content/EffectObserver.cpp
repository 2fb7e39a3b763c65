#include "content/EffectObserver.h"

#include <algorithm>

#include "content/ParticleLibrary.h"
#include "core/Assert.h"

namespace Core {

namespace {
constexpr float MAX_EFFECT_STEP = 0.1f;
}

EffectObserver& GetEffectObserver() {
    static EffectObserver observer;
    return observer;
}

std::shared_ptr<EffectEntry> EffectObserver::Add(const ParticleEffect& prototype, EffectOwner* owner) {
    auto entry = std::make_shared<EffectEntry>();
    entry->effect = prototype;
    entry->owner = owner;
    _entries.push_back(entry);
    return entry;
}

void EffectObserver::Update(float dt) {
    // An owner going away while effects are advanced waits for the next update.
    if (_updating) return;
    _updating = true;
    if (dt > MAX_EFFECT_STEP) dt = MAX_EFFECT_STEP;
    for (const auto& entry : _entries) entry->effect.Update(dt);
    for (auto it = _entries.begin(); it != _entries.end();) {
        std::shared_ptr<EffectEntry> entry = *it;
        if (!entry->effect.finished) {
            ++it;
            continue;
        }
        if (entry->owner != nullptr) entry->owner->Remove(entry.get());
        entry->owner = nullptr;
        it = _entries.erase(it);
    }
    _updating = false;
}

void EffectObserver::Clear() {
    for (const auto& entry : _entries) {
        if (entry->owner != nullptr) entry->owner->Remove(entry.get());
        entry->owner = nullptr;
    }
    _entries.clear();
}

}  // namespace Core

ParticleEffect* EffectHandle::Get() const {
    std::shared_ptr<Core::EffectEntry> entry = _entry.lock();
    return entry ? &entry->effect : nullptr;
}

ParticleEffect* EffectHandle::operator->() const {
    ParticleEffect* effect = Get();
    Assert(effect != NULL);
    return effect;
}

void EffectHandle::Finish() {
    if (ParticleEffect* effect = Get()) effect->Finish();
}

void EffectHandle::Stop() {
    if (ParticleEffect* effect = Get()) effect->finished = true;
}

EffectOwner::~EffectOwner() {
    FinishAll();
    // Nothing of the observer may point here any more, even if it could not run now.
    for (const auto& entry : _entries) entry->owner = nullptr;
    Core::GetEffectObserver().Update(0.0f);
    _entries.clear();
}

EffectHandle EffectOwner::StartEffect(const std::string& name) {
    const ParticleEffect& prototype = GetParticleLibrary().GetEffect(name);
    std::shared_ptr<Core::EffectEntry> entry = Core::GetEffectObserver().Add(prototype, this);
    entry->effect.Reset();
    _entries.push_back(entry);
    return EffectHandle(entry);
}

void EffectOwner::FinishAll() {
    for (const auto& entry : _entries) entry->effect.finished = true;
}

void EffectOwner::PauseAll() {
    for (const auto& entry : _entries) entry->effect.paused = true;
}

void EffectOwner::ResumeAll() {
    for (const auto& entry : _entries) entry->effect.paused = false;
}

void EffectOwner::DrawAll() {
    for (const auto& entry : _entries) entry->effect.Draw();
}

void EffectOwner::Remove(Core::EffectEntry* entry) {
    _entries.erase(std::remove_if(_entries.begin(), _entries.end(),
                                  [entry](const std::shared_ptr<Core::EffectEntry>& held) { return held.get() == entry; }),
                   _entries.end());
}
