#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "content/ControllerManager.h"
#include "content/EffectObserver.h"
#include "content/ParticleLibrary.h"
#include "tests/core/CheckReports.h"
#include "tests/support/TestSupport.h"

namespace {

// Records every call into one shared journal.
class Probe : public IController {
public:
    Probe(const std::string& name, std::vector<std::string>& journal) : IController(name), _journal(journal) {}
    ~Probe() override { _journal.push_back(GetName() + " deleted"); }

    void Update(float dt) override {
        _journal.push_back(GetName() + " update " + std::to_string(static_cast<int>(dt * 1000)));
        ++updates;
        if (onUpdate) onUpdate();
    }
    bool IsFinished() override {
        _journal.push_back(GetName() + " asked");
        return finishAfter >= 0 && updates >= finishAfter;
    }

    int updates = 0;
    int finishAfter = -1;
    std::function<void()> onUpdate;

private:
    std::vector<std::string>& _journal;
};

using Journal = std::vector<std::string>;

TEST(ControllerManagerTest, LifeCycleFromAddingToDeletion) {
    Core::ControllerManager manager;
    Journal journal;
    auto* a = new Probe("a", journal);
    a->finishAfter = 2;
    manager.addController(a);
    EXPECT_TRUE(manager.IsPending());
    EXPECT_TRUE(journal.empty());  // nothing before the merge

    manager.MergeNewControllers();
    EXPECT_FALSE(manager.IsPending());
    EXPECT_EQ((Journal{"a update 0"}), journal);
    ASSERT_EQ(1u, manager.GetRunning().size());

    journal.clear();
    manager.Update(0.5f);  // a has one update: not finished
    EXPECT_EQ((Journal{"a asked", "a update 500"}), journal);

    journal.clear();
    manager.Update(0.5f);  // two updates now: finished and deleted in the same call
    EXPECT_EQ((Journal{"a asked", "a deleted"}), journal);
    EXPECT_TRUE(manager.GetRunning().empty());
}

TEST(ControllerManagerTest, FinishedOnFirstAskNeverUpdatedAndNewComeLast) {
    Core::ControllerManager manager;
    Journal journal;
    auto* first = new Probe("first", journal);
    auto* quick = new Probe("quick", journal);
    quick->finishAfter = 0;
    manager.addController(first);
    manager.addController(quick);
    manager.MergeNewControllers();
    journal.clear();

    // One added during the frame's update: Update(0) at the merge, behind the others.
    bool added = false;
    first->onUpdate = [&]() {
        if (added) return;
        added = true;
        manager.addController(new Probe("late", journal));
    };
    manager.Update(0.1f);
    EXPECT_EQ((Journal{"first asked", "first update 100", "quick asked", "quick deleted"}), journal);
    EXPECT_TRUE(manager.IsPending());
    journal.clear();
    manager.MergeNewControllers();
    EXPECT_EQ((Journal{"late update 0"}), journal);
    journal.clear();
    manager.Update(0.1f);
    EXPECT_EQ((Journal{"first asked", "first update 100", "late asked", "late update 100"}), journal);

    // Controllers still held at the manager's end are not deleted by it.
    for (IController* c : manager.GetRunning()) delete c;
}

TEST(ControllerManagerTest, PurgeFromInsideAnUpdateDefersDeletionToTheEndOfTheWalk) {
    Core::ControllerManager manager;
    Journal journal;
    auto* purger = new Probe("purger", journal);
    auto* other = new Probe("other", journal);
    auto* done = new Probe("done", journal);
    manager.addController(purger);
    manager.addController(done);
    manager.addController(other);
    manager.MergeNewControllers();
    journal.clear();

    // The purger finishes itself and another, then purges with Update(0), as a script message can.
    purger->onUpdate = [&]() {
        purger->finishAfter = 0;
        done->finishAfter = 0;
        manager.Update(0.0f);
        journal.push_back("purge returned");
    };
    manager.Update(0.2f);
    const Journal expected = {
        "purger asked", "purger update 200",
        // nested walk: the purger itself is skipped, "done" is marked, nothing is deleted
        "done asked", "other asked", "other update 0", "purge returned",
        // the outer walk goes on: "done" was marked by the nested walk and is not asked again
        "other asked", "other update 200",
        "done deleted"};
    EXPECT_EQ(expected, journal);
    ASSERT_EQ(2u, manager.GetRunning().size());

    journal.clear();
    manager.Update(0.1f);
    EXPECT_EQ((Journal{"purger asked", "other asked", "other update 100", "purger deleted"}), journal);
    for (IController* c : manager.GetRunning()) delete c;
}

// Effects for the observer: systems written in code, no texture.
class EffectRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        Core::GetEffectObserver().Clear();
        GetParticleLibrary().Clear();
        ParticleEffect& effect = GetParticleLibrary().GetEffect("burst");  // reported, then filled
        ParticleSystem system;
        system.lifeInitial = 1.0f;
        system.particles.resize(4);
        system.needStartDeadCounter = true;
        system.deadCountTime = 0.5f;
        effect.systems.push_back(system);
    }
    void TearDown() override {
        Core::GetEffectObserver().Clear();
        GetParticleLibrary().Clear();
    }
};

