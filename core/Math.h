#pragma once
// Small arithmetic helpers in the program's own rounding and range conventions.

#include <cstdint>

struct Color;

namespace Math {

// One step below the float nearest to pi (bit pattern 0x40490FDA); angle computations use this value.
constexpr float PI = 3.1415925f;

// Halves away from zero.
int round(float value);
// -1, 0 or 1; a value that is not a number is a failed check and gives 0.
int sign(float value);
// The absolute value; Int::MIN_VALUE is a failed check and comes back unchanged.
int abs(int value);
int min(int a, int b);
int max(int a, int b);
// a + b held to the int range: money and counts never wrap.
int AddClamped(int a, int b);

}  // namespace Math

namespace math {

// a + (b - a) * t, t not clamped.
float lerp(float a, float b, float t);
// Integer forms: measured from the smaller end and truncated toward it.
std::uint32_t lerp(const std::uint32_t& a, const std::uint32_t& b, float t);
std::uint8_t lerp(const std::uint8_t& a, const std::uint8_t& b, float t);
// Each of the four components with the same t.
Color lerp(const Color& a, const Color& b, float t);

}  // namespace math
