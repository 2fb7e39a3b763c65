// The demo lists screen in the game program, headless: I on the menu opens it; replayed keys and
// wheel steps move the list box's selection (the log holds each active name), clicks and wheel
// steps move the tabs and strips, and after two player switches the saved storage holds each
// player's tab order and strip positions. The screen matches its reference picture.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/ProgramRun.h"
#include "tests/support/ScreenCompare.h"
#include "tests/support/TestSupport.h"

namespace {

using testing_support::ProgramPath;

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// The element "Variable" of the name inside the storage part that starts with opening.
std::string StoredVariable(const std::string& storage, const std::string& opening, const std::string& name) {
    const size_t part = storage.find(opening);
    if (part == std::string::npos) return "";
    const size_t end = storage.find("</", part);
    const size_t at = storage.find("<Variable name=\"" + name + "\"", part);
    if (at == std::string::npos || at > end) return "";
    return storage.substr(at, storage.find("/>", at) + 2 - at);
}

TEST(ListsScreenRunTest, KeysWheelAndClicksMoveTheWidgetsAndEachPlayerKeepsHisOwn) {
    if (!testing_support::FileExists(ProgramPath())) GTEST_SKIP() << "not built: " << ProgramPath();
    const std::string root = testing_support::MakeTempDir("lists");
    const std::string data = root + "data/";
    std::filesystem::copy(MARIVEL_SOURCE_DIR "/data", data, std::filesystem::copy_options::recursive);
    // The developer menu at once, as the game shows it on F12 when "dev" is true.
    testing_support::WriteFile(data + "start0.lua", "dofile(\"menu.lua\")\n");
    testing_support::WriteFile(data + "start.lua", "ShowMenu()\n");
    const std::string shot = root + "lists.png";
    ASSERT_EQ(0, testing_support::RunProgram(data, root,
                                             {"--fixed-step", "20", "--frames", "230", "--events",
                                              data + "screens/lists_events.txt", "--screenshot", shot}));
    const std::string home = root + "Tornvik Entertainment/Marivel/";
    const std::string log = testing_support::ReadFile(home + "log.htm");
    const size_t down = log.find("Lists active: Bream");
    const size_t page = log.find("Lists active: Discus");
    const size_t wheel = log.find("Lists active: Cod");
    EXPECT_NE(std::string::npos, down) << log;
    EXPECT_LT(down, page) << log;
    EXPECT_LT(page, wheel) << log;
    EXPECT_NE(std::string::npos, wheel) << log;
    EXPECT_EQ(1, Count(log, "Lists player: Second")) << log;
    EXPECT_EQ(1, Count(log, "Lists player: Player")) << log;
    EXPECT_EQ(0, Count(log, "ERROR")) << log;

    const std::string storage = testing_support::ReadFile(home + "Storage.xml");
    const std::string first = "<Player name=\"Player\">";
    const std::string second = "<Player name=\"Second\">";
    EXPECT_EQ("<Variable name=\"lists_tabs tab order\" type=\"string\" value=\"2 0 1\"/>",
              StoredVariable(storage, first, "lists_tabs tab order"))
        << storage;
    EXPECT_EQ("<Variable name=\"lists_tabs tab order\" type=\"string\" value=\"1 0 2\"/>",
              StoredVariable(storage, second, "lists_tabs tab order"))
        << storage;
    EXPECT_EQ("<Variable name=\"lists_hpanel pos\" type=\"int\" value=\"-60\"/>",
              StoredVariable(storage, first, "lists_hpanel pos"))
        << storage;
    EXPECT_EQ("<Variable name=\"lists_hpanel pos\" type=\"int\" value=\"0\"/>",
              StoredVariable(storage, second, "lists_hpanel pos"))
        << storage;
    EXPECT_EQ("<Variable name=\"lists_vpanel pos\" type=\"int\" value=\"60\"/>",
              StoredVariable(storage, first, "lists_vpanel pos"))
        << storage;
    EXPECT_EQ("<Variable name=\"lists_vpanel pos\" type=\"int\" value=\"0\"/>",
              StoredVariable(storage, second, "lists_vpanel pos"))
        << storage;

    const testing_support::ScreenComparison screen = testing_support::CompareWithReference(
        shot, MARIVEL_SOURCE_DIR "/tests/widgets/fixtures/lists-screen.png", 12, 200);
    EXPECT_TRUE(screen.matches) << screen.report;
}

}  // namespace
