// The arithmetic of a level's end, the score counter, the level clock and the lightning's path.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "match3/board/LevelLog.h"
#include "match3/board/LevelResults.h"
#include "match3/board/LightningRun.h"
#include "match3/board/ScoreCounter.h"

TEST(WinMoneyTest, LapBonusSpreadOverSilverAndGold) {
    // 4 silver and 2 golden cells: 6 painted, 2 golden; silver 10, golden 25, lap 1 of 100.
    const WinMoney w = ComputeWinMoney(6, 2, 10.0f, 25.0f, 1, 100.0f);
    EXPECT_EQ(w.c0, 60);
    EXPECT_EQ(w.c1, 50);
    EXPECT_EQ(w.krug, 100);
    EXPECT_NEAR(w.m0, 114.545f, 0.001f);
    EXPECT_NEAR(w.m1, 95.455f, 0.001f);
    EXPECT_NEAR(w.silverCountMul, 19.09f, 0.01f);
    EXPECT_NEAR(w.goldenCountMul, 47.73f, 0.01f);
}

TEST(WinMoneyTest, ZeroCountsGiveZeroShares) {
    const WinMoney none = ComputeWinMoney(0, 0, 10.0f, 25.0f, 3, 100.0f);
    EXPECT_EQ(none.krug, 300);
    EXPECT_EQ(none.m0, 0.0f);
    EXPECT_EQ(none.m1, 0.0f);
    EXPECT_EQ(none.silverCountMul, 0.0f);
    EXPECT_EQ(none.goldenCountMul, 0.0f);
    EXPECT_FALSE(std::isnan(none.m0));
    const WinMoney silverOnly = ComputeWinMoney(4, 0, 10.0f, 25.0f, 1, 100.0f);
    EXPECT_FLOAT_EQ(silverOnly.m0, 140.0f);
    EXPECT_EQ(silverOnly.m1, 0.0f);
    EXPECT_EQ(silverOnly.goldenCountMul, 0.0f);
    EXPECT_FLOAT_EQ(silverOnly.silverCountMul, 35.0f);
    // A zero count times an endless cost is still nothing.
    EXPECT_EQ(CeilProduct(0.0f, INFINITY), 0.0f);
}

TEST(WinMoneyTest, LevelMoneyAddsCeiledParts) {
    // ceil(123 * 0.5) + 200 + ceil(37 * 1.5) + ceil(40 * 1.0) = 62 + 200 + 56 + 40.
    EXPECT_EQ(LevelMoneyTotal(123, 0.5f, 200, 37, 1.5f, 40, 1.0f), 358);
    EXPECT_EQ(LapMoneyBonus(2, 100.4f), 201);
    EXPECT_EQ(TimeCountPercent(0.255f), 26);
}

TEST(TimeMultiplierTest, Table) {
    struct Case {
        float v;
        float progress;
        int level;
        float expected;
    };
    const Case cases[] = {
        {0.0f, 0.60f, 25, 0.3f},   {0.0f, 0.40f, 25, 0.1f},   {0.0f, 0.20f, 25, 0.0f},
        {0.0f, 0.08f, 25, -0.1f},  {0.0f, 0.08f, 5, -0.1f},   {0.0f, 0.03f, 25, -0.3f},
        {0.0f, 0.0f, 25, -1.0f},   {0.0f, 0.40f, 5, -1.0f},   {0.0f, 0.60f, 20, -1.0f},
        {6.9f, 0.60f, 21, 7.0f},   {-6.5f, 0.0f, 3, -7.0f},   {0.0f, 0.50f, 21, 0.1f},
        {0.0f, 0.504f, 21, 0.1f},  {0.0f, 0.506f, 21, 0.3f},  {2.0f, 0.10f, 21, 1.9f},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(TimeMultiplierAdjust(c.v, c.progress, c.level), c.expected, 1e-5f)
            << c.v << " " << c.progress << " " << c.level;
    }
}

