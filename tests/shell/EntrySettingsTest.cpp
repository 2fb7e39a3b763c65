// settings.ini, the name = value split, the data folder and its seed files, the command line.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "shell/EntrySettings.h"
#include "tests/support/TestSupport.h"

using testing_support::FileExists;
using testing_support::LogCapture;
using testing_support::MakeTempDir;
using testing_support::ReadFile;
using testing_support::WriteFile;

TEST(ReadNvpTest, SplitsTheLineAsTheTableSays) {
    struct Case {
        const char* line;
        bool result;
        const char* name;
        const char* value;
    } cases[] = {
        {"path=C:\\Games", true, "path", "C:\\Games"},
        {"  useAppData = true", true, "useAppData", "true"},
        {"dev==  =false", true, "dev", "false"},
        {"dev = true  ", true, "dev", "true  "},
        {"-+dev: x = y z", true, "dev", "y z"},
        {"dev", false, "dev", ""},
        {"dev =", false, "dev", ""},
        {"dev = = ", false, "dev", ""},
        {"dev true", false, "dev", ""},
        {"  = value", false, "value", ""},
        {"", false, "", ""},
    };
    for (const Case& c : cases) {
        std::string name;
        std::string value;
        EXPECT_EQ(c.result, utils::ReadNvp(c.line, name, value)) << c.line;
        EXPECT_EQ(c.name, name) << c.line;
        EXPECT_EQ(c.value, value) << c.line;
    }
}

namespace {
struct SettingsRun {
    EntrySettings settings;
    std::vector<std::string> folders;
    int errors = 0;
    std::string log;
};

SettingsRun Read(const std::string& text, bool folderOk = true) {
    const std::string dir = MakeTempDir("settings");
    if (!text.empty()) WriteFile(dir + "settings.ini", text);
    SettingsRun run;
    LogCapture log;
    run.settings = ReadSettingsFile(dir + "settings.ini", [&](const std::string& folder) {
        run.folders.push_back(folder);
        return folderOk;
    });
    run.errors = log.ErrorCount();
    run.log = log.Text();
    return run;
}
}  // namespace

TEST(SettingsFileTest, MissingFileKeepsTheDefaults) {
    const SettingsRun run = Read("");
    EXPECT_FALSE(run.settings.fileFound);
    EXPECT_TRUE(run.settings.useAppData);
    EXPECT_TRUE(run.settings.recreateLog);
    EXPECT_FALSE(run.settings.dev);
    EXPECT_FALSE(run.settings.advertisement);
    EXPECT_TRUE(run.settings.adVisible);
    EXPECT_TRUE(run.folders.empty());
    EXPECT_EQ(0, run.errors);
}

TEST(SettingsFileTest, ReadsTheSixLinesInOrderAndEntersThePathFirst) {
    const SettingsRun run = Read(
        "path=..\\game\r\nuseAppData=false\r\nrecreateLog=false\r\ndev=true\r\nadvertisement=true\r\n"
        "adVisible=false\r\nignored=line\r\n");
    EXPECT_TRUE(run.settings.fileFound);
    ASSERT_EQ(1u, run.folders.size());
    EXPECT_EQ("..\\game", run.folders[0]);
    EXPECT_FALSE(run.settings.useAppData);
    EXPECT_FALSE(run.settings.recreateLog);
    EXPECT_TRUE(run.settings.dev);
    EXPECT_TRUE(run.settings.advertisement);
    EXPECT_FALSE(run.settings.adVisible);
    EXPECT_EQ(0, run.errors);
}

TEST(SettingsFileTest, BadLinesAreReportedAndStillRead) {
    // "True" and "true " are not flags; a wrong name is reported but its value is used.
    const SettingsRun run =
        Read("path=.\nuseAppData=True\nrecreateLog=true \ndebug=true\nadvertisement\nadVisible=true\n", false);
    EXPECT_TRUE(run.log.find("SetCurrentDirectory(value.c_str())") != std::string::npos);
    EXPECT_FALSE(run.settings.useAppData);
    EXPECT_FALSE(run.settings.recreateLog);
    EXPECT_TRUE(run.settings.dev);
    EXPECT_TRUE(run.log.find("name == &quot;dev&quot;") != std::string::npos ||
                run.log.find("name == \"dev\"") != std::string::npos);
    EXPECT_TRUE(run.log.find("utils::ReadNvp(str, name, value)") != std::string::npos);
    EXPECT_TRUE(run.settings.adVisible);
    // SetCurrentDirectory, the flags, the name and the split; the three bad flags fail one check
    // at one place, which is written once.
    EXPECT_EQ(4, run.errors);
}

