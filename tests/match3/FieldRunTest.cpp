// The game in the game program, headless: the menu's Play opens level 1; a run won by scripted
// swaps shows the level-complete statistics and stores the money and the next level number; after a
// win by the developer key that clears the paint, a click counts the statistics up at once and the
// next one goes on; a run
// left alone runs out of time and shows the out-of-time dialog; a scripted session of the level
// editor writes the level file, and the edited level is then played; a level closed half played
// comes back on the next start as it was left; a level with gold and locks half way through its time
// shows its border, decor, locks, paint, move hint and timer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

#include "tests/support/ProgramRun.h"
#include "tests/support/ScreenCompare.h"
#include "tests/support/TestSupport.h"

namespace {

using testing_support::ProgramPath;

class FieldRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testing_support::FileExists(ProgramPath())) GTEST_SKIP() << "not built: " << ProgramPath();
        root = testing_support::MakeTempDir("field-run");
        data = root + "data/";
        std::filesystem::copy(MARIVEL_SOURCE_DIR "/data", data, std::filesystem::copy_options::recursive);
        // The seeded profile with the hint boxes off, so no box pauses the field, and two cups.
        std::filesystem::copy_file(MARIVEL_SOURCE_DIR "/tests/match3/fixtures/field_profile.xml", data + "Storage.xml",
                                   std::filesystem::copy_options::overwrite_existing);
    }
    // The developer keys (T clears every paint, F5 starts the editor).
    void EnableDeveloperKeys() {
        std::string settings = testing_support::ReadFile(data + "settings.ini");
        const std::size_t dev = settings.find("dev=false");
        ASSERT_NE(std::string::npos, dev);
        settings.replace(dev, 9, "dev=true");
        testing_support::WriteFile(data + "settings.ini", settings);
    }
    void ExpectLooksLike(const std::string& shot, const std::string& fixture) {
        const testing_support::ScreenComparison comparison = testing_support::CompareWithReference(
            shot, std::string(MARIVEL_SOURCE_DIR "/tests/match3/fixtures/") + fixture, 24, 800);
        EXPECT_TRUE(comparison.matches) << comparison.report;
    }
    // Runs the events and gives the screenshot of the last frame.
    std::string Run(const std::string& events, int step, int frames) {
        testing_support::WriteFile(root + "events.txt", events);
        const std::string shot = root + "field.png";
        EXPECT_EQ(0, testing_support::RunProgram(data, root,
                                                 {"--fixed-step", std::to_string(step), "--seed", "5", "--frames",
                                                  std::to_string(frames), "--events", root + "events.txt",
                                                  "--screenshot", shot}));
        return shot;
    }
    // dev=true in the game's settings.
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
// The swaps that win level 1 were found by tools/make-level-script.py, playing the level in runs of
// the program from the same profile, step, seed and first press; the picture is taken seven
// seconds after the last one, with the statistics open.
TEST_F(FieldRunTest, Level1IsWonByItsMovesAndTheProfileMovesOn) {
    const std::string moves = testing_support::ReadFile(MARIVEL_SOURCE_DIR "/tests/match3/fixtures/level1_win.txt");
    int last = 0;
    for (std::size_t at = 0; at < moves.size(); at = moves.find('\n', at) + 1) {
        if (std::isdigit(static_cast<unsigned char>(moves[at]))) last = std::max(last, std::atoi(moves.c_str() + at));
        if (moves.find('\n', at) == std::string::npos) break;
    }
    const std::string shot = Run(moves, 50, last + 142);
    const std::string log = Log();
    EXPECT_EQ(std::string::npos, log.find("ERROR")) << log;
    const std::string stored = Stored();
    EXPECT_TRUE(Has(stored, "<Variable name=\"LevelNumber\" type=\"int\" value=\"2\"/>")) << stored;
    EXPECT_TRUE(Has(stored, "<Variable name=\"Money\" type=\"int\" value=\"")) << stored;
    EXPECT_FALSE(Has(stored, "<Variable name=\"Money\" type=\"int\" value=\"10\"/>")) << stored;
    EXPECT_TRUE(Has(stored, "<Variable name=\"Levels lost\" type=\"int\" value=\"0\"/>")) << stored;
    ExpectLooksLike(shot, "field_won.png");
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
    // The bomb washed paint away: fewer than the level's 12 silver cells are left.
    const std::string stored = Stored();
    EXPECT_TRUE(Has(stored, "<Variable name=\"silverCount\" type=\"string\" value=\"x")) << stored;
    EXPECT_FALSE(Has(stored, "<Variable name=\"silverCount\" type=\"string\" value=\"x12\"/>")) << stored;
}

