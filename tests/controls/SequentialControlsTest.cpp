// Sequential layout: the step table, nesting, and children outside a parent.

#include "controls/SequentialControls.h"
#include "tests/controls/FlowTestSupport.h"

using testing_support::LogCapture;

namespace flow_test {
namespace {

std::string Child(const std::string& inner, int x = 0, int y = 0) {
    return "<SequentialChildControl>" + Pos(x, y) + "<children>" + inner + "</children></SequentialChildControl>";
}

std::string Parent(const std::string& children, int x1, int y1, int dx, int dy) {
    return "<SequentialParentControl>" + Pos(0, 0) + "<sequence x1=\"" + std::to_string(x1) + "\" y1=\"" +
           std::to_string(y1) + "\" dx=\"" + std::to_string(dx) + "\" dy=\"" + std::to_string(dy) +
           "\"/><children>" + children + "</children></SequentialParentControl>";
}

using SequentialControlsTest = FlowTest;

Point PosOf(const ObjectWeakPointer<Control>& parent, std::size_t index) {
    return parent.Cast<FixedChildrenListControl>()->GetChildren()[index]->GetInParentPos();
}

TEST_F(SequentialControlsTest, ChildrenAreLaidOutAtFixedStepsInTheOrderTheyFinishBuilding) {
    LogCapture log;
    Build(Parent(Child("") + Child("") + Child(""), 10, 100, 0, -30));
    const ObjectWeakPointer<Control> root = container->GetRoot();
    EXPECT_EQ(PosOf(root, 0), Point(10, 100));
    EXPECT_EQ(PosOf(root, 1), Point(10, 70));
    EXPECT_EQ(PosOf(root, 2), Point(10, 40));
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();

    // A child nested in another registers first; one inside a plain list is placed in its own parent.
    Build(Parent(Child(Child("")) + controls_test::ListXml(Child("")), 0, 0, 5, 0));
    const ObjectWeakPointer<Control> outer = container->GetRoot();
    const ObjectWeakPointer<Control> first = outer.Cast<FixedChildrenListControl>()->GetChildren()[0];
    EXPECT_EQ(PosOf(first, 0), Point(0, 0));
    EXPECT_EQ(PosOf(outer, 0), Point(5, 0));
    EXPECT_EQ(PosOf(outer.Cast<FixedChildrenListControl>()->GetChildren()[1], 0), Point(10, 0));
    EXPECT_TRUE(SequentialParentControl::Registry().empty());
}

TEST_F(SequentialControlsTest, MisplacedChildrenAndNestedParentsAreReportedAndLeftAlone) {
    {
        LogCapture log;
        Build(Parent(RecorderXml("plain", 3, 3, 1, 1), 10, 10, 1, 1));
        EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
    }
    {
        LogCapture log;
        Build(Child(""));
        EXPECT_TRUE(log.Contains("children.size() > 0"));
        EXPECT_TRUE(SequentialParentControl::Registry().empty());
    }
    {
        LogCapture log;
        Build(Parent(Child("", 4, 0), 10, 10, 0, 0));
        EXPECT_TRUE(log.Contains("GetInParentPos() == Point(0, 0)"));
    }
    {
        // The inner parent lays out its own children only; the outer one keeps its own.
        LogCapture log;
        Build(Parent(Child("") + Parent(Child("") + Child(""), 100, 0, 1, 0) + Child(""), 0, 50, 0, 10));
        EXPECT_TRUE(log.Contains("children.size() == 0"));
        const ObjectWeakPointer<Control> outer = container->GetRoot();
        EXPECT_EQ(PosOf(outer, 0), Point(0, 50));
        EXPECT_EQ(PosOf(outer, 2), Point(0, 60));
        const ObjectWeakPointer<Control> inner = outer.Cast<FixedChildrenListControl>()->GetChildren()[1];
        EXPECT_EQ(PosOf(inner, 0), Point(100, 0));
        EXPECT_EQ(PosOf(inner, 1), Point(101, 0));
        EXPECT_TRUE(SequentialParentControl::Registry().empty());
    }
}

}  // namespace
}  // namespace flow_test
