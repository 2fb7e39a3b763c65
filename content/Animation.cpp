#include "content/Animation.h"

#include "core/Assert.h"
#include "core/XmlUtil.h"

Animation::~Animation() { XmlDestructorCheck(_referenceCount == 0); }

void Animation::AddReference() {
    Assert(_referenceCount >= 0);
    ++_referenceCount;
    Assert(_referenceCount > 0);
    if (_referenceCount == 1) StartUsing();
}

void Animation::RemoveReference() {
    Assert(_referenceCount > 0);
    if (_referenceCount <= 0) return;  // never below zero
    --_referenceCount;
    Assert(_referenceCount >= 0);
    if (_referenceCount == 0) StopUsing();
}
