#pragma once
// The effects of one owner, in the order they were added, each in a layer that the owner draws at
// its place in its own drawing order. Embedded by value; the only owner of its effects.

#include <functional>
#include <list>

#include "content/EffectBase.h"
#include "core/ObjectSmartPointer.h"

class EffectCollection {
public:
    EffectCollection() = default;
    virtual ~EffectCollection() = default;
    EffectCollection(const EffectCollection&) = delete;
    EffectCollection& operator=(const EffectCollection&) = delete;

    // Appends the effect; the same effect is never added twice.
    void Add(int layer, const ObjectSmartPointer<EffectBase>& effect);
    // Draws the effects of that layer, first added first.
    void Draw(int layer);
    // Drops every finished effect and advances the others by dt, in order. An effect that
    // finishes inside its update stays until the next call.
    void Update(float dt);
    // Destroys every effect at once.
    void Clear();

    // Calls the function for every effect with its layer, first added first.
    void ForEach(const std::function<void(int layer, const EffectBase& effect)>& function) const {
        for (const Entry& entry : _entries) function(entry.layer, *entry.effect.Get());
    }
    bool IsEmpty() const { return _entries.empty(); }
    std::size_t GetCount() const { return _entries.size(); }

private:
    struct Entry {
        int layer = 0;
        ObjectSmartPointer<EffectBase> effect;
    };
    std::list<Entry> _entries;
};
