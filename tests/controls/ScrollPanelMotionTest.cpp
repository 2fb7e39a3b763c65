// The scroll panels' motion engine on a panel of its own: a click coasts one checkpoint, a release
// past a checkpoint coasts to the next, the other side's press cancels a glide, the speed table,
// the ends reported to the buttons, the wheel, and the motion state read back after a player change.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/TemplateLib.h"
#include "controls/CommonScrollPanelControl.h"
#include "controls/ControlContainer.h"
#include "controls/ControlFactory.h"
#include "core/PermanentStorage.h"
#include "tests/controls/ControlTestSupport.h"
#include "tests/core/CheckReports.h"
#include "tests/core/StorageFixture.h"
#include "tests/support/TestSupport.h"

namespace {

using controls_test::ParseElement;
using controls_test::RecordingReceiver;
using controls_test::Trace;
using testing_support::LogCapture;

// A panel that moves along y, like the vertical one.
class TestScrollPanel : public CommonScrollPanelControl {
public:
    TestScrollPanel(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
        : CommonScrollPanelControl(parent, xml) {
        CreatePosVariable(_position.y);
    }
    void SetPosition(int pos) override { _position.y = pos; }
};

std::string Panel(const std::string& more, int y = 0, const std::string& children = "",
                  const std::string& mode = "object") {
    return "<TestScrollPanel speed='400' storageMode='" + mode + "'" + more + "><position x='0' y='" +
           std::to_string(y) + "'/><messageReceiver name='panel'/><checkpoints base='0' difference='100' "
           "amount='3'/><children>" + children + "</children></TestScrollPanel>";
}

class ScrollPanelMotionTest : public StorageFixture {
protected:
    void SetUp() override {
        StorageFixture::SetUp();
        LoadEmpty("p");
        RegisterControlFrameworkClasses();
        if (!ControlFactory::IsControlRegistered("TestScrollPanel")) {
            ControlFactory::RegisterControl("TestScrollPanel", ControlFactory::Make<TestScrollPanel>());
        }
        if (!ControlFactory::IsControlRegistered("Recorder")) {
            ControlFactory::RegisterControl("Recorder", ControlFactory::Make<controls_test::Recorder>());
        }
        Trace().clear();
    }
    void TearDown() override {
        tree = Tree();
        ProcessPostedMessages();
        Trace().clear();
        StorageFixture::TearDown();
    }

    struct Tree {
        ObjectSmartPointer<XmlDocument> document;
        ObjectSmartPointer<ControlContainer> container;
    };
    void Build(const std::string& panel) {
        const std::string text = controls_test::TreeXml(panel);
        tree.document = ObjectSmartPointer<XmlDocument>(new XmlDocumentRead(text.data(), text.data() + text.size()));
        tree.container = ObjectSmartPointer<ControlContainer>(new ControlContainer(tree.document->GetRoot()));
    }
    ObjectWeakPointer<TestScrollPanel> P() { return tree.container->GetRoot().Cast<TestScrollPanel>(); }
    void Send(const std::string& text) { SendMessage("panel", text); }
    // Positions after each of the frames.
    std::vector<int> Frames(int count, float dt) {
        std::vector<int> positions;
        for (int k = 0; k < count; ++k) {
            tree.container->Update(dt);
            positions.push_back(P()->GetPos());
        }
        return positions;
    }

