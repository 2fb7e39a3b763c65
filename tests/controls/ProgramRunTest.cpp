// The game program with the control framework, headless on a copy of the demo content: replayed
// clicks on the demo screens reach the script, which switches the trees from inside the clicks.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <filesystem>
#include <thread>

#include "tests/support/TestSupport.h"

extern char** environ;

namespace {

std::string ProgramPath() {
    char self[PATH_MAX] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path(self, n > 0 ? static_cast<size_t>(n) : 0);
    path = path.substr(0, path.find_last_of('/'));  // tests/
    path = path.substr(0, path.find_last_of('/'));  // the build folder
    return path + "/Marivel";
}

// Runs the program in the folder with the arguments; its exit code, or -1 when it hangs.
int RunProgram(const std::string& folder, const std::string& home, std::vector<std::string> args) {
    std::vector<std::string> env = {"SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy", "XDG_DATA_HOME=" + home,
                                    "ASAN_OPTIONS=detect_leaks=0"};
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        if (name != "SDL_VIDEODRIVER" && name != "SDL_AUDIODRIVER" && name != "XDG_DATA_HOME" && name != "ASAN_OPTIONS") {
            env.push_back(entry);
        }
    }
    args.insert(args.begin(), ProgramPath());
    std::vector<char*> a;
    for (auto& s : args) a.push_back(&s[0]);
    a.push_back(nullptr);
    std::vector<char*> e;
    for (auto& s : env) e.push_back(&s[0]);
    e.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, a[0], &actions, nullptr, a.data(), e.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    for (int i = 0; i < 120 * 20; ++i) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
}

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

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
    EXPECT_EQ(1, Count(log, "Demo area clicked on the first screen")) << log;
    EXPECT_EQ(1, Count(log, "Demo area clicked on the second screen")) << log;
    EXPECT_EQ(0, Count(log, "ERROR")) << log;
    EXPECT_EQ(1, Count(log, "Application shutdown!"));
}

}  // namespace
