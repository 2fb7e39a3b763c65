// Decorators that change over time or draw with an alpha: zoom and alpha change on command, the
// fade veils, fixed alpha.
#include <gtest/gtest.h>

#include "controls/AlphaChangeControl.h"
#include "controls/FadeControls.h"
#include "controls/ZoomChangeControl.h"
#include "core/MessageServer.h"
#include "tests/controls/DecoratorTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace decorators_test;
using pictures_test::Quad;
using testing_support::LogCapture;
using Texts = std::vector<std::string>;

class DecoratorChangeTest : public DecoratorTest {};

std::string ZoomChange(const std::string& children) {
    return Element("ZoomChangeControl", 100, 100, children, "zoom='1.0' speed='2.0'",
                   "<messageReceiver name='zoomer'/><namedZooms><zoom name='big' value='2.0'/>"
                   "<zoom name='normal' value='1.0'/><zoom name='small' value='0.3'/></namedZooms>");
}

std::string AlphaChange(const std::string& start, const std::string& speed, const std::string& children) {
    return Element("AlphaChangeControl", 0, 0, children, start.empty() ? "" : "start='" + start + "'",
                   "<messageReceiver name='fader'/><speed value='" + speed + "'/>");
}

TEST_F(DecoratorChangeTest, ZoomChangeGlidesToTheNamedFactorAndLandsOnIt) {
    LogCapture log;
    Build(List(ZoomChange(Button("zoomed", 10, 0))));
    const auto zoom = Child<ZoomChangeControl>(0);
    EXPECT_EQ(zoom->GetXZoom(), 1.0f);

    SendMessage("zoomer", "change zoom to big");
    for (int i = 0; i < 4; ++i) container->Update(0.1f);
    EXPECT_NEAR(zoom->GetCurrentZoom(), 1.8f, 1e-5f);
    EXPECT_LT(zoom->GetCurrentZoom(), 2.0f);
    container->Update(0.1f);
    container->Update(0.1f);
    EXPECT_EQ(zoom->GetCurrentZoom(), 2.0f);
    EXPECT_EQ(zoom->GetXZoom(), 2.0f);
    EXPECT_EQ(zoom->GetYZoom(), 2.0f);
    // Drawn and hit as a zoom control at the factor reached.
    EXPECT_EQ(DrawOnly().back().width, 80);
    Click(190, 135);
    EXPECT_EQ(tester.messages, (Texts{"zoomed"}));

    // The name of the current factor changes nothing; a long step down is cut at the target.
    SendMessage("zoomer", "change zoom to big");
    container->Update(0.5f);
    EXPECT_EQ(zoom->GetCurrentZoom(), 2.0f);
    SendMessage("zoomer", "change zoom to small");
    container->Update(0.5f);
    EXPECT_EQ(zoom->GetCurrentZoom(), 1.0f);
    container->Update(1.0f);
    EXPECT_EQ(zoom->GetCurrentZoom(), 0.3f);
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();

    // An unknown name is reported and leaves the target as it was.
    SendMessage("zoomer", "change zoom to huge");
    EXPECT_EQ(log.ErrorCount(), 1);
    EXPECT_TRUE(log.Contains("_zooms.find(destinationName) != _zooms.end()"));
    EXPECT_EQ(zoom->GetDestinationZoom(), 0.3f);
    // Other messages go to the default handler.
    SendMessage("zoomer", "zoom in");
    EXPECT_EQ(log.ErrorCount(), 2);
}

TEST_F(DecoratorChangeTest, ZoomChangeContentChecks) {
    LogCapture log;
    Build(List(Element("ZoomChangeControl", 0, 0, "", "zoom='0.0' speed='0.0'",
                       "<messageReceiver name='null'/><namedZooms><zoom name='a' value='1.0'/>"
                       "<zoom name='a' value='2.0'/><scale name='b' value='-1.0'/></namedZooms>")));
    for (const char* check : {"_currentZoom > 0.0f", "_speed > 0.0f", "_zooms.find(name) == _zooms.end()",
                              "oneZoomXml->GetName() == \"zoom\"", "zoom > 0.0f"}) {
        EXPECT_TRUE(log.Contains(check)) << check;
    }
    Build(List(Element("ZoomChangeControl", 0, 0, "", "zoom='1.0' speed='1.0'",
                       "<messageReceiver name='null'/><namedZooms/>")));
    EXPECT_TRUE(log.Contains("oneZoomXml != NULL"));
}

