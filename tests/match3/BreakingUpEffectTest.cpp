#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "content/ResourceManager.h"
#include "core/Math.h"
#include "core/Random.h"
#include "match3/effects/BreakingUpEffect.h"
#include "tests/match3/EffectTestSupport.h"

namespace {

using effects_test::EffectTest;
using effects_test::Quad;

// Tiles of a 96 x 64 lock picture around its centre, as the field's option lists them.
const std::vector<Point> SIX_TILES{{26, 10}, {-6, 10}, {-38, 10}, {26, -22}, {-6, -22}, {-38, -22}};

using BreakingUpEffectTest = EffectTest;

TEST_F(BreakingUpEffectTest, ShardsShowTheTilesRowByRowFromTheTopLeft) {
    BreakingUpEffect effect(400, 300, 700, 700, ResourceManager::GetTextureOrFrame("lock_pieces"), 32, SIX_TILES,
                            Math::PI / 6.0f, false);
    const std::vector<Quad> quads = Draw(effect);
    ASSERT_EQ(6u, quads.size());
    for (int i = 0; i < 6; ++i) {
        const Quad& q = quads[static_cast<std::size_t>(i)];
        EXPECT_NEAR((i % 3) / 3.0f, q.uLeft, 1e-5f) << i;
        EXPECT_NEAR((i % 3 + 1) / 3.0f, q.uRight, 1e-5f) << i;
        EXPECT_FLOAT_EQ(i < 3 ? 0.5f : 0.0f, q.vBottom) << i;
        EXPECT_FLOAT_EQ(i < 3 ? 1.0f : 0.5f, q.vTop) << i;
        EXPECT_EQ(255, q.alpha);
    }
    // At the start each shard lies over its own tile of the lock: top left first.
    EXPECT_NEAR(400.0f - 32.0f, quads[0].CentreX(), 0.01f);
    EXPECT_NEAR(300.0f + 16.0f, quads[0].CentreY(), 0.01f);
    EXPECT_NEAR(400.0f + 32.0f, quads[5].CentreX(), 0.01f);
    EXPECT_NEAR(300.0f - 16.0f, quads[5].CentreY(), 0.01f);
}

TEST_F(BreakingUpEffectTest, RowsOfManyTilesWrapAtTheirEnd) {
    // 12 tiles a row: the steps of 1/12 add up to just under 1.
    std::vector<Point> tiles(14, Point(0, 0));
    BreakingUpEffect effect(400, 300, 0, 0, ResourceManager::GetTextureOrFrame("lock_wide"), 32, tiles, 0.0f, false);
    const std::vector<Quad> quads = Draw(effect);
    ASSERT_EQ(14u, quads.size());
    EXPECT_NEAR(11.0f / 12.0f, quads[11].uLeft, 1e-5f);
    EXPECT_FLOAT_EQ(0.5f, quads[11].vBottom);
    EXPECT_NEAR(0.0f, quads[12].uLeft, 1e-5f);
    EXPECT_NEAR(1.0f / 12.0f, quads[12].uRight, 1e-5f);
    EXPECT_FLOAT_EQ(0.0f, quads[12].vBottom);
}

TEST_F(BreakingUpEffectTest, ADoubleLockShowsTheSameShardsMirrored) {
    Random::Seed(4);
    BreakingUpEffect plain(400, 300, 700, 700, ResourceManager::GetTextureOrFrame("lock_pieces"), 32, SIX_TILES,
                           Math::PI / 6.0f, false);
    Random::Seed(4);
    BreakingUpEffect mirrored(400, 300, 700, 700, ResourceManager::GetTextureOrFrame("lock_pieces"), 32, SIX_TILES,
                              Math::PI / 6.0f, true);
    plain.Update(0.1f);
    mirrored.Update(0.1f);
    const std::vector<Quad> a = Draw(plain);
    const std::vector<Quad> b = Draw(mirrored);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_NEAR(800.0f - a[i].CentreX(), b[i].CentreX(), 0.01f) << i;
        EXPECT_NEAR(a[i].CentreY(), b[i].CentreY(), 0.01f) << i;
    }
}

