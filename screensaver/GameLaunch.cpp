#include "screensaver/GameLaunch.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>

extern char** environ;

namespace screensaver {

bool LaunchGame(const char* selfPath) {
    if (selfPath == nullptr || selfPath[0] == '\0' || selfPath[0] == '"') return false;
    const std::string self = selfPath;
    const size_t slash = self.rfind('/');
    if (slash == std::string::npos) return false;
    std::string folder = slash == 0 ? "/" : self.substr(0, slash);
    // The child changes to the folder before it starts the program: a relative path would then
    // point below the folder.
    if (folder[0] != '/') {
        char cwd[PATH_MAX];
        if (getcwd(cwd, sizeof cwd) == nullptr) return false;
        folder = std::string(cwd) + "/" + folder;
    }
    std::string game = (folder == "/" ? std::string() : folder) + "/qzt.dat";
    std::string screensaverSwitch = "/screensaver";
    char* args[] = {&game[0], &screensaverSwitch[0], nullptr};

    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) return false;
    pid_t pid = 0;
    bool started = posix_spawn_file_actions_addchdir_np(&actions, folder.c_str()) == 0 &&
                   posix_spawn(&pid, game.c_str(), &actions, nullptr, args, environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    if (!started) return false;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return true;
}

}  // namespace screensaver
