// The frame changer's timeline with its cross-fades, its click rules (skip, swallow, pass), and the
// link watcher's table and openings through an injected opener.
#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "controls/MouseEvents.h"
#include "core/MessageServer.h"
#include "tests/core/CheckReports.h"
#include "tests/support/TestSupport.h"
#include "tests/widgets/AnimatedWidgetTestSupport.h"
#include "widgets/FrameChangerControl.h"
#include "widgets/LinkWatcherControl.h"

namespace animated_widgets_test {
namespace {

using testing_support::LogCapture;
using pictures_test::Quad;
using Watch = ProcessPort::SpawnWatch;

std::string FrameXml(const std::string& attributes, const std::string& texture) {
    return "<frame " + attributes + ">" + Pos(0, 0) + "<children><StaticTextureControl>" + Pos(100, 100) +
           "<texture textureId='" + texture + "'/></StaticTextureControl></children></frame>";
}

class FrameChangerTest : public AnimatedWidgetTest {
protected:
    void SetUp() override {
        AnimatedWidgetTest::SetUp();
        WritePixels("f0.png", 10, 10, [](int, int) { return 0xFFFF0000u; });
        WritePixels("f1.png", 20, 10, [](int, int) { return 0xFF00FF00u; });
        LoadTextures({"f0", "f1"});
    }
    void BuildChanger(const std::string& attributes, const std::string& first, const std::string& second) {
        BuildOne("<FrameChangerControl " + attributes + ">" + Pos(0, 0) + FrameXml(first, "f0") + FrameXml(second, "f1") +
                 "</FrameChangerControl>");
    }
    ObjectWeakPointer<FrameChangerControl> Changer() { return Only<FrameChangerControl>(); }
    // A click on the changer alone; whether it kept the press.
    bool Click() {
        ObjectSmartPointer<MouseDownEvent> event(new MouseDownEvent(false));
        Changer()->OnMouseDown(event);
        return event->IsMouseCaptured();
    }
    // Widths and alphas of the quads drawn, bottom first.
    std::vector<std::pair<int, int>> Drawn() {
        std::vector<std::pair<int, int>> drawn;
        for (const Quad& q : DrawOnly()) drawn.push_back({q.width, q.alpha});
        return drawn;
    }
};

using Drawing = std::vector<std::pair<int, int>>;

TEST_F(FrameChangerTest, FramesOfTwoAndThreeSecondsCrossFadeOverOneSecond) {
    BuildChanger("replaceTime='1.0'", "pause='2.0'", "pause='3.0'");
    Run(2, 0.25f);
    EXPECT_EQ((Drawing{{10, 255}}), Drawn()) << "frame 0 alone";
    Run(4, 0.25f);
    EXPECT_EQ(0, Changer()->GetCurrent());
    const Drawing fade = Drawn();
    ASSERT_EQ(2u, fade.size()) << "frame 1 under a fading frame 0";
    EXPECT_EQ(20, fade[0].first);
    EXPECT_EQ(255, fade[0].second);
    EXPECT_EQ(10, fade[1].first);
    EXPECT_NEAR(128, fade[1].second, 1);
    Run(4, 0.25f);
    EXPECT_EQ(1, Changer()->GetCurrent());
    EXPECT_NEAR(1.5f, Changer()->GetPause(1), 1e-5f);  // it ran during the fade
    EXPECT_EQ((Drawing{{20, 255}}), Drawn()) << "frame 1 alone";
    Run(4, 0.25f);
    const Drawing last = Drawn();
    ASSERT_EQ(1u, last.size()) << "frame 1 fading out";
    EXPECT_NEAR(128, last[0].second, 1);
    Run(3, 0.25f);
    EXPECT_EQ(2, Changer()->GetCurrent());
    EXPECT_TRUE(Drawn().empty());
    EXPECT_FALSE(Click());
}

TEST_F(FrameChangerTest, ASkippableFrameJumpsAtOnceAndARunningOneSwallowsTheClick) {
    BuildChanger("replaceTime='1.0'", "pause='2.0' skiped='true'", "pause='3.0'");
    EXPECT_TRUE(Click());
    EXPECT_EQ(1, Changer()->GetCurrent());
    EXPECT_LT(Changer()->GetPause(1), 3.0f);  // advanced in 0.05 s steps during the fade
    EXPECT_GT(Changer()->GetPause(1), 1.8f);
    const float pause = Changer()->GetPause(1);
    EXPECT_TRUE(Click());  // not skippable and still running: swallowed
    EXPECT_EQ(1, Changer()->GetCurrent());
    EXPECT_EQ(pause, Changer()->GetPause(1));

    BuildChanger("", "pause='2.0'", "pause='3.0' skiped='true'");
    Run(9, 0.25f);
    ASSERT_EQ(1, Changer()->GetCurrent());
    EXPECT_TRUE(Click());  // the last frame is never skipped
    EXPECT_EQ(1, Changer()->GetCurrent());
}

TEST_F(FrameChangerTest, TheLastFrameCanStayAndThenLetsClicksPass) {
    BuildChanger("stayLastFrame='true' replaceTime='0.0'", "pause='1.0'", "pause='1.0'");
    Run(5, 0.25f);
    EXPECT_EQ(1, Changer()->GetCurrent());
    EXPECT_TRUE(Click());
    Run(10, 0.25f);
    EXPECT_EQ(1, Changer()->GetCurrent());
    EXPECT_LT(Changer()->GetPause(1), 0.0f);
    EXPECT_EQ((Drawing{{20, 255}}), Drawn());
    EXPECT_FALSE(Click());
}

class LinkWatcherTest : public AnimatedWidgetTest {
protected:
    void SetUp() override {
        AnimatedWidgetTest::SetUp();
        LinkWatcherControl::SetOpener([this](const std::vector<std::string>& argv) {
            opened.push_back(argv);
            auto watch = std::make_shared<Watch>();
            watch->Set(next);
            watches.push_back(watch);
            return watch;
        });
        testing_support::WriteFile(dir + "manual.txt", "the manual\n");
        testing_support::WriteFile(dir + "links.xml",
                                   "<links><link name='site' value='http://example.com/old'/>"
                                   "<link name='manual' value='Manual.TXT'/>"
                                   "<link name='site' value='https://example.com/fish'/>"
                                   "<link name='outside' value='../manual.txt'/>"
                                   "<link name='system' value='/etc/hostname'/>"
                                   "<link name='script' value='javascript:alert(1)'/>"
                                   "<link name='missing' value='nothing.txt'/></links>");
        BuildOne("<LinkWatcherControl links='links.xml'>" + Pos(0, 0) +
                 "<messageReceiver name='links'/></LinkWatcherControl>");
    }
    void TearDown() override {
        LinkWatcherControl::SetOpener(LinkWatcherControl::Opener());
        AnimatedWidgetTest::TearDown();
    }
    static std::string Here() {
        char buffer[PATH_MAX] = {};
        return realpath(".", buffer) == nullptr ? std::string() : std::string(buffer);
    }

