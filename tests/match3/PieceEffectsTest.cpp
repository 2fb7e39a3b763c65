#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "content/ResourceManager.h"
#include "core/PermanentStorage.h"
#include "core/Random.h"
#include "match3/effects/PieceEffects.h"
#include "tests/match3/EffectTestSupport.h"

namespace {

using effects_test::EffectTest;
using effects_test::Quad;
using Keys = std::vector<std::pair<float, float>>;

Keys KeysOf(const TimedSpline& curve) {
    Keys keys;
    for (const auto& key : curve.keys) keys.emplace_back(key.time, key.value);
    return keys;
}

using ReplacePieceEffectTest = EffectTest;

TEST_F(ReplacePieceEffectTest, ARowMoveNeitherArcsNorTiltsAColumnMoveArcsAboveItsHigherEnd) {
    struct Case {
        float fromX, fromY, toX, toY;
        Keys y;
        Keys angle;
    } cases[] = {
        {100, 200, 144, 200, {{0, 200}, {1, 200}}, {{0, 0}, {1, 0}}},
        {100, 200, 100, 244, {{0, 200}, {0.8f, 254}, {1, 244}}, {{0, 0}, {1, 0}}},
        {100, 244, 100, 200, {{0, 244}, {0.2f, 254}, {1, 200}}, {{0, 0}, {1, 0}}},
        {100, 200, 144, 244, {{0, 200}, {0.8f, 254}, {1, 244}}, {{0, 0}, {0.5f, 45}, {1, 0}}},
        {144, 244, 100, 200, {{0, 244}, {0.2f, 254}, {1, 200}}, {{0, 0}, {0.5f, -45}, {1, 0}}},
    };
    for (const Case& c : cases) {
        ReplacePieceEffect effect(c.fromX, c.fromY, c.toX, c.toY, Piece(), Piece(), 1.1f, 0.0f);
        EXPECT_EQ(c.y, KeysOf(effect._y)) << c.fromX << "," << c.fromY << " to " << c.toX << "," << c.toY;
        EXPECT_EQ(c.angle, KeysOf(effect._angle)) << c.fromX << "," << c.fromY << " to " << c.toX << "," << c.toY;
        EXPECT_EQ((Keys{{0, c.fromX}, {1, c.toX}}), KeysOf(effect._x));
        // The scale key at 0.1 is added twice; the curve still reads 1.0, 0.8, 1.1, 1.0.
        EXPECT_EQ(5u, effect._scale.keys.size());
        EXPECT_FLOAT_EQ(1.0f, effect._scale.getValueAt(0.0f));
        EXPECT_FLOAT_EQ(0.8f, effect._scale.getValueAt(0.1f));
        EXPECT_FLOAT_EQ(1.1f, effect._scale.getValueAt(0.5f));
        EXPECT_FLOAT_EQ(1.0f, effect._scale.getValueAt(1.0f));
    }
}

TEST_F(ReplacePieceEffectTest, TheSwitchWindowOpensInTimeAndClosesBeforeTheEnd) {
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        Random::Seed(seed);
        const float earliest = seed % 2 == 0 ? 0.0f : 0.3f;
        ReplacePieceEffect effect(0, 0, 44, 0, Piece(), Piece(), 1.0f, earliest);
        float opened = -1.0f;
        float time = 0.0f;
        while (!effect.IsFinished()) {
            effect.Update(0.01f);
            time += 0.01f;
            if (opened < 0.0f && effect._switch->IsFlaring()) opened = time;
        }
        EXPECT_GE(opened, 0.0f) << seed;        EXPECT_GE(opened, earliest - 0.011f) << seed;
        EXPECT_LT(opened, 0.41f) << seed;
        EXPECT_TRUE(effect._switch->_done) << seed;
    }
}

