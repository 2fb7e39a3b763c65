#pragma once
// Opens picture files named by content paths (backslashes, any letter case).

#include <cstdio>
#include <string>

namespace ImageFile {
// The path as the file system has it: separators turned to '/', each part matched without regard to
// case when the exact name does not exist. Parts that match nothing are kept as given.
std::string Resolve(const std::string& path);
// fopen of the resolved path in binary read mode; null when it does not open.
std::FILE* OpenForReading(const std::string& path);
}  // namespace ImageFile