// Level 1 with 30 s in place of its own time in the copied level file.
TEST_F(FieldRunTest, Level1RunsOutOfTime) {
    std::string levels = testing_support::ReadFile(data + "PlLevels.xml");
    const std::string level1 = "<Level id=\"Level01\" time=\"";
    const std::size_t at = levels.find(level1);
    ASSERT_NE(std::string::npos, at);
    const std::size_t time = at + level1.size();
    levels.replace(time, levels.find('"', time) - time, "30");
    testing_support::WriteFile(data + "PlLevels.xml", levels);
    // 100 ms frames: the first press at frame 22 starts the 30 s.
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
    ExpectLooksLike(shot, "field_time_out.png");
}

// Window pixels, origin top-left, 50 ms frames. The menu (ready from about frame 10) gets its Play
// press at frame 17; level 1 is 6 x 6 cells of 44 units centred on (380, 280), so its top row is
// at window y 188 to 232.
const char* const PLAY = "14 move 400 275\n15 move 401 275\n17 down\n18 up\n";

// The first press on cell (2, 2) starts the level, T wins it at frame 50; the banner has appeared
// about two seconds later, when the click at frame 95 counts everything up at once.
const char* const WIN = "40 move 358 298\n41 move 359 298\n42 down\n43 up\n50 key 84\n"
                        "94 move 400 300\n95 down\n96 up\n";

TEST_F(FieldRunTest, AWonLevelShowsItsStatisticsCountedUpByAClick) {
    EnableDeveloperKeys();
    const std::string shot = Run(std::string(PLAY) + WIN, 50, 110);
    EXPECT_EQ(std::string::npos, Log().find("ERROR")) << Log();
    ExpectLooksLike(shot, "statistics_counted.png");
}

TEST_F(FieldRunTest, TheClickAfterTheCountGoesOn) {
    EnableDeveloperKeys();
    const std::string shot = Run(std::string(PLAY) + WIN + "110 down\n111 up\n", 50, 140);
    EXPECT_EQ(std::string::npos, Log().find("ERROR")) << Log();
    ExpectLooksLike(shot, "statistics_closed.png");
}

// F5 starts the editor on level 1. Tool 2 (silver) is chosen on the panel, a drag from the top row
// to above it grows the board by a row and paints two cells; tool 3 (gold) paints a cell right of
// the board, which grows a column; the right button then erases the bottom left cell. F2 names
// the level "Level17" (saved at once, after the sixteen levels), and F5 saves it again and plays it.
const char* const EDIT =
    "50 key 116\n"
    "60 move 24 132\n61 down\n62 up\n"
    "65 move 314 210\n66 down\n67 move 314 180\n68 move 358 180\n69 up\n"
    "72 move 24 172\n73 down\n74 up\n"
    "77 move 490 320\n78 down\n79 move 534 320\n80 up\n"
    "83 move 248 452\n84 rdown\n85 rup\n"
    "88 key 113\n"
    "100 key 8\n101 key 8\n102 key 8\n103 key 8\n104 key 8\n105 key 8\n106 key 8\n107 text Level17\n"
    "110 move 280 355\n111 down\n112 up\n"
    "120 key 116\n";

TEST_F(FieldRunTest, AnEditorSessionWritesTheLevelFileAndTheEditedLevelPlays) {
    EnableDeveloperKeys();
    // The edited level's first press, then a wait for the timer's first seconds.
    const std::string shot =
        Run(std::string(PLAY) + EDIT + "150 move 336 276\n151 move 337 276\n152 down\n153 up\n", 50, 170);
    EXPECT_EQ(std::string::npos, Log().find("ERROR")) << Log();
    EXPECT_EQ(testing_support::ReadFile(MARIVEL_SOURCE_DIR "/tests/match3/fixtures/edited_levels.xml"),
              testing_support::ReadFile(data + "PlLevels.xml"));
    const std::string stored = Stored();
    EXPECT_NE(std::string::npos, stored.find("<Variable name=\"LevelFileOrder\" type=\"int\" value=\"17\"/>")) << stored;
    ExpectLooksLike(shot, "edited_level.png");
}

