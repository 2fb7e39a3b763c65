#include "match3/board/BoardRandom.h"

int BoardRandom::Modulo(int n) {
    if (n <= 0) return 0;
    return Next() % n;
}

int BoardRandom::RandomInt(int n) {
    if (n <= 0) return 0;
    const float r = static_cast<float>(Next()) / 32767.0f * (static_cast<float>(n) - 0.001f);
    const int result = static_cast<int>(r);
    return result < 0 ? 0 : (result >= n ? n - 1 : result);
}

int BoardRandom::RandomIntRange(int a, int b) { return a + RandomInt(b - a); }

float BoardRandom::RandomFloat(float m) {
    return static_cast<float>(Next()) * (m - 0.001f) / 32767.0f;
}
