// The game program started headless on the demo content: time from process start to the first
// presented frame, and the mean frame time of the first screen.
//   StartToFirstFrame: the program runs with --frames 1 --screenshot; the picture is written right
//     before the first frame is presented, so the time until it appears is the start-up.
//   MeanFrameTime/N: (time of a run of N frames - time of a run of 1 frame) / (N - 1).
#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

std::string ProgramPath() {
    char self[PATH_MAX] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path(self, n > 0 ? static_cast<size_t>(n) : 0);
    path = path.substr(0, path.find_last_of('/'));
    path = path.substr(0, path.find_last_of('/'));
    return path + "/Marivel";
}

std::string TempFolder() {
    char pattern[] = "/tmp/marivel-bench-XXXXXX";
    const char* made = mkdtemp(pattern);
    return made ? std::string(made) + "/" : std::string("/tmp/");
}

pid_t Start(const std::string& home, const std::vector<std::string>& args) {
    std::vector<std::string> env = {"SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy", "XDG_DATA_HOME=" + home,
                                    "ASAN_OPTIONS=detect_leaks=0"};
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        if (name != "SDL_VIDEODRIVER" && name != "SDL_AUDIODRIVER" && name != "XDG_DATA_HOME" && name != "ASAN_OPTIONS") {
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
    char saved[PATH_MAX];
    if (getcwd(saved, sizeof saved) == nullptr || chdir(MARIVEL_SOURCE_DIR "/data") != 0) return 0;
    pid_t pid = 0;
    if (posix_spawn(&pid, a[0], nullptr, nullptr, a.data(), e.data()) != 0) pid = 0;
    if (chdir(saved) != 0) pid = 0;
    return pid;
}

bool Finish(pid_t pid) {
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Seconds of a whole run of the given frames.
double WholeRun(const std::string& home, int frames) {
    const auto start = Clock::now();
    const pid_t pid = Start(home, {"--frames", std::to_string(frames), "--fixed-step", "16"});
    if (!Finish(pid)) return -1.0;
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void StartToFirstFrame(benchmark::State& state) {
    const std::string home = TempFolder();
    for (auto _ : state) {
        const std::string shot = home + "first.png";
        unlink(shot.c_str());
        const auto start = Clock::now();
        const pid_t pid = Start(home, {"--frames", "1", "--screenshot", shot});
        struct stat info;
        while (stat(shot.c_str(), &info) != 0) {
            int status = 0;
            if (pid <= 0 || waitpid(pid, &status, WNOHANG) == pid) {
                state.SkipWithError("the program ended without a frame");
                return;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (!Finish(pid)) {
            state.SkipWithError("the program failed");
            return;
        }
    }
}

void MeanFrameTime(benchmark::State& state) {
    const std::string home = TempFolder();
    const int frames = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const double one = WholeRun(home, 1);
        const double many = WholeRun(home, frames);
        if (one < 0.0 || many < 0.0) {
            state.SkipWithError("the program failed");
            return;
        }
        state.SetIterationTime(std::max(0.0, many - one) / (frames - 1));
    }
}

}  // namespace

BENCHMARK(StartToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(MeanFrameTime)->Arg(301)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
