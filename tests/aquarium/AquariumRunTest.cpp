// The demo aquarium screen in the game program, headless: the menu's key opens it, and a mouse
// held down since a press on the Menu button opens the sell basket when it comes over it; a
// mouse that only hovers leaves the basket closed.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/ProgramRun.h"
#include "tests/support/ScreenCompare.h"
#include "tests/support/TestSupport.h"

namespace {

using testing_support::CompareWithReference;
using testing_support::PixelRegion;
using testing_support::ScreenComparison;

// Window pixels, origin top-left. Frame 10: the key A on the menu; then onto the Menu button of
// the aquarium screen and over the basket at its lower right.
const char* const HELD_EVENTS =
    "10 key 65\n"
    "30 move 130 572\n"
    "31 move 131 572\n"
    "40 down\n"
    "45 move 400 400\n"
    "50 move 720 510\n"
    "51 move 721 510\n";
const char* const HOVER_EVENTS =
    "10 key 65\n"
    "30 move 130 572\n"
    "45 move 400 400\n"
    "50 move 720 510\n"
    "51 move 721 510\n";

// The basket and its lid, in window pixels.
const PixelRegion BASKET = {670, 400, 120, 145};

class AquariumRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testing_support::FileExists(testing_support::ProgramPath())) {
            GTEST_SKIP() << "not built: " << testing_support::ProgramPath();
        }
        root = testing_support::MakeTempDir("aquarium");
        data = root + "data/";
        std::filesystem::copy(MARIVEL_SOURCE_DIR "/data", data, std::filesystem::copy_options::recursive);
        testing_support::WriteFile(data + "start0.lua", "dofile(\"menu.lua\")\n");
        testing_support::WriteFile(data + "start.lua", "ShowMenu()\n");
    }
    // Runs 70 frames of the input and gives the last frame's screenshot.
    std::string Run(const std::string& name, const std::string& events) {
        const std::string eventsPath = root + name + ".txt";
        const std::string shot = root + name + ".png";
        testing_support::WriteFile(eventsPath, events);
        EXPECT_EQ(0, testing_support::RunProgram(data, root,
                                                 {"--fixed-step", "20", "--frames", "70", "--events", eventsPath,
                                                  "--screenshot", shot}));
        return shot;
    }
    std::string Log() { return testing_support::ReadFile(root + "Tornvik Entertainment/Marivel/log.htm"); }

    std::string root;
    std::string data;
};

TEST_F(AquariumRunTest, TheBasketOpensUnderAHeldMouseOnly) {
    const std::string reference = testing_support::FixturePath("aquarium/fixtures/aquarium-screen.png");
    const ScreenComparison held = CompareWithReference(Run("held", HELD_EVENTS), reference, 12, 200);
    EXPECT_TRUE(held.matches) << held.report;
    const std::string log = Log();
    EXPECT_EQ(log.find("ERROR"), std::string::npos) << log;

    const ScreenComparison hovered = CompareWithReference(Run("hover", HOVER_EVENTS), reference, 12, 200, BASKET);
    EXPECT_FALSE(hovered.matches) << "the basket opened without a held mouse";
}

}  // namespace
