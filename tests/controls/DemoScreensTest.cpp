// The demo screens through the script side: a click on the area reaches the script function,
// which loads the other screen from inside the click.

#include <unistd.h>

#include <filesystem>

#include "controls/ControlFramework.h"
#include "shell/ScriptServices.h"
#include "tests/controls/ControlTestSupport.h"
#include "tests/core/StorageFixture.h"
#include "tests/shell/ScriptTestSupport.h"

using testing_support::LogCapture;

namespace {

class DemoScreensTest : public StorageFixture {
protected:
    // The screens are read relative to the working folder, as the program reads its content.
    void SetUp() override {
        StorageFixture::SetUp();
        LoadEmpty("P");
        script_test::State();
        StartControlFramework();
        _folder = testing_support::MakeTempDir("screens");
        std::filesystem::copy(std::string(MARIVEL_SOURCE_DIR) + "/data/screens", _folder + "screens");
        _previous = std::filesystem::current_path();
        std::filesystem::current_path(_folder);
    }
    void TearDown() override {
        rootContainer = nullptr;
        std::filesystem::current_path(_previous);
        GetScriptServices() = ScriptServices();
        StorageFixture::TearDown();
    }

    static void Click(int x, int y) {
        rootContainer->MouseMove(x, y);
        rootContainer->MouseDown(x, y);
        rootContainer->MouseUp(x, y);
    }

    std::string _folder;
    std::filesystem::path _previous;
};

TEST_F(DemoScreensTest, ClickOnTheAreaSwitchesScreensThroughTheScript) {
    PermanentStorage::SetGlobalBool("betaLog", true);
    LogCapture log;
    ScriptMap::RunScript("screens\\demo.lua");
    ASSERT_EQ(script_test::RunLua("LoadControlTree('screens\\\\demo_first.xml')"), "");
    ASSERT_TRUE(rootContainer != NULL);
    EXPECT_TRUE(log.Contains("First screen shown"));
    const ObjectWeakPointer<ControlContainer> first = rootContainer;

    // Outside the area nothing happens.
    Click(100, 100);
    EXPECT_EQ(rootContainer.AsObjectAddress(), first.AsObjectAddress());

    rootContainer->Update(0.5f);
    Click(400, 300);
    EXPECT_TRUE(log.Contains("Demo area clicked on the first screen"));
    EXPECT_NE(rootContainer.AsObjectAddress(), first.AsObjectAddress());
    EXPECT_TRUE(log.Contains("First screen closed"));
    EXPECT_TRUE(log.Contains("Player: 'P'; total time: 0s;"));
    EXPECT_FLOAT_EQ(PermanentStorage::GetLocalFloat("Player in game time"), 0.5f);

    // The second screen's area covers everything and leads back.
    rootContainer->Draw();
    Click(10, 10);
    EXPECT_TRUE(log.Contains("Demo area clicked on the second screen"));
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

}  // namespace
