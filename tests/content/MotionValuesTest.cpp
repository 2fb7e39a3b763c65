#include <gtest/gtest.h>

#include <cmath>

#include "content/RandomCircleMotion.h"
#include "content/TrajectoryPoint.h"
#include "core/Random.h"

namespace {

TEST(TrajectoryPointTest, DepthIsKeptIn200thsAndReadBack) {
    const TrajectoryPoint p(12.25f, -7.5f, 0.4f);
    EXPECT_EQ(12.25f, p.x);
    EXPECT_EQ(-7.5f, p.y);
    EXPECT_EQ(80, p.depth);
    EXPECT_FLOAT_EQ(0.4f, DepthToZ(p.depth));
    EXPECT_EQ(81, TrajectoryPoint(0, 0, 0.403f).depth);
    EXPECT_EQ(-80, TrajectoryPoint(0, 0, -0.4f).depth);
}

TEST(RandomCircleMotionTest, OffsetsCircleAtTheRadius) {
    Random::Seed(5);
    RandomCircleMotion sway(3.0f, 6.0f, 1.0f, 2.0f);
    EXPECT_GE(sway.radius, 3.0f);
    EXPECT_LT(sway.radius, 6.0f);
    EXPECT_GE(sway.angle, 0.0f);
    EXPECT_LE(sway.angle, 6.2831855f);
    EXPECT_FLOAT_EQ(-std::sin(sway.angle) * sway.radius, sway.offsetX);
    EXPECT_FLOAT_EQ(std::cos(sway.angle) * sway.radius, sway.offsetY);
    float turned = 0.0f;
    for (int i = 0; i < 400; ++i) {
        const float before = sway.angle;
        sway.Update(0.05f);
        float step = sway.angle - before;
        if (step < 0.0f) step += 6.283185f;
        EXPECT_GE(step, 0.05f * 1.0f - 1e-5f);
        EXPECT_LE(step, 0.05f * 2.0f + 1e-5f);
        turned += step;
        EXPECT_NEAR(sway.radius, std::hypot(sway.offsetX, sway.offsetY), 1e-4f);
    }
    EXPECT_GT(turned, 20.0f);  // several turns, the angle kept near [0, 2 pi]
    EXPECT_LE(sway.angle, 6.2831855f + 0.1f);
}

TEST(RandomCircleMotionTest, AReversedRadiusRangeCollapsesToItsMinimum) {
    Random::Seed(9);
    for (int i = 0; i < 20; ++i) {
        const RandomCircleMotion sway(5.0f, 2.0f, 0.0f, 1.0f);
        EXPECT_LE(sway.radius, 5.0f);
        EXPECT_GT(sway.radius, 5.0f - 0.001f);
    }
}

TEST(RandomCircleMotionTest, ALongFrameDoesNotTurn) {
    Random::Seed(3);
    RandomCircleMotion sway(4.0f, 4.0f, 1.0f, 3.0f);
    const float angle = sway.angle;
    sway.Update(0.2f);
    EXPECT_EQ(angle, sway.angle);
    EXPECT_FLOAT_EQ(-std::sin(angle) * sway.radius, sway.offsetX);
    sway.Update(0.1f);
    EXPECT_NE(angle, sway.angle);
    const RandomCircleMotion still;
    EXPECT_EQ(0.0f, still.radius);
    EXPECT_EQ(0.0f, still.offsetY);
}

}  // namespace
