// The game program started headless on the demo content: time from process start to the first
// presented frame, and the mean frame time of the first screen.
//   StartToFirstFrame: the program runs with --frames 1 --screenshot; the picture is written right
//     before the first frame is presented, so the time until it appears is the start-up.
//   MeanFrameTime/N: (time of a run of N frames - time of a run of 1 frame) / (N - 1).
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/ProgramRun.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string TempFolder() {
    char pattern[] = "/tmp/marivel-bench-XXXXXX";
    const char* made = mkdtemp(pattern);
    return made ? std::string(made) + "/" : std::string("/tmp/");
}

pid_t Start(const std::string& home, const std::vector<std::string>& args) {
    return testing_support::StartProgram(MARIVEL_SOURCE_DIR "/data", home, args);
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
