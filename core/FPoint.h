#pragma once
// Floating-point position in logical coordinates; every value it builds is range-checked.

#include "core/Point.h"

// Floats hold every integer up to this magnitude exactly.
constexpr int INT_FLOAT_RANGE = 16777216;

struct FPoint {
    float _x = 0.0f;
    float _y = 0.0f;

    FPoint() = default;
    FPoint(float x, float y);
    // Checks the exact integers before converting them.
    FPoint(int x, int y);

    FPoint operator+(const FPoint& other) const;
    FPoint operator-(const FPoint& other) const;
    // Component-wise product.
    FPoint operator*(const FPoint& other) const;
    bool operator==(const FPoint& other) const { return _x == other._x && _y == other._y; }
    bool operator!=(const FPoint& other) const { return !(*this == other); }

    float GetDistance(const FPoint& other) const;
    // Turned counter-clockwise about the origin.
    FPoint Rotate(float angle) const;
    // atan2(_y, _x); the origin is a failed check.
    float GetAngle() const;
    // other's angle minus this one's, in [0, 2 * Math::PI).
    float GetAngleTo(const FPoint& other) const;
    Point Round() const;

    // Reports a coordinate outside the range (a value that is not a number fails too).
    static void CheckRange(float _x, float _y);
};

FPoint operator*(float k, const FPoint& p);
