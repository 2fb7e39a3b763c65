#pragma once
// What registers on a stored value: counts its registration records and learns when the last goes.

#include "core/ObjectSmartPointer.h"

class PermanentValueListener : public virtual Interface {
public:
    PermanentValueListener() = default;
    ~PermanentValueListener() override;

    void AddReference();
    void RemoveReference();
    int GetReferenceCount() const { return _referenceCount; }

protected:
    // The last registration record is gone: the stored value was replaced or removed.
    virtual void OnUnlinked() = 0;

private:
    int _referenceCount = 0;
};