TEST(TimeFactorTest, PowersOfNineTenths) {
    EXPECT_NEAR(LevelTimeFactor(2.7f), 0.81f, 1e-6f);
    EXPECT_EQ(LevelTimeFactor(0.0f), 1.0f);
    EXPECT_EQ(LevelTimeFactor(0.9f), 1.0f);
    EXPECT_NEAR(LevelTimeFactor(-1.0f), 1.0f / 0.9f, 1e-6f);
    EXPECT_NEAR(LevelTimeFactor(-1.5f), 1.0f / 0.9f, 1e-6f);
    EXPECT_NEAR(LevelTimeFactor(7.0f), std::pow(0.9f, 7.0f), 1e-6f);
    EXPECT_NEAR(LevelTimeFactor(-7.0f), std::pow(0.9f, -7.0f), 1e-5f);
    EXPECT_EQ(LevelTimeFactor(NAN), 1.0f);
}

TEST(CupBonusTest, EveryLevelUpToTheCupsLevelFourTimes) {
    const std::map<std::string, int> table = {{"11", 1},  {"12", 2},   {"13", 4},   {"21", 8},
                                              {"22", 16}, {"23", 32},  {"31", 64},  {"32", 128}};
    const int levels[3] = {CupLevel("Gold"), CupLevel("Bronze"), CupLevel("none")};
    EXPECT_EQ(CupBonus(table, levels), 4 * (1 + 2 + 4 + 8));
    const int silver[3] = {0, 0, CupLevel("Silver")};
    EXPECT_EQ(CupBonus(table, silver), 4 * (64 + 128));
    // A missing entry counts 0.
    const int gold[3] = {0, 0, 3};
    EXPECT_EQ(CupBonus(table, gold), 4 * (64 + 128));
    EXPECT_EQ(CupLevel("gold"), 0);
}

TEST(ScoreCounterTest, CountsUpInQuarters) {
    ScoreCounter counter;
    EXPECT_FALSE(counter.Update(0.25f));
    counter.Add(100);
    EXPECT_TRUE(counter.Update(1.0f));
    EXPECT_EQ(counter.GetScore(), 100);
    counter.Add(50);
    EXPECT_EQ(counter.GetLastAdded(), 50);
    const int expected[] = {112, 125, 137, 150};
    for (int value : expected) {
        EXPECT_TRUE(counter.Update(0.25f));
        EXPECT_EQ(counter.GetScore(), value);
    }
    EXPECT_FALSE(counter.Update(0.25f));
    EXPECT_EQ(counter.GetRealScore(), 150);
}

TEST(ScoreCounterTest, NewAdditionRestartsFromTheShownValue) {
    ScoreCounter counter;
    counter.Add(100);
    counter.Update(0.5f);
    EXPECT_EQ(counter.GetScore(), 50);
    counter.Add(100);
    counter.Update(0.5f);
    EXPECT_EQ(counter.GetScore(), 125);
    counter.Update(0.5f);
    EXPECT_EQ(counter.GetScore(), 200);
}

