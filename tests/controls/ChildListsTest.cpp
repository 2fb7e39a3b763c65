// Fixed children lists, the single replaceable child and the collection of text controls.

#include "controls/FixedChildrenListControl.h"
#include "controls/InscribableConsumer.h"
#include "controls/SingleChildControl.h"
#include "tests/controls/ControlTestSupport.h"

using namespace controls_test;
using testing_support::LogCapture;

namespace {

using Lines = std::vector<std::string>;

class ChildListsTest : public ControlsFixture {};

TEST_F(ChildListsTest, FirstChildGetsInputAndFramesFirstAndIsDrawnLast) {
    Tree tree = Build(TreeXml(
        ListXml(RecorderXml("first", 0, 0, 10, 10) + RecorderXml("second", 0, 0, 10, 10) + RecorderXml("third", 0, 0, 10, 10))));
    EXPECT_EQ(Trace(), (Lines{"first made", "second made", "third made"}));
    ClearTrace();
    tree.container->Update(0.5f);
    EXPECT_EQ(Trace(), (Lines{"first update 0.500000", "second update 0.500000", "third update 0.500000"}));
    ClearTrace();
    tree.container->Draw();
    EXPECT_EQ(Trace(), (Lines{"first move 0,0 --", "second move 0,0 -H", "third move 0,0 -H", "third draw",
                              "second draw", "first draw"}));
    ClearTrace();
    tree.container = nullptr;
    EXPECT_EQ(Trace(), (Lines{"first gone", "second gone", "third gone"}));
}

TEST_F(ChildListsTest, ListWithoutChildrenIsQuiet) {
    LogCapture log;
    Tree tree = Build(TreeXml("<FixedChildrenListControl><position x=\"0\" y=\"0\"/></FixedChildrenListControl>"));
    tree.container->MouseDown(1, 1);
    tree.container->MouseUp(1, 1);
    tree.container->Update(0.1f);
    tree.container->Draw();
    EXPECT_TRUE(tree.container->GetRoot().Cast<FixedChildrenListControl>()->GetChildren().empty());
    EXPECT_EQ(log.ErrorCount(), 0);
}

// Element "Holder": a single child built from its "content" element.
class Holder : public SingleChildControl {
public:
    Holder(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
        : SingleChildControl(parent, xml), _content(new XmlElement(xml->GetFirstChildElement("content"))) {
        CreateChild(Content());
    }
    ObjectWeakPointer<XmlElement> Content() const { return _content->GetFirstChildElement(); }

private:
    ObjectSmartPointer<XmlElement> _content;
};

class SingleChildTest : public ChildListsTest {
protected:
    void SetUp() override {
        ChildListsTest::SetUp();
        ControlFactory::RegisterControl("Holder", ControlFactory::Make<Holder>());
        _tree = Build(TreeXml("<Holder><position x=\"0\" y=\"0\"/><content>" + RecorderXml("child", 0, 0, 10, 10) +
                              "</content></Holder>"));
        ClearTrace();
    }
    void TearDown() override {
        _tree = Tree();
        ControlFactory::UnregisterControl("Holder");
        ChildListsTest::TearDown();
    }
    Holder& H() { return dynamic_cast<Holder&>(*_tree.container->GetRoot().Get()); }
    Recorder& Child() { return dynamic_cast<Recorder&>(*H().GetChild().Get()); }

