// The demo menu in the game program, headless: replayed input hovers the first button (its
// active look shows in the frame), clicks it (the second screen shows) and clicks back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/render/PngFile.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TestSupport.h"

namespace {

using testing_support::CountOf;
using testing_support::ProgramPath;
using testing_support::RunProgram;

using render_layer::PngPicture;

// Colour channels of a pixel, x from the left and y from the top.
struct Rgb {
    int r = 0, g = 0, b = 0;
};
Rgb At(const PngPicture& picture, int x, int y) {
    const std::uint32_t p = picture.pixels[static_cast<std::size_t>(y) * picture.width + static_cast<std::size_t>(x)];
    return Rgb{static_cast<int>((p >> 16) & 255), static_cast<int>((p >> 8) & 255), static_cast<int>(p & 255)};
}
int Distance(const Rgb& a, const Rgb& b) { return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b); }

class MenuRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testing_support::FileExists(ProgramPath())) GTEST_SKIP() << "not built: " << ProgramPath();
        root = testing_support::MakeTempDir("menu");
        data = root + "data/";
        std::filesystem::copy(MARIVEL_SOURCE_DIR "/data", data, std::filesystem::copy_options::recursive);
        testing_support::WriteFile(data + "start0.lua", "dofile(\"menu.lua\")\n");
        testing_support::WriteFile(data + "start.lua", "ShowMenu()\n");
    }
    // Runs the menu's input script for the frames and gives the last frame.
    PngPicture Run(int frames) {
        const std::string shot = root + "frame" + std::to_string(frames) + ".png";
        EXPECT_EQ(0, RunProgram(data, root,
                                {"--fixed-step", "20", "--frames", std::to_string(frames), "--events",
                                 data + "menu_events.txt", "--screenshot", shot}));
        PngPicture picture;
        std::string error;
        EXPECT_TRUE(render_layer::ReadPng(shot, &picture, &error)) << error;
        EXPECT_EQ(800u, picture.width);
        EXPECT_EQ(600u, picture.height);
        if (picture.width != 800 || picture.height != 600) picture.pixels.assign(800 * 600, 0);
        return picture;
    }
    std::string Log() { return testing_support::ReadFile(root + "Tornvik Entertainment/Marivel/log.htm"); }

    std::string root;
    std::string data;
};

TEST_F(MenuRunTest, HoverShowsTheActiveLookAndKeyAndClickSwitchScreensBackAndForth) {
    PngPicture normal, active;
    ASSERT_TRUE(render_layer::ReadPng(data + "textures/menu_button_normal.png", &normal, nullptr));
    ASSERT_TRUE(render_layer::ReadPng(data + "textures/menu_button_active.png", &active, nullptr));
    // A point of the Play button left of its label, window (320, 285): the button spans window
    // x 290..510 and y 250..300 (top row first); hovered, it is lifted by 3 units up and left.
    const Rgb restingNormal = At(normal, 30, 35);
    const Rgb restingActive = At(active, 30, 35);
    const Rgb liftedNormal = At(normal, 33, 38);
    const Rgb liftedActive = At(active, 33, 38);
    ASSERT_GT(Distance(liftedNormal, liftedActive), 30);

    const Rgb before = At(Run(55), 320, 285);
    EXPECT_LT(Distance(before, restingNormal), Distance(before, restingActive));
    const Rgb hovered = At(Run(75), 320, 285);
    EXPECT_LT(Distance(hovered, liftedActive), 12);
    EXPECT_GT(Distance(hovered, liftedNormal), 30);

    // After key S the second screen's warm background fills the corner; after Back the menu's blue.
    const Rgb second = At(Run(130), 10, 10);
    EXPECT_GT(second.r, second.b);
    const Rgb back = At(Run(200), 10, 10);
    EXPECT_LT(back.r, back.b);
    const std::string log = Log();
    EXPECT_EQ(0, CountOf(log, "ERROR")) << log;
}

}  // namespace
