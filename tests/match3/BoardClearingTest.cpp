// Clearing cells: locks, paint and money, bombs, chains and the lightning run.
#include <gtest/gtest.h>

#include "tests/match3/BoardTestSupport.h"
#include "tests/support/TestSupport.h"

using board_test::BoardFixture;
using testing_support::LogCapture;

namespace {

struct ClearingTest : public ::testing::Test, public BoardFixture {
    // Runs the explosions until none is left; the number of calls.
    int RunExplosions() {
        int steps = 0;
        while (!board.GetExplosions().empty() && steps < 1000) {
            board.UpdateExplosions(0.1f);
            ++steps;
        }
        board.UpdateExplosions(0.1f);
        return steps;
    }
    int EmptyCells() const {
        int n = 0;
        for (int x = 0; x < board.GetSizeX(); ++x) {
            for (int y = 0; y < board.GetSizeY(); ++y) n += board.Cell(x, y)._color == EMPTY_CELL;
        }
        return n;
    }
    // A full 15 x 13 board of plain pieces with one bomb in the middle.
    void LoadBigBoard(char bomb) {
        std::vector<std::string> lines(13, std::string(15, 'a'));
        std::vector<std::string> contents;
        for (int y = 0; y < 13; ++y) {
            std::string row;
            for (int x = 0; x < 15; ++x) row += static_cast<char>('0' + (x + 2 * y) % 5);
            contents.push_back(row);
        }
        contents[6][7] = bomb;
        Load(lines, contents);
    }
};

}  // namespace

TEST_F(ClearingTest, GoldThenSilverPaintPaysMoneyAndCounts) {
    board.SetMoneyAffixes("$", "!");
    Load({"ga", "aa"}, {"12", "34"});
    ASSERT_EQ(board.GetAllPaints(), 1);
    ASSERT_EQ(board.GetSilverCount(), 1);
    ASSERT_EQ(board.GetGoldenCount(), 1);

    board.ClearCell(0, 0, "clearMatch3", false);
    EXPECT_EQ(board.Cell(0, 0)._painted, 1);
    EXPECT_EQ(board.Cell(0, 0)._color, EMPTY_CELL);
    EXPECT_EQ(board.GetGoldenCount(), 0);
    EXPECT_EQ(board.GetAllPaints(), 1);
    EXPECT_EQ(board.LevelMoney().GetRealScore(), 25);
    // The piece still scores, but the cell shows the money text only.
    EXPECT_EQ(board.LevelScore().GetRealScore(), 10);
    const auto texts = sink.All(BoardEventType::Effect, "FloatingTextEffect");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "$25!");
    EXPECT_EQ(texts[0].resource, "money23");
    EXPECT_EQ(sink.LastPlayerValue("goldenCount")->text, "x0");
    EXPECT_EQ(sink.Count(BoardEventType::Sound, "last_gold2"), 1);
    EXPECT_EQ(sink.All(BoardEventType::Effect, "ClearPieceEffect")[0].resource, "golden");

    sink.events.clear();
    board.ClearCell(0, 0, "clearMatch3", false);
    EXPECT_EQ(board.Cell(0, 0)._painted, 0);
    EXPECT_EQ(board.GetSilverCount(), 0);
    EXPECT_EQ(board.GetAllPaints(), 0);
    EXPECT_EQ(board.LevelMoney().GetRealScore(), 35);
    EXPECT_EQ(board.LevelScore().GetRealScore(), 10);
    EXPECT_EQ(sink.LastPlayerValue("silverCount")->text, "x0");
    EXPECT_EQ(sink.Count(BoardEventType::Sound, "last_gold1"), 1);
    // Few paints left: the three-cells hint is queued.
    EXPECT_EQ(sink.Count(BoardEventType::DelayedMessage), 1);
    EXPECT_EQ(sink.All(BoardEventType::DelayedMessage)[0].text, "three_hint");
}

TEST_F(ClearingTest, EmptySilverCellPaysMoneyOnly) {
    Load({"da", "aa"}, {".2", "34"});
    board.ClearCell(0, 0, "clearMatch3", false);
    EXPECT_EQ(board.LevelMoney().GetRealScore(), 10);
    EXPECT_EQ(board.LevelScore().GetRealScore(), 0);
    EXPECT_EQ(sink.Count(BoardEventType::Effect, "HidePieceEffect"), 0);
    EXPECT_EQ(sink.Count(BoardEventType::Effect, "FloatingTextEffect"), 1);
    EXPECT_TRUE(motion.moves.empty());
}

