// The game program started as a person starts it, headless, on the demo content.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <thread>

#include "platform/render/PngFile.h"
#include "tests/support/TestSupport.h"

extern char** environ;

using testing_support::FileExists;
using testing_support::MakeTempDir;
using testing_support::ReadFile;

namespace {

std::string ProgramPath() {
    char self[PATH_MAX] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path(self, n > 0 ? static_cast<size_t>(n) : 0);
    path = path.substr(0, path.find_last_of('/'));  // tests/
    path = path.substr(0, path.find_last_of('/'));  // the build folder
    return path + "/Marivel";
}

class ProgramRun {
public:
    ProgramRun(const std::string& home, const std::vector<std::string>& args) {
        std::vector<std::string> env = {"SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy", "XDG_DATA_HOME=" + home,
                                        "ASAN_OPTIONS=detect_leaks=0"};
        for (char** e = environ; *e; ++e) {
            const std::string entry = *e;
            const std::string name = entry.substr(0, entry.find('='));
            if (name != "SDL_VIDEODRIVER" && name != "SDL_AUDIODRIVER" && name != "XDG_DATA_HOME" &&
                name != "ASAN_OPTIONS") {
                env.push_back(entry);
            }
        }
        std::vector<std::string> argv = {ProgramPath()};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> a;
        for (auto& s : argv) a.push_back(&s[0]);
        a.push_back(nullptr);
        std::vector<char*> e;
        for (auto& s : env) e.push_back(&s[0]);
        e.push_back(nullptr);
        // The program starts in the demo content's folder.
        char saved[PATH_MAX];
        if (getcwd(saved, sizeof saved) == nullptr) return;
        if (chdir(MARIVEL_SOURCE_DIR "/data") != 0) return;
        if (posix_spawn(&_pid, a[0], nullptr, nullptr, a.data(), e.data()) != 0) _pid = 0;
        if (chdir(saved) != 0) _pid = 0;
    }
    ~ProgramRun() {
        if (_pid > 0) {
            kill(_pid, SIGKILL);
            Wait(10);
        }
    }
    // Exit code, or -1 when it does not end in time.
    int Wait(int seconds) {
        for (int i = 0; i < seconds * 20 && _pid > 0; ++i) {
            int status = 0;
            if (waitpid(_pid, &status, WNOHANG) == _pid) {
                _pid = 0;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return -1;
    }
    void Signal(int signal) {
        if (_pid > 0) kill(_pid, signal);
    }
    bool Started() const { return _pid > 0; }

private:
    pid_t _pid = 0;
};

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
    ProgramRun run(home, {"--frames", "120", "--screenshot", shot});
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
    // The picture cursor's white arrow where the pointer starts (the middle), over blue water.
    const std::uint32_t cursor = at(402, 309);
    EXPECT_GT((cursor >> 16) & 0xFF, 200u);
    EXPECT_GT(cursor & 0xFF, 200u);
    const std::uint32_t water = at(200, 150);
    EXPECT_LT((water >> 16) & 0xFF, 120u);
    EXPECT_GT(water & 0xFF, 150u);
}

TEST_F(MarivelRunTest, SecondStartExitsWhileTheFirstRuns) {
    ProgramRun first(home, {"--frames", "1000000", "--fixed-step", "16"});
    ASSERT_TRUE(first.Started());
    for (int i = 0; i < 600 && ReadFile(folder + "log.htm").find("Demo content started") == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_NE(std::string::npos, ReadFile(folder + "log.htm").find("Demo content started"));
    ProgramRun second(home, {"--frames", "5"});
    EXPECT_EQ(0, second.Wait(60));
    EXPECT_EQ(1, Count(ReadFile(folder + "log.htm"), "Application start!"));
    // The first instance goes on and ends normally on a termination request.
    first.Signal(SIGTERM);
    EXPECT_EQ(0, first.Wait(60));
    const std::string log = ReadFile(folder + "log.htm");
    EXPECT_EQ(1, Count(log, "Application shutdown!"));
    EXPECT_EQ(0, Count(log, "ERROR")) << log;
}

TEST_F(MarivelRunTest, ScreensaverModeEndsOnAKeyAndSavesNothing) {
    const std::string events = home + "events.txt";
    testing_support::WriteFile(events, "# a key ends the screensaver\n3 key 32\n");
    ProgramRun run(home, {"/screensaver", "--events", events, "--frames", "500"});
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
    ProgramRun run(home, {"--events", events, "--frames", "500"});
    ASSERT_TRUE(run.Started());
    ASSERT_EQ(0, run.Wait(120));
    const std::string log = ReadFile(folder + "log.htm");
    EXPECT_EQ(0, Count(log, "Demo content started"));
    EXPECT_EQ(1, Count(log, "Application shutdown!"));
    EXPECT_EQ(0, Count(log, "ERROR")) << log;
}

TEST_F(MarivelRunTest, InactiveWindowDrawsThePauseOverlayOnRepaint) {
    const std::string events = home + "events.txt";
    const std::string shot = home + "paused.png";
    testing_support::WriteFile(events, "4 deactivate\n4 paint\n");
    ProgramRun run(home, {"--events", events, "--frames", "4", "--screenshot", shot});
    ASSERT_TRUE(run.Started());
    ASSERT_EQ(0, run.Wait(120));
    EXPECT_EQ(0, Count(ReadFile(folder + "log.htm"), "ERROR"));
    render_layer::PngPicture picture;
    std::string error;
    ASSERT_TRUE(render_layer::ReadPng(shot, &picture, &error)) << error;
    ASSERT_EQ(800u * 600u, picture.pixels.size());
    // The water is dimmed to about half.
    const std::uint32_t water = picture.pixels[150 * 800 + 200];
    EXPECT_LT(water & 0xFF, 140u);
    EXPECT_GT(water & 0xFF, 60u);
}
