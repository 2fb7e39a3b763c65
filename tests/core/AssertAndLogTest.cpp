#include <gtest/gtest.h>

#include <stdexcept>

#include "core/Assert.h"
#include "core/Color.h"
#include "core/DataFolder.h"
#include "core/HtmlLog.h"
#include "tests/support/TestSupport.h"

using testing_support::LogCapture;

namespace {

std::tm FixedTime(int year, int mon, int day, int h, int m, int s) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = mon - 1;
    t.tm_mday = day;
    t.tm_hour = h;
    t.tm_min = m;
    t.tm_sec = s;
    return t;
}

class LogTest : public ::testing::Test {
protected:
    void SetUp() override {
        HtmlLog::SetClock([] { return FixedTime(2026, 12, 8, 9, 5, 3); });
    }
    void TearDown() override { HtmlLog::SetClock(nullptr); }
};

}  // namespace

TEST_F(LogTest, WholeLogMatchesGoldenFile) {
    LogCapture capture;
    HtmlLog::Open(true);
    HtmlLog::WriteLineColor("Application start!", "Green");
    HtmlLog::WriteLine("a <b> & c");
    ReportFailure("Error", "Sound devices not found", "shell/Sound.cpp", 42);
    HtmlLog::Close();
    EXPECT_EQ(capture.Text(), testing_support::ReadFile(testing_support::FixturePath("core/fixtures/log_golden.htm")));
}

TEST_F(LogTest, StampPadsEveryFieldAndKeepsFullYear) {
    HtmlLog::SetClock([] { return FixedTime(2027, 1, 1, 0, 5, 7); });
    EXPECT_EQ(HtmlLog::TimeStamp(),
              "<B><Font Size = 2 Color = DarkGreen Face = Verdana><01.01.2027 - 00:05:07> \n</Font></B>");
}

TEST_F(LogTest, OpenWithoutRecreateAppendsSecondHeader) {
    LogCapture capture;
    HtmlLog::Open(true);
    HtmlLog::Open(false);
    const std::string header = "<Html><Title>Log File</Title>\r\n<Body BgColor = Cornsilk>\r\n";
    EXPECT_EQ(capture.Text(), header + header);
}

TEST(HtmlLogEscape, EscapesOnlyMarkupCharacters) {
    EXPECT_EQ(HtmlLog::Escape("<B>x & \"y\"\n\xE9</B>"), "&lt;B&gt;x &amp; \"y\"\n\xE9&lt;/B&gt;");
}

TEST(HtmlLogFile, EmptyDataFolderWritesToCurrentDirectory) {
    const std::string saved = dataFolder;
    dataFolder.clear();
    EXPECT_EQ(HtmlLog::FileName(), "log.htm");
    dataFolder = saved;
}

TEST(HtmlLogFile, UnwritableFolderLosesEntrySilently) {
    const std::string saved = dataFolder;
    dataFolder = "/nonexistent-folder-for-marivel/";
    EXPECT_NO_THROW(HtmlLog::WriteLine("lost"));
    EXPECT_NO_THROW(ReportFailure("Error", "lost too", __FILE__, __LINE__));
    dataFolder = saved;
}

TEST(Failure, ComposedText) {
    EXPECT_EQ(ComposeFailureText("Error", "Sound devices not found", "a/b.cpp", 7),
              "Error: Sound devices not found\n\na/b.cpp, line 7");
    // Paths relative to a build folder are named from the project's top.
    EXPECT_EQ(ComposeFailureText("Error", "x", "../../core/b.cpp", 7), "Error: x\n\ncore/b.cpp, line 7");
    EXPECT_EQ(ComposeFailureText("Error", "x", "./../a/..b.cpp", 7), "Error: x\n\na/..b.cpp, line 7");
    EXPECT_EQ(ComposeFailureText("Error", "x", "..", 7), "Error: x\n\n.., line 7");
}

TEST(Failure, OutsideGuardLogsAndCarriesOn) {
    LogCapture capture;
    bool reachedNext = false;
    Assert(1 + 1 == 3);
    reachedNext = true;
    EXPECT_TRUE(reachedNext);
    EXPECT_EQ(capture.ErrorCount(), 1);
    EXPECT_TRUE(capture.Contains("Assertion failed: 1 + 1 == 3\n\n"));
}

