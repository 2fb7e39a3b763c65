// Gravity: falls, births, diagonal slides, new pieces and birth cells.
#include <gtest/gtest.h>

#include "tests/match3/BoardTestSupport.h"

using board_test::BoardFixture;

namespace {

struct GravityTest : public ::testing::Test, public BoardFixture {};

// The birth flags as rows of 'B' (birth), '.' (none) and '#' (hole).
std::vector<std::string> BornRows(const GameBoard& board) {
    std::vector<std::string> rows;
    for (int y = 0; y < board.GetSizeY(); ++y) {
        std::string row;
        for (int x = 0; x < board.GetSizeX(); ++x) {
            const FieldCell& c = board.Cell(x, y);
            row += c._color == NO_CELL ? '#' : (c._born ? 'B' : '.');
        }
        rows.push_back(row);
    }
    return rows;
}

}  // namespace

TEST_F(GravityTest, OneGapMovesTheColumnAboveDownOneCell) {
    Load({"aa", "aa", "aa"}, {"12", "34", ".5"});
    board.SetHasMove(true);
    board.StartFalls();
    EXPECT_EQ(Contents(), (std::vector<std::string>{".2", "14", "35"}));
    EXPECT_FALSE(board.HasMove());
    const auto falls = motion.MovesOfMode(1);
    ASSERT_EQ(falls.size(), 2u);
    EXPECT_EQ(falls[0].x, 0);
    EXPECT_EQ(falls[0].y, 2);
    EXPECT_EQ(falls[0].move.y0, board.CellY(1));
    EXPECT_EQ(falls[0].move.y1, board.CellY(2));
    EXPECT_EQ(falls[0].move.x0, board.CellX(0));
    // The run ends in row 2: 2 x DELTA_SPEED on top of the speed the piece had above.
    EXPECT_FLOAT_EQ(falls[0].move.ySpeed, 2 * 50.0f + 250.0f);
    EXPECT_FLOAT_EQ(falls[1].move.ySpeed, 1 * 50.0f + 250.0f);
}

TEST_F(GravityTest, RunOfThreeGapsTakesThreeStepsEachFaster) {
    Load({"a", "a", "a", "a"}, {"7", ".", ".", "."});
    std::vector<float> speeds;
    for (int step = 0; step < 3; ++step) {
        motion.moves.clear();
        board.StartFalls();
        ASSERT_EQ(motion.moves.size(), 1u);
        const board_test::RecordedMove m = motion.moves[0];
        EXPECT_EQ(m.y, step + 1);
        speeds.push_back(m.move.ySpeed);
        // The piece arrives; the field keeps its speed in the cell.
        motion.ArriveAll();
        board.Cell(m.x, m.y)._speed = m.move.ySpeed;
    }
    EXPECT_EQ(Contents(), (std::vector<std::string>{".", ".", ".", "7"}));
    EXPECT_FLOAT_EQ(speeds[0], 400.0f);
    EXPECT_FLOAT_EQ(speeds[1], 550.0f);
    EXPECT_FLOAT_EQ(speeds[2], 700.0f);
}

TEST_F(GravityTest, DiagonalSlideUnderLock) {
    Load({"ab", "aa"}, {"12", "3."});
    board.StartFalls();
    EXPECT_EQ(Contents(), (std::vector<std::string>{".2", "31"}));
    const auto slides = motion.MovesOfMode(3);
    ASSERT_EQ(slides.size(), 1u);
    EXPECT_EQ(slides[0].x, 1);
    EXPECT_EQ(slides[0].y, 1);
    EXPECT_EQ(slides[0].move.x0, board.CellX(0));
    EXPECT_EQ(slides[0].move.y0, board.CellY(0));
    EXPECT_FLOAT_EQ(slides[0].move.ySpeed, 250.0f + 50.0f);
    EXPECT_EQ(random.calls, 0);
}

