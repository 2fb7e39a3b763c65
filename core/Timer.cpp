#include "core/Timer.h"

#include <pthread.h>
#include <sched.h>
#include <unistd.h>

#include <ctime>

#include "core/Assert.h"
#include "core/Random.h"

namespace {

int callCount = 0;

Timer::SystemCalls& Calls() {
    static Timer::SystemCalls calls = Timer::RealSystemCalls();
    return calls;
}

int BitCount(std::uint64_t mask) { return __builtin_popcountll(mask); }

std::uint64_t ToMask(const cpu_set_t& set) {
    std::uint64_t mask = 0;
    for (int cpu = 0; cpu < 64; ++cpu) {
        if (CPU_ISSET(cpu, &set)) mask |= std::uint64_t(1) << cpu;
    }
    return mask;
}

bool QueryMonotonicCounter(std::int64_t& counter) {
    timespec now{};
    if (clock_gettime(CLOCK_MONOTONIC, &now) != 0) return false;
    counter = std::int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
    return true;
}

bool QueryMonotonicFrequency(std::int64_t& frequency) {
    timespec resolution{};
    if (clock_getres(CLOCK_MONOTONIC, &resolution) != 0) return false;
    frequency = 1000000000;
    return true;
}

bool GetProcessAffinity(std::uint64_t& processMask, std::uint64_t& systemMask) {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(getpid(), sizeof(set), &set) != 0) return false;
    processMask = ToMask(set);
    const long configured = sysconf(_SC_NPROCESSORS_CONF);
    systemMask = 0;
    for (long cpu = 0; cpu < configured && cpu < 64; ++cpu) systemMask |= std::uint64_t(1) << cpu;
    return true;
}

std::uint64_t SetThreadAffinity(std::uint64_t threadMask) {
    cpu_set_t old;
    CPU_ZERO(&old);
    if (pthread_getaffinity_np(pthread_self(), sizeof(old), &old) != 0) return 0;
    cpu_set_t set;
    CPU_ZERO(&set);
    for (int cpu = 0; cpu < 64; ++cpu) {
        if (threadMask & (std::uint64_t(1) << cpu)) CPU_SET(cpu, &set);
    }
    if (pthread_setaffinity_np(pthread_self(), sizeof(set), &set) != 0) return 0;
    return ToMask(old);
}

void Check(bool condition, const char* text, int line) {
    if (!condition) ReportFailure("Assertion failed", text, __FILE__, line);
}

}  // namespace

Timer::SystemCalls Timer::RealSystemCalls() {
    SystemCalls calls;
    calls.queryCounter = QueryMonotonicCounter;
    calls.queryFrequency = QueryMonotonicFrequency;
    calls.getProcessAffinity = GetProcessAffinity;
    calls.setThreadAffinity = SetThreadAffinity;
    calls.random = [] { return Random::Next(); };
    calls.seedRandom = [](std::uint32_t seed) { Random::Seed(seed); };
    return calls;
}

void Timer::SetSystemCalls(const SystemCalls& calls) { Calls() = calls; }

Timer::Timer(ObjectSmartPointer<Variable<bool>> useSingleCore) : _useSingleCore(useSingleCore) {
    Assert(useSingleCore != NULL);
    std::int64_t frequency = 0;
    Check(Calls().queryFrequency(frequency), "QueryPerformanceFrequency(&frequency)", __LINE__);
    _secondsPerTick = frequency > 0 ? 1.0f / float(frequency) : 0.0f;
    _isStarted = false;
    _isPaused = false;
    ++callCount;
    Assert(GetCallCount() == 1);
    if (_useSingleCore != NULL && _useSingleCore->GetValue()) {
        bool alreadySingleCoreMode = false;
        SetSingleCoreMode(alreadySingleCoreMode);
        if (alreadySingleCoreMode) {
            _useSingleCore->SetValue(false);
        }
    }
}

int Timer::GetCallCount() { return callCount; }

void Timer::ResetCallCount() { callCount = 0; }

void Timer::Start() {
    Assert(!_isStarted);
    _startCounter = GetCounter();
    _isStarted = true;
    Assert(!_isPaused);
}

void Timer::Pause() {
    Assert(_isStarted);
    Assert(!_isPaused);
    _pauseCounter = GetCounter();
    _isPaused = true;
}

void Timer::Resume() {
    Assert(_isStarted);
    Assert(_isPaused);
    _startCounter += GetCounter() - _pauseCounter;
    _isPaused = false;
}

float Timer::Stop() {
    Assert(_isStarted);
    Assert(!_isPaused);
    const float step = float(GetCounter() - _startCounter) * _secondsPerTick;
    _isStarted = false;
    if (step > 0.0f) {
        return step;
    }
    // The counter stood still or ran backwards: the thread moved between processors.
    bool alreadySingleCoreMode = false;
    SetSingleCoreMode(alreadySingleCoreMode);
    Assert(!alreadySingleCoreMode);
    return 0.001f;
}

void Timer::SeedRandom() { Calls().seedRandom(std::uint32_t(GetCounter())); }

std::int64_t Timer::GetCounter() {
    std::int64_t ans = 0;
    Check(Calls().queryCounter(ans), "QueryPerformanceCounter(&ans)", __LINE__);
    return ans;
}

void Timer::SetSingleCoreMode(bool& alreadySingleCoreMode) {
    alreadySingleCoreMode = false;
    std::uint64_t processAffinityMask = 0;
    std::uint64_t systemAffinityMask = 0;
    Check(Calls().getProcessAffinity(processAffinityMask, systemAffinityMask),
          "GetProcessAffinityMask(hProcess, &processAffinityMask, &systemAffinityMask) != 0", __LINE__);
    Assert(processAffinityMask > 0);
    const int bitCount = BitCount(processAffinityMask);
    if (bitCount == 1) {
        alreadySingleCoreMode = true;
        return;
    }
    Assert(bitCount > 1);
    if (bitCount <= 1) {
        return;
    }
    const int k = Calls().random() % bitCount + 1;
    std::uint64_t threadAffinityMask = 0;
    int seen = 0;
    for (int bit = 0; bit < 64; ++bit) {
        const std::uint64_t one = std::uint64_t(1) << bit;
        if ((processAffinityMask & one) != 0 && ++seen == k) {
            threadAffinityMask = one;
            break;
        }
    }
    Assert(threadAffinityMask != 0);
    Assert((threadAffinityMask & (threadAffinityMask - 1)) == 0);
    Assert((threadAffinityMask & ~processAffinityMask) == 0);
    const std::uint64_t oldThreadAffinityMask = Calls().setThreadAffinity(threadAffinityMask);
    Assert(oldThreadAffinityMask != 0);
    alreadySingleCoreMode = BitCount(oldThreadAffinityMask) == 1;
}
