#include "match3/board/LightningRun.h"

#include <algorithm>
#include <cmath>

#include "core/Assert.h"

namespace {

constexpr float TWO_PI = 6.2831855f;

float Length(float x, float y) { return std::sqrt(x * x + y * y); }

float Angle(float x, float y) {
    Assert(x != 0.0f || y != 0.0f);
    return std::atan2(y, x);
}

// The angle of (x1, y1) minus that of (x0, y0), brought into [0, 2pi).
float AngleTo(float x0, float y0, float x1, float y1) {
    float a = Angle(x1, y1) - Angle(x0, y0);
    if (a < 0.0f) a += TWO_PI;
    if (a >= TWO_PI) a -= TWO_PI;
    return a;
}

struct Key {
    float key = 0.0f;
    float radius = 0.0f;
    int index = 0;
};

}  // namespace

LightningRun MakeLightningRun(float speed, const std::vector<BoardFPoint>& points, bool descending) {
    LightningRun run;
    Assert(!points.empty());
    if (points.empty()) return run;
    const int n = static_cast<int>(points.size());
    float cx = 0.0f;
    float cy = 0.0f;
    for (const BoardFPoint& p : points) {
        cx += p.x;
        cy += p.y;
    }
    const float inv = 1.0f / static_cast<float>(n);
    cx *= inv;
    cy *= inv;

    const float d0x = points[0].x - cx;
    const float d0y = points[0].y - cy;
    const bool useFirst = Length(d0x, d0y) >= 1.0f;
    const float a0 = useFirst ? Angle(d0x, d0y) : 0.0f;

    std::vector<Key> keys;
    keys.reserve(points.size());
    for (int i = 0; i < n; ++i) {
        const float dx = points[i].x - cx;
        const float dy = points[i].y - cy;
        Key k;
        k.radius = Length(dx, dy);
        k.index = i;
        if (k.radius <= 0.0f) {
            k.key = 0.1f;
        } else if (useFirst) {
            k.key = AngleTo(d0x, d0y, dx, dy);
        } else {
            k.key = AngleTo(1.0f, 0.0f, dx, dy);
        }
        keys.push_back(k);
    }
    if (descending) {
        std::stable_sort(keys.begin(), keys.end(),
                         [](const Key& a, const Key& b) { return a.key > b.key; });
    } else {
        std::stable_sort(keys.begin(), keys.end(),
                         [](const Key& a, const Key& b) { return a.key < b.key; });
    }

    std::vector<float> distances;
    for (const Key& k : keys) {
        BoardFPoint p{cx + k.radius * std::cos(a0 + k.key), cy + k.radius * std::sin(a0 + k.key)};
        if (!run.path.empty()) {
            const BoardFPoint& prev = run.path.back();
            run.pathLength += Length(p.x - prev.x, p.y - prev.y);
        }
        distances.push_back(run.pathLength);
        run.path.push_back(p);
        run.order.push_back(k.index);
    }

    run.totalTime = std::max(0.2f, run.pathLength / LIGHTNING_TAIL_LENGTH * speed);
    for (float d : distances) {
        run.times.push_back(run.totalTime / (run.pathLength + LIGHTNING_TAIL_LENGTH) * d);
    }
    run.times.push_back(run.totalTime);
    return run;
}
