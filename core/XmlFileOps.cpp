#include "core/XmlFileOps.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace XmlFileOps {

bool Delete(const std::string& path) { return std::remove(path.c_str()) == 0; }

bool MoveNoReplace(const std::string& from, const std::string& to) {
    return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
}

void SyncFolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace XmlFileOps
