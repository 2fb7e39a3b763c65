#include "core/Math.h"

#include <climits>

#include "core/Assert.h"
#include "core/Color.h"
#include "core/Int.h"

namespace Math {

int round(float value) {
    if (value >= 0) {
        return static_cast<int>(value + 0.5f);
    }
    return static_cast<int>(value - 0.5f);
}

int sign(float value) {
    if (value < 0) return -1;
    if (value > 0) return 1;
    Assert(value == 0);
    return 0;
}

int abs(int value) {
    Assert(value != Int::MIN_VALUE);
    if (value == Int::MIN_VALUE) {
        return value;
    }
    return value < 0 ? -value : value;
}

int min(int a, int b) { return a < b ? a : b; }

int max(int a, int b) { return a > b ? a : b; }

}  // namespace Math

namespace math {

namespace {

template <class T>
T LerpUnsigned(T a, T b, float t) {
    if (a > b) {
        const T swap = a;
        a = b;
        b = swap;
        t = 1 - t;
    }
    return static_cast<T>(a + static_cast<T>((b - a) * t));
}

}  // namespace

float lerp(float a, float b, float t) { return a + (b - a) * t; }

std::uint32_t lerp(const std::uint32_t& a, const std::uint32_t& b, float t) {
    return LerpUnsigned<std::uint32_t>(a, b, t);
}

std::uint8_t lerp(const std::uint8_t& a, const std::uint8_t& b, float t) {
    return LerpUnsigned<std::uint8_t>(a, b, t);
}

Color lerp(const Color& a, const Color& b, float t) {
    return Color(lerp(a.red, b.red, t), lerp(a.green, b.green, t), lerp(a.blue, b.blue, t),
                 lerp(a.alpha, b.alpha, t));
}

}  // namespace math

int Math::AddClamped(int a, int b) {
    const long long sum = static_cast<long long>(a) + b;
    if (sum > INT_MAX) return INT_MAX;
    if (sum < INT_MIN) return INT_MIN;
    return static_cast<int>(sum);
}