    Watch::State next = Watch::RUNNING;
    std::vector<std::vector<std::string>> opened;
    std::vector<std::shared_ptr<Watch>> watches;
};

TEST_F(LinkWatcherTest, ALinkNameOpensItsLastTargetWithTheDesktopOpener) {
    LogCapture log;
    SendMessage("links", "site");
    SendMessage("links", "manual");
    ASSERT_EQ(2u, opened.size());
    EXPECT_EQ((std::vector<std::string>{"xdg-open", "https://example.com/fish"}), opened[0]);
    EXPECT_EQ((std::vector<std::string>{"xdg-open", Here() + "/manual.txt"}), opened[1]);
    watches[0]->Set(Watch::SUCCEEDED);
    container->Update(0.1f);
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(LinkWatcherTest, UnknownTextIsUnhandledAndFailuresAreLoggedOnce) {
    LogCapture log;
    SendMessage("links", "Site");
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(1, log.ErrorCount());
    EXPECT_EQ(1, testing_support::CountOf(log.Text(), "Site"));

    LogCapture failures;
    next = Watch::FAILED;  // cannot be started
    SendMessage("links", "site");
    EXPECT_EQ(1, testing_support::CountOf(failures.Text(), "ShellExecuteEx failed!"));
    next = Watch::RUNNING;  // exits non-zero later
    SendMessage("links", "site");
    container->Update(0.1f);
    EXPECT_EQ(1, testing_support::CountOf(failures.Text(), "ShellExecuteEx failed!"));
    watches.back()->Set(Watch::FAILED);
    container->Update(0.1f);
    container->Update(0.1f);
    // The second failure is the same fault at the same place: the log holds it once.
    EXPECT_EQ(1, testing_support::CountOf(failures.Text(), "ShellExecuteEx failed!"));
}

TEST_F(LinkWatcherTest, OnlyFilesOfTheContentFolderAndWebAddressesAreOpened) {
    for (const char* link : {"outside", "system", "script", "missing"}) {
        LogCapture log;
        SendMessage("links", link);
        EXPECT_EQ(1, testing_support::CountOf(log.Text(), "ShellExecuteEx failed!")) << link;
    }
    EXPECT_TRUE(opened.empty());
}

}  // namespace
}  // namespace animated_widgets_test