    Tree _tree;
};

TEST_F(SingleChildTest, CreateChildTwiceGivesAFreshChildEachTime) {
    LogCapture log;
    H().CreateChild(H().Content());
    H().CreateChild(H().Content());
    EXPECT_EQ(Trace(), (Lines{"child gone", "child made", "child gone", "child made"}));
    EXPECT_EQ(log.ErrorCount(), 0);
    ClearTrace();
    _tree.container->Update(0.5f);
    EXPECT_EQ(Trace(), (Lines{"child update 0.500000"}));
}

TEST_F(SingleChildTest, ReplacementAskedForByTheRunningChildWaitsForItsCall) {
    Child().onUpdate = [this] {
        H().CreateChild(H().Content());
        Trace().push_back("asked");
    };
    LogCapture log;
    _tree.container->Update(0.5f);
    EXPECT_EQ(Trace(), (Lines{"child update 0.500000", "asked", "child gone", "child made"}));
    EXPECT_TRUE(log.Contains("!_isControlFlowInside"));
    EXPECT_EQ(log.ErrorCount(), 1);
    ClearTrace();
    _tree.container->Update(0.5f);
    EXPECT_EQ(Trace(), (Lines{"child update 0.500000"}));
}

TEST_F(SingleChildTest, SetChildAdoptsAControlAndIsDeferredTheSameWay) {
    ObjectSmartPointer<XmlDocument> other = Read(RecorderXml("adopted", 0, 0, 1, 1));
    ObjectSmartPointer<Control> adopted = ControlFactory::CreateControl(ObjectWeakPointer<Control>(), other->GetRoot());
    Child().onMove = [this, adopted](ObjectWeakPointer<MouseMoveEvent>) { H().SetChild(adopted); };
    LogCapture log;
    _tree.container->MouseMove(3, 3);
    EXPECT_EQ(log.ErrorCount(), 1);
    EXPECT_EQ(Trace(), (Lines{"adopted made", "child move 3,3 --", "child gone"}));
    ClearTrace();
    _tree.container->MouseMove(4, 4);
    EXPECT_EQ(Trace(), (Lines{"adopted move 4,4 --"}));
}

// Stands in for a text control: announces itself to the consumer being built.
class Inscribable : public Recorder {
public:
    Inscribable(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml) : Recorder(parent, xml) {
        InscribableConsumer::AddGlobalChild(ObjectWeakPointer<Control>(this));
    }
};

std::string InscribableXml(const std::string& name) {
    return "<Inscribable name=\"" + name + "\" width=\"1\" height=\"1\"><position x=\"0\" y=\"0\"/></Inscribable>";
}

std::string ConsumerXml(const std::string& children) {
    return "<InscribableConsumer><position x=\"0\" y=\"0\"/><children>" + children + "</children></InscribableConsumer>";
}

class ConsumerTest : public ChildListsTest {
protected:
    void SetUp() override {
        ChildListsTest::SetUp();
        ControlFactory::RegisterControl("Inscribable", ControlFactory::Make<Inscribable>());
        ControlFactory::RegisterControl("InscribableConsumer", ControlFactory::Make<InscribableConsumer>());
    }
    void TearDown() override {
        ControlFactory::UnregisterControl("Inscribable");
        ControlFactory::UnregisterControl("InscribableConsumer");
        ChildListsTest::TearDown();
    }
    static std::vector<std::string> Collected(const ObjectWeakPointer<Control>& consumer) {
        std::vector<std::string> names;
        for (const auto& child : consumer.Cast<InscribableConsumer>()->GetInscribableChildren()) {
            names.push_back(std::to_string(child.Cast<Control>()->GetAbsolutePos().x));
        }
        return names;
    }
};

TEST_F(ConsumerTest, CollectsTextControlsAtAnyDepthInConstructionOrder) {
    LogCapture log;
    // One text control nested inside a list, one directly; the one outside is not collected.
    Tree outside = Build(TreeXml(InscribableXml("loose")));
    Tree tree = Build(TreeXml(ConsumerXml(ListXml(InscribableXml("a"), 1, 0) + RecorderXml("plain", 0, 0, 1, 1) +
                                          ListXml(InscribableXml("b"), 2, 0))));
    EXPECT_EQ(Collected(tree.container->GetRoot()), (Lines{"1", "2"}));
    EXPECT_EQ(log.ErrorCount(), 0);
    // Nothing is collected between consumers.
    Tree later = Build(TreeXml(ConsumerXml(RecorderXml("plain", 0, 0, 1, 1))));
    EXPECT_TRUE(Collected(later.container->GetRoot()).empty());
}

TEST_F(ConsumerTest, NestedConsumerIsReportedCollectsNothingAndLeavesTheOuterOneIntact) {
    LogCapture log;
    Tree tree = Build(TreeXml(ConsumerXml(InscribableXml("a") + ListXml(ConsumerXml(InscribableXml("b")), 5, 0) +
                                          ListXml(InscribableXml("c"), 7, 0))));
    EXPECT_TRUE(log.Contains("_globalChildren.size() == 0"));
    EXPECT_FALSE(log.Contains("_globalChildren.size() > 0"));
    const ObjectWeakPointer<Control> outer = tree.container->GetRoot();
    EXPECT_EQ(Collected(outer), (Lines{"0", "5", "7"}));
    const ObjectWeakPointer<Control> inner =
        outer.Cast<InscribableConsumer>()->GetChildren()[1].Cast<FixedChildrenListControl>()->GetChildren()[0];
    EXPECT_TRUE(Collected(inner).empty());
    EXPECT_EQ(InscribableConsumer::GetGlobalChildrenCount(), 0u);
    // A later consumer works again.
    LogCapture after;
    Tree next = Build(TreeXml(ConsumerXml(InscribableXml("c"))));
    EXPECT_EQ(Collected(next.container->GetRoot()).size(), 1u);
    EXPECT_EQ(after.ErrorCount(), 0);
}

TEST_F(ConsumerTest, AbortedConstructionRestoresTheCollection) {
    // A child without its size fails a check, which throws inside a loading scope.
    const std::string broken = "<Recorder name=\"broken\"><position x=\"0\" y=\"0\"/></Recorder>";
    const std::string cases[] = {ConsumerXml(InscribableXml("a") + broken),
                                 ConsumerXml(InscribableXml("a") + ConsumerXml(InscribableXml("b") + broken))};
    for (const std::string& xml : cases) {
        SCOPED_TRACE(xml);
        {
            LogCapture log;
            AssertThrowGuard guard;
            EXPECT_THROW(Build(TreeXml(xml)), AssertionFailedException);
        }
        EXPECT_EQ(InscribableConsumer::GetGlobalChildrenCount(), 0u);
        // Neither a stray text control nor the next consumer sees anything left over.
        LogCapture after;
        Tree loose = Build(TreeXml(InscribableXml("loose")));
        EXPECT_EQ(InscribableConsumer::GetGlobalChildrenCount(), 0u);
        Tree next = Build(TreeXml(ConsumerXml(InscribableXml("c"))));
        EXPECT_EQ(Collected(next.container->GetRoot()).size(), 1u);
        EXPECT_EQ(after.ErrorCount(), 0);
    }
}

}  // namespace
