#pragma once
// Starts the game program's copy "qzt.dat" from the launcher's own folder in screensaver mode and
// waits for it to end.

#include <string>

namespace screensaver {

// selfPath is the launcher's own path as it was started (its first argument). Starts
// "<folder>/qzt.dat /screensaver" in that folder, with the launcher's environment, and waits.
// Starts nothing for a missing or empty path, one that begins with a double quote or one without a
// folder. Empty when the game started and ended well, else what went wrong, in a sentence.
std::string LaunchGame(const char* selfPath);

// Whether "qzt.dat" beside the launcher is there and can be started, without starting it: empty
// when it can, else what is wrong, in a sentence.
std::string CheckGame(const char* selfPath);

}  // namespace screensaver
