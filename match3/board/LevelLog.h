#pragma once
// The balancing log of won levels: one CSV line per level, Windows-1251 text.

#include <ctime>
#include <string>

struct LevelLogInput {
    std::string levelName;
    int levelTime = 0;
    float timeFactor = 1.0f;      // the level time factor
    float timerProgress = 0.0f;   // share of the level time left
    int lightningCount = 0;
    float levelScoreBonusMul = 0.0f;
    float matchScore = 0.0f;
    float lockScore = 0.0f;
    int goldenCountInt = 0;
    float goldenCountMul = 0.0f;
    int silverCountInt = 0;
    float silverCountMul = 0.0f;
    float timeCountMul = 0.0f;
    int cupBonus = 0;
    int levelMoney = 0;
    int reshuffleCount = 0;
    int levelsLost = 0;
};

struct LevelLogValues {
    int levelTime = 0;        // the level time at the player's pace
    int spentPercent = 0;
    int spentTime = 0;
    int lightningCount = 0;
    int matchMoney = 0;
    int lockAndCellMoney = 0;
    int timeBonus = 0;
    int cupBonus = 0;
    int levelMoney = 0;
    int reshuffleCount = 0;
    int levelsLost = 0;
};

LevelLogValues ComputeLevelLog(const LevelLogInput& input);

// The header line, written when the file is new.
std::string LevelLogHeader();
// One line: the start time, the level name and the values, each followed by "; ", then CR LF.
std::string LevelLogLine(const std::tm& startTime, const std::string& levelName, const LevelLogValues& values);
