#pragma once
// File names of a folder that match a mask, for the "ForEachFile" section.

#include <string>
#include <vector>

#include "core/FileAttributesCondition.h"

class DirectoryListing {
public:
    // mask: a folder, "\" or "/", then a name pattern with "*" and "?". Names without the folder,
    // sorted in byte order; empty when the folder cannot be read or nothing matches.
    static std::vector<std::string> GetFileNames(const std::string& mask, const FileAttributesCondition& condition);
    static bool Matches(const std::string& pattern, const std::string& name);
};
