#include "content/Definition.h"

#include "core/Assert.h"

Definition::Definition(const ObjectWeakPointer<XmlElement>& xe) { Assert(xe != NULL); }

Definition::~Definition() = default;
