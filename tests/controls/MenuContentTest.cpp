// The demo menu screens of the data folder: they build without reports, the buttons appear,
// hover and send their commands to the script.
#include <gtest/gtest.h>
#include <unistd.h>

#include <utility>

#include "controls/ButtonWithEffectControl.h"
#include "controls/FixedChildrenListControl.h"
#include "core/MessageServer.h"
#include "core/XmlRead.h"
#include "shell/RenderDeviceFonts.h"
#include "tests/controls/PictureTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using pictures_test::PictureTest;
using testing_support::LogCapture;
using Call = std::pair<std::string, std::string>;

class MenuContentTest : public PictureTest {
protected:
    void SetUp() override {
        PictureTest::SetUp();
        ASSERT_EQ(0, chdir(MARIVEL_SOURCE_DIR "/data"));
        // The sound entries are left out: the test program's sound system has its own samples.
        std::string list = testing_support::ReadFile("menu_resources.xml");
        for (const char* section : {"Sounds", "Music"}) {
            const std::size_t from = list.find(std::string("<") + section + ">");
            const std::size_t to = list.find(std::string("</") + section + ">");
            ASSERT_NE(std::string::npos, from);
            list.erase(from, to + std::string(section).size() + 3 - from);
        }
        const std::size_t open = list.find("<Resources>") + 11;
        LoadResources(list.substr(open, list.rfind("</Resources>") - open));
        MessageServer::SetScriptCall(
            [this](const std::string& function, const std::string& text) { calls.emplace_back(function, text); });
    }
    void TearDown() override {
        MessageServer::SetScriptCall(MessageServer::ScriptCall());
        PictureTest::TearDown();
        Render::fonts.ReleaseAll();
    }

    void BuildScreen(const std::string& file) {
        ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(file));
        ASSERT_TRUE(document->GetRoot() != NULL);
        ASSERT_EQ("ControlContainer", document->GetRoot()->GetName());
        container = ObjectSmartPointer<ControlContainer>(new ControlContainer(document->GetRoot()));
        document->GetRoot()->CheckVisited();
    }
    ObjectWeakPointer<ButtonWithEffectControl> ButtonAt(int index) {
        auto list = container->GetRoot().Cast<FixedChildrenListControl>();
        return ObjectWeakPointer<ButtonWithEffectControl>(
            list->GetChildren()[static_cast<std::size_t>(index)].Cast<ButtonWithEffectControl>());
    }

    std::vector<Call> calls;
};

TEST_F(MenuContentTest, MenuButtonsAppearHoverAndSendTheirCommands) {
    LogCapture log;
    BuildScreen("screens\\menu.xml");
    for (int i = 0; i < 10; ++i) Frame(0.1f);
    for (int i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(1.0f, ButtonAt(i)->GetAppearance()) << i;
    Move(400, 325);
    Frame(0.1f);
    EXPECT_EQ(ButtonControl::ACTIVE_STATE, ButtonAt(0)->GetState());
    EXPECT_EQ(ButtonControl::NORMAL_STATE, ButtonAt(1)->GetState());
    Click(400, 325);
    Click(400, 255);
    Click(400, 185);
    EXPECT_EQ((std::vector<Call>{{"MenuCommand", "game"}, {"MenuCommand", "music"}, {"MenuCommand", "quit"}}),
              calls);
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(MenuContentTest, SecondScreenLeadsBack) {
    LogCapture log;
    BuildScreen("screens\\second.xml");
    for (int i = 0; i < 10; ++i) Frame(0.1f);
    Click(400, 85);
    EXPECT_EQ((std::vector<Call>{{"MenuCommand", "back"}}), calls);
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

}  // namespace
