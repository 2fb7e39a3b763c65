// Context help: clients watching button-like controls under a help server, driven by a stepped
// clock: the rest before the help shows, moves that restart it, presses that hide it, the reshow
// window, "hide help" and a client without a server.
#include <gtest/gtest.h>

#include "content/TemplateLib.h"
#include "controls/ContextHelpServerControl.h"
#include "core/MessageServer.h"
#include "core/XmlRead.h"
#include "tests/controls/ControlTestSupport.h"
#include "tests/support/TestSupport.h"
#include "tests/widgets/WidgetTestSupport.h"

namespace {

using controls_test::ParseElement;
using controls_test::Recorder;
using controls_test::Trace;
using testing_support::LogCapture;

std::string Watched(const std::string& name, int x) {
    return "<Recorder name='" + name + "' width='50' height='50'><position x='" + std::to_string(x) +
           "' y='100'/></Recorder>";
}

std::string Client(const std::string& element, const std::string& watched, const std::string& templateName,
                   const std::string& more = "") {
    return "<" + element + "><position x='0' y='0'/>" + more + "<controlToMonitor>" + watched +
           "</controlToMonitor><controlToShow templateName='" + templateName +
           "'/><times initial='1.0' reshow='0.5'/></" + element + ">";
}

std::string Server(const std::string& children) {
    return "<ContextHelpServerControl><position x='0' y='0'/><children>" + children +
           "</children></ContextHelpServerControl>";
}

class ContextHelpTest : public widgets_test::TextControlTest {
protected:
    void SetUp() override {
        TextControlTest::SetUp();
        if (!ControlFactory::IsControlRegistered("Recorder")) {
            ControlFactory::RegisterControl("Recorder", ControlFactory::Make<Recorder>());
        }
        TemplateLib::AddTemplate(ParseElement("<Recorder name='help a' width='1' height='1'><position x='700' "
                                              "y='500'/></Recorder>"),
                                 "help a");
        TemplateLib::AddTemplate(ParseElement("<Recorder name='help b' width='1' height='1'><position x='700' "
                                              "y='500'/></Recorder>"),
                                 "help b");
    }
    void TearDown() override {
        container = nullptr;
        TemplateLib::RemoveTemplate("help a");
        TemplateLib::RemoveTemplate("help b");
        Trace().clear();
        TextControlTest::TearDown();
    }

    void BuildTwo() {
        Build(Server(Client("ContextHelpClientControl", Watched("a", 100), "help a") +
                     Client("MRContextHelpClientControl", Watched("b", 300), "help b",
                            "<messageReceiver name='b context help'/>")));
    }

    ObjectWeakPointer<ContextHelpServerControl> HelpServer() {
        return container->GetRoot().Cast<ContextHelpServerControl>();
    }
    // The name of the help shown, "" while none is visible.
    std::string Shown() {
        if (!HelpServer()->IsHelpVisible()) return "";
        Trace().clear();
        HelpServer()->GetHelp()->Draw();
        return Trace().empty() ? "?" : Trace()[0].substr(0, Trace()[0].size() - 5);
    }
    void Frames(int count, float dt) {
        for (int i = 0; i < count; ++i) Frame(dt);
    }
};

TEST_F(ContextHelpTest, ShowsAfterTheRestAndEveryMoveRestartsIt) {
    LogCapture log;
    BuildTwo();
    Move(120, 120);
    ASSERT_TRUE(HelpServer()->GetHelp() != NULL);
    Frames(3, 0.25f);
    EXPECT_EQ(Shown(), "");
    Move(121, 120);
    Frames(3, 0.25f);
    EXPECT_EQ(Shown(), "");
    Frame(0.25f);
    EXPECT_EQ(Shown(), "help a");
    // Fades in over a sixth of a second, then stays while the pointer moves on the same control.
    EXPECT_FLOAT_EQ(HelpServer()->GetTime(), 0.25f);
    Move(130, 130);
    Frame(0.25f);
    EXPECT_EQ(Shown(), "help a");
    // Off every watched control: gone.
    Move(10, 10);
    EXPECT_TRUE(HelpServer()->GetHelp() == NULL);
    EXPECT_EQ(log.ErrorCount(), 0);
}

TEST_F(ContextHelpTest, APressHidesAndTheReshowWindowShowsAtOnce) {
    LogCapture log;
    BuildTwo();
    Move(120, 120);
    Frames(4, 0.25f);
    ASSERT_EQ(Shown(), "help a");
    Down(120, 120);
    Move(120, 120);
    EXPECT_TRUE(HelpServer()->GetHelp() == NULL);
    EXPECT_FLOAT_EQ(HelpServer()->GetTimeSinceHidden(), 0.0f);
    Frame(0.1f);
    Up(120, 120);
    Move(120, 120);
    EXPECT_EQ(Shown(), "");
    Frame(0.1f);
    EXPECT_EQ(Shown(), "help a");
    // Straight on to the other control within the window: its help shows at once too.
    Move(320, 120);
    EXPECT_EQ(Shown(), "");
    Frame(0.1f);
    EXPECT_EQ(Shown(), "help b");
    // After the window has passed, the full rest is needed again.
    Move(10, 10);
    Frames(3, 0.25f);
    Move(120, 120);
    Frames(3, 0.25f);
    EXPECT_EQ(Shown(), "");
    Frame(0.25f);
    EXPECT_EQ(Shown(), "help a");
    EXPECT_EQ(log.ErrorCount(), 0);
}

TEST_F(ContextHelpTest, HideHelpSuppressesUntilTheMouseLeaves) {
    LogCapture log;
    BuildTwo();
    Move(320, 120);
    Frames(4, 0.25f);
    ASSERT_EQ(Shown(), "help b");
    SendMessage("b context help", "hide help");
    Move(321, 120);
    EXPECT_TRUE(HelpServer()->GetHelp() == NULL);
    for (int i = 0; i < 3; ++i) {
        Move(322 + i, 120);
        Frames(4, 0.5f);
        EXPECT_TRUE(HelpServer()->GetHelp() == NULL);
    }
    Move(10, 10);
    Move(320, 120);
    Frames(4, 0.25f);
    EXPECT_EQ(Shown(), "help b");
    // Other texts are not handled.
    SendMessage("b context help", "show help");
    EXPECT_EQ(log.ErrorCount(), 1);
}

TEST_F(ContextHelpTest, AClientWithoutServerAsksNothingAndIsReportedOnce) {
    LogCapture log;
    Build("<FixedChildrenListControl><position x='0' y='0'/><children>" +
          Client("ContextHelpClientControl", Watched("a", 100), "help a") + "</children></FixedChildrenListControl>");
    for (int i = 0; i < 3; ++i) {
        Move(120 + i, 120);
        Frame(0.5f);
    }
    EXPECT_EQ(log.ErrorCount(), 1);
    EXPECT_TRUE(log.Contains("parent != NULL"));
}

}  // namespace
