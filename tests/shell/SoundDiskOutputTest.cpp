// Plays a sample and cross-fades two tracks through SDL's disk audio driver and reads back what was
// written. The driver writes in about real time; the test clocks itself by the size of the file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio/MixerAudioBackend.h"
#include "shell/SoundSystem.h"
#include "tests/platform/WavFile.h"
#include "tests/support/TestSupport.h"

namespace {

constexpr double RATE = 44100.0;
constexpr double FRAME_BYTES = 4.0;  // 16-bit stereo
constexpr double LATENCY = 0.15;     // at most between a call and its first sound in the file

class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : _name(name) {
        if (const char* old = std::getenv(name)) _old = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (_old) {
            setenv(_name, _old->c_str(), 1);
        } else {
            unsetenv(_name);
        }
    }

private:
    const char* _name;
    std::optional<std::string> _old;
};

class ScopedWorkingDir {
public:
    explicit ScopedWorkingDir(const std::string& dir) : _old(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~ScopedWorkingDir() { std::filesystem::current_path(_old); }

private:
    std::filesystem::path _old;
};

double AudioSeconds(const std::string& file) {
    struct stat st {};
    if (stat(file.c_str(), &st) != 0) return 0.0;
    return static_cast<double>(st.st_size) / FRAME_BYTES / RATE;
}

// Left channel of 16-bit stereo as floats in -1..1.
std::vector<float> LeftChannel(const std::string& bytes) {
    std::vector<float> out(bytes.size() / 4);
    for (std::size_t i = 0; i < out.size(); ++i) {
        std::int16_t v;
        std::memcpy(&v, bytes.data() + i * 4, 2);
        out[i] = static_cast<float>(v) / 32768.0f;
    }
    return out;
}

struct Window {
    std::size_t begin, end;
};

Window Seconds(const std::vector<float>& samples, double from, double to) {
    const auto clampIndex = [&](double s) {
        return std::min(samples.size(), static_cast<std::size_t>(std::max(0.0, s) * RATE));
    };
    return {clampIndex(from), clampIndex(to)};
}

// Amplitude of one frequency in a window (Goertzel with a Hann window).
double Amplitude(const std::vector<float>& samples, Window w, double frequency) {
    const std::size_t n = w.end - w.begin;
    if (n < 64) return 0.0;
    const double k = 2.0 * std::cos(2.0 * M_PI * frequency / RATE);
    double s1 = 0.0, s2 = 0.0, weight = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double hann = 0.5 - 0.5 * std::cos(2.0 * M_PI * i / (n - 1));
        weight += hann;
        const double s0 = samples[w.begin + i] * hann + k * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    const double power = s1 * s1 + s2 * s2 - k * s1 * s2;
    return 2.0 * std::sqrt(std::max(0.0, power)) / weight;
}

double Peak(const std::vector<float>& samples, Window w) {
    double peak = 0.0;
    for (std::size_t i = w.begin; i < w.end; ++i) peak = std::max(peak, std::fabs(double(samples[i])));
    return peak;
}

TEST(SoundDiskOutput, SampleAndCrossFadeSoundWhereTheyShouldAndNowhereElse) {
    const std::string dir = testing_support::MakeTempDir("disk");
    std::filesystem::create_directories(dir + "sound");
    testing_support::WriteToneWav(dir + "sound/beep.wav", 880, 0.4);
    testing_support::WriteToneWav(dir + "sound/low.wav", 220, 1.0);
    testing_support::WriteToneWav(dir + "sound/high.wav", 660, 1.0);
    const std::string output = dir + "out.raw";

    ScopedWorkingDir cwd(dir);
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv file("SDL_DISKAUDIOFILE", output);
    MixerAudioBackend backend;
    ScopedAudioBackend scope(backend);

    Sound::SoundSystemImpl sound;
    sound.Init(nullptr);
    ASSERT_FALSE(sound.IsFailed()) << "the disk audio driver did not start";
    sound.AddSample("beep", "beep.wav", 1);
    sound.AddTrack("low", "Common", "LOW.wav");
    sound.AddTrack("high", "Common", "high.wav");

    // Each step runs once the file holds at least `at` seconds (and its window after the step before);
    // the time it ran at is kept and the windows are checked against it.
    struct Step {
        double at;
        double after;
        std::function<void()> action;
        double ranAt = 0.0;
    };
    std::vector<Step> steps = {
        {0.2, 0.0, [&] { sound.PlaySample("beep"); }},
        {1.0, 0.75, [&] { sound.FadeInTrack("low", 0.2f, true); }},
        {1.8, 0.7, [&] {
             sound.FadeOutTrack("low", 0.8f);
             sound.FadeInTrack("high", 0.8f, true);
         }},
        {3.15, 1.3, [&] { sound.FadeOutAllTracks(0.2f); }},
        {0.0, 0.65, [] {}},
    };
    const auto start = std::chrono::steady_clock::now();
    double clock = 0.0;
    for (std::size_t next = 0; next < steps.size();) {
        ASSERT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60)) << "audio stalled";
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        const double now = AudioSeconds(output);
        if (now > clock) {
            sound.Update(static_cast<float>(now - clock));
            clock = now;
        }
        Step& step = steps[next];
        const double previous = next == 0 ? 0.0 : steps[next - 1].ranAt;
        if (clock >= step.at && clock >= previous + step.after) {
            step.ranAt = clock;
            step.action();
            ++next;
        }
    }
    sound.Shutdown();
    ASSERT_FALSE(sound.IsFailed());

    const std::vector<float> samples = LeftChannel(testing_support::ReadFile(output));
    ASSERT_GE(samples.size() / RATE, steps.back().ranAt - 0.05);
    const double beep = steps[0].ranAt, fadeIn = steps[1].ranAt, crossFade = steps[2].ranAt,
                 fadeOut = steps[3].ranAt;

    struct Expectation {
        const char* what;
        double from, to;
        bool beep, low, high;
    };
    const Expectation expectations[] = {
        {"before anything plays", 0.02, std::min(0.15, beep), false, false, false},
        {"the sample", beep + LATENCY, beep + 0.38, true, false, false},
        {"after the sample", beep + 0.6, fadeIn, false, false, false},
        {"the first track", fadeIn + 0.2 + LATENCY, fadeIn + 0.7, false, true, false},
        {"the cross-fade", crossFade + 0.2, crossFade + 0.55, false, true, true},
        {"the second track", crossFade + 0.8 + LATENCY, crossFade + 1.3, false, false, true},
        {"after the fade-out", fadeOut + 0.2 + LATENCY + 0.05, fadeOut + 0.6, false, false, false},
    };
    for (const Expectation& e : expectations) {
        SCOPED_TRACE(std::string(e.what) + " from " + std::to_string(e.from) + " to " + std::to_string(e.to));
        const Window w = Seconds(samples, e.from, e.to);
        ASSERT_GT(w.end, w.begin + 1000);
        if (!e.beep && !e.low && !e.high) {
            EXPECT_LT(Peak(samples, w), 0.001);
            continue;
        }
        const double tones[] = {Amplitude(samples, w, 880), Amplitude(samples, w, 220), Amplitude(samples, w, 660)};
        const bool expected[] = {e.beep, e.low, e.high};
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE("tone " + std::to_string(i) + " amplitude " + std::to_string(tones[i]));
            if (expected[i]) {
                EXPECT_GT(tones[i], 0.02);
            } else {
                EXPECT_LT(tones[i], 0.005);
            }
        }
    }
}

}  // namespace
