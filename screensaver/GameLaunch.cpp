#include "screensaver/GameLaunch.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

extern char** environ;

namespace screensaver {

namespace {

const char* const gameName = "qzt.dat";

struct GamePlace {
    std::string folder;
    std::string game;
    std::string failure;
};

GamePlace FindGame(const char* selfPath) {
    GamePlace place;
    if (selfPath == nullptr || selfPath[0] == '\0') {
        place.failure = "the program was started without its own path, so qzt.dat cannot be found";
        return place;
    }
    const std::string self = selfPath;
    if (self[0] == '"') {
        place.failure = "the program's own path " + self + " begins with a double quote; qzt.dat is not looked for";
        return place;
    }
    const size_t slash = self.rfind('/');
    if (slash == std::string::npos) {
        place.failure = "the program's own path " + self + " names no folder, so qzt.dat cannot be found";
        return place;
    }
    place.folder = slash == 0 ? "/" : self.substr(0, slash);
    // The child changes to the folder before it starts the program: a relative path would then
    // point below the folder.
    if (place.folder[0] != '/') {
        char cwd[PATH_MAX];
        if (getcwd(cwd, sizeof cwd) == nullptr) {
            place.failure = std::string("the current folder cannot be told: ") + std::strerror(errno);
            return place;
        }
        place.folder = std::string(cwd) + "/" + place.folder;
    }
    place.game = (place.folder == "/" ? std::string() : place.folder) + "/" + gameName;
    return place;
}

std::string CannotStart(const GamePlace& place, int error) {
    return "the game " + place.game + " cannot be started: " + std::strerror(error);
}

}  // namespace

std::string CheckGame(const char* selfPath) {
    const GamePlace place = FindGame(selfPath);
    if (!place.failure.empty()) return place.failure;
    struct stat info;
    if (stat(place.game.c_str(), &info) != 0) return CannotStart(place, errno);
    if (!S_ISREG(info.st_mode)) return "the game " + place.game + " is not a file";
    if (access(place.game.c_str(), X_OK) != 0) return CannotStart(place, errno);
    // A program starts with the ELF mark or a script's "#!".
    char head[4] = {};
    const int file = open(place.game.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) return CannotStart(place, errno);
    const ssize_t n = read(file, head, sizeof head);
    close(file);
    const bool isElf = n == 4 && std::memcmp(head, "\177ELF", 4) == 0;
    const bool isScript = n >= 2 && head[0] == '#' && head[1] == '!';
    if (!isElf && !isScript) return "the game " + place.game + " is broken: it is no program";
    return std::string();
}

std::string LaunchGame(const char* selfPath) {
    GamePlace place = FindGame(selfPath);
    if (!place.failure.empty()) return place.failure;
    std::string screensaverSwitch = "/screensaver";
    char* args[] = {&place.game[0], &screensaverSwitch[0], nullptr};

    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) return "the game cannot be started: out of memory";
    pid_t pid = 0;
    int error = posix_spawn_file_actions_addchdir_np(&actions, place.folder.c_str());
    if (error == 0) error = posix_spawn(&pid, place.game.c_str(), &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return CannotStart(place, error);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return std::string("the game's end cannot be awaited: ") + std::strerror(errno);
    }
    if (WIFSIGNALED(status)) {
        return "the game " + place.game + " was ended by signal " + std::to_string(WTERMSIG(status)) + " (" +
               strsignal(WTERMSIG(status)) + ")";
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0) {
        return "the game " + place.game + " ended with exit code " + std::to_string(WEXITSTATUS(status));
    }
    return std::string();
}

}  // namespace screensaver
