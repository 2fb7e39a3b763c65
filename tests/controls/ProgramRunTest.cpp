// The game program with the control framework, headless on a copy of the demo content: replayed
// clicks on the demo screens reach the script, which switches the trees from inside the clicks.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/ProgramRun.h"
#include "tests/support/TestSupport.h"

namespace {

using testing_support::CountOf;
using testing_support::ProgramPath;
using testing_support::RunProgram;

TEST(ProgramRunTest, ClicksOnTheDemoScreensReachTheScriptAndSwitchTrees) {
    if (!testing_support::FileExists(ProgramPath())) GTEST_SKIP() << "not built: " << ProgramPath();
    const std::string root = testing_support::MakeTempDir("run");
    const std::string data = root + "data/";
    std::filesystem::copy(MARIVEL_SOURCE_DIR "/data", data, std::filesystem::copy_options::recursive);
    // The first tree is the demo screen, with its script.
    testing_support::WriteFile(data + "start0.lua",
                               "dofile(\"screens/demo.lua\")\nLoadControlTree(\"screens\\\\demo_first.xml\")\n");
    // Window pixels, origin top-left: the first click in the middle of the area, the second one on
    // the second screen, whose area covers the whole screen.
    testing_support::WriteFile(root + "click.events",
                               "5 move 400 300\n6 down\n7 up\n10 move 100 100\n11 down\n12 up\n");
    ASSERT_EQ(0, RunProgram(data, root, {"--frames", "20", "--events", root + "click.events"}));
    const std::string log = testing_support::ReadFile(root + "Tornvik Entertainment/Marivel/log.htm");
    EXPECT_EQ(1, CountOf(log, "Demo area clicked on the first screen")) << log;
    EXPECT_EQ(1, CountOf(log, "Demo area clicked on the second screen")) << log;
    EXPECT_EQ(0, CountOf(log, "ERROR")) << log;
    EXPECT_EQ(1, CountOf(log, "Application shutdown!"));
}

}  // namespace