// Window pixels of level 1's board: 6 x 6 cells of 44 units from (248, 148) logical.
const testing_support::PixelRegion BOARD = {248, 188, 264, 264};

TEST_F(FieldRunTest, AClosedLevelIsOnTheFirstFrameOfTheNextStart) {
    // 100 ms frames: Play, the first press, a swap of cells (2, 4) and (1, 4) that clears three
    // pieces, the pointer off the board, and the window closed.
    const std::string play = "3 move 400 275\n4 move 401 275\n5 down\n6 up\n";
    const std::string left = root + "left.png";
    testing_support::WriteFile(root + "events.txt",
                               play +
                                   "10 move 358 298\n11 move 359 298\n12 down\n13 up\n"
                                   "15 move 359 385\n16 move 360 385\n17 down\n18 move 349 385\n19 move 338 385\n20 up\n"
                                   "58 move 700 560\n60 close\n");
    // Without a frame count every frame is written, so the file holds the last one before closing.
    ASSERT_EQ(0, testing_support::RunProgram(data, root,
                                             {"--fixed-step", "100", "--seed", "5", "--events", root + "events.txt",
                                              "--screenshot", left}));
    const std::string stored = Stored();
    ASSERT_TRUE(Has(stored, "<Field matchCounter=\"0\" sizeX=\"6\" sizeY=\"6\" levelName=\"Level01\"")) << stored;
    EXPECT_FALSE(Has(stored, "<Variable name=\"levelScore\" type=\"int\" value=\"0\"/>")) << stored;

    // The game screen's first frame after Play.
    const std::string shot = Run(play + "6 move 700 560\n", 100, 6);
    const std::string log = Log();
    EXPECT_EQ(std::string::npos, log.find("ERROR")) << log;
    const testing_support::ScreenComparison same = testing_support::ComparePictures(left, shot, 24, 40, BOARD);
    EXPECT_TRUE(same.matches) << same.report;
    const testing_support::ScreenComparison comparison = testing_support::CompareWithReference(
        shot, MARIVEL_SOURCE_DIR "/tests/match3/fixtures/field_restored.png", 24, 800);
    EXPECT_TRUE(comparison.matches) << comparison.report;
}

// Level 6, the first with gold and locks together, is moved to the front of the copied level file
// with 20 s in place of 100, so its timer is half way after ten seconds of play. The board is 9 x 9
// cells centred on (380, 280): cell (2, 7) has its centre at window (292, 452).
TEST_F(FieldRunTest, ALevelWithGoldAndLocksHalfWayShowsItsOutlineDecorAndMoveHint) {
    std::string levels = testing_support::ReadFile(data + "PlLevels.xml");
    const std::size_t second = levels.find("\t<Level id=\"Level06\" time=\"100\"");
    const std::size_t first = levels.find("\t<Level id=\"Level01\"");
    ASSERT_NE(std::string::npos, second);
    ASSERT_NE(std::string::npos, first);
    const std::size_t end = levels.find("</Level>", second) + std::string("</Level>\n").size();
    std::string moved = levels.substr(second, end - second);
    moved.replace(moved.find("100"), 3, "20");
    levels.erase(second, end - second);
    levels.insert(first, moved);
    testing_support::WriteFile(data + "PlLevels.xml", levels);
    const std::string shot = Run(
        "5 move 400 275\n6 move 401 275\n8 down\n9 up\n"
        "40 move 292 452\n41 move 293 452\n42 down\n43 up\n44 rdown\n45 rup\n"
        "50 move 100 520\n",
        100, 142);
    const std::string log = Log();
    EXPECT_EQ(std::string::npos, log.find("ERROR")) << log;
    const testing_support::ScreenComparison comparison = testing_support::CompareWithReference(
        shot, MARIVEL_SOURCE_DIR "/tests/match3/fixtures/field_gold_and_locks.png", 24, 200);
    EXPECT_TRUE(comparison.matches) << comparison.report;
}

