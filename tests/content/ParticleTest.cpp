#include <gtest/gtest.h>

#include <tinyxml.h>

#include <cmath>
#include <string>

#include "content/ParticleEffect.h"
#include "content/ParticleLibrary.h"
#include "content/ParticleSystem.h"
#include "core/Random.h"
#include "tests/core/CheckReports.h"
#include "tests/shell/RecordingDeviceFixture.h"
#include "tests/support/TestSupport.h"

namespace {

constexpr float DEG = 0.017453292f;

// A system read from the text of one "ParticleSystem" element.
ParticleSystem SystemFrom(const std::string& xml) {
    TiXmlDocument document;
    document.Parse(xml.c_str());
    ParticleSystem system;
    system.Load(document.RootElement(), "test");
    return system;
}

int BornCount(const ParticleSystem& system) {
    int n = 0;
    for (const Particle& p : system.particles) n += p.age >= 0.0f && p.alive ? 1 : 0;
    return n;
}

TEST(ParticleSystemTest, PoolSizeIsLimitedAndAMissingOrNegativeCountIsReported) {
    testing_support::LogCapture capture;
    EXPECT_EQ(300, SystemFrom("<ParticleSystem numOfParticles='500'/>").GetParticleCount());
    EXPECT_EQ(0, capture.ErrorCount());
    EXPECT_EQ(0, SystemFrom("<ParticleSystem/>").GetParticleCount());
    EXPECT_TRUE(check_reports::ErrorReported(capture, "Particle system test has no numOfParticles"));
    EXPECT_EQ(0, SystemFrom("<ParticleSystem numOfParticles='-4'/>").GetParticleCount());
    EXPECT_TRUE(check_reports::ErrorReported(capture, "Particle system test has a negative numOfParticles"));
    EXPECT_EQ(2, capture.ErrorCount());
}

TEST(ParticleSystemTest, AttributesAndDegrees) {
    ParticleSystem s = SystemFrom(
        "<ParticleSystem numOfParticles='3' lifeInitial='2' lifeVariation='0.5' startTime='1' additive='0'"
        " linkedParticles='true' orientParticles='1' isVelocity='yes' emitterType='ellipse' emitterAngle='90'"
        " emitterRange='45' emitterOrientation='180' ellipseRHor='10' ellipseRVert='5' ellipseThickness='2'"
        " lineLength='99'>"
        "<Param name='angle' initial='90'/><Param name='spin' d='180'/><Param name='size' initial='4' d='-1'/>"
        "<Param name='bogus' initial='7'/></ParticleSystem>");
    EXPECT_FALSE(s.additive);
    EXPECT_TRUE(s.linkedParticles);
    EXPECT_TRUE(s.orientParticles);
    EXPECT_FALSE(s.isVelocity);  // only "true" and "1" are true
    EXPECT_EQ(EMITTER_ELLIPSE, s.emitterType);
    EXPECT_FLOAT_EQ(90 * DEG, s.emitterAngle);
    EXPECT_FLOAT_EQ(45 * DEG, s.emitterRange);
    EXPECT_FLOAT_EQ(180 * DEG, s.emitterOrientation);
    EXPECT_FLOAT_EQ(10.0f, s.emitterSizes[0]);
    EXPECT_FLOAT_EQ(5.0f, s.emitterSizes[1]);
    EXPECT_FLOAT_EQ(2.0f, s.emitterSizes[2]);
    EXPECT_FLOAT_EQ(90 * DEG, s.params[PARAM_ANGLE].initial * s.params[PARAM_ANGLE].scale);
    EXPECT_NEAR(90 * DEG, s.params[PARAM_ANGLE].value, 0.001f);
    EXPECT_NEAR(180 * DEG, s.params[PARAM_SPIN].rate, 0.001f);
    EXPECT_NEAR(-1.0f, s.params[PARAM_SIZE].rate, 0.002f);
    for (const Particle& p : s.particles) {
        EXPECT_LE(p.age, 0.0f);
        EXPECT_GE(p.age, -1.0f);
        EXPECT_GE(p.life, 1.5f);
        EXPECT_LT(p.life, 2.5f);
    }
}

TEST(ParticleSystemTest, CurveKeysTimesAndValuesOverLife) {
    // Three keys without times: 0, 0.5, 1; the third is an offset over the second.
    ParticleSystem s = SystemFrom(
        "<ParticleSystem numOfParticles='1' lifeInitial='2'>"
        "<Param name='alpha'><spline><key initial='0'/><key initial='200'/><key initial='-150' offset='1'/></spline>"
        "</Param></ParticleSystem>");
    const ParticleParam& param = s.params[PARAM_ALPHA];
    ASSERT_TRUE(param.curve);
    ASSERT_EQ(3u, param.keys.size());
    EXPECT_FLOAT_EQ(0.0f, param.keys[0].time);
    EXPECT_FLOAT_EQ(0.5f, param.keys[1].time);
    EXPECT_FLOAT_EQ(1.0f, param.keys[2].time);
    // Values are drawn just below their spread's upper end: RandomFloatRange(a, a) lies in (a - 0.001, a].
    EXPECT_NEAR(200.0f, param.keys[1].value, 0.0011f);
    EXPECT_NEAR(50.0f, param.keys[2].value, 0.0021f);

    Random::Seed(11);
    s.Reset();
    Particle& p = s.particles[0];
    EXPECT_NEAR(0.0f, p.params[PARAM_ALPHA].value, 0.0011f);  // the first key's value at birth
    // At given times the alpha follows the curve: 0 -> 200 -> 50 over the 2 s life.
    struct Case { float dt; float expected; };
    const Case cases[] = {{0.5f, 103.125f}, {0.5f, 200.0f}, {0.5f, 132.8125f}, {0.4f, 57.4625f}};
    for (const Case& c : cases) {
        s.Update(c.dt);
        EXPECT_NEAR(c.expected, p.params[PARAM_ALPHA].value, 0.2f) << p.age;
    }
    // Keys with times are taken as given; in time order.
    ParticleSystem timed = SystemFrom(
        "<ParticleSystem numOfParticles='1'><Param name='x'><spline><key time='0' initial='1'/>"
        "<key time='0.2' initial='3'/><key time='1' initial='5'/></spline></Param></ParticleSystem>");
    EXPECT_FLOAT_EQ(0.2f, timed.params[PARAM_X].keys[1].time);
}

TEST(ParticleSystemTest, SeededBirthsFollowTheDrawnDelays) {
    ParticleSystem s = SystemFrom("<ParticleSystem numOfParticles='100' lifeInitial='5' startTime='2'/>");
    Random::Seed(2024);
    s.Reset();
    std::vector<float> delays;
    for (const Particle& p : s.particles) delays.push_back(-p.age);
    int atZero = 0;
    for (float d : delays) atZero += d <= 0.0f ? 1 : 0;
    s.Update(0.0f);
    EXPECT_EQ(atZero, BornCount(s));
    int previous = atZero;
    for (float t : {0.5f, 1.0f, 1.5f, 2.0f}) {
        s.Update(0.5f);
        int expected = 0;
        for (float d : delays) expected += d <= t + 1e-4f ? 1 : 0;
        EXPECT_EQ(expected, BornCount(s)) << t;
        EXPECT_GE(BornCount(s), previous);
        previous = BornCount(s);
    }
    EXPECT_EQ(100, BornCount(s));
    // The same seed gives the same births.
    ParticleSystem again = SystemFrom("<ParticleSystem numOfParticles='100' lifeInitial='5' startTime='2'/>");
    Random::Seed(2024);
    again.Reset();
    again.Update(0.5f);
    s.Reset();
    Random::Seed(2024);
    s.Reset();
    s.Update(0.5f);
    EXPECT_EQ(BornCount(s), BornCount(again));
    EXPECT_GT(BornCount(s), 10);
    EXPECT_LT(BornCount(s), 40);
}

TEST(ParticleSystemTest, RebirthStoppingAndEndlessLife) {
    ParticleSystem s = SystemFrom(
        "<ParticleSystem numOfParticles='10' lifeInitial='1'><Param name='x' d='10'/></ParticleSystem>");
    s.Reset();
    s.Update(0.5f);
    EXPECT_NEAR(5.0f, s.particles[0].params[PARAM_X].value, 0.01f);
    s.Update(0.6f);  // every life ends: reborn, counted nothing
    EXPECT_EQ(10, BornCount(s));
    EXPECT_EQ(0, s.deadCount);
    s.stopping = true;
    s.emitting = false;
    s.Update(1.0f);
    EXPECT_EQ(10, s.deadCount);
    EXPECT_EQ(0, BornCount(s));

    // Life 0: never ends, never counted, relative time 0.
    ParticleSystem endless = SystemFrom(
        "<ParticleSystem numOfParticles='4'><Param name='size'><spline><key initial='3'/><key initial='9'/></spline>"
        "</Param></ParticleSystem>");
    endless.Reset();
    endless.stopping = true;
    endless.emitting = false;
    for (int i = 0; i < 5; ++i) endless.Update(10.0f);
    EXPECT_EQ(0, endless.deadCount);
    EXPECT_EQ(4, BornCount(endless));
    EXPECT_FLOAT_EQ(0.0f, endless.particles[0].RelTime());
    EXPECT_NEAR(3.0f, endless.particles[0].params[PARAM_SIZE].value, 0.002f);
}

TEST(ParticleSystemTest, EmitterShapesAndEvenHeadings) {
    ParticleSystem even = SystemFrom(
        "<ParticleSystem numOfParticles='10' lifeInitial='1' isEqual='1' emitterAngle='90' emitterRange='180'/>");
    even.Reset();
    for (int i = 0; i < 10; ++i) EXPECT_NEAR(18.0f * i * DEG, even.particles[i].direction, 1e-5f) << i;

    ParticleSystem line = SystemFrom(
        "<ParticleSystem numOfParticles='50' lifeInitial='1' isEqual='1' emitterType='line' lineLength='100'"
        " emitterOrientation='90'/>");
    line.emitterX = 400.0f;
    line.emitterY = 300.0f;
    line.Reset();
    float low = 1e9f, high = -1e9f;
    for (const Particle& p : line.particles) {
        EXPECT_NEAR(0.0f, p.offset[0], 1e-4f);
        low = std::min(low, p.offset[1]);
        high = std::max(high, p.offset[1]);
        EXPECT_FLOAT_EQ(400.0f, p.origin[0]);
        EXPECT_NEAR(180.0f * DEG, p.direction, 1e-4f);
    }
    EXPECT_GE(low, -50.0f);
    EXPECT_LE(high, 50.0f);
    EXPECT_GT(high - low, 50.0f);

    ParticleSystem ellipse = SystemFrom(
        "<ParticleSystem numOfParticles='20' lifeInitial='1' emitterType='ellipse' ellipseRHor='30'"
        " ellipseRVert='10'/>");
    ellipse.Reset();
    for (const Particle& p : ellipse.particles) {
        const float e = p.offset[0] * p.offset[0] / 900.0f + p.offset[1] * p.offset[1] / 100.0f;
        EXPECT_NEAR(1.0f, e, 1e-3f);  // on the outline only
    }
}

TEST(ParticleSystemTest, WaitingParticlesFollowTheEmitterBornOnesStay) {
    ParticleSystem s = SystemFrom(
        "<ParticleSystem numOfParticles='40' lifeInitial='10' startTime='1' isVelocity='1'>"
        "<Param name='v' initial='100'/></ParticleSystem>");
    s.Reset();
    s.Update(0.5f);
    s.emitterX = 200.0f;
    s.Update(0.1f);
    for (const Particle& p : s.particles) {
        if (p.age < 0.0f) {
            EXPECT_FLOAT_EQ(200.0f, p.origin[0]);
        }
    }
    bool someStayed = false;
    for (const Particle& p : s.particles) {
        if (p.age < 0.0f) continue;
        // Velocity mode, heading 0, speed 100: a whole step of travel in the update of the birth.
        const bool bornFirst = p.age >= 0.1f + 1e-4f;
        EXPECT_NEAR(bornFirst ? 60.0f : 10.0f, p.travelled[0], 0.01f) << p.age;
        if (bornFirst) someStayed = someStayed || p.origin[0] == 0.0f;
    }
    EXPECT_TRUE(someStayed);
}

class ParticleDrawTest : public RecordingDeviceTest {};

TEST_F(ParticleDrawTest, SquaresColoursAndBlendStates) {
    ParticleSystem s = SystemFrom(
        "<ParticleSystem numOfParticles='3' lifeInitial='10' linkedParticles='1'>"
        "<Param name='size' initial='5'/><Param name='red' initial='300'/><Param name='green' initial='-20'/>"
        "<Param name='blue' initial='128.5'/><Param name='alpha' initial='999'/><Param name='x' initial='10'/>"
        "</ParticleSystem>");
    s.emitterX = 100.0f;
    s.emitterY = 50.0f;
    s.Reset();
    recording->draws.clear();
    s.Draw();  // nothing born yet? startTime 0: every particle is at age 0 and drawn
    ASSERT_EQ(1u, recording->draws.size());
    const render_layer::RecordedDraw& draw = recording->draws[0];
    EXPECT_EQ(D3DPT_TRIANGLELIST, draw.type);
    EXPECT_EQ(6u, draw.primitiveCount);
    EXPECT_EQ((DWORD)D3DBLEND_SRCALPHA, draw.renderStates[D3DRS_SRCBLEND]);
    EXPECT_EQ((DWORD)D3DBLEND_ONE, draw.renderStates[D3DRS_DESTBLEND]);
    ASSERT_GE(draw.vertices.size(), 6u);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(0xFFFF0080u, draw.vertices[i].color) << i;
    // Centre (110, 50) approximately (x drawn just under 10), half side 5, unturned.
    EXPECT_NEAR(105.0f, draw.vertices[0].x, 0.01f);
    EXPECT_NEAR(45.0f, draw.vertices[0].y, 0.01f);
    EXPECT_NEAR(115.0f, draw.vertices[5].x, 0.01f);
    EXPECT_NEAR(55.0f, draw.vertices[5].y, 0.01f);
    EXPECT_FLOAT_EQ(1.0f, draw.vertices[5].u);
    EXPECT_FLOAT_EQ(1.0f, draw.vertices[5].v);

    // Linked particles move with the emitter; the blending is back to normal after drawing.
    s.emitterX = 300.0f;
    recording->draws.clear();
    s.Draw();
    ASSERT_EQ(1u, recording->draws.size());
    EXPECT_NEAR(305.0f, recording->draws[0].vertices[0].x, 0.01f);
    DWORD dest = 0;
    Render::device._d3dDevice->GetRenderState(D3DRS_DESTBLEND, &dest);
    EXPECT_EQ((DWORD)D3DBLEND_INVSRCALPHA, dest);
}

TEST_F(ParticleDrawTest, OrientedSquaresTurnWithTheirMotion) {
    ParticleSystem s = SystemFrom(
        "<ParticleSystem numOfParticles='1' lifeInitial='10' orientParticles='1' additive='false'>"
        "<Param name='size' initial='1'/><Param name='y' d='5'/><Param name='alpha' initial='255'/></ParticleSystem>");
    s.Reset();
    recording->draws.clear();
    s.Draw();
    ASSERT_EQ(1u, recording->draws.size());
    EXPECT_EQ((DWORD)D3DBLEND_INVSRCALPHA, recording->draws[0].renderStates[D3DRS_DESTBLEND]);
    // Moving up: turned by 90 degrees, so corner (-1, -1) lies at (1, -1).
    EXPECT_NEAR(1.0f, recording->draws[0].vertices[0].x, 5e-3f);
    EXPECT_NEAR(-1.0f, recording->draws[0].vertices[0].y, 5e-3f);
}

// Effects built in code: systems without texture.
ParticleSystem CodeSystem(int count, float life, float bornTime) {
    ParticleSystem s;
    s.lifeInitial = life;
    s.particles.resize(static_cast<std::size_t>(count));
    s.bornTime = bornTime;
    return s;
}

TEST_F(ParticleDrawTest, EffectStartsSystemsAtTheirBornTimes) {
    ParticleEffect effect;
    effect.systems.push_back(CodeSystem(2, 5.0f, 0.0f));
    effect.systems.push_back(CodeSystem(3, 5.0f, 1.5f));
    effect.x = 10.0f;
    effect.Reset();
    recording->draws.clear();
    effect.Draw();
    EXPECT_TRUE(recording->draws.empty());  // before the first update nothing shows
    effect.Update(0.1f);
    effect.Draw();
    EXPECT_EQ(1u, recording->draws.size());
    effect.Update(1.3f);
    EXPECT_TRUE(effect.systems[1].waiting);
    effect.Update(0.2f);
    EXPECT_FALSE(effect.systems[1].waiting);
    // Caught up by the 0.1 s past its start, then advanced by the frame's step as well.
    EXPECT_NEAR(0.3f, effect.systems[1].time, 1e-5f);
    recording->draws.clear();
    effect.Draw();
    EXPECT_EQ(2u, recording->draws.size());
}

TEST(ParticleEffectTest, FinishStopsEmittingAndWaitingSystemsNeverStart) {
    ParticleEffect effect;
    effect.systems.push_back(CodeSystem(2, 1.0f, 0.0f));
    effect.systems.push_back(CodeSystem(2, 1.0f, 5.0f));
    effect.Reset();
    effect.Update(0.0f);  // starts the first system
    effect.Update(0.5f);
    effect.Finish();
    EXPECT_TRUE(effect.systems[1].dead);
    EXPECT_FALSE(effect.finished);
    effect.Update(0.6f);
    EXPECT_TRUE(effect.systems[0].dead);
    effect.Update(0.1f);
    EXPECT_TRUE(effect.finished);

    // Paused: nothing moves; resumed: goes on.
    ParticleEffect paused;
    paused.systems.push_back(CodeSystem(2, 1.0f, 0.0f));
    paused.Reset();
    paused.paused = true;
    paused.Update(1.0f);
    EXPECT_FLOAT_EQ(0.0f, paused.time);
    paused.paused = false;
    paused.Update(0.25f);
    EXPECT_FLOAT_EQ(0.25f, paused.time);

    // Without systems: finished at the first update.
    ParticleEffect empty;
    empty.Reset();
    empty.Update(0.0f);
    EXPECT_TRUE(empty.finished);
}

TEST(ParticleEffectTest, DeadCounterEndsTheEffectByItself) {
    ParticleEffect effect;
    ParticleSystem s = CodeSystem(5, 1.0f, 0.0f);
    s.needStartDeadCounter = true;
    s.deadCountTime = 2.0f;
    effect.systems.push_back(s);
    effect.Reset();
    float t = 0.0f;
    while (!effect.finished && t < 10.0f) {
        effect.Update(0.05f);
        t += 0.05f;
    }
    EXPECT_TRUE(effect.finished);
    EXPECT_GT(t, 2.0f);
    EXPECT_LT(t, 3.2f);
}

// Files for the library.
class ParticleLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testing_support::MakeTempDir("particles");
        library.Clear();
    }
    std::string Write(const std::string& name, const std::string& text) {
        testing_support::WriteFile(dir + name, text);
        return dir + name;
    }
    std::string dir;
    ParticleLibrary library;
};