TEST_F(ReplacePieceEffectTest, TheNewPictureFadesInOnItsWayAndStaysAtTheDestination) {
    Random::Seed(7);
    ReplacePieceEffect arriving(100, 100, 144, 144, ObjectSmartPointer<AnimationService>(), Piece(), 1.1f, 0.0f);
    Random::Seed(7);
    ReplacePieceEffect leaving(100, 100, 144, 144, Piece(), ObjectSmartPointer<AnimationService>(), 1.1f, 0.0f);
    int before = 0, inside = 0, after = 0;
    int lastAlpha = -1;
    while (!arriving.IsFinished()) {
        const std::vector<Quad> in = Draw(arriving);
        const std::vector<Quad> out = Draw(leaving);
        if (!arriving._switch->IsFlaring() && !arriving._switch->_done) {
            ++before;
            EXPECT_TRUE(in.empty());
            ASSERT_EQ(1u, out.size());
            EXPECT_FLOAT_EQ(79.0f, out[0].left);  // the centre 100 less half a piece
            EXPECT_EQ(255, out[0].alpha);
        } else if (arriving._switch->IsFlaring()) {
            ++inside;
            ASSERT_EQ(1u, in.size());
            ASSERT_EQ(1u, out.size());
            EXPECT_NEAR(255, in[0].alpha + out[0].alpha, 1);
            EXPECT_GE(in[0].alpha, lastAlpha);
            lastAlpha = in[0].alpha;
        } else {
            ++after;
            ASSERT_EQ(1u, in.size());
            EXPECT_TRUE(out.empty());
            EXPECT_FLOAT_EQ(123.0f, in[0].left);
            EXPECT_FLOAT_EQ(123.0f, in[0].bottom);
            EXPECT_TRUE(in[0].upright);
            EXPECT_EQ(255, in[0].alpha);
        }
        arriving.Update(0.02f);
        leaving.Update(0.02f);
    }
    EXPECT_GT(before, 0);
    EXPECT_GT(inside, 5);
    EXPECT_GT(after, 0);
}

using ClearPieceEffectTest = EffectTest;

TEST_F(ClearPieceEffectTest, AtHalfTimeThePaintIsHalfGoneTheCellSwollenAndTheGlowFull) {
    ClearPieceEffect effect(200, 300, ResourceManager::GetTextureOrFrame("golden"),
                            ResourceManager::GetTextureOrFrame("golden_glow"), 0.4f);
    effect.Update(0.2f);
    const std::vector<Quad> quads = Draw(effect);
    ASSERT_EQ(2u, quads.size());
    EXPECT_FLOAT_EQ(55.0f, quads[0].Width());  // 44 at scale 1.25
    EXPECT_FLOAT_EQ(200.0f, quads[0].CentreX());
    EXPECT_FLOAT_EQ(300.0f, quads[0].CentreY());
    EXPECT_NEAR(128, quads[0].alpha, 1);
    EXPECT_FALSE(quads[0].additive);
    EXPECT_FLOAT_EQ(80.0f, quads[1].Width());
    EXPECT_EQ(255, quads[1].alpha);
    EXPECT_TRUE(quads[1].additive);

    ClearPieceEffect glowOnly(200, 300, UsingPointer<Texture>(), ResourceManager::GetTextureOrFrame("golden_glow"), 0.4f);
    ASSERT_EQ(1u, Draw(glowOnly).size());
    EXPECT_EQ(0, Draw(glowOnly)[0].alpha);  // no glow at the start
    glowOnly.Update(0.4f);
    EXPECT_TRUE(glowOnly.IsFinished());
    EXPECT_TRUE(Draw(glowOnly).empty());
}

using HidePieceEffectTest = EffectTest;

TEST_F(HidePieceEffectTest, AtADurationOf03TheFlashLasts0198AndTheFadeTheLast0102) {
    struct Case {
        float elapsed;
        bool flash;
        float width;  // the scale curve at p times 42
    } cases[] = {
        {0.0f, true, 42.0f}, {0.1f, true, 46.2f}, {0.197f, true, 0.0f}, {0.199f, false, 0.0f}, {0.29f, false, 0.0f},
    };
    for (const Case& c : cases) {
        HidePieceEffect effect(100, 100, Piece(), 0.3f);
        effect.Update(c.elapsed);
        const std::vector<Quad> quads = Draw(effect);
        ASSERT_EQ(c.flash ? 2u : 1u, quads.size()) << c.elapsed;
        EXPECT_FLOAT_EQ(100.0f, quads[0].CentreX());
        if (c.width > 0.0f) {
            EXPECT_NEAR(c.width, quads[0].Width(), 0.01f) << c.elapsed;
        }
        if (c.flash) {
            EXPECT_EQ(255, quads[0].alpha);
            EXPECT_TRUE(quads[1].silhouette);
            EXPECT_TRUE(quads[1].additive);
        } else {
            EXPECT_LT(quads[0].alpha, 255) << c.elapsed;
            EXPECT_FALSE(quads[0].silhouette);
        }
    }
    HidePieceEffect flash(100, 100, Piece(), 0.3f);
    flash.Update(0.1f);  // the glow at the top of its curve, 0.5
    EXPECT_NEAR(128, Draw(flash)[1].alpha, 1);
    HidePieceEffect gone(100, 100, Piece(), 0.3f);
    gone.Update(0.3f);
    EXPECT_TRUE(gone.IsFinished());
    EXPECT_TRUE(Draw(gone).empty());
}

