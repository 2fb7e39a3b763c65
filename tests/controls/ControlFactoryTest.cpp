// Building by element name: registered classes, definitions among controls, unknown elements.

#include "controls/DefinitionContainerControl.h"
#include "controls/FixedChildrenListControl.h"
#include "controls/SimpleTimeCounter.h"
#include "controls/TimerControl.h"
#include "core/XmlMessages.h"
#include "tests/controls/ControlTestSupport.h"

using namespace controls_test;
using testing_support::LogCapture;

namespace {

using Lines = std::vector<std::string>;

class ControlFactoryTest : public ControlsFixture {
protected:
    // Builds the tree and checks the whole file as the script function does.
    Tree Load(const std::string& text) {
        Tree tree = Build(text);
        tree.document->GetRoot()->CheckVisited();
        return tree;
    }
    static ObjectSmartPointer<Control> RootChild(const Tree& tree, int i) {
        return tree.container->GetRoot().Cast<FixedChildrenListControl>()->GetChildren()[i];
    }
};

TEST_F(ControlFactoryTest, RegisteredNamesMakeTheirClasses) {
    LogCapture log;
    Tree tree = Load(TreeXml(ListXml("<TimerControl><position x=\"1\" y=\"2\"/></TimerControl>" +
                                     ListXml(""))));
    EXPECT_TRUE(RootChild(tree, 0).InstanceOf<TimerControl>());
    EXPECT_EQ(RootChild(tree, 0)->GetInParentPos(), Point(1, 2));
    EXPECT_TRUE(RootChild(tree, 1).InstanceOf<FixedChildrenListControl>());
    EXPECT_EQ(log.ErrorCount(), 0);
}

TEST_F(ControlFactoryTest, DefinitionAmongControlsIsHeldByAContainerAndFullyRead) {
    LogCapture log;
    Tree tree = Load(TreeXml(ListXml(RecorderXml("before", 0, 0, 1, 1) +
                                     "<RecordingDefinition name=\"sample\"/>" + RecorderXml("after", 0, 0, 1, 1), 7, 7)));
    EXPECT_EQ(Trace(), (Lines{"before made", "sample defined", "after made"}));
    ObjectSmartPointer<Control> holder = RootChild(tree, 1);
    ASSERT_TRUE(holder.InstanceOf<DefinitionContainerControl>());
    EXPECT_EQ(holder->GetInParentPos(), Point(0, 0));
    EXPECT_EQ(holder->GetAbsolutePos(), Point(7, 7));
    EXPECT_EQ(holder.Cast<DefinitionContainerControl>()->GetDefinitions().size(), 1u);
    EXPECT_EQ(log.ErrorCount(), 0);
    EXPECT_FALSE(log.Contains(XmlMessages::NOT_VISITED));

    // The definition lives exactly as long as the tree part that holds it.
    holder = nullptr;
    ClearTrace();
    tree.container = nullptr;
    EXPECT_EQ(Trace(), (Lines{"before gone", "sample undefined", "after gone"}));
}

TEST_F(ControlFactoryTest, UnknownElementIsNamedInTheLog) {
    struct Case {
        std::string element;
        std::string name;
        int errors;  // the failed check, and the dump of a copy with parts nobody read
    };
    // Not every control base is made by name: these two end in the fallback too.
    const std::vector<Case> cases = {{"<StaticTexturControl/>", "StaticTexturControl", 1},
                                     {"<SingleChildControl><position x=\"0\" y=\"0\"/></SingleChildControl>",
                                      "SingleChildControl", 2},
                                     {"<MouseTransparentControl/>", "MouseTransparentControl", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LogCapture log;
        Tree tree = Load(TreeXml(ListXml(c.element)));
        ObjectSmartPointer<Control> holder = RootChild(tree, 0);
        ASSERT_TRUE(holder.InstanceOf<DefinitionContainerControl>());
        EXPECT_TRUE(holder.Cast<DefinitionContainerControl>()->GetDefinitions()[0] == NULL);
        EXPECT_TRUE(log.Contains("Element '" + c.name + "' is neither a control nor a definition"));
        EXPECT_TRUE(log.Contains("false"));
        // The file itself counts as read.
        EXPECT_EQ(log.ErrorCount(), c.errors);
        holder = nullptr;
        tree = Tree();
    }
}

TEST_F(ControlFactoryTest, CreatorThatDeclinesSendsTheElementToTheDefinitions) {
    ControlFactory::RegisterControl("Choosy", [](const ObjectWeakPointer<Control>&, const ObjectWeakPointer<XmlElement>&) {
        return ObjectSmartPointer<Control>();
    });
    ControlFactory::RegisterDefinition("Choosy", ControlFactory::MakeDefinition<RecordingDefinition>());
    LogCapture log;
    Tree tree = Load(TreeXml(ListXml("<Choosy name=\"picky\"/>")));
    ControlFactory::UnregisterControl("Choosy");
    ControlFactory::UnregisterDefinition("Choosy");
    EXPECT_TRUE(RootChild(tree, 0).InstanceOf<DefinitionContainerControl>());
    EXPECT_EQ(Trace(), (Lines{"picky defined"}));
    EXPECT_EQ(log.ErrorCount(), 0);
}

TEST_F(ControlFactoryTest, EmptyElementIsReported) {
    LogCapture log;
    EXPECT_TRUE(ControlFactory::CreateControl(ObjectWeakPointer<Control>(), ObjectWeakPointer<XmlElement>()) == NULL);
    EXPECT_TRUE(ControlFactory::CreateDefinition(ObjectWeakPointer<XmlElement>()) == NULL);
    EXPECT_EQ(log.ErrorCount(), 2);
    EXPECT_TRUE(log.Contains("xe != NULL"));
    // A container file without a root control builds an empty container that takes every entry.
    LogCapture empty;
    Tree tree = Build("<ControlContainer/>");
    tree.container->MouseDown(1, 1);
    tree.container->MouseUp(1, 1);
    tree.container->Update(0.1f);
    tree.container->Draw();
    EXPECT_EQ(empty.ErrorCount(), 1);
}

TEST_F(ControlFactoryTest, SecondRegistrationOfANameIsReported) {
    LogCapture log;
    ControlFactory::RegisterControl("TimerControl", ControlFactory::Make<SimpleTimeCounter>());
    EXPECT_TRUE(log.Contains("isNew"));
    Tree tree = Load(TreeXml("<TimerControl><position x=\"0\" y=\"0\"/></TimerControl>"));
    EXPECT_TRUE(tree.container->GetRoot().InstanceOf<TimerControl>());
}

}  // namespace