TEST_F(ClearingTest, DoubleLockLosesOneLevel) {
    Load({"ca", "aa"}, {"12", "34"});
    board.ClearCell(0, 0, "clearMatch3", false);
    EXPECT_EQ(board.Cell(0, 0)._locks, 1);
    EXPECT_EQ(board.Cell(0, 0)._color, 1);
    EXPECT_EQ(board.LevelScore().GetRealScore(), 25);
    EXPECT_EQ(board.GetLockScore(), 25.0f);
    const auto shards = sink.All(BoardEventType::Effect, "BreakingUpEffect");
    ASSERT_EQ(shards.size(), 1u);
    EXPECT_EQ(shards[0].value, 1);  // mirrored for a double lock
    board.ClearCell(0, 0, "clearMatch3", false);
    EXPECT_EQ(board.Cell(0, 0)._locks, 0);
    EXPECT_EQ(board.Cell(0, 0)._color, 1);
    EXPECT_EQ(board.LevelScore().GetRealScore(), 40);
}

TEST_F(ClearingTest, LockedGoldenCellBreaksTheLockOnly) {
    Load({"ha", "aa"}, {"12", "34"});
    board.ClearCell(0, 0, "clearMatch3", false);
    EXPECT_EQ(board.Cell(0, 0)._locks, 0);
    EXPECT_EQ(board.Cell(0, 0)._painted, 2);
    EXPECT_EQ(board.Cell(0, 0)._color, 1);
    EXPECT_EQ(board.LevelMoney().GetRealScore(), 0);
}

TEST_F(ClearingTest, BombOnGoldTakesBothLevels) {
    Load({"aaa", "aga", "aaa"}, {"123", "4F0", "123"});
    board.ClearCell(1, 1, "clearMatch3", false);
    EXPECT_EQ(board.Cell(1, 1)._painted, 0);
    EXPECT_EQ(board.Cell(1, 1)._color, EMPTY_CELL);
    EXPECT_EQ(board.Cell(1, 1)._bonus, NO_BONUS);
    EXPECT_EQ(board.LevelMoney().GetRealScore(), 25 + 10);
    EXPECT_EQ(board.GetAllPaints(), 0);
    EXPECT_EQ(board.GetDetonations(), 1);
    EXPECT_EQ(sink.Count(BoardEventType::Sound, "bomb1"), 1);
    EXPECT_EQ(sink.Count(BoardEventType::Particle, "FireCrackerEffect"), 1);
}

TEST_F(ClearingTest, BombsReachTheirRadius) {
    struct Case {
        char letter;
        int reach;
        const char* costKey;
    };
    for (const Case c : {Case{'F', 5, "fireCrackerClear"}, Case{'B', 21, "blackBombClear"},
                         Case{'D', 37, "dynamitClear"}, Case{'N', 57, "nukeClear"}}) {
        SCOPED_TRACE(c.letter);
        LoadBigBoard(c.letter);
        board.LevelScore().Reset();
        board.ClearCell(7, 6, "clearMatch3", false);
        RunExplosions();
        EXPECT_EQ(EmptyCells(), c.reach);
        EXPECT_EQ(board.LevelScore().GetRealScore(),
                  10 + (c.reach - 1) * static_cast<int>(board.Cost(c.costKey)));
        EXPECT_EQ(board.GetActiveExplosions(), 0);
    }
}

TEST_F(ClearingTest, FireCrackerClearsOrthogonalNeighboursWithFasterHides) {
    Load({"aaa", "aaa", "aaa"}, {"123", "4F0", "123"});
    board.Detonate(1, 1, FIRE_CRACKER, NO_CELL);
    EXPECT_EQ(Contents(), (std::vector<std::string>{"123", "4.0", "123"}));
    EXPECT_FALSE(board.UpdateExplosions(0.05f));
    EXPECT_TRUE(board.UpdateExplosions(0.1f));
    EXPECT_EQ(Contents(), (std::vector<std::string>{"1.3", "...", "1.3"}));
    // Reached at radius 1: (1 + 2 - 1) steps of 0.1 s + 0.3 s.
    EXPECT_FLOAT_EQ(board.Cell(1, 0)._hideTime, 0.5f);
    EXPECT_EQ(sink.Count(BoardEventType::Sound, "item_exploid"), 4);
    EXPECT_TRUE(board.GetExplosions().empty());
}

