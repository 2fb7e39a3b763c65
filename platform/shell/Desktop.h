#pragma once
// What the program needs of the desktop session: special folders, message boxes, the check that
// drawing is possible, and the one-instance lock.

#include <string>

namespace Desktop {

// $XDG_DATA_HOME, else ~/.local/share; without a trailing '/'. Empty when neither is known.
std::string UserDataFolder();
// $XDG_DOCUMENTS_DIR, else ~/Documents; without a trailing '/'.
std::string DocumentsFolder();

// Whether an OpenGL 2.1 context can be made (a hidden window is made and destroyed again).
bool CanMakeGlContext();

// Whether the video driver shows nothing to a person (offscreen or dummy).
bool IsHeadless();

// A modal box with an error icon; headless, the text goes to the standard error stream.
void ShowErrorBox(const std::string& caption, const std::string& text);

}  // namespace Desktop

// One running instance per lock file. The first instance holds an exclusive lock on the file and
// keeps its process id in it; a later start finds the lock taken and asks that process (SIGUSR1)
// to bring its window to the front.
class SingleInstanceLock {
public:
    SingleInstanceLock() = default;
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // True when this process now holds the lock. False when another process holds it; that
    // process has then been asked to come to the front.
    bool Acquire(const std::string& path);
    void Release();

    // True once per request of a later start to come to the front.
    static bool TakeRaiseRequest();

private:
    int _fd = -1;
    std::string _path;
};
