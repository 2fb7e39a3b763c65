#include "shell/ShellCommands.h"

#include <cctype>
#include <cstdio>

#include "core/FileWrapper.h"
#include "platform/FilePort.h"
#include "platform/shell/Process.h"

namespace ShellCommands {

namespace {
Spawner& CurrentSpawner() {
    static Spawner spawner;
    return spawner;
}

std::string ReadWholeFile(const std::string& path) {
    std::string text;
    std::FILE* f = FilePort::Open(path, "rb");
    if (!f) return text;
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0 && text.size() < 65536) text.append(buffer, n);
    std::fclose(f);
    return text;
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& tail) {
    if (text.size() < tail.size()) return false;
    for (size_t i = 0; i < tail.size(); ++i) {
        const char a = static_cast<char>(std::tolower(static_cast<unsigned char>(text[text.size() - tail.size() + i])));
        if (a != tail[i]) return false;
    }
    return true;
}
}  // namespace

void SetSpawner(Spawner spawner) { CurrentSpawner() = std::move(spawner); }

bool Spawn(const std::vector<std::string>& argv) {
    if (CurrentSpawner()) return CurrentSpawner()(argv);
    return ProcessPort::SpawnDetached(argv);
}

bool OpenWebAddress(const std::string& address) {
    if (!ProcessPort::IsWebAddress(address)) return false;
    return Spawn({"xdg-open", address});
}

}  // namespace ShellCommands

void ShellExecuteOpen(const std::string& path) {
    if (!FileExists(path)) return;
    std::string file = FilePort::NormalizePath(path);
    if (!file.empty() && file[0] == '-') file = "./" + file;
    if (ShellCommands::EndsWithIgnoringCase(file, ".url")) {
        ShellCommands::OpenWebAddress(ProcessPort::ReadShortcutAddress(ShellCommands::ReadWholeFile(file)));
        return;
    }
    ShellCommands::Spawn({"xdg-open", file});
}

void RunExecutable(const std::string& path) {
    if (!FileExists(path)) return;
    std::string program = FilePort::NormalizePath(path);
    // A bare name would be looked up on the search path: start the file that was found here.
    if (program.find('/') == std::string::npos) program = "./" + program;
    ShellCommands::Spawn({program});
}
