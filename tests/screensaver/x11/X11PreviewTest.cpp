// The preview on an X display: drawn into a window of another program, and in its own window
// closed from outside in every way an X client can see. Skipped without a display, except where
// MARIVEL_REQUIRE_X11 is set (the ctest run under xvfb-run), where that is a failure.
#include <gtest/gtest.h>
// After gtest: Xlib defines None and Bool as macros.
#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "screensaver/Preview.h"
#include "tests/screensaver/LauncherRun.h"
#include "tests/support/TestSupport.h"

using screensaver_test::LauncherPath;
using screensaver_test::LauncherRun;
using screensaver_test::LauncherStart;

namespace {

#define SKIP_OR_FAIL(why)                                     \
    do {                                                      \
        if (std::getenv("MARIVEL_REQUIRE_X11") != nullptr) {  \
            FAIL() << why;                                    \
        } else {                                              \
            GTEST_SKIP() << why;                              \
        }                                                     \
    } while (false)

// Windows of the launcher come and go while the test looks at them: an error about one is no fault.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

class X11PreviewTest : public testing::Test {
protected:
    void SetUp() override {
        if (!testing_support::FileExists(LauncherPath())) SKIP_OR_FAIL("the launcher is not built: " << LauncherPath());
        const char* name = std::getenv("DISPLAY");
        if (name == nullptr || *name == '\0') SKIP_OR_FAIL("no X display");
        display = XOpenDisplay(nullptr);
        if (display == nullptr) SKIP_OR_FAIL("the X display does not open");
        root = testing_support::MakeTempDir("x11");
        XSetErrorHandler(&IgnoreXError);
        window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 300, 200, 0, 0, 0);
        XMapWindow(display, window);
        XSync(display, False);
    }
    void TearDown() override {
        if (!root.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(root, ignored);
        }
        if (display == nullptr) return;
        if (window) XDestroyWindow(display, window);
        XCloseDisplay(display);
    }
    LauncherStart Start(const std::vector<std::string>& args) {
        LauncherStart start;
        start.self = "/marivel-screensaver";
        start.args = args;
        start.env = {"SDL_VIDEODRIVER=x11"};
        start.errors = root + "errors.txt";
        return start;
    }
    std::string Errors() { return testing_support::ReadFile(root + "errors.txt"); }
    // The launcher's own window, found by its title within a few seconds; 0 when none shows.
    Window FindLauncherWindow() {
        for (int tries = 0; tries < 100; ++tries) {
            Window rootWindow = 0, parent = 0, *children = nullptr;
            unsigned int count = 0;
            Window found = 0;
            if (XQueryTree(display, DefaultRootWindow(display), &rootWindow, &parent, &children, &count)) {
                for (unsigned int i = 0; i < count && found == 0; ++i) {
                    char* title = nullptr;
                    if (XFetchName(display, children[i], &title) && title != nullptr) {
                        if (std::string(title) == "Marivel Screensaver") found = children[i];
                        XFree(title);
                    }
                }
                if (children) XFree(children);
            }
            if (found) return found;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return 0;
    }
    // The window's pixel as 0xRRGGBB.
    unsigned long PixelAt(int x, int y) {
        XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
        if (image == nullptr) return 0xFFFFFFFF;
        const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
        XDestroyImage(image);
        return pixel;
    }

    Display* display = nullptr;
    Window window = 0;
    std::string root;
};

unsigned long PicturePixel(int x, int y) {
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> picture(screensaver::LoadPreviewPicture(), SDL_FreeSurface);
    Uint8 r = 0, g = 0, b = 0;
    const Uint8* row = static_cast<const Uint8*>(picture->pixels) + y * picture->pitch;
    Uint32 value = 0;
    std::memcpy(&value, row + x * 3, 3);
    SDL_GetRGB(value, picture->format, &r, &g, &b);
    return (static_cast<unsigned long>(r) << 16) | (g << 8) | b;
}

}  // namespace

TEST_F(X11PreviewTest, PreviewFillsTheGivenWindowAndEndsWhenItGoesAway) {
    LauncherRun run(Start({"/p", std::to_string(window)}));
    ASSERT_TRUE(run.Started());
    ASSERT_TRUE(run.StillRunningAfter(1500));
    EXPECT_EQ(PicturePixel(0, 0), PixelAt(0, 0));
    EXPECT_EQ(PicturePixel(151, 111), PixelAt(299, 199));
    XDestroyWindow(display, window);
    XSync(display, False);
    window = 0;
    EXPECT_EQ(0, run.Wait(10));
    EXPECT_EQ("", Errors());
}

TEST_F(X11PreviewTest, WindowThatDoesNotExistEndsThePreviewWithAReportAndExitCodeZero) {
    XDestroyWindow(display, window);
    XSync(display, False);
    const std::string gone = std::to_string(window);
    window = 0;
    EXPECT_EQ(0, screensaver_test::RunLauncher(Start({"/p", gone})));
    const std::string errors = Errors();
    EXPECT_NE(std::string::npos, errors.find("Marivel Screensaver: ")) << errors;
    EXPECT_NE(std::string::npos, errors.find("the window " + gone)) << errors;
    EXPECT_EQ(std::string::npos, errors.find("X Error")) << errors;
}

// However its own window goes, the preview of "/p 0" ends with 0 and no X error reaches Xlib's own
// handler (which would end it with 1).
TEST_F(X11PreviewTest, OwnPreviewWindowClosedFromOutsideEndsWithExitCodeZero) {
    const std::vector<std::pair<const char*, std::function<void(Window)>>> ways = {
        {"asked to close", [this](Window w) {
             XEvent close = {};
             close.xclient.type = ClientMessage;
             close.xclient.window = w;
             close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
             close.xclient.format = 32;
             close.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
             close.xclient.data.l[1] = CurrentTime;
             XSendEvent(display, w, False, NoEventMask, &close);
         }},
        {"destroyed by another client", [this](Window w) { XDestroyWindow(display, w); }},
        {"its connection killed", [this](Window w) { XKillClient(display, w); }},
    };
    for (const auto& way : ways) {
        LauncherRun run(Start({"/p", "0"}));
        ASSERT_TRUE(run.Started());
        const Window own = FindLauncherWindow();
        ASSERT_NE(0u, own) << way.first << ": the preview window does not show";
        ASSERT_TRUE(run.StillRunningAfter(300)) << way.first;
        way.second(own);
        XSync(display, False);
        EXPECT_EQ(0, run.Wait(10)) << way.first;
        const std::string errors = Errors();
        EXPECT_EQ(std::string::npos, errors.find("X Error")) << way.first << ": " << errors;
    }
}
