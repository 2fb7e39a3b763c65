// Every widget with content values out of all reason (the largest ints, numbers that are not
// numbers, infinities, negative sizes), in the game program, headless: the pointer passes over the
// whole screen twice, pressing, dragging, turning the wheel and typing, for a thousand frames. The
// program ends normally with no sanitizer report, and every report was made in the first pass:
// at load or at first use, never again.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/support/ProgramRun.h"
#include "tests/support/TestSupport.h"

namespace {

using testing_support::ProgramPath;
using testing_support::ReadFile;

// One pass of the pointer over the screen from the frame on; gives the frame after it.
int Pass(int frame, std::string& events) {
    int i = 0;
    for (int y = 10; y < 600; y += 50) {
        for (int x = 10; x < 800; x += 70, ++i, frame += 3) {
            const std::string at = std::to_string(frame);
            events += at + " move " + std::to_string(x) + " " + std::to_string(y) + "\n";
            if (i % 7 == 3) {
                events += std::to_string(frame + 1) + " down\n" + std::to_string(frame + 2) + " move " +
                          std::to_string(x + 30) + " " + std::to_string(y + 5) + "\n" + std::to_string(frame + 3) +
                          " up\n";
            }
            if (i % 11 == 5) events += std::to_string(frame + 1) + " wheel 120\n";
            if (i % 13 == 2) events += std::to_string(frame + 2) + " wheel -120\n";
        }
    }
    // Into the edit box: a click, typing and editing keys.
    const auto at = [frame](int k) { return std::to_string(frame + k); };
    events += at(0) + " move 400 80\n" + at(1) + " down\n" + at(2) + " up\n" + at(3) + " utf8 Ab c\n" + at(4) +
              " key 8\n" + at(5) + " key 36\n";
    return frame + 10;
}

// The error entries of a log, each with how often it stands there.
std::map<std::string, int> Errors(const std::string& log) {
    const std::string head = "ERROR : </B></Font><Font Size = 2 Color = Black Face = Verdana>";
    std::map<std::string, int> errors;
    for (std::size_t at = log.find(head); at != std::string::npos; at = log.find(head, at + 1)) {
        const std::size_t from = at + head.size();
        ++errors[log.substr(from, log.find("</Font>", from) - from)];
    }
    return errors;
}

struct ScreenRun {
    int exitCode = -1;
    std::string errorStream;
    std::map<std::string, int> errors;
};

ScreenRun RunHostileScreen(const std::string& events, int frames) {
    const std::string root = testing_support::MakeTempDir("hostile");
    const std::string data = root + "data/";
    std::filesystem::copy(MARIVEL_SOURCE_DIR "/data", data, std::filesystem::copy_options::recursive);
    const std::string fixtures = MARIVEL_SOURCE_DIR "/tests/widgets/fixtures/hostile/";
    for (const char* file : {"hostile.xml", "hostile_templates.xml"}) {
        std::filesystem::copy_file(fixtures + file, data + "screens/" + file);
    }
    std::filesystem::copy_file(fixtures + "start.lua", data + "start.lua",
                               std::filesystem::copy_options::overwrite_existing);
    testing_support::WriteFile(root + "events.txt", events);
    ScreenRun run;
    testing_support::ProgramRun program(
        data, root,
        {"--fixed-step", "20", "--seed", "5", "--frames", std::to_string(frames), "--events", root + "events.txt"},
        root + "stderr.txt", {"UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"});
    run.exitCode = program.Started() ? program.Wait(300) : -1;
    run.errorStream = ReadFile(root + "stderr.txt");
    run.errors = Errors(ReadFile(root + "Tornvik Entertainment/Marivel/log.htm"));
    return run;
}

TEST(HostileValuesRunTest, AThousandFramesOfHostileValuesAreReportedOnceAndRunSafely) {
    if (!testing_support::FileExists(ProgramPath())) GTEST_SKIP() << "not built: " << ProgramPath();
    std::string events;
    const int firstPassEnd = Pass(5, events);
    Pass(firstPassEnd, events);
    const ScreenRun once = RunHostileScreen(events, firstPassEnd);
    const ScreenRun twice = RunHostileScreen(events, 1000);
    for (const ScreenRun* run : {&once, &twice}) {
        EXPECT_EQ(0, run->exitCode) << run->errorStream;
        EXPECT_EQ(std::string::npos, run->errorStream.find("runtime error")) << run->errorStream;
        EXPECT_EQ(std::string::npos, run->errorStream.find("Sanitizer")) << run->errorStream;
    }
    // Nothing more after the first pass: each report stands in the log as often as after it.
    EXPECT_EQ(once.errors, twice.errors);
    // A few of the reports: a slider without room to move, a help box without text, a scale that is
    // no number, an edit box wider than any screen.
    for (const char* report : {"Assertion failed: _buttonMinX &lt; _buttonMaxX", "Assertion failed: points.size() != 0",
                               "Assertion failed: 0.0f &lt;= fontScale &amp;&amp; fontScale &lt;= 16.0f",
                               "Assertion failed: 0 &lt;= _width &amp;&amp; _width &lt;= 100000"}) {
        bool found = false;
        for (const auto& entry : twice.errors) found = found || entry.first.find(report) == 0;
        EXPECT_TRUE(found) << report;
    }
}

}  // namespace
