#include "screensaver/OptionsBox.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "screensaver/Launcher.h"

namespace screensaver {

const char* const optionsText = "This screen saver has no options that you can set.";

namespace {

bool ShowOnDisplay() {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
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
        box.message = optionsText;
        box.numbuttons = 1;
        box.buttons = &ok;
        int pressed = 0;
        shown = SDL_ShowMessageBox(&box, &pressed) == 0;
    }
    SDL_Quit();
    return shown;
}

}  // namespace

void ShowOptionsBox(WindowHandle) {
    if (!ShowOnDisplay()) {
        std::printf("%s: %s\n", launcherTitle, optionsText);
        std::fflush(stdout);
    }
}

}  // namespace screensaver
