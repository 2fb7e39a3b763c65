#include "match3/board/LevelResults.h"

#include <cmath>
#include <limits>

#include "core/Assert.h"
#include "core/Math.h"

namespace {

// The nearest int of a double, halves away from zero, held within the int range (NaN gives 0).
int SaturatedRound(double value) {
    if (!(value == value)) return 0;
    const double rounded = value >= 0.0 ? std::floor(value + 0.5) : std::ceil(value - 0.5);
    if (rounded >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (rounded <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return static_cast<int>(rounded);
}

int NotNegative(int value) { return value < 0 ? 0 : value; }

}  // namespace

int RoundToInt(float value) {
    if (value > -1.0e6f && value < 1.0e6f) return Math::round(value);
    return SaturatedRound(static_cast<double>(value));
}

int AddMoney(int money, int amount) {
    return NotNegative(SaturatedRound(static_cast<double>(money) + static_cast<double>(amount)));
}

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
    w.krug = SaturatedRound(static_cast<double>(lapNumber) * RoundToInt(krugMoneyAddon));
    w.c0 = RoundToInt(CeilProduct(static_cast<float>(silverCountInt), silverCost));
    w.c1 = RoundToInt(CeilProduct(static_cast<float>(goldenCountInt), goldenCost));
    const float sum = static_cast<float>(w.c0) + static_cast<float>(w.c1);
    const float krug = static_cast<float>(w.krug);
    w.m0 = static_cast<float>(w.c0) + (sum != 0.0f ? krug * static_cast<float>(w.c0) / sum : 0.0f);
    w.m1 = static_cast<float>(w.c1) + (sum != 0.0f ? krug * static_cast<float>(w.c1) / sum : 0.0f);
    w.silverCountMul = silverCountInt != 0 ? w.m0 / static_cast<float>(silverCountInt) : 0.0f;
    w.goldenCountMul = goldenCountInt > 0 ? w.m1 / static_cast<float>(goldenCountInt) : 0.0f;
    return w;
}

int LapMoneyBonus(int lapNumber, float krugMoneyAddon) {
    if (lapNumber == 0) return 0;
    return SaturatedRound(static_cast<double>(lapNumber) * static_cast<double>(krugMoneyAddon));
}

int LevelMoneyTotal(int levelScore, float levelScoreBonusMul, int levelMoney, int timeCountInt,
                    float timeCountMul, int cupBonusInt, float cupBonusMul) {
    // Summed in double: no part can wrap the total, and a level never takes money away.
    return NotNegative(SaturatedRound(static_cast<double>(CeilProduct(static_cast<float>(levelScore), levelScoreBonusMul)) +
                                      static_cast<double>(levelMoney) +
                                      static_cast<double>(CeilProduct(static_cast<float>(timeCountInt), timeCountMul)) +
                                      static_cast<double>(CeilProduct(static_cast<float>(cupBonusInt), cupBonusMul))));
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
    double sum = 0.0;
    for (int c = 1; c <= 3; ++c) {
        for (int k = 1; k <= cupLevels[c - 1]; ++k) {
            const auto it = table.find(std::to_string(c) + std::to_string(k));
            if (it != table.end()) sum += it->second;
        }
    }
    return SaturatedRound(4.0 * sum);
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
