#include "content/EffectCollection.h"

#include "core/Assert.h"

void EffectCollection::Add(int layer, const ObjectSmartPointer<EffectBase>& effect) {
    Assert(effect != NULL);
    if (effect == NULL) return;
    for (const Entry& entry : _entries) {
        Assert(entry.effect.AsObjectAddress() != effect.AsObjectAddress());
    }
    _entries.push_back(Entry{layer, effect});
}

void EffectCollection::Draw(int layer) {
    for (const Entry& entry : _entries) {
        if (entry.layer == layer) entry.effect->Draw();
    }
}

void EffectCollection::Update(float dt) {
    for (auto it = _entries.begin(); it != _entries.end();) {
        if (it->effect->IsFinished()) {
            it = _entries.erase(it);
            continue;
        }
        it->effect->Update(dt);
        ++it;
    }
}

void EffectCollection::Clear() { _entries.clear(); }
