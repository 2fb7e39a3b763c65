// Peak memory of music: three registered three-minute tracks (44.1 kHz 16-bit stereo WAV files
// made in a temporary folder), one faded in and then cross-faded into the other two, all three
// sounding at once, on SDL's dummy audio output. Each case runs in a child process of its own, so
// its peak resident size is its own:
//   Silence: the sound system started, nothing registered (the floor).
//   ThreeTracks: the same plus the three tracks registered and played.
// Counters: PeakMB (peak resident size of the child), OverFloorMB (PeakMB less the floor's, the
// cost of the music) and RegisterMs (time to register the three tracks).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "shell/SoundSystem.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int RATE = 44100;
constexpr int TRACK_SECONDS = 180;

void PutU32(std::FILE* f, std::uint32_t v) {
    const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    std::fwrite(b, 1, 4, f);
}

void PutU16(std::FILE* f, std::uint16_t v) {
    const unsigned char b[2] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
    std::fwrite(b, 1, 2, f);
}

// A stereo tone written a second at a time, so that making it costs no memory.
bool WriteTrack(const std::string& path, double frequency) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const std::uint32_t bytes = static_cast<std::uint32_t>(RATE) * TRACK_SECONDS * 4;
    std::fwrite("RIFF", 1, 4, f);
    PutU32(f, 36 + bytes);
    std::fwrite("WAVEfmt ", 1, 8, f);
    PutU32(f, 16);
    PutU16(f, 1);
    PutU16(f, 2);
    PutU32(f, RATE);
    PutU32(f, RATE * 4);
    PutU16(f, 4);
    PutU16(f, 16);
    std::fwrite("data", 1, 4, f);
    PutU32(f, bytes);
    std::vector<std::int16_t> second(static_cast<std::size_t>(RATE) * 2);
    for (int s = 0; s < TRACK_SECONDS; ++s) {
        for (int i = 0; i < RATE; ++i) {
            const double t = static_cast<double>(s * RATE + i) / RATE;
            const auto v = static_cast<std::int16_t>(8000.0 * std::sin(2.0 * M_PI * frequency * t));
            second[static_cast<std::size_t>(i) * 2] = v;
            second[static_cast<std::size_t>(i) * 2 + 1] = v;
        }
        std::fwrite(second.data(), sizeof(std::int16_t), second.size(), f);
    }
    return std::fclose(f) == 0;
}

struct Folder {
    std::string path;
    Folder() {
        char pattern[] = "/tmp/marivel-music-XXXXXX";
        const char* made = mkdtemp(pattern);
        path = made ? made : "";
        if (!path.empty()) mkdir((path + "/sound").c_str(), 0755);
    }
    ~Folder() {
        if (path.empty()) return;
        for (const char* name : {"a.wav", "b.wav", "c.wav"}) std::remove((path + "/sound/" + name).c_str());
        std::remove((path + "/log.htm").c_str());
        rmdir((path + "/sound").c_str());
        rmdir(path.c_str());
    }
};

// Runs in the child: the sound system with or without the three tracks, played for a while.
// Writes the registration time in microseconds to the pipe.
void Child(const std::string& folder, bool withTracks, int pipeOut) {
    if (chdir(folder.c_str()) != 0) _exit(3);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    Sound::SoundSystemImpl sound;
    sound.Init(nullptr);
    if (sound.IsFailed()) _exit(4);
    long registerUs = 0;
    if (withTracks) {
        const auto start = Clock::now();
        sound.AddTrack("a", "Music", "a.wav");
        sound.AddTrack("b", "Music", "b.wav");
        sound.AddTrack("c", "Music", "c.wav");
        registerUs = static_cast<long>(std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count());
        sound.FadeInTrack("a", 0.3f, true);
    }
    // 1.5 s of play at 100 updates a second: the first track fades in, then crosses into the others.
    for (int step = 0; step < 150; ++step) {
        if (withTracks && step == 50) {
            sound.FadeOutTrack("a", 0.8f);
            sound.FadeInTrack("b", 0.8f, true);
            sound.FadeInTrack("c", 0.8f, true);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        sound.Update(0.01f);
    }
    sound.Shutdown();
    const ssize_t written = write(pipeOut, &registerUs, sizeof registerUs);
    _exit(written == sizeof registerUs ? 0 : 5);
}

// Peak resident size of a child run in megabytes, and its registration time; false on failure.
bool Measure(const std::string& folder, bool withTracks, double& peakMb, double& registerMs) {
    int fds[2];
    if (pipe(fds) != 0) return false;
    const pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        close(fds[0]);
        Child(folder, withTracks, fds[1]);
    }
    close(fds[1]);
    long registerUs = 0;
    const ssize_t got = read(fds[0], &registerUs, sizeof registerUs);
    close(fds[0]);
    int status = 0;
    struct rusage usage {};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
    if (got != sizeof registerUs) return false;
    peakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
    registerMs = static_cast<double>(registerUs) / 1000.0;
    return true;
}

// The folder holding sound/a.wav, b.wav and c.wav; empty when they cannot be written.
const std::string& TrackFolder() {
    static Folder folder;
    static const bool written = !folder.path.empty() && WriteTrack(folder.path + "/sound/a.wav", 220.0) &&
                                WriteTrack(folder.path + "/sound/b.wav", 330.0) &&
                                WriteTrack(folder.path + "/sound/c.wav", 440.0);
    static const std::string none;
    return written ? folder.path : none;
}

double floorMb = 0.0;

// One child run a benchmark iteration; false (the run marked failed) when it cannot be measured.
bool MeasureIterations(benchmark::State& state, bool withTracks, double& peak, double& ms) {
    const std::string& folder = TrackFolder();
    if (folder.empty()) {
        state.SkipWithError("the tracks cannot be written");
        return false;
    }
    for (auto _ : state) {
        if (!Measure(folder, withTracks, peak, ms)) {
            state.SkipWithError("the child run failed");
            return false;
        }
    }
    return true;
}

void Silence(benchmark::State& state) {
    double peak = 0.0;
    double ms = 0.0;
    if (!MeasureIterations(state, false, peak, ms)) return;
    floorMb = peak;
    state.counters["PeakMB"] = peak;
}

void ThreeTracks(benchmark::State& state) {
    double peak = 0.0;
    double ms = 0.0;
    if (!MeasureIterations(state, true, peak, ms)) return;
    state.counters["PeakMB"] = peak;
    state.counters["OverFloorMB"] = peak - floorMb;
    state.counters["RegisterMs"] = ms;
}

}  // namespace

BENCHMARK(Silence)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(ThreeTracks)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
