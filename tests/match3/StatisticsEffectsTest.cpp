#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "match3/effects/StatisticsEffects.h"
#include "shell/RenderDeviceFonts.h"
#include "tests/match3/EffectTestSupport.h"

namespace {

using effects_test::EffectTest;
using effects_test::Quad;
using Texts = std::vector<std::string>;

// The glyph cell of a font at scale 1, margins included, as the text is drawn.
float CellHeight(const std::string& font) {
    const DeviceFont* current = nullptr;
    Render::fonts.SetFont(font);
    current = Render::fonts.GetCurrentFont();
    return static_cast<float>(current->height + 2 * current->yOffset);
}

using TimerBonusEffectTest = EffectTest;

TEST_F(TimerBonusEffectTest, WaitsForItsDelayThenCountsAndVanishes) {
    TimerBonusEffect effect(100, 100, 300, 200, 0, 100, "$", "!", "20_scores", 1.25f, 0.25f, false);
    struct Step {
        float dt;
        const char* text;
        float x;  // the number's centre
        Texts sounds;
    } steps[] = {
        {0.1f, "$0!", 100.0f, {}},
        {0.1f, "$0!", 100.0f, {}},
        {0.1f, "$5!", 110.0f, {"play counter"}},
        {0.45f, "$50!", 200.0f, {}},
        {0.4f, "$90!", 280.0f, {}},
    };
    for (const Step& s : steps) {
        effect.Update(s.dt);
        const std::vector<Quad> quads = Draw(effect);
        EXPECT_EQ(s.text, effect.GetText());
        ASSERT_EQ(1u, quads.size());
        EXPECT_NEAR(s.x, quads[0].CentreX(), 3.0f) << s.text;
        EXPECT_EQ(s.sounds, Sounds()) << s.text;
    }
    effect.Update(0.11f);
    EXPECT_TRUE(effect.IsFinished());
    EXPECT_TRUE(Draw(effect).empty());
    EXPECT_TRUE(Sounds().empty());
}

TEST_F(TimerBonusEffectTest, ShowsRoundedValuesAndStaysQuietWhenSilent) {
    TimerBonusEffect effect(100, 100, 100, 100, 0, 3, "", "", "20_scores", 1.0f, 0.0f, true);
    effect.Update(0.5f);
    EXPECT_EQ("2", effect.GetText());  // 1.5 rounds up
    const std::vector<Quad> quads = Draw(effect);
    ASSERT_EQ(1u, quads.size());
    EXPECT_NEAR(100.0f, quads[0].CentreX(), 3.0f);  // counting in place
    effect.Update(0.25f);
    Draw(effect);
    EXPECT_TRUE(Sounds().empty());
}

using RotateInEffectTest = EffectTest;

TEST_F(RotateInEffectTest, SpinsInFromItsStartScaleToItsSizeAndStays) {
    RotateInEffect effect(400, 300, "Cup", 2.5f, "boom", 1.0f, 0.5f);
    const float cell = CellHeight("boom");
    std::vector<Quad> quads = Draw(effect);
    ASSERT_EQ(1u, quads.size());
    EXPECT_NEAR(2.5f * cell, quads[0].Height(), 0.5f);  // two and a half turns: upside down, upright box
    EXPECT_EQ(0, quads[0].alpha);
    effect.Update(0.5f);
    quads = Draw(effect);
    EXPECT_FALSE(quads[0].upright);
    EXPECT_EQ(255, quads[0].alpha);
    for (int i = 0; i < 10; ++i) effect.Update(1.0f);
    EXPECT_FALSE(effect.IsFinished());
    EXPECT_FLOAT_EQ(1.0f, effect._elapsed);
    quads = Draw(effect);
    ASSERT_EQ(1u, quads.size());
    EXPECT_NEAR(cell, quads[0].Height(), 0.5f);
    EXPECT_TRUE(quads[0].upright);
    EXPECT_NEAR(400.0f, quads[0].CentreX(), 3.0f);
    EXPECT_NEAR(300.0f, quads[0].CentreY(), 3.0f);
}

using FlyTextEffectTest = EffectTest;

TEST_F(FlyTextEffectTest, PopsUpWithABurstThenFliesWithATrailToItsEndAtScaleOne) {
    FlyTextEffect effect(100, 100, 500, 300, "+150", 0.56f, "boom", 1.0f, 0.2f, false);
    EXPECT_EQ((Texts{"play popup"}), Sounds());
    EXPECT_EQ(1u, RunningParticleEffects());
    const float cell = CellHeight("boom");

    std::vector<Quad> quads = Draw(effect);
    EXPECT_EQ((Texts{"play fly_text"}), Sounds());
    EXPECT_EQ(2u, RunningParticleEffects());
    ASSERT_FALSE(quads.empty());
    const Quad start = quads.back();
    EXPECT_NEAR(0.56f * cell, start.Height(), 0.5f);
    EXPECT_NEAR(100.0f, start.CentreX(), 3.0f);

    // Still at the start point during the delay; the trail sits there with it.
    effect.Update(0.1f);
    EXPECT_NEAR(100.0f, Draw(effect).back().CentreX(), 3.0f);
    ASSERT_TRUE(effect._trail);
    EXPECT_FLOAT_EQ(100.0f, effect._trail->x);

    effect.Update(0.5f);
    const Quad middle = Draw(effect).back();
    EXPECT_GT(middle.CentreX(), 110.0f);
    EXPECT_LT(middle.CentreX(), 490.0f);
    EXPECT_NEAR(middle.CentreX(), effect._trail->x, 4.0f);

    for (int i = 0; i < 5; ++i) effect.Update(0.2f);
    EXPECT_FALSE(effect.IsFinished());
    const Quad end = Draw(effect).back();
    EXPECT_FALSE(effect._trail);  // finished with the flight
    EXPECT_NEAR(500.0f, end.CentreX(), 3.0f);
    EXPECT_NEAR(300.0f, end.CentreY(), 3.0f);
    EXPECT_NEAR(cell, end.Height(), 0.5f);
    EXPECT_TRUE(end.upright);  // two whole turns
    EXPECT_TRUE(Sounds().empty());
}

TEST_F(FlyTextEffectTest, ASilentTextStartsNoParticlesAndPlaysNothingButFliesTheSame) {
    FlyTextEffect loud(100, 100, 500, 300, "+150", 1.0f, "boom", 1.0f, 0.2f, false);
    FlyTextEffect silent(100, 100, 500, 300, "+150", 1.0f, "boom", 1.0f, 0.2f, true);
    Sounds();
    const std::size_t running = RunningParticleEffects();
    for (float dt : {0.0f, 0.3f, 0.3f, 0.5f}) {
        loud.Update(dt);
        silent.Update(dt);
        const Quad a = Draw(loud).back();
        const std::vector<Quad> b = Draw(silent);
        ASSERT_EQ(1u, b.size());
        EXPECT_FLOAT_EQ(a.CentreX(), b[0].CentreX());
        EXPECT_FLOAT_EQ(a.CentreY(), b[0].CentreY());
        EXPECT_FLOAT_EQ(a.Height(), b[0].Height());
    }
    EXPECT_EQ(running + 1, RunningParticleEffects());  // the loud one's trail only
    EXPECT_EQ((Texts{"play fly_text"}), Sounds());
    EXPECT_FALSE(silent._trailStarted);
}

}  // namespace
