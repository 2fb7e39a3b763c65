#include "match3/board/BoardRandom.h"

#include "core/Random.h"

int BoardRandom::Modulo(int n) {
    if (n <= 0) return 0;
    return Next() % n;
}

int BoardRandom::RandomInt(int n) {
    if (n <= 0) return 0;
    const double r = static_cast<double>(Next()) / Random::MAX_VALUE;
    const int result = static_cast<int>(r * (static_cast<double>(n) - 0.001));
    return result < 0 ? 0 : (result >= n ? n - 1 : result);
}

int BoardRandom::RandomIntRange(int a, int b) {
    const double span = static_cast<double>(b) - static_cast<double>(a);
    return a + static_cast<int>(Next() * (span - 0.001) / Random::MAX_VALUE);
}

float BoardRandom::RandomFloat(float m) {
    return static_cast<float>(Next()) * (m - 0.001f) / static_cast<float>(Random::MAX_VALUE);
}

int GameBoardRandom::Next() { return Random::Next(); }