TEST_F(BreakingUpEffectTest, TheBurstIsGoneBy15SecondsAndAnEmptyOneAtOnce) {
    BreakingUpEffect effect(400, 300, 700, 700, ResourceManager::GetTextureOrFrame("lock_pieces"), 32, SIX_TILES,
                            Math::PI / 6.0f, false);
    float time = 0.0f;
    while (!effect.IsFinished() && time < 3.0f) {
        effect.Update(0.02f);
        time += 0.02f;
    }
    EXPECT_LE(time, 1.52f);
    EXPECT_TRUE(Draw(effect).empty());
    BreakingUpEffect none(400, 300, 700, 700, ResourceManager::GetTextureOrFrame("lock_pieces"), 32, {}, 0.0f, false);
    EXPECT_TRUE(none.IsFinished());
    EXPECT_TRUE(Draw(none).empty());
}

TEST(WaterTransporterTest, FadesOverOneAndAHalfSeconds) {
    // High above its floor, so only the fade ends it.
    WaterTransporter shard(0, 100000, 1, -16, 1.0f, 0.0f, 1.5f, 0, 0, Math::PI / 6.0f);
    EXPECT_EQ(1.0f, shard._alpha);
    for (int i = 0; i < 50; ++i) shard.Update(0.02f);
    EXPECT_NEAR(1.0f / 3.0f, shard._alpha, 1e-3f);
    for (int i = 0; i < 24; ++i) shard.Update(0.02f);
    EXPECT_FALSE(shard.IsFinished());
    for (int i = 0; i < 2; ++i) shard.Update(0.02f);
    EXPECT_TRUE(shard.IsFinished());
}

TEST(WaterTransporterTest, TheSpinStopsAfter06SecondsWhileTheWobbleGoesOn) {
    WaterTransporter shard(0, 100000, 5, -16, 1.0f, 0.0f, 1.5f, 0, 0, Math::PI / 6.0f);
    shard.Update(0.1f);
    // One turn a second at first, clockwise for a positive reference, slowing down.
    EXPECT_NEAR(-36.0f, shard._spinAngle, 1e-3f);
    shard.Update(0.1f);
    EXPECT_NEAR(-36.0f - 30.0f, shard._spinAngle, 1e-3f);
    for (int i = 0; i < 6; ++i) shard.Update(0.1f);
    const float spin = shard._spinAngle;
    const float wobble = shard._wobbleAngle;
    shard.Update(0.1f);
    shard.Update(0.1f);
    EXPECT_EQ(spin, shard._spinAngle);
    EXPECT_NE(wobble, shard._wobbleAngle);
    EXPECT_LE(std::fabs(shard._wobbleAngle), 30.0f + 1e-3f);
}

TEST(WaterTransporterTest, DragAndGravity) {
    WaterTransporter still(50, 100000, 1, -16, 1.0f, 0.0f, 1.5f, 0, 0, 0.0f);
    for (int i = 0; i < 10; ++i) still.Update(0.05f);
    EXPECT_EQ(50.0f, still._x);
    EXPECT_LT(still._y, 100000.0f);  // falling
    EXPECT_GT(still._vy, 0.0f);

    // A step's drag above the speed stops the sideways move at once.
    WaterTransporter stopped(50, 100000, 1, -16, 1.0f, 0.0f, 1.5f, 300, 0, 0.0f);
    stopped.Update(0.1f);
    EXPECT_EQ(0.0f, stopped._vx);
    EXPECT_EQ(50.0f, stopped._x);

    WaterTransporter slowed(50, 100000, 1, -16, 1.0f, 0.0f, 1.5f, 100, 0, 0.0f);
    slowed.Update(0.1f);
    EXPECT_FLOAT_EQ(50.0f, slowed._vx);  // 100 less 0.05 * 100^2 * 0.1
    EXPECT_FLOAT_EQ(55.0f, slowed._x);

    WaterTransporter floor(50, 0, 1, -16, 1.0f, 0.0f, 1.5f, 0, 100, 0.0f);
    floor.Update(0.1f);
    EXPECT_EQ(-16.0f, floor._y);
    EXPECT_TRUE(floor.IsFinished());
}

}  // namespace
