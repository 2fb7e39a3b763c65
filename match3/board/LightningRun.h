#pragma once
// The path of the lightning bolt: the struck pieces ordered once around their common centre,
// and the moment the bolt reaches each of them.

#include <vector>

#include "match3/board/BoardTypes.h"

struct LightningRun {
    // Indices into the given points, in running order.
    std::vector<int> order;
    // The path points in running order (the given points again, up to rounding).
    std::vector<BoardFPoint> path;
    // Arrival time of every path point, followed by the total time.
    std::vector<float> times;
    float pathLength = 0.0f;
    float totalTime = 0.0f;
};

constexpr float LIGHTNING_TAIL_LENGTH = 1000.0f;

// speed: seconds per tail length of path; descending: the bolt runs clockwise and ends at the first
// point. points must not be empty.
LightningRun MakeLightningRun(float speed, const std::vector<BoardFPoint>& points, bool descending);
