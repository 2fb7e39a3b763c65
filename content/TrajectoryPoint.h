#pragma once
// One target point of a fish's path: a position and a depth kept in units of 1/200, as the fish
// keeps its own depth.

struct TrajectoryPoint {
    float x = 0.0f;
    float y = 0.0f;
    // z * 200, rounded.
    int depth = 0;

    TrajectoryPoint() = default;
    TrajectoryPoint(float x_, float y_, float z);
};

// A depth in units of 1/200 as the z it stands for.
float DepthToZ(int depth);
