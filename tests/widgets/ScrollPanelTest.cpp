// The scroll panels: gliding to checkpoints, a second click during a glide, the end reports to
// buttons and dispatcher, the wheel, speed steps, per-player state and stored positions.
#include <gtest/gtest.h>

#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "tests/core/CheckReports.h"
#include "tests/widgets/ListWidgetTestSupport.h"
#include "widgets/ScrollPanelControls.h"

namespace list_widgets_test {
namespace {

using pictures_test::Listener;
using testing_support::LogCapture;

const std::uint32_t OPAQUE = 0xFF3080C0u;

std::string Panel(const std::string& kind, int base, int difference, int amount, const std::string& extra = "",
                  const std::string& children = "", int at = 0) {
    const std::string pos = kind == "V" ? Pos(7, at) : Pos(at, 7);
    return "<" + kind + "ScrollPanelControl speed='100' storageMode='object'" + extra + ">" + pos +
           "<messageReceiver name='panel'/><checkpoints base='" + std::to_string(base) + "' difference='" +
           std::to_string(difference) + "' amount='" + std::to_string(amount) + "'/><children>" + children +
           "</children></" + kind + "ScrollPanelControl>";
}

class ScrollPanelTest : public ListWidgetTest {
protected:
    void SetUp() override {
        ListWidgetTest::SetUp();
        for (const char* id : {"n", "a", "p", "d"}) WritePixels(std::string(id) + ".png", 40, 40, [](int, int) { return OPAQUE; });
        LoadTextures({"n", "a", "p", "d"});
    }
    ObjectWeakPointer<CommonScrollPanelControl> P() { return Only<CommonScrollPanelControl>(); }
    void Click(const std::string& side) {
        SendMessage("panel", side + " pressed");
        SendMessage("panel", side + " not pressed");
    }
    // Positions after each of n frames of dt.
    std::vector<int> Run(int n, float dt = 0.1f) {
        std::vector<int> positions;
        for (int k = 0; k < n; ++k) {
            Frame(dt);
            positions.push_back(P()->GetPos());
        }
        return positions;
    }
};

TEST_F(ScrollPanelTest, AClickGlidesToTheNextCheckpointAndRestsThere) {
    // Either sign of the difference gives the checkpoints 0 .. 150.
    for (const std::string& checkpoints : {std::string("0 30"), std::string("150 -30")}) {
        SCOPED_TRACE(checkpoints);
        LogCapture log;
        Listener minButton("panel min button"), maxButton("panel max button");
        const int base = checkpoints == "0 30" ? 0 : 150;
        BuildOne(Panel("V", base, base == 0 ? 30 : -30, 6));
        EXPECT_EQ((std::set<int>{0, 30, 60, 90, 120, 150}), P()->GetCheckpoints());
        Click("min");
        EXPECT_EQ((std::vector<int>{10, 20, 30, 30, 30}), Run(5));
        EXPECT_EQ(30, P()->GetInParentPos().y);
        EXPECT_EQ(std::vector<std::string>{"position not minimal"}, maxButton.messages);
        EXPECT_EQ(std::vector<std::string>{"position not maximal"}, minButton.messages);
        Click("max");
        EXPECT_EQ((std::vector<int>{20, 10, 0, 0}), Run(4));
        EXPECT_EQ((std::vector<std::string>{"position not minimal", "position minimal"}), maxButton.messages);
        EXPECT_EQ(0, log.ErrorCount()) << log.Text();
        container = nullptr;
    }
}

TEST_F(ScrollPanelTest, ASecondClickDuringTheGlideStopsOnTheSecondCheckpoint) {
    Listener minButton("panel min button"), maxButton("panel max button");
    BuildOne(Panel("V", 0, 30, 6));
    Click("min");
    Run(1);
    Click("min");
    EXPECT_EQ((std::vector<int>{20, 30, 40, 50, 60, 60}), Run(6));
    EXPECT_EQ(0, P()->GetCheckpointsToGo());
}

TEST_F(ScrollPanelTest, HoldingStopsAtTheEndAndTheButtonsGreyOutAndComeBack) {
    LogCapture log;
    const std::string buttons =
        "<MinScrollButtonControl>" + Pos(0, 0) +
        "<textures normalId='n' activeId='a' pressedId='p' disabledId='d'/><messageReceiver name='panel min button'/>"
        "</MinScrollButtonControl><MaxScrollButtonControl>" + Pos(100, 0) +
        "<textures normalId='n' activeId='a' pressedId='p' disabledId='d'/><messageReceiver name='panel max button'/>"
        "</MaxScrollButtonControl>";
    Build("<FixedChildrenListControl>" + Pos(0, 0) + "<children>" + Panel("H", 0, 30, 3, "", "", 300) + buttons +
          "</children></FixedChildrenListControl>");
    // The start position lies outside the checkpoints: reported.
    EXPECT_TRUE(check_reports::Reported(log, "*_checkpoints.begin() <= defaultPos && defaultPos <= *_checkpoints.rbegin()"));
    container = nullptr;
    LogCapture clean;
    Build("<FixedChildrenListControl>" + Pos(0, 0) + "<children>" + Panel("H", 0, 30, 3) + buttons +
          "</children></FixedChildrenListControl>");
    auto list = container->GetRoot().Cast<FixedChildrenListControl>();
    auto panel = list->GetChildren()[0].Cast<CommonScrollPanelControl>();
    auto minButton = list->GetChildren()[1].Cast<ScrollButtonControl>();
    auto maxButton = list->GetChildren()[2].Cast<ScrollButtonControl>();
    Move(500, 500);
    Frame(0.1f);
    EXPECT_EQ(ButtonControl::DISABLED_STATE, maxButton->GetState());
    EXPECT_EQ(ButtonControl::NORMAL_STATE, minButton->GetState());
    // Holding the min button: the mouse presses it and stays.
    Move(10, 10);
    Down(10, 10);
    EXPECT_EQ(ButtonControl::PRESSED_STATE, minButton->GetState());
    for (int k = 0; k < 10; ++k) Frame(0.1f);
    EXPECT_EQ(60, panel->GetPos());
    EXPECT_EQ(60, panel->GetInParentPos().x);
    EXPECT_EQ(ButtonControl::DISABLED_STATE, minButton->GetState());
    EXPECT_EQ(ButtonControl::NORMAL_STATE, maxButton->GetState());
    Up(10, 10);
    Move(300, 300);
    Frame(0.1f);
    SendMessage("panel", "max pressed");
    SendMessage("panel", "max not pressed");
    for (int k = 0; k < 4; ++k) Frame(0.1f);
    EXPECT_EQ(30, panel->GetPos());
    EXPECT_EQ(ButtonControl::NORMAL_STATE, minButton->GetState());
    EXPECT_EQ(0, clean.ErrorCount()) << clean.Text();
}

TEST_F(ScrollPanelTest, TheDispatcherShowsTheButtonsOnlyWhileThePanelCanMove) {
    LogCapture log;
    AddTemplate("shown buttons", "<ButtonControl>" + Pos(0, 0) + "<textures normalId='n' activeId='a' pressedId='p'/></ButtonControl>");
    AddTemplate("hidden buttons", "<FixedChildrenListControl>" + Pos(0, 0) + "<children/></FixedChildrenListControl>");
    const std::string dispatcher = "<ScrollDispatcherControl>" + Pos(0, 0) +
                                   "<messageReceiver name='panel button dispatcher'/><templates normal='shown buttons' "
                                   "hidden='hidden buttons'/></ScrollDispatcherControl>";
    for (int amount : {1, 3}) {
        SCOPED_TRACE(amount);
        Listener minButton("panel min button"), maxButton("panel max button");
        Build("<FixedChildrenListControl>" + Pos(0, 0) + "<children>" +
              Panel("V", 0, 30, amount, " isButtonDispatcher='true'") + dispatcher +
              "</children></FixedChildrenListControl>");
        auto list = container->GetRoot().Cast<FixedChildrenListControl>();
        auto shown = list->GetChildren()[1].Cast<ScrollDispatcherControl>();
        Click("min");
        Run(1);
        EXPECT_EQ(amount > 1, shown->IsShown());
        if (amount > 1) {
            EXPECT_EQ(std::vector<std::string>{"position not minimal"}, maxButton.messages);
            EXPECT_EQ(std::vector<std::string>{"position not maximal"}, minButton.messages);
        } else {
            EXPECT_TRUE(maxButton.messages.empty());
        }
        container = nullptr;
    }
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(ScrollPanelTest, OneWheelNotchOverTheContentMovesOneCheckpoint) {
    LogCapture log;
    Listener minButton("panel min button"), maxButton("panel max button");
    const std::string content = "<ButtonControl>" + Pos(0, 0) + "<textures normalId='n' activeId='a' pressedId='p'/></ButtonControl>";
    BuildOne(Panel("V", 0, 30, 6, "", content));
    Move(400, 400);  // over nothing
    Wheel(false);
    EXPECT_EQ((std::vector<int>{0, 0}), Run(2));
    Move(20, 20);
    Wheel(false);
    EXPECT_EQ((std::vector<int>{10, 20, 30, 30}), Run(4));
    Move(20, 40);
    Wheel(true);
    EXPECT_EQ((std::vector<int>{20, 10, 0}), Run(3));
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(ScrollPanelTest, SpeedStepsFollowTheHoldingTimeAndTheGlideRunsAtTheBaseSpeed) {
    LogCapture log;
    Listener minButton("panel min button"), maxButton("panel max button");
    AddTemplate("speeds", "<speeds><pair time='1.0' speed='200'/></speeds>");
    BuildOne(Panel("V", 0, 100, 10, " speedsTemplate='speeds'"));
    SendMessage("panel", "min pressed");
    Run(9);
    EXPECT_EQ(90, P()->GetPos());
    EXPECT_EQ((std::vector<int>{110, 130}), Run(2));
    SendMessage("panel", "min not pressed");
    EXPECT_EQ((std::vector<int>{140, 150}), Run(2));
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(ScrollPanelTest, BadSpeedStepsAreReportedAndLeftOut) {
    LogCapture log;
    Listener minButton("panel min button"), maxButton("panel max button");
    AddTemplate("slower", "<speeds><pair time='1.0' speed='50'/></speeds>");
    BuildOne(Panel("V", 0, 100, 10, " speedsTemplate='slower'"));
    EXPECT_TRUE(check_reports::Reported(log, "speed > prevSpeed"));
    SendMessage("panel", "min pressed");
    Run(20);
    EXPECT_EQ(200, P()->GetPos());
}

TEST_F(ScrollPanelTest, LocalModeKeepsPositionAndMotionPerPlayer) {
    LogCapture log;
    Listener minButton("panel min button"), maxButton("panel max button");
    const std::string local = "<VScrollPanelControl speed='100' storageMode='local'>" + Pos(7, 0) +
                              "<messageReceiver name='panel'/><checkpoints base='0' difference='30' amount='6'/>"
                              "<children/></VScrollPanelControl>";
    BuildOne(local);
    Click("min");
    Run(4);
    EXPECT_EQ(30, PermanentStorage::GetLocalInt("panel pos"));
    // Player q leaves mid-glide: the motion goes on when he comes back.
    PermanentStorage::SetActivePlayer("q");
    Run(1);
    EXPECT_EQ(0, P()->GetPos());
    Click("min");
    Run(1);
    EXPECT_EQ(10, P()->GetPos());
    PermanentStorage::SetActivePlayer("p");
    EXPECT_EQ((std::vector<int>{30}), Run(1));
    PermanentStorage::SetActivePlayer("q");
    EXPECT_EQ((std::vector<int>{20, 30, 30}), Run(3));
    EXPECT_EQ(1, PermanentStorage::GetLocalInt("panel previous direction"));
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(ScrollPanelTest, AStoredPositionOutsideTheCheckpointsIsBroughtBack) {
    Listener minButton("panel min button"), maxButton("panel max button");
    const std::string local = "<VScrollPanelControl speed='100' storageMode='local'>" + Pos(7, 0) +
                              "<messageReceiver name='panel'/><checkpoints base='0' difference='30' amount='3'/>"
                              "<children/></VScrollPanelControl>";
    PermanentStorage::SetLocalInt("panel pos", 150);  // the list shrank
    {
        LogCapture log;
        BuildOne(local);
        EXPECT_EQ((std::vector<int>{60}), Run(1));
        EXPECT_EQ(60, PermanentStorage::GetLocalInt("panel pos"));
        EXPECT_EQ(0, log.ErrorCount()) << log.Text();
    }
    container = nullptr;
    PermanentStorage::SetLocalInt("panel pos", -40);
    LogCapture log;
    BuildOne(local);
    EXPECT_EQ((std::vector<int>{0}), Run(1));
    EXPECT_TRUE(check_reports::Reported(log, "*_checkpoints.begin() <= pos && pos <= *_checkpoints.rbegin()"));
}

TEST_F(ScrollPanelTest, TheVerticalPanelAnswersGetYAndSetYMovesOnlyTheControl) {
    Listener minButton("panel min button"), maxButton("panel max button");
    BuildOne(Panel("V", 0, 30, 6));
    Click("min");
    Run(3);
    EXPECT_EQ("30", SendMessageReply("panel", "get Y"));
    SendMessage("panel", "set Y 31");
    EXPECT_EQ("31", SendMessageReply("panel", "get Y"));
    EXPECT_EQ(30, P()->GetPos());
    Run(1);
    EXPECT_EQ("30", SendMessageReply("panel", "get Y"));
}

TEST_F(ScrollPanelTest, AStoredTimeAtTheSpeedIsReported) {
    LogCapture log;
    Listener minButton("panel min button"), maxButton("panel max button");
    PermanentStorage::SetLocalFloat("panel time", 100.0f);
    BuildOne("<VScrollPanelControl speed='100' storageMode='local'>" + Pos(7, 0) +
             "<messageReceiver name='panel'/><checkpoints base='0' difference='30' amount='3'/>"
             "<children/></VScrollPanelControl>");
    EXPECT_TRUE(check_reports::Reported(log, "0.0f <= _time && _time < _speed"));
}

}  // namespace
}  // namespace list_widgets_test
