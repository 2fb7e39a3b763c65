#pragma once
// Starts the built launcher from a test, headless, with the first argument and folder of the
// test's choosing.

#include <sys/types.h>

#include <string>
#include <vector>

namespace screensaver_test {

// The launcher program beside the game program at the top of the build folder.
std::string LauncherPath();

struct LauncherStart {
    std::string self;                   // its first argument, the path it believes it was started by
    std::vector<std::string> args;      // the rest
    std::string folder = "/";           // the folder it starts in
    std::string output;                 // where its standard output goes ("" for /dev/null)
    std::string errors;                 // where its standard error goes ("" for the test's own)
    std::vector<std::string> env;       // NAME=value entries before the headless defaults
};

// A running launcher, killed if still running when destroyed.
class LauncherRun {
public:
    explicit LauncherRun(const LauncherStart& start);
    ~LauncherRun();
    LauncherRun(const LauncherRun&) = delete;
    LauncherRun& operator=(const LauncherRun&) = delete;

    bool Started() const { return _pid > 0; }
    // True while it runs, after waiting up to the given milliseconds for it to end.
    bool StillRunningAfter(int milliseconds);
    // Exit code (128 + signal when killed by one), or -1 when it does not end in time.
    int Wait(int seconds);
    void Signal(int signal);

private:
    pid_t _pid = 0;
    int _status = 0;
    bool _ended = false;
};

// Runs the launcher to its end; its exit code, or -1 when it does not start or hangs.
int RunLauncher(const LauncherStart& start);

}  // namespace screensaver_test
