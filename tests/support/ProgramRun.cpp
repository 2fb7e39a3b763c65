#include "tests/support/ProgramRun.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <thread>

extern char** environ;

namespace testing_support {

std::string ProgramPath() {
    char self[PATH_MAX] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path(self, n > 0 ? static_cast<size_t>(n) : 0);
    path = path.substr(0, path.find_last_of('/'));  // tests/
    path = path.substr(0, path.find_last_of('/'));  // the build folder
    return path + "/Marivel";
}

pid_t StartProgram(const std::string& folder, const std::string& home, const std::vector<std::string>& args,
                   const std::string& errorFile, const std::vector<std::string>& extraEnv) {
    std::vector<std::string> env = {"SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy", "XDG_DATA_HOME=" + home,
                                    "ASAN_OPTIONS=detect_leaks=0"};
    const auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
    for (const std::string& entry : extraEnv) {
        env.erase(std::remove_if(env.begin(), env.end(),
                                 [&](const std::string& e) { return nameOf(e) == nameOf(entry); }),
                  env.end());
        env.push_back(entry);
    }
    const std::vector<std::string> given = env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = nameOf(entry);
        if (std::none_of(given.begin(), given.end(), [&](const std::string& g) { return nameOf(g) == name; })) {
            env.push_back(entry);
        }
    }
    std::vector<std::string> argv = {ProgramPath()};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> a;
    for (auto& s : argv) a.push_back(&s[0]);
    a.push_back(nullptr);
    std::vector<char*> e;
    for (auto& s : env) e.push_back(&s[0]);
    e.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    if (!errorFile.empty()) {
        posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    pid_t pid = 0;
    if (posix_spawn(&pid, a[0], &actions, nullptr, a.data(), e.data()) != 0) pid = 0;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

std::string Click(int frame, int x, int y) {
    const std::string at = std::to_string(x) + " " + std::to_string(y) + "\n";
    return std::to_string(frame) + " move " + at + std::to_string(frame + 1) + " move " + std::to_string(x + 1) + " " +
           std::to_string(y) + "\n" + std::to_string(frame + 3) + " down\n" + std::to_string(frame + 4) + " up\n";
}

ProgramRun::~ProgramRun() {
    if (_pid > 0) {
        kill(_pid, SIGKILL);
        waitpid(_pid, nullptr, 0);
    }
}

int ProgramRun::Wait(int seconds) {
    for (int i = 0; i < seconds * 20 && _pid > 0; ++i) {
        int status = 0;
        if (waitpid(_pid, &status, WNOHANG) == _pid) {
            _pid = 0;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return -1;
}

void ProgramRun::Signal(int signal) {
    if (_pid > 0) kill(_pid, signal);
}

int RunProgram(const std::string& folder, const std::string& home, const std::vector<std::string>& args) {
    ProgramRun run(folder, home, args);
    return run.Started() ? run.Wait(120) : -1;
}

}  // namespace testing_support
