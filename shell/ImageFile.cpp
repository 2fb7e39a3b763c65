#include "shell/ImageFile.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

namespace {

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

// The first entry of the folder (in sorted order) that equals name without regard to case.
std::string FindIgnoringCase(const std::string& folder, const std::string& name) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) return std::string();
    std::vector<std::string> matches;
    while (dirent* entry = ::readdir(dir)) {
        if (::strcasecmp(entry->d_name, name.c_str()) == 0) matches.push_back(entry->d_name);
    }
    ::closedir(dir);
    if (matches.empty()) return std::string();
    std::sort(matches.begin(), matches.end());
    return matches.front();
}

}  // namespace

namespace ImageFile {

std::string Resolve(const std::string& path) {
    std::string slashed = path;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    if (slashed.empty() || Exists(slashed)) return slashed;

    std::string result;
    std::size_t start = 0;
    if (slashed[0] == '/') {
        result = "/";
        start = 1;
    }
    while (start <= slashed.size()) {
        std::size_t end = slashed.find('/', start);
        if (end == std::string::npos) end = slashed.size();
        const std::string part = slashed.substr(start, end - start);
        if (!part.empty()) {
            std::string candidate = result + part;
            if (part != "." && part != ".." && !Exists(candidate)) {
                const std::string folder = result.empty() ? std::string() : result;
                const std::string found = FindIgnoringCase(folder, part);
                if (!found.empty()) candidate = result + found;
            }
            result = candidate;
            if (end < slashed.size()) result += '/';
        }
        start = end + 1;
    }
    return result;
}

std::FILE* OpenForReading(const std::string& path) {
    return std::fopen(Resolve(path).c_str(), "rb");
}

}  // namespace ImageFile
