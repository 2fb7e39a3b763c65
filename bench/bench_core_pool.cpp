// Pooled allocation and release of small objects beside plain new/delete, in one run.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "core/ObjectSmartPointer.h"

namespace {

struct Small : public Interface {
    int a = 1;
    float b = 2.0f;
};

struct Plain {
    virtual ~Plain() = default;
    void* links[4] = {};
    int a = 1;
    float b = 2.0f;
};

void BM_PooledObjects(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    std::vector<ObjectSmartPointer<Small>> objects(count);
    for (auto _ : state) {
        for (auto& o : objects) o = ObjectSmartPointer<Small>(new Small);
        for (auto& o : objects) o = nullptr;
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * count));
}

void BM_PlainNewDelete(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    std::vector<std::unique_ptr<Plain>> objects(count);
    for (auto _ : state) {
        for (auto& o : objects) o.reset(new Plain);
        for (auto& o : objects) o.reset();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * count));
}

void BM_PoolBlocksOnly(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    std::vector<void*> blocks(count);
    for (auto _ : state) {
        for (auto& b : blocks) b = Pool::Allocate(48);
        for (auto& b : blocks) Pool::Release(b, 48);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * count));
}

void BM_MallocBlocksOnly(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    std::vector<void*> blocks(count);
    for (auto _ : state) {
        for (auto& b : blocks) b = ::operator new(48);
        for (auto& b : blocks) ::operator delete(b);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * count));
}

}  // namespace

BENCHMARK(BM_PooledObjects)->Arg(1000);
BENCHMARK(BM_PlainNewDelete)->Arg(1000);
BENCHMARK(BM_PoolBlocksOnly)->Arg(1000);
BENCHMARK(BM_MallocBlocksOnly)->Arg(1000);
BENCHMARK_MAIN();
