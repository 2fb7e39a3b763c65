// Modal dialogs: fade timing and the veil, input taken while shown, clicks swallowed while
// hiding, keys kept from the controls behind, the state query and failed commands.

#include "controls/ModalDialogControl.h"
#include "core/Message.h"
#include "tests/controls/FlowTestSupport.h"

using testing_support::LogCapture;

namespace flow_test {
namespace {

using controls_test::RecordingReceiver;

class ModalDialogTest : public FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        AddTemplate("dialog", "<FixedChildrenListControl>" + Pos(200, 200) + "<children>" +
                                  "<Recorder name=\"[button]\" width=\"50\" height=\"30\">" + Pos(100, 100) +
                                  "</Recorder></children></FixedChildrenListControl>");
        AddTemplate("plain dialog", "<Recorder name=\"plain\" width=\"50\" height=\"30\">" + Pos(0, 0) + "</Recorder>");
    }
    // The dialog lies over a recorder that covers the screen and a key listener for Escape.
    void Screen(const std::string& starting, const std::string& hiding) {
        Build("<FixedChildrenListControl>" + Pos(0, 0) + "<children><ModalDialogControl><times starting=\"" +
              starting + "\" hiding=\"" + hiding + "\"/>" + Pos(0, 0) + Receiver("dialog") +
              "</ModalDialogControl>" + RecorderXml("behind", 0, 0, 800, 600) +
              "<KeyListeningControl>" + Pos(0, 0) +
              "<keys><key value=\"VK_ESCAPE\" receiver=\"R\" message=\"escape\"/></keys></KeyListeningControl>" +
              "</children></FixedChildrenListControl>");
    }
    void Open(const std::string& button = "ok") {
        SendMessage("dialog", "template dialog");
        SendMessage("dialog", "defineText [button] " + button);
        SendMessage("dialog", "create instance");
    }
    ObjectWeakPointer<ModalDialogControl> Dialog() {
        return container->GetRoot().Cast<FixedChildrenListControl>()->GetChildren()[0].Cast<ModalDialogControl>();
    }
    std::string State() { return SendMessageReply("dialog", "get state"); }
    bool Saw(const std::string& line) { return std::find(Trace().begin(), Trace().end(), line) != Trace().end(); }
    void Escape() { container->AcceptMessage(Message("KeyPress", "-27")); }
};

TEST_F(ModalDialogTest, HideWhileStartingFadesOutFromTheOpacityReached) {
    LogCapture log;
    Screen("0.5", "1.0");
    Open();
    EXPECT_EQ(State(), "starting");
    container->Update(0.2f);
    SendMessage("dialog", "hide");
    EXPECT_EQ(State(), "hiding");
    EXPECT_NEAR(Dialog()->GetTime(), 0.6f, 1e-5f);
    recording->draws.clear();
    container->Draw();
    const std::vector<int> veils = VeilAlphas();
    ASSERT_EQ(veils.size(), 1u);
    EXPECT_NEAR(veils[0], 40, 1);
    container->Update(0.39f);
    EXPECT_EQ(State(), "hiding");
    EXPECT_TRUE(Dialog()->GetRootControl() != NULL);
    container->Update(0.02f);
    EXPECT_EQ(State(), "invisible");
    EXPECT_TRUE(Dialog()->GetRootControl() == NULL);
    EXPECT_TRUE(Saw("ok gone"));
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(ModalDialogTest, WithoutAFadeInTheFirstUpdateShowsTheDialogFully) {
    Screen("0.0", "0.5");
    Open();
    container->Update(0.01f);
    EXPECT_EQ(State(), "showing");
    recording->draws.clear();
    container->Draw();
    EXPECT_EQ(VeilAlphas(), (std::vector<int>{100}));
}

TEST_F(ModalDialogTest, WhileShownTheDialogTakesEveryClickAndKey) {
    LogCapture log;
    RecordingReceiver r("R");
    Screen("0.0", "0.0");
    Escape();
    EXPECT_TRUE(Saw("R < escape"));
    Open();
    container->Update(0.1f);
    Trace().clear();

    // Beside the button: the dialog captures the press itself and releases it on the way up.
    Click(20, 20);
    EXPECT_FALSE(Saw("behind click"));
    EXPECT_EQ(Dialog()->GetMouseState(), ModalDialogControl::MOUSE_FREE);
    EXPECT_FALSE(container->IsMouseCaptured());
    Escape();
    EXPECT_FALSE(Saw("R < escape"));

    // The button's click hides the dialog; without a fade-out it is gone at once.
    Dialog()->GetRootControl().Cast<FixedChildrenListControl>()->GetChildren()[0].Cast<controls_test::Recorder>()->onClick =
        [] { SendMessage("dialog", "hide"); };
    Click(320, 310);
    EXPECT_TRUE(Saw("ok click"));
    EXPECT_EQ(State(), "invisible");
    EXPECT_FALSE(container->IsMouseCaptured());
    EXPECT_FALSE(Saw("behind click"));

    Trace().clear();
    Click(20, 20);
    EXPECT_TRUE(Saw("behind click"));
    Escape();
    EXPECT_TRUE(Saw("R < escape"));
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(ModalDialogTest, AClickDuringTheFadeOutIsSwallowed) {
    LogCapture log;
    Screen("0.0", "1.0");
    Open();
    container->Update(0.1f);
    SendMessage("dialog", "hide");
    Trace().clear();
    Click(320, 310);
    EXPECT_FALSE(Saw("ok down --"));
    EXPECT_FALSE(Saw("ok click"));
    EXPECT_FALSE(Saw("behind click"));
    EXPECT_FALSE(container->IsMouseCaptured());
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(ModalDialogTest, CommandsOutOfStateAreReportedAndChangeNothing) {
    Screen("0.5", "0.5");
    {
        LogCapture log;
        SendMessage("dialog", "hide");
        EXPECT_TRUE(log.Contains("false"));
        EXPECT_EQ(State(), "invisible");
    }
    SendMessage("dialog", "instantiate plain dialog");
    EXPECT_EQ(State(), "starting");
    const ObjectWeakPointer<Control> first = Dialog()->GetRootControl();
    {
        LogCapture log;
        Open("second");
        EXPECT_TRUE(log.Contains("_showingState == STATE_INVISIBLE"));
        EXPECT_EQ(Dialog()->GetRootControl().AsObjectAddress(), first.AsObjectAddress());
        EXPECT_FALSE(Saw("second made"));
    }
    // The refused copy stays pending until a dialog can be made from it.
    SendMessage("dialog", "hide");
    container->Update(0.6f);
    SendMessage("dialog", "create instance");
    EXPECT_EQ(State(), "starting");
    EXPECT_TRUE(Saw("second made"));
}

}  // namespace
}  // namespace flow_test
