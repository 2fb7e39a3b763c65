// The demo scenery tank in the game program, headless: the menu's key Y opens it; two chosen
// frames match their reference pictures where the scene follows the clock alone (caustics, mill,
// arrows, stars, cups; the program seeds its random draws from the clock), and between them the
// plants sway.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/ProgramRun.h"
#include "tests/support/ScreenCompare.h"
#include "tests/support/TestSupport.h"

namespace {

using testing_support::CompareWithReference;
using testing_support::ComparePictures;
using testing_support::PixelRegion;
using testing_support::ScreenComparison;

// Window pixels, origin top-left: the plants in the middle of the floor; the water above the
// floor with the caustic rays, mill, arrows and stars; the row of cups and the tank's cup.
const PixelRegion PLANTS = {300, 400, 220, 180};
const PixelRegion WATER = {0, 0, 620, 380};
const PixelRegion CUPS = {570, 25, 200, 45};

class SceneryRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testing_support::FileExists(testing_support::ProgramPath())) {
            GTEST_SKIP() << "not built: " << testing_support::ProgramPath();
        }
        root = testing_support::MakeTempDir("scenery");
        data = root + "data/";
        std::filesystem::copy(MARIVEL_SOURCE_DIR "/data", data, std::filesystem::copy_options::recursive);
        testing_support::WriteFile(data + "start0.lua", "dofile(\"menu.lua\")\n");
        testing_support::WriteFile(data + "start.lua", "ShowMenu()\n");
    }
    // Frame 10: the key Y on the menu; gives the screenshot of the last frame.
    std::string Run(const std::string& name, int frames) {
        const std::string eventsPath = root + name + ".txt";
        const std::string shot = root + name + ".png";
        testing_support::WriteFile(eventsPath, "10 key 89\n");
        EXPECT_EQ(0, testing_support::RunProgram(data, root,
                                                 {"--fixed-step", "20", "--frames", std::to_string(frames), "--events",
                                                  eventsPath, "--screenshot", shot}));
        return shot;
    }
    std::string Log() { return testing_support::ReadFile(root + "Tornvik Entertainment/Marivel/log.htm"); }

    std::string root;
    std::string data;
};

TEST_F(SceneryRunTest, TheSceneryTankLivesAndMatchesItsChosenFrames) {
    const std::string early = Run("early", 60);
    const std::string earlyReference = testing_support::FixturePath("aquarium/fixtures/scenery-60.png");
    for (const PixelRegion& region : {WATER, CUPS}) {
        const ScreenComparison first = CompareWithReference(early, earlyReference, 12, 200, region);
        EXPECT_TRUE(first.matches) << first.report;
    }
    const std::string log = Log();
    EXPECT_EQ(log.find("ERROR"), std::string::npos) << log;

    const std::string late = Run("late", 95);
    const std::string lateReference = testing_support::FixturePath("aquarium/fixtures/scenery-95.png");
    for (const PixelRegion& region : {WATER, CUPS}) {
        const ScreenComparison second = CompareWithReference(late, lateReference, 12, 200, region);
        EXPECT_TRUE(second.matches) << second.report;
    }
    EXPECT_EQ(Log().find("ERROR"), std::string::npos) << Log();

    const ScreenComparison plants = ComparePictures(early, late, 12, 200, PLANTS);
    EXPECT_FALSE(plants.matches) << "the plants stood still";
}

}  // namespace
