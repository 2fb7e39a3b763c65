// The game in the game program, headless: the menu's Play opens level 1; a run won with the
// developer key that clears the paint shows the level-complete box and stores the money and the
// next level number; a run left alone runs out of time and shows the out-of-time dialog.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/ProgramRun.h"
#include "tests/support/ScreenCompare.h"
#include "tests/support/TestSupport.h"

namespace {

using testing_support::ProgramPath;

// The seeded profile with the hint boxes off, so no box pauses the field.
const char* const STORAGE = R"(<Storage>
	<Globals>
		<Variable name="isCursorCustom" type="bool" value="true"/>
		<Variable name="isFullScreen" type="bool" value="false"/>
		<Variable name="zipLog" type="bool" value="false"/>
	</Globals>
	<Player name="Player">
		<Variable name="LevelNumber" type="int" value="1"/>
		<Variable name="Lap Number" type="int" value="0"/>
		<Variable name="Money" type="int" value="10"/>
		<Variable name="Show game field hints" type="bool" value="false"/>
		<Variable name="isCursorCustom" type="bool" value="true"/>
		<Variable name="isFullScreen" type="bool" value="false"/>
	</Player>
	<ActivePlayer name="Player"/>
</Storage>
)";

class FieldRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testing_support::FileExists(ProgramPath())) GTEST_SKIP() << "not built: " << ProgramPath();
        root = testing_support::MakeTempDir("field-run");
        data = root + "data/";
        std::filesystem::copy(MARIVEL_SOURCE_DIR "/data", data, std::filesystem::copy_options::recursive);
        testing_support::WriteFile(data + "Storage.xml", STORAGE);
    }
    // Runs the events and gives the screenshot of the last frame.
    std::string Run(const std::string& events, int step, int frames) {
        testing_support::WriteFile(root + "events.txt", events);
        const std::string shot = root + "field.png";
        EXPECT_EQ(0, testing_support::RunProgram(data, root,
                                                 {"--fixed-step", std::to_string(step), "--frames",
                                                  std::to_string(frames), "--events", root + "events.txt",
                                                  "--screenshot", shot}));
        return shot;
    }
    // dev=true in the game's settings.
    void EnableDeveloperKeys() {
        std::string settings = testing_support::ReadFile(data + "settings.ini");
        const std::size_t dev = settings.find("dev=false");
        ASSERT_NE(std::string::npos, dev);
        settings.replace(dev, 9, "dev=true");
        testing_support::WriteFile(data + "settings.ini", settings);
    }
    std::string Folder() { return root + "Tornvik Entertainment/Marivel/"; }
    std::string Log() { return testing_support::ReadFile(Folder() + "log.htm"); }
    std::string Stored() { return testing_support::ReadFile(Folder() + "Storage.xml"); }
    static bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

    std::string root;
    std::string data;
};

// Window pixels, origin top-left. The Play button spans y 250..300; level 1 is 6 x 6 cells of 44
// units centred on (380, 280): cell (2, 2) has its centre at window (358, 298). The menu's buttons
// take input only once they have come in: a press at 0.4 s goes unheard, one at 1 s is taken.
TEST_F(FieldRunTest, Level1IsWonAndTheProfileMovesOn) {
    // The developer keys, among them T that clears every paint.
    EnableDeveloperKeys();
    // Play, the first press on cell (2, 2), then T.
    const std::string shot = Run(
        "18 move 400 275\n19 move 401 275\n20 down\n21 up\n"
        "60 move 358 298\n61 move 359 298\n62 down\n63 up\n"
        "70 key 84\n",
        50, 100);
    const std::string log = Log();
    EXPECT_EQ(std::string::npos, log.find("ERROR")) << log;
    const std::string stored = Stored();
    EXPECT_TRUE(Has(stored, "<Variable name=\"LevelNumber\" type=\"int\" value=\"2\"/>")) << stored;
    EXPECT_FALSE(Has(stored, "<Variable name=\"Money\" type=\"int\" value=\"10\"/>")) << stored;
    EXPECT_TRUE(Has(stored, "<Variable name=\"Levels lost\" type=\"int\" value=\"0\"/>")) << stored;
    const testing_support::ScreenComparison comparison =
        testing_support::CompareWithReference(shot, MARIVEL_SOURCE_DIR "/tests/match3/fixtures/field_won.png", 24, 800);
    EXPECT_TRUE(comparison.matches) << comparison.report;
}

// A black bomb made with the developer key F2 and set off by a double click: its sample, its
// burst and the money texts over the cleared cells all find their content.
TEST_F(FieldRunTest, ABombFindsItsSampleBurstAndMoneyFont) {
    EnableDeveloperKeys();
    // Play, the first press on cell (2, 2), F2 and a double click there.
    Run("18 move 400 275\n19 move 401 275\n20 down\n21 up\n"
        "60 move 358 298\n61 move 359 298\n62 down\n63 up\n"
        "70 key 113\n72 dblclick\n73 up\n",
        50, 100);
    const std::string log = Log();
    EXPECT_EQ(std::string::npos, log.find("ERROR")) << log;
    // The bomb washed paint away: fewer than the level's 16 silver cells are left.
    const std::string stored = Stored();
    EXPECT_TRUE(Has(stored, "<Variable name=\"silverCount\" type=\"string\" value=\"x")) << stored;
    EXPECT_FALSE(Has(stored, "<Variable name=\"silverCount\" type=\"string\" value=\"x16\"/>")) << stored;
}

TEST_F(FieldRunTest, Level1RunsOutOfTime) {
    // 100 ms frames: the first press at frame 22 starts the 30 s of level 1.
    const std::string shot = Run(
        "3 move 400 275\n4 move 401 275\n5 down\n6 up\n"
        "20 move 358 298\n21 move 359 298\n22 down\n23 up\n",
        100, 340);
    const std::string log = Log();
    EXPECT_EQ(std::string::npos, log.find("ERROR")) << log;
    const std::string stored = Stored();
    EXPECT_TRUE(Has(stored, "<Variable name=\"Levels lost\" type=\"int\" value=\"1\"/>")) << stored;
    EXPECT_TRUE(Has(stored, "<Variable name=\"Money\" type=\"int\" value=\"10\"/>")) << stored;
    EXPECT_TRUE(Has(stored, "<Variable name=\"LevelNumber\" type=\"int\" value=\"1\"/>")) << stored;
    const testing_support::ScreenComparison comparison = testing_support::CompareWithReference(
        shot, MARIVEL_SOURCE_DIR "/tests/match3/fixtures/field_time_out.png", 24, 800);
    EXPECT_TRUE(comparison.matches) << comparison.report;
}

}  // namespace
