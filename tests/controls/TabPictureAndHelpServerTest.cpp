// One tab's picture and input (rear and lit under the pointer, the presses it takes, moves while
// another control holds the mouse), the tab order check, and the help server's wait and fade-in.
#include <gtest/gtest.h>

#include <list>
#include <string>
#include <vector>

#include "content/CommonDefinitions.h"
#include "content/TemplateLib.h"
#include "controls/ContextHelpServerControl.h"
#include "controls/FixedChildrenListControl.h"
#include "controls/OneTabControl.h"
#include "controls/TabOrder.h"
#include "core/XmlRead.h"
#include "tests/controls/ControlTestSupport.h"
#include "tests/controls/PictureTestSupport.h"
#include "tests/core/CheckReports.h"
#include "tests/support/TestSupport.h"

namespace {

using controls_test::ParseElement;
using controls_test::Recorder;
using controls_test::RecorderXml;
using controls_test::Trace;
using pictures_test::PictureTest;
using pictures_test::Quad;
using testing_support::LogCapture;

// The looks are told apart by their widths.
const int FRONT_WIDTH = 40;
const int REAR_WIDTH = 41;
const int ACTIVE_WIDTH = 42;
const int HELP_WIDTH = 30;

class TabPictureTest : public PictureTest {
protected:
    void SetUp() override {
        PictureTest::SetUp();
        if (!ControlFactory::IsControlRegistered("OneTabControl")) {
            ControlFactory::RegisterControl("OneTabControl", ControlFactory::Make<OneTabControl>());
        }
        if (!ControlFactory::IsControlRegistered("Recorder")) {
            ControlFactory::RegisterControl("Recorder", ControlFactory::Make<Recorder>());
        }
        WritePicture("front.png", FRONT_WIDTH, 20, FRONT_WIDTH);
        WritePicture("rear.png", REAR_WIDTH, 20, REAR_WIDTH);
        WritePicture("active.png", ACTIVE_WIDTH, 20, ACTIVE_WIDTH);
        WritePicture("help.png", HELP_WIDTH, 10, HELP_WIDTH);
        LoadResources("<Textures upload='refcount' storage='memory-keeping'><texture id='front' path='front.png'/>"
                      "<texture id='rear' path='rear.png'/><texture id='active' path='active.png'/>"
                      "<texture id='help' path='help.png'/></Textures>");
        Trace().clear();
    }
    void TearDown() override {
        container = nullptr;
        Trace().clear();
        PictureTest::TearDown();
    }