TEST_F(EffectRunTest, ObserverStepIsLimitedAndFinishedEffectsGoAway) {
    EffectOwner owner;
    EffectHandle handle = owner.StartEffect("burst");
    ASSERT_FALSE(handle.IsGone());
    Core::GetEffectObserver().Update(0.25f);
    EXPECT_FLOAT_EQ(0.1f, handle->time);
    Core::GetEffectObserver().Update(0.0f);
    EXPECT_FLOAT_EQ(0.1f, handle->time);
    // Stops emitting at 0.5 s of its own time; every particle ends at 1 s of its life.
    for (int i = 0; i < 30 && !handle.IsGone(); ++i) Core::GetEffectObserver().Update(0.1f);
    EXPECT_TRUE(handle.IsGone());
    EXPECT_EQ(0u, owner.GetEffectCount());
    EXPECT_EQ(0u, Core::GetEffectObserver().GetEffectCount());
    handle.Finish();  // gone: nothing happens
    handle.Stop();
}

TEST_F(EffectRunTest, OwnerEndAndFinishAllDeleteAtOnceOthersStay) {
    EffectOwner keeper;
    EffectHandle kept = keeper.StartEffect("burst");
    std::vector<EffectHandle> handles;
    {
        EffectOwner owner;
        for (int i = 0; i < 3; ++i) handles.push_back(owner.StartEffect("burst"));
        EXPECT_EQ(4u, Core::GetEffectObserver().GetEffectCount());
    }
    for (const EffectHandle& h : handles) EXPECT_TRUE(h.IsGone());
    ASSERT_FALSE(kept.IsGone());
    EXPECT_FLOAT_EQ(0.0f, kept->time);  // advanced by 0 s

    keeper.PauseAll();
    Core::GetEffectObserver().Update(0.05f);
    EXPECT_FLOAT_EQ(0.0f, kept->time);
    keeper.ResumeAll();
    Core::GetEffectObserver().Update(0.05f);
    EXPECT_FLOAT_EQ(0.05f, kept->time);

    keeper.FinishAll();
    Core::ControllerManager manager;
    manager.addController(&Core::GetEffectObserver());
    manager.MergeNewControllers();
    EXPECT_TRUE(kept.IsGone());
    EXPECT_EQ(0u, keeper.GetEffectCount());
}

TEST_F(EffectRunTest, MissingEffectIsReportedOnceAndEndsAtTheNextUpdate) {
    testing_support::LogCapture capture;
    EffectOwner owner;
    EffectHandle first = owner.StartEffect("nothing");
    EffectHandle second = owner.StartEffect("nothing");
    EXPECT_EQ(1, capture.ErrorCount());
    EXPECT_TRUE(capture.Contains("Effect nothing not found!"));
    ASSERT_FALSE(first.IsGone());
    Core::GetEffectObserver().Update(0.01f);
    EXPECT_TRUE(first.IsGone());
    EXPECT_TRUE(second.IsGone());
}

}  // namespace
