// Installing and removing the screensaver over the file-backed system stores, and the shell
// commands.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <cstdlib>

#include "core/CurrentDirectory.h"
#include "core/DataFolder.h"
#include "platform/shell/ProfileFile.h"
#include "shell/ScreensaverInstall.h"
#include "shell/ShellCommands.h"
#include "tests/support/TestSupport.h"

using testing_support::LogCapture;
using testing_support::MakeTempDir;
using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

std::string Canonical(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

class ScreensaverTest : public testing::Test {
protected:
    void SetUp() override {
        _savedFolder = dataFolder;
        dataFolder = MakeTempDir("stores");
        install = MakeTempDir("install");
        beside = MakeTempDir("program");
        const char* argv[] = {nullptr};
        _savedArgs = ProgramArguments::Get();
        program = beside + "Marivel";
        argv[0] = program.c_str();
        ProgramArguments::Set(1, argv);
    }
    void TearDown() override {
        std::vector<const char*> argv;
        for (const auto& a : _savedArgs) argv.push_back(a.c_str());
        ProgramArguments::Set(static_cast<int>(argv.size()), argv.data());
        dataFolder = _savedFolder;
    }
    void Registry(const std::string& text) { WriteFile(dataFolder + "registry.ini", text); }
    std::string Stored(const std::string& file, const std::string& section, const std::string& key) {
        std::string value = "<missing>";
        ProfileFile(dataFolder + file).Get(section, key, value);
        return value;
    }

    std::string install;
    std::string beside;
    std::string program;

private:
    std::string _savedFolder;
    std::vector<std::string> _savedArgs;
};

const char* const DESKTOP = "HKEY_CURRENT_USER\\Control Panel\\Desktop";

}  // namespace

TEST_F(ScreensaverTest, InstallPathFromTheRegistryComesFirst) {
    WriteFile(install + "Marivel Screensaver.scr", "scr");
    Registry("[HKEY_CURRENT_USER\\Software\\Tornvik Entertainment\\Marivel]\nInstallPath=" +
             install.substr(0, install.size() - 1) + "\n[" + DESKTOP + "]\nScreenSaveTimeOut=600\n");
    LogCapture log;
    InstallScreensaver();
    const std::string expected = Canonical(install + "Marivel Screensaver.scr");
    EXPECT_EQ(expected, Stored("system.ini", "boot", "SCRNSAVE.EXE"));
    EXPECT_EQ("1", Stored("registry.ini", DESKTOP, "ScreenSaveActive"));
    EXPECT_EQ("600", Stored("registry.ini", DESKTOP, "ScreenSaveTimeOut"));
    EXPECT_TRUE(log.Contains("GetRegistryScreensaverPath: answer == " + expected));
    EXPECT_FALSE(log.Contains("GetScreensaverPath1"));
    EXPECT_EQ(0, log.ErrorCount());
    EXPECT_TRUE(IsScreensaverEnabled());

    UninstallScreensaver();
    EXPECT_EQ("", Stored("system.ini", "boot", "SCRNSAVE.EXE"));
    EXPECT_EQ("0", Stored("registry.ini", DESKTOP, "ScreenSaveActive"));
    EXPECT_FALSE(IsScreensaverEnabled());
}

TEST_F(ScreensaverTest, WithoutTheRegistryKeyTheProgramFolderIsUsed) {
    WriteFile(beside + "Marivel Screensaver.scr", "scr");
    LogCapture log;
    InstallScreensaver();
    const std::string expected = Canonical(beside + "Marivel Screensaver.scr");
    EXPECT_EQ(expected, Stored("system.ini", "boot", "SCRNSAVE.EXE"));
    EXPECT_EQ("60", Stored("registry.ini", DESKTOP, "ScreenSaveTimeOut"));
    const std::string text = log.Text();
    const char* lines[] = {"GetScreensaverPath1: __argc &gt;= 1", "GetScreensaverPath1: __argv[0] != NULL",
                           "GetScreensaverPath1: path == ", "GetScreensaverPath1: answer == "};
    size_t at = 0;
    for (const char* line : lines) {
        const size_t found = text.find(line, at);
        ASSERT_NE(std::string::npos, found) << line;
        at = found;
    }
    EXPECT_TRUE(log.Contains("GetScreensaverPath1: answer == " + expected));
    EXPECT_FALSE(log.Contains("GetScreensaverPath2"));
    // The registry way failed first: its check is in the log.
    EXPECT_EQ(1, log.ErrorCount());
}