TEST_F(GravityTest, DiagonalSlideTakesRandomSideWhenBothCan) {
    for (const auto& c : {std::make_pair(0, std::vector<std::string>{".23", "415"}),
                          std::make_pair(1, std::vector<std::string>{"12.", "435"})}) {
        BoardFixture f;
        f.Load({"aba", "aaa"}, {"123", "4.5"});
        f.random.Push({c.first});
        f.board.StartFalls();
        EXPECT_EQ(f.Contents(), c.second);
        EXPECT_EQ(f.random.calls, 1);
    }
}

TEST_F(GravityTest, LowestLeftmostSlideFirstThenTheNextPass) {
    Load({"aaaaa", "ababa", "aaaaa"}, {"12345", "62748", "3.2.4"});
    random.Push({1});  // (1,2) takes the right source
    board.StartFalls();
    const auto slides = motion.MovesOfMode(3);
    ASSERT_EQ(slides.size(), 2u);
    EXPECT_EQ(slides[0].x, 1);
    EXPECT_EQ(slides[0].move.x0, board.CellX(2));
    // The second pass: (3,2) has only its right source left.
    EXPECT_EQ(slides[1].x, 3);
    EXPECT_EQ(slides[1].move.x0, board.CellX(4));
    EXPECT_EQ(random.calls, 1);
}

TEST_F(GravityTest, BirthCellMakesAPieceFromAboveAndNoSlideFillsBelowIt) {
    Load({"Aa", "aa"}, {".1", ".2"});
    board.SetChips({4, 5, 6});
    random.Push({2});
    board.StartFalls();
    EXPECT_EQ(Contents(), (std::vector<std::string>{"61", ".2"}));
    const auto births = motion.MovesOfMode(1);
    ASSERT_EQ(births.size(), 1u);
    EXPECT_EQ(births[0].move.y0, board.CellY(-1));
    EXPECT_EQ(births[0].move.y1, board.CellY(0));
    EXPECT_EQ(births[0].move.scaleFrom, 0.0f);
    EXPECT_EQ(births[0].move.scaleTo, 1.0f);
    EXPECT_FLOAT_EQ(births[0].move.duration, 0.3f);
    EXPECT_FLOAT_EQ(births[0].move.ySpeed, 250.0f);
    EXPECT_TRUE(motion.MovesOfMode(3).empty());
    // Once the new piece has arrived it falls on.
    motion.ArriveAll();
    random.Push({0});
    board.StartFalls();
    EXPECT_EQ(Contents(), (std::vector<std::string>{"41", "62"}));
}

TEST_F(GravityTest, NewPieceRedrawsOnlyForLinesAboveAndLeft) {
    struct Case {
        std::vector<std::string> contents;
        std::vector<int> chips;
        int x;
        int y;
        int draw;
        int color;
    };
    const Case cases[] = {
        // Two 0s above and two 1s to the left: only 2 is left.
        {{"330", "440", "11."}, {0, 1, 2}, 2, 2, 0, 2},
        {{"330", "440", "11."}, {0, 1, 2}, 2, 2, 32767, 2},
        // Lines below and to the right are not looked at.
        {{".11", "022", "033"}, {0, 1, 2}, 0, 0, 0, 0},
        {{".11", "022", "033"}, {0, 1, 2}, 0, 0, 1, 1},
        // Every colour would make a line: any colour of the set, no endless redraw.
        {{"330", "440", "11."}, {0, 1}, 2, 2, 1, 1},
    };
    for (const Case& c : cases) {
        BoardFixture f;
        f.Load({"aaa", "aaa", "aaa"}, c.contents);
        f.board.SetChips(c.chips);
        f.random.Push({c.draw});
        f.board.NewPiece(c.x, c.y, 0, 0, true, -1);
        EXPECT_EQ(f.board.Cell(c.x, c.y)._color, c.color);
        EXPECT_EQ(f.motion.pieces[c.x][c.y].picture, c.color);
        EXPECT_EQ(f.random.calls, 1);
    }
}

