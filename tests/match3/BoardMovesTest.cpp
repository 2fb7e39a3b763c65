// Move search, recolouring, swap-back and the lightning piece.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/match3/BoardTestSupport.h"
#include "tests/support/TestSupport.h"

using board_test::BoardFixture;
using board_test::SeededRandom;

namespace {

struct MovesTest : public ::testing::Test, public BoardFixture {};

bool HasLineOfThree(const GameBoard& board) {
    for (int x = 0; x < board.GetSizeX(); ++x) {
        for (int y = 0; y < board.GetSizeY(); ++y) {
            const int c = board.Cell(x, y)._color;
            if (c < 0 || c >= 16) continue;
            if (board.InField(x + 2, y) && board.Cell(x + 1, y)._color == c && board.Cell(x + 2, y)._color == c) {
                return true;
            }
            if (board.InField(x, y + 2) && board.Cell(x, y + 1)._color == c && board.Cell(x, y + 2)._color == c) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

TEST_F(MovesTest, VerticalSwapCompletingARowIsFound) {
    Load({"aaa", "aaa"}, {"331", "453"});
    EXPECT_TRUE(board.FindAvailableMove());
    EXPECT_EQ(board.GetHintMove().first, (BoardPoint{2, 0}));
    EXPECT_EQ(board.GetHintMove().second, (BoardPoint{2, 1}));
    EXPECT_EQ(sink.Count(BoardEventType::HintClocksReset), 1);
}

TEST_F(MovesTest, KeptMoveIsAnsweredWithoutSearch) {
    Load({"aaa", "aaa"}, {"012", "120"});
    board.SetHasMove(true);
    EXPECT_TRUE(board.FindAvailableMove());
    EXPECT_EQ(sink.Count(BoardEventType::HintClocksReset), 0);
    board.SetHasMove(false);
    EXPECT_FALSE(board.FindAvailableMove());
}

TEST_F(MovesTest, LockedPieceCompletesALineButIsNeverSwapped) {
    struct Case {
        std::vector<std::string> lines;
        bool found;
    };
    for (const Case& c : {Case{{"aba", "aaa"}, true}, Case{{"baa", "aaa"}, true},
                          Case{{"aab", "aaa"}, false}, Case{{"aaa", "aab"}, false}}) {
        BoardFixture f;
        f.Load(c.lines, {"331", "453"});
        EXPECT_EQ(f.board.FindAvailableMove(), c.found) << c.lines[0] << "/" << c.lines[1];
    }
}

TEST_F(MovesTest, UniformChoiceAmongMoves) {
    // One swap makes a row in each row: found from (1,0) going down (a row of 1s above), then
    // from (1,1) going up (a row of 2s below); the second is drawn.
    Load({"aaaa", "aaaa"}, {"1215", "3122"});
    random.Push({1});
    EXPECT_TRUE(board.FindAvailableMove());
    EXPECT_EQ(board.GetHintMove().first, (BoardPoint{1, 1}));
    EXPECT_EQ(board.GetHintMove().second, (BoardPoint{1, 0}));
    board.SetHasMove(false);
    random.Push({0});
    EXPECT_TRUE(board.FindAvailableMove());
    EXPECT_EQ(board.GetHintMove().first, (BoardPoint{1, 0}));
    EXPECT_EQ(board.GetHintMove().second, (BoardPoint{1, 1}));
}

TEST_F(MovesTest, RecolourLeavesNoLineAndAMoveForManySeeds) {
    const std::vector<std::string> lines = {"aaaaaaaaa", "aabaaacaa", "aaaa0aaaa", "adaaagaaa", "aaaaaaaaa",
                                            "aaaaaaaaa", "aaa0a0aaa", "aaaaaaaaa", "aahaaaaaa"};
    std::vector<std::string> contents(9, std::string(9, '1'));
    contents[4][4] = 'F';
    contents[7][2] = 'L';
    for (unsigned seed = 1; seed <= 60; ++seed) {
        SeededRandom random(seed);
        board_test::FakeMotion motion;
        NullBoardEventSink sink;
        GameBoard board(random, motion, sink);
        LevelShape shape;
        LevelProblem problem;
        ASSERT_TRUE(ParseLevelLines(lines, shape, problem));
        ASSERT_TRUE(board.ResizeBoard(9, 9));
        for (int y = 0; y < 9; ++y) {
            for (int x = 0; x < 9; ++x) {
                const LevelShapeCell& s = shape.cells[y][x];
                const char ch = contents[y][x];
                const int color = s.hole ? NO_CELL : (ch == 'F' ? 16 : (ch == 'L' ? 20 : 1));
                board.LoadCell(x, y, color, s.born, s.painted, s.locks, color >= 16 ? color - 15 : 0);
            }
        }
        board.SetChips({0, 1, 2, 3, 4});
        board.NoMovesReshuffle(false, true);
        EXPECT_FALSE(HasLineOfThree(board)) << "seed " << seed;
        EXPECT_TRUE(board.HasMove()) << "seed " << seed;
        EXPECT_EQ(board.Cell(4, 4)._bonus, FIRE_CRACKER);
        EXPECT_EQ(board.Cell(2, 7)._bonus, LIGHTNING);
        EXPECT_EQ(board.Cell(2, 1)._locks, 1);
        EXPECT_EQ(board.Cell(6, 1)._locks, 2);
        EXPECT_EQ(board.Cell(5, 3)._painted, 2);
        EXPECT_EQ(board.Cell(2, 8)._painted, 2);
        EXPECT_EQ(board.Cell(2, 8)._locks, 1);
    }
}

TEST_F(MovesTest, RecolouringGivesUpAfterItsTriesWithAReport) {
    Load({"aa"}, {"01"});
    testing_support::LogCapture log;
    board.NoMovesReshuffle(false, true);
    EXPECT_FALSE(board.HasMove());
    EXPECT_EQ(log.ErrorCount(), 1);
    EXPECT_EQ(sink.Count(BoardEventType::HintClocksReset), GameBoard::RECOLOUR_TRIES);
}

TEST_F(MovesTest, AnnounceOnly) {
    Load({"aa"}, {"01"});
    board.NoMovesReshuffle(true, false);
    const auto messages = sink.All(BoardEventType::Message);
    ASSERT_EQ(messages.size(), 3u);
    for (const auto& m : messages) EXPECT_EQ(m.name, "fieldReminder");
    EXPECT_EQ(messages[0].text, "set delay 2.2");
    EXPECT_EQ(messages[1].text, "set message Reshufle");
    EXPECT_EQ(messages[2].text, "report to GameField");
    const auto particles = sink.All(BoardEventType::Particle, "NoMovesReshuffle");
    ASSERT_EQ(particles.size(), 1u);
    EXPECT_EQ(particles[0].pos.x, 400.0f);
    EXPECT_EQ(particles[0].pos.y, 400.0f);
    EXPECT_EQ(sink.Count(BoardEventType::Sound, "no_more_moves"), 1);
    EXPECT_EQ(board.GetReshuffleCount(), 1);
    EXPECT_TRUE(board.IsTimerStopped());
    EXPECT_TRUE(board.IsReshufflePending());
    EXPECT_EQ(Contents(), (std::vector<std::string>{"01"}));
}

TEST_F(MovesTest, AnimatedReshuffleHidesEveryPieceAndFliesInFromNearby) {
    SeededRandom seeded(7);
    board_test::FakeMotion fakeMotion;
    board_test::RecordingSink recording;
    GameBoard big(seeded, fakeMotion, recording);
    ASSERT_TRUE(big.ResizeBoard(6, 5));
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x) big.LoadCell(x, y, (x + y) % 2, false, 0, 0, 0);
    }
    big.LoadCell(0, 0, 16, false, 0, 0, FIRE_CRACKER);
    big.SetChips({0, 1, 2, 3});
    big.NoMovesReshuffle(false, false);
    ASSERT_TRUE(big.HasMove());
    ASSERT_FALSE(recording.events.empty());
    EXPECT_EQ(recording.events[0].type, BoardEventType::ReshuffleSnapshot);
    EXPECT_EQ(recording.Count(BoardEventType::Sound, "resuffle"), 1);
    int hidden = 0;
    for (const auto& m : fakeMotion.moves) {
        EXPECT_EQ(m.move.mode, 4);
        EXPECT_EQ(m.move.scaleTo, 0.0f);
        EXPECT_FLOAT_EQ(m.move.duration, 1.1f);
        ++hidden;
    }
    EXPECT_EQ(hidden, 29);  // every normal piece, not the bonus
    int flyIns = 0;
    for (const auto& e : recording.All(BoardEventType::Effect, "ReplacePieceEffect")) {
        EXPECT_EQ(e.layer, -1);
        if (e.value != 1) continue;
        ++flyIns;
        EXPECT_LE(std::abs(e.other.x - e.cell.x), 2);
        EXPECT_LE(std::abs(e.other.y - e.cell.y), 2);
        EXPECT_FALSE(e.other == (BoardPoint{0, 0}));
    }
    EXPECT_EQ(flyIns, 29);
}

TEST_F(MovesTest, SwapBackExchangesAndAnimatesBoth) {
    Load({"aa"}, {"01"});
    board.SwapBack(0, 0, 1, 0);
    EXPECT_EQ(Contents(), (std::vector<std::string>{"10"}));
    const auto moves = motion.MovesOfMode(5);
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[0].x, 1);
    EXPECT_EQ(moves[0].move.x0, board.CellX(0));
    EXPECT_EQ(moves[1].x, 0);
    EXPECT_EQ(moves[1].move.x0, board.CellX(1));
    EXPECT_FLOAT_EQ(moves[0].move.duration, 0.2f);
    const auto sounds = sink.All(BoardEventType::Sound, "item_wrong");
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0].pan, board.ColumnPan(0));
}

