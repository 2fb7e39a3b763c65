#include "screensaver/Preview.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <dlfcn.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "screensaver/Launcher.h"
#include "screensaver/PreviewPictureData.h"

namespace screensaver {

namespace {

const int pictureWidth = 152;
const int pictureHeight = 112;

// Xlib's own handlers end the process with exit code 1: on an error, and when the connection to
// the display breaks. A window that does not exist, or goes away while it is drawn into, ends only
// the preview; a display that goes away ends the launcher with 0, as every end of it does.
// Errors about other resources (SDL asks after properties that may be gone) change nothing.
bool xError = false;
XID watchedWindow = 0;

int RecordXError(Display*, XErrorEvent* error) {
    if (watchedWindow != 0 && error->resourceid == watchedWindow) xError = true;
    return 0;
}

int EndOnLostDisplay(Display*) {
    ReportLauncherFailure("the connection to the X display broke; the preview ends");
    std::_Exit(0);
}

// The X library is the one SDL's video driver loads; the launcher does not link it. The handlers go
// in before SDL starts, so that SDL's own handler passes errors on to them and puts them back, not
// Xlib's, when it ends.
class XErrorCatcher {
public:
    XErrorCatcher() {
        _xlib = dlopen("libX11.so.6", RTLD_LAZY);
        if (_xlib == nullptr) return;
        using SetHandler = XErrorHandler (*)(XErrorHandler);
        using SetIoHandler = XIOErrorHandler (*)(XIOErrorHandler);
        auto setHandler = reinterpret_cast<SetHandler>(dlsym(_xlib, "XSetErrorHandler"));
        auto setIoHandler = reinterpret_cast<SetIoHandler>(dlsym(_xlib, "XSetIOErrorHandler"));
        _sync = reinterpret_cast<Sync>(dlsym(_xlib, "XSync"));
        if (setHandler) setHandler(&RecordXError);
        if (setIoHandler) setIoHandler(&EndOnLostDisplay);
    }
    ~XErrorCatcher() {
        if (_xlib) dlclose(_xlib);
    }
    XErrorCatcher(const XErrorCatcher&) = delete;
    XErrorCatcher& operator=(const XErrorCatcher&) = delete;

    void Watch(SDL_Window* window) {
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) {
            _display = info.info.x11.display;
            watchedWindow = info.info.x11.window;
        }
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

std::string SdlFailure(const std::string& what) { return what + ": " + SDL_GetError(); }

// Empty when the preview ran until its window went or it was asked to quit, else what failed.
std::string RunPreview(SDL_Window* window, bool isX11, const std::string& windowName) {
    // Software drawing suits a window of another program whatever its visual, and a window that
    // goes away unannounced fails one request rather than a GL context.
    SdlPointer<SDL_Renderer> renderer(SDL_CreateRenderer(window, -1, isX11 ? SDL_RENDERER_SOFTWARE : 0));
    if (!renderer) renderer.reset(SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE));
    if (!renderer) return SdlFailure("no renderer for " + windowName);
    SdlPointer<SDL_Surface> picture(LoadPreviewPicture());
    if (!picture) return SdlFailure("the preview picture cannot be read");
    SdlPointer<SDL_Texture> texture(SDL_CreateTextureFromSurface(renderer.get(), picture.get()));
    if (!texture) return SdlFailure("the preview picture cannot be made a texture");

    if (!PaintPreview(renderer.get(), texture.get()) || xError) return windowName + " cannot be drawn into";
    // From here on a failed paint or an X error means the window went away: the preview's end.
    bool stop = false;
    while (!stop && !xError) {
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, 250) == 0) {
            // A window can go away unannounced; drawing into it finds out.
            if (isX11) stop = !PaintPreview(renderer.get(), texture.get());
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
    return std::string();
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
    const char* wanted = std::getenv("SDL_VIDEODRIVER");
    std::unique_ptr<XErrorCatcher> xErrors(wanted == nullptr || std::strcmp(wanted, "x11") == 0 ? new XErrorCatcher()
                                                                                              : nullptr);
    // The window's pixels go to X as images, not through a GL context that a vanished window can
    // leave waiting.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        ReportLauncherFailure(SdlFailure("no display for the preview"));
        return;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool isX11 = driver != nullptr && std::strcmp(driver, "x11") == 0;
    const bool intoParent = parent != 0 && isX11;
    if (intoParent) watchedWindow = static_cast<XID>(parent);
    std::string failure;
    {
        const std::string windowName = intoParent ? "the window " + std::to_string(parent) : "its own window";
        SdlPointer<SDL_Window> window(
            intoParent ? SDL_CreateWindowFrom(reinterpret_cast<void*>(parent))
                       : SDL_CreateWindow(launcherTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, pictureWidth,
                                          pictureHeight, SDL_WINDOW_RESIZABLE));
        if (!window) {
            failure = SdlFailure("the preview cannot use " + windowName);
        } else {
            if (xErrors) xErrors->Watch(window.get());
            failure = RunPreview(window.get(), isX11, windowName);
        }
    }
    if (xErrors) xErrors->Drain();
    SDL_Quit();
    if (!failure.empty()) ReportLauncherFailure(failure);
}

}  // namespace screensaver
