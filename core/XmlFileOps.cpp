#include "core/XmlFileOps.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/HtmlLog.h"
#include "platform/FilePort.h"

namespace XmlFileOps {

bool Delete(const std::string& path) { return std::remove(FilePort::NormalizePath(path).c_str()) == 0; }

bool MoveNoReplace(const std::string& from, const std::string& to) { return FilePort::Move(from, to); }

void SyncFolderOf(const std::string& path) {
    const std::string normalised = FilePort::NormalizePath(path);
    const std::size_t slash = normalised.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : normalised.substr(0, slash + 1);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::string KeepAside(const std::string& path) {
    if (!FilePort::Exists(path)) return std::string();
    for (int n = 1; n <= 1000; ++n) {
        const std::string kept = path + ".unreadable-" + std::to_string(n);
        if (FilePort::Move(path, kept)) {
            const std::string text = "The unreadable file " + path + " is kept as " + kept;
            HtmlLog::WriteLineColor(text, "DarkOrange");
            std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, text.c_str());
            return kept;
        }
        if (errno != EEXIST) break;
    }
    const std::string text = "The unreadable file " + path + " could not be moved aside (" +
                             std::strerror(errno) + "); it is left in place";
    HtmlLog::WriteLineColor(text, "DarkOrange");
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, text.c_str());
    return std::string();
}

}  // namespace XmlFileOps
