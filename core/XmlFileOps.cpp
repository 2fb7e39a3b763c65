#include "core/XmlFileOps.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

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

}  // namespace XmlFileOps