TEST_F(MovesTest, LightningGoesToARandomCellBesideAPiece) {
    Load({"aab"}, {"12F"});
    board.SetLightningDue(true);
    random.Push({32767});  // the second of the two candidates
    EXPECT_TRUE(board.PlaceLightning());
    EXPECT_EQ(board.Cell(1, 0)._color, 20);
    EXPECT_EQ(board.Cell(1, 0)._bonus, LIGHTNING);
    EXPECT_EQ(motion.pieces[1][0].picture, 100 + LIGHTNING);
    EXPECT_EQ(motion.animations.back(), (std::array<int, 5>{1, 0, 0, 31, 4}));
    EXPECT_FALSE(board.IsLightningDue());
    EXPECT_EQ(board.GetLightningCount(), 1);
    EXPECT_EQ(sink.Count(BoardEventType::Effect, "CreateBombEffect"), 1);
    const auto hint = sink.All(BoardEventType::DelayedMessage);
    ASSERT_EQ(hint.size(), 1u);
    EXPECT_EQ(hint[0].text, "bomb_hint lighting");
    // The hint comes once per player.
    board.SetLightningDue(true);
    EXPECT_TRUE(board.PlaceLightning());
    EXPECT_EQ(sink.Count(BoardEventType::DelayedMessage), 1);
}

TEST_F(MovesTest, LightningStaysDueWithoutACell) {
    Load({"aa", "bb"}, {"FB", "12"});
    board.SetLightningDue(true);
    EXPECT_FALSE(board.PlaceLightning());
    EXPECT_TRUE(board.IsLightningDue());
    EXPECT_EQ(board.GetLightningCount(), 0);
    EXPECT_TRUE(sink.events.empty());
}
