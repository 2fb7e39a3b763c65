// The run request: the launcher starts "qzt.dat" of its own folder with "/screensaver" and waits.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "screensaver/GameLaunch.h"
#include "screensaver/OptionsBox.h"
#include "tests/screensaver/LauncherRun.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TestSupport.h"

using screensaver_test::LauncherPath;
using screensaver_test::LauncherStart;
using screensaver_test::RunLauncher;
using testing_support::FileExists;
using testing_support::MakeTempDir;
using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

std::string RealPath(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? resolved : "";
}

class LaunchTest : public testing::Test {
protected:
    void SetUp() override {
        if (!FileExists(LauncherPath())) GTEST_SKIP() << "the launcher is not built: " << LauncherPath();
        root = MakeTempDir("launch");
        elsewhere = root + "elsewhere/";
        std::filesystem::create_directories(elsewhere);
    }
    void TearDown() override {
        std::error_code ignored;
        if (!root.empty()) std::filesystem::remove_all(root, ignored);
    }

    // A stand-in for the game: notes its arguments and folder, takes a while, then notes its end.
    void WriteFakeGame(const std::string& folder) {
        WriteScript(folder + "qzt.dat", "#!/bin/sh\n"
                                        "printf '%s\\n' \"$0\" \"$@\" > '" + root + "args.txt'\n"
                                        "pwd -P > '" + root + "folder.txt'\n"
                                        "sleep 1\n"
                                        "echo done > '" + root + "finished.txt'\n");
    }
    static void WriteScript(const std::string& path, const std::string& text) {
        WriteFile(path, text);
        chmod(path.c_str(), 0755);
    }
    LauncherStart Start(const std::string& self, const std::vector<std::string>& args) {
        LauncherStart start;
        start.self = self;
        start.args = args;
        start.folder = elsewhere;
        start.output = root + "out.txt";
        start.errors = root + "errors.txt";
        return start;
    }
    std::string Errors() { return ReadFile(root + "errors.txt"); }

    std::string root;
    std::string elsewhere;
};

}  // namespace

TEST_F(LaunchTest, RunSwitchStartsQztDatBesideTheLauncherAndWaitsForItsEnd) {
    WriteFakeGame(root);
    for (const char* runSwitch : {"/s", "-S"}) {
        std::filesystem::remove(root + "finished.txt");
        ASSERT_EQ(0, RunLauncher(Start(root + "marivel-screensaver", {runSwitch}))) << runSwitch;
        EXPECT_TRUE(FileExists(root + "finished.txt")) << runSwitch << ": returned before the game ended";
        EXPECT_EQ(root + "qzt.dat\n/screensaver\n", ReadFile(root + "args.txt")) << runSwitch;
        EXPECT_EQ(RealPath(root) + "\n", ReadFile(root + "folder.txt")) << runSwitch;
    }
}

TEST_F(LaunchTest, RelativeSelfPathStartsTheGameByItsFullPath) {
    std::filesystem::create_directories(root + "sub");
    WriteFakeGame(root + "sub/");
    LauncherStart start = Start("sub/marivel-screensaver", {"/s"});
    start.folder = root;
    ASSERT_EQ(0, RunLauncher(start));
    EXPECT_EQ(root + "sub/qzt.dat\n/screensaver\n", ReadFile(root + "args.txt"));
    EXPECT_EQ(RealPath(root + "sub") + "\n", ReadFile(root + "folder.txt"));
}

// Each is told on standard error, with the exit code 0 all the same; "/a 12" is a request that
// does nothing, quietly.
TEST_F(LaunchTest, OtherLinesAndSelfPathsWithoutAFolderStartNothingAndSaySo) {
    WriteFakeGame(root);
    const std::vector<std::vector<std::string>> lines = {
        {"/s", ""}, {"/screensaver"}, {"/S:1"}, {"/a"}, {"/p", "04567"}, {"/c:"}, {"/cx"}, {"/x", "12"}};
    for (const auto& line : lines) {
        EXPECT_EQ(0, RunLauncher(Start(root + "marivel-screensaver", line))) << line[0];
        EXPECT_NE(std::string::npos, Errors().find("Marivel Screensaver: \"" + line[0])) << line[0] << ": " << Errors();
    }
    EXPECT_EQ(0, RunLauncher(Start(root + "marivel-screensaver", {"/a", "12"})));
    EXPECT_EQ("", Errors());
    const std::pair<std::string, const char*> selves[] = {
        {"marivel-screensaver", "names no folder"},
        {"", "without its own path"},
        {"\"" + root + "marivel-screensaver", "double quote"}};
    for (const auto& self : selves) {
        EXPECT_EQ(0, RunLauncher(Start(self.first, {"/s"}))) << self.first;
        EXPECT_NE(std::string::npos, Errors().find(self.second)) << self.first << ": " << Errors();
    }
    EXPECT_FALSE(FileExists(root + "args.txt")) << ReadFile(root + "args.txt");
}

