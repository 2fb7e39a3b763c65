#pragma once
// Starts the built game program from a test, headless, with its own data home.

#include <sys/types.h>

#include <string>
#include <vector>

namespace testing_support {

// The game program in the build folder (one folder up from the running test program's folder).
std::string ProgramPath();

// Starts the game program: offscreen video, dummy audio, XDG_DATA_HOME set to home and leak checks
// off; the rest of the environment is passed on. It starts in folder. Its standard error stream
// goes to errorFile when one is named. Entries "NAME=value" of env replace those of the same name.
// Its process id, or 0.
pid_t StartProgram(const std::string& folder, const std::string& home, const std::vector<std::string>& args,
                   const std::string& errorFile = std::string(), const std::vector<std::string>& env = {});

// A running game program (see StartProgram), killed if still running when destroyed.
class ProgramRun {
public:
    ProgramRun(const std::string& folder, const std::string& home, const std::vector<std::string>& args,
               const std::string& errorFile = std::string(), const std::vector<std::string>& env = {})
        : _pid(StartProgram(folder, home, args, errorFile, env)) {}
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // Exit code (128 + signal when killed by one), or -1 when it does not end in time.
    int Wait(int seconds);
    void Signal(int signal);
    bool Started() const { return _pid > 0; }
    pid_t Pid() const { return _pid; }

private:
    pid_t _pid = 0;
};

// The input script lines of a click at a window point (pixels, origin top-left) from the frame on:
// a move there, a small move, the press and the release.
std::string Click(int frame, int x, int y);

// Runs the program in the folder to its end; its exit code, or -1 when it does not start or hangs.
int RunProgram(const std::string& folder, const std::string& home, const std::vector<std::string>& args);

}  // namespace testing_support
