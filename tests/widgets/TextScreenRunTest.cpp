// The demo text screen in the game program, headless: opened from the menu by its key, its link
// clicked by replayed input; the frame is compared with the reference picture and the link's
// message reaches the script, which logs it. A mouse resting on a button brings up its framed
// help, which a press takes away.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/ProgramRun.h"
#include "tests/support/ScreenCompare.h"
#include "tests/support/TestSupport.h"

namespace {

using testing_support::CountOf;
using testing_support::ProgramPath;
using testing_support::RunProgram;

TEST(TextScreenRunTest, ShowsRichTextAndCreditsAndTheLinkReachesTheScript) {
    if (!testing_support::FileExists(ProgramPath())) GTEST_SKIP() << "not built: " << ProgramPath();
    const std::string root = testing_support::MakeTempDir("text-screen");
    const std::string data = root + "data/";
    std::filesystem::copy(MARIVEL_SOURCE_DIR "/data", data, std::filesystem::copy_options::recursive);
    testing_support::WriteFile(data + "start0.lua", "dofile(\"menu.lua\")\n");
    testing_support::WriteFile(data + "start.lua", "ShowMenu()\n");
    const std::string shot = root + "text.png";
    ASSERT_EQ(0, RunProgram(data, root,
                            {"--fixed-step", "20", "--frames", "200", "--events",
                             testing_support::FixturePath("widgets/fixtures/text_events.txt"), "--screenshot", shot}));

    const testing_support::ScreenComparison comparison =
        testing_support::CompareWithReference(shot, testing_support::FixturePath("widgets/fixtures/text-screen.png"), 16, 40);
    EXPECT_TRUE(comparison.matches) << comparison.report;

    const std::string log = testing_support::ReadFile(root + "Tornvik Entertainment/Marivel/log.htm");
    EXPECT_EQ(1, CountOf(log, "Text link: ten points")) << log;
    EXPECT_EQ(0, CountOf(log, "ERROR")) << log;
}

// Runs the text screen with the input script; gives the run's folder.
std::string RunTextScreen(const std::string& name, const std::string& events, int frames, const std::string& shot) {
    const std::string root = testing_support::MakeTempDir(name);
    const std::string data = root + "data/";
    std::filesystem::copy(MARIVEL_SOURCE_DIR "/data", data, std::filesystem::copy_options::recursive);
    testing_support::WriteFile(data + "start0.lua", "dofile(\"menu.lua\")\n");
    testing_support::WriteFile(data + "start.lua", "ShowMenu()\n");
    EXPECT_EQ(0, RunProgram(data, root,
                            {"--fixed-step", "20", "--frames", std::to_string(frames), "--events",
                             testing_support::FixturePath("widgets/fixtures/" + events), "--screenshot",
                             root + shot}));
    return root;
}

TEST(TextScreenRunTest, ARestingMouseShowsTheFramedHelpAndAPressHidesIt) {
    if (!testing_support::FileExists(ProgramPath())) GTEST_SKIP() << "not built: " << ProgramPath();
    struct Case {
        const char* events;
        const char* reference;
    };
    const Case cases[] = {{"text_help_events.txt", "text-help.png"},
                          {"text_help_press_events.txt", "text-help-pressed.png"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.events);
        const std::string root = RunTextScreen("text-help", c.events, 100, "help.png");
        const testing_support::ScreenComparison comparison = testing_support::CompareWithReference(
            root + "help.png", testing_support::FixturePath(std::string("widgets/fixtures/") + c.reference), 16, 40);
        EXPECT_TRUE(comparison.matches) << comparison.report;
        const std::string log = testing_support::ReadFile(root + "Tornvik Entertainment/Marivel/log.htm");
        EXPECT_EQ(0, CountOf(log, "ERROR")) << log;
    }
}

}  // namespace
