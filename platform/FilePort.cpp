#include "platform/FilePort.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace FilePort {

namespace {

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
        char ca = a[k];
        char cb = b[k];
        if ('A' <= ca && ca <= 'Z') ca = static_cast<char>(ca - 'A' + 'a');
        if ('A' <= cb && cb <= 'Z') cb = static_cast<char>(cb - 'A' + 'a');
        if (ca != cb) return false;
    }
    return true;
}

bool PathExists(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

std::vector<std::string> ReadNames(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

std::uint32_t AttributesOf(const std::string& normalized) {
    struct stat st {};
    if (stat(normalized.c_str(), &st) != 0) {
        return INVALID_FILE_ATTRIBUTES;
    }
    std::uint32_t attributes = 0;
    if (S_ISDIR(st.st_mode)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
    std::string name = normalized;
    while (name.size() > 1 && name.back() == '/') name.pop_back();
    const std::size_t slash = name.rfind('/');
    name = slash == std::string::npos ? name : name.substr(slash + 1);
    if (!name.empty() && name[0] == '.' && name != "." && name != "..") attributes |= FILE_ATTRIBUTE_HIDDEN;
    if (access(normalized.c_str(), W_OK) != 0 && errno == EACCES) attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

}  // namespace

std::string NormalizePath(const std::string& path) {
    std::string slashed = path;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    if (slashed.empty() || PathExists(slashed)) {
        return slashed;
    }

    std::string result = slashed[0] == '/' ? "/" : "";
    bool lookUp = true;  // off once a component matched nothing: below it nothing exists
    std::size_t start = 0;
    while (start <= slashed.size()) {
        std::size_t end = slashed.find('/', start);
        if (end == std::string::npos) end = slashed.size();
        std::string component = slashed.substr(start, end - start);
        const bool last = end == slashed.size();
        start = end + 1;
        if (component.empty()) {
            if (last) break;
            continue;  // repeated or leading separators
        }
        if (lookUp && component != "." && component != ".." && !PathExists(Join(result, component))) {
            bool found = false;
            for (const std::string& name : ReadNames(result)) {
                if (EqualsIgnoringCase(name, component)) {
                    component = name;
                    found = true;
                    break;
                }
            }
            lookUp = found;
        }
        result = Join(result, component);
        if (last) break;
    }
    if (slashed.back() == '/' && !result.empty() && result.back() != '/') result += '/';
    return result;
}

std::FILE* Open(const std::string& path, const char* mode) {
    const std::string normalized = NormalizePath(path);
    struct stat st {};
    if (stat(normalized.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return nullptr;
    }
    return std::fopen(normalized.c_str(), mode);
}

bool Exists(const std::string& path) {
    struct stat st {};
    return stat(NormalizePath(path).c_str(), &st) == 0;
}

std::uint32_t GetAttributes(const std::string& path) { return AttributesOf(NormalizePath(path)); }

bool Move(const std::string& from, const std::string& to) {
    const std::string source = NormalizePath(from);
    const std::string target = NormalizePath(to);
    if (renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    // File systems without the no-replace rename: a hard link also refuses an existing target.
    if (link(source.c_str(), target.c_str()) != 0) {
        return false;
    }
    if (unlink(source.c_str()) != 0) {
        const int error = errno;
        unlink(target.c_str());
        errno = error;
        return false;
    }
    return true;
}

std::string ToCrLf(const std::string& text) {
    std::string result;
    result.reserve(text.size() + text.size() / 16);
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] == '\n' && (k == 0 || text[k - 1] != '\r')) result += '\r';
        result += text[k];
    }
    return result;
}

bool WriteTextCrLf(const std::string& path, const std::string& text) {
    std::FILE* f = Open(path, "wb");
    if (f == nullptr) return false;
    const std::string bytes = ToCrLf(text);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && written;
}

std::vector<DirectoryEntry> ListDirectory(const std::string& path) {
    const std::string folder = NormalizePath(path);
    std::vector<DirectoryEntry> entries;
    for (const std::string& name : ReadNames(folder)) {
        DirectoryEntry entry;
        entry.name = name;
        entry.attributes = AttributesOf(Join(folder, name));
        entries.push_back(entry);
    }
    return entries;
}

std::size_t GetCurrentDirectory(char* buffer, std::size_t length) {
    std::vector<char> cwd(256);
    while (getcwd(cwd.data(), cwd.size()) == nullptr) {
        if (errno != ERANGE) return 0;
        cwd.resize(cwd.size() * 2);
    }
    const std::size_t size = std::strlen(cwd.data());
    if (buffer == nullptr || length < size + 1) {
        return size + 1;
    }
    std::memcpy(buffer, cwd.data(), size + 1);
    return size;
}

}  // namespace FilePort
