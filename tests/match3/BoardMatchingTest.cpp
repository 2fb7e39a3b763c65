// Matches, their scores and the bonus pieces of long matches.
#include <gtest/gtest.h>

#include "tests/match3/BoardTestSupport.h"
#include "tests/support/TestSupport.h"

using board_test::BoardFixture;

namespace {

struct MatchingTest : public ::testing::Test, public BoardFixture {};

}  // namespace

TEST_F(MatchingTest, RowOfThreeIsClearedAndScored) {
    Load({"aaaa", "aaaa"}, {"1112", "2303"});
    EXPECT_TRUE(board.FindAndClearMatches());
    EXPECT_EQ(Contents(), (std::vector<std::string>{"...2", "2303"}));
    EXPECT_EQ(board.LevelScore().GetRealScore(), 30);
    EXPECT_EQ(board.GetMatchScore(), 30.0f);
    EXPECT_EQ(sink.Count(BoardEventType::Sound, "match"), 1);
    EXPECT_EQ(sink.Count(BoardEventType::Effect, "HidePieceEffect"), 3);
    // Each cleared piece hides in place, invisible, for its hide time.
    const auto hides = motion.MovesOfMode(4);
    ASSERT_EQ(hides.size(), 3u);
    EXPECT_EQ(hides[0].move.scaleFrom, 0.0f);
    EXPECT_EQ(hides[0].move.scaleTo, 0.0f);
    EXPECT_FLOAT_EQ(hides[0].move.duration, 0.3f);
    // Nothing left to match.
    EXPECT_FALSE(board.FindAndClearMatches());
}

TEST_F(MatchingTest, PlusOfFiveWithoutSwapGivesFireCrackerAtRandomCell) {
    // The plus centred on (2,2): (avgX + 1, avgY + 1) = (3,3) is not part of it, so the cell is
    // drawn among the match's cells in the order they were collected.
    Load({"aaaaa", "aaaaa", "aaaad", "aaaaa", "aaaaa"},
         {"01234", "23140", "41113", "30142", "23401"});
    // Collected: (1,2),(2,2),(3,2) along the row, then (2,1),(2,3) down the column.
    random.Push({16384});  // RandomInt(5) = 2: (3,2)
    EXPECT_TRUE(board.FindAndClearMatches());
    EXPECT_EQ(Contents(), (std::vector<std::string>{"01234", "23.40", "4..F3", "30.42", "23401"}));
    EXPECT_EQ(board.Player().haveCrakerLastLevelFallIn, 0);
    ASSERT_NE(sink.LastPlayerValue("haveCrakerLastLevelFallIn"), nullptr);
    EXPECT_EQ(sink.LastPlayerValue("haveCrakerLastLevelFallIn")->value, 0);
    // First fire cracker: the hint is queued once.
    const auto hints = sink.All(BoardEventType::DelayedMessage);
    ASSERT_EQ(hints.size(), 1u);
    EXPECT_EQ(hints[0].text, "bomb_hint fire_cracker");
    EXPECT_FLOAT_EQ(hints[0].delay, 0.65f);
    EXPECT_EQ(sink.Count(BoardEventType::Effect, "CreateBombEffect"), 1);
    EXPECT_EQ(sink.Count(BoardEventType::SlowMotionCurve), 1);
    // Five cells scored as a match of five, the bonus cell included.
    EXPECT_EQ(board.LevelScore().GetRealScore(), 5 * 30);
    // The bonus fades in over 0.7 s.
    int fadeIns = 0;
    for (const auto& m : motion.MovesOfMode(4)) {
        if (m.move.scaleTo != 1.0f) continue;
        ++fadeIns;
        EXPECT_EQ(m.x, 3);
        EXPECT_EQ(m.y, 2);
        EXPECT_FLOAT_EQ(m.move.duration, 0.7f);
        EXPECT_EQ(m.move.scaleFrom, 0.0f);
    }
    EXPECT_EQ(fadeIns, 1);
    EXPECT_EQ(motion.pieces[3][2].picture, 100 + FIRE_CRACKER);
}

TEST_F(MatchingTest, LOfFiveWithoutSwapPutsFireCrackerBesideItsAverage) {
    // Cells (0,0),(0,1),(0,2),(1,2),(2,2): average (0,1), so the bonus goes to (1,2).
    Load({"aaa", "aaa", "aad"}, {"123", "134", "111"});
    EXPECT_TRUE(board.FindAndClearMatches());
    EXPECT_EQ(Contents(), (std::vector<std::string>{".23", ".34", ".F."}));
    EXPECT_EQ(random.calls, 0);
}

