#include "core/XmlFileOps.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/HtmlLog.h"
#include "platform/FilePort.h"

namespace XmlFileOps {

bool Delete(const std::string& path) { return std::remove(FilePort::NormalizePath(path).c_str()) == 0; }

bool MoveNoReplace(const std::string& from, const std::string& to) { return FilePort::Move(from, to); }

bool Replace(const std::string& from, const std::string& to) {
    return std::rename(FilePort::NormalizePath(from).c_str(), FilePort::NormalizePath(to).c_str()) == 0;
}

namespace {

// A copy written whole and flushed to the disk; a partial copy is removed again.
bool CopyFile(const std::string& from, const std::string& to) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (out < 0) {
        const int error = errno;
        ::close(in);
        errno = error;
        return false;
    }
    bool ok = true;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        for (ssize_t done = 0; ok && done < n;) {
            const ssize_t w = ::write(out, buffer + done, static_cast<std::size_t>(n - done));
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) {
                ok = false;
            } else {
                done += w;
            }
        }
        if (!ok) break;
    }
    int error = ok ? 0 : errno;
    if (ok && ::fsync(out) != 0) {
        ok = false;
        error = errno;
    }
    if (::close(out) != 0 && ok) {
        ok = false;
        error = errno;
    }
    ::close(in);
    if (!ok) {
        ::unlink(to.c_str());
        errno = error;
    }
    return ok;
}

}  // namespace

bool AddName(const std::string& from, const std::string& to) {
    const std::string source = FilePort::NormalizePath(from);
    const std::string target = FilePort::NormalizePath(to);
    if (::link(source.c_str(), target.c_str()) == 0) return true;
    if (errno == EEXIST || errno == ENOENT || errno == ENOSPC || errno == EROFS) return false;
    return CopyFile(source, target);
}

long long ModificationTime(const std::string& path) {
    struct stat info {};
    if (::stat(FilePort::NormalizePath(path).c_str(), &info) != 0) return -1;
    return static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
}

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
