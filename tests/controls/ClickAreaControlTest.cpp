// The click area of the demo screens: one message per completed click over it.

#include "tests/controls/ControlTestSupport.h"

using namespace controls_test;
using testing_support::LogCapture;

namespace {

class ClickAreaTest : public ControlsFixture {};

TEST_F(ClickAreaTest, SendsOncePerClickCompletedOverIt) {
    struct Case {
        const char* name;
        std::vector<Point> pathWhilePressed;  // moves between press at (20, 20) and the release point
        Point release;
        int messages;
    };
    const std::vector<Case> cases = {
        {"click", {}, Point(20, 20), 1},
        {"drag off and release outside", {Point(200, 200)}, Point(200, 200), 0},
        {"off, back on, release", {Point(200, 200), Point(30, 30)}, Point(30, 30), 1},
    };
    ObjectSmartPointer<RecordingReceiver> receiver(new RecordingReceiver("area"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Tree tree = Build(TreeXml(
            "<ClickAreaControl><position x=\"10\" y=\"10\"/><size width=\"50\" height=\"50\"/>"
            "<message receiver=\"area\" message=\"clicked\"/></ClickAreaControl>"));
        LogCapture log;
        ClearTrace();
        tree.container->MouseMove(20, 20);
        tree.container->MouseDown(20, 20);
        for (const Point& p : c.pathWhilePressed) tree.container->MouseMove(p.x, p.y);
        tree.container->MouseUp(c.release.x, c.release.y);
        EXPECT_EQ(static_cast<int>(Trace().size()), c.messages);
        EXPECT_FALSE(tree.container->IsMouseCaptured());
        EXPECT_EQ(log.ErrorCount(), 0);
    }
}

TEST_F(ClickAreaTest, IncompleteAreaIsReportedAndInert) {
    LogCapture log;
    Tree tree = Build(TreeXml("<ClickAreaControl><position x=\"0\" y=\"0\"/></ClickAreaControl>"));
    EXPECT_TRUE(log.Contains("_object != NULL"));
    tree.container->MouseDown(1, 1);
    tree.container->MouseUp(1, 1);
    EXPECT_FALSE(tree.container->IsMouseCaptured());
}

}  // namespace
