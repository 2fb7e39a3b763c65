// Level lines, chip sets, loading a level and restoring cells.
#include <gtest/gtest.h>

#include "core/Random.h"
#include "tests/match3/BoardTestSupport.h"
#include "tests/support/TestSupport.h"

using board_test::BoardFixture;
using testing_support::LogCapture;

namespace {

bool Parse(const std::vector<std::string>& lines, LevelShape& shape) {
    LevelProblem problem;
    return ParseLevelLines(lines, shape, problem);
}

}  // namespace

TEST(LevelLinesTest, TheThreeByTwoExample) {
    BoardFixture f;
    LevelShape shape;
    ASSERT_TRUE(Parse({"aA0", "dgb"}, shape));
    EXPECT_EQ(shape.sizeX, 3);
    EXPECT_EQ(shape.sizeY, 2);
    ASSERT_TRUE(f.board.LoadLevelShape(shape, {0, 1, 2}));
    // An unreachable plain cell stays empty; the birth cell and the cells below get pieces.
    const std::vector<std::string> contents = f.Contents();
    EXPECT_EQ(contents[0][0], '.');
    EXPECT_NE(contents[0][1], '.');
    EXPECT_EQ(contents[0][2], '#');
    for (int x = 0; x < 3; ++x) EXPECT_GE(f.board.Cell(x, 1)._color, 0);
    EXPECT_TRUE(f.board.Cell(1, 0)._born);
    EXPECT_FALSE(f.board.Cell(0, 0)._born);
    EXPECT_EQ(f.board.Cell(0, 1)._painted, 1);
    EXPECT_EQ(f.board.Cell(1, 1)._painted, 2);
    EXPECT_EQ(f.board.Cell(2, 1)._locks, 1);
    EXPECT_EQ(f.board.GetAllPaints(), 2);
    EXPECT_EQ(f.board.GetSilverCount(), 2);
    EXPECT_EQ(f.board.GetGoldenCount(), 1);
    EXPECT_EQ(f.board.GetHighestLock(), 1);
    EXPECT_EQ(f.sink.LastPlayerValue("silverCount")->text, "x2");
    EXPECT_EQ(f.sink.LastPlayerValue("goldenCount")->text, "x1");
    EXPECT_EQ(f.sink.LastPlayerValue("silverCountInt")->value, 2);
    EXPECT_EQ(f.sink.LastPlayerValue("goldenCountInt")->value, 1);
}

TEST(LevelLinesTest, LoadedLevelHasNoLineAndAMoveAfterRecolouring) {
    for (int seed = 1; seed <= 20; ++seed) {
        board_test::SeededRandom random(static_cast<unsigned>(seed));
        board_test::FakeMotion motion;
        NullBoardEventSink sink;
        GameBoard board(random, motion, sink);
        LevelShape shape;
        std::vector<std::string> lines(13, "aaaaaaaaaaaaaaa");
        lines[0] = "AAAAAAAAAAAAAAA";
        ASSERT_TRUE(Parse(lines, shape));
        ASSERT_TRUE(board.LoadLevelShape(shape, {0, 1, 2, 3}));
        if (!board.HasMove()) board.NoMovesReshuffle(false, true);
        EXPECT_TRUE(board.HasMove());
        EXPECT_FALSE(board.FindAndClearMatches()) << "seed " << seed;
    }
}

TEST(LevelLinesTest, LevelWithoutMoveIsRecolouredAtOnce) {
    // No swap within a column of three makes a line.
    BoardFixture f;
    LevelShape shape;
    ASSERT_TRUE(Parse({"A", "a", "a"}, shape));
    f.random.Push({0, 1, 2});
    ASSERT_TRUE(f.board.LoadLevelShape(shape, {0, 1, 2}));
    EXPECT_FALSE(f.board.HasMove());
    EXPECT_EQ(f.sink.Count(BoardEventType::HintClocksReset), 1);
    LogCapture log;
    f.board.NoMovesReshuffle(false, true);
    // Every try fails; the board keeps its last colouring and the field announces a reshuffle later.
    EXPECT_FALSE(f.board.HasMove());
    EXPECT_EQ(log.ErrorCount(), 1);
    EXPECT_EQ(f.sink.Count(BoardEventType::MoveHintRestart), 1);
    EXPECT_EQ(f.sink.Count(BoardEventType::ReshuffleSnapshot), 0);
    EXPECT_EQ(f.sink.Count(BoardEventType::Sound), 0);
}

