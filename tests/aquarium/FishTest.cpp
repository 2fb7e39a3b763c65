// One fish: the three construction roads, the click on its picture, selling a school, the saved
// element, the hearts and the tank's questions.
#include <gtest/gtest.h>

#include <cmath>

#include "aquarium/FishControl.h"
#include "controls/MouseEvents.h"
#include "core/Float.h"
#include "core/Math.h"
#include "core/VolumeObject.h"
#include "core/PermanentStorage.h"
#include "core/Random.h"
#include "core/XmlElement.h"
#include "tests/aquarium/FishTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace aquarium_test;
using testing_support::LogCapture;

// Hearts reach the test item once for every "comfort" the tank hears.
std::size_t HeartsOf(const std::string& name) { return TraceOf(name + " text show harts").size(); }

TEST_F(FishTest, ANewFishDropsInFromAboveInOneSecondAndAsksForHeartsOnce) {
    Random::Seed(7);
    LogCapture log;
    BuildTank(TankItemXml("pal", "Pal", 300, 50, 0.5f));
    AddTemplate("Guppy", FishElementXml("Guppy"));
    Send("add Guppy");
    const ObjectWeakPointer<FishControl> fish = Fish().back();
    EXPECT_EQ(1u, HeartsOf("pal"));
    EXPECT_TRUE(fish->Is(FishStates::ENTER));
    EXPECT_TRUE(fish->Is(FishStates::SWIM));
    EXPECT_TRUE(fish->IsBubbleTrailShown());
    const FPoint entry = fish->GetEntryPoint();
    EXPECT_FLOAT_EQ(600.0f, entry._y);
    // The entry starts 20 to 99 units behind the fish, opposite to where it swims.
    const TrajectoryPoint pos = fish->GetPosition();
    const float behind = (entry._x - pos.x) * static_cast<float>(fish->GetCurrentDest().x > pos.x ? 1 : -1);
    EXPECT_LE(behind, -20.0f);
    EXPECT_GE(behind, -99.0f);
    EXPECT_NEAR(Math::PI / 2.0f, fish->GetPitch(), 1e-5f);  // nose down

    Run(49, 0.02f);
    EXPECT_TRUE(fish->Is(FishStates::ENTER));
    Run(2, 0.02f);  // 50 steps of 0.02 add up to a hair below 1
    EXPECT_FALSE(fish->Is(FishStates::ENTER));
    EXPECT_NEAR(pos.y, fish->GetEntryPoint()._y, 1e-3f);
    EXPECT_NEAR(pos.x, fish->GetEntryPoint()._x, 1e-3f);
    EXPECT_NEAR(0.0f, fish->GetPitch(), 1e-3f);
    EXPECT_FALSE(fish->IsBubbleTrailShown());
    Run(100, 0.02f);
    EXPECT_EQ(1u, HeartsOf("pal"));
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(FishTest, TheHeartsOfAnEnteringFishFollowItFromItsFirstFrame) {
    Random::Seed(7);
    BuildTank("");
    AddTemplate("Guppy", FishElementXml("Guppy"));
    Send("add Guppy");
    const ObjectWeakPointer<FishControl> fish = Fish().back();
    fish->OnText("show harts");
    for (int frame = 0; frame < 30; ++frame) {
        tank->Draw();
        ASSERT_TRUE(fish->Is(FishStates::ENTER));
        const FPoint entry = fish->GetEntryPoint();
        const FPoint head = fish->GetHeadAnchor();
        // The head lies within the picture's reach of where the fish is drawn, never at the corner.
        EXPECT_NEAR(entry._x, head._x, 40.0f) << frame;
        EXPECT_NEAR(fish->Project(entry._y, fish->GetZ()), head._y, 40.0f) << frame;
        Run(1, 0.02f);
    }
}

TEST_F(FishTest, AFishOfABackgroundTankStartsInPlaceBehindItsFirstDestinationAndSendsNothing) {
    Random::Seed(11);
    BuildTank(TankItemXml("pal", "Pal", 300, 50, 0.5f) + FishElementXml("Guppy"), true);
    const ObjectWeakPointer<FishControl> fish = FirstFish();
    ASSERT_TRUE(fish != NULL);
    EXPECT_EQ(0u, HeartsOf("pal"));
    EXPECT_EQ(FishStates::SWIM, fish->_stateId);
    EXPECT_FALSE(fish->IsBubbleTrailShown());
    const TrajectoryPoint& pos = fish->GetPosition();
    const TrajectoryPoint& dest = fish->GetCurrentDest();
    EXPECT_EQ(pos.depth, dest.depth);
    EXPECT_EQ(pos.x, fish->GetOldDest().x);
    // The leg goes away from the start: the 20 units behind lie on the far side.
    EXPECT_GE(std::fabs(dest.x - pos.x), FishTrajectory::MIN_TRAVEL + 20.0f - 1e-3f);
    EXPECT_FLOAT_EQ(50.0f, fish->GetSpeed());
}

TEST_F(FishTest, ARestoredFishKeepsItsStateAndSavesItAgainByteForByte) {
    Random::Seed(3);
    LogCapture log;
    const std::string state =
        FishStateXml(At(300.5f, 150.25f, 150), At(520.0f, 180.0f, 150), At(100.0f, 140.0f, 150), 0.125f);
    BuildTank(FishElementXml("Guppy", {}, state));
    const ObjectWeakPointer<FishControl> fish = FirstFish();
    ASSERT_TRUE(fish != NULL);
    EXPECT_EQ(FishStates::SWIM, fish->_stateId);
    EXPECT_EQ(300.5f, fish->GetPosition().x);
    EXPECT_EQ(150, fish->GetPosition().depth);
    EXPECT_EQ(520.0f, fish->GetCurrentDest().x);
    EXPECT_FLOAT_EQ(60.0f, fish->GetSpeed());  // minSpeed
    EXPECT_EQ(1, FishDepthTable::HolderCount(150));
    EXPECT_EQ(0u, HeartsOf("nobody"));

    // Swim a while, then save, rebuild from the saved element and save again.
    Run(300, 0.02f);
    const std::string first = ElementText(fish->SaveToXml());
    // Elements and attributes in the record's order.
    const char* const order[] = {"<position x=", "<animations side=", "front=", "back=", "shadow=",
                                 "<fishInfo templateId=", "acceleration=", "accTime=", "maxAngle=", "minPause=",
                                 "maxPause=", "minSpeed=", "minAction=", "hippocampus=", "study=", "school=", "race=",
                                 "curiosity=", "<state isObject=", "stateId=", "angle=", "turnTime=", "nFrame=",
                                 "<position x=", "z=", "<currentDest x=", "z=", "<oldDest x=", "z=", "</state>"};
    std::size_t at = 0;
    for (const char* token : order) {
        const std::size_t found = first.find(token, at);
        ASSERT_NE(found, std::string::npos) << token << " after " << at << " in " << first;
        at = found + 1;
    }
    AddTemplate("Guppy", first);
    Send("add Guppy");
    const ObjectWeakPointer<FishControl> copy = Fish().back();
    EXPECT_EQ(first, ElementText(copy->SaveToXml()));
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

// A fish saved while it drops in is saved as arrived and level; the fish itself goes on dropping
// in (a purchase saves the tank at once).
TEST_F(FishTest, SavingGivesTheEntryAsEndedAndASoldFishSavesNothing) {
    Random::Seed(5);
    BuildTank("");
    AddTemplate("Guppy", FishElementXml("Guppy"));
    Send("add Guppy");
    const ObjectWeakPointer<FishControl> fish = FirstFish();
    Run(10, 0.02f);
    const ObjectSmartPointer<XmlElement> saved = fish->SaveToXml();
    EXPECT_TRUE(fish->Is(FishStates::ENTER));
    const ObjectWeakPointer<XmlElement> state = saved->GetFirstChildElement("state");
    EXPECT_EQ(FishStates::SWIM, state->GetIntAttribute("stateId"));
    EXPECT_EQ(0.0f, state->GetFloatAttribute("angle"));
    Send("sub Guppy");
    EXPECT_EQ("GuppySold", fish->GetKindName());
    EXPECT_TRUE(fish->SaveToXml() == NULL);
}

TEST_F(FishTest, AnObjectFlagReadFromTheStateIsDropped) {
    const std::string state = FishStateXml(At(300.0f, 150.0f, 150), At(520.0f, 180.0f, 150),
                                           At(100.0f, 140.0f, 150), 0.0f, FishStates::SWIM);
    std::string withObject = state;
    withObject.replace(withObject.find("isObject=\"false\""), 16, "isObject=\"true\"");
    BuildTank(FishElementXml("Guppy", {}, withObject), true);
    EXPECT_FALSE(FirstFish()->IsObject());
}

// Where the picture point (px, py), counted from the frame's lower-left corner, lies in the
// tank's parent's coordinates for a fish swimming right with the pitch.
Point ScreenPointOf(FishControl& fish, float px, float py) {
    const float pitch = fish.GetPitch();
    const float lx = px - 32.0f;
    const float ly = py;
    // Tilt, mirror, depth scale, then the projected place.
    float x = lx * std::cos(pitch) - ly * std::sin(pitch);
    const float y = lx * std::sin(pitch) + ly * std::cos(pitch);
    x = -x;
    const float s = (fish.GetZ() + 1.0f) / 2.0f;
    const Point a = fish.GetAbsolutePos();
    return Point(a.x + static_cast<int>(std::lround(fish.GetPosition().x + s * x)),
                 a.y + static_cast<int>(std::lround(fish.Project(fish.GetPosition().y, fish.GetZ()) + s * y)));
}

TEST_F(FishTest, AClickSpeedsTheFishOnlyOnAnOpaquePixelOfItsMirroredTiltedPicture) {
    // Swimming right (mirrored) with a pitch of 0.5: the opaque half is the left of the picture.
    const std::string state = FishStateXml(At(400.0f, 200.0f, 140), At(700.0f, 230.0f, 140),
                                           At(100.0f, 190.0f, 140), 0.5f);
    BuildTank(FishElementXml("Guppy", {}, state), true);
    const ObjectWeakPointer<FishControl> fish = FirstFish();
    const float speed = fish->GetSpeed();
    struct Case {
        float px, py;
        bool isHit;
    } cases[] = {
        {52.0f, 16.0f, false},  // transparent right half
        {12.0f, 16.0f, true},   // opaque left half
        {12.0f, 16.0f, true},   // again: one more burst
    };
    float expected = speed;
    for (const Case& c : cases) {
        const Point p = ScreenPointOf(*fish, c.px, c.py);
        Move(p.x, p.y);
        ObjectSmartPointer<MouseDownEvent> down(new MouseDownEvent(false));
        fish->OnMouseDown(ObjectWeakPointer<MouseDownEvent>(down));
        if (c.isHit) expected += 100.0f;
        EXPECT_FLOAT_EQ(expected, fish->GetSpeed()) << c.px;
        EXPECT_EQ(c.isHit, down->IsMouseCaptured()) << c.px;
    }
    // The speed stops at 500.
    const Point p = ScreenPointOf(*fish, 12.0f, 16.0f);
    Move(p.x, p.y);
    for (int i = 0; i < 5; ++i) {
        ObjectSmartPointer<MouseDownEvent> down(new MouseDownEvent(false));
        fish->OnMouseDown(ObjectWeakPointer<MouseDownEvent>(down));
    }
    EXPECT_FLOAT_EQ(FishControl::MAX_SPEED, fish->GetSpeed());
}

TEST_F(FishTest, ASchoolOfThreeFollowsItsLeaderIsSoldWithItAndLeavesAfterOnePointNineSeconds) {
    Random::Seed(21);
    BuildTank(FishElementXml("Neon", {{"school", "1.0"}}) + FishElementXml("Loner", {{"school", "0.999"}}), true);
    const std::vector<ObjectWeakPointer<FishControl>> fish = Fish();
    ASSERT_EQ(2u, fish.size());
    const ObjectWeakPointer<FishControl> leader = fish[0]->GetKindName() == "Neon" ? fish[0] : fish[1];
    const ObjectWeakPointer<FishControl> loner = fish[0]->GetKindName() == "Neon" ? fish[1] : fish[0];
    EXPECT_TRUE(loner->GetMembers().empty());
    ASSERT_EQ(3u, leader->GetMembers().size());
    for (const ObjectSmartPointer<FishControl>& member : leader->GetMembers()) {
        EXPECT_TRUE(member->Is(FishStates::SCHOOL));
        EXPECT_TRUE(member->GetMembers().empty());
    }
    // Members are saved only as the leader.
    const ObjectSmartPointer<XmlElement> saved = leader->SaveToXml();
    EXPECT_TRUE(saved->GetFirstChildElement("FishControl") == NULL);
    // The leader hands its destinations on.
    Run(1000, 0.02f);
    for (const ObjectSmartPointer<FishControl>& member : leader->GetMembers()) {
        EXPECT_NEAR(leader->GetCurrentDest().x, member->GetCurrentDest().x, 200.0f);
    }

    Send("sub Neon");
    EXPECT_EQ("NeonSold", leader->GetKindName());
    for (const ObjectSmartPointer<FishControl>& member : leader->GetMembers()) {
        EXPECT_EQ("NeonSold", member->GetKindName());
        EXPECT_TRUE(member->Is(FishStates::SOLD));
    }
    Run(18, 0.1f);
    EXPECT_EQ(2u, Fish().size());
    Run(2, 0.1f);
    ASSERT_EQ(1u, Fish().size());
    EXPECT_EQ("Loner", Fish()[0]->GetKindName());
}

TEST_F(FishTest, TheTanksQuestionsFollowTheFrameAndTheProjection) {
    const std::string state = FishStateXml(At(400.0f, 200.0f, 100), At(100.0f, 230.0f, 100),
                                           At(700.0f, 190.0f, 100), 0.0f);
    BuildTank(FishElementXml("Guppy", {}, state), true);
    FishControl& fish = *FirstFish();
    EXPECT_FLOAT_EQ(0.5f, fish.GetZ());
    EXPECT_FLOAT_EQ(64.0f, fish.GetWidth());
    EXPECT_FLOAT_EQ(32.0f, fish.GetHeight());
    EXPECT_FLOAT_EQ(fish.GetPosition().x - 32.0f, fish.GetX());
    // minY 0, maxY 400: at depth 0.5 the band starts 100 above the floor.
    EXPECT_FLOAT_EQ(100.0f + fish.GetPosition().y / 400.0f * 300.0f, fish.GetY());
    EXPECT_FLOAT_EQ(400.0f, fish.Project(400.0f, 0.5f));
    EXPECT_FLOAT_EQ(250.0f, fish.Project(250.0f, 1.0f));
    // Its volume and hearts.
    VolumeObjectList volumes;
    fish.AddVolume(volumes);
    EXPECT_EQ(1u, volumes.size());
    fish.OnText("show harts");
    fish.OnText("mirror");
}

}  // namespace
