#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/Timer.h"
#include "tests/support/TestSupport.h"

using testing_support::LogCapture;

namespace {

// A machine whose counter, processors and random numbers the test sets.
struct FakeMachine {
    std::int64_t counter = 0;
    std::uint64_t processMask = 0b1111;
    std::uint64_t threadMask = 0b1111;
    int randomValue = 0;
    std::vector<std::uint64_t> pins;

    Timer::SystemCalls Calls() {
        Timer::SystemCalls calls;
        calls.queryCounter = [this](std::int64_t& c) {
            c = counter;
            return true;
        };
        calls.queryFrequency = [](std::int64_t& f) {
            f = 1000;
            return true;
        };
        calls.getProcessAffinity = [this](std::uint64_t& process, std::uint64_t& system) {
            process = processMask;
            system = 0xFF;
            return true;
        };
        calls.setThreadAffinity = [this](std::uint64_t mask) {
            pins.push_back(mask);
            const std::uint64_t old = threadMask;
            threadMask = mask;
            return old;
        };
        calls.random = [this] { return randomValue; };
        calls.seedRandom = [](std::uint32_t) {};
        return calls;
    }
};

class TimerTest : public testing::Test {
protected:
    void SetUp() override {
        Timer::ResetCallCount();
        Timer::SetSystemCalls(machine.Calls());
    }
    void TearDown() override { Timer::SetSystemCalls(Timer::RealSystemCalls()); }

    ObjectSmartPointer<SimpleVariable<bool>> Option(bool value) {
        return ObjectSmartPointer<SimpleVariable<bool>>(new SimpleVariable<bool>(value));
    }

    FakeMachine machine;
};

}  // namespace

TEST_F(TimerTest, PausedTimeIsLeftOutOfTheStep) {
    Timer timer(Option(false));
    machine.counter = 500;
    timer.Start();
    machine.counter = 600;
    timer.Pause();
    machine.counter = 3600;  // three seconds of loading
    timer.Resume();
    machine.counter = 3850;
    EXPECT_FLOAT_EQ(timer.Stop(), 0.35f);
    EXPECT_TRUE(machine.pins.empty());
}

TEST_F(TimerTest, ZeroOrBackwardStepBecomesAMillisecondAndPinsTheThread) {
    Timer timer(Option(false));
    LogCapture log;
    machine.counter = 1000;
    timer.Start();
    EXPECT_FLOAT_EQ(timer.Stop(), 0.001f);
    ASSERT_EQ(machine.pins.size(), 1u);
    EXPECT_EQ(machine.pins[0], 0b0001u);
    EXPECT_EQ(log.ErrorCount(), 0);

    // Once pinned, a counter running backwards is reported.
    timer.Start();
    machine.counter = 900;
    EXPECT_FLOAT_EQ(timer.Stop(), 0.001f);
    EXPECT_TRUE(log.Contains("!alreadySingleCoreMode"));
    EXPECT_EQ(log.ErrorCount(), 1);
}

TEST_F(TimerTest, PinsToTheKthSetBitOfTheProcessMask) {
    machine.processMask = 0b1010;
    machine.threadMask = 0b1010;
    Timer timer(Option(false));
    for (int random : {0, 1, 2, 32767}) {
        machine.randomValue = random;
        machine.pins.clear();
        bool already = true;
        timer.SetSingleCoreMode(already);
        ASSERT_EQ(machine.pins.size(), 1u);
        EXPECT_EQ(machine.pins[0], random % 2 == 0 ? 0b0010u : 0b1000u) << random;
    }
}

TEST_F(TimerTest, SingleCoreOption) {
    {
        // Several processors: the thread is pinned and the option stays.
        auto option = Option(true);
        Timer timer(option);
        EXPECT_EQ(machine.pins.size(), 1u);
        EXPECT_TRUE(option->GetValue());
    }
    {
        // One processor: nothing to pin, and the option is switched off.
        Timer::ResetCallCount();
        machine.processMask = 0b0100;
        machine.pins.clear();
        auto option = Option(true);
        Timer timer(option);
        EXPECT_TRUE(machine.pins.empty());
        EXPECT_FALSE(option->GetValue());
    }
}

TEST_F(TimerTest, CallsOutOfOrderAndASecondTimerAreReported) {
    Timer timer(Option(false));
    LogCapture log;
    timer.Stop();
    EXPECT_TRUE(log.Contains("_isStarted"));
    timer.Start();
    timer.Resume();
    EXPECT_TRUE(log.Contains("_isPaused"));
    Timer second(Option(false));
    EXPECT_TRUE(log.Contains("GetCallCount() == 1"));
}

TEST_F(TimerTest, RealCounterAdvances) {
    Timer::SetSystemCalls(Timer::RealSystemCalls());
    Timer timer(Option(false));
    timer.Start();
    const float step = timer.Stop();
    EXPECT_GT(step, 0.0f);
    EXPECT_LT(step, 1.0f);
}
