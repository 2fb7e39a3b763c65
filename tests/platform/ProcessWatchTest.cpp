// Programs started with a watch on their exit: success, a non-zero exit, and a start that fails.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/shell/Process.h"

namespace {

using ProcessPort::SpawnWatch;

SpawnWatch::State WaitForEnd(const std::shared_ptr<SpawnWatch>& watch) {
    for (int i = 0; i < 1000 && watch->Get() == SpawnWatch::RUNNING; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return watch->Get();
}

TEST(ProcessWatchTest, TheExitStatusDecidesTheOutcome) {
    EXPECT_EQ(SpawnWatch::SUCCEEDED, WaitForEnd(ProcessPort::SpawnWatched({"true"})));
    EXPECT_EQ(SpawnWatch::FAILED, WaitForEnd(ProcessPort::SpawnWatched({"false"})));
    EXPECT_EQ(SpawnWatch::FAILED, WaitForEnd(ProcessPort::SpawnWatched({"sh", "-c", "exit 3"})));
}

TEST(ProcessWatchTest, AProgramThatCannotStartFailsAtOnce) {
    EXPECT_EQ(SpawnWatch::FAILED, ProcessPort::SpawnWatched({"/nonexistent/marivel-opener"})->Get());
    EXPECT_EQ(SpawnWatch::FAILED, ProcessPort::SpawnWatched({"marivel-no-such-opener"})->Get());
    EXPECT_EQ(SpawnWatch::FAILED, ProcessPort::SpawnWatched({})->Get());
}

}  // namespace
