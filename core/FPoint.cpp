#include "core/FPoint.h"

#include <cmath>

#include "core/Assert.h"
#include "core/Math.h"

namespace {

void CheckIntRange(int _x, int _y) {
    Assert(-INT_FLOAT_RANGE <= _x && _x <= INT_FLOAT_RANGE);
    Assert(-INT_FLOAT_RANGE <= _y && _y <= INT_FLOAT_RANGE);
}

}  // namespace

void FPoint::CheckRange(float _x, float _y) {
    Assert(-INT_FLOAT_RANGE <= _x && _x <= INT_FLOAT_RANGE);
    Assert(-INT_FLOAT_RANGE <= _y && _y <= INT_FLOAT_RANGE);
}

FPoint::FPoint(float x, float y) : _x(x), _y(y) { CheckRange(_x, _y); }

FPoint::FPoint(int x, int y) : _x(static_cast<float>(x)), _y(static_cast<float>(y)) {
    CheckIntRange(x, y);
}

FPoint FPoint::operator+(const FPoint& other) const { return FPoint(_x + other._x, _y + other._y); }

FPoint FPoint::operator-(const FPoint& other) const { return FPoint(_x - other._x, _y - other._y); }

FPoint FPoint::operator*(const FPoint& other) const { return FPoint(_x * other._x, _y * other._y); }

FPoint operator*(float k, const FPoint& p) { return FPoint(k * p._x, k * p._y); }

float FPoint::GetDistance(const FPoint& other) const {
    const double dx = static_cast<double>(_x) - other._x;
    const double dy = static_cast<double>(_y) - other._y;
    return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

FPoint FPoint::Rotate(float angle) const {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    return FPoint(_x * c - _y * s, _x * s + _y * c);
}

float FPoint::GetAngle() const {
    Assert(_x != 0.0f || _y != 0.0f);
    return std::atan2(_y, _x);
}

float FPoint::GetAngleTo(const FPoint& other) const {
    float ans = other.GetAngle() - GetAngle();
    while (ans < 0) {
        ans += 2 * Math::PI;
    }
    while (ans >= 2 * Math::PI) {
        ans -= 2 * Math::PI;
    }
    Assert(0 <= ans && ans < Math::PI * 2);
    return ans;
}

Point FPoint::Round() const {
    CheckRange(_x, _y);
    return Point(Math::round(_x), Math::round(_y));
}
