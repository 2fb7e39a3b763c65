// Runs a fuzz target over saved inputs without libFuzzer: each file named, and every file of each
// folder named, in byte order of their names.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/FilePort.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool Replay(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    std::string bytes;
    char buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.append(buffer, got);
    std::fclose(f);
    std::printf("%s\n", path.c_str());
    std::fflush(stdout);
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (FilePort::GetAttributes(arg) & FILE_ATTRIBUTE_DIRECTORY) {
            for (const FilePort::DirectoryEntry& entry : FilePort::ListDirectory(arg)) {
                if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) continue;
                if (Replay(arg + "/" + entry.name)) ++count;
            }
        } else if (Replay(arg)) {
            ++count;
        } else {
            std::fprintf(stderr, "cannot read %s\n", arg.c_str());
            return 2;
        }
    }
    std::printf("%d inputs replayed\n", count);
    return count > 0 ? 0 : 2;
}