TEST(DataFolderTest, ApplicationDataFolderIsSeededWithoutOverwriting) {
    const std::string home = MakeTempDir("xdg");
    const std::string start = MakeTempDir("start");
    WriteFile(start + "GameInfo.xml", "new info");
    WriteFile(start + "Storage.xml", "new storage");
    char saved[4096];
    ASSERT_NE(nullptr, getcwd(saved, sizeof saved));
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    ASSERT_EQ(0, chdir(start.c_str()));

    const std::string folder = home + "Tornvik Entertainment/Marivel/";
    CreateDirectories(folder);
    WriteFile(folder + "Storage.xml", "kept storage");
    EntrySettings settings;
    EXPECT_EQ(folder, PrepareDataFolder(settings));
    SeedDataFolder(folder);
    EXPECT_EQ("new info", ReadFile(folder + "GameInfo.xml"));
    EXPECT_EQ("kept storage", ReadFile(folder + "Storage.xml"));

    // useAppData false: the current folder, nothing copied.
    settings.fileFound = true;
    settings.useAppData = false;
    EXPECT_EQ("", PrepareDataFolder(settings));

    ASSERT_EQ(0, chdir(saved));
    unsetenv("XDG_DATA_HOME");
}

// A save cut short leaves the profile aside: it comes back before the first-start copy is
// considered, and the copy never goes into a folder that holds any profile file.
TEST(DataFolderTest, ALeftoverProfileComesBackAndIsNeverReplacedByTheFirstStartCopy) {
    const std::string start = MakeTempDir("start");
    WriteFile(start + "GameInfo.xml", "<GameInfo/>");
    WriteFile(start + "Storage.xml", "<Storage><Globals/></Storage>");
    char saved[4096];
    ASSERT_NE(nullptr, getcwd(saved, sizeof saved));
    ASSERT_EQ(0, chdir(start.c_str()));
    const std::string kept = "<Storage><Globals/><Player name=\"Ann\"/></Storage>";
    const struct {
        std::vector<std::pair<std::string, std::string>> files;
        std::string expected;
    } cases[] = {
        {{{"Storage.xml.bak", kept}}, kept},
        {{{"Storage.xml.new", kept}}, kept},
        // A new text cut short: the backup is the newest whole one.
        {{{"Storage.xml.bak", kept}, {"Storage.xml.new", "<Storage><Globals/><Pla"}}, kept},
        // Only a broken leftover: nothing is copied over it, the reader deals with it.
        {{{"Storage.xml.new", "<Stor"}}, ""},
        {{}, "<Storage><Globals/></Storage>"},
    };
    for (const auto& c : cases) {
        const std::string folder = MakeTempDir("profile");
        for (const auto& file : c.files) WriteFile(folder + file.first, file.second);
        SeedDataFolder(folder);
        EXPECT_EQ(c.expected, FileExists(folder + "Storage.xml") ? ReadFile(folder + "Storage.xml") : "")
            << c.files.size();
        EXPECT_FALSE(FileExists(folder + "Storage.xml.part"));
    }
    ASSERT_EQ(0, chdir(saved));
}

TEST(CommandLineTest, OnlyTheExactFirstArgumentSelectsScreensaverMode) {
    struct Case {
        std::vector<const char*> argv;
        bool screensaver;
    } cases[] = {
        {{"Marivel"}, false},
        {{"Marivel", "/screensaver"}, true},
        {{"Marivel", "-screensaver", "more"}, true},
        {{"Marivel", "/Screensaver"}, false},
        {{"Marivel", "/screensaver "}, false},
        {{"Marivel", "--frames", "/screensaver"}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.screensaver, IsScreensaverCommandLine(static_cast<int>(c.argv.size()), c.argv.data()))
            << c.argv.size();
    }
}
