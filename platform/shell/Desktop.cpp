#include "platform/shell/Desktop.h"

#include <SDL.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/render/DriverLeaks.h"

namespace Desktop {

namespace {
std::string Home() {
    const char* home = std::getenv("HOME");
    return home ? std::string(home) : std::string();
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}
}  // namespace

std::string UserDataFolder() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/') return WithoutTrailingSlash(xdg);
    const std::string home = Home();
    return home.empty() ? std::string() : WithoutTrailingSlash(home) + "/.local/share";
}

std::string DocumentsFolder() {
    const char* xdg = std::getenv("XDG_DOCUMENTS_DIR");
    if (xdg && xdg[0] == '/') return WithoutTrailingSlash(xdg);
    const std::string home = Home();
    return home.empty() ? std::string("Documents") : WithoutTrailingSlash(home) + "/Documents";
}

bool IsHeadless() {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (!driver) return false;
    return std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

bool CanMakeGlContext() {
    render_layer::DriverLeakScope driver;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, 0);
    bool ok = false;
    SDL_Window* window = SDL_CreateWindow("", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window) {
        SDL_GLContext context = SDL_GL_CreateContext(window);
        if (context) {
            ok = true;
            SDL_GL_DeleteContext(context);
        }
        SDL_DestroyWindow(window);
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return ok;
}

void ShowErrorBox(const std::string& caption, const std::string& text) {
    if (!IsHeadless()) {
        render_layer::DriverLeakScope driver;
        if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr) == 0) return;
    }
    std::fprintf(stderr, "%s %s\n", caption.c_str(), text.c_str());
}

}  // namespace Desktop

namespace {
volatile sig_atomic_t raiseRequested = 0;

void OnRaiseRequest(int) { raiseRequested = 1; }
}  // namespace

SingleInstanceLock::~SingleInstanceLock() { Release(); }

bool SingleInstanceLock::Acquire(const std::string& path) {
    Release();
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return true;  // no lock possible: run anyway
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        char buffer[32] = {};
        const ssize_t n = pread(fd, buffer, sizeof buffer - 1, 0);
        close(fd);
        const long pid = n > 0 ? std::strtol(buffer, nullptr, 10) : 0;
        if (pid > 0 && pid != static_cast<long>(getpid())) kill(static_cast<pid_t>(pid), SIGUSR1);
        return false;
    }
    struct sigaction action {};
    action.sa_handler = OnRaiseRequest;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGUSR1, &action, nullptr);
    const std::string pid = std::to_string(static_cast<long>(getpid())) + "\n";
    if (ftruncate(fd, 0) == 0) {
        const ssize_t written = pwrite(fd, pid.data(), pid.size(), 0);
        (void)written;
    }
    _fd = fd;
    _path = path;
    return true;
}

void SingleInstanceLock::Release() {
    if (_fd < 0) return;
    close(_fd);
    _fd = -1;
}

bool SingleInstanceLock::TakeRaiseRequest() {
    if (!raiseRequested) return false;
    raiseRequested = 0;
    return true;
}
