// Replacing the root container: from inside a click, from a posted message, with shared receiver names.

#include "controls/FixedChildrenListControl.h"
#include "tests/controls/ControlTestSupport.h"

using namespace controls_test;
using testing_support::LogCapture;

namespace {

using Lines = std::vector<std::string>;

// A screen's message receiver: records its messages. Element "ScreenReceiver" with "messageReceiver".
class ScreenReceiver : public MouseTransparentControl, public MessageReceiver {
public:
    ScreenReceiver(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
        : MouseTransparentControl(parent, xml), MessageReceiver(xml), _tag(xml->GetStringAttribute("tag")) {}
    void Draw() override {}
    void Update(float) override {}
    void OnMessage(std::string message) override { Trace().push_back(_tag + " < " + message); }

private:
    std::string _tag;
};

std::string ScreenXml(const std::string& tag, const std::string& receiverName) {
    return "<ScreenReceiver tag=\"" + tag + "\"><position x=\"0\" y=\"0\"/><messageReceiver name=\"" + receiverName +
           "\"/></ScreenReceiver>";
}

class RootContainerTest : public ControlsFixture {
protected:
    void SetUp() override {
        ControlsFixture::SetUp();
        if (!ControlFactory::IsControlRegistered("ScreenReceiver")) {
            ControlFactory::RegisterControl("ScreenReceiver", ControlFactory::Make<ScreenReceiver>());
        }
    }
    void TearDown() override {
        _documents.clear();
        ControlsFixture::TearDown();
    }

    // The script side of "LoadControlTree": read, build and install, then check what was read.
    void LoadControlTree(const std::string& text) {
        ObjectSmartPointer<XmlDocument> document = Read(text);
        SetRootContainerFromXml(document->GetRoot());
        document->GetRoot()->CheckVisited();
        _documents.push_back(document);
    }

    // A script function "lua:load" that loads the second screen.
    void ConnectScript(const std::string& secondScreen) {
        MessageServer::SetScriptCall([this, secondScreen](const std::string& function, const std::string& text) {
            Trace().push_back("script " + function + " " + text);
            LoadControlTree(secondScreen);
        });
    }

    Recorder& Button() {
        auto list = rootContainer->GetRoot().Cast<FixedChildrenListControl>();
        return dynamic_cast<Recorder&>(*list->GetChildren()[0].Get());
    }

    std::vector<ObjectSmartPointer<XmlDocument>> _documents;
};

const std::string FIRST = TreeXml(ListXml(RecorderXml("button", 10, 10, 50, 50) + ScreenXml("first", "screen")));
const std::string SECOND = TreeXml(ListXml(RecorderXml("other", 0, 0, 800, 600) + ScreenXml("second", "screen2")));

TEST_F(RootContainerTest, TreeLoadedFromAClickReplacesTheRootAfterTheDispatch) {
    LoadControlTree(FIRST);
    ConnectScript(SECOND);
    const ObjectWeakPointer<ControlContainer> first = rootContainer;
    Button().onClick = [first] {
        SendMessage("lua:load", "second");
        // Still the first tree while the click is being dispatched.
        Trace().push_back(rootContainer.AsObjectAddress() == first.AsObjectAddress() ? "still first" : "replaced");
    };
    rootContainer->MouseDown(20, 20);
    LogCapture log;
    ClearTrace();
    // No caller keeps the container alive: the entry itself must survive the replacement.
    rootContainer->MouseUp(20, 20);
    EXPECT_EQ(Trace(), (Lines{"button move 20,20 C-", "button up C-", "button click", "script load second",
                              "other made", "still first", "button move 20,20 --", "button gone"}));
    EXPECT_NE(rootContainer.AsObjectAddress(), first.AsObjectAddress());
    EXPECT_TRUE(first == NULL || first.GetLinkInfo()->_hardLinkCount < 0);
    EXPECT_EQ(log.ErrorCount(), 0);

    ClearTrace();
    rootContainer->MouseMove(5, 5);
    EXPECT_EQ(Trace(), (Lines{"other move 5,5 --"}));
}

TEST_F(RootContainerTest, TreeLoadedFromAPostedMessageOutlivesItsEntry) {
    LoadControlTree(FIRST);
    ConnectScript(SECOND);
    Button().onClick = [] { SendMessage("post:lua:load", "second"); };
    rootContainer->MouseDown(20, 20);
    LogCapture log;
    ClearTrace();
    rootContainer->MouseUp(20, 20);
    EXPECT_EQ(Trace(), (Lines{"button move 20,20 C-", "button up C-", "button click", "button move 20,20 --",
                              "script load second", "other made", "button gone"}));
    EXPECT_EQ(log.ErrorCount(), 0);
}

TEST_F(RootContainerTest, SharedReceiverNameStaysWithTheNewTree) {
    const std::string again = TreeXml(ListXml(RecorderXml("other", 0, 0, 800, 600) + ScreenXml("second", "screen")));
    LoadControlTree(FIRST);
    ConnectScript(again);
    Button().onClick = [] { SendMessage("lua:load", ""); };
    rootContainer->MouseDown(20, 20);
    rootContainer->MouseUp(20, 20);
    ClearTrace();
    ASSERT_TRUE(IsReceiver("screen"));
    SendMessage("screen", "hello");
    EXPECT_EQ(Trace(), (Lines{"second < hello"}));
    rootContainer = nullptr;
    EXPECT_FALSE(IsReceiver("screen"));
}

TEST_F(RootContainerTest, PostedScriptPassesOneReceiverNameOnThroughABlankTree) {
    // The script shows a blank screen first: the old tree is gone before the next one is built.
    const std::string again = TreeXml(ListXml(RecorderXml("other", 0, 0, 800, 600) + ScreenXml("second", "screen")));
    LoadControlTree(FIRST);
    MessageServer::SetScriptCall([this, again](const std::string&, const std::string&) {
        LoadControlTree(TreeXml(ListXml("")));
        LoadControlTree(again);
    });
    Button().onClick = [] { SendMessage("post:lua:load", ""); };
    rootContainer->MouseDown(20, 20);
    LogCapture log;
    ClearTrace();
    rootContainer->MouseUp(20, 20);
    EXPECT_EQ(Trace(), (Lines{"button move 20,20 C-", "button up C-", "button click", "button move 20,20 --",
                              "button gone", "other made"}));
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
    ClearTrace();
    SendMessage("screen", "hello");
    EXPECT_EQ(Trace(), (Lines{"second < hello"}));
}

TEST_F(RootContainerTest, LastOfSeveralReplacementsInOneDispatchWins) {
    LoadControlTree(FIRST);
    Button().onClick = [this] {
        LoadControlTree(SECOND);
        LoadControlTree(TreeXml(RecorderXml("third", 0, 0, 10, 10)));
    };
    rootContainer->MouseDown(20, 20);
    ClearTrace();
    rootContainer->MouseUp(20, 20);
    ClearTrace();
    rootContainer->Draw();
    EXPECT_EQ(Trace(), (Lines{"third move 0,0 --", "third draw"}));
}

TEST_F(RootContainerTest, ReplacementOutsideADispatchIsImmediate) {
    LoadControlTree(FIRST);
    ClearTrace();
    LoadControlTree(SECOND);
    EXPECT_EQ(Trace(), (Lines{"other made", "button gone"}));
}

}  // namespace
