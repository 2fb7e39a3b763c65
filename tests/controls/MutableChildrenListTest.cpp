// Run-time child lists: order of drawing and input, the command vocabulary, insertion by index,
// failed preconditions, and children added while the list forwards a call.

#include "controls/MutableChildrenListControl.h"
#include "tests/controls/FlowTestSupport.h"

using testing_support::LogCapture;

namespace flow_test {
namespace {

class MutableChildrenListTest : public FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        AddTemplate("hint", "<Recorder name=\"[name]\" width=\"10\" height=\"10\">" + Pos(0, 0) + "</Recorder>");
        Fresh();
    }
    void Fresh() {
        container = nullptr;
        Build("<MutableChildrenListControl>" + Pos(0, 0) + Receiver("hints") + "</MutableChildrenListControl>");
        Trace().clear();
    }
    void Make(const std::string& name, const std::string& create = "create top instance") {
        SendMessage("hints", "template hint");
        SendMessage("hints", "defineText [name] " + name);
        SendMessage("hints", create);
    }
    ObjectWeakPointer<MutableChildrenListControl> List() { return Root<MutableChildrenListControl>(); }
    std::vector<std::string> DrawOrder() {
        Trace().clear();
        container->Draw();
        std::vector<std::string> names;
        for (const std::string& line : Trace()) {
            if (line.size() >= 5 && line.compare(line.size() - 5, 5, " draw") == 0) names.push_back(line.substr(0, line.size() - 5));
        }
        return names;
    }
};

TEST_F(MutableChildrenListTest, TheLastChildIsDrawnLastAndGetsInputFirst) {
    LogCapture log;
    Make("a");
    Make("b");
    Make("c");
    EXPECT_EQ(DrawOrder(), (std::vector<std::string>{"a", "b", "c"}));
    Trace().clear();
    container->MouseMove(5, 5);
    ASSERT_GE(Trace().size(), 3u);
    EXPECT_EQ(Trace()[0], "c move 5,5 --");
    EXPECT_EQ(Trace()[1], "b move 5,5 -H");
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(MutableChildrenListTest, InstancesAreInsertedReplacedAndErasedByIndex) {
    LogCapture log;
    Make("a");
    Make("b");
    Make("bottom", "create bottom instance");
    Make("first", "create instance before 0");
    Make("last", "create instance before 4");
    Make("mid", "create instance before 2");
    EXPECT_EQ(DrawOrder(), (std::vector<std::string>{"first", "bottom", "mid", "a", "b", "last"}));
    Make("new", "create instance replacing 2");
    EXPECT_EQ(DrawOrder(), (std::vector<std::string>{"first", "bottom", "new", "a", "b", "last"}));
    SendMessage("hints", "erase top child");
    SendMessage("hints", "erase bottom child");
    SendMessage("hints", "erase child at 1");
    EXPECT_EQ(DrawOrder(), (std::vector<std::string>{"bottom", "a", "b"}));
    SendMessage("hints", "clear children list");
    EXPECT_EQ(List()->GetChildren().size(), 0u);
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(MutableChildrenListTest, DefineTextTakesTheWholeRestOfTheText) {
    Make("two words ");
    Make("");
    EXPECT_EQ(DrawOrder(), (std::vector<std::string>{"two words ", ""}));
}

TEST_F(MutableChildrenListTest, FailedPreconditionsAreReportedAndChangeNothing) {
    const struct {
        std::vector<std::string> messages;
        const char* check;
        std::size_t children;
    } cases[] = {
        {{"erase top child", "erase top child"}, "_children.size() > 0", 0},
        {{"create top instance"}, "_currentTemplate != NULL", 1},
        {{"create instance before 2"}, "index <= (int)_children.size()", 1},
        {{"erase child at 1"}, "index < (int)_children.size()", 1},
        {{"erase child at -1"}, "index >= 0", 1},
        {{"template nothing", "create top instance"}, "Template nothing not found", 1},
        {{"template hint", "defineText name x"}, "openPos == 0", 1},
        {{"template hint", "defineText [name]x"}, "spacePos == closePos + 1", 1},
        {{"template hint", "clear children list"}, "_currentTemplate == NULL", 1},
        {{"template hint", "template hint"}, "_currentTemplate == NULL", 1},
    };
    for (const auto& c : cases) {
        Fresh();
        Make("only");
        LogCapture log;
        for (const std::string& m : c.messages) SendMessage("hints", m);
        EXPECT_TRUE(log.Contains(c.check)) << c.check << "\n" << log.Text();
        EXPECT_EQ(List()->GetChildren().size(), c.children) << c.check;
        if (List()->HasPendingTemplate()) {
            SendMessage("hints", "defineText [name] x");
            SendMessage("hints", "create top instance");
        }
    }
}

TEST_F(MutableChildrenListTest, AChildMayAddSiblingsButNotRemoveThemWhileTheListForwards) {
    LogCapture log;
    Make("a");
    ObjectWeakPointer<controls_test::Recorder> a = List()->GetChildren()[0].Cast<controls_test::Recorder>();
    int calls = 0;
    a->onUpdate = [&calls] {
        if (++calls > 1) return;
        SendMessage("hints", "template hint");
        SendMessage("hints", "defineText [name] added");
        SendMessage("hints", "create bottom instance");
        SendMessage("hints", "erase top child");
    };
    container->Update(0.1f);
    EXPECT_EQ(List()->GetChildren().size(), 2u);
    EXPECT_TRUE(log.Contains("!_isControlFlowInside"));
    EXPECT_EQ(DrawOrder(), (std::vector<std::string>{"added", "a"}));
}

TEST_F(MutableChildrenListTest, DestroyingTheListWithATemplatePendingIsReported) {
    SendMessage("hints", "template hint");
    LogCapture log;
    container = nullptr;
    EXPECT_TRUE(log.Contains("_currentTemplate == NULL"));
}

}  // namespace
}  // namespace flow_test