using SplashRemoverEffectTest = EffectTest;

TEST_F(SplashRemoverEffectTest, ThePieceStaysCentredUntilTheLightningArrives) {
    SplashRemoverEffect effect(100, 200, Piece(), 0.25f);
    effect.Update(0.2f);
    const std::vector<Quad> quads = Draw(effect);
    ASSERT_EQ(1u, quads.size());
    EXPECT_FLOAT_EQ(79.0f, quads[0].left);
    EXPECT_FLOAT_EQ(179.0f, quads[0].bottom);
    EXPECT_EQ(255, quads[0].alpha);
    effect.Update(0.05f);
    EXPECT_TRUE(effect.IsFinished());
    EXPECT_TRUE(Draw(effect).empty());
}

using CreateBombEffectTest = EffectTest;

TEST_F(CreateBombEffectTest, LivesAsLongAsItsBurstAndTakesItAlongWhenDestroyed) {
    {
        CreateBombEffect effect(120, 340);
        ASSERT_EQ(1u, RunningParticleEffects());
        EXPECT_FALSE(effect.IsFinished());
        for (int i = 0; i < 100 && !effect.IsFinished(); ++i) RunParticles(0.05f);
        EXPECT_TRUE(effect.IsFinished());
        EXPECT_EQ(0u, RunningParticleEffects());
    }
    {
        ObjectSmartPointer<EffectBase> effect(new CreateBombEffect(120, 340));
        RunParticles(0.05f);
        ASSERT_EQ(1u, RunningParticleEffects());
        effect = ObjectSmartPointer<EffectBase>();
        EXPECT_EQ(0u, RunningParticleEffects());
    }
}

using BoomTextEffectTest = EffectTest;

TEST_F(BoomTextEffectTest, AGrowingChainRestartsTheTextFromItsMiddleLarger) {
    PermanentStorage::SetLocalInt("BombCounter", 2);
    PermanentStorage::SetLocalInt("MultipleBomb", 30);
    BoomTextEffect steady(300, 400, "boom x", 22.0f, 1.0f, 1.0f);
    BoomTextEffect growing(300, 400, "boom x", 22.0f, 1.0f, 1.0f);
    EXPECT_EQ("boom x2", growing._chainText);
    EXPECT_EQ("+30", growing._bonusText);
    steady.Update(0.5f);
    growing.Update(0.3f);
    PermanentStorage::SetLocalInt("BombCounter", 3);
    PermanentStorage::SetLocalInt("MultipleBomb", 60);
    growing.Update(0.1f);
    EXPECT_FLOAT_EQ(0.5f, growing._elapsed);
    EXPECT_NEAR(0.9667f, growing._scaleMultiplier, 1e-4f);
    EXPECT_EQ("boom x3", growing._chainText);
    EXPECT_EQ("+60", growing._bonusText);

    const std::vector<Quad> small = Draw(steady);
    const std::vector<Quad> grown = Draw(growing);
    ASSERT_EQ(2u, small.size());
    ASSERT_EQ(2u, grown.size());
    EXPECT_NEAR(0.9667f / 0.8f, grown[0].Height() / small[0].Height(), 1e-3f);
    EXPECT_EQ(255, grown[0].alpha);
    EXPECT_NEAR(300.0f, grown[0].CentreX(), 1.0f);
    // The bonus below the chain text, its size unchanged.
    EXPECT_FLOAT_EQ(small[1].Height(), grown[1].Height());
    EXPECT_LT(grown[1].top, grown[0].top);

    growing.Update(0.5f);
    EXPECT_TRUE(growing.IsFinished());
    EXPECT_TRUE(Draw(growing).empty());
}

}  // namespace
