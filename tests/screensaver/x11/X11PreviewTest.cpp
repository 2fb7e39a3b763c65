// The preview drawn into a window of another program, on an X display (skipped without one).
#include <gtest/gtest.h>
// After gtest: Xlib defines None and Bool as macros.
#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "screensaver/Preview.h"
#include "tests/screensaver/LauncherRun.h"
#include "tests/support/TestSupport.h"

using screensaver_test::LauncherPath;
using screensaver_test::LauncherRun;
using screensaver_test::LauncherStart;

namespace {

class X11PreviewTest : public testing::Test {
protected:
    void SetUp() override {
        if (!testing_support::FileExists(LauncherPath())) GTEST_SKIP() << "the launcher is not built";
        const char* name = std::getenv("DISPLAY");
        if (name == nullptr || *name == '\0') GTEST_SKIP() << "no X display";
        display = XOpenDisplay(nullptr);
        if (display == nullptr) GTEST_SKIP() << "the X display does not open";
        window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 300, 200, 0, 0, 0);
        XMapWindow(display, window);
        XSync(display, False);
    }
    void TearDown() override {
        if (display == nullptr) return;
        if (window) XDestroyWindow(display, window);
        XCloseDisplay(display);
    }
    LauncherStart Start(const std::vector<std::string>& args) {
        LauncherStart start;
        start.self = "/marivel-screensaver";
        start.args = args;
        start.env = {"SDL_VIDEODRIVER=x11"};
        return start;
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
}

TEST_F(X11PreviewTest, WindowThatDoesNotExistEndsThePreviewQuietly) {
    XDestroyWindow(display, window);
    XSync(display, False);
    const std::string gone = std::to_string(window);
    window = 0;
    EXPECT_EQ(0, screensaver_test::RunLauncher(Start({"/p", gone})));
}
