#pragma once
// The launcher's entry: answers one screensaver request of its command line and ends.

namespace screensaver {

// The program's name as its windows show it.
extern const char* const launcherTitle;

// Options (or an empty line), run, preview, then password; any other line does nothing. Always 0.
int LauncherMain(int argc, const char* const* argv);

}  // namespace screensaver
