// The game's real screens in the game program, headless (SDL_VIDEODRIVER=offscreen), beside the
// anchors measured in the same run: the gl-limit quad scene and the LÖVE quad scene
// (/work/shared/anchors, or MARIVEL_ANCHORS; a missing anchor is reported and skipped).
//   Menu: the main menu of a player.
//   BusyLevel: level 1 running, with a splash of effects every few frames (developer key Q).
//   ShopWithFullTank: the shop open over a tank of 24 swaying plants.
//   AquariumWith50Fish: the aquarium with 50 fish of the demo's three kinds that swim alone.
//   AquariumLargestTank: the aquarium with the largest tank the tank's limits allow: as many
//     fish and plants as it takes, each plant drawing as many mesh cells as it may hold.
// A screen's cost is the difference of two runs that reach it and then draw FRAMES or 2 * FRAMES
// frames (FRAMES in the environment, 300 by default): CPU time of the process (all its threads,
// the software rasteriser's included) and wall time per frame. Counters: cpu_ms and wall_ms per
// frame, peak_mb (the largest resident size of the longer run), and x_gl and x_love, the CPU per
// frame against that of each anchor's frame. BENCH_SHOTS=folder keeps each screen's last frame.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "aquarium/TankRecords.h"
#include "bench/AnchorRun.h"
#include "bench/GameProfile.h"
#include "tests/support/ProgramRun.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Usage {
    bool ok = false;
    double cpu = 0.0;   // seconds, user and system, of all threads
    double wall = 0.0;  // seconds
    double peakMb = 0.0;
};

int Frames() {
    const char* text = std::getenv("FRAMES");
    const int frames = text != nullptr ? std::atoi(text) : 0;
    return frames > 0 ? frames : 300;
}

