// Saving and loading a store of 100 players with 200 values each.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/DataFolder.h"
#include "core/PermanentStorage.h"

namespace {

void Fill() {
    std::FILE* seed = std::fopen((dataFolder + "Storage.xml").c_str(), "wb");
    std::fputs("<Storage><Globals/><ActivePlayer name=\"player0\"/></Storage>", seed);
    std::fclose(seed);
    PermanentStorage::Load();
    for (int p = 0; p < 100; ++p) {
        PermanentStorage::CreatePlayer("player" + std::to_string(p));
        for (int v = 0; v < 200; ++v) {
            const std::string name = "value" + std::to_string(v);
            switch (v % 4) {
                case 0: PermanentStorage::SetLocalInt(name, p * 1000 + v); break;
                case 1: PermanentStorage::SetLocalFloat(name, 0.1f * float(v)); break;
                case 2: PermanentStorage::SetLocalBool(name, v % 3 == 0); break;
                default: PermanentStorage::SetLocalString(name, "text of value " + std::to_string(v)); break;
            }
        }
    }
}

void BM_SaveStorage(benchmark::State& state) {
    Fill();
    for (auto _ : state) PermanentStorage::Save();
    PermanentStorage::Unload();
    state.SetItemsProcessed(state.iterations() * 100 * 200);
}

void BM_LoadStorage(benchmark::State& state) {
    Fill();
    PermanentStorage::Unload();
    for (auto _ : state) {
        PermanentStorage::Load();
        state.PauseTiming();
        PermanentStorage::Discard();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 100 * 200);
}

}  // namespace

BENCHMARK(BM_SaveStorage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadStorage)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C");
    char folder[] = "/tmp/marivel-bench-storage-XXXXXX";
    if (mkdtemp(folder) == nullptr) return 1;
    dataFolder = std::string(folder) + "/";
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const char* name : {"Storage.xml", "Storage.xml.bak", "log.htm"}) std::remove((dataFolder + name).c_str());
    rmdir(folder);
    return 0;
}
