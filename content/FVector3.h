#pragma once
// A float point in three dimensions, for distances that weigh depth against the screen plane.

#include <cmath>

struct FVector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    FVector3() = default;
    FVector3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    float Length() const { return std::sqrt(x * x + y * y + z * z); }
};
