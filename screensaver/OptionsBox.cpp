#include "screensaver/OptionsBox.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "screensaver/GameLaunch.h"
#include "screensaver/Launcher.h"

namespace screensaver {

const char* const optionsText = "This screen saver has no options that you can set.";

namespace {

// False when there is no display to show the box on (or showing it failed, which is reported).
bool ShowOnDisplay(const std::string& text) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        ReportLauncherFailure(std::string("no display for the options box: ") + SDL_GetError());
        return false;
    }
    bool shown = false;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0) {
        SDL_MessageBoxButtonData ok = {};
        ok.flags = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        ok.buttonid = 1;
        ok.text = "OK";
        SDL_MessageBoxData box = {};
        box.flags = SDL_MESSAGEBOX_INFORMATION;
        box.title = launcherTitle;
        box.message = text.c_str();
        box.numbuttons = 1;
        box.buttons = &ok;
        int pressed = 0;
        shown = SDL_ShowMessageBox(&box, &pressed) == 0;
        if (!shown) ReportLauncherFailure(std::string("the options box cannot be shown: ") + SDL_GetError());
    }
    SDL_Quit();
    return shown;
}

}  // namespace

std::string OptionsBoxText(const std::string& gameFailure) {
    std::string text = optionsText;
    if (!gameFailure.empty()) text += "\n\nThe screensaver cannot run: " + gameFailure + ".";
    return text;
}

void ShowOptionsBox(WindowHandle, const char* selfPath) {
    const std::string failure = CheckGame(selfPath);
    if (!failure.empty()) ReportLauncherFailure(failure);
    if (!ShowOnDisplay(OptionsBoxText(failure))) {
        std::printf("%s: %s\n", launcherTitle, optionsText);
        std::fflush(stdout);
    }
}

}  // namespace screensaver