void WriteText(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// Waits for the process and takes its resource use.
Usage Collect(pid_t pid, Clock::time_point start) {
    Usage usage;
    int status = 0;
    struct rusage ru = {};
    if (pid <= 0 || wait4(pid, &status, 0, &ru) != pid) return usage;
    usage.wall = std::chrono::duration<double>(Clock::now() - start).count();
    usage.cpu = anchor_run::CpuSeconds(ru);
    usage.peakMb = static_cast<double>(ru.ru_maxrss) / 1024.0;
    usage.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return usage;
}

struct Anchor {
    bool measured = false;
    double cpuPerFrame = 0.0;  // seconds
    double fps = 0.0;
    double peakMb = 0.0;
    std::string error;
};

// An anchor's run of its scene, as it reports it.
Anchor Measure(const anchor_run::Result& run) {
    Anchor anchor;
    if (!run.ok) {
        anchor.error = run.error;
        return anchor;
    }
    anchor.measured = true;
    anchor.cpuPerFrame = run.cpu / run.frames;
    anchor.fps = run.fps;
    anchor.peakMb = run.peakMb;
    return anchor;
}

// The anchors run headless, like the game, with their scene of 10,000 quads for three seconds.
void Headless() { setenv("SDL_VIDEODRIVER", "offscreen", 1); }

const Anchor& GlLimit() {
    static const Anchor anchor = (Headless(), Measure(anchor_run::GlLimit(10000, 3.0)));
    return anchor;
}

const Anchor& Love() {
    static const Anchor anchor = (Headless(), Measure(anchor_run::Love(10000, 3.0)));
    return anchor;
}

// A run of the game on a fresh copy of the profile: events, then frames in all.
Usage RunGame(const std::string& storage, const std::string& events, int frames, const std::string& shot) {
    const std::string home = anchor_run::TempFolder();
    WriteText(home + "Tornvik Entertainment/Marivel/Storage.xml", storage);
    WriteText(home + "events.txt", events);
    // The developer keys for the level's effects.
    const std::string game = home + "data/";
    std::filesystem::copy(MARIVEL_SOURCE_DIR "/data", game, std::filesystem::copy_options::recursive);
    WriteText(game + "settings.ini",
              "path=.\nuseAppData=true\nrecreateLog=true\ndev=true\nadvertisement=false\nadVisible=true\n");
    const auto start = Clock::now();
    std::vector<std::string> args = {"--fixed-step", "16", "--seed", "5", "--frames", std::to_string(frames),
                                     "--events", home + "events.txt"};
    if (!shot.empty()) args.insert(args.end(), {"--screenshot", shot});
    const pid_t pid = testing_support::StartProgram(game, home, args);
    return Collect(pid, start);
}

void Screen(benchmark::State& state, const std::string& name, const std::string& storage, const std::string& events,
            int reach) {
    const int frames = Frames();
    // BENCH_SHOTS=folder keeps the last frame of each screen to look at.
    const char* shots = std::getenv("BENCH_SHOTS");
    const std::string shot = shots != nullptr ? std::string(shots) + "/" + name + ".png" : std::string();
    for (auto _ : state) {
        const Usage shorter = RunGame(storage, events, reach + frames, std::string());
        const Usage longer = RunGame(storage, events, reach + 2 * frames, shot);
        if (!shorter.ok || !longer.ok) {
            state.SkipWithError("the game program failed");
            return;
        }
        const double cpu = (longer.cpu - shorter.cpu) / frames;
        state.SetIterationTime(std::max(0.0, longer.wall - shorter.wall) / frames);
        state.counters["cpu_ms"] = 1000.0 * cpu;
        state.counters["wall_ms"] = 1000.0 * (longer.wall - shorter.wall) / frames;
        state.counters["peak_mb"] = longer.peakMb;
        if (GlLimit().measured && GlLimit().cpuPerFrame > 0) state.counters["x_gl"] = cpu / GlLimit().cpuPerFrame;
        if (Love().measured && Love().cpuPerFrame > 0) state.counters["x_love"] = cpu / Love().cpuPerFrame;
    }
}

void AnchorCounters(benchmark::State& state, const Anchor& anchor) {
    for (auto _ : state) {
        if (!anchor.measured) {
            state.SkipWithError(anchor.error.c_str());
            return;
        }
        state.SetIterationTime(1.0 / anchor.fps);
        state.counters["cpu_ms"] = 1000.0 * anchor.cpuPerFrame;
        state.counters["wall_ms"] = 1000.0 / anchor.fps;
        state.counters["peak_mb"] = anchor.peakMb;
    }
}

void GlLimitQuads(benchmark::State& state) { AnchorCounters(state, GlLimit()); }
void LoveQuads(benchmark::State& state) { AnchorCounters(state, Love()); }

void Menu(benchmark::State& state) { Screen(state, "menu", BenchProfile("", 0), "", 60); }

// Play at frame 60; the first press at 130 starts the level; Q splashes effects every 8 frames.
void BusyLevel(benchmark::State& state) {
    std::string events = "60 move 400 275\n61 move 401 275\n63 down\n64 up\n130 move 358 298\n131 move 359 298\n"
                         "133 down\n134 up\n";
    for (int frame = 160; frame < 160 + 2 * Frames() + 200; frame += 8) events += std::to_string(frame) + " key 81\n";
    Screen(state, "level", BenchProfile("", 0), events, 160);
}

// Aquarium at frame 60, the shop at 110.
void ShopWithFullTank(benchmark::State& state) {
    Screen(state, "shop", BenchProfile(BenchPlants(24, 1, 2, 6), 24),
           "60 move 400 335\n61 move 401 335\n63 down\n64 up\n110 move 400 572\n111 move 401 572\n113 down\n"
           "114 up\n",
           160);
}

// Aquarium at frame 60; by frame 160 the fish have dropped in.
void Aquarium(benchmark::State& state) {
    const int fish = static_cast<int>(state.range(0));
    const int plants = static_cast<int>(state.range(1));
    const int layers = static_cast<int>(state.range(2));
    const int columns = static_cast<int>(state.range(3));
    const int rows = static_cast<int>(state.range(4));
    Screen(state, "aquarium-" + std::to_string(fish) + "-" + std::to_string(plants),
           BenchProfile(BenchFish(fish) + BenchPlants(plants, layers, columns, rows), plants), "60 move 400 335\n61 move 401 335\n63 down\n64 up\n",
           160);
}

}  // namespace

BENCHMARK(GlLimitQuads)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(LoveQuads)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Menu)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BusyLevel)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ShopWithFullTank)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Aquarium)
    ->Name("AquariumWith50Fish")
    ->Args({50, 0, 0, 0, 0})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Aquarium)
    ->Name("AquariumLargestTank")
    ->Args({TankLimits::MAX_FISH, TankLimits::MAX_FLOOR_ITEMS, TankLimits::MAX_PLANT_CELLS / 8, 2, 4})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
