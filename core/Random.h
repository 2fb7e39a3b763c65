#pragma once
// The game's own seedable random generator, 0..32767 on every platform, and the helpers over it.

#include <cstdint>

namespace Random {

constexpr int MAX_VALUE = 32767;

// Restarts the sequence; the same seed gives the same sequence.
void Seed(std::uint32_t seed);
// The next value in 0..MAX_VALUE.
int Next();

}  // namespace Random

// Next() * (m - 0.001) / 32767: a float in [0, m - 0.001].
float RandomFloat(float m);
// a + RandomFloat(b - a).
float RandomFloatRange(float a, float b);
// Next() / 32767 * (n - 0.001), truncated: 0 .. n - 1 for n >= 1, 0 for n = 0.
int RandomInt(std::uint32_t n);
// a + trunc(Next() * ((b - a) - 0.001) / 32767): a .. b - 1 for b > a, a for b = a.
int RandomIntRange(int a, int b);
