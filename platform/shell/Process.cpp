#include "platform/shell/Process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <thread>

extern char** environ;

namespace ProcessPort {

namespace {

// Children are never waited for: let the system reap them.
void IgnoreChildExits() {
    static bool done = false;
    if (done) return;
    done = true;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    action.sa_flags = SA_NOCLDWAIT;
    sigemptyset(&action.sa_mask);
    sigaction(SIGCHLD, &action, nullptr);
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Trim(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    return text.substr(begin, end - begin);
}

}  // namespace

bool SpawnDetached(const std::vector<std::string>& argv) {
    if (argv.empty() || argv[0].empty()) return false;
    IgnoreChildExits();
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    const int result = argv[0].find('/') == std::string::npos
                           ? posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ)
                           : posix_spawn(&pid, args[0], nullptr, nullptr, args.data(), environ);
    return result == 0;
}

std::shared_ptr<SpawnWatch> SpawnWatched(const std::vector<std::string>& argv) {
    std::shared_ptr<SpawnWatch> watch = std::make_shared<SpawnWatch>();
    if (argv.empty() || argv[0].empty()) {
        watch->Set(SpawnWatch::FAILED);
        return watch;
    }
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    const int result = argv[0].find('/') == std::string::npos
                           ? posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ)
                           : posix_spawn(&pid, args[0], nullptr, nullptr, args.data(), environ);
    if (result != 0) {
        watch->Set(SpawnWatch::FAILED);
        return watch;
    }
    std::thread([pid, watch]() {
        int status = 0;
        pid_t ended = 0;
        while ((ended = waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
        }
        // Without a status (children reaped by the system) nothing is known to have failed.
        const bool failed = ended == pid && !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        watch->Set(failed ? SpawnWatch::FAILED : SpawnWatch::SUCCEEDED);
    }).detach();
    return watch;
}

bool IsWebAddress(const std::string& address) {
    const std::string lower = Lower(address);
    const bool scheme = lower.rfind("http://", 0) == 0 || lower.rfind("https://", 0) == 0;
    if (!scheme) return false;
    for (char c : address) {
        if (static_cast<unsigned char>(c) <= ' ') return false;
    }
    return address.size() > (lower.rfind("https://", 0) == 0 ? 8u : 7u);
}

bool OpenWebAddress(const std::string& address) {
    if (!IsWebAddress(address)) return false;
    return SpawnDetached({"xdg-open", address});
}

std::string ReadShortcutAddress(const std::string& fileText) {
    bool inSection = false;
    size_t pos = 0;
    while (pos <= fileText.size()) {
        size_t end = fileText.find('\n', pos);
        if (end == std::string::npos) end = fileText.size();
        const std::string line = Trim(fileText.substr(pos, end - pos));
        pos = end + 1;
        if (!line.empty() && line[0] == '[') {
            inSection = Lower(line) == "[internetshortcut]";
        } else if (inSection && Lower(line.substr(0, 4)) == "url=") {
            return Trim(line.substr(4));
        }
        if (end == fileText.size()) break;
    }
    return std::string();
}

}  // namespace ProcessPort