TEST(LevelLinesTest, CellLetters) {
    struct Case {
        char letter;
        bool hole;
        bool born;
        int locks;
        int painted;
    };
    const Case cases[] = {{'0', true, false, 0, 0}, {'a', false, false, 0, 0}, {'c', false, false, 2, 0},
                          {'e', false, false, 1, 1}, {'g', false, false, 0, 2}, {'I', false, true, 2, 2},
                          {'D', false, true, 0, 1}};
    for (const Case& c : cases) {
        LevelShapeCell cell;
        EXPECT_TRUE(ParseLevelCell(c.letter, cell));
        EXPECT_EQ(cell.hole, c.hole) << c.letter;
        EXPECT_EQ(cell.born, c.born) << c.letter;
        EXPECT_EQ(cell.locks, c.locks) << c.letter;
        EXPECT_EQ(cell.painted, c.painted) << c.letter;
    }
    for (char unknown : {'j', 'Z', 'J', '1', ' ', '.'}) {
        LevelShapeCell cell;
        EXPECT_FALSE(ParseLevelCell(unknown, cell)) << unknown;
    }
}

TEST(LevelLinesTest, MalformedLevelsAreRejectedWithTheirLine) {
    const struct {
        std::vector<std::string> lines;
        int line;
        const char* text;
    } bad[] = {
        {{}, -1, "no cells"},
        {{""}, 0, "no cells"},
        {{"aaa", "aa"}, 1, "level line 2 has 2 cells, the first has 3"},
        {{"aa", "aaa"}, 1, "level line 2 has 3 cells"},
        {{std::string(16, 'a')}, 0, "larger than 15 x 13: 16 x 1"},
        {std::vector<std::string>(14, "aaa"), 13, "larger than 15 x 13: 3 x 14"},
    };
    for (const auto& c : bad) {
        LogCapture log;
        LevelShape shape;
        LevelProblem problem;
        EXPECT_FALSE(ParseLevelLines(c.lines, shape, problem));
        EXPECT_EQ(problem.line, c.line) << problem.text;
        EXPECT_NE(problem.text.find(c.text), std::string::npos) << problem.text;
        EXPECT_EQ(log.ErrorCount(), 0);  // the caller, who knows the file, reports
        EXPECT_EQ(shape.sizeX, 0);
        EXPECT_TRUE(shape.cells.empty());
    }
}

TEST(LevelLinesTest, UnknownLettersPlayAsPlainCellsAndAreCounted) {
    LevelShape shape;
    LevelProblem problem;
    ASSERT_TRUE(ParseLevelLines({"AbC", "d-e", "fgX"}, shape, problem));
    EXPECT_EQ(shape.unknownLetters, 2);
    EXPECT_EQ(shape.firstUnknown.line, 1);
    EXPECT_EQ(shape.firstUnknown.column, 1);
    EXPECT_EQ(shape.firstUnknown.text, "level line 2 has the unknown cell letter '-' in column 2");
    for (const auto& at : {std::make_pair(1, 1), std::make_pair(2, 2)}) {
        const LevelShapeCell& cell = shape.cells[static_cast<std::size_t>(at.first)][static_cast<std::size_t>(at.second)];
        EXPECT_FALSE(cell.hole);
        EXPECT_FALSE(cell.born);
        EXPECT_EQ(cell.locks, 0);
        EXPECT_EQ(cell.painted, 0);
    }
    EXPECT_EQ(shape.cells[0][2].locks, 2);  // the known letters keep their meaning
}

TEST(LevelLinesTest, TheLargestShapeLoadsAndTheBoardRefusesLargerOnes) {
    LevelShape largest;
    EXPECT_TRUE(Parse(std::vector<std::string>(13, std::string(15, 'a')), largest));

    // A hand-made shape out of bounds is refused by the board without change.
    BoardFixture f;
    f.Load({"aa"}, {"12"});
    LevelShape wide;
    wide.sizeX = 16;
    wide.sizeY = 1;
    wide.cells.assign(1, std::vector<LevelShapeCell>(16));
    LogCapture log;
    EXPECT_FALSE(f.board.LoadLevelShape(wide, {0, 1, 2}));
    EXPECT_FALSE(f.board.LoadLevelShape(largest, {}));
    EXPECT_EQ(log.ErrorCount(), 2);
    EXPECT_EQ(f.Contents(), (std::vector<std::string>{"12"}));
}

