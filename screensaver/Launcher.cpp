#include "screensaver/Launcher.h"

#include <cstdio>

#include "screensaver/CommandLine.h"
#include "screensaver/GameLaunch.h"
#include "screensaver/OptionsBox.h"
#include "screensaver/Preview.h"

namespace screensaver {

const char* const launcherTitle = "Marivel Screensaver";

void ReportLauncherFailure(const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", launcherTitle, text.c_str());
    std::fflush(stderr);
}

int LauncherMain(int argc, const char* const* argv) {
    const std::string line = JoinCommandLine(argc, argv);
    const char* self = argc > 0 ? argv[0] : nullptr;
    WindowHandle handle = 0;
    if (ParseConfigSwitch(line, handle)) {
        ShowOptionsBox(handle, self);
    } else if (IsRunSwitch(line)) {
        const std::string failure = LaunchGame(self);
        if (!failure.empty()) ReportLauncherFailure(failure);
    } else if (ParsePreviewSwitch(line, handle)) {
        ShowPreview(handle);
    } else if (!ParsePasswordSwitch(line, handle)) {
        ReportLauncherFailure("\"" + line +
                              "\" is no request of a screensaver (/s runs it, /c shows its options, /p <window> "
                              "its preview, /a <window> asks for a password)");
    }
    return 0;
}

}  // namespace screensaver
