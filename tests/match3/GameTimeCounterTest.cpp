// The level timer on the recording device: the bar cut to the time left, the marker along its
// points, plain and repeated layers, and the shine with its tick.
#include <gtest/gtest.h>

#include <cmath>

#include "core/XmlRead.h"
#include "match3/GameTimeCounter.h"
#include "shell/RenderDevice.h"
#include "shell/SoundSystem.h"
#include "tests/match3/EffectTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using effects_test::Quad;

ObjectSmartPointer<XmlElement> Parse(const std::string& text) {
    ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(text.data(), text.data() + text.size()));
    return ObjectSmartPointer<XmlElement>(new XmlElement(document->GetRoot()));
}

// The counter sits at (700, 100): a 24 x 207 bar at (8, 12), a 28 x 24 marker on three points
// and a 56 x 60 glow.
const char* const COUNTER = R"(<GameTimeCounter hideProcess="0.2" minScale="0.5">
  <position x="700" y="100"/>
  <layer textureId="bar" progress="true" x="8" y="12"/>
  <layer textureId="marker" canShine="true">
    <point x="0" y="200" color="#FF0000"/>
    <point x="0" y="100" color="#00FF00"/>
    <point x="20" y="0" color="#0000FF"/>
  </layer>
</GameTimeCounter>)";

class GameTimeCounterTest : public effects_test::EffectTest {
protected:
    void SetUp() override {
        EffectTest::SetUp();
        AddPictures({{"bar", 24, 207}, {"marker", 28, 24}, {"tick", 8, 2}, {"timer_shine", 56, 60}});
        // Handle 105, after the effect tests' four samples.
        Sound::soundSystem.AddSample("time_shine", "time_shine.wav", 2);
        audio.ClearCalls();
    }

    ObjectSmartPointer<GameTimeCounter> Make(const std::string& xml = COUNTER) {
        return ObjectSmartPointer<GameTimeCounter>(new GameTimeCounter(ObjectWeakPointer<Control>(), Parse(xml)));
    }

    // The drawn part of the bar (the draw that is clipped), as logical y of its bottom and top.
    std::pair<float, float> ClippedBar(GameTimeCounter& counter) {
        RenderDevice& device = Render::device;
        device.SetPictureViewport();
        device.Enter2DMode();
        recording->draws.clear();
        counter.Draw();
        device.Leave2DMode();
        for (const render_layer::RecordedDraw& draw : recording->draws) {
            if (draw.renderStates[D3DRS_CLIPPLANEENABLE] == 0 || draw.clipped.empty()) continue;
            float low = 1e9f;
            float high = -1e9f;
            for (const auto& polygon : draw.clipped) {
                for (const render_layer::ScreenVertex& v : polygon) {
                    low = std::min(low, 599.5f - v.y);
                    high = std::max(high, 599.5f - v.y);
                }
            }
            return {low, high};
        }
        return {0.0f, 0.0f};
    }

    int ShinePlays() { return SamplePlays(105); }
};

TEST_F(GameTimeCounterTest, TheBarIsCutToTheTimeLeftAndFadesBelowTheHideThreshold) {
    ObjectSmartPointer<GameTimeCounter> counter = Make();
    const struct {
        float progress;
        int height;
        int alpha;
    } cases[] = {{1.0f, 207, 255}, {0.6f, 107, 255}, {0.2f, 7, 255}, {0.1f, 7, 128}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.height, GameTimeCounter::BarHeight(207, c.progress, 0.2f)) << c.progress;
        counter->SetProgress(c.progress);
        const std::pair<float, float> bar = ClippedBar(*counter);
        EXPECT_NEAR(112.0f, bar.first, 0.6f) << c.progress;
        EXPECT_NEAR(112.0f + static_cast<float>(c.height), bar.second, 0.6f) << c.progress;
        const std::vector<Quad> quads = DrawnQuads([&counter] { counter->Draw(); });
        ASSERT_FALSE(quads.empty());
        EXPECT_NEAR(c.alpha, quads[0].alpha, 1) << c.progress;
    }
}