TEST_F(GravityTest, ResetBornPoints) {
    struct Case {
        std::vector<std::string> lines;
        std::vector<std::string> born;
    };
    const Case cases[] = {
        // A single hole in the top row: the cell under it is fed diagonally.
        {{"a0a", "aaa"}, {"B#B", "..."}},
        // Three holes side by side: the cell under the middle one is a birth cell.
        {{"a000a", "aaaaa", "aaaaa"}, {"B###B", "..B..", "....."}},
        // At the left edge two holes suffice.
        {{"00a", "aaa"}, {"##B", "B.."}},
        // Wrong flags are corrected.
        {{"aAa", "AaA", "aaA"}, {"BBB", "...", "..."}},
    };
    for (const Case& c : cases) {
        BoardFixture f;
        std::vector<std::string> contents;
        for (const std::string& line : c.lines) contents.push_back(std::string(line.size(), '1'));
        f.Load(c.lines, contents);
        f.board.ResetBornPoints();
        EXPECT_EQ(BornRows(f.board), c.born);
    }
}

TEST_F(GravityTest, EmptyKindsAndFeeding) {
    Load({"Aba", "aaa", "aaa"}, {".12", "3.4", "..."});
    EXPECT_EQ(board.GetEmptyKind(0, 0), KIND_BIRTH);
    EXPECT_EQ(board.GetEmptyKind(1, 0), KIND_BLOCKED);  // a locked resting piece
    EXPECT_EQ(board.GetEmptyKind(2, 0), KIND_RESTING);
    EXPECT_EQ(board.GetEmptyKind(1, 1), KIND_EMPTY);
    EXPECT_EQ(board.GetEmptyKind(-1, 0), KIND_BLOCKED);
    EXPECT_EQ(board.GetEmptyKind(3, 0), KIND_BLOCKED);
    motion.SetMoving(0, 0, true);  // a hidden piece still hiding
    EXPECT_EQ(board.GetEmptyKind(0, 0), KIND_BLOCKED);
    // Under the lock, but the birth cell up-left feeds it.
    EXPECT_TRUE(board.CanBeFed(1, 1));
    EXPECT_FALSE(board.CanBeFed(2, 1));
    EXPECT_TRUE(board.CanBeFed(2, 2));
    EXPECT_TRUE(board.HasFillableEmpty());
}

TEST_F(GravityTest, NothingFillableWithoutBirthCells) {
    Load({"aaa", "aaa"}, {"1.2", "..."});
    EXPECT_FALSE(board.HasFillableEmpty());
    // A full-size board without birth cells is answered at once.
    std::vector<std::string> lines(13, std::string(15, 'a'));
    std::vector<std::string> contents(13, std::string(15, '.'));
    BoardFixture big;
    big.Load(lines, contents);
    EXPECT_FALSE(big.board.HasFillableEmpty());
}

TEST_F(GravityTest, CellActions) {
    Load({"aa"}, {"1F"});
    board.CellAction(0, 0, CELL_IDLE);
    EXPECT_TRUE(motion.animations.empty());  // the idle timer must be below 0
    board.Cell(0, 0)._idleTimer = -0.1f;
    board.CellAction(0, 0, CELL_IDLE);
    ASSERT_EQ(motion.animations.size(), 1u);
    EXPECT_EQ(motion.animations[0], (std::array<int, 5>{0, 0, 36, 71, 0}));
    EXPECT_FLOAT_EQ(board.Cell(0, 0)._idleTimer, 1.2f);
    // Bonus pieces take no action.
    board.CellAction(1, 0, CELL_SELECTED);
    board.CellAction(1, 0, CELL_LANDING);
    EXPECT_EQ(motion.animations.size(), 1u);
    board.Cell(0, 0)._speed = 2000.0f;
    board.CellAction(0, 0, CELL_LANDING);
    EXPECT_EQ(motion.animations.back(), (std::array<int, 5>{0, 0, 0, 0, 2}));
    EXPECT_FLOAT_EQ(board.Cell(0, 0)._speed, 250.0f);
}
