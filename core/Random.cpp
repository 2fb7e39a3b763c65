#include "core/Random.h"

namespace {

// Linear congruential generator; the 15 bits above the low 16 are the result.
std::uint32_t state = 1;

}  // namespace

namespace Random {

void Seed(std::uint32_t seed) { state = seed; }

int Next() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
}

}  // namespace Random

float RandomFloat(float m) {
    return static_cast<float>(Random::Next()) * (m - 0.001f) / static_cast<float>(Random::MAX_VALUE);
}

float RandomFloatRange(float a, float b) { return a + RandomFloat(b - a); }

int RandomInt(std::uint32_t n) {
    const double r = static_cast<double>(Random::Next()) / Random::MAX_VALUE;
    return static_cast<int>(r * (static_cast<double>(n) - 0.001));
}

int RandomIntRange(int a, int b) {
    const double span = static_cast<double>(b) - static_cast<double>(a);
    return a + static_cast<int>(Random::Next() * (span - 0.001) / Random::MAX_VALUE);
}
