// The game program headless (SDL_VIDEODRIVER=offscreen) from an empty shader cache through the
// menu, a level (its first press and its first bomb), back to the menu, the aquarium and the shop,
// with the main thread's CPU time of every frame (the program's --frame-times). Prints the worst
// frames with where they fell, the worst of each part of the run, and the worst after the first
// menu frame against the 50 ms a frame may take; the start (splash and load screens) apart.
// ROUNDS (1) runs, each from its own empty cache. LÖVE's 10k-quad scene runs first in the same run:
// the worst frame is also given in frames of its CPU time (x_love).
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/AnchorRun.h"
#include "bench/GameProfile.h"
#include "tests/support/ProgramRun.h"

namespace {

constexpr double LIMIT_MS = 50.0;

struct Part {
    int from;  // first frame
    const char* name;
};

// The script's parts by the frame they start at; Escape leaves the level for the menu.
const Part PARTS[] = {
    {1, "menu"},
    {60, "entering the level"},
    {130, "the first press"},
    {170, "the first bomb"},
    {300, "leaving for the menu"},
    {360, "entering the aquarium"},
    {440, "entering the shop"},
    {520, "in the shop"},
};
constexpr int FRAMES = 600;

std::string Events() {
    auto click = [](int frame, int x, int y) {
        return std::to_string(frame) + " move " + std::to_string(x) + " " + std::to_string(y) + "\n" +
               std::to_string(frame + 1) + " move " + std::to_string(x + 1) + " " + std::to_string(y) + "\n" +
               std::to_string(frame + 3) + " down\n" + std::to_string(frame + 4) + " up\n";
    };
    // Play; the first press on the field; a bomb made under the pointer (developer key F2) and set
    // off with a double click; Escape; the aquarium; its shop.
    return click(60, 400, 275) + click(130, 358, 298) + "170 key 113\n180 down\n181 up\n182 dblclick\n183 up\n" +
           "300 key 27\n" + click(360, 400, 335) + click(440, 400, 572);
}

void WriteText(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

const char* PartOf(int frame) {
    const char* name = PARTS[0].name;
    for (const Part& part : PARTS) {
        if (frame >= part.from) name = part.name;
    }
    return name;
}

struct Frame {
    int number = 0;
    double ms = 0.0;
    bool running = false;
};

// One run from an empty shader cache; its frames, or none when it failed.
std::vector<Frame> RunOnce(const std::string& shots) {
    std::vector<Frame> frames;
    const std::string home = anchor_run::TempFolder();
    WriteText(home + "Tornvik Entertainment/Marivel/Storage.xml", BenchProfile("", 0));
    WriteText(home + "events.txt", Events());
    const std::string game = home + "data/";
    std::filesystem::copy(MARIVEL_SOURCE_DIR "/data", game, std::filesystem::copy_options::recursive);
    // The developer keys make the bomb.
    WriteText(game + "settings.ini",
              "path=.\nuseAppData=true\nrecreateLog=true\ndev=true\nadvertisement=false\nadVisible=true\n");
    std::filesystem::create_directories(home + "shader-cache");
    std::vector<std::string> args = {"--fixed-step", "16", "--seed", "5", "--frames", std::to_string(FRAMES),
                                     "--events", home + "events.txt", "--frame-times", home + "times.txt"};
    if (!shots.empty()) args.insert(args.end(), {"--screenshot", shots + "/flow-last.png"});
    const pid_t pid = testing_support::StartProgram(game, home, args, std::string(),
                                                    {"MESA_SHADER_CACHE_DIR=" + home + "shader-cache"});
    int status = 0;
    const bool ok = pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (ok) {
        std::ifstream file(home + "times.txt");
        Frame frame;
        std::string phase;
        while (file >> frame.number >> frame.ms >> phase) {
            frame.running = phase == "run";
            frames.push_back(frame);
        }
    }
    std::filesystem::remove_all(home);
    return frames;
}

}  // namespace

int main() {
    const char* roundsText = std::getenv("ROUNDS");
    const int rounds = roundsText != nullptr && std::atoi(roundsText) > 0 ? std::atoi(roundsText) : 1;
    const char* shots = std::getenv("BENCH_SHOTS");
    bool allWithin = true;
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    const anchor_run::Result love = anchor_run::Love(10000, 3.0);
    const double loveMs = love.ok ? 1000.0 * love.cpu / love.frames : 0.0;
    if (love.ok) {
        std::printf("anchor=love quads=10000 cpu_ms=%.3f fps=%.1f peak_mb=%.1f\n", loveMs, love.fps, love.peakMb);
    } else {
        std::printf("anchor=love error: %s\n", love.error.c_str());
    }
    for (int round = 1; round <= rounds; ++round) {
        const std::vector<Frame> frames = RunOnce(shots != nullptr ? shots : "");
        if (frames.empty()) {
            std::printf("round=%d error: the game program failed\n", round);
            return 1;
        }
        // The first frame of the main loop is the first menu frame; it does not count.
        std::vector<Frame> run;
        double startWorst = 0.0;
        double startTotal = 0.0;
        bool first = true;
        for (const Frame& frame : frames) {
            if (!frame.running) {
                startWorst = std::max(startWorst, frame.ms);
                startTotal += frame.ms;
            } else if (first) {
                first = false;
                std::printf("round=%d first_menu_frame=%d ms=%.1f\n", round, frame.number, frame.ms);
            } else {
                run.push_back(frame);
            }
        }
        std::printf("round=%d start_frames=%zu start_worst_ms=%.1f start_total_ms=%.1f\n", round,
                    frames.size() - run.size() - 1, startWorst, startTotal);
        std::vector<Frame> worst = run;
        std::sort(worst.begin(), worst.end(), [](const Frame& a, const Frame& b) { return a.ms > b.ms; });
        for (std::size_t i = 0; i < worst.size() && i < 10; ++i) {
            std::printf("round=%d worst#%zu frame=%d ms=%.1f part=\"%s\"\n", round, i + 1, worst[i].number, worst[i].ms,
                        PartOf(worst[i].number));
        }
        for (const Part& part : PARTS) {
            double partWorst = 0.0;
            int at = 0;
            for (const Frame& frame : run) {
                if (PartOf(frame.number) == part.name && frame.ms > partWorst) {
                    partWorst = frame.ms;
                    at = frame.number;
                }
            }
            std::printf("round=%d part=\"%s\" worst_ms=%.1f frame=%d\n", round, part.name, partWorst, at);
        }
        const double runWorst = worst.empty() ? 0.0 : worst.front().ms;
        allWithin = allWithin && runWorst <= LIMIT_MS;
        std::printf("round=%d worst_after_first_menu_frame_ms=%.1f x_love=%.2f limit_ms=%.0f %s\n", round, runWorst,
                    loveMs > 0 ? runWorst / loveMs : 0.0, LIMIT_MS, runWorst <= LIMIT_MS ? "within" : "OVER");
    }
    return allWithin ? 0 : 2;
}