TEST(LevelLinesTest, ChipSetsAreCutToWhatALevelUses) {
    const struct {
        std::string chips;
        bool ok;
        const char* usable;
        std::vector<int> colors;
        const char* note;
    } cases[] = {
        {"012", true, "012", {0, 1, 2}, ""},
        {"876", true, "876", {8, 7, 6}, ""},
        {"0129AB", true, "012", {0, 1, 2}, "3 characters without a piece left out"},
        {"0123456780", true, "012345678", {0, 1, 2, 3, 4, 5, 6, 7, 8}, "cut after 9 entries of 10"},
        {std::string(10000000, 'Z') + "012", false, "", {}, "fewer than 3 colours"},
        {"012" + std::string(10000000, '1'), true, "012111111", {0, 1, 2, 1, 1, 1, 1, 1, 1}, "cut after 9"},
        {"01", false, "", {}, "fewer than 3 colours"},
        {"00111", false, "", {}, "fewer than 3 colours"},
        {"9AZ", false, "", {}, "fewer than 3 colours"},
        {"", false, "", {}, "fewer than 3 colours"},
    };
    for (const auto& c : cases) {
        LogCapture log;
        std::string usable = "x";
        std::string note;
        EXPECT_EQ(UsableChipSet(c.chips, usable, note), c.ok) << c.chips.substr(0, 20);
        EXPECT_EQ(usable, c.usable) << c.chips.substr(0, 20);
        EXPECT_NE(note.find(c.note), std::string::npos) << note;
        std::vector<int> colors{99};
        EXPECT_EQ(ParseChipSet(usable, colors), c.ok);
        EXPECT_EQ(colors, c.colors) << c.chips.substr(0, 20);
        EXPECT_EQ(log.ErrorCount(), 0);
    }
}

TEST(LevelLinesTest, RestoredCellsAcceptOnlyPiecesWithPictures) {
    BoardFixture f;
    ASSERT_TRUE(f.board.ResizeBoard(4, 2));
    LogCapture log;
    f.board.LoadCell(0, 0, 8, false, 2, 1, 0);
    f.board.LoadCell(1, 0, 9, false, 0, 0, 0);     // no picture: restored empty
    f.board.LoadCell(2, 0, 20, false, 1, 0, 5);    // a lightning
    f.board.LoadCell(3, 0, 17, false, 0, 0, 4);    // bonus disagrees with colour: the colour's kind
    f.board.LoadCell(0, 1, -7, false, 0, 0, 0);    // not a colour: empty
    f.board.LoadCell(1, 1, NO_CELL, false, 1, 0, 0);
    f.board.LoadCell(2, 1, EMPTY_CELL, true, 1, 2, 3);
    f.board.LoadCell(9, 9, 1, false, 0, 0, 0);     // outside: ignored
    f.board.LoadCell(3, 1, 1, false, 3, 0, 0);     // paint beyond gold: gold
    EXPECT_EQ(log.ErrorCount(), 4);
    EXPECT_EQ(f.Contents(), (std::vector<std::string>{"8.LB", ".#.1"}));
    EXPECT_EQ(f.board.Cell(0, 0)._locks, 1);
    EXPECT_EQ(f.board.Cell(3, 0)._bonus, BLACK_BOMB);
    EXPECT_EQ(f.motion.pieces[2][0].picture, 100 + LIGHTNING);
    EXPECT_EQ(f.motion.animations.size(), 1u);
    EXPECT_EQ(f.board.Cell(2, 1)._locks, 0);
    EXPECT_EQ(f.board.Cell(2, 1)._bonus, 0);
    EXPECT_EQ(f.board.Cell(3, 1)._painted, 2);
    EXPECT_EQ(f.board.GetAllPaints(), 4);
    EXPECT_EQ(f.board.GetGoldenCount(), 2);
    EXPECT_EQ(f.board.GetSilverCount(), 4);
}

TEST(LevelLinesTest, GameGeneratorIsTheDefaultAndSeedable) {
    LevelShape shape;
    ASSERT_TRUE(Parse(std::vector<std::string>(6, "AAAAAA"), shape));
    std::vector<std::vector<int>> colours;
    for (int run = 0; run < 2; ++run) {
        Random::Seed(1234);
        board_test::FakeMotion motion;
        NullBoardEventSink sink;
        GameBoard board(motion, sink);
        ASSERT_TRUE(board.LoadLevelShape(shape, {0, 1, 2, 3, 4}));
        std::vector<int> c;
        for (int x = 0; x < 6; ++x) {
            for (int y = 0; y < 6; ++y) c.push_back(board.Cell(x, y)._color);
        }
        colours.push_back(c);
    }
    EXPECT_EQ(colours[0], colours[1]);
}
