#include "tests/screensaver/LauncherRun.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "tests/support/ProgramRun.h"

extern char** environ;

namespace screensaver_test {

std::string LauncherPath() {
    const std::string game = testing_support::ProgramPath();
    return game.substr(0, game.find_last_of('/')) + "/marivel-screensaver";
}

LauncherRun::LauncherRun(const LauncherStart& start) {
    // The start's own entries first, then headless defaults, then this process's environment.
    std::vector<std::string> env;
    auto add = [&env](const std::string& entry) {
        const std::string name = entry.substr(0, entry.find('=') + 1);
        for (const std::string& present : env) {
            if (present.compare(0, name.size(), name) == 0) return;
        }
        env.push_back(entry);
    };
    for (const std::string& entry : start.env) add(entry);
    for (const char* entry : {"SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy", "ASAN_OPTIONS=detect_leaks=0"}) add(entry);
    for (char** e = environ; *e; ++e) add(*e);
    std::vector<std::string> argv = {start.self};
    argv.insert(argv.end(), start.args.begin(), start.args.end());
    std::vector<char*> a;
    for (auto& s : argv) a.push_back(&s[0]);
    a.push_back(nullptr);
    std::vector<char*> e;
    for (auto& s : env) e.push_back(&s[0]);
    e.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, start.folder.c_str());
    const std::string output = start.output.empty() ? "/dev/null" : start.output;
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (!start.errors.empty()) {
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, start.errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
    }
    const std::string launcher = LauncherPath();
    if (posix_spawn(&_pid, launcher.c_str(), &actions, nullptr, a.data(), e.data()) != 0) _pid = 0;
    posix_spawn_file_actions_destroy(&actions);
}

LauncherRun::~LauncherRun() {
    if (_pid > 0 && !_ended) {
        kill(_pid, SIGKILL);
        waitpid(_pid, nullptr, 0);
    }
}

bool LauncherRun::StillRunningAfter(int milliseconds) {
    for (int waited = 0; _pid > 0 && !_ended; waited += 10) {
        if (waitpid(_pid, &_status, WNOHANG) == _pid) {
            _ended = true;
            break;
        }
        if (waited >= milliseconds) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return _pid > 0 && !_ended;
}

int LauncherRun::Wait(int seconds) {
    if (_pid <= 0) return -1;
    if (StillRunningAfter(seconds * 1000)) return -1;
    return WIFEXITED(_status) ? WEXITSTATUS(_status) : 128 + WTERMSIG(_status);
}

void LauncherRun::Signal(int signal) {
    if (_pid > 0 && !_ended) kill(_pid, signal);
}

int RunLauncher(const LauncherStart& start) {
    LauncherRun run(start);
    return run.Wait(120);
}

}  // namespace screensaver_test