TEST_F(ParticleLibraryTest, ParticleFilesAndRepeatedNames) {
    const std::string path = Write("p.xml",
        "<Particles><ParticleSystem name='a' numOfParticles='5'/><ParticleSystem numOfParticles='9'/>"
        "<ParticleSystem name='b' numOfParticles='7'/></Particles>");
    testing_support::LogCapture capture;
    library.LoadParticles(path);
    EXPECT_EQ(0, capture.ErrorCount());
    EXPECT_EQ(5, library.GetSystem("a").GetParticleCount());
    EXPECT_EQ(7, library.GetSystem("b").GetParticleCount());
    Write("p.xml", "<Particles><ParticleSystem name='a' numOfParticles='6'/>"
                   "<ParticleSystem name='b' numOfParticles='8'/></Particles>");
    library.LoadParticles(path);
    EXPECT_TRUE(capture.Contains("Particle system a already exist!"));
    EXPECT_TRUE(capture.Contains("Particle system b already exist!"));
    EXPECT_EQ(2, capture.ErrorCount());
    EXPECT_EQ(6, library.GetSystem("a").GetParticleCount());
    EXPECT_EQ(8, library.GetSystem("b").GetParticleCount());
}

TEST_F(ParticleLibraryTest, VersionedAndNamedEffects) {
    library.LoadParticles(Write("p.xml", "<P><ParticleSystem name='spark' numOfParticles='4'/></P>"));
    library.LoadEffects(Write("e.xml",
        "<Effects version='1'><Effect name='inline'>"
        "<ParticleSystem name='ignored' numOfParticles='3' bornTime='0.5' needStartDeadCounter='true' deadCountTime='2'/>"
        "<ParticleSystem numOfParticles='2'/></Effect></Effects>"));
    const ParticleEffect& inlineEffect = library.GetEffect("inline");
    ASSERT_EQ(2u, inlineEffect.systems.size());
    EXPECT_EQ(3, inlineEffect.systems[0].GetParticleCount());
    EXPECT_FLOAT_EQ(0.5f, inlineEffect.systems[0].bornTime);
    EXPECT_TRUE(inlineEffect.systems[0].needStartDeadCounter);
    EXPECT_FLOAT_EQ(2.0f, inlineEffect.systems[0].deadCountTime);
    EXPECT_FALSE(library.HasSystem("ignored"));

    testing_support::LogCapture capture;
    library.LoadEffects(Write("n.xml",
        "<Effects><Effect name='named'><ParticleSystem name='spark' bornTime='1'/>"
        "<ParticleSystem name='lost'/><ParticleSystem name='lost2'/></Effect>"
        "<Effect name='named'><ParticleSystem name='spark'/></Effect></Effects>"));
    const ParticleEffect& named = library.GetEffect("named");
    ASSERT_EQ(4u, named.systems.size());  // the repeated name appends, without a report
    EXPECT_EQ(4, named.systems[0].GetParticleCount());
    EXPECT_FLOAT_EQ(1.0f, named.systems[0].bornTime);
    EXPECT_EQ(0, named.systems[1].GetParticleCount());
    EXPECT_TRUE(capture.Contains("System lost not found!"));
    EXPECT_TRUE(capture.Contains("System lost2 not found!"));
    EXPECT_EQ(2, capture.ErrorCount());

    library.LoadEffects(Write("e.xml", "<Effects version='2'><Effect name='inline'/></Effects>"));
    EXPECT_TRUE(capture.Contains("Effect inline already exist!"));
}

TEST_F(ParticleLibraryTest, MissingAndBrokenFilesAreReportedWithTheirNames) {
    testing_support::LogCapture capture;
    library.LoadParticles(dir + "none.xml");
    EXPECT_TRUE(check_reports::ErrorReported(capture, "Cannot open particle file " + dir + "none.xml"));
    const std::string broken = Write("broken.xml", "<Effects version='1'><Effect name='x'>");
    library.LoadEffects(broken);
    EXPECT_TRUE(capture.Contains("Cannot read effect file " + broken + ": "));
    EXPECT_EQ(2, capture.ErrorCount());
    EXPECT_FALSE(library.HasEffect("x"));
}

}  // namespace