    // A control that takes presses over (300, 300), the tab at (100, 100), and a control behind
    // both that sees what is left of every event.
    void BuildTab(const std::string& activeId = "active") {
        Build(controls_test::ListXml(RecorderXml("other", 300, 300, 50, 50) +
                   "<OneTabControl><position x='100' y='100'/><textures frontId='front' rearId='rear' activeId='" +
                   activeId + "'/><children/></OneTabControl>" + RecorderXml("behind", 0, 0, 800, 600)));
    }
    ObjectWeakPointer<OneTabControl> Tab() {
        return container->GetRoot().Cast<FixedChildrenListControl>()->GetChildren()[1].Cast<OneTabControl>();
    }
    // The last event of the kind ("move", "down") that the control behind saw, with its flags.
    std::string Behind(const std::string& kind = "move") {
        const std::string head = "behind " + kind + " ";
        for (auto i = Trace().rbegin(); i != Trace().rend(); ++i) {
            if (i->compare(0, head.size(), head) == 0) return i->substr(7);
        }
        return "";
    }
    int DrawnWidth() {
        for (const Quad& q : DrawOnly()) {
            if (q.x == 100 && q.y == 100) return q.width;
        }
        return 0;
    }
};

TEST_F(TabPictureTest, ARearTabLightsUnderThePointerAndThePressesItTakes) {
    LogCapture log;
    BuildTab();
    EXPECT_EQ(OneTabControl::REAR_STATE, Tab()->GetState());
    EXPECT_EQ(REAR_WIDTH, DrawnWidth());
    Move(110, 110);
    EXPECT_EQ(OneTabControl::ACTIVE_STATE, Tab()->GetState());
    EXPECT_EQ("move 110,110 -H", Behind());
    EXPECT_EQ(ACTIVE_WIDTH, DrawnWidth());
    Move(500, 500);
    EXPECT_EQ(OneTabControl::REAR_STATE, Tab()->GetState());
    // A press on the lit tab is taken; the release gives it back without anything else.
    Move(110, 110);
    Down(110, 110);
    EXPECT_EQ("down C-", Behind("down"));
    Move(111, 110);
    EXPECT_EQ("move 111,110 C-", Behind());
    Up(111, 110);
    Down(500, 500);
    EXPECT_EQ("down --", Behind("down"));
    Up(500, 500);
    // In front: a press over its picture is taken, a move over it handled without a lit look.
    Tab()->SetState(OneTabControl::FRONT_STATE);
    Move(110, 110);
    EXPECT_EQ(OneTabControl::FRONT_STATE, Tab()->GetState());
    EXPECT_EQ("move 110,110 -H", Behind());
    EXPECT_EQ(FRONT_WIDTH, DrawnWidth());
    Down(110, 110);
    EXPECT_EQ("down C-", Behind("down"));
    Up(110, 110);
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

// Presses the pointer's moves never lead to, made directly: a rear tab pressed over its picture
// (the pointer lights it first) is reported and not taken; a lit tab pressed away from its picture
// is taken and reported.
TEST_F(TabPictureTest, PressesAtOddMomentsAreReported) {
    BuildTab();
    {
        LogCapture log;
        Move(110, 110);
        Tab()->SetState(OneTabControl::REAR_STATE);
        const ObjectSmartPointer<MouseDownEvent> press(new MouseDownEvent(false));
        Tab()->OnMouseDown(press);
        EXPECT_FALSE(press->IsMouseCaptured());
        EXPECT_TRUE(check_reports::Reported(log, "!IsMouseInRearTexture()")) << log.Text();
    }
    {
        LogCapture log;
        Move(500, 500);
        Tab()->SetState(OneTabControl::ACTIVE_STATE);
        const ObjectSmartPointer<MouseDownEvent> press(new MouseDownEvent(false));
        Tab()->OnMouseDown(press);
        EXPECT_TRUE(press->IsMouseCaptured());
        EXPECT_TRUE(check_reports::Reported(log, "IsMouseInActiveTexture()")) << log.Text();
        const ObjectSmartPointer<MouseUpEvent> release(new MouseUpEvent(true));
        Tab()->OnMouseUp(release);
        EXPECT_FALSE(release->IsMouseCaptured());
        EXPECT_EQ(1, log.ErrorCount()) << log.Text();
    }
}

// Another control holds the mouse: a rear or front tab under the pointer marks the move handled and
// stays as it is; a tab still lit then is reported.
TEST_F(TabPictureTest, MovesWhileAnotherControlHoldsTheMouse) {
    BuildTab();
    LogCapture log;
    Move(310, 310);
    Down(310, 310);
    Move(110, 110);
    EXPECT_EQ("move 110,110 CH", Behind());
    EXPECT_EQ(OneTabControl::REAR_STATE, Tab()->GetState());
    Tab()->SetState(OneTabControl::FRONT_STATE);
    Move(111, 110);
    EXPECT_EQ("move 111,110 CH", Behind());
    Move(500, 500);
    EXPECT_EQ("move 500,500 C-", Behind());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
    Tab()->SetState(OneTabControl::ACTIVE_STATE);
    Move(110, 110);
    EXPECT_TRUE(check_reports::Reported(log, "false")) << log.Text();
    Up(110, 110);
}

TEST_F(TabPictureTest, ATabWithoutThePictureOfItsStateIsReportedOnceWhenDrawn) {
    BuildTab("missing");
    LogCapture log;
    DrawOnly();
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
    // Drawn at once: the tree's own drawing moves the pointer first, which would turn it rear.
    Tab()->SetState(OneTabControl::ACTIVE_STATE);
    Tab()->Draw();
    EXPECT_TRUE(check_reports::Reported(log, "currentTexture != NULL")) << log.Text();
    // Once, not on every frame.
    Tab()->Draw();
    EXPECT_EQ(1, log.ErrorCount()) << log.Text();
}

// A permutation of the tab indices; the default order has tab 0 in front.
TEST(TabOrderTest, AnOrderIsValidOnlyAsAPermutationAndTheDefaultAscends) {
    LogCapture log;
    const struct {
        std::list<int> order;
        int count;
        bool isValid;
    } cases[] = {
        {{0, 1, 2}, 3, true},  {{2, 0, 1}, 3, true},   {{0}, 1, true},        {{0, 0, 1}, 3, false},
        {{0, 2, 2}, 3, false}, {{2, 0, 0}, 3, false},  {{0, 1}, 3, false},    {{0, 1, 2, 0}, 3, false},
        {{1, 2, 3}, 3, false}, {{-1, 0, 1}, 3, false},
    };
    for (const auto& c : cases) {
        std::string text;
        for (int i : c.order) text += std::to_string(i) + " ";
        EXPECT_EQ(c.isValid, IsTabOrderValid(c.order, c.count)) << text << "of " << c.count;
    }
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
    EXPECT_EQ((std::list<int>{0, 1, 2}), DefaultTabOrder(3));
    EXPECT_FALSE(IsTabOrderValid(std::list<int>(), 0));
    EXPECT_TRUE(check_reports::Reported(log, "_tabCount > 0")) << log.Text();
}

// The help of a client under a resting pointer waits for its initial second, then fades in over
// a sixth of a second; a move of the pointer before that starts the wait again.
TEST_F(TabPictureTest, HelpWaitsForThePointerToRestThenFadesInOverASixthOfASecond) {
    LogCapture log;
    TemplateLib::AddTemplate(
        ParseElement("<StaticTextureControl><position x='600' y='400'/><texture textureId='help'/></StaticTextureControl>"),
        "help");
    const ObjectSmartPointer<HelpTimes> times(new HelpTimes(ParseElement("<times initial='1.0' reshow='0.5'/>")));
    Build("<ContextHelpServerControl><position x='0' y='0'/><children>" + RecorderXml("client", 100, 100, 50, 50) +
          "</children></ContextHelpServerControl>");
    const ObjectWeakPointer<ContextHelpServerControl> server = container->GetRoot().Cast<ContextHelpServerControl>();
    const ObjectWeakPointer<Recorder> client = server->GetChildren()[0].Cast<Recorder>();
    client->onMove = [&](ObjectWeakPointer<MouseMoveEvent> e) {
        if (client->IsOver(e->GetMousePos())) server->ShowHelp("help", client, times);
    };
    // The help's opacity after each frame of an eighth of a second; -1 while it is not drawn.
    auto frames = [&](int count, int x) {
        std::vector<int> alphas;
        for (int k = 0; k < count; ++k) {
            Move(x, 110);
            int alpha = -1;
            for (const Quad& q : Frame(0.125f)) {
                if (q.width == HELP_WIDTH) alpha = q.alpha;
            }
            alphas.push_back(alpha);
        }
        return alphas;
    };
    EXPECT_EQ((std::vector<int>{-1, -1, -1, -1}), frames(4, 110));
    EXPECT_EQ((std::vector<int>{-1, -1, -1, -1, -1, -1, -1}), frames(7, 111));
    // The eighth frame at rest: a second has passed; an eighth of a second into the fade-in is 3/4.
    EXPECT_EQ((std::vector<int>{191, 255, 255}), frames(3, 111));
    container = nullptr;
    TemplateLib::RemoveTemplate("help");
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

}  // namespace
