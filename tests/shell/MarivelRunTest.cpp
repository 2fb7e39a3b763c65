// The game program started as a person starts it, headless, on the demo content.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/render/PngFile.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TestSupport.h"

using testing_support::FileExists;
using testing_support::MakeTempDir;
using testing_support::ProgramPath;
using testing_support::ReadFile;

namespace {

using testing_support::ProgramRun;

class MarivelRunTest : public testing::Test {
protected:
    void SetUp() override {
        if (!FileExists(ProgramPath())) GTEST_SKIP() << "the program is not built: " << ProgramPath();
        home = MakeTempDir("home");
        folder = home + "Tornvik Entertainment/Marivel/";
    }
    int Count(const std::string& text, const std::string& what) {
        int n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    }

    std::string home;
    std::string folder;
};

}  // namespace

TEST_F(MarivelRunTest, StartsDrawsTheFirstScreenAndShutsDownCleanly) {
    const std::string shot = home + "shot.png";
    ProgramRun run(MARIVEL_SOURCE_DIR "/data", home, {"--frames", "120", "--screenshot", shot});
    ASSERT_TRUE(run.Started());
    ASSERT_EQ(0, run.Wait(120));
    const std::string log = ReadFile(folder + "log.htm");
    EXPECT_EQ(0, Count(log, "ERROR")) << log;
    EXPECT_EQ(1, Count(log, "Application start!"));
    EXPECT_EQ(1, Count(log, "Application shutdown!"));
    EXPECT_EQ(1, Count(log, "</Body> </Html>"));
    // Saved at exit over the seeded copy, which became the backup.
    EXPECT_TRUE(FileExists(folder + "Storage.xml"));
    EXPECT_TRUE(FileExists(folder + "Storage.xml.bak"));
    EXPECT_TRUE(ReadFile(folder + "Storage.xml").find("<ActivePlayer name=\"Player\"/>") != std::string::npos);

    render_layer::PngPicture picture;
    std::string error;
    ASSERT_TRUE(render_layer::ReadPng(shot, &picture, &error)) << error;
    ASSERT_EQ(800u, picture.width);
    ASSERT_EQ(600u, picture.height);
    auto at = [&](int x, int y) { return picture.pixels[static_cast<size_t>(y) * 800 + static_cast<size_t>(x)]; };
    // The picture cursor's white arrow where the pointer starts (the middle), over the blue menu.
    const std::uint32_t cursor = at(402, 309);
    EXPECT_GT((cursor >> 16) & 0xFF, 200u);
    EXPECT_GT(cursor & 0xFF, 200u);
    const std::uint32_t water = at(100, 200);
    EXPECT_GT(water & 0xFF, ((water >> 16) & 0xFF) + 40);
}

