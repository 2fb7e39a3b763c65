// The container: input entries, the capture flag, frames, key and wheel messages, posted messages.

#include "controls/FixedChildrenListControl.h"
#include "tests/controls/ControlTestSupport.h"

using namespace controls_test;
using testing_support::LogCapture;

namespace {

class ContainerTest : public ControlsFixture {
protected:
    // "front" (10, 10, 50 x 50) lies on top of "back" (0, 0, 100 x 100).
    void SetUp() override {
        ControlsFixture::SetUp();
        _tree = Build(TreeXml(ListXml(RecorderXml("front", 10, 10, 50, 50) + RecorderXml("back", 0, 0, 100, 100))));
        ClearTrace();
    }
    void TearDown() override {
        _tree = Tree();
        ControlsFixture::TearDown();
    }

    ControlContainer& C() { return *_tree.container; }
    Recorder& Child(int i) {
        auto list = C().GetRoot().Cast<FixedChildrenListControl>();
        return dynamic_cast<Recorder&>(*list->GetChildren()[i].Get());
    }
    Recorder& Front() { return Child(0); }
    Recorder& Back() { return Child(1); }

    Tree _tree;
};

using Lines = std::vector<std::string>;

TEST_F(ContainerTest, ClickSequenceWithCapture) {
    LogCapture log;
    C().MouseMove(20, 20);
    EXPECT_EQ(Trace(), (Lines{"front move 20,20 --", "back move 20,20 -H"}));

    ClearTrace();
    C().MouseDown(20, 20);
    EXPECT_EQ(Trace(), (Lines{"front move 20,20 --", "back move 20,20 -H", "front down --", "back down C-",
                              "front move 20,20 C-", "back move 20,20 C-"}));
    EXPECT_TRUE(C().IsMouseCaptured());
    EXPECT_TRUE(C().IsLeftButtonDown());

    // Off the button and back: the holder confirms every move, nobody hovers.
    ClearTrace();
    C().MouseMove(200, 200);
    C().MouseMove(20, 20);
    EXPECT_EQ(Trace(), (Lines{"front move 200,200 C-", "back move 200,200 C-", "front move 20,20 C-",
                              "back move 20,20 C-"}));
    EXPECT_TRUE(C().IsMouseCaptured());

    ClearTrace();
    C().MouseUp(20, 20);
    EXPECT_EQ(Trace(), (Lines{"front move 20,20 C-", "back move 20,20 C-", "front up C-", "front click", "back up --",
                              "front move 20,20 --", "back move 20,20 -H"}));
    EXPECT_FALSE(C().IsMouseCaptured());
    EXPECT_FALSE(C().IsLeftButtonDown());

    ClearTrace();
    C().MouseMove(30, 30);
    EXPECT_EQ(Trace(), (Lines{"front move 30,30 --", "back move 30,30 -H"}));
    EXPECT_EQ(log.ErrorCount(), 0);
}

TEST_F(ContainerTest, ReleaseAwayFromTheButtonIsNoClick) {
    C().MouseMove(20, 20);
    C().MouseDown(20, 20);
    ClearTrace();
    C().MouseUp(80, 80);
    EXPECT_EQ(Trace(), (Lines{"front move 80,80 C-", "back move 80,80 C-", "front up C-", "back up --",
                              "front move 80,80 --", "back move 80,80 --"}));
    EXPECT_FALSE(C().IsMouseCaptured());
}

TEST_F(ContainerTest, ReleaseWithoutPressOnlyMoves) {
    C().MouseUp(20, 20);
    EXPECT_EQ(Trace(), (Lines{"front move 20,20 --", "back move 20,20 -H"}));
}

TEST_F(ContainerTest, SecondPressWhileDownIsDroppedAfterTheMove) {
    C().MouseDown(20, 20);
    ClearTrace();
    C().MouseDown(25, 25);
    EXPECT_EQ(Trace(), (Lines{"front move 25,25 C-", "back move 25,25 C-"}));
}

TEST_F(ContainerTest, UnconfirmedCaptureIsDropped) {
    C().MouseDown(20, 20);
    ASSERT_TRUE(C().IsMouseCaptured());
    Front().confirms = false;  // as if the holder had left the tree
    C().MouseMove(21, 21);
    EXPECT_FALSE(C().IsMouseCaptured());
    ClearTrace();
    C().MouseUp(21, 21);
    EXPECT_EQ(Trace(), (Lines{"front move 21,21 --", "back move 21,21 -H", "front up --", "back up --",
                              "front move 21,21 --", "back move 21,21 -H"}));
}

TEST_F(ContainerTest, StaleCaptureDoesNotSwallowTheNextPress) {
    // "back" keeps the capture past its release, then stops confirming.
    C().MouseDown(80, 80);
    Back().releases = false;
    C().MouseUp(80, 80);
    ASSERT_TRUE(C().IsMouseCaptured());
    Back().confirms = false;
    ClearTrace();
    // The press's own move drops the capture; the press itself reaches the tree uncaptured.
    C().MouseDown(20, 20);
    EXPECT_EQ(Trace(), (Lines{"front move 20,20 C-", "back move 20,20 C-", "front down --", "back down C-",
                              "front move 20,20 C-", "back move 20,20 C-"}));
    EXPECT_TRUE(Front().holdsCapture());
    C().MouseUp(20, 20);
    EXPECT_NE(std::find(Trace().begin(), Trace().end(), "front click"), Trace().end());
}

TEST_F(ContainerTest, DoubleClickArrivesAsAPress) {
    C().MouseDoubleClick(20, 20);
    EXPECT_EQ(Trace()[2], "front double --");
    EXPECT_TRUE(C().IsMouseCaptured());
}

TEST_F(ContainerTest, RightButtonsUseTheStoredPositionWithoutMoves) {
    C().MouseMove(20, 20);
    ClearTrace();
    C().RightButtonDown(500, 500);
    C().RightButtonUp(500, 500);
    C().RightButtonDouble(500, 500);
    EXPECT_EQ(Trace(), (Lines{"front rdown 20,20 --", "back rdown 20,20 -H", "front rup 20,20 --",
                              "back rup 20,20 -H", "front rdouble 20,20 --", "back rdouble 20,20 -H"}));
}

TEST_F(ContainerTest, KeyPressAndWheelMessages) {
    C().MouseMove(20, 20);
    struct Case {
        Message message;
        std::string seen;  // what "back" records; empty when nothing is dispatched
        std::string check;
    };
    const std::vector<Case> cases = {
        {Message("KeyPress", "-13"), "back key 13 20,20 -H", ""},
        {Message("KeyPress", "65"), "back char 65 20,20 -H", ""},
        {Message("KeyPress", "0"), "back char 0 20,20 -H", ""},
        {Message("KeyPress", "-255"), "back key 255 20,20 -H", ""},
        {Message("KeyPress", "-256"), "back key 256 20,20 -H", "1 <= code && code <= 255"},
        {Message("KeyPress", "256"), "back char 256 20,20 -H", "0 <= code && code <= 255"},
        {Message("MouseWheel", "true"), "back wheel away 20,20 -H", ""},
        {Message("MouseWheel", "false"), "back wheel toward 20,20 -H", ""},
        {Message("Other", "1"), "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.GetName() + " " + c.message.GetParameter());
        ClearTrace();
        LogCapture log;
        C().AcceptMessage(c.message);
        if (c.seen.empty()) {
            EXPECT_TRUE(Trace().empty());
        } else {
            ASSERT_EQ(Trace().size(), 2u);
            EXPECT_EQ(Trace()[1], c.seen);
        }
        EXPECT_EQ(log.ErrorCount(), c.check.empty() ? 0 : 1);
        if (!c.check.empty()) {
            EXPECT_TRUE(log.Contains(c.check));
        }
    }
}

TEST_F(ContainerTest, KeyWhileCapturedNeedsConfirmation) {
    C().MouseDown(20, 20);
    ClearTrace();
    C().AcceptMessage(Message("KeyPress", "-32"));
    EXPECT_EQ(Trace()[0], "front key 32 20,20 C-");
    EXPECT_TRUE(C().IsMouseCaptured());
    Front().confirms = false;
    C().AcceptMessage(Message("KeyPress", "-32"));
    EXPECT_FALSE(C().IsMouseCaptured());
}

TEST_F(ContainerTest, UpdateClampsTheStep) {
    struct Case {
        float dt;
        std::string seen;
        int errors;
    };
    const std::vector<Case> cases = {{2.5f, "front update 1.000000", 0},
                                     {1.0f, "front update 1.000000", 0},
                                     {0.25f, "front update 0.250000", 0},
                                     {0.0f, "front update 0.000000", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dt);
        ClearTrace();
        LogCapture log;
        C().Update(c.dt);
        EXPECT_EQ(Trace(), (Lines{c.seen, "back" + c.seen.substr(5)}));
        EXPECT_EQ(log.ErrorCount(), c.errors);
        if (c.errors) {
            EXPECT_TRUE(log.Contains("dt > 0"));
        }
    }
}

TEST_F(ContainerTest, DrawMovesAtTheLastPositionThenDrawsBackToFront) {
    C().MouseMove(20, 20);
    ClearTrace();
    C().Draw();
    EXPECT_EQ(Trace(), (Lines{"front move 20,20 --", "back move 20,20 -H", "back draw", "front draw"}));
}

TEST_F(ContainerTest, PostedMessageArrivesAfterTheDispatch) {
    ObjectSmartPointer<RecordingReceiver> screen(new RecordingReceiver("screen"));
    Front().onClick = [] { SendMessage("post:screen", "next"); };
    C().MouseDown(20, 20);
    ClearTrace();
    C().MouseUp(20, 20);
    ASSERT_FALSE(Trace().empty());
    EXPECT_EQ(Trace().back(), "screen < next");
    EXPECT_EQ(Trace()[Trace().size() - 2], "back move 20,20 -H");
}

TEST_F(ContainerTest, ReenteringIsReportedAndCarriedOut) {
    Front().onClick = [this] { C().MouseMove(1, 1); };
    C().MouseDown(20, 20);
    LogCapture log;
    ClearTrace();
    C().MouseUp(20, 20);
    EXPECT_TRUE(log.Contains("!_isControlFlowInside"));
    EXPECT_EQ(log.ErrorCount(), 1);
    EXPECT_NE(std::find(Trace().begin(), Trace().end(), "front move 1,1 C-"), Trace().end());
    // The guard is whole again afterwards.
    LogCapture after;
    C().MouseMove(2, 2);
    EXPECT_EQ(after.ErrorCount(), 0);
}

TEST_F(ContainerTest, CursorFollowsTheControlUnderThePointer) {
    std::vector<CursorShape> shapes;
    EventCursor::Connect([&shapes](CursorShape s) { shapes.push_back(s); });
    C().MouseMove(20, 20);
    C().MouseMove(500, 500);
    EventCursor::Connect(EventCursor::Setter());
    EXPECT_EQ(shapes, (std::vector<CursorShape>{CursorShape::Normal, CursorShape::Active, CursorShape::Normal}));
}

}  // namespace
