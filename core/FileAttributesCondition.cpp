#include "core/FileAttributesCondition.h"

#include "core/Assert.h"

FileAttributesCondition::FileAttributesCondition(std::uint32_t andMask, std::uint32_t eq)
    : _and(andMask), _eq(eq) {
    // "and" is an operator word in C++, so this check names its text itself.
    if (!((eq & ~andMask) == 0)) {
        ReportFailure("Assertion failed", "(eq & ~and) == 0", __FILE__, __LINE__);
    }
}

FileAttributesCondition FileAttributesCondition::AndNotDirectory() const {
    Assert((_and & FILE_ATTRIBUTE_DIRECTORY) == 0);
    return FileAttributesCondition(_and | FILE_ATTRIBUTE_DIRECTORY, _eq);
}

FileAttributesCondition FileAttributesCondition::AndNotHidden() const {
    Assert((_and & FILE_ATTRIBUTE_HIDDEN) == 0);
    return FileAttributesCondition(_and | FILE_ATTRIBUTE_HIDDEN, _eq);
}