    Tree tree;
};

TEST_F(ScrollPanelMotionTest, AClickCoastsOneCheckpointAndTheEndsAreReportedOnChange) {
    LogCapture log;
    RecordingReceiver minButton("panel min button"), maxButton("panel max button");
    Build(Panel(""));
    Frames(1, 0.05f);
    EXPECT_EQ((std::vector<std::string>{"panel max button < position minimal", "panel min button < position not maximal"}),
              Trace());
    Trace().clear();
    Send("min pressed");
    Send("min not pressed");
    EXPECT_EQ((std::vector<int>{20, 40, 60, 80, 100, 100}), Frames(6, 0.05f));
    EXPECT_EQ(std::vector<std::string>{"panel max button < position not minimal"}, Trace());
    EXPECT_EQ(0, P()->GetCheckpointsToGo());

    // Held from 100 past 200's half and released at 160: the panel coasts on to 200, not back.
    Send("min pressed");
    Frames(3, 0.05f);
    EXPECT_EQ(160, P()->GetPos());
    Send("min not pressed");
    EXPECT_EQ((std::vector<int>{180, 200, 200}), Frames(3, 0.05f));
    // At the last checkpoint a press moves nothing; the min button was told once.
    Send("min pressed");
    EXPECT_EQ((std::vector<int>{200, 200}), Frames(2, 0.05f));
    Send("min not pressed");
    Frames(1, 0.05f);
    EXPECT_EQ(std::vector<std::string>{"panel min button < position maximal"},
              std::vector<std::string>(Trace().begin() + 1, Trace().end()));
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

// While one side glides on, holding the other turns the panel round at once; released, it comes
// to rest on the checkpoint it passed.
TEST_F(ScrollPanelMotionTest, TheOtherSidesPressCancelsAGlide) {
    const struct {
        const char* glide;
        const char* turn;
        std::vector<int> gliding;
        std::vector<int> turned;
    } cases[] = {{"min", "max", {120, 140}, {120, 100, 100}}, {"max", "min", {80, 60}, {80, 100, 100}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.glide);
        LogCapture log;
        RecordingReceiver minButton("panel min button"), maxButton("panel max button");
        Build(Panel("", 100));
        Send(c.glide + std::string(" pressed"));
        Send(c.glide + std::string(" not pressed"));
        EXPECT_EQ(c.gliding, Frames(2, 0.05f));
        Send(c.turn + std::string(" pressed"));
        EXPECT_EQ(0, P()->GetCheckpointsToGo());
        std::vector<int> turned = Frames(1, 0.05f);
        Send(c.turn + std::string(" not pressed"));
        for (int pos : Frames(2, 0.05f)) turned.push_back(pos);
        EXPECT_EQ(c.turned, turned);
        EXPECT_EQ(0, P()->GetCheckpointsToGo());
        EXPECT_EQ(0, log.ErrorCount()) << log.Text();
        tree = Tree();
    }
}

// Speed 400 at first, 800 after a second of holding; the coast after the release is at 400 again.
TEST_F(ScrollPanelMotionTest, TheSpeedTableAppliesToTheHoldingTimeOnly) {
    LogCapture log;
    TemplateLib::AddTemplate(ParseElement("<speeds><pair time='1.0' speed='800'/></speeds>"),
                             "panel speeds");
    RecordingReceiver minButton("panel min button"), maxButton("panel max button");
    Build("<TestScrollPanel speed='40' storageMode='object' speedsTemplate='panel speeds'><position x='0' y='0'/>"
          "<messageReceiver name='panel'/><checkpoints base='0' difference='100' amount='30'/><children/>"
          "</TestScrollPanel>");
    Send("min pressed");
    EXPECT_EQ((std::vector<int>{20, 420, 820, 1220}), Frames(4, 0.5f));
    Send("min not pressed");
    EXPECT_EQ((std::vector<int>{1240, 1260, 1280, 1300, 1300}), Frames(5, 0.5f));
    TemplateLib::RemoveTemplate("panel speeds");
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

// A wheel step over a child of the panel moves one checkpoint (forward: towards the first); over
// a gap where no child takes the pointer it does nothing.
TEST_F(ScrollPanelMotionTest, AWheelStepOverTheContentMovesOneCheckpoint) {
    LogCapture log;
    RecordingReceiver minButton("panel min button"), maxButton("panel max button");
    Build(Panel("", 100, controls_test::RecorderXml("content", 0, 0, 50, 50)));
    tree.container->MouseMove(10, 110);
    tree.container->AcceptMessage(Message("MouseWheel", "false"));
    Frames(10, 0.05f);
    EXPECT_EQ(200, P()->GetPos());
    tree.container->MouseMove(10, 210);
    tree.container->AcceptMessage(Message("MouseWheel", "true"));
    Frames(10, 0.05f);
    EXPECT_EQ(100, P()->GetPos());
    tree.container->MouseMove(300, 300);
    tree.container->AcceptMessage(Message("MouseWheel", "true"));
    Frames(10, 0.05f);
    EXPECT_EQ(100, P()->GetPos());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

// The motion state comes back from the player's values after a change of player, each value checked.
TEST_F(ScrollPanelMotionTest, TheMotionStateIsReadBackAfterAPlayerChangeAndEachValueChecked) {
    RecordingReceiver minButton("panel min button"), maxButton("panel max button");
    {
        LogCapture log;
        PermanentStorage::CreatePlayer("q");
        PermanentStorage::SetActivePlayer("p");
        Build(Panel("", 0, "", "local"));
        Send("min pressed");
        Send("min not pressed");
        Frames(1, 0.05f);
        PermanentStorage::SetActivePlayer("q");
        EXPECT_EQ(0, P()->GetDirection());
        EXPECT_EQ(0, P()->GetPrevDirection());
        PermanentStorage::SetActivePlayer("p");
        EXPECT_EQ(1, P()->GetPrevDirection());
        EXPECT_EQ(1, P()->GetCheckpointsToGo());
        EXPECT_EQ((std::vector<int>{40, 60, 80, 100, 100}), Frames(5, 0.05f));
        EXPECT_EQ(0, log.ErrorCount()) << log.Text();
        tree = Tree();
    }
    const struct {
        const char* variable;
        const char* type;
        const char* value;
        const char* check;
    } cases[] = {
        {"panel current direction", "int", "2", "-1 <= _direction && _direction <= 1"},
        {"panel previous direction", "int", "-2", "-1 <= _prevDirection && _prevDirection <= 1"},
        {"panel time", "float", "400", "0.0f <= _time && _time < _speed"},
        {"panel time", "float", "-0.5", "0.0f <= _time && _time < _speed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.variable + std::string(" ") + c.value);
        const std::string player = std::string("r") + c.value;
        PermanentStorage::CreatePlayer(player);
        if (std::string(c.type) == "int") {
            PermanentStorage::SetLocalInt(c.variable, std::stoi(c.value));
        } else {
            PermanentStorage::SetLocalFloat(c.variable, std::stof(c.value));
        }
        LogCapture log;
        Build(Panel("", 0, "", "local"));
        EXPECT_TRUE(check_reports::Reported(log, c.check)) << log.Text();
        tree = Tree();
    }
}

}  // namespace
