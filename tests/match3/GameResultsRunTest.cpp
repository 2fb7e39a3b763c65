// The level-complete statistics and the level editor in the game program, headless: a won level
// shows the statistics, a click counts them up at once and the next one goes on; a scripted editor
// session writes the level file, and the edited level is then played.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/ProgramRun.h"
#include "tests/support/ScreenCompare.h"
#include "tests/support/TestSupport.h"

namespace {

using testing_support::ProgramPath;

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
		<Variable name="1 Cup" type="string" value="Silver"/>
		<Variable name="2 Cup" type="string" value="Bronze"/>
	</Player>
	<ActivePlayer name="Player"/>
</Storage>
)";

// Window pixels, origin top-left, 50 ms frames. The menu (ready from about frame 10) gets its Play
// press at frame 17; level 1 is 6 x 6 cells of 44 units centred on (380, 280), so its top row is
// at window y 188 to 232.
const char* const PLAY = "14 move 400 275\n15 move 401 275\n17 down\n18 up\n";

class GameResultsRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testing_support::FileExists(ProgramPath())) GTEST_SKIP() << "not built: " << ProgramPath();
        root = testing_support::MakeTempDir("results-run");
        data = root + "data/";
        std::filesystem::copy(MARIVEL_SOURCE_DIR "/data", data, std::filesystem::copy_options::recursive);
        testing_support::WriteFile(data + "Storage.xml", STORAGE);
        // The developer keys: T clears the paint, F5 the editor.
        std::string settings = testing_support::ReadFile(data + "settings.ini");
        const std::size_t dev = settings.find("dev=false");
        ASSERT_NE(std::string::npos, dev);
        settings.replace(dev, 9, "dev=true");
        testing_support::WriteFile(data + "settings.ini", settings);
    }
    std::string Run(const std::string& events, int frames) {
        testing_support::WriteFile(root + "events.txt", events);
        const std::string shot = root + "shot.png";
        EXPECT_EQ(0, testing_support::RunProgram(data, root,
                                                 {"--fixed-step", "50", "--frames", std::to_string(frames), "--events",
                                                  root + "events.txt", "--screenshot", shot}));
        const std::string log = testing_support::ReadFile(root + "Tornvik Entertainment/Marivel/log.htm");
        EXPECT_EQ(std::string::npos, log.find("ERROR")) << log;
        return shot;
    }
    void ExpectLooksLike(const std::string& shot, const std::string& fixture) {
        const testing_support::ScreenComparison comparison = testing_support::CompareWithReference(
            shot, std::string(MARIVEL_SOURCE_DIR "/tests/match3/fixtures/") + fixture, 24, 800);
        EXPECT_TRUE(comparison.matches) << comparison.report;
    }

    std::string root;
    std::string data;
};

// The first press on cell (2, 2) starts the level, T wins it at frame 50; the banner has appeared
// about two seconds later, when the click at frame 95 counts everything up at once.
const char* const WIN = "40 move 358 298\n41 move 359 298\n42 down\n43 up\n50 key 84\n"
                        "94 move 400 300\n95 down\n96 up\n";

TEST_F(GameResultsRunTest, AWonLevelShowsItsStatisticsCountedUpByAClick) {
    ExpectLooksLike(Run(std::string(PLAY) + WIN, 110), "statistics_counted.png");
}

TEST_F(GameResultsRunTest, TheClickAfterTheCountGoesOn) {
    ExpectLooksLike(Run(std::string(PLAY) + WIN + "110 down\n111 up\n", 140), "statistics_closed.png");
}

// F5 starts the editor on level 1. Tool 2 (silver) is chosen on the panel, a drag from the top row
// to above it grows the board by a row and paints two cells; tool 3 (gold) paints a cell right of
// the board, which grows a column; the right button then erases the bottom left cell. F2 names
// the level "Level04" (saved at once), and F5 saves it again and plays it.
const char* const EDIT =
    "50 key 116\n"
    "60 move 24 132\n61 down\n62 up\n"
    "65 move 314 210\n66 down\n67 move 314 180\n68 move 358 180\n69 up\n"
    "72 move 24 172\n73 down\n74 up\n"
    "77 move 490 320\n78 down\n79 move 534 320\n80 up\n"
    "83 move 248 452\n84 rdown\n85 rup\n"
    "88 key 113\n"
    "100 key 8\n101 key 8\n102 key 8\n103 key 8\n104 key 8\n105 key 8\n106 key 8\n107 text Level04\n"
    "110 move 280 355\n111 down\n112 up\n"
    "120 key 116\n";

TEST_F(GameResultsRunTest, AnEditorSessionWritesTheLevelFileAndTheEditedLevelPlays) {
    // The edited level's first press, then a wait for the timer's first seconds.
    const std::string shot = Run(std::string(PLAY) + EDIT + "150 move 336 276\n151 move 337 276\n152 down\n153 up\n", 170);
    EXPECT_EQ(testing_support::ReadFile(MARIVEL_SOURCE_DIR "/tests/match3/fixtures/edited_levels.xml"),
              testing_support::ReadFile(data + "PlLevels.xml"));
    const std::string stored = testing_support::ReadFile(root + "Tornvik Entertainment/Marivel/Storage.xml");
    EXPECT_NE(std::string::npos, stored.find("<Variable name=\"LevelFileOrder\" type=\"int\" value=\"4\"/>")) << stored;
    ExpectLooksLike(shot, "edited_level.png");
}

}  // namespace