// A folder whose name begins with the quote does hold a game: the refusal, not a missing file,
// keeps it from starting.
TEST_F(LaunchTest, SelfPathBeginningWithAQuoteIsRefusedWhereItsFolderHoldsAGame) {
    std::filesystem::create_directories(root + "\"q");
    WriteFakeGame(root + "\"q/");
    LauncherStart start = Start("\"q/marivel-screensaver", {"/s"});
    start.folder = root;
    EXPECT_EQ(0, RunLauncher(start));
    EXPECT_FALSE(FileExists(root + "args.txt")) << ReadFile(root + "args.txt");
    EXPECT_NE(std::string::npos, Errors().find("begins with a double quote")) << Errors();
}

// A game that is missing, no program, not allowed to run or failing is told on standard error (and
// in the options box's text), and the launcher still ends with 0.
TEST_F(LaunchTest, MissingOrBrokenGameIsReportedAndTheExitCodeStaysZero) {
    struct Case {
        const char* name;
        std::function<void()> make;
        const char* told;
        bool seenBeforeStart;
    };
    const std::string game = root + "qzt.dat";
    const std::string self = root + "marivel-screensaver";
    const Case cases[] = {
        {"missing", [] {}, "No such file", true},
        {"no program", [&] { WriteScript(game, "this is no program\n"); }, "no program", true},
        {"not allowed to run", [&] { WriteFile(game, "#!/bin/sh\nexit 0\n"); }, "Permission denied", true},
        {"failing", [&] { WriteScript(game, "#!/bin/sh\nexit 3\n"); }, "exit code 3", false},
        {"killed", [&] { WriteScript(game, "#!/bin/sh\nkill -9 $$\n"); }, "signal 9", false},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(game);
        c.make();
        EXPECT_EQ(0, RunLauncher(Start(self, {"/s"}))) << c.name;
        EXPECT_NE(std::string::npos, Errors().find("Marivel Screensaver: the game " + game)) << c.name << ": " << Errors();
        // "no program" is what the check before the start says; the start itself says the
        // system's words.
        if (std::string(c.name) != "no program") {
            EXPECT_NE(std::string::npos, Errors().find(c.told)) << c.name << ": " << Errors();
        }
        // The options request checks the game without starting it.
        const std::string checked = screensaver::CheckGame(self.c_str());
        EXPECT_EQ(c.seenBeforeStart, !checked.empty()) << c.name;
        if (checked.empty()) continue;
        EXPECT_NE(std::string::npos, checked.find(c.told)) << c.name << ": " << checked;
        EXPECT_EQ(0, RunLauncher(Start(self, {"/c"}))) << c.name;
        EXPECT_EQ("Marivel Screensaver: " + checked + "\n", Errors()) << c.name;
        EXPECT_NE(std::string::npos, screensaver::OptionsBoxText(checked).find(checked)) << c.name;
    }
    WriteFakeGame(root);
    EXPECT_EQ("", screensaver::CheckGame(self.c_str()));
    EXPECT_EQ(screensaver::optionsText, screensaver::OptionsBoxText(""));
}

TEST_F(LaunchTest, BuildPutsQztDatBesideTheLauncherAsALinkToTheGame) {
    const std::string build = LauncherPath().substr(0, LauncherPath().find_last_of('/') + 1);
    EXPECT_EQ(RealPath(testing_support::ProgramPath()), RealPath(build + "qzt.dat"));
    EXPECT_TRUE(FileExists(build + "settings.ini"));
}

// The game's own screensaver mode ends on a key and saves nothing; in its normal mode the same run
// would go on to its frame limit and save the storage.
TEST_F(LaunchTest, RunSwitchBesideTheGameStartsItInScreensaverMode) {
    const std::string game = testing_support::ProgramPath();
    if (!FileExists(game)) GTEST_SKIP() << "the game is not built: " << game;
    const std::string build = LauncherPath().substr(0, LauncherPath().find_last_of('/') + 1);
    WriteFile(root + "settings.ini", ReadFile(build + "settings.ini"));
    WriteFile(root + "events.txt", "# a key ends the screensaver\n3 key 32\n");
    WriteScript(root + "qzt.dat", "#!/bin/sh\nexec '" + game + "' \"$@\" --events '" + root +
                                      "events.txt' --frames 2000\n");
    const std::string home = root + "home/";
    LauncherStart start = Start(root + "marivel-screensaver", {"/s"});
    start.env = {"XDG_DATA_HOME=" + home};
    ASSERT_EQ(0, RunLauncher(start));
    const std::string data = home + "Tornvik Entertainment/Marivel/";
    const std::string log = ReadFile(data + "log.htm");
    EXPECT_NE(std::string::npos, log.find("Application shutdown!")) << log;
    EXPECT_EQ(std::string::npos, log.find("ERROR")) << log;
    EXPECT_EQ(ReadFile(MARIVEL_SOURCE_DIR "/data/Storage.xml"), ReadFile(data + "Storage.xml"));
    EXPECT_FALSE(FileExists(data + "Storage.xml.bak"));
}
