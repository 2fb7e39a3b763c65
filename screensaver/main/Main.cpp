// The screensaver launcher: answers the screensaver command line and starts the game program's
// copy "qzt.dat" beside it in screensaver mode.
#include "screensaver/Launcher.h"

int main(int argc, char** argv) { return screensaver::LauncherMain(argc, argv); }
