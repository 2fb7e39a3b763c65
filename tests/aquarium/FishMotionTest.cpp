// Fish motion: a long seeded simulation against the leg, slope, depth and bound rules; turn
// lengths; studying and love; schools waiting on their leader; races; long frames.
#include <gtest/gtest.h>

#include <cmath>

#include "aquarium/FishControl.h"
#include "aquarium/TankRecords.h"
#include "controls/ControlFactory.h"
#include "core/PermanentStorage.h"
#include "core/Random.h"
#include "core/XmlElement.h"
#include "tests/aquarium/FishTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace aquarium_test;
using testing_support::LogCapture;

// A tank item of the tests that answers the race call as told and records it.
class JoiningItem : public TestTankItem {
public:
    JoiningItem(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
        : TestTankItem(parent, xml) {
        joins = xml->GetBoolAttribute("joins");
    }
    bool JoinSchool(int memberIndex, const std::vector<float>& times,
                    const std::vector<TrajectoryPoint>& points) override {
        Trace().push_back(name + " join " + std::to_string(memberIndex) + " of " + std::to_string(points.size()) +
                          (times.size() == points.size() ? "" : " times?"));
        return joins;
    }
    void LeaveSchool() override { Trace().push_back(name + " leave"); }

    bool joins = false;
};

std::string JoiningItemXml(const std::string& name, bool joins) {
    std::string text = TankItemXml(name, "Racer", 300, 50, 0.5f);
    text.replace(0, std::string("<TestTankItem").size(), "<JoiningItem joins=\"" + std::string(joins ? "true" : "false") + "\"");
    text.replace(text.rfind("</TestTankItem>"), std::string("</TestTankItem>").size(), "</JoiningItem>");
    return text;
}

class FishMotionTest : public FishTest {
protected:
    void SetUp() override {
        FishTest::SetUp();
        if (!ControlFactory::IsControlRegistered("JoiningItem")) {
            ControlFactory::RegisterControl("JoiningItem", ControlFactory::Make<JoiningItem>());
            TankItemRecords::Register("JoiningItem", false);
        }
    }
};

struct Snapshot {
    TrajectoryPoint pos, dest, old;
    int state = 0;
};

Snapshot Take(FishControl& fish) { return Snapshot{fish.GetPosition(), fish.GetCurrentDest(), fish.GetOldDest(), fish._stateId}; }

TEST_F(FishMotionTest, TenThousandFramesKeepEveryLegSlopeDepthAndBoundRule) {
    Random::Seed(1234);
    LogCapture log;
    AddScreenReceivers(false);
    const Attributes curious = {{"curiosity", "0.6"}, {"study", "true"}};
    BuildTank(FishElementXml("Guppy", curious) + FishElementXml("Guppy", curious) + FishElementXml("Guppy") +
                  FishElementXml("Racer", {{"school", "0.05"}}) + FishElementXml("Racer", {{"school", "0.05"}}) +
                  FishElementXml("Racer", {{"school", "0.05"}}) + FishElementXml("Neon", {{"school", "1.0"}}) +
                  FishElementXml("Horse", {{"hippocampus", "true"}, {"acceleration", "60.0"}}) +
                  FloorItemXml("fern", 100, 30) + FloorItemXml("moss", 600, 25));
    const float tanMax = std::tan(0.3f);
    std::vector<ObjectWeakPointer<FishControl>> fish;
    for (const ObjectWeakPointer<FishControl>& f : Fish()) {
        fish.push_back(f);
        for (const ObjectSmartPointer<FishControl>& m : f->GetMembers()) fish.push_back(ObjectWeakPointer<FishControl>(m));
    }
    ASSERT_EQ(11u, fish.size());
    std::vector<Snapshot> before;
    for (const auto& f : fish) before.push_back(Take(*f));
    int legs = 0;
    int turns = 0;
    int depthChanges = 0;
    int studies = 0;
    for (int frame = 0; frame < 10000; ++frame) {
        tank->Update(0.02f);
        for (std::size_t i = 0; i < fish.size(); ++i) {
            FishControl& f = *fish[i];
            const Snapshot now = Take(f);
            const Snapshot& was = before[i];
            const TrajectoryPoint& p = now.pos;
            ASSERT_GE(p.y, 0.0f) << frame;
            ASSERT_LE(p.y, 470.0f) << frame;
            ASSERT_GE(p.x, -100.0f) << frame;
            ASSERT_LE(p.x, 900.0f) << frame;
            ASSERT_GE(p.depth, 60) << frame;
            ASSERT_LE(p.depth, 200) << frame;
            ASSERT_GE(now.dest.y, 0.0f) << frame;
            if (p.depth != was.pos.depth) {
                // Only the end of a turn moves the fish to another depth.
                ASSERT_TRUE((was.state & FishStates::TURN) != 0 && (now.state & FishStates::TURN) == 0) << frame;
                ++depthChanges;
            }
            if ((now.state & FishStates::TURN) != 0 && (was.state & FishStates::TURN) == 0) ++turns;
            if ((now.state & FishStates::STUDY) != 0 && (was.state & FishStates::STUDY) == 0) ++studies;
            const bool isNewLeg = now.dest.x != was.dest.x || now.dest.y != was.dest.y;
            const bool isFree = (was.state & FishStates::SCHOOL) == 0 && (now.state & FishStates::SCHOOL) == 0;
            if (isNewLeg && isFree && !f.IsObject()) {
                ++legs;
                const float dx = std::fabs(now.dest.x - now.old.x);
                const bool nearEdge = now.old.x < 200.0f || now.old.x > 600.0f;
                ASSERT_TRUE(dx >= 200.0f - 1e-3f || nearEdge) << frame << " dx " << dx;
                const bool clamped = now.dest.y == 0.0f || now.dest.y == 400.0f;
                ASSERT_TRUE(std::fabs(now.dest.y - now.old.y) <= dx * tanMax + 1e-2f || clamped) << frame;
                ASSERT_LE(std::abs(now.dest.depth - now.old.depth), FishTrajectory::MAX_DEPTH_STEP) << frame;
            }
            before[i] = now;
        }
    }
    EXPECT_GT(legs, 100);
    EXPECT_GT(turns, 50);
    EXPECT_GT(depthChanges, 5);
    EXPECT_GT(studies, 0);
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(FishMotionTest, ATurnTakesLongerTheSlowerTheFishAndTwoSecondsWhenItStandsStill) {
    const struct {
        const char* minSpeed;
        float duration;
    } cases[] = {{"0.0", 2.0f}, {"-5.0", 2.0f}, {"60.0", 1.75f / 0.95f}, {"1000.0", 0.25f}};
    for (const auto& c : cases) {
        BuildTank(FishElementXml("Guppy", {{"minSpeed", c.minSpeed}},
                                 FishStateXml(At(300, 100, 150), At(100, 120, 150), At(300, 100, 150), 0.0f,
                                              FishStates::TURN)),
                  true);
        EXPECT_NEAR(c.duration, FirstFish()->GetTurnDuration(), 1e-4f) << c.minSpeed;
        EXPECT_TRUE(FirstFish()->IsCurrentAnimation("fish_back")) << c.minSpeed;
        container = nullptr;
        tank = nullptr;
    }
}

TEST_F(FishMotionTest, StudyShowsLoveForOneFishAtATimeAndAPlantClickEndsIt) {
    AddScreenReceivers(false);
    const std::string studying = " studyStartSpeed=\"60.0\" studyStartDist=\"300.0\" waiting=\"false\"";
    BuildTank(FishElementXml("Guppy", {},
                             FishStateXml(At(300, 100, 150), At(320, 100, 150), At(0, 100, 150), 0.0f,
                                          FishStates::STUDY, studying)) +
                  FishElementXml("Guppy", {},
                                 FishStateXml(At(500, 200, 140), At(520, 200, 140), At(0, 200, 140), 0.0f,
                                              FishStates::STUDY, studying)) +
                  FloorItemXml("fern", 100, 50));
    const std::vector<ObjectWeakPointer<FishControl>> fish = Fish();
    ASSERT_EQ(2u, fish.size());
    // Both are within the study radius: they loop; only the first shows its love.
    EXPECT_TRUE(fish[0]->IsWaiting());
    EXPECT_TRUE(fish[1]->IsWaiting());
    EXPECT_TRUE(fish[0]->IsLoveShown());
    EXPECT_FALSE(fish[1]->IsLoveShown());
    EXPECT_TRUE(PermanentStorage::GetLocalBool("inLove"));
    for (int i = 0; i < 50; ++i) fish[1]->Update(0.02f);
    // The saved study goes on where it was.
    const ObjectSmartPointer<XmlElement> saved = fish[1]->SaveToXml();
    const ObjectWeakPointer<XmlElement> state = saved->GetFirstChildElement("state");
    EXPECT_TRUE(state->GetBoolAttribute("waiting"));
    EXPECT_TRUE(state->GetFirstChildElement("studyAction") != NULL);

    Move(110, 160);
    Down(110, 160);  // on the fern
    Up(110, 160);
    EXPECT_FALSE(PermanentStorage::GetLocalBool("inLove"));
    for (const ObjectWeakPointer<FishControl>& f : fish) {
        EXPECT_TRUE(f->Is(FishStates::SWIM));
        EXPECT_FALSE(f->Is(FishStates::STUDY));
        EXPECT_FALSE(f->IsLoveShown());
        EXPECT_FALSE(f->IsWaiting());
    }
}

TEST_F(FishMotionTest, AStudyLoopLastsFifteenSecondsAndThenLetsTheLoveGo) {
    const std::string studying = " studyStartSpeed=\"60.0\" studyStartDist=\"300.0\" waiting=\"false\"";
    BuildTank(FishElementXml("Guppy", {},
                             FishStateXml(At(300, 100, 150), At(320, 100, 150), At(0, 100, 150), 0.0f,
                                          FishStates::STUDY, studying)));
    const ObjectWeakPointer<FishControl> fish = FirstFish();
    for (int i = 0; i < 149; ++i) fish->Update(0.1f);
    EXPECT_TRUE(fish->Is(FishStates::STUDY));
    EXPECT_TRUE(PermanentStorage::GetLocalBool("inLove"));
    fish->Update(0.1f);
    fish->Update(0.1f);
    EXPECT_TRUE(fish->Is(FishStates::SWIM));
    EXPECT_FALSE(fish->IsLoveShown());
    EXPECT_FALSE(PermanentStorage::GetLocalBool("inLove"));
}

TEST_F(FishMotionTest, AMemberWithAnEmptyQueueWaitsOnItsLeg) {
    Random::Seed(2);
    LogCapture log;
    BuildTank(FishElementXml("Neon", {{"school", "1.0"}},
                             FishStateXml(At(300, 200, 150), At(340, 200, 150), At(100, 200, 150))),
              true);
    const ObjectSmartPointer<FishControl> member = FirstFish()->GetMembers().front();
    const TrajectoryPoint dest = member->GetCurrentDest();
    const TrajectoryPoint old = member->GetOldDest();
    ASSERT_EQ(0u, member->GetLeaderQueueLength());
    for (int i = 0; i < 200; ++i) {
        member->Update(0.02f);
        ASSERT_FALSE(member->Is(FishStates::TURN)) << i;
        ASSERT_EQ(dest.x, member->GetCurrentDest().x) << i;
        ASSERT_EQ(old.x, member->GetOldDest().x) << i;
    }
    EXPECT_NEAR(dest.x, member->GetPosition().x, 60.0f);
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(FishMotionTest, ARaceStartsOnlyWithThreeOrMoreFishThatJoin) {
    const std::string turning =
        FishStateXml(At(300, 100, 150), At(100, 120, 150), At(300, 100, 150), 0.0f, FishStates::TURN);
    const struct {
        std::vector<bool> joins;
        std::vector<std::string> trace;
    } cases[] = {
        {{true}, {}},  // two fish of the kind: too few to ask
        {{true, true}, {"a join 0 of 20", "b join 1 of 20", "a leave", "b leave"}},
        {{true, false, true}, {"a join 0 of 20", "b join 1 of 20", "c join 1 of 20", "a leave", "c leave"}},
        {{true, true, true}, {"a join 0 of 20", "b join 1 of 20", "c join 2 of 20"}},
    };
    for (const auto& c : cases) {
        Random::Seed(4);
        std::string layout = FishElementXml("Racer", {{"school", "0.999"}}, turning);
        const char* names[] = {"a", "b", "c"};
        for (std::size_t i = 0; i < c.joins.size(); ++i) layout += JoiningItemXml(names[i], c.joins[i]);
        BuildTank(layout, true);
        Trace().clear();
        // The turning fish refuses to join itself.
        FirstFish()->TryStartSchool();
        std::vector<std::string> trace;
        for (const std::string& entry : Trace()) {
            if (entry.find(" join ") != std::string::npos || entry.find(" leave") != std::string::npos) {
                trace.push_back(entry);
            }
        }
        EXPECT_EQ(c.trace, trace) << c.joins.size();
        EXPECT_FALSE(FirstFish()->Is(FishStates::SCHOOL));
        container = nullptr;
        tank = nullptr;
    }
}

TEST_F(FishMotionTest, AFishJoinsARaceOnlyTowardsASteepPointAheadAndRunsTheRouteToItsEnd) {
    Random::Seed(8);
    LogCapture log;
    const std::string studying = " studyStartSpeed=\"60.0\" studyStartDist=\"300.0\" waiting=\"false\"";
    // Swimming right from 100 to 400 at y 200.
    const TrajectoryPoint pos = At(250, 200, 150);
    const TrajectoryPoint dest = At(400, 200, 150);
    const TrajectoryPoint old = At(100, 200, 150);
    BuildTank(FishElementXml("Racer", {}, FishStateXml(pos, dest, old)) +
                  FishElementXml("Racer", {}, FishStateXml(pos, dest, old, 0.0f, FishStates::TURN)) +
                  FishElementXml("Racer", {}, FishStateXml(pos, dest, old, 0.0f, FishStates::STUDY, studying)),
              true);
    const std::vector<ObjectWeakPointer<FishControl>> fish = Fish();
    ASSERT_EQ(3u, fish.size());
    // A route that zigzags through the tank; its first point lies ahead, 300 right and 150 up.
    std::vector<TrajectoryPoint> points;
    std::vector<float> times;
    for (int i = 0; i < FishControl::RACE_LENGTH; ++i) {
        points.push_back(At(i % 2 == 0 ? 700.0f : 150.0f, i % 2 == 0 ? 350.0f : 150.0f, 150));
        times.push_back(i == 0 ? 2.0f : 550.0f / 60.0f);
    }
    const struct {
        TrajectoryPoint first;
        bool joins;
    } firsts[] = {
        {At(700, 240, 150), false},  // not steep
        {At(450, 350, 150), false},  // too near
        {At(700, 350, 180), false},  // too deep
        {At(100, 350, 150), false},  // behind the leg
    };
    for (const auto& f : firsts) {
        std::vector<TrajectoryPoint> route = points;
        route[0] = f.first;
        EXPECT_EQ(f.joins, fish[0]->JoinSchool(1, times, route)) << f.first.x << " " << f.first.y;
    }
    EXPECT_FALSE(fish[1]->JoinSchool(0, times, points));  // turning
    EXPECT_FALSE(fish[2]->JoinSchool(0, times, points));  // studying
    ASSERT_TRUE(fish[0]->JoinSchool(1, times, points));
    EXPECT_FALSE(fish[0]->JoinSchool(1, times, points));  // on a route already
    EXPECT_TRUE(fish[0]->Is(FishStates::SCHOOL));
    EXPECT_EQ(20u, fish[0]->GetRouteLength());
    EXPECT_FLOAT_EQ(2.0f, fish[0]->GetTimeLeft());
    EXPECT_FLOAT_EQ(300.0f + 150.0f, fish[0]->GetDistanceLeft());

    // Member 1 runs a quarter width (16) above the route; it hurries to keep the times.
    bool wasFast = false;
    int frames = 0;
    while (fish[0]->Is(FishStates::SCHOOL) && frames < 20000) {
        fish[0]->Update(0.02f);
        wasFast = wasFast || fish[0]->GetSpeed() > 100.0f;
        ++frames;
    }
    EXPECT_LT(frames, 20000);
    EXPECT_EQ(0u, fish[0]->GetRouteLength());
    EXPECT_TRUE(wasFast);
    // The last point (index 19 is the left one) plus the member's offset.
    EXPECT_NEAR(150.0f, fish[0]->GetCurrentDest().x, 1e-3f);
    EXPECT_NEAR(150.0f + 32.0f, fish[0]->GetCurrentDest().y, 1e-3f);
    fish[0]->LeaveSchool();
    EXPECT_FALSE(fish[0]->Is(FishStates::SCHOOL));
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(FishMotionTest, AFrameLongerThanATenthCountsAsATenth) {
    std::string texts[2];
    const float steps[2] = {0.1f, 0.2f};
    for (int run = 0; run < 2; ++run) {
        Random::Seed(99);
        BuildTank(FishElementXml("Guppy") + FishElementXml("Horse", {{"hippocampus", "true"}}), true);
        for (int i = 0; i < 80; ++i) {
            for (const ObjectWeakPointer<FishControl>& f : Fish()) f->Update(steps[run]);
        }
        for (const ObjectWeakPointer<FishControl>& f : Fish()) texts[run] += ElementText(f->SaveToXml());
        container = nullptr;
        tank = nullptr;
    }
    EXPECT_EQ(texts[0], texts[1]);
}

}  // namespace