TEST_F(MatchingTest, LOfFiveMadeBySwapGivesBlackBombAtCorner) {
    Load({"aaa", "aaa", "aad"}, {"123", "134", "111"});
    board.Selection() = {{0, 2}, {0, 1}};
    EXPECT_TRUE(board.FindAndClearMatches());
    EXPECT_EQ(Contents(), (std::vector<std::string>{".23", ".34", "B.."}));
    EXPECT_TRUE(board.IsSwapMatched());
    EXPECT_EQ(board.Player().haveBlackBombLastLevelDone, 0);
    EXPECT_EQ(board.Player().haveCrakerLastLevelFallIn, -1);
}

TEST_F(MatchingTest, LinesTouchingDiagonallyAreTwoMatches) {
    Load({"aaaaaa", "aaaaaa"}, {"111234", "234111"});
    EXPECT_TRUE(board.FindAndClearMatches());
    EXPECT_EQ(Contents(), (std::vector<std::string>{"...234", "234..."}));
    EXPECT_EQ(sink.Count(BoardEventType::Sound, "match"), 2);
    EXPECT_EQ(board.LevelScore().GetRealScore(), 60);
}

TEST_F(MatchingTest, LineWithMovingPieceClearsOnlyAfterArrival) {
    Load({"aaa", "aaa"}, {"222", "345"});
    motion.SetMoving(1, 0, true);
    EXPECT_TRUE(board.FindAndClearMatches());
    EXPECT_EQ(Contents(), (std::vector<std::string>{"222", "345"}));
    motion.ArriveAll();
    EXPECT_TRUE(board.FindAndClearMatches());
    EXPECT_EQ(Contents(), (std::vector<std::string>{"...", "345"}));
}

TEST_F(MatchingTest, BonusPiecesNeverMatch) {
    Load({"aaa", "aaa", "aaa"}, {"FFF", "BBB", "LLL"});
    EXPECT_FALSE(board.FindAndClearMatches());
    EXPECT_EQ(Contents(), (std::vector<std::string>{"FFF", "BBB", "LLL"}));
}

TEST_F(MatchingTest, LockedPieceInMatchLosesLockAndStays) {
    Load({"aba", "aaa"}, {"444", "123"});
    EXPECT_TRUE(board.FindAndClearMatches());
    EXPECT_EQ(Contents(), (std::vector<std::string>{".4.", "123"}));
    EXPECT_EQ(board.Cell(1, 0)._locks, 0);
    // Two pieces and one lock.
    EXPECT_EQ(board.LevelScore().GetRealScore(), 2 * 10 + 15);
    EXPECT_EQ(board.GetLockScore(), 15.0f);
    EXPECT_EQ(sink.Count(BoardEventType::Effect, "BreakingUpEffect"), 1);
}

TEST_F(MatchingTest, EightInARowPricesAsSeven) {
    Load({"aaaaaaaa", "aaaaaaaa"}, {"33333333", "01201201"});
    EXPECT_TRUE(board.FindAndClearMatches());
    // No paint left: no bonus is made, every cell scores a match of seven.
    EXPECT_EQ(board.LevelScore().GetRealScore(), 8 * 50);
    EXPECT_EQ(Contents()[0], "........");
    EXPECT_EQ(sink.Count(BoardEventType::Effect, "CreateBombEffect"), 0);
}

TEST_F(MatchingTest, FiveDoubleLockedCellsGiveNoBonusAndNoHang) {
    Load({"ccccc", "aaaad"}, {"55555", "01201"});
    random.Push({0, 0, 0, 0});
    EXPECT_TRUE(board.FindAndClearMatches());
    EXPECT_EQ(Contents(), (std::vector<std::string>{"55555", "01201"}));
    for (int x = 0; x < 5; ++x) EXPECT_EQ(board.Cell(x, 0)._locks, 1);
    EXPECT_EQ(sink.Count(BoardEventType::Effect, "CreateBombEffect"), 0);
    EXPECT_EQ(board.Player().haveCrakerLastLevelFallIn, -1);
}