TEST_F(MarivelRunTest, SecondStartExitsWhileTheFirstRuns) {
    ProgramRun first(MARIVEL_SOURCE_DIR "/data", home, {"--frames", "1000000", "--fixed-step", "16"});
    ASSERT_TRUE(first.Started());
    for (int i = 0; i < 600 && ReadFile(folder + "log.htm").find("Demo content started") == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_NE(std::string::npos, ReadFile(folder + "log.htm").find("Demo content started"));
    ProgramRun second(MARIVEL_SOURCE_DIR "/data", home, {"--frames", "5"});
    EXPECT_EQ(0, second.Wait(60));
    EXPECT_EQ(1, Count(ReadFile(folder + "log.htm"), "Application start!"));
    // The first instance goes on and ends normally on a termination request.
    first.Signal(SIGTERM);
    EXPECT_EQ(0, first.Wait(60));
    const std::string log = ReadFile(folder + "log.htm");
    EXPECT_EQ(1, Count(log, "Application shutdown!"));
    EXPECT_EQ(0, Count(log, "ERROR")) << log;
}

TEST_F(MarivelRunTest, TermAndInterruptEndTheGamePromptlyAfterSavingTheProfile) {
    struct Case {
        int signal;
        const char* when;  // the log line to wait for
        bool sdlHandlers;  // SDL's own handlers would turn the signal into a quit event
    };
    for (const Case c : {Case{SIGTERM, "Demo content started", true}, Case{SIGINT, "Demo content started", true},
                         Case{SIGTERM, "<Html>", true}, Case{SIGTERM, "Demo content started", false}}) {
        SCOPED_TRACE(std::string(c.when) + " " + std::to_string(c.signal) + (c.sdlHandlers ? "" : " no SDL handlers"));
        if (!c.sdlHandlers) setenv("SDL_NO_SIGNAL_HANDLERS", "1", 1);
        home = MakeTempDir("home");
        folder = home + "Tornvik Entertainment/Marivel/";
        ProgramRun run(MARIVEL_SOURCE_DIR "/data", home, {"--frames", "1000000", "--fixed-step", "16"});
        ASSERT_TRUE(run.Started());
        for (int i = 0; i < 1200 && ReadFile(folder + "log.htm").find(c.when) == std::string::npos; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ASSERT_NE(std::string::npos, ReadFile(folder + "log.htm").find(c.when));
        run.Signal(c.signal);
        EXPECT_EQ(0, run.Wait(30));
        unsetenv("SDL_NO_SIGNAL_HANDLERS");
        const std::string log = ReadFile(folder + "log.htm");
        EXPECT_EQ(1, Count(log, "Application shutdown!"));
        EXPECT_EQ(0, Count(log, "ERROR")) << log;
        // Saved over the seeded copy, which became the backup.
        EXPECT_EQ(ReadFile(MARIVEL_SOURCE_DIR "/data/Storage.xml"), ReadFile(folder + "Storage.xml.bak"));
        EXPECT_TRUE(FileExists(folder + "Storage.xml"));
    }
}

TEST_F(MarivelRunTest, ScreensaverModeEndsOnAKeyAndSavesNothing) {
    const std::string events = home + "events.txt";
    testing_support::WriteFile(events, "# a key ends the screensaver\n3 key 32\n");
    ProgramRun run(MARIVEL_SOURCE_DIR "/data", home, {"/screensaver", "--events", events, "--frames", "500"});
    ASSERT_TRUE(run.Started());
    ASSERT_EQ(0, run.Wait(120));
    const std::string log = ReadFile(folder + "log.htm");
    EXPECT_EQ(1, Count(log, "Application shutdown!"));
    EXPECT_EQ(0, Count(log, "ERROR")) << log;
    EXPECT_EQ(ReadFile(MARIVEL_SOURCE_DIR "/data/Storage.xml"), ReadFile(folder + "Storage.xml"));
    EXPECT_FALSE(FileExists(folder + "Storage.xml.bak"));
}

TEST_F(MarivelRunTest, CloseDuringStartUpSkipsTheStartScriptAndShutsDownCleanly) {
    const std::string events = home + "events.txt";
    testing_support::WriteFile(events, "1 close\n");
    ProgramRun run(MARIVEL_SOURCE_DIR "/data", home, {"--events", events, "--frames", "500"});
    ASSERT_TRUE(run.Started());
    ASSERT_EQ(0, run.Wait(120));
    const std::string log = ReadFile(folder + "log.htm");
    EXPECT_EQ(0, Count(log, "Demo content started"));
    EXPECT_EQ(1, Count(log, "Application shutdown!"));
    EXPECT_EQ(0, Count(log, "ERROR")) << log;
}

TEST_F(MarivelRunTest, InactiveWindowDrawsThePauseOverlayOnRepaint) {
    const std::string events = home + "events.txt";
    testing_support::WriteFile(events, "4 deactivate\n4 paint\n");
    auto frameFour = [&](const std::vector<std::string>& extra, const std::string& shot) {
        std::vector<std::string> args = {"--frames", "4", "--fixed-step", "20", "--screenshot", shot};
        args.insert(args.end(), extra.begin(), extra.end());
        ProgramRun run(MARIVEL_SOURCE_DIR "/data", home, args);
        EXPECT_TRUE(run.Started());
        EXPECT_EQ(0, run.Wait(120));
        render_layer::PngPicture picture;
        std::string error;
        EXPECT_TRUE(render_layer::ReadPng(shot, &picture, &error)) << error;
        return picture.pixels.size() == 800u * 600u ? picture.pixels[200 * 800 + 100] : 0u;
    };
    const std::uint32_t active = frameFour({}, home + "active.png");
    const std::uint32_t paused = frameFour({"--events", events}, home + "paused.png");
    EXPECT_EQ(0, Count(ReadFile(folder + "log.htm"), "ERROR"));
    // Black at half opacity over the picture.
    for (int shift : {0, 8, 16}) {
        const int a = static_cast<int>((active >> shift) & 0xFF);
        const int p = static_cast<int>((paused >> shift) & 0xFF);
        EXPECT_NEAR(a / 2, p, 3) << shift;
    }
}

TEST_F(MarivelRunTest, StartedWithoutContentTellsTheFirstErrorAndTheLogAndFails) {
    const std::string empty = MakeTempDir("empty");
    const std::string errors = home + "stderr.txt";
    ProgramRun run(empty, home, {"--frames", "5"}, errors);
    ASSERT_TRUE(run.Started());
    EXPECT_EQ(1, run.Wait(120));
    const std::string log = ReadFile(folder + "log.htm");
    const std::string told = ReadFile(errors);
    EXPECT_NE(std::string::npos, told.find("Marivel: cannot run start.lua in " + empty.substr(0, empty.size() - 1) + "\n"))
        << told;
    // The first error of the log (a fresh data folder has no storage yet), with its source line.
    EXPECT_NE(std::string::npos, told.find("Marivel: Error: ")) << told;
    EXPECT_NE(std::string::npos, told.find("Storage.xml")) << told;
    EXPECT_NE(std::string::npos, told.find("(core/FileWrapper.cpp, line ")) << told;
    EXPECT_NE(std::string::npos, told.find("Marivel: see the log " + folder + "log.htm\n")) << told;
    EXPECT_NE(std::string::npos, log.find("cannot open start.lua")) << log;
    EXPECT_EQ(1, Count(log, "Application shutdown!"));
}

TEST_F(MarivelRunTest, CleanRunSaysNothingOnTheErrorStream) {
    const std::string errors = home + "stderr.txt";
    ProgramRun run(MARIVEL_SOURCE_DIR "/data", home, {"--frames", "3"}, errors);
    ASSERT_TRUE(run.Started());
    ASSERT_EQ(0, run.Wait(120));
    // Drivers may speak there; the game itself says nothing.
    EXPECT_EQ(std::string::npos, ReadFile(errors).find("Marivel")) << ReadFile(errors);
}

TEST_F(MarivelRunTest, ScriptedEventsKeepArrivingWhileTheWindowIsPaused) {
    const std::string events = home + "events.txt";
    testing_support::WriteFile(events, "3 deactivate\n20 activate\n25 deactivate\n40 close\n");
    ProgramRun run(MARIVEL_SOURCE_DIR "/data", home, {"--events", events, "--fixed-step", "20"});
    ASSERT_TRUE(run.Started());
    ASSERT_EQ(0, run.Wait(60)) << "the close at frame 40 never arrived";
    const std::string log = ReadFile(folder + "log.htm");
    EXPECT_EQ(1, Count(log, "Application shutdown!"));
    EXPECT_EQ(0, Count(log, "ERROR")) << log;
}

TEST_F(MarivelRunTest, AppDataOffLeavesNothingInTheUserDataFolder) {
    // A copy of the demo game whose settings keep the data in the game folder.
    const std::string game = MakeTempDir("game");
    std::filesystem::copy(MARIVEL_SOURCE_DIR "/data", game, std::filesystem::copy_options::recursive);
    testing_support::WriteFile(game + "settings.ini",
                               "path=.\nuseAppData=false\nrecreateLog=true\ndev=false\nadvertisement=false\n"
                               "adVisible=true\n");
    ProgramRun run(game, home, {"--frames", "10"});
    ASSERT_TRUE(run.Started());
    ASSERT_EQ(0, run.Wait(120));
    EXPECT_TRUE(std::filesystem::is_empty(home)) << "something was made under XDG_DATA_HOME";
    const std::string log = ReadFile(game + "log.htm");
    EXPECT_EQ(1, Count(log, "Application shutdown!"));
    EXPECT_EQ(0, Count(log, "ERROR")) << log;
    EXPECT_TRUE(FileExists(game + "Marivel.lock"));
}

TEST_F(MarivelRunTest, AProfileThatCannotBeSavedIsToldOnTheErrorStream) {
    // The profile is there; a folder in the place of the new text makes every save fail.
    std::filesystem::create_directories(folder + "Storage.xml.new");
    const std::string profile = ReadFile(MARIVEL_SOURCE_DIR "/data/Storage.xml");
    testing_support::WriteFile(folder + "Storage.xml", profile);
    const std::string errors = home + "stderr.txt";
    ProgramRun run(MARIVEL_SOURCE_DIR "/data", home, {"--frames", "3"}, errors);
    ASSERT_TRUE(run.Started());
    EXPECT_EQ(0, run.Wait(120));
    const std::string told = ReadFile(errors);
    EXPECT_NE(std::string::npos, told.find("Marivel: the profile " + folder + "Storage.xml could not be saved (see " +
                                           folder + "log.htm)\n"))
        << told;
    EXPECT_EQ(profile, ReadFile(folder + "Storage.xml"));
}

// The frames the driver holds are bounded: thousands of frames on the menu take no more memory than
// a few hundred. The peak resident size of the children waited for so far tells each run's peak; the
// sanitizer keeps no freed memory back in these runs.
TEST_F(MarivelRunTest, ThousandsOfFramesOnTheMenuKeepThePeakMemoryOfAFewHundred) {
    const std::vector<std::string> noQuarantine = {"ASAN_OPTIONS=detect_leaks=0:quarantine_size_mb=0"};
    const auto peakKb = [&](int frames) {
        const std::string runHome = MakeTempDir("home");
        ProgramRun run(MARIVEL_SOURCE_DIR "/data", runHome, {"--frames", std::to_string(frames), "--fixed-step", "16"},
                       std::string(), noQuarantine);
        EXPECT_TRUE(run.Started());
        EXPECT_EQ(0, run.Wait(300)) << frames << " frames";
        rusage usage{};
        getrusage(RUSAGE_CHILDREN, &usage);
        return usage.ru_maxrss;
    };
    const long early = peakKb(300);
    const long late = peakKb(2000);  // the larger of both runs' peaks
    RecordProperty("early_kb", static_cast<int>(early));
    RecordProperty("late_kb", static_cast<int>(late));
    // An unbounded queue grew by about 140 KB a frame: 240 MB over these frames.
    EXPECT_LE(late, early + early / 10) << early << " kB after 300 frames, " << late << " kB after 2000";
}
