// The demo animation screen in the game program, headless: opened from the menu by its key, a card
// skipped by a click, the hint shown and hidden, the time scale slowed by Pause. Three runs of the
// same input stop at different frames; each frame is compared with its reference picture.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/ProgramRun.h"
#include "tests/support/ScreenCompare.h"
#include "tests/support/TestSupport.h"

namespace {

using testing_support::CountOf;
using testing_support::ProgramPath;
using testing_support::RunProgram;

struct AnimationRun {
    std::string log;
    bool ran = false;
};

// Runs the screen to the frame and compares the last picture with the reference.
AnimationRun RunTo(int frames, const std::string& reference) {
    AnimationRun run;
    const std::string root = testing_support::MakeTempDir("animation-screen");
    const std::string data = root + "data/";
    std::filesystem::copy(MARIVEL_SOURCE_DIR "/data", data, std::filesystem::copy_options::recursive);
    testing_support::WriteFile(data + "start0.lua", "dofile(\"menu.lua\")\n");
    testing_support::WriteFile(data + "start.lua", "ShowMenu()\n");
    // The time scale keys are a developer's.
    std::string settings = testing_support::ReadFile(data + "settings.ini");
    const std::size_t dev = settings.find("dev=false");
    EXPECT_NE(std::string::npos, dev);
    if (dev != std::string::npos) settings.replace(dev, 9, "dev=true");
    testing_support::WriteFile(data + "settings.ini", settings);
    const std::string shot = root + "animation.png";
    const int code = RunProgram(data, root,
                                {"--fixed-step", "20", "--frames", std::to_string(frames), "--events",
                                 testing_support::FixturePath("widgets/fixtures/animation_events.txt"), "--screenshot",
                                 shot});
    EXPECT_EQ(0, code) << frames;
    if (code != 0) return run;
    // The logo's bubbles sway from random angles: their band is only checked roughly.
    const std::string path = testing_support::FixturePath("widgets/fixtures/" + reference);
    struct Band {
        testing_support::PixelRegion region;
        std::size_t outliers;
    };
    const Band bands[] = {{{0, 0, 800, 95}, 60}, {{0, 95, 800, 105}, 4000}, {{0, 200, 800, 400}, 60}};
    for (const Band& band : bands) {
        const testing_support::ScreenComparison comparison =
            testing_support::CompareWithReference(shot, path, 16, band.outliers, band.region);
        EXPECT_TRUE(comparison.matches) << reference << " from row " << band.region.y << ": " << comparison.report;
    }
    run.log = testing_support::ReadFile(root + "Tornvik Entertainment/Marivel/log.htm");
    run.ran = true;
    EXPECT_EQ(0, CountOf(run.log, "ERROR")) << run.log;
    return run;
}

TEST(AnimationScreenRunTest, TheLogoTextAndCardsAnimateAndAFrameIsSkipped) {
    if (!testing_support::FileExists(ProgramPath())) GTEST_SKIP() << "not built: " << ProgramPath();
    RunTo(60, "animation-appearing.png");
}

TEST(AnimationScreenRunTest, TheHintPanelComesUpAndPointsAtTheCards) {
    if (!testing_support::FileExists(ProgramPath())) GTEST_SKIP() << "not built: " << ProgramPath();
    const AnimationRun run = RunTo(160, "animation-hint.png");
    EXPECT_EQ(0, CountOf(run.log, "Hint closed")) << run.log;
}

TEST(AnimationScreenRunTest, TheHintClosesAndPauseHalvesTheTimeScale) {
    if (!testing_support::FileExists(ProgramPath())) GTEST_SKIP() << "not built: " << ProgramPath();
    const AnimationRun run = RunTo(300, "animation-slow.png");
    ASSERT_TRUE(run.ran);
    EXPECT_EQ(1, CountOf(run.log, "Hint closed")) << run.log;
    EXPECT_EQ(1, CountOf(run.log, "Time scale: 0.5")) << run.log;
}

}  // namespace