// The player of that name gets the slow motion of a long match. Five in a row, made with the
// developer's colour key on the board a first run stored and a swap, slow the field down (the log
// tells it) and the picture half a second later shows the match and its bomb at a fraction of their
// speed.
TEST_F(FieldRunTest, AFiveInARowSlowsTheFieldDown) {
    EnableDeveloperKeys();
    std::string profile = testing_support::ReadFile(data + "Storage.xml");
    for (std::size_t at = profile.find("\"Player\""); at != std::string::npos; at = profile.find("\"Player\"", at)) {
        profile.replace(at, 8, "\"Corvanex17\"");
    }
    testing_support::WriteFile(data + "Storage.xml", profile);
    // 100 ms frames: Play, the first press on cell (2, 2) and the right button dropping it again.
    const std::string start = "3 move 400 275\n4 move 401 275\n5 down\n6 up\n"
                              "10 move 358 298\n11 move 359 298\n12 down\n13 up\n14 rdown\n15 rup\n";
    testing_support::WriteFile(root + "events.txt", start + "16 close\n");
    ASSERT_EQ(0, testing_support::RunProgram(data, root, {"--fixed-step", "100", "--seed", "5", "--events", root + "events.txt"}));
    // The stored board: colours by row, and the level's colours.
    const std::string stored = Stored();
    const std::size_t field = stored.find("<Field ");
    ASSERT_NE(std::string::npos, field) << stored;
    const std::size_t chipsAt = stored.find("chips=\"", field) + 7;
    std::vector<int> chips;
    for (std::size_t i = chipsAt; stored[i] != '"'; ++i) chips.push_back(stored[i] - '0');
    std::vector<std::vector<int>> board(1);  // [row][column]
    for (std::size_t at = stored.find("<Cell color=\"", field); at != std::string::npos;
         at = stored.find("<Cell color=\"", at + 1)) {
        if (board.back().size() == 6) board.emplace_back();
        board.back().push_back(std::atoi(stored.c_str() + at + 13));
    }
    ASSERT_EQ(6u, board.size());
    // Presses of the colour key that take a colour to another (-1 when it never gets there).
    auto presses = [&chips](int from, int to) {
        for (int n = 0, c = from; n <= static_cast<int>(chips.size()); ++n) {
            if (c == to) return n;
            c = chips[static_cast<std::size_t>((c + 1) % static_cast<int>(chips.size()))];
        }
        return -1;
    };
    // A row r is made k k k k x from column x0 on, the cell below x k; swapping x with it then makes
    // five in a row. The first row, column and colour the key can reach are taken.
    std::string keys;
    int frame = 20;
    bool made = false;
    int swapX = 0;
    int swapY = 0;
    for (int r = 1; r < 5 && !made; ++r) {
        for (int x0 = 0; x0 < 2 && !made; ++x0) {
            for (int k : chips) {
                std::vector<std::pair<std::pair<int, int>, int>> plan;
                for (int x = x0; x < x0 + 4; ++x) plan.push_back({{x, r}, presses(board[r][x], k)});
                plan.push_back({{x0 + 4, r + 1}, presses(board[r + 1][x0 + 4], k)});
                const int away = board[r][x0 + 4] == k ? 1 : 0;
                plan.push_back({{x0 + 4, r}, away});
                bool reachable = chips[static_cast<std::size_t>((k + 1) % static_cast<int>(chips.size()))] != k || away == 0;
                for (const auto& p : plan) reachable = reachable && p.second >= 0;
                if (!reachable) continue;
                for (const auto& p : plan) {
                    if (p.second == 0) continue;
                    keys += std::to_string(frame) + " move " + std::to_string(270 + 44 * p.first.first) + " " +
                            std::to_string(210 + 44 * p.first.second) + "\n";
                    for (int n = 0; n < p.second; ++n) keys += std::to_string(++frame) + " key 67\n";
                    frame += 2;
                }
                swapX = 270 + 44 * (x0 + 4);
                swapY = 210 + 44 * r;
                made = true;
                break;
            }
        }
    }
    ASSERT_TRUE(made);
    const int swap = frame + 2;
    const std::string at = " move " + std::to_string(swapX) + " ";
    const std::string moves = std::to_string(swap) + at + std::to_string(swapY) + "\n" + std::to_string(swap + 1) +
                              " down\n" + std::to_string(swap + 2) + at + std::to_string(swapY + 11) + "\n" +
                              std::to_string(swap + 3) + at + std::to_string(swapY + 22) + "\n" + std::to_string(swap + 4) +
                              " up\n" + std::to_string(swap + 5) + " move 700 560\n";
    testing_support::WriteFile(Folder() + "Storage.xml", profile);
    const std::string shot = Run(start + keys + moves, 100, swap + 10);
    const std::string log = Log();
    EXPECT_EQ(std::string::npos, log.find("ERROR")) << log;
    EXPECT_NE(std::string::npos, log.find("Slow motion starts: 2500 ms")) << log;
    ExpectLooksLike(shot, "field_slow_motion.png");
}

