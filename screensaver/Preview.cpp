#include "screensaver/Preview.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <dlfcn.h>

#include <cstring>
#include <memory>

#include "screensaver/Launcher.h"
#include "screensaver/PreviewPictureData.h"

namespace screensaver {

namespace {

const int pictureWidth = 152;
const int pictureHeight = 112;

// Xlib's own error handler ends the process. A window of another program that does not exist, or
// goes away while it is drawn into, must end only the preview.
bool xError = false;

int RecordXError(Display*, XErrorEvent*) {
    xError = true;
    return 0;
}

// The X library is loaded by SDL's video driver; the launcher does not link it.
class XErrorCatcher {
public:
    XErrorCatcher() {
        _xlib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
        if (_xlib == nullptr) return;
        using SetHandler = XErrorHandler (*)(XErrorHandler);
        auto setHandler = reinterpret_cast<SetHandler>(dlsym(_xlib, "XSetErrorHandler"));
        _sync = reinterpret_cast<Sync>(dlsym(_xlib, "XSync"));
        if (setHandler) setHandler(&RecordXError);
    }
    ~XErrorCatcher() {
        if (_xlib) dlclose(_xlib);
    }
    XErrorCatcher(const XErrorCatcher&) = delete;
    XErrorCatcher& operator=(const XErrorCatcher&) = delete;

    void Watch(SDL_Window* window) {
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) _display = info.info.x11.display;
    }
    // Errors of requests still on their way arrive here rather than after SDL has put Xlib's own
    // handler back.
    void Drain() {
        if (_sync && _display) _sync(_display, False);
    }

private:
    using Sync = int (*)(Display*, Bool);
    void* _xlib = nullptr;
    Sync _sync = nullptr;
    Display* _display = nullptr;
};

struct SdlDeleter {
    void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
    void operator()(SDL_Renderer* r) const { SDL_DestroyRenderer(r); }
    void operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
template <class T>
using SdlPointer = std::unique_ptr<T, SdlDeleter>;

void RunPreview(SDL_Window* window, bool intoParent) {
    // Software drawing suits a window of another program whatever its visual.
    SdlPointer<SDL_Renderer> renderer(SDL_CreateRenderer(window, -1, intoParent ? SDL_RENDERER_SOFTWARE : 0));
    if (!renderer) renderer.reset(SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE));
    if (!renderer) return;
    SdlPointer<SDL_Surface> picture(LoadPreviewPicture());
    if (!picture) return;
    SdlPointer<SDL_Texture> texture(SDL_CreateTextureFromSurface(renderer.get(), picture.get()));
    if (!texture) return;

    bool stop = xError || !PaintPreview(renderer.get(), texture.get());
    while (!stop && !xError) {
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, 250) == 0) {
            // A window of another program can go away unannounced; drawing into it finds out.
            if (intoParent) stop = !PaintPreview(renderer.get(), texture.get());
            continue;
        }
        if (event.type == SDL_QUIT) {
            stop = true;
        } else if (event.type == SDL_WINDOWEVENT) {
            const Uint8 what = event.window.event;
            if (what == SDL_WINDOWEVENT_CLOSE) {
                stop = true;
            } else if (what == SDL_WINDOWEVENT_EXPOSED || what == SDL_WINDOWEVENT_SIZE_CHANGED) {
                stop = !PaintPreview(renderer.get(), texture.get());
            }
        }
    }
}

}  // namespace

SDL_Surface* LoadPreviewPicture() {
    SDL_RWops* bytes = SDL_RWFromConstMem(previewPictureBmp, static_cast<int>(previewPictureBmpSize));
    if (bytes == nullptr) return nullptr;
    return SDL_LoadBMP_RW(bytes, 1);
}

bool PaintPreview(SDL_Renderer* renderer, SDL_Texture* picture) {
    int width = 0;
    int height = 0;
    if (SDL_GetRendererOutputSize(renderer, &width, &height) != 0) return false;
    if (SDL_QueryTexture(picture, nullptr, nullptr, nullptr, nullptr) != 0) return false;
    if (width <= 0 || height <= 0) return false;
    const SDL_Rect whole = {0, 0, width, height};
    if (SDL_RenderCopy(renderer, picture, nullptr, &whole) != 0) return false;
    SDL_RenderPresent(renderer);
    return true;
}

void ShowPreview(WindowHandle parent) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return;
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool intoParent = parent != 0 && driver != nullptr && std::strcmp(driver, "x11") == 0;
    std::unique_ptr<XErrorCatcher> xErrors(intoParent ? new XErrorCatcher() : nullptr);
    {
        SdlPointer<SDL_Window> window(
            intoParent ? SDL_CreateWindowFrom(reinterpret_cast<void*>(parent))
                       : SDL_CreateWindow(launcherTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, pictureWidth,
                                          pictureHeight, SDL_WINDOW_RESIZABLE));
        if (window) {
            if (xErrors) xErrors->Watch(window.get());
            RunPreview(window.get(), intoParent);
        }
    }
    if (xErrors) xErrors->Drain();
    SDL_Quit();
}

}  // namespace screensaver
