#include "content/TrajectoryPoint.h"

#include "core/Math.h"

namespace {
constexpr float DEPTH_UNITS = 200.0f;
constexpr float DEPTH_UNIT = 0.005f;
}  // namespace

TrajectoryPoint::TrajectoryPoint(float x_, float y_, float z) : x(x_), y(y_), depth(Math::round(z * DEPTH_UNITS)) {}

float DepthToZ(int depth) { return static_cast<float>(depth) * DEPTH_UNIT; }
