#include "screensaver/Launcher.h"

#include "screensaver/CommandLine.h"
#include "screensaver/GameLaunch.h"
#include "screensaver/OptionsBox.h"
#include "screensaver/Preview.h"

namespace screensaver {

const char* const launcherTitle = "Marivel Screensaver";

int LauncherMain(int argc, const char* const* argv) {
    const std::string line = JoinCommandLine(argc, argv);
    WindowHandle handle = 0;
    if (ParseConfigSwitch(line, handle)) {
        ShowOptionsBox(handle);
    } else if (IsRunSwitch(line)) {
        LaunchGame(argc > 0 ? argv[0] : nullptr);
    } else if (ParsePreviewSwitch(line, handle)) {
        ShowPreview(handle);
    } else {
        ParsePasswordSwitch(line, handle);
    }
    return 0;
}

}  // namespace screensaver
