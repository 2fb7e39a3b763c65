#pragma once
// Starts the game program's copy "qzt.dat" from the launcher's own folder in screensaver mode and
// waits for it to end.

namespace screensaver {

// selfPath is the launcher's own path as it was started (its first argument). Starts
// "<folder>/qzt.dat /screensaver" in that folder, with the launcher's environment, and waits.
// Starts nothing, quietly, for a missing or empty path, one that begins with a double quote or one
// without a folder. True when the game started.
bool LaunchGame(const char* selfPath);

}  // namespace screensaver
