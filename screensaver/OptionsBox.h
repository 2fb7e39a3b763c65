#pragma once
// The options request: a message box saying the screensaver has nothing to set, or a line on
// standard output when there is no display to show it on. A game beside the launcher that cannot
// be started is told in the box as well as on standard error.

#include <string>

#include "screensaver/CommandLine.h"

namespace screensaver {

extern const char* const optionsText;

// The box's text: the options sentence, then the game's failure (from CheckGame) when there is one.
std::string OptionsBoxText(const std::string& gameFailure);

// Returns when the box is closed. The parent window is not used: a box of its own is shown.
// selfPath is the launcher's own path, by which the game beside it is checked.
void ShowOptionsBox(WindowHandle parent, const char* selfPath);

}  // namespace screensaver
