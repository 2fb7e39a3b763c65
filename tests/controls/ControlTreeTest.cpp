// Positions through the tree, the position element, and controls that let input pass.

#include "controls/FixedChildrenListControl.h"
#include "tests/controls/ControlTestSupport.h"

using namespace controls_test;
using testing_support::LogCapture;

namespace {

using Lines = std::vector<std::string>;

class ControlTreeTest : public ControlsFixture {};

// A list that moves everything under it by (1000, 0) through the virtual slot.
class ShiftedList : public FixedChildrenListControl {
public:
    using FixedChildrenListControl::FixedChildrenListControl;
    Point GetAbsolutePos() override { return FixedChildrenListControl::GetAbsolutePos() + Point(1000, 0); }
};

TEST_F(ControlTreeTest, AbsolutePositionsThroughAChain) {
    Tree tree = Build(TreeXml(ListXml(ListXml(RecorderXml("leaf", 0, 0, 1, 1), 5, -3), 10, 20)));
    auto root = tree.container->GetRoot().Cast<FixedChildrenListControl>();
    auto middle = root->GetChildren()[0].Cast<FixedChildrenListControl>();
    ObjectSmartPointer<Control> leaf = middle->GetChildren()[0];
    EXPECT_EQ(leaf->GetAbsolutePos(), Point(15, 17));
    EXPECT_EQ(middle->GetAbsolutePos(), Point(15, 17));
    EXPECT_TRUE(leaf->GetParent().AsObjectAddress() == static_cast<Control*>(middle.Get()));

    leaf->SetAbsolutePos(Point(100, 100));
    EXPECT_EQ(leaf->GetInParentPos(), Point(85, 83));
    EXPECT_EQ(middle->GetInParentPos(), Point(5, -3));
    EXPECT_EQ(leaf->GetAbsolutePos(), Point(100, 100));
}

TEST_F(ControlTreeTest, OverriddenAbsolutePositionShiftsDescendants) {
    ControlFactory::RegisterControl("ShiftedList", ControlFactory::Make<ShiftedList>());
    Tree tree = Build(TreeXml("<ShiftedList><position x=\"1\" y=\"2\"/><children>" +
                              ListXml(RecorderXml("leaf", 3, 4, 1, 1)) + "</children></ShiftedList>"));
    ControlFactory::UnregisterControl("ShiftedList");
    auto root = tree.container->GetRoot().Cast<FixedChildrenListControl>();
    auto inner = root->GetChildren()[0].Cast<FixedChildrenListControl>();
    EXPECT_EQ(inner->GetChildren()[0]->GetAbsolutePos(), Point(1004, 6));
}

TEST_F(ControlTreeTest, MissingPositionIsReportedAndTheControlStaysAtTheOrigin) {
    struct Case {
        std::string xml;
        Point position;
    };
    const std::vector<Case> cases = {
        {"<FixedChildrenListControl/>", Point(0, 0)},
        {"<FixedChildrenListControl><position x=\"4\"/></FixedChildrenListControl>", Point(4, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xml);
        LogCapture log;
        Tree tree = Build(TreeXml(c.xml));
        EXPECT_EQ(tree.container->GetRoot()->GetInParentPos(), c.position);
        EXPECT_TRUE(log.Contains("_object != NULL"));
        EXPECT_EQ(log.ErrorCount(), 1);
    }
}

TEST_F(ControlTreeTest, TransparentControlLetsTheEventPassUnchanged) {
    // A timer control (transparent) lies on top of the recorder.
    Tree tree = Build(
        TreeXml(ListXml("<TimerControl><position x=\"0\" y=\"0\"/></TimerControl>" + RecorderXml("r", 0, 0, 50, 50))));
    ClearTrace();
    tree.container->MouseMove(10, 10);
    tree.container->MouseDown(10, 10);
    EXPECT_EQ(Trace(), (Lines{"r move 10,10 --", "r move 10,10 --", "r down --", "r move 10,10 C-"}));
}

}  // namespace
