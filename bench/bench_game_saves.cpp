// The game killed inside its saves, hundreds of times: each round buys neons in the shop, leaves
// the shop and the aquarium and ends, killed right after a random file operation of its saves
// (ROUNDS rounds, 200 unless set), then starts again. Counted: the rounds whose next start lost a
// save completed before the kill ("lost", must be 0), whose money and neons disagree
// ("disagreeing", must be 0), that died inside a save ("in_save": a new text was left beside the
// profile), whose next start found neons ("bought") and the time a round takes.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "bench/AnchorRun.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/SaveKillRound.h"

namespace {

void WriteText(const std::string& path, const std::string& text) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

int Rounds() {
    const char* text = std::getenv("ROUNDS");
    return text != nullptr && std::atoi(text) > 0 ? std::atoi(text) : 200;
}

void KillInsideSaves(benchmark::State& state) {
    const int START_MONEY = 100000;
    const std::string root = anchor_run::TempFolder();
    const std::string game = root + "data/";
    std::filesystem::copy(MARIVEL_SOURCE_DIR "/data", game, std::filesystem::copy_options::recursive);
    const std::string profile = testing_support::ProfileFolder(root);
    const std::string events = testing_support::NeonBuyingEvents({150, 162, 174, 186, 198}, 230);
    WriteText(root + "events.txt", events);
    const std::vector<std::string> args = {"--fixed-step", "20",       "--seed", "5", "--frames", "280",
                                           "--events",     root + "events.txt"};
    std::mt19937 random(52);
    std::uniform_int_distribution<int> operation(1, 60);
    for (auto _ : state) {
        int lost = 0;
        int disagreeing = 0;
        int inSave = 0;
        int failed = 0;
        int bought = 0;
        const auto start = std::chrono::steady_clock::now();
        const int rounds = Rounds();
        for (int round = 0; round < rounds; ++round) {
            std::filesystem::remove_all(profile);
            std::filesystem::create_directories(profile);
            WriteText(profile + "Storage.xml", testing_support::NeonBuyerProfile(std::to_string(START_MONEY)));
            const testing_support::KillRound r = testing_support::RunKillRound(game, root, args, operation(random));
            if (!r.problem.empty() || r.restartExit != 0 || r.restartLogged || !r.after.read) ++failed;
            if (r.after.neons < r.lastSaved.neons) ++lost;
            if (r.after.money + testing_support::NEON_PRICE * r.after.neons != START_MONEY ||
                r.after.neons != r.after.fishInTank) {
                ++disagreeing;
            }
            if (r.killedInSave) ++inSave;
            if (r.after.neons > 0) ++bought;
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds / rounds);
        state.counters["rounds"] = rounds;
        state.counters["lost"] = lost;
        state.counters["disagreeing"] = disagreeing;
        state.counters["failed"] = failed;
        state.counters["in_save"] = inSave;
        state.counters["bought"] = bought;
        if (lost + disagreeing + failed > 0) state.SkipWithError("a round lost or broke the profile");
    }
    std::filesystem::remove_all(root);
}

}  // namespace

BENCHMARK(KillInsideSaves)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
