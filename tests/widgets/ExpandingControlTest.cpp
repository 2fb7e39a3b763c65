// The sliding hint panel: its states and pause messages, the closing message of every "hide",
// the self-hiding of the first showing, dismissal by a click elsewhere, dragging, and its drawing.
#include <gtest/gtest.h>

#include "core/MessageServer.h"
#include "tests/core/CheckReports.h"
#include "tests/widgets/AnimatedWidgetTestSupport.h"
#include "widgets/ExpandingControl.h"

namespace animated_widgets_test {
namespace {

using pictures_test::Listener;
using testing_support::LogCapture;
using Strings = std::vector<std::string>;

constexpr float STEP = 0.125f;  // exact in binary

std::string Panel(const std::string& attributes, const std::string& times = "<actionsTime showTime='0.5' hideTime='1.0' waitTime='2.0'/>") {
    return "<ExpandingControl " + attributes + ">" + Pos(100, 100) +
           "<messageReceiver name='hint'/><children/>"
           "<TextureContainer><texture textureId='star' x='10' y='30'/></TextureContainer>"
           "<PathMover><p x='0' y='-50'/><p x='0' y='0'/></PathMover>"
           "<AlphaChanger><k value='0.0'/><k value='1.0'/></AlphaChanger>"
           "<ScaleChanger><k value='0.5'/><k value='1.0'/></ScaleChanger>"
           "<resizeable textureTopId='top' textureBottomId='bottom' height='100'/>" +
           times +
           "<directArrow x='50' y='50' angle='45.0'/>"
           "<onClose receiver='game' message='closed'/><pause name='game'/></ExpandingControl>";
}

class ExpandingControlTest : public AnimatedWidgetTest {
protected:
    void SetUp() override {
        AnimatedWidgetTest::SetUp();
        WritePixels("top.png", 100, 20, [](int, int) { return 0xFF808080u; });
        WritePixels("bottom.png", 100, 20, [](int, int) { return 0xFF606060u; });
        WritePixels("star.png", 8, 8, [](int, int) { return 0xFFFFFF00u; });
        WritePixels("direct_arrow.png", 30, 10, [](int, int) { return 0xFFFF0000u; });
        WritePixels("direct_arrow_shadow.png", 30, 10, [](int, int) { return 0x80000000u; });
        LoadTextures({"top", "bottom", "star", "direct_arrow", "direct_arrow_shadow"});
    }
    ObjectWeakPointer<ExpandingControl> Hint() { return Only<ExpandingControl>(); }
    void Shown(const std::string& attributes = "") {
        BuildOne(Panel(attributes));
        SendMessage("hint", "show");
        Run(4, STEP);
        ASSERT_EQ(ExpandingControl::SHOWN_STATE, Hint()->GetState());
    }
    Listener game{"game"};
};

TEST_F(ExpandingControlTest, HideTwiceGivesOneHidingAndTwoClosingMessagesEachAHideTimeLater) {
    LogCapture log;
    BuildOne(Panel(""));
    EXPECT_EQ(ExpandingControl::INVISIBLE_STATE, Hint()->GetState());
    SendMessage("hint", "show");
    EXPECT_EQ(ExpandingControl::APPEARING_STATE, Hint()->GetState());
    EXPECT_EQ(Strings{"Pause hint"}, game.messages);
    Run(3, STEP);
    EXPECT_EQ(ExpandingControl::APPEARING_STATE, Hint()->GetState());
    container->Update(STEP);
    EXPECT_EQ(ExpandingControl::SHOWN_STATE, Hint()->GetState());

    game.messages.clear();
    SendMessage("hint", "hide");
    EXPECT_EQ(ExpandingControl::DISAPPEARING_STATE, Hint()->GetState());
    Run(2, STEP);
    SendMessage("hint", "hide");
    EXPECT_EQ(Strings{"Continue hint"}, game.messages);
    Run(5, STEP);
    EXPECT_EQ(Strings{"Continue hint"}, game.messages);
    container->Update(STEP);  // one second after the first "hide"
    EXPECT_EQ((Strings{"Continue hint", "closed"}), game.messages);
    EXPECT_EQ(ExpandingControl::INVISIBLE_STATE, Hint()->GetState());
    container->Update(STEP);
    EXPECT_EQ(2u, game.messages.size());
    container->Update(STEP);  // one second after the second
    EXPECT_EQ((Strings{"Continue hint", "closed", "closed"}), game.messages);
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(ExpandingControlTest, EveryShowingStaysItsVisibleTimeAndAShowWhileUpKeepsThePanelUpQuietly) {
    LogCapture log;
    BuildOne(Panel("visibleTime='1.0'"));
    for (int showing = 0; showing < 2; ++showing) {
        SendMessage("hint", "show");
        Run(7, STEP);
        EXPECT_EQ(ExpandingControl::SHOWN_STATE, Hint()->GetState());
        container->Update(STEP);  // the time runs out exactly
        EXPECT_EQ(ExpandingControl::DISAPPEARING_STATE, Hint()->GetState());
        Run(16, STEP);
        EXPECT_EQ(ExpandingControl::INVISIBLE_STATE, Hint()->GetState());
    }
    EXPECT_EQ(2, std::count(game.messages.begin(), game.messages.end(), "closed"));
    // A second "show" 0.5 s into a showing gives it its whole time again; one while it goes
    // brings it back.
    SendMessage("hint", "show");
    Run(4, STEP);
    SendMessage("hint", "show");
    EXPECT_EQ(ExpandingControl::SHOWN_STATE, Hint()->GetState());
    Run(7, STEP);
    EXPECT_EQ(ExpandingControl::SHOWN_STATE, Hint()->GetState());
    container->Update(STEP);
    EXPECT_EQ(ExpandingControl::DISAPPEARING_STATE, Hint()->GetState());
    SendMessage("hint", "show");
    EXPECT_EQ(ExpandingControl::APPEARING_STATE, Hint()->GetState());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(ExpandingControlTest, AClickElsewhereDismissesAfterTheWaitUnlessTheHintIsFixed) {
    Shown();
    Click(500, 500);  // 0.5 s after "show": too early
    EXPECT_EQ(ExpandingControl::SHOWN_STATE, Hint()->GetState());
    Run(12, STEP);
    Click(500, 500);
    EXPECT_EQ(ExpandingControl::DISAPPEARING_STATE, Hint()->GetState());

    Shown("movable='false'");
    Run(40, STEP);
    Click(500, 500);
    Click(150, 110);
    EXPECT_EQ(ExpandingControl::SHOWN_STATE, Hint()->GetState());
    EXPECT_FALSE(Hint()->IsInDragging());

    // Without actionsTime: half a second each way, dismissal after 1.333 s.
    BuildOne(Panel("", ""));
    SendMessage("hint", "show");
    Run(4, STEP);
    EXPECT_EQ(ExpandingControl::SHOWN_STATE, Hint()->GetState());
    Run(6, STEP);
    Click(500, 500);
    EXPECT_EQ(ExpandingControl::SHOWN_STATE, Hint()->GetState());
    container->Update(STEP);
    Click(500, 500);
    EXPECT_EQ(ExpandingControl::DISAPPEARING_STATE, Hint()->GetState());
}

TEST_F(ExpandingControlTest, APanelIsDraggedAndAClickWithoutMotionKeepsItOnTheMouse) {
    Shown();
    Move(150, 110);
    Down(150, 110);
    EXPECT_TRUE(Hint()->IsInDragging());
    Move(170, 140);
    EXPECT_EQ(Point(120, 130), Hint()->GetAbsolutePos());
    Up(170, 140);
    EXPECT_FALSE(Hint()->IsInDragging());

    Move(130, 140);  // the stretched middle strip counts as solid
    Down(130, 140);
    Up(130, 140);
    EXPECT_TRUE(Hint()->IsInDragging());
    Move(140, 150);
    EXPECT_EQ(Point(130, 140), Hint()->GetAbsolutePos());
    Down(140, 150);
    Up(140, 150);
    EXPECT_FALSE(Hint()->IsInDragging());
}

TEST_F(ExpandingControlTest, APanelThatAClickClosesGoesOnAClickOnItselfAndStillMovesWhenDragged) {
    Shown("clickCloses='true'");
    Move(150, 110);
    Down(150, 110);
    Move(170, 140);
    Up(170, 140);
    EXPECT_EQ(Point(120, 130), Hint()->GetAbsolutePos());
    EXPECT_EQ(ExpandingControl::SHOWN_STATE, Hint()->GetState());
    Run(12, STEP);
    Move(150, 140);
    Down(150, 140);
    Up(150, 140);
    EXPECT_FALSE(Hint()->IsInDragging());
    EXPECT_EQ(ExpandingControl::DISAPPEARING_STATE, Hint()->GetState());
}

TEST_F(ExpandingControlTest, TheFrameStretchesTheTopAndTheAnimationFadesAlongThePath) {
    BuildOne(Panel(""));
    EXPECT_TRUE(DrawOnly().empty());
    SendMessage("hint", "show");
    Run(2, STEP);  // half way in
    DrawOnly();
    // Shadow, arrow, two cells of the top, the bottom, the star.
    ASSERT_EQ(6u, recording->draws.size());
    EXPECT_NEAR(128, Alpha(4), 2);
    Run(2, STEP);
    DrawOnly();
    ASSERT_EQ(6u, recording->draws.size());
    EXPECT_EQ(255, Alpha(4));
    const widgets_test::Box top = widgets_test::BoxOf(recording->draws, 2, 2);
    EXPECT_NEAR(120.0f, top.bottom, 0.01f);
    EXPECT_NEAR(200.0f, top.top, 0.01f);
    const widgets_test::Box bottom = DrawBox(4);
    EXPECT_NEAR(100.0f, bottom.bottom, 0.01f);
    EXPECT_NEAR(120.0f, bottom.top, 0.01f);
}

}  // namespace
}  // namespace animated_widgets_test
