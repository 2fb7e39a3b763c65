#pragma once
// The options request: a message box saying the screensaver has nothing to set, or a line on
// standard output when there is no display to show it on.

#include "screensaver/CommandLine.h"

namespace screensaver {

extern const char* const optionsText;

// Returns when the box is closed. The parent window is not used: a box of its own is shown.
void ShowOptionsBox(WindowHandle parent);

}  // namespace screensaver
