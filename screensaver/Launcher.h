#pragma once
// The launcher's entry: answers one screensaver request of its command line and ends.

#include <string>

namespace screensaver {

// The program's name as its windows show it.
extern const char* const launcherTitle;

// Options (or an empty line), run, preview, then password; any other line does nothing but say so.
// Always 0: a failure is told on standard error, never by the exit code.
int LauncherMain(int argc, const char* const* argv);

// One line on standard error: the program's name, then the text.
void ReportLauncherFailure(const std::string& text);

}  // namespace screensaver