TEST_F(MatchingTest, BonusSkipsDoubleLockedCells) {
    // The average neighbour (2,1) is not in the line; the one cell with one lock gets the bonus.
    Load({"ccbcc", "aaaad"}, {"55555", "01201"});
    random.Push({0});
    EXPECT_TRUE(board.FindAndClearMatches());
    EXPECT_EQ(board.Cell(2, 0)._bonus, FIRE_CRACKER);
    EXPECT_EQ(board.Cell(2, 0)._locks, 0);
}

TEST_F(MatchingTest, NoBonusOnceLastPaintIsCleared) {
    Load({"aaaaa", "aaaaa"}, {"55555", "01201"});
    EXPECT_TRUE(board.FindAndClearMatches());
    EXPECT_EQ(Contents()[0], ".....");
    EXPECT_EQ(sink.Count(BoardEventType::Effect, "CreateBombEffect"), 0);
}

TEST_F(MatchingTest, SlowMotionForThePlayerOfThatName) {
    Load({"aaaaa", "aaaad"}, {"55555", "01201"});
    board.Player().activePlayerName = "Corvanex17";
    board.FindAndClearMatches();
    ASSERT_EQ(sink.Count(BoardEventType::SlowMotion), 1);
    EXPECT_FLOAT_EQ(sink.All(BoardEventType::SlowMotion)[0].duration, 2.5f);
}

struct BonusKindCase {
    int length;
    bool swap;
    int a;
    int b;
    int kind;
    int newA;
    int newB;
};

class BonusKindTest : public ::testing::TestWithParam<BonusKindCase>, public BoardFixture {};

TEST_P(BonusKindTest, KindFromLengthSwapAndPlayerProgress) {
    const BonusKindCase c = GetParam();
    std::string row(static_cast<std::size_t>(c.length), '7');
    row += std::string(static_cast<std::size_t>(8 - c.length), '.');
    Load({"aaaaaaaa", "aaaaaaad"}, {row, "01201201"});
    board.Player().haveCrakerLastLevelFallIn = c.a;
    board.Player().haveBlackBombLastLevelDone = c.b;
    if (c.swap) board.Selection() = {{0, 0}, {0, 1}};
    random.Push({0});
    EXPECT_TRUE(board.FindAndClearMatches());
    int found = 0;
    for (int x = 0; x < 8; ++x) {
        if (board.Cell(x, 0)._bonus != 0) found = board.Cell(x, 0)._bonus;
    }
    EXPECT_EQ(found, c.kind);
    if (c.swap) {
        EXPECT_EQ(board.Cell(0, 0)._bonus, c.kind);
    }
    EXPECT_EQ(board.Player().haveCrakerLastLevelFallIn, c.newA);
    EXPECT_EQ(board.Player().haveBlackBombLastLevelDone, c.newB);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BonusKindTest,
    ::testing::Values(
        // Without a swap: five is always a fire cracker; six or more while the player has no
        // won level with a fire cracker.
        BonusKindCase{5, false, 1, 1, FIRE_CRACKER, 1, 1},
        BonusKindCase{5, false, -1, -1, FIRE_CRACKER, 0, -1},
        BonusKindCase{6, false, 0, 1, FIRE_CRACKER, 0, 1},
        BonusKindCase{6, false, 1, -1, BLACK_BOMB, 1, 0},
        BonusKindCase{7, false, 1, 1, BLACK_BOMB, 1, 1},
        // Through the swap: five is a black bomb; the first six or more is a black bomb too.
        BonusKindCase{5, true, -1, -1, BLACK_BOMB, -1, 0},
        BonusKindCase{5, true, 1, 1, BLACK_BOMB, 1, 1},
        BonusKindCase{6, true, 1, -1, BLACK_BOMB, 1, 0},
        BonusKindCase{7, true, 1, -1, BLACK_BOMB, 1, 0},
        BonusKindCase{6, true, -1, 0, DYNAMITE, -1, 0},
        BonusKindCase{7, true, 1, 0, NUKE, 1, 0},
        BonusKindCase{8, true, 1, 1, NUKE, 1, 1}));

TEST_F(MatchingTest, RunsStopAtTheTopEdge) {
    // In memory the last cell of column 0 lies just before the first cell of column 1: a run
    // walking up past row 0 of column 1 would find it and make a line of three.
    std::vector<std::string> lines(13, "aa");
    std::vector<std::string> contents = {"05", "15", "20", "31", "42", "03", "14", "20", "31", "42", "03", "14", "25"};
    Load(lines, contents);
    EXPECT_FALSE(board.FindAndClearMatches());
    EXPECT_EQ(Contents(), contents);
}
