// The animated text: its timeline (the step limit, the pause that swallows its frame, show, idle
// and hide), its drawing while waiting and fading, and lines turning about the middle line.
#include <gtest/gtest.h>

#include "tests/core/CheckReports.h"
#include "tests/widgets/AnimatedWidgetTestSupport.h"
#include "widgets/DynamicTextControl.h"

namespace animated_widgets_test {
namespace {

using testing_support::LogCapture;

std::string TextXml(const std::string& attributes, const std::string& inner, const std::string& lines = "<line>A</line>") {
    return "<DynamicTextControl " + attributes + ">" + Pos(400, 300) + inner + "<div fontName='edit'>" + lines +
           "</div></DynamicTextControl>";
}

class DynamicTextTest : public AnimatedWidgetTest {
protected:
    ObjectWeakPointer<DynamicTextControl> Text() { return Only<DynamicTextControl>(); }
};

TEST_F(DynamicTextTest, AStepIsLimitedToATenthAndThePauseSwallowsItsLastFrame) {
    BuildOne(TextXml("start='1.0' idle='2.0' finish='1.0' pause='0.35'", ""));
    container->Update(0.5f);  // counts as 0.1
    EXPECT_NEAR(0.25f, Text()->GetPause(), 1e-5f);
    Run(2, 0.1f);
    EXPECT_NEAR(0.05f, Text()->GetPause(), 1e-5f);
    container->Update(0.1f);  // the pause ends; the rest of the step is dropped
    EXPECT_EQ(0, Text()->GetPhase());
    EXPECT_EQ(0.0f, Text()->GetProgress());
    container->Update(0.5f);
    EXPECT_NEAR(0.1f, Text()->GetProgress(), 1e-5f);
}

TEST_F(DynamicTextTest, ShowIdleAndHideOfOneTwoOneSecondsAreGoneAfterAboutFourSeconds) {
    LogCapture log;
    BuildOne(TextXml("start='1.0' idle='2.0' finish='1.0'", ""));
    int frames = 0;
    int idleFrom = -1;
    int hideFrom = -1;
    while (Text()->GetPhase() != 3 && frames < 100) {
        container->Update(0.1f);
        ++frames;
        if (idleFrom < 0 && Text()->GetPhase() == 1) idleFrom = frames;
        if (hideFrom < 0 && Text()->GetPhase() == 2) hideFrom = frames;
    }
    EXPECT_GE(idleFrom, 10);
    EXPECT_LE(idleFrom, 11);
    EXPECT_GE(hideFrom, 30);
    EXPECT_LE(hideFrom, 32);
    EXPECT_GE(frames, 40);
    EXPECT_LE(frames, 43);
    EXPECT_TRUE(DrawOnly().empty());
    Run(5, 0.1f);
    EXPECT_EQ(3, Text()->GetPhase());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(DynamicTextTest, WaitingTextIsDrawnAtShowStartAndTheAlphaFormAtItsCurve) {
    BuildOne(TextXml("start='1.0' idle='1.0' finish='1.0' pause='1.0'", ""));
    DrawOnly();
    ASSERT_EQ(1u, recording->draws.size());
    EXPECT_EQ(0, Alpha(0));

    BuildOne(TextXml("time='2.0' pause='1.0'", "<alphaSpline><k value='0.5'/><k value='1.0'/></alphaSpline>"));
    EXPECT_TRUE(Text()->IsSinglePhase());
    DrawOnly();
    ASSERT_EQ(1u, recording->draws.size());
    EXPECT_NEAR(128, Alpha(0), 1);
    Run(40, 0.1f);  // pause, then the whole phase: the text stays at the curve's end
    DrawOnly();
    ASSERT_EQ(1u, recording->draws.size());
    EXPECT_EQ(255, Alpha(0));
}

TEST_F(DynamicTextTest, ThreeLinesTurnAboutTheMiddleLineAndOneLineAboutItself) {
    const std::string lines = "<line>A</line><line>B</line><line>C</line>";
    const std::string turn = "<showAngleSpline><k value='90.0'/><k value='90.0'/></showAngleSpline>";
    BuildOne(TextXml("start='1.0' idle='5.0' finish='1.0'", "", lines));
    Run(11, 0.1f);
    ASSERT_EQ(1, Text()->GetPhase());
    DrawOnly();
    ASSERT_EQ(3u, recording->draws.size());
    const widgets_test::Box still = DrawBox(1);
    // Line spacing is the font height, 13; the block sits round(1.5 x 13) below the position.
    EXPECT_NEAR(13.0f, CentreY(DrawBox(0)) - CentreY(still), 0.01f);
    EXPECT_NEAR(400.0f, CentreX(still), 0.01f);

    BuildOne(TextXml("start='1.0' idle='5.0' finish='1.0'", turn, lines));
    Run(5, 0.1f);
    DrawOnly();
    ASSERT_EQ(3u, recording->draws.size());
    const widgets_test::Box middle = DrawBox(1);
    EXPECT_NEAR(CentreX(still), CentreX(middle), 1.0f);
    EXPECT_NEAR(CentreY(still), CentreY(middle), 1.0f);
    // The first line stood 13 above the middle one; turned by 90 degrees it lies 13 to its left.
    EXPECT_NEAR(-13.0f, CentreX(DrawBox(0)) - CentreX(middle), 0.01f);
    EXPECT_NEAR(0.0f, CentreY(DrawBox(0)) - CentreY(middle), 0.01f);
    EXPECT_NEAR(13.0f, CentreX(DrawBox(2)) - CentreX(middle), 0.01f);

    BuildOne(TextXml("start='1.0' idle='5.0' finish='1.0'", turn, "<line>B</line>"));
    Run(5, 0.1f);
    DrawOnly();
    ASSERT_EQ(1u, recording->draws.size());
    EXPECT_NEAR(CentreX(DrawBox(0)), 400.0f, 1.0f);
    EXPECT_NEAR(CentreY(DrawBox(0)), CentreY(still) + 13.0f, 1.0f);
}

TEST_F(DynamicTextTest, TheTextFliesInAlongItsPathAndWithoutOneFadesInAtItsPlace) {
    BuildOne(TextXml("start='1.0' idle='5.0' finish='1.0'", "<moveIn><p x='-100' y='0'/><p x='0' y='0'/></moveIn>"));
    Run(5, 0.1f);
    DrawOnly();
    ASSERT_EQ(1u, recording->draws.size());
    EXPECT_LT(CentreX(DrawBox(0)), 390.0f);
    EXPECT_NEAR(128, Alpha(0), 2);

    BuildOne(TextXml("start='1.0' idle='5.0' finish='1.0'", ""));
    Run(5, 0.1f);
    DrawOnly();
    EXPECT_NEAR(400.0f, CentreX(DrawBox(0)), 0.01f);
}

TEST_F(DynamicTextTest, BadDataIsReported) {
    LogCapture log;
    BuildOne("<DynamicTextControl start='1.0' idle='1.0' finish='1.0'>" + Pos(0, 0) +
             "<div fontName='edit'/></DynamicTextControl>");
    EXPECT_TRUE(check_reports::Reported(log, "lineXml != NULL"));
    BuildOne(TextXml("start='1.0' idle='1.0' finish='1.0'", "<moveIn><p x='0' y='0'/><p x='5' y='0'/></moveIn>"));
    EXPECT_TRUE(check_reports::Reported(log, "_path.keys.size() >= 2 && p == FPoint(0, 0)"));
    BuildOne(TextXml("start='0.0' idle='1.0' finish='1.0'", ""));
    EXPECT_TRUE(check_reports::Reported(log, "length > 0.0f"));
}

}  // namespace
}  // namespace animated_widgets_test
