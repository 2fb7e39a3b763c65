#include "shell/EntrySettings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/Assert.h"
#include "core/Bool.h"
#include "core/String.h"
#include "core/XmlDocument.h"
#include "platform/FilePort.h"
#include "platform/shell/Desktop.h"

namespace utils {

namespace {
bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || (c >= '0' && c <= '9');
}
}  // namespace

// The name is the first run of name characters (everything before it is skipped) and must be
// followed by some other character; the value starts after the first "=" behind the name, past
// any spaces and further "=", and runs to the end of the line.
bool ReadNvp(const std::string& str, std::string& name, std::string& value) {
    size_t begin = 0;
    while (begin < str.size() && !IsNameChar(str[begin])) ++begin;
    if (begin == str.size()) return false;
    size_t end = begin;
    while (end < str.size() && IsNameChar(str[end])) ++end;
    name = str.substr(begin, end - begin);
    if (end == str.size()) return false;
    const size_t equals = str.find('=', end);
    if (equals == std::string::npos) return false;
    size_t valueBegin = equals + 1;
    while (valueBegin < str.size() && (str[valueBegin] == ' ' || str[valueBegin] == '=')) ++valueBegin;
    if (valueBegin == str.size()) return false;
    value = str.substr(valueBegin);
    return !value.empty();
}

}  // namespace utils

namespace {

// One line: split, check the name, hand back whatever value the split left.
std::string ReadSetting(std::FILE* f, const char* expected) {
    const std::string str = String::ReadLine(f);
    std::string name;
    std::string value;
    if (!utils::ReadNvp(str, name, value)) {
        ReportFailure("Assertion failed", "utils::ReadNvp(str, name, value)", __FILE__, __LINE__);
    }
    if (name != expected) {
        ReportFailure("Assertion failed", "name == \"" + std::string(expected) + "\"", __FILE__, __LINE__);
    }
    return value;
}

}  // namespace

EntrySettings ReadSettingsFile(const std::string& fileName,
                               const std::function<bool(const std::string&)>& setCurrentDirectory) {
    EntrySettings settings;
    std::FILE* f = FilePort::Open(fileName, "rb");
    if (!f) return settings;
    settings.fileFound = true;
    settings.path = ReadSetting(f, "path");
    if (!setCurrentDirectory(settings.path)) {
        ReportFailure("Assertion failed", "SetCurrentDirectory(value.c_str())", __FILE__, __LINE__);
    }
    settings.useAppData = Bool::Parse(ReadSetting(f, "useAppData"));
    settings.recreateLog = Bool::Parse(ReadSetting(f, "recreateLog"));
    settings.dev = Bool::Parse(ReadSetting(f, "dev"));
    settings.advertisement = Bool::Parse(ReadSetting(f, "advertisement"));
    settings.adVisible = Bool::Parse(ReadSetting(f, "adVisible"));
    Assert(std::fclose(f) == 0);
    return settings;
}

bool SetCurrentDirectory(const std::string& folder) {
    if (folder.empty()) return false;
    return chdir(FilePort::NormalizePath(folder).c_str()) == 0;
}

std::string GetApplicationDataFolder() {
    const std::string base = Desktop::UserDataFolder();
    if (base.empty()) {
        // No home folder known: the files stay in the current folder.
        ReportFailure("Assertion failed", "result", __FILE__, __LINE__);
        return std::string();
    }
    return base + "/Tornvik Entertainment/Marivel/";
}

void CreateDirectories(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        mkdir(path.substr(0, slash).c_str(), 0755);
    }
}

bool CopyFileNoReplace(const std::string& from, const std::string& to) {
    std::FILE* in = FilePort::Open(from, "rb");
    if (!in) return false;
    // The copy is written whole under a passing name and only then given its own, so that a start
    // cut short leaves no half file under the target's name.
    const std::string part = to + ".part";
    unlink(part.c_str());
    const int fd = open(part.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        std::fclose(in);
        return false;
    }
    bool ok = true;
    char buffer[65536];
    size_t n = 0;
    while (ok && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        size_t done = 0;
        while (done < n) {
            const ssize_t w = write(fd, buffer + done, n - done);
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) {
                ok = false;
                break;
            }
            done += static_cast<size_t>(w);
        }
    }
    if (std::ferror(in)) ok = false;
    std::fclose(in);
    if (ok && fsync(fd) != 0) ok = false;
    if (close(fd) != 0) ok = false;
    ok = ok && FilePort::Move(part, to);
    if (!ok) unlink(part.c_str());
    return ok;
}

std::string PrepareDataFolder(const EntrySettings& settings) {
    if (settings.fileFound && !settings.useAppData) return std::string();
    const std::string folder = GetApplicationDataFolder();
    if (folder.empty()) return folder;
    CreateDirectories(folder);
    return folder;
}

void SeedDataFolder(const std::string& folder) {
    if (folder.empty()) return;
    const std::string storage = folder + "Storage.xml";
    // A save cut short comes back before anything else looks at the folder: the first-start copy
    // goes only into a folder without any profile.
    RestoreInterruptedSave(storage);
    CopyFileNoReplace("GameInfo.xml", folder + "GameInfo.xml");
    if (!FilePort::Exists(storage) && !FilePort::Exists(storage + ".bak") && !FilePort::Exists(storage + ".new")) {
        CopyFileNoReplace("Storage.xml", storage);
    }
}

bool IsScreensaverCommandLine(int argc, const char* const* argv) {
    if (argc < 2 || argv[1] == nullptr) return false;
    return std::strcmp(argv[1], "-screensaver") == 0 || std::strcmp(argv[1], "/screensaver") == 0;
}
