#pragma once
// The frame timer over the monotonic high-resolution counter; one per process.

#include <cstdint>
#include <functional>

#include "core/ObjectSmartPointer.h"
#include "core/Variable.h"

class Timer {
public:
    // The system services the timer uses; tests replace them.
    struct SystemCalls {
        // Counter and its ticks per second; false on failure.
        std::function<bool(std::int64_t& counter)> queryCounter;
        std::function<bool(std::int64_t& frequency)> queryFrequency;
        // Affinity masks of the process and of the system; false on failure.
        std::function<bool(std::uint64_t& processMask, std::uint64_t& systemMask)> getProcessAffinity;
        // Pins the calling thread; returns its previous mask, 0 on failure.
        std::function<std::uint64_t(std::uint64_t threadMask)> setThreadAffinity;
        // The game's random generator: 0..32767.
        std::function<int()> random;
        std::function<void(std::uint32_t seed)> seedRandom;
    };
    static SystemCalls RealSystemCalls();
    static void SetSystemCalls(const SystemCalls& calls);

    explicit Timer(ObjectSmartPointer<Variable<bool>> useSingleCore);
    ~Timer() = default;
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void Start();
    void Pause();
    void Resume();
    // Seconds since Start without the paused time; never zero or negative.
    float Stop();

    void SeedRandom();
    std::int64_t GetCounter();
    // Pins the thread to one processor; tells whether it ran on one already.
    void SetSingleCoreMode(bool& alreadySingleCoreMode);

    static int GetCallCount();
    // Lets a test program build a timer per test.
    static void ResetCallCount();

    bool IsStarted() const { return _isStarted; }
    bool IsPaused() const { return _isPaused; }

private:
    std::int64_t _startCounter = 0;
    std::int64_t _pauseCounter = 0;
    float _secondsPerTick = 0.0f;
    bool _isStarted = false;
    bool _isPaused = false;
    ObjectSmartPointer<Variable<bool>> _useSingleCore;
};
