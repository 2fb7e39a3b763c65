// The match-three effects demo in the game program, headless: the menu's key E opens it, and one
// second later every effect is on the screen mid-flight; the frame is compared with the reference.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/ProgramRun.h"
#include "tests/support/ScreenCompare.h"
#include "tests/support/TestSupport.h"

namespace {

using testing_support::ProgramPath;

TEST(EffectsScreenRunTest, EveryEffectShowsMidFlightAsInTheReference) {
    if (!testing_support::FileExists(ProgramPath())) GTEST_SKIP() << "not built: " << ProgramPath();
    const std::string root = testing_support::MakeTempDir("effects-run");
    const std::string data = root + "data/";
    std::filesystem::copy(MARIVEL_SOURCE_DIR "/data", data, std::filesystem::copy_options::recursive);
    // The developer menu at once, as the game shows it on F12 when "dev" is true.
    testing_support::WriteFile(data + "start0.lua", "dofile(\"menu.lua\")\n");
    testing_support::WriteFile(data + "start.lua", "ShowMenu()\n");
    // Key E on the menu at frame 5; the demo's schedule is one second in by frame 56 (20 ms a frame).
    testing_support::WriteFile(root + "events.txt", "5 key 69\n");
    const std::string shot = root + "effects.png";
    ASSERT_EQ(0, testing_support::RunProgram(data, root,
                                             {"--fixed-step", "20", "--frames", "56", "--events", root + "events.txt",
                                              "--screenshot", shot}));
    const std::string log = testing_support::ReadFile(root + "Tornvik Entertainment/Marivel/log.htm");
    EXPECT_EQ(std::string::npos, log.find("ERROR")) << log;
    const testing_support::ScreenComparison comparison =
        testing_support::CompareWithReference(shot, MARIVEL_SOURCE_DIR "/tests/match3/fixtures/effects.png", 24, 800);
    EXPECT_TRUE(comparison.matches) << comparison.report;
}

}  // namespace
