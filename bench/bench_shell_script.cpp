// Calls of script functions by name, as the layered animations make them every frame.
#include <benchmark/benchmark.h>

extern "C" {
#include <lauxlib.h>
}

#include "shell/ScriptApi.h"
#include "shell/ScriptMap.h"

namespace {

void OpenOnce() {
    if (ScriptMap::state != nullptr) return;
    ScriptMap::Open();
    RegisterScriptApi();
    luaL_dostring(ScriptMap::state,
                  "t = 0 function AnimationDo(dt) t = t + dt end "
                  "function LevelTime(x) return x * 2 end");
}

void BM_CallFunctionWithFloat(benchmark::State& state) {
    OpenOnce();
    for (auto _ : state) {
        ScriptMap::CallFunctionWithFloat("AnimationDo", 0.016f);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_CallFunctionWithFloat);

void BM_CallFloatFunction(benchmark::State& state) {
    OpenOnce();
    float sum = 0.0f;
    for (auto _ : state) {
        sum += ScriptMap::CallFloatFunction("LevelTime", 1.5f);
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_CallFloatFunction);

}  // namespace

BENCHMARK_MAIN();
