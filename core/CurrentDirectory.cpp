#include "core/CurrentDirectory.h"

#include <vector>

#include "core/Assert.h"
#include "platform/FilePort.h"

namespace {
CurrentDirectory startUpDirectory;
}  // namespace

CurrentDirectory::CurrentDirectory() {
    std::size_t size = FilePort::GetCurrentDirectory(nullptr, 0);
    Assert(size > 0);
    std::vector<char> directory(size);
    if (size > 0) {
        size = FilePort::GetCurrentDirectory(directory.data(), directory.size());
        Assert(size == directory.size() - 1);
        if (size == directory.size() - 1) {
            _directory.assign(directory.data(), size);
        }
    }
}

std::string CurrentDirectory::Get() { return startUpDirectory._directory; }
