#pragma once
// A filter on Windows file attribute bits: (attributes & _and) == _eq.

#include <cstdint>

#include "platform/FilePort.h"

class FileAttributesCondition {
public:
    // eq may hold no bit outside and.
    FileAttributesCondition(std::uint32_t andMask, std::uint32_t eq);

    bool Test(std::uint32_t attributes) const { return (attributes & _and) == _eq; }
    // Also demands the directory bit (respectively the hidden bit) be clear.
    FileAttributesCondition AndNotDirectory() const;
    FileAttributesCondition AndNotHidden() const;

private:
    std::uint32_t _and = 0;
    std::uint32_t _eq = 0;
};