TEST(Failure, InsideGuardThrowsAndDepthIsRestored) {
    LogCapture capture;
    std::string text;
    try {
        AssertThrowGuard guard;
        EXPECT_EQ(AssertThrowGuard::Depth(), 1);
        Assert(false);
        ADD_FAILURE() << "not thrown";
    } catch (const AssertionFailedException& e) {
        text = e.GetText();
        EXPECT_EQ(AssertThrowGuard::Depth(), 0);
    }
    EXPECT_EQ(text.rfind("Assertion failed: false\n\n", 0), 0u);
    EXPECT_EQ(capture.ErrorCount(), 1);
}

TEST(Failure, NestedGuardsUnwindToNearestHandler) {
    AssertThrowGuard outer;
    int depthInHandler = -1;
    try {
        AssertThrowGuard inner;
        ReportError("inner failure");
    } catch (const AssertionFailedException&) {
        depthInHandler = AssertThrowGuard::Depth();
    }
    EXPECT_EQ(depthInHandler, 1);
}

namespace {
struct FailsInDestructor {
    ~FailsInDestructor() { Assert(false); }
};
}  // namespace

TEST(Failure, CheckDuringUnwindingIsSilent) {
    LogCapture capture;
    AssertThrowGuard guard;
    try {
        FailsInDestructor f;
        throw std::runtime_error("unwinding");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(capture.ErrorCount(), 0);
}

TEST(Failure, LogNamesSourceFilesRelativeToTheProject) {
    testing_support::LogCapture capture;
    Color::FromString("bad");
    const std::string text = capture.Text();
    EXPECT_NE(std::string::npos, text.find("\ncore/Color.cpp, line ")) << text;
    EXPECT_EQ(std::string::npos, text.find(MARIVEL_SOURCE_DIR)) << text;
    // A compiler handed paths relative to the build folder: the steps up are dropped.
    for (const char* path : {"../../core/Color.cpp", "./core/Color.cpp", "core/Color.cpp"}) {
        EXPECT_EQ("E: t\n\ncore/Color.cpp, line 3", ComposeFailureText("E", "t", path, 3)) << path;
    }
}

// However much is reported, the log stays under its limit and says once that it stopped; an
// entry's text is cut; each fault and place is written once, and a place that reports ever new
// texts at most a hundred times.
TEST(HtmlLogFile, FloodsStayUnderTheLimitAndEachFaultIsWrittenOnce) {
    {
        LogCapture log;
        for (int i = 0; i < 1000; ++i) ReportFailure("Error", "the same fault", __FILE__, __LINE__);
        EXPECT_EQ(log.ErrorCount(), 1);
        for (int i = 0; i < 1000; ++i) ReportFailure("Error", "fault " + std::to_string(i), __FILE__, __LINE__);
        EXPECT_EQ(log.ErrorCount(), 1 + 100 + 1);
        EXPECT_TRUE(log.Contains("are left out"));
        EXPECT_TRUE(log.Contains("fault 99\n"));
        EXPECT_FALSE(log.Contains("fault 100\n"));
    }
    {
        LogCapture log;
        HtmlLog::WriteLine(std::string(100000, 'x'));
        const std::string text = log.Text();
        EXPECT_LT(text.size(), HtmlLog::MAX_ENTRY_TEXT + 400);
        EXPECT_TRUE(log.Contains("(95904 more bytes left out)"));
    }
    LogCapture log;
    const std::string line(HtmlLog::MAX_ENTRY_TEXT, 'y');
    for (int i = 0; i < 2000; ++i) HtmlLog::WriteLine(line);
    // A short entry that would fit in what is left after the closing line is left out as well.
    HtmlLog::WriteLine("short");
    HtmlLog::Close();
    const std::string text = log.Text();
    EXPECT_LE(text.size(), static_cast<std::size_t>(HtmlLog::MAX_FILE_SIZE) + 1000);
    EXPECT_GT(text.size(), static_cast<std::size_t>(HtmlLog::MAX_FILE_SIZE) - 2 * HtmlLog::MAX_ENTRY_TEXT);
    EXPECT_EQ(testing_support::CountOf(text, "The log has reached its limit"), 1);
    EXPECT_EQ(text.find("short"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 17), "</Body> </Html>\r\n");
    // An emptied log takes entries again.
    LogCapture again;
    HtmlLog::WriteLine("after");
    EXPECT_TRUE(again.Contains("after"));
}
