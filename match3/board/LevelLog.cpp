#include "match3/board/LevelLog.h"

#include <cmath>
#include <cstdio>

#include "match3/board/LevelResults.h"

namespace {

const char* const TITLES[] = {
    // "время начала; "
    "\xe2\xf0\xe5\xec\xff \xed\xe0\xf7\xe0\xeb\xe0; ",
    // "имя уровня; "
    "\xe8\xec\xff \xf3\xf0\xee\xe2\xed\xff; ",
    // "время на уровень; "
    "\xe2\xf0\xe5\xec\xff \xed\xe0 \xf3\xf0\xee\xe2\xe5\xed\xfc; ",
    // "потраченое время на уровень в %; "
    "\xef\xee\xf2\xf0\xe0\xf7\xe5\xed\xee\xe5 \xe2\xf0\xe5\xec\xff \xed\xe0 \xf3\xf0\xee\xe2\xe5\xed\xfc \xe2 %; ",
    // "потраченое время на уровень; "
    "\xef\xee\xf2\xf0\xe0\xf7\xe5\xed\xee\xe5 \xe2\xf0\xe5\xec\xff \xed\xe0 \xf3\xf0\xee\xe2\xe5\xed\xfc; ",
    // "количество молний; "
    "\xea\xee\xeb\xe8\xf7\xe5\xf1\xf2\xe2\xee \xec\xee\xeb\xed\xe8\xe9; ",
    // "деньги за матчи и использование бонусов; "
    "\xe4\xe5\xed\xfc\xe3\xe8 \xe7\xe0 \xec\xe0\xf2\xf7\xe8 \xe8 \xe8\xf1\xef\xee\xeb\xfc\xe7\xee\xe2\xe0\xed\xe8\xe5 \xe1\xee\xed\xf3\xf1\xee\xe2; ",
    // "деньги за замки и очищеные клетки; "
    "\xe4\xe5\xed\xfc\xe3\xe8 \xe7\xe0 \xe7\xe0\xec\xea\xe8 \xe8 \xee\xf7\xe8\xf9\xe5\xed\xfb\xe5 \xea\xeb\xe5\xf2\xea\xe8; ",
    // "бонус за время; "
    "\xe1\xee\xed\xf3\xf1 \xe7\xe0 \xe2\xf0\xe5\xec\xff; ",
    // "бонус за кубки; "
    "\xe1\xee\xed\xf3\xf1 \xe7\xe0 \xea\xf3\xe1\xea\xe8; ",
    // "денег за уровень; "
    "\xe4\xe5\xed\xe5\xe3 \xe7\xe0 \xf3\xf0\xee\xe2\xe5\xed\xfc; ",
    // "решаффлов; "
    "\xf0\xe5\xf8\xe0\xf4\xf4\xeb\xee\xe2; ",
    // "неудачных попыток; "
    "\xed\xe5\xf3\xe4\xe0\xf7\xed\xfb\xf5 \xef\xee\xef\xfb\xf2\xee\xea; ",
};

std::string TwoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

}  // namespace

LevelLogValues ComputeLevelLog(const LevelLogInput& in) {
    LevelLogValues v;
    const float f = in.timeFactor;
    const float p = in.timerProgress;
    const float levelTime = static_cast<float>(in.levelTime);
    v.levelTime = RoundToInt(f * levelTime);
    v.spentPercent = RoundToInt((1.0f - p) * 100.0f);
    v.spentTime = RoundToInt((1.0f - f * p) * levelTime);
    v.lightningCount = in.lightningCount;
    v.matchMoney = RoundToInt(CeilProduct(in.matchScore, in.levelScoreBonusMul));
    v.lockAndCellMoney = RoundToInt(CeilProduct(in.lockScore, in.levelScoreBonusMul) +
                                    CeilProduct(static_cast<float>(in.goldenCountInt), in.goldenCountMul) +
                                    CeilProduct(static_cast<float>(in.silverCountInt), in.silverCountMul));
    v.timeBonus = RoundToInt(CeilProduct(in.timeCountMul, p * 100.0f));
    v.cupBonus = in.cupBonus;
    v.levelMoney = in.levelMoney;
    v.reshuffleCount = in.reshuffleCount;
    v.levelsLost = in.levelsLost;
    return v;
}

std::string LevelLogHeader() {
    std::string line;
    for (const char* title : TITLES) line += title;
    return line + "\r\n";
}

std::string LevelLogLine(const std::tm& t, const std::string& levelName, const LevelLogValues& v) {
    std::string line = TwoDigits(t.tm_mday) + "." + TwoDigits(t.tm_mon + 1) + "." + std::to_string(t.tm_year + 1900) +
                       " - " + TwoDigits(t.tm_hour) + ":" + TwoDigits(t.tm_min) + ":" + TwoDigits(t.tm_sec) + "; ";
    line += levelName + "; ";
    for (int value : {v.levelTime, v.spentPercent, v.spentTime, v.lightningCount, v.matchMoney, v.lockAndCellMoney,
                      v.timeBonus, v.cupBonus, v.levelMoney, v.reshuffleCount, v.levelsLost}) {
        line += std::to_string(value) + "; ";
    }
    return line + "\r\n";
}