TEST_F(GameTimeCounterTest, TheMarkerFollowsItsPointsAndShrinksAwayAtTheLast) {
    const std::vector<GameTimeCounter::MarkerPoint> points = {
        {Point(0, 200), Color(255, 0, 0)}, {Point(0, 100), Color(0, 255, 0)}, {Point(20, 0), Color(0, 0, 255)}};
    const struct {
        float progress;
        Point position;
        Color color;
    } cases[] = {{1.0f, Point(0, 200), Color(255, 0, 0)},
                 {0.6f, Point(0, 100), Color(0, 255, 0)},
                 {0.4f, Point(10, 50), Color(0, 128, 128)}};
    ObjectSmartPointer<GameTimeCounter> counter = Make();
    for (const auto& c : cases) {
        // Within a unit: the stretch and the share along it come from float arithmetic.
        const GameTimeCounter::MarkerPlace place = GameTimeCounter::MarkerAt(points, c.progress, 0.2f);
        EXPECT_NEAR(c.position.x, place.position.x, 1) << c.progress;
        EXPECT_NEAR(c.position.y, place.position.y, 1) << c.progress;
        EXPECT_NEAR(c.color.green, place.color.green, 1) << c.progress;
        EXPECT_NEAR(c.color.blue, place.color.blue, 1) << c.progress;
        counter->SetProgress(c.progress);
        const std::vector<Quad> quads = DrawnQuads([&counter] { counter->Draw(); });
        ASSERT_EQ(2u, quads.size());
        EXPECT_FLOAT_EQ(700.0f + static_cast<float>(place.position.x), quads[1].left);
        EXPECT_FLOAT_EQ(100.0f + static_cast<float>(place.position.y), quads[1].bottom);
        EXPECT_EQ(place.color.GetWord() & 0x00FFFFFFu, quads[1].color & 0x00FFFFFFu);
    }
    // At 0.1 the marker stands at the last point at half the way to its minimum scale of 0.5
    // (0.75), at half alpha, in the last point's colour.
    counter->SetProgress(0.1f);
    const std::vector<Quad> quads = DrawnQuads([&counter] { counter->Draw(); });
    ASSERT_EQ(2u, quads.size());
    EXPECT_NEAR(28.0f * 0.75f, quads[1].Width(), 1e-3f);
    EXPECT_NEAR(720.0f + 14.0f, quads[1].CentreX(), 1e-3f);
    EXPECT_NEAR(100.0f + 12.0f, quads[1].CentreY(), 1e-3f);
    EXPECT_NEAR(128, quads[1].alpha, 1);
    EXPECT_EQ(0x0000FFu, quads[1].color & 0x00FFFFFFu);
}

TEST_F(GameTimeCounterTest, PlainAndRepeatedLayersAndAMarkerOfOnePoint) {
    testing_support::LogCapture log;
    ObjectSmartPointer<GameTimeCounter> counter = Make(R"(<GameTimeCounter hideProcess="0.2" minScale="0.5">
      <position x="700" y="100"/>
      <layer textureId="tick" count="3" stepX="0" stepY="20" x="4" y="10"/>
      <layer textureId="marker"><point x="5" y="6" color="#FF0000"/></layer>
    </GameTimeCounter>)");
    EXPECT_NE(std::string::npos, log.Text().find("two points")) << log.Text();
    counter->SetProgress(0.5f);
    const std::vector<Quad> quads = DrawnQuads([&counter] { counter->Draw(); });
    ASSERT_EQ(4u, quads.size());
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(704.0f, quads[i].left);
        EXPECT_FLOAT_EQ(110.0f + 20.0f * static_cast<float>(i), quads[i].bottom);
    }
    EXPECT_FLOAT_EQ(705.0f, quads[3].left);
    EXPECT_FLOAT_EQ(106.0f, quads[3].bottom);
    EXPECT_EQ(0xFFFFFFu, quads[3].color & 0x00FFFFFFu) << "untinted";
}

TEST_F(GameTimeCounterTest, TheShineTicksOncePerPeriodAndPulsesOverTheMarker) {
    ObjectSmartPointer<GameTimeCounter> counter = Make();
    counter->Update(3.0f);
    EXPECT_EQ(0, ShinePlays()) << "not shining";
    counter->shining = true;
    counter->shineTime = 0.0f;
    counter->Update(2.5f);
    EXPECT_EQ(2, ShinePlays());
    EXPECT_FLOAT_EQ(0.5f, counter->shineTime);
    counter->shineTime = 0.25f;
    counter->SetProgress(1.0f);
    const std::vector<Quad> quads = DrawnQuads([&counter] { counter->Draw(); });
    // The bar, the marker, then the glow's three rows, additive at full pulse; its upper part
    // follows the marker (at 200): 171 up from where the 56 x 60 glow would stand, 10 below the
    // counter.
    ASSERT_EQ(5u, quads.size());
    for (std::size_t i = 2; i < 5; ++i) {
        EXPECT_TRUE(quads[i].additive);
        EXPECT_NEAR(255, quads[i].alpha, 1);
        EXPECT_FLOAT_EQ(692.0f, quads[i].left);
    }
    EXPECT_FLOAT_EQ(90.0f, quads[2].bottom);
    EXPECT_FLOAT_EQ(90.0f + 20.0f, quads[2].top);
    EXPECT_FLOAT_EQ(90.0f + 40.0f + 171.0f, quads[3].top);
    EXPECT_FLOAT_EQ(90.0f + 60.0f + 171.0f, quads[4].top);
}

}  // namespace
