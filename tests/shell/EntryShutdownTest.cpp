// The shutdown after the application: saving, archive, leak check, hand-off.
#include <gtest/gtest.h>

#include "core/Assert.h"
#include "shell/EntryShutdown.h"
#include "tests/support/TestSupport.h"

namespace {

class RecordingShutdown : public ShutdownPorts {
public:
    void UnloadStorage() override { calls.push_back("unload"); }
    void DiscardStorage() override { calls.push_back("discard"); }
    void ReportMaxVideoMemory() override { calls.push_back("video memory"); }
    void WriteLogLine(const std::string& text, const std::string& color) override {
        calls.push_back("log " + text + " " + color);
    }
    std::string GetDocumentsFolder() override { return "/home/p/Documents"; }
    std::string GetDataFolder() override { return "/data/"; }
    void CreateFolder(const std::string& path) override { calls.push_back("mkdir " + path); }
    void DeleteFile(const std::string& path) override { calls.push_back("delete " + path); }
    bool Spawn(const std::vector<std::string>& argv) override {
        std::string line = "spawn";
        for (const auto& a : argv) line += " [" + a + "]";
        calls.push_back(line);
        return spawnWorks;
    }
    void OpenWebAddress(const std::string& address) override { calls.push_back("open " + address); }
    void CheckAllDestroyed() override { calls.push_back("leak check"); }
    void CloseLog() override { calls.push_back("close log"); }
    void ShellExecuteOpen(const std::string& path) override { calls.push_back("shell open " + path); }
    void RunExecutable(const std::string& path) override { calls.push_back("run " + path); }

    bool spawnWorks = true;
    std::vector<std::string> calls;
};

const char* const ARCHIVE =
    "spawn [7z] [a] [/home/p/Documents/Marivel/log.zip] [/data/*.csv] [/data/log.htm] [/data/GameInfo.xml] "
    "[/data/Storage.xml]";

}  // namespace

TEST(EntryShutdownTest, MatrixOfScreensaverModeLogZippingAndLevel) {
    struct Case {
        bool screensaver;
        bool zipLog;
        int level;
        std::vector<std::string> calls;
    };
    const std::vector<std::string> archive = {"mkdir /home/p/Documents/Marivel",
                                              "delete /home/p/Documents/Marivel/log.zip", ARCHIVE,
                                              "open https://report.example/"};
    auto expected = [&](bool screensaver, bool archived) {
        std::vector<std::string> calls = {screensaver ? "discard" : "unload", "video memory",
                                          "log Application shutdown! DarkBlue"};
        if (archived) calls.insert(calls.end(), archive.begin(), archive.end());
        calls.push_back("leak check");
        calls.push_back("close log");
        if (!screensaver) {
            calls.push_back("shell open ../play.url");
            calls.push_back("run ../fscommand/wgame.exe");
        }
        return calls;
    };
    for (bool screensaver : {false, true}) {
        for (bool zipLog : {false, true}) {
            for (int level : {1, 5, 6, 12}) {
                ShutdownValues values;
                values.screensaverMode = screensaver;
                values.zipLog = zipLog;
                values.levelNumber = level;
                values.reportTo = "https://report.example/";
                RecordingShutdown ports;
                RunShutdown(values, ports);
                EXPECT_EQ(expected(screensaver, zipLog && level >= 6), ports.calls)
                    << screensaver << zipLog << level;
            }
        }
    }
}

TEST(EntryShutdownTest, ArchiverThatCannotStartEndsOnlyTheArchiveStep) {
    testing_support::LogCapture log;
    ShutdownValues values;
    values.zipLog = true;
    values.levelNumber = 6;
    values.reportTo = "https://report.example/";
    RecordingShutdown ports;
    ports.spawnWorks = false;
    RunShutdown(values, ports);
    EXPECT_EQ(1, log.ErrorCount());
    EXPECT_TRUE(log.Contains("res &gt; 31") || log.Contains("res > 31"));
    const std::vector<std::string> expected = {"unload",
                                               "video memory",
                                               "log Application shutdown! DarkBlue",
                                               "mkdir /home/p/Documents/Marivel",
                                               "delete /home/p/Documents/Marivel/log.zip",
                                               ARCHIVE,
                                               "leak check",
                                               "close log",
                                               "shell open ../play.url",
                                               "run ../fscommand/wgame.exe"};
    EXPECT_EQ(expected, ports.calls);
    EXPECT_EQ(0, AssertThrowGuard::Depth());
}