// The 1-based line of a position in a text.
int LineAt(const std::string& text, std::size_t at) {
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(at), '\n'));
}

// A level file and a chip-set file the field cannot use, dropped into the data folder: each is told
// on the standard error stream with its name and line, the menu is back a second after Play, the
// program ends with 0 when closed and the profile is byte for byte what it was. (Each kind of
// broken content is a case of the field's own tests; these runs show the whole way.)
TEST_F(FieldRunTest, BrokenLevelFilesAreToldAndTheMenuComesBackWithTheProfileUntouched) {
    // The profile as the game writes it, and the menu one second after the frame Play is pressed in
    // the runs below (frames of 50 ms: the press at 17, the window closed at 38).
    const std::string menu = root + "menu.png";
    testing_support::WriteFile(root + "events.txt", "14 move 400 275\n15 move 401 275\n20 move 700 560\n38 close\n");
    ASSERT_EQ(0, testing_support::RunProgram(data, root,
                                             {"--fixed-step", "50", "--seed", "3", "--events", root + "events.txt",
                                              "--screenshot", menu}));
    const std::string profile = Stored();
    const std::string levels = testing_support::ReadFile(data + "PlLevels.xml");
    const std::string chipSets = testing_support::ReadFile(data + "ChipSets.xml");
    // The first level's first and second lines.
    const std::size_t firstLine = levels.find("<Line>");
    const std::size_t secondLine = levels.find("<Line>", firstLine + 1);
    const std::size_t firstEnd = levels.find("</Line>", firstLine);
    ASSERT_NE(std::string::npos, secondLine);
    const struct {
        const char* what;
        std::string levels;
        std::string chipSets;
        std::string told;
    } cases[] = {
        {"lines of unequal length", levels.substr(0, firstLine) + "<Line>aa" + levels.substr(firstEnd), chipSets,
         "File PlLevels.xml error! PlLevels.xml, line " + std::to_string(LineAt(levels, secondLine)) +
             ": level \"Level01\": level line 2 has"},
        {"no usable chip set", levels, "<ChipSets>\r\n<set chips=\"01\"/>\r\n</ChipSets>\r\n",
         "File ChipSets.xml error! ChipSets.xml, line 2: no usable chip set"},
    };
    for (const auto& c : cases) {
        testing_support::WriteFile(data + "PlLevels.xml", c.levels);
        testing_support::WriteFile(data + "ChipSets.xml", c.chipSets);
        testing_support::WriteFile(Folder() + "Storage.xml", profile);
        testing_support::WriteFile(root + "events.txt", std::string(PLAY) + "20 move 700 560\n38 close\n");
        const std::string shot = root + "broken-" + std::to_string(&c - cases) + ".png";
        const std::string errors = root + "stderr.txt";
        testing_support::ProgramRun run(data, root,
                                        {"--fixed-step", "50", "--seed", "3", "--events", root + "events.txt",
                                         "--screenshot", shot},
                                        errors);
        ASSERT_TRUE(run.Started());
        EXPECT_EQ(0, run.Wait(120)) << c.what;
        const std::string told = testing_support::ReadFile(errors);
        EXPECT_TRUE(Has(told, c.told)) << c.what << ":\n" << told;
        const testing_support::ScreenComparison comparison = testing_support::ComparePictures(menu, shot, 24, 800);
        EXPECT_TRUE(comparison.matches) << c.what << ": " << comparison.report;
        EXPECT_EQ(profile, Stored()) << c.what;
    }
}

}  // namespace
