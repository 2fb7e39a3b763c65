// The preview picture, its stretch over the output, and the options and preview requests run headless.
#include <SDL.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <memory>

#include "screensaver/Preview.h"
#include "tests/screensaver/LauncherRun.h"
#include "tests/support/TestSupport.h"

using screensaver_test::LauncherPath;
using screensaver_test::LauncherRun;
using screensaver_test::LauncherStart;
using testing_support::FileExists;
using testing_support::ReadFile;

namespace {

struct SdlDeleter {
    void operator()(SDL_Renderer* r) const { SDL_DestroyRenderer(r); }
    void operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
template <class T>
using SdlPointer = std::unique_ptr<T, SdlDeleter>;

SdlPointer<SDL_Surface> Surface(int width, int height) {
    return SdlPointer<SDL_Surface>(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888));
}

Uint32 PixelAt(const SDL_Surface* s, int x, int y) {
    return static_cast<const Uint32*>(s->pixels)[y * (s->pitch / 4) + x];
}

// Paints the preview picture onto a fresh surface of the given size; null when painting fails.
SdlPointer<SDL_Surface> Paint(int width, int height) {
    SdlPointer<SDL_Surface> target = Surface(width, height);
    SdlPointer<SDL_Renderer> renderer(SDL_CreateSoftwareRenderer(target.get()));
    SdlPointer<SDL_Surface> picture(screensaver::LoadPreviewPicture());
    if (!renderer || !picture) return nullptr;
    SdlPointer<SDL_Texture> texture(SDL_CreateTextureFromSurface(renderer.get(), picture.get()));
    if (!texture || !screensaver::PaintPreview(renderer.get(), texture.get())) return nullptr;
    return target;
}

SdlPointer<SDL_Surface> PictureAsArgb() {
    SdlPointer<SDL_Surface> picture(screensaver::LoadPreviewPicture());
    return SdlPointer<SDL_Surface>(picture ? SDL_ConvertSurfaceFormat(picture.get(), SDL_PIXELFORMAT_ARGB8888, 0)
                                           : nullptr);
}

}  // namespace

TEST(PreviewTest, PictureIs152By112At24Bits) {
    SdlPointer<SDL_Surface> picture(screensaver::LoadPreviewPicture());
    ASSERT_TRUE(picture) << SDL_GetError();
    EXPECT_EQ(152, picture->w);
    EXPECT_EQ(112, picture->h);
    EXPECT_EQ(24, picture->format->BitsPerPixel);
}

TEST(PreviewTest, PaintStretchesTheWholePictureOverTheWholeOutput) {
    SdlPointer<SDL_Surface> picture = PictureAsArgb();
    ASSERT_TRUE(picture);
    ASSERT_NE(PixelAt(picture.get(), 0, 0), PixelAt(picture.get(), 151, 111));
    const int sizes[][2] = {{152, 112}, {304, 224}, {500, 90}, {37, 200}};
    for (const auto& size : sizes) {
        const int w = size[0];
        const int h = size[1];
        SdlPointer<SDL_Surface> painted = Paint(w, h);
        ASSERT_TRUE(painted) << w << "x" << h << ": " << SDL_GetError();
        // Every output pixel is a picture pixel from the part of the picture it covers (give or take
        // one for rounding).
        int wrong = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                bool found = false;
                for (int sy = y * 112 / h - 1; sy <= (y + 1) * 112 / h && !found; ++sy) {
                    for (int sx = x * 152 / w - 1; sx <= (x + 1) * 152 / w && !found; ++sx) {
                        found = sx >= 0 && sx < 152 && sy >= 0 && sy < 112 &&
                                PixelAt(picture.get(), sx, sy) == PixelAt(painted.get(), x, y);
                    }
                }
                if (!found) ++wrong;
            }
        }
        EXPECT_EQ(0, wrong) << w << "x" << h;
    }
    // Twice the size: every picture pixel becomes a square of four.
    SdlPointer<SDL_Surface> doubled = Paint(304, 224);
    ASSERT_TRUE(doubled);
    int wrong = 0;
    for (int y = 0; y < 224; ++y) {
        for (int x = 0; x < 304; ++x) wrong += PixelAt(doubled.get(), x, y) != PixelAt(picture.get(), x / 2, y / 2);
    }
    EXPECT_EQ(0, wrong);
}

TEST(PreviewTest, EmptyOutputEndsThePreview) {
    EXPECT_FALSE(Paint(0, 0));
}

class PreviewRunTest : public testing::Test {
protected:
    void SetUp() override {
        if (!FileExists(LauncherPath())) GTEST_SKIP() << "the launcher is not built: " << LauncherPath();
        root = testing_support::MakeTempDir("preview");
    }
    void TearDown() override {
        std::error_code ignored;
        if (!root.empty()) std::filesystem::remove_all(root, ignored);
    }
    LauncherStart Start(const std::vector<std::string>& args) {
        LauncherStart start;
        start.self = root + "marivel-screensaver";
        start.args = args;
        start.folder = root;
        start.output = root + "out.txt";
        return start;
    }
    std::string root;
};

TEST_F(PreviewRunTest, PreviewShowsUntilTheLauncherIsAskedToQuit) {
    LauncherRun run(Start({"/p", "4567"}));
    ASSERT_TRUE(run.Started());
    EXPECT_TRUE(run.StillRunningAfter(1000));
    run.Signal(SIGTERM);
    EXPECT_EQ(0, run.Wait(30));
}

TEST_F(PreviewRunTest, OptionsRequestWithoutADisplayWritesItsTextToStandardOutput) {
    const std::string text = "Marivel Screensaver: This screen saver has no options that you can set.\n";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, text}, {{"/c"}, text}, {{"-C:1234"}, text}, {{"/c", "1234"}, text}, {{"/c:"}, ""}, {{"/a", "12"}, ""}};
    for (const auto& c : cases) {
        const std::string line = c.first.empty() ? "(none)" : c.first[0];
        EXPECT_EQ(0, screensaver_test::RunLauncher(Start(c.first))) << line;
        EXPECT_EQ(c.second, ReadFile(root + "out.txt")) << line;
    }
}