TEST_F(ClearingTest, ChainCountsEveryFurtherBomb) {
    Load({"aaaaa", "aaaaa"}, {"FFF12", "34012"});
    board.ClearCell(0, 0, "clearMatch3", false);
    EXPECT_EQ(board.GetActiveExplosions(), 1);
    board.UpdateExplosions(0.1f);  // reaches (1,0): the second bomb
    EXPECT_EQ(board.GetActiveExplosions(), 2);
    EXPECT_EQ(sink.LastPlayerValue("BombCounter")->value, 2);
    EXPECT_EQ(sink.LastPlayerValue("MultipleBomb")->value, 100);
    EXPECT_EQ(sink.Count(BoardEventType::Effect, "BoomTextEffect"), 1);
    board.UpdateExplosions(0.1f);  // reaches (2,0): the third
    EXPECT_EQ(board.GetActiveExplosions(), 3);
    EXPECT_EQ(sink.LastPlayerValue("BombCounter")->value, 3);
    EXPECT_EQ(sink.LastPlayerValue("MultipleBomb")->value, 200);
    EXPECT_EQ(sink.Count(BoardEventType::Effect, "BoomTextEffect"), 1);
    // The chain bonus, the first bomb's own cell, and four cells cleared by fire crackers.
    EXPECT_EQ(board.GetMatchScore(), 200.0f + 10.0f + 4.0f * 5.0f);
    RunExplosions();
    EXPECT_EQ(board.GetActiveExplosions(), 0);
    EXPECT_EQ(board.GetDetonations(), 3);
}

TEST_F(ClearingTest, LightningClearsItsColourWhenTheRunArrives) {
    Load({"aaaa", "abaa", "aaaa"}, {"L212", "0230", "2014"});
    random.Push({0});  // counter-clockwise
    board.Detonate(0, 0, LIGHTNING, 2);
    EXPECT_EQ(board.Player().firstLigthning, 1);
    const auto splash = sink.All(BoardEventType::Effect, "SplashEffect");
    ASSERT_EQ(splash.size(), 1u);
    const auto clears = sink.All(BoardEventType::DelayedMessage);
    // The lightning cell and the four pieces of colour 2.
    ASSERT_EQ(clears.size(), 5u);
    ASSERT_EQ(splash[0].times.size(), 6u);
    EXPECT_EQ(clears[0].text, "Clear cell 0,0");
    for (std::size_t i = 0; i < clears.size(); ++i) {
        EXPECT_EQ(clears[i].name, "GameField");
        EXPECT_FLOAT_EQ(clears[i].delay, splash[0].times[i]);
        if (i > 0) {
            EXPECT_GT(clears[i].delay, clears[i - 1].delay);
        }
    }
    // The locked cell keeps its piece visible; the others hide until the run is over.
    EXPECT_EQ(sink.Count(BoardEventType::Effect, "SplashRemoverEffect"), 4);
    EXPECT_FALSE(motion.IsMoving(1, 1));
    EXPECT_TRUE(motion.IsMoving(1, 0));
    EXPECT_FLOAT_EQ(motion.moves.back().move.duration, 0.15f + splash[0].times.back());

    for (const auto& c : clears) board.ClearCellCommand(c.text.substr(std::string("Clear cell ").size()));
    // The locked piece of that colour loses its lock and stays.
    EXPECT_EQ(Contents(), (std::vector<std::string>{"..1.", "0230", ".014"}));
    EXPECT_EQ(board.Cell(1, 1)._locks, 0);
    EXPECT_EQ(board.LevelScore().GetRealScore(), 4 * 9 + 15);
    EXPECT_EQ(sink.Count(BoardEventType::Sound, "item_lighting"), 5);
}

TEST_F(ClearingTest, LightningWithoutColourOnlySounds) {
    Load({"aa", "aa"}, {"L2", "22"});
    board.Detonate(0, 0, LIGHTNING, NO_CELL);
    EXPECT_EQ(sink.Count(BoardEventType::Sound, "lightning"), 1);
    EXPECT_EQ(sink.Count(BoardEventType::DelayedMessage), 0);
    EXPECT_EQ(board.GetDetonations(), 0);
}

TEST_F(ClearingTest, TenthDetonationEarnsLightningAfterBlackBombLevel) {
    Load({"aaa", "aaa"}, {"F12", "340"});
    board.Player().haveBlackBombLastLevelDone = 1;
    board.SetDetonations(9);
    board.Detonate(0, 0, FIRE_CRACKER, NO_CELL);
    EXPECT_TRUE(board.IsLightningDue());
    EXPECT_EQ(board.GetDetonations(), 0);

    BoardFixture other;
    other.Load({"aaa", "aaa"}, {"F12", "340"});
    other.board.SetDetonations(9);
    other.board.Detonate(0, 0, FIRE_CRACKER, NO_CELL);
    EXPECT_FALSE(other.board.IsLightningDue());
    EXPECT_EQ(other.board.GetDetonations(), 10);
}

TEST_F(ClearingTest, ClearCellCommandIgnoresAddressesOutsideTheBoard) {
    Load({"a0", "aa"}, {"1.", "34"});
    LogCapture log;
    for (const char* argument : {"2,0", "-1,0", "0,2", "99999,1", "0,-1"}) board.ClearCellCommand(argument);
    EXPECT_EQ(log.ErrorCount(), 0);
    for (const char* argument : {"", "0", "a,b", "01,0", "0,1,", " 0,1", "0,+1"}) {
        LogCapture malformed;
        board.ClearCellCommand(argument);
        EXPECT_GE(malformed.ErrorCount(), 1) << argument;
    }
    EXPECT_EQ(Contents(), (std::vector<std::string>{"1#", "34"}));
    EXPECT_EQ(sink.Count(BoardEventType::Sound), 0);
    board.ClearCellCommand("0,1");
    EXPECT_EQ(Contents(), (std::vector<std::string>{"1#", ".4"}));
}