// Sums that would run past the int range stop at its end; a level never takes money away and the
// player's money never goes below 0.
TEST(LevelMoneyTest, SumsStayInRangeAndMoneyNeverGoesNegative) {
    constexpr int MAX = std::numeric_limits<int>::max();
    EXPECT_EQ(MAX, AddMoney(MAX - 100, 2000));
    EXPECT_EQ(0, AddMoney(10, -2000));
    EXPECT_EQ(150, AddMoney(100, 50));
    EXPECT_EQ(MAX, RoundToInt(1.0e30f));
    EXPECT_EQ(std::numeric_limits<int>::min(), RoundToInt(-1.0e30f));
    EXPECT_EQ(0, RoundToInt(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_EQ(3, RoundToInt(2.5f));
    const struct {
        int score;
        float scoreMul;
        int money;
        int timeCount;
        float timeMul;
        int cup;
        int total;
    } cases[] = {
        {100, 0.5f, 10, 60, 0.5f, 20, 110},
        {MAX, 2.0f, MAX, 100, 1.0e9f, MAX, MAX},
        {1000, -5.0f, 0, 10, -1.0f, 0, 0},  // bonus factors from a script gone wrong pay nothing
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.total, LevelMoneyTotal(c.score, c.scoreMul, c.money, c.timeCount, c.timeMul, c.cup, 1.0f));
    }
    const WinMoney w = ComputeWinMoney(4, 2, 1.0e6f, 1.0e6f, MAX, 1.0e6f);
    EXPECT_EQ(MAX, w.krug);
    EXPECT_EQ(MAX, LapMoneyBonus(MAX, 1.0e6f));
    const std::map<std::string, int> table = {{"11", MAX}, {"12", MAX}};
    const int levels[3] = {2, 0, 0};
    EXPECT_EQ(MAX, CupBonus(table, levels));
}

TEST(ScoreCounterTest, TheTotalStopsAtTheEndOfTheIntRange) {
    ScoreCounter counter;
    counter.SetAtRest(std::numeric_limits<int>::max() - 5);
    counter.Add(1000000);
    EXPECT_EQ(std::numeric_limits<int>::max(), counter.GetRealScore());
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(counter.Update(0.25f));
    EXPECT_EQ(std::numeric_limits<int>::max(), counter.GetScore());
}

TEST(LevelClockTest, HurryUpStartsJustBelowAFifthOnce) {
    LevelClock clock;
    clock.Start(100, 21.0f, false);
    LevelClock::Step step = clock.Advance(1.0f, 1.0f);  // exactly 20 s of 100 left
    EXPECT_EQ(clock.GetTimeLeft(), 20.0f);
    EXPECT_FALSE(step.shining);
    EXPECT_FALSE(step.hurryUp);
    step = clock.Advance(0.001f, 1.0f);
    EXPECT_TRUE(step.shining);
    EXPECT_TRUE(step.hurryUp);
    step = clock.Advance(1.0f, 1.0f);
    EXPECT_TRUE(step.shining);
    EXPECT_FALSE(step.hurryUp);
    EXPECT_FALSE(step.timeOut);
    step = clock.Advance(100.0f, 1.0f);
    EXPECT_TRUE(step.timeOut);
    EXPECT_EQ(step.progress, 0.0f);
    EXPECT_EQ(clock.GetTimeLeft(), 0.0f);
}

TEST(LevelClockTest, FactorSpeedsTheClockAndRestoredHurryStaysShown) {
    LevelClock clock;
    clock.Start(100, 50.0f, true);
    clock.Advance(0.81f, LevelTimeFactor(2.0f));
    EXPECT_NEAR(clock.GetTimeLeft(), 49.0f, 1e-4f);
    const LevelClock::Step step = clock.Advance(40.0f, 1.0f);
    EXPECT_TRUE(step.shining);
    EXPECT_FALSE(step.hurryUp);
    // A level without time never runs.
    LevelClock empty;
    empty.Start(0, 0.0f, false);
    EXPECT_FALSE(empty.Advance(1.0f, 1.0f).timeOut);
    EXPECT_EQ(empty.GetProgress(), 0.0f);
}

TEST(LightningRunTest, OrderAroundTheCentreAndArrivalTimes) {
    const std::vector<BoardFPoint> points = {{0, 0}, {100, 0}, {50, 100}};
    const LightningRun up = MakeLightningRun(0.4f, points, false);
    EXPECT_EQ(up.order, (std::vector<int>{0, 1, 2}));
    const LightningRun down = MakeLightningRun(0.4f, points, true);
    EXPECT_EQ(down.order, (std::vector<int>{2, 1, 0}));
    ASSERT_EQ(up.times.size(), 4u);
    EXPECT_EQ(up.times[0], 0.0f);
    EXPECT_EQ(up.times.back(), up.totalTime);
    for (std::size_t i = 0; i + 1 < up.times.size(); ++i) EXPECT_LT(up.times[i], up.totalTime);
    // 100 + 111.8 units of path, well under the 0.2 s minimum.
    EXPECT_NEAR(up.pathLength, 100.0f + std::sqrt(50.0f * 50.0f + 100.0f * 100.0f), 0.01f);
    EXPECT_EQ(up.totalTime, 0.2f);
    EXPECT_NEAR(up.path[1].x, 100.0f, 0.01f);
    EXPECT_NEAR(up.path[1].y, 0.0f, 0.01f);
}

TEST(LightningRunTest, LongPathRunsAtItsSpeed) {
    const LightningRun run = MakeLightningRun(0.4f, {{0, 0}, {1000, 0}}, false);
    EXPECT_NEAR(run.totalTime, 0.4f, 1e-5f);
    ASSERT_EQ(run.times.size(), 3u);
    EXPECT_NEAR(run.times[1], 0.2f, 1e-5f);
    const LightningRun one = MakeLightningRun(0.4f, {{10, 10}}, false);
    EXPECT_EQ(one.times, (std::vector<float>{0.0f, 0.2f}));
}

TEST(LevelLogTest, ColumnsOfAWonLevel) {
    LevelLogInput in;
    in.levelName = "12";
    in.levelTime = 120;
    in.timeFactor = LevelTimeFactor(0.0f);
    in.timerProgress = 0.25f;
    in.lightningCount = 2;
    in.levelScoreBonusMul = 0.1f;
    in.matchScore = 1234.0f;
    in.lockScore = 45.0f;
    in.goldenCountInt = 2;
    in.goldenCountMul = 47.73f;
    in.silverCountInt = 6;
    in.silverCountMul = 19.09f;
    in.timeCountMul = 1.5f;
    in.cupBonus = 60;
    in.levelMoney = 700;
    in.reshuffleCount = 1;
    in.levelsLost = 3;
    const LevelLogValues v = ComputeLevelLog(in);
    EXPECT_EQ(v.levelTime, 120);
    EXPECT_EQ(v.spentPercent, 75);
    EXPECT_EQ(v.spentTime, 90);
    EXPECT_EQ(v.matchMoney, 124);                 // ceil(123.4)
    EXPECT_EQ(v.lockAndCellMoney, 5 + 96 + 115);  // ceil(4.5) + ceil(95.46) + ceil(114.54)
    EXPECT_EQ(v.timeBonus, 38);                   // ceil(37.5)

    std::tm t{};
    t.tm_year = 2010 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 7;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 3;
    EXPECT_EQ(LevelLogLine(t, "12", v), "07.03.2010 - 09:05:03; 12; 120; 75; 90; 2; 124; 216; 38; 60; 700; 1; 3; \r\n");
    // A faster clock: the level time at the player's pace and the time spent.
    in.timeFactor = LevelTimeFactor(2.0f);
    const LevelLogValues fast = ComputeLevelLog(in);
    EXPECT_EQ(fast.levelTime, 97);
    EXPECT_EQ(fast.spentTime, 96);
}

TEST(LevelLogTest, HeaderHasThirteenTitlesInTheGamesCodePage) {
    const std::string header = LevelLogHeader();
    EXPECT_EQ(header.rfind("\xe2\xf0\xe5\xec\xff \xed\xe0\xf7\xe0\xeb\xe0; ", 0), 0u);  // "время начала; "
    int fields = 0;
    for (std::size_t i = header.find("; "); i != std::string::npos; i = header.find("; ", i + 1)) ++fields;
    EXPECT_EQ(fields, 13);
    EXPECT_EQ(header.substr(header.size() - 2), "\r\n");
    EXPECT_NE(header.find("\xf0\xe5\xf8\xe0\xf4\xf4\xeb\xee\xe2; "), std::string::npos);  // "решаффлов; "
}
