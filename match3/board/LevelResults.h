#pragma once
// The arithmetic of a level's end: time factor, win money, time multiplier, cup bonus, level clock.

#include <map>
#include <string>

// Nearest int, halves away from zero; held within the int range.
int RoundToInt(float value);

// The player's money after a level paid amount: never below 0, never past the int range.
int AddMoney(int money, int amount);

// 0.9 raised to the integer part of the "Time Multiplier" value (truncated towards zero).
float LevelTimeFactor(float timeMultiplier);

// How the money for painted cells and the lap bonus are split at the end of a won level.
struct WinMoney {
    int c0 = 0;      // money for all painted cells
    int c1 = 0;      // money for the golden cells
    int krug = 0;    // lap bonus
    float m0 = 0.0f;
    float m1 = 0.0f;
    float silverCountMul = 0.0f;
    float goldenCountMul = 0.0f;
};

// silverCountInt counts every painted cell, golden ones included. A zero denominator gives a share of 0.
WinMoney ComputeWinMoney(int silverCountInt, int goldenCountInt, float silverCost, float goldenCost,
                         int lapNumber, float krugMoneyAddon);

// The lap bonus added to the level money when the win starts.
int LapMoneyBonus(int lapNumber, float krugMoneyAddon);

// ceil(count * factor), 0 when the count is 0.
float CeilProduct(float count, float factor);

// Math::round(ceil(score * scoreMul) + levelMoney + ceil(timeCount * timeMul) + ceil(cup * cupMul)),
// held within 0 .. the int range.
int LevelMoneyTotal(int levelScore, float levelScoreBonusMul, int levelMoney, int timeCountInt,
                    float timeCountMul, int cupBonusInt, float cupBonusMul);

// Math::round(progress * 100).
int TimeCountPercent(float timerProgress);

// The new "Time Multiplier" after a level, kept within [-7, 7].
float TimeMultiplierAdjust(float timeMultiplier, float timerProgress, int levelNumber);

// "Bronze" 1, "Silver" 2, "Gold" 3, anything else 0.
int CupLevel(const std::string& cupValue);

// 4 x the sum, over the three cups, of the table entries "<cup><k>" for k = 1 .. the cup's level.
int CupBonus(const std::map<std::string, int>& table, const int cupLevels[3]);

// The level timer's countdown with its hurry-up and time-out.
class LevelClock {
public:
    struct Step {
        bool shining = false;      // less than a fifth of the time is left
        bool hurryUp = false;      // the hurry-up starts now (once per level)
        bool timeOut = false;      // the progress is exactly 0
        float progress = 0.0f;     // share of the level time left
    };

    // A level of levelTime seconds; hurryShown when it was already shown.
    void Start(int levelTime, float timeLeft, bool hurryShown);
    // Counts dt / factor off the time left. Nothing happens for a level time of 0 or less.
    Step Advance(float dt, float factor);

    int GetLevelTime() const { return _levelTime; }
    float GetTimeLeft() const { return _timeLeft; }
    bool IsHurryShown() const { return _hurryShown; }
    // Share of the level time left; 0 for a level time of 0 or less.
    float GetProgress() const;

private:
    int _levelTime = 0;
    float _timeLeft = 0.0f;
    bool _hurryShown = false;
};