TEST_F(ClearingTest, AddressesOutsideTheBoardChangeNothing) {
    Load({"aa", "aa"}, {"12", "3F"});
    const std::vector<BoardPoint> outside = {{-1, 0}, {0, -1}, {2, 0}, {0, 2}, {15, 13}, {-100000, 7}};
    for (const BoardPoint& p : outside) {
        board.ClearCell(p.x, p.y, "clearMatch3", false);
        board.Detonate(p.x, p.y, NUKE, NO_CELL);
        board.NewPiece(p.x, p.y, 0, 0, true, -1);
        board.CellAction(p.x, p.y, CELL_TURN);
        board.SwapCells(p.x, p.y, 0, 0);
        board.SwapBack(0, 0, p.x, p.y);
        board.LoadCell(p.x, p.y, 1, false, 0, 0, 0);
        EXPECT_FALSE(board.InField(p.x, p.y));
        EXPECT_FALSE(board.CanBeFed(p.x, p.y));
        EXPECT_EQ(board.GetEmptyKind(p.x, p.y), KIND_BLOCKED);
    }
    EXPECT_TRUE(board.GetExplosions().empty());
    EXPECT_TRUE(sink.events.empty());
    EXPECT_TRUE(motion.moves.empty());
    EXPECT_EQ(Contents(), (std::vector<std::string>{"12", "3F"}));
}

TEST_F(ClearingTest, SwappedBonusGoesOff) {
    struct Case {
        std::string row;
        BoardPoint p0;
        BoardPoint p1;
        bool bombed;
        std::vector<std::string> sounds;
        int clears;  // lightning "Clear cell" messages
    };
    const Case cases[] = {
        // A lightning swapped with a plain piece strikes that piece's colour.
        {"L3133", {0, 0}, {1, 0}, true, {"lightning"}, 4},
        {"3L133", {0, 0}, {1, 0}, true, {"lightning"}, 4},
        // Onto a bomb: the bomb first, then the lightning with no colour.
        {"LB133", {0, 0}, {1, 0}, true, {"bomb2", "lightning"}, 0},
        // A bomb dragged onto a lightning: only the bomb.
        {"BL133", {0, 0}, {1, 0}, true, {"bomb2"}, 0},
        {"13133", {0, 0}, {1, 0}, false, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        BoardFixture f;
        f.Load({"aaaaa"}, {c.row});
        f.random.Push({0});
        EXPECT_EQ(f.board.DetonateSwap(c.p0, c.p1), c.bombed);
        std::vector<std::string> sounds;
        for (const auto& e : f.sink.All(BoardEventType::Sound)) {
            if (e.name == "lightning" || e.name.rfind("bomb", 0) == 0) sounds.push_back(e.name);
        }
        EXPECT_EQ(sounds, c.sounds);
        EXPECT_EQ(f.sink.Count(BoardEventType::DelayedMessage), c.clears);
    }
}

// Each text of a cleared cell stands on the piece's lower edge, centred on its column: the score
// of a plain piece and the money of a silver and a golden cell.
TEST_F(ClearingTest, TheTextsOfAClearedCellStandOnThePiecesLowerEdge) {
    Load({"adg", "aaa"}, {"123", "312"});
    board.SetMoneyAffixes("$", "!");
    board.SetAbsolutePos({100, 200});
    const struct {
        int x;
        const char* text;
        float rise;
    } cases[] = {{0, "+10", 11.0f}, {1, "$10!", 20.0f}, {2, "$25!", 20.0f}};
    for (const auto& c : cases) {
        sink.events.clear();
        board.ClearCell(c.x, 0, "clearMatch3", false);
        const auto texts = sink.All(BoardEventType::Effect, "FloatingTextEffect");
        ASSERT_EQ(texts.size(), 1u) << c.text;
        EXPECT_EQ(texts[0].text, c.text);
        // A 2-row board: row 0's piece corner is (1, 45) from the cell's, the cell's centre 22 further right.
        EXPECT_FLOAT_EQ(texts[0].pos.x, 100.0f + 44.0f * static_cast<float>(c.x) + 1.0f + 22.0f) << c.text;
        EXPECT_FLOAT_EQ(texts[0].pos.y, 200.0f + 45.0f) << c.text;
        EXPECT_FLOAT_EQ(texts[0].rise, c.rise) << c.text;
    }
}
