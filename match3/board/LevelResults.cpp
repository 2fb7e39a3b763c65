#include "match3/board/LevelResults.h"

#include <cmath>

#include "core/Assert.h"
#include "core/Math.h"

int RoundToInt(float value) { return Math::round(value); }

float LevelTimeFactor(float timeMultiplier) {
    // Beyond any stored value (kept within [-7, 7]); also keeps NaN out of the conversion.
    if (!(timeMultiplier > -1.0e6f && timeMultiplier < 1.0e6f)) return 1.0f;
    long exponent = static_cast<long>(timeMultiplier);
    const bool negative = exponent < 0;
    if (negative) exponent = -exponent;
    float result = 1.0f;
    float base = 0.9f;
    while (exponent > 0) {
        if (exponent & 1) result *= base;
        base *= base;
        exponent >>= 1;
    }
    if (negative) {
        if (result <= 0.0f) return 1.0f;
        return 1.0f / result;
    }
    return result;
}

float CeilProduct(float count, float factor) {
    if (count == 0.0f) return 0.0f;
    return std::ceil(count * factor);
}

WinMoney ComputeWinMoney(int silverCountInt, int goldenCountInt, float silverCost, float goldenCost,
                         int lapNumber, float krugMoneyAddon) {
    WinMoney w;
    w.krug = lapNumber * RoundToInt(krugMoneyAddon);
    w.c0 = RoundToInt(CeilProduct(static_cast<float>(silverCountInt), silverCost));
    w.c1 = RoundToInt(CeilProduct(static_cast<float>(goldenCountInt), goldenCost));
    const float sum = static_cast<float>(w.c0 + w.c1);
    const float krug = static_cast<float>(w.krug);
    w.m0 = static_cast<float>(w.c0) + (sum != 0.0f ? krug * static_cast<float>(w.c0) / sum : 0.0f);
    w.m1 = static_cast<float>(w.c1) + (sum != 0.0f ? krug * static_cast<float>(w.c1) / sum : 0.0f);
    w.silverCountMul = silverCountInt != 0 ? w.m0 / static_cast<float>(silverCountInt) : 0.0f;
    w.goldenCountMul = goldenCountInt > 0 ? w.m1 / static_cast<float>(goldenCountInt) : 0.0f;
    return w;
}

int LapMoneyBonus(int lapNumber, float krugMoneyAddon) {
    if (lapNumber == 0) return 0;
    return RoundToInt(static_cast<float>(lapNumber) * krugMoneyAddon);
}

int LevelMoneyTotal(int levelScore, float levelScoreBonusMul, int levelMoney, int timeCountInt,
                    float timeCountMul, int cupBonusInt, float cupBonusMul) {
    return RoundToInt(CeilProduct(static_cast<float>(levelScore), levelScoreBonusMul) +
                      static_cast<float>(levelMoney) +
                      CeilProduct(static_cast<float>(timeCountInt), timeCountMul) +
                      CeilProduct(static_cast<float>(cupBonusInt), cupBonusMul));
}

int TimeCountPercent(float timerProgress) { return RoundToInt(timerProgress * 100.0f); }

float TimeMultiplierAdjust(float timeMultiplier, float timerProgress, int levelNumber) {
    const int p = TimeCountPercent(timerProgress);
    const bool late = levelNumber > 20;
    float v = timeMultiplier;
    if (p > 50 && late) {
        v += 0.3f;
    } else if (p > 30 && p <= 50 && late) {
        v += 0.1f;
    } else if (p > 10 && p <= 30 && late) {
    } else if (p > 5 && p <= 10) {
        v -= 0.1f;
    } else if (p > 0 && p <= 5) {
        v -= 0.3f;
    } else {
        v -= 1.0f;
    }
    if (v > 7.0f) v = 7.0f;
    if (v < -7.0f) v = -7.0f;
    return v;
}

int CupLevel(const std::string& cupValue) {
    if (cupValue == "Bronze") return 1;
    if (cupValue == "Silver") return 2;
    if (cupValue == "Gold") return 3;
    return 0;
}

int CupBonus(const std::map<std::string, int>& table, const int cupLevels[3]) {
    int sum = 0;
    for (int c = 1; c <= 3; ++c) {
        for (int k = 1; k <= cupLevels[c - 1]; ++k) {
            const auto it = table.find(std::to_string(c) + std::to_string(k));
            if (it != table.end()) sum += it->second;
        }
    }
    return 4 * sum;
}

void LevelClock::Start(int levelTime, float timeLeft, bool hurryShown) {
    _levelTime = levelTime;
    _timeLeft = timeLeft;
    _hurryShown = hurryShown;
}

float LevelClock::GetProgress() const {
    if (_levelTime <= 0) return 0.0f;
    return _timeLeft / static_cast<float>(_levelTime);
}

LevelClock::Step LevelClock::Advance(float dt, float factor) {
    Step step;
    if (_levelTime <= 0) return step;
    if (factor > 0.0f) {
        _timeLeft -= dt / factor;
        if (_timeLeft < 0.0f) _timeLeft = 0.0f;
    }
    step.progress = GetProgress();
    if (step.progress < 0.2f) {
        step.shining = true;
        if (!_hurryShown) {
            step.hurryUp = true;
            _hurryShown = true;
        }
    }
    step.timeOut = step.progress == 0.0f;
    return step;
}
