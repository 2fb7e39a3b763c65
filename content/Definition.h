#pragma once
// Base of everything the factories build from one XML element: controls and definitions.

#include "core/ObjectSmartPointer.h"
#include "core/XmlElement.h"

class Definition : public virtual Interface {
public:
    // The element is only checked; derived classes read what they need in their own constructors.
    explicit Definition(const ObjectWeakPointer<XmlElement>& xe);
    ~Definition() override;
};