TEST_F(ScreensaverTest, NoScreensaverFileAnywhereInstallsNothing) {
    LogCapture log;
    InstallScreensaver();
    EXPECT_EQ("<missing>", Stored("system.ini", "boot", "SCRNSAVE.EXE"));
    EXPECT_TRUE(log.Contains("GetScreensaverPath2: path == " + CurrentDirectory::Get() + "\\Marivel Screensaver.scr"));
    EXPECT_FALSE(log.Contains("GetScreensaverPath2: answer"));
    EXPECT_FALSE(IsScreensaverEnabled());
}

TEST_F(ScreensaverTest, EnabledOnlyWithTheSwitchOnAndTheSamePath) {
    WriteFile(beside + "Marivel Screensaver.scr", "scr");
    InstallScreensaver();
    EXPECT_TRUE(IsScreensaverEnabled());
    // The same file by another spelling is not the same path.
    WriteFile(dataFolder + "system.ini", "[boot]\nSCRNSAVE.EXE=" + beside + "./Marivel Screensaver.scr\n");
    EXPECT_FALSE(IsScreensaverEnabled());
    InstallScreensaver();
    Registry(std::string("[") + DESKTOP + "]\nScreenSaveActive=0\n");
    EXPECT_FALSE(IsScreensaverEnabled());
}

namespace {
class SpawnRecorder {
public:
    SpawnRecorder() {
        ShellCommands::SetSpawner([this](const std::vector<std::string>& argv) {
            std::string line;
            for (const auto& a : argv) line += "[" + a + "]";
            calls.push_back(line);
            return true;
        });
    }
    ~SpawnRecorder() { ShellCommands::SetSpawner(nullptr); }
    std::vector<std::string> calls;
};
}  // namespace

TEST(ShellCommandsTest, OnlyExistingFilesAndWebAddressesAreHandedOn) {
    const std::string dir = MakeTempDir("shellcmd");
    WriteFile(dir + "site.url", "[InternetShortcut]\r\nURL=https://example.org/page\r\n");
    WriteFile(dir + "local.url", "[InternetShortcut]\r\nURL=file:///etc/passwd\r\n");
    WriteFile(dir + "manual.txt", "text");
    WriteFile(dir + "game", "#!/bin/sh\n");
    SpawnRecorder spawner;
    LogCapture log;
    ShellExecuteOpen(dir + "missing.url");
    RunExecutable(dir + "missing");
    EXPECT_TRUE(spawner.calls.empty());
    ShellExecuteOpen(dir + "site.url");
    ShellExecuteOpen(dir + "local.url");
    ShellExecuteOpen(dir + "manual.txt");
    RunExecutable(dir + "game");
    EXPECT_FALSE(ShellCommands::OpenWebAddress("javascript:alert(1)"));
    EXPECT_FALSE(ShellCommands::OpenWebAddress("https://a b"));
    EXPECT_TRUE(ShellCommands::OpenWebAddress("HTTP://example.org"));
    const std::vector<std::string> expected = {"[xdg-open][https://example.org/page]",
                                               "[xdg-open][" + dir + "manual.txt]", "[" + dir + "game]",
                                               "[xdg-open][HTTP://example.org]"};
    EXPECT_EQ(expected, spawner.calls);
    EXPECT_EQ(0, log.ErrorCount());
}
