#include "core/PermanentValueListener.h"

#include "core/Assert.h"

PermanentValueListener::~PermanentValueListener() { Assert(_referenceCount == 0); }

void PermanentValueListener::AddReference() {
    Assert(_referenceCount >= 0);
    ++_referenceCount;
    Assert(_referenceCount > 0);
}

void PermanentValueListener::RemoveReference() {
    Assert(_referenceCount > 0);
    --_referenceCount;
    Assert(_referenceCount >= 0);
    if (_referenceCount == 0) {
        OnUnlinked();
    }
}
