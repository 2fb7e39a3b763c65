// The demo scenery tank in the game program, headless and seeded: the menu's key Y opens it and
// key B takes every piece of equipment a step. Three runs show the equipment not bought, bought
// (at frame 95, its flares ending) and upgraded (at frame 170, the thermoregulator still
// flaring); each matches its reference picture whole, and between the first two the plants sway.
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

// Window pixels, origin top-left: the plants in the middle of the floor; the equipment on the
// left wall (thermoregulator, filter), at the surface (feeder) and on the right (compressor).
const PixelRegion PLANTS = {300, 400, 220, 180};
const PixelRegion LEFT_WALL = {10, 100, 140, 210};
const PixelRegion FEEDER = {250, 70, 70, 90};
const PixelRegion COMPRESSOR = {710, 320, 80, 90};

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
    // Frame 10: the key Y on the menu, then the key B once per step of the equipment; each run
    // keeps its own storage. Gives the screenshot of the last frame; the log stays free of errors.
    std::string Run(const std::string& name, int frames, int equipmentSteps) {
        const std::string eventsPath = root + name + ".txt";
        const std::string shot = root + name + ".png";
        const std::string home = root + name + "/";
        std::string events = "10 key 89\n";
        for (int i = 0; i < equipmentSteps; ++i) events += std::to_string(12 + 2 * i) + " key 66\n";
        testing_support::WriteFile(eventsPath, events);
        EXPECT_EQ(0, testing_support::RunProgram(data, home,
                                                 {"--fixed-step", "20", "--seed", "5", "--frames",
                                                  std::to_string(frames), "--events", eventsPath, "--screenshot", shot}));
        const std::string log = testing_support::ReadFile(home + "Tornvik Entertainment/Marivel/log.htm");
        EXPECT_EQ(log.find("ERROR"), std::string::npos) << name << ": " << log;
        return shot;
    }
    static void ExpectReference(const std::string& shot, const std::string& reference) {
        const ScreenComparison c =
            CompareWithReference(shot, testing_support::FixturePath("aquarium/fixtures/" + reference), 12, 200);
        EXPECT_TRUE(c.matches) << reference << ": " << c.report;
    }

    std::string root;
    std::string data;
};

TEST_F(SceneryRunTest, TheSceneryTankShowsItsEquipmentNotBoughtBoughtAndUpgraded) {
    const std::string none = Run("none", 60, 0);
    ExpectReference(none, "scenery-none-60.png");
    const std::string bought = Run("bought", 95, 1);
    ExpectReference(bought, "scenery-bought-95.png");
    const std::string upgraded = Run("upgraded", 170, 2);
    ExpectReference(upgraded, "scenery-upgraded-170.png");

    for (const PixelRegion& piece : {LEFT_WALL, FEEDER, COMPRESSOR}) {
        EXPECT_FALSE(ComparePictures(none, bought, 12, 20, piece).matches) << "nothing was bought";
        EXPECT_FALSE(ComparePictures(bought, upgraded, 12, 20, piece).matches) << "nothing was upgraded";
    }
    EXPECT_FALSE(ComparePictures(none, bought, 12, 200, PLANTS).matches) << "the plants stood still";
}

}  // namespace
