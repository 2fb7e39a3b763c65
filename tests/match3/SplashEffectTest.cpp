#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/Random.h"
#include "match3/board/LightningRun.h"
#include "match3/effects/SplashEffect.h"
#include "tests/match3/EffectTestSupport.h"

namespace {

using effects_test::EffectTest;
using effects_test::Quad;
using Texts = std::vector<std::string>;

class SplashEffectTest : public EffectTest {
protected:
    // The strip (64 x 16) draws are the ones 16 high that are not dots (16 x 16).
    static bool IsDot(const Quad& q) {
        return std::fabs(q.Width() - 16.0f) < 0.01f && std::fabs(q.Height() - 16.0f) < 0.01f;
    }
};

TEST_F(SplashEffectTest, OrdersTheCallersPointsAndGivesTheArrivalTimesAndTheTotal) {
    for (std::uint32_t seed : {1u, 2u, 3u, 4u}) {
        std::vector<FPoint> points{{0, 0}, {100, 0}, {50, 100}};
        std::vector<float> times{9.0f};
        Random::Seed(seed);
        const bool descending = Random::Next() % 2 != 0;
        Random::Seed(seed);
        SplashEffect effect(0.4f, points, times);
        const LightningRun run = MakeLightningRun(0.4f, {{0, 0}, {100, 0}, {50, 100}}, descending);
        ASSERT_EQ(4u, times.size());
        EXPECT_EQ(run.times, times);
        EXPECT_EQ(0.0f, times.front());
        EXPECT_EQ(effect._totalTime, times.back());
        EXPECT_EQ(0.2f, effect._totalTime);
        for (std::size_t i = 0; i + 1 < times.size(); ++i) EXPECT_LT(times[i], effect._totalTime);
        // Counter-clockwise from the first point, or clockwise ending there.
        const std::vector<FPoint> up{{0, 0}, {100, 0}, {50, 100}};
        const std::vector<FPoint> down{{50, 100}, {100, 0}, {0, 0}};
        EXPECT_EQ(descending ? down : up, points) << seed;
        Sounds();
    }
}

TEST_F(SplashEffectTest, TakesTheBoardsPathWithItsTimesAsItComes) {
    const LightningRun run = MakeLightningRun(0.4f, {{10, 10}, {300, 40}, {200, 400}, {40, 300}}, true);
    SplashEffect effect(run.path, run.times);
    EXPECT_EQ(run.totalTime, effect._totalTime);
    EXPECT_EQ(run.pathLength, effect._pathLength);
    // The head reaches every piece at its arrival time.
    float distance = 0.0f;
    for (std::size_t i = 0; i < run.path.size(); ++i) {
        if (i > 0) distance += std::hypot(run.path[i].x - run.path[i - 1].x, run.path[i].y - run.path[i - 1].y);
        const float speed = (effect._pathLength + SplashEffect::TAIL_LENGTH) / effect._totalTime;
        EXPECT_NEAR(distance, speed * run.times[i], 0.01f);
    }
}

TEST_F(SplashEffectTest, OnePointRunsTheShortestTimeAndDrawsNothing) {
    std::vector<FPoint> points{{10, 10}};
    std::vector<float> times;
    SplashEffect effect(0.4f, points, times);
    EXPECT_EQ((std::vector<float>{0.0f, 0.2f}), times);
    EXPECT_TRUE(Draw(effect).empty());
    effect.Update(0.19f);
    EXPECT_FALSE(effect.IsFinished());
    effect.Update(0.02f);
    EXPECT_TRUE(effect.IsFinished());
}

TEST_F(SplashEffectTest, TheHeadRunsAtPathPlusTailOverTheTimeAndTheTailFollows) {
    std::vector<FPoint> points{{0, 300}, {1000, 300}};
    std::vector<float> times;
    SplashEffect effect(0.4f, points, times);
    EXPECT_FLOAT_EQ(0.4f, effect._totalTime);
    // A 0.4 s run over 1000 + 1000 units: 5000 units a second, measured before each step.
    const float step = 0.1f;
    const struct {
        float head, stripLeft, stripRight;
    } expected[] = {{0, 0, 0}, {500, 0, 500}, {1000, 0, 1000}, {1500, 500, 1000}};
    for (const auto& e : expected) {
        effect.Update(step);
        EXPECT_NEAR(e.head, effect._head, 0.1f);
        const std::vector<Quad> quads = Draw(effect);
        ASSERT_EQ(3u, quads.size()) << e.head;
        EXPECT_FALSE(IsDot(quads[0]));
        EXPECT_TRUE(quads[0].additive);
        const float left = std::min(points[0]._x, points[1]._x);
        const bool forward = points[0]._x == 0.0f;
        const float from = forward ? left + e.stripLeft : 1000.0f - e.stripRight;
        const float to = forward ? left + e.stripRight : 1000.0f - e.stripLeft;
        EXPECT_NEAR(from, quads[0].left, 0.5f) << e.head;
        EXPECT_NEAR(to, quads[0].right, 0.5f) << e.head;
        EXPECT_NEAR(292.0f, quads[0].bottom, 0.01f);  // centred on the segment
        // The strip repeats at its natural size: one u a strip width.
        EXPECT_NEAR((e.stripRight - e.stripLeft) / 64.0f, quads[0].uRight - quads[0].uLeft, 1e-3f);
        EXPECT_TRUE(IsDot(quads[1]));
        EXPECT_TRUE(IsDot(quads[2]));
    }
    effect.Update(step);
    EXPECT_TRUE(effect.IsFinished());
    EXPECT_TRUE(Draw(effect).empty());
}

TEST_F(SplashEffectTest, AtTheFirstDrawTheFirstSegmentHasAnEmptyStripAndBothDotsAtItsStart) {
    std::vector<FPoint> points{{100, 100}, {400, 100}};
    std::vector<float> times;
    SplashEffect effect(0.4f, points, times);
    const std::vector<Quad> quads = Draw(effect);
    ASSERT_EQ(3u, quads.size());
    EXPECT_FLOAT_EQ(0.0f, quads[0].Width());
    EXPECT_FLOAT_EQ(points[0]._x, quads[1].CentreX());
    EXPECT_FLOAT_EQ(points[0]._x, quads[2].CentreX());
}

TEST_F(SplashEffectTest, WholeSegmentsHaveDotsAtBothEndsSoAJointGetsTwo) {
    // The middle point is the centre (key 0.1): the path is the line in either direction.
    std::vector<FPoint> points{{100, 300}, {200, 300}, {300, 300}};
    std::vector<float> times;
    SplashEffect effect(0.4f, points, times);
    // 1200 units in 0.2 s; each step places the head for the time before it: 300 after three.
    for (int i = 0; i < 3; ++i) effect.Update(0.025f);
    ASSERT_NEAR(300.0f, effect._head, 0.01f);
    const std::vector<Quad> quads = Draw(effect);
    ASSERT_EQ(6u, quads.size());
    int atJoint = 0;
    for (const Quad& q : quads) {
        if (IsDot(q) && std::fabs(q.CentreX() - 200.0f) < 0.5f) ++atJoint;
    }
    EXPECT_EQ(2, atJoint);
    EXPECT_NEAR(100.0f, quads[0].Width(), 0.01f);
    EXPECT_NEAR(100.0f, quads[3].Width(), 0.01f);
}

TEST_F(SplashEffectTest, TheRunSoundLoopsFromTheStartUntilTheBoltIsDestroyed) {
    {
        std::vector<FPoint> points{{0, 0}, {100, 0}};
        std::vector<float> times;
        SplashEffect effect(0.4f, points, times);
        EXPECT_EQ((Texts{"play lighting_run loop"}), Sounds());
        effect.Update(1.0f);
        EXPECT_TRUE(effect.IsFinished());
        EXPECT_TRUE(Sounds().empty());
    }
    EXPECT_EQ((Texts{"stop lighting_run"}), Sounds());
}

TEST_F(SplashEffectTest, TheStripFlickersEvery004Seconds) {
    std::vector<FPoint> points{{0, 0}, {1000, 0}};
    std::vector<float> times;
    Random::Seed(11);
    SplashEffect effect(0.4f, points, times);
    const float phase = effect._phase;
    EXPECT_GE(phase, 0.0f);
    EXPECT_LT(phase, 1.0f);
    effect.Update(0.03f);
    EXPECT_EQ(phase, effect._phase);
    effect.Update(0.02f);
    EXPECT_NE(phase, effect._phase);
    EXPECT_FLOAT_EQ(0.04f, effect._flickerLeft);
}

}  // namespace