TEST_F(DecoratorChangeTest, AlphaChangeJumpsOrGlides) {
    LogCapture log;
    // Speed 0: at once.
    Build(List(AlphaChange("1.0", "0.0", Button("faded", 100, 100))));
    auto alpha = Child<AlphaChangeControl>(0);
    EXPECT_EQ(alpha->GetCurrentAlpha(), 1.0f);
    SendMessage("fader", "change alpha to 0.0");
    EXPECT_EQ(alpha->GetCurrentAlpha(), 0.0f);
    EXPECT_EQ(DrawOnly().back().alpha, 0);
    // Invisible, still clickable.
    Click(110, 110);
    EXPECT_EQ(tester.messages, (Texts{"faded"}));

    // Speed 2: half a second from 1 to 0, landing exactly.
    container = nullptr;  // one receiver of a name at a time
    Build(List(AlphaChange("1.0", "2.0", Button("faded", 100, 100))));
    alpha = Child<AlphaChangeControl>(0);
    SendMessage("fader", "change alpha to 0.0");
    container->Update(0.25f);
    EXPECT_EQ(alpha->GetCurrentAlpha(), 0.5f);
    EXPECT_EQ(DrawOnly().back().alpha, 127);
    container->Update(0.3f);
    EXPECT_EQ(alpha->GetCurrentAlpha(), 0.0f);
    SendMessage("fader", "change alpha to 1.0");
    container->Update(0.1f);
    EXPECT_NEAR(alpha->GetCurrentAlpha(), 0.2f, 1e-6f);

    // Without "start" it begins invisible.
    container = nullptr;
    Build(List(AlphaChange("", "1.0", "")));
    EXPECT_EQ(Child<AlphaChangeControl>(0)->GetCurrentAlpha(), 0.0f);
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
    container = nullptr;
    Build(List(AlphaChange("0.5", "-1.0", "")));
    EXPECT_TRUE(log.Contains("_currentAlpha == 0.0f || _currentAlpha == 1.0f"));
    EXPECT_TRUE(log.Contains("_speed >= 0.0f"));
}

TEST_F(DecoratorChangeTest, DarkeningFadesInAndSendsOnce) {
    LogCapture log;
    Build(List("<DarkeningControl>" + Position(0, 0) + "<message value='dark' receiver='tester'/></DarkeningControl>"));
    const auto veil = Child<DarkeningControl>(0);
    std::vector<Quad> quads = DrawOnly();
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_EQ(quads[0].width, 800);
    EXPECT_EQ(quads[0].height, 600);
    EXPECT_EQ(quads[0].alpha, 0);
    EXPECT_EQ(recording->draws[0].texture, nullptr);

    const float expected[] = {0.4f, 0.8f, 1.0f, 1.0f};
    for (int i = 0; i < 4; ++i) {
        container->Update(0.2f);
        EXPECT_NEAR(veil->GetAlpha(), expected[i], 1e-6f) << i;
        EXPECT_EQ(tester.messages.size(), i < 2 ? 0u : 1u) << i;
    }
    EXPECT_EQ(veil->GetAlpha(), 1.0f);
    EXPECT_EQ(DrawOnly()[0].alpha, 255);

    // Input passes through the veil.
    Build(List("<DarkeningControl>" + Position(0, 0) + "<message value='dark' receiver='tester'/></DarkeningControl>" +
               Button("under", 100, 100)));
    Click(110, 110);
    EXPECT_EQ(tester.messages, (Texts{"dark", "under"}));
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(DecoratorChangeTest, BrighteningStartsBlackAndClears) {
    Build(List("<BrighteningControl>" + Position(0, 0) + "</BrighteningControl>"));
    EXPECT_EQ(DrawOnly()[0].alpha, 255);
    container->Update(0.25f);
    EXPECT_EQ(Child<BrighteningControl>(0)->GetAlpha(), 0.5f);
    container->Update(1.0f);
    EXPECT_EQ(DrawOnly()[0].alpha, 0);
}

TEST_F(DecoratorChangeTest, FixedAlphaMultipliesWithTheParents) {
    LogCapture log;
    Build(Element("FixedAlphaControl", 0, 0, Element("FixedAlphaControl", 0, 0, Button("b", 10, 10), "alphaMul='0.5'"),
                  "alphaMul='0.5'"));
    const std::vector<Quad> quads = DrawOnly();
    ASSERT_FALSE(quads.empty());
    EXPECT_NEAR(quads.back().alpha, 64, 1);
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
    Build(Element("FixedAlphaControl", 0, 0, "", "alphaMul='1.5'"));
    EXPECT_TRUE(log.Contains("0.0f <= _alphaMul && _alphaMul <= 1.0f"));
}

}  // namespace
