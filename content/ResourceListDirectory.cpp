#include "content/ResourceListDirectory.h"

#include "platform/FilePort.h"

bool DirectoryListing::Matches(const std::string& pattern, const std::string& name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starP = std::string::npos;
    std::size_t starN = 0;
    while (n < name.length()) {
        if (p < pattern.length() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.length() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.length() && pattern[p] == '*') ++p;
    return p == pattern.length();
}

std::vector<std::string> DirectoryListing::GetFileNames(const std::string& mask, const FileAttributesCondition& condition) {
    const std::size_t slash = mask.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? "." : mask.substr(0, slash);
    const std::string pattern = slash == std::string::npos ? mask : mask.substr(slash + 1);
    std::vector<std::string> names;
    for (const FilePort::DirectoryEntry& entry : FilePort::ListDirectory(folder.empty() ? "/" : folder)) {
        if (Matches(pattern, entry.name) && condition.Test(entry.attributes)) names.push_back(entry.name);
    }
    return names;
}
