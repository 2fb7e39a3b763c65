#pragma once
// Starting other programs: always with an argument vector, never through a shell.

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace ProcessPort {

// Starts argv[0] (searched on PATH when it has no '/') with the arguments, without waiting.
// The child is reaped in the background. False when it cannot be started.
bool SpawnDetached(const std::vector<std::string>& argv);

// What became of a program started by SpawnWatched; set from the thread that waits for it.
class SpawnWatch {
public:
    enum State { RUNNING = 0, SUCCEEDED = 1, FAILED = 2 };
    State Get() const { return static_cast<State>(_state.load()); }
    void Set(State state) { _state.store(state); }

private:
    std::atomic<int> _state{RUNNING};
};

// Starts argv[0] (searched on PATH when it has no '/') without waiting; a thread of its own waits
// for the exit. FAILED at once when it cannot be started, later when it exits non-zero or is
// killed; SUCCEEDED also when the exit status cannot be learnt.
std::shared_ptr<SpawnWatch> SpawnWatched(const std::vector<std::string>& argv);

// Whether the text is an http or https address (letter case of the scheme ignored).
bool IsWebAddress(const std::string& address);

// Opens an http or https address with the desktop's opener (xdg-open). Any other address is
// refused (false) and nothing is started.
bool OpenWebAddress(const std::string& address);

// The address of an Internet shortcut file (the "URL=" line of its "[InternetShortcut]"
// section); empty when there is none.
std::string ReadShortcutAddress(const std::string& fileText);

}  // namespace ProcessPort
