// The tank's commands, its drawing order, its removals during an update, its ranges and the
// invisible zone.
#include <gtest/gtest.h>

#include "core/PermanentStorage.h"
#include "tests/aquarium/AquariumTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace aquarium_test;
using testing_support::LogCapture;
using Names = std::vector<std::string>;

class TankMessagesTest : public AquariumTest {
protected:
    void BuildTank(const std::string& layout, const std::string& attributes = "") {
        BuildScreen(DispatcherXml(
            TankXml("useStorage=\"false\" " + attributes, "<defaultLayout>" + layout + "</defaultLayout>")));
        ASSERT_TRUE(tank != NULL);
        Trace().clear();
    }
    std::size_t Listed(const std::string& kind) {
        const auto i = tank->GetFishMap().find(kind);
        return i == tank->GetFishMap().end() ? 0 : i->second.size();
    }
};

TEST_F(TankMessagesTest, SubSellsTheFishOfThatKindNearestTheFrontCentre) {
    BuildTank(TankItemXml("left", "Clown", 150, 30, 0.9f) + TankItemXml("guppy", "Guppy", 400, 0, 1.0f) +
              TankItemXml("centre", "Clown", 420, 60, 0.9f) + TankItemXml("back", "Clown", 400, 60, 0.2f));
    Send("sub Clown");
    EXPECT_EQ(Trace(), (Names{"centre sold"}));
    EXPECT_EQ(Listed("Clown"), 2u);
    EXPECT_EQ(ChildNames().size(), 4u);  // it swims away and asks for its removal itself

    Trace().clear();
    LogCapture log;
    Send("sub Shark");  // no such kind: nothing
    EXPECT_TRUE(Trace().empty());
    EXPECT_EQ(log.ErrorCount(), 0);
}

TEST_F(TankMessagesTest, SubIgnoresFishFartherThanTheTankIsWide) {
    BuildTank(TankItemXml("deep", "Clown", 400, 900, 0.9f));
    Send("sub Clown");
    EXPECT_TRUE(Trace().empty());
    EXPECT_EQ(Listed("Clown"), 1u);
}

TEST_F(TankMessagesTest, SubOfAChildItsKindListDoesNotHoldIsReportedAndSellsNothing) {
    BuildTank("");
    AddTemplate("Goldfish", TankItemXml("gold", "Goldfish", 400, 50, 0.9f));
    AddTemplate("Orange", TankItemXml("orange", "Goldfish", 420, 50, 0.9f));
    LogCapture log;
    Send("add Orange");  // filed under "Orange", a kind it does not have
    EXPECT_TRUE(log.Contains("Fish template 'Orange' makes a fish of kind 'Goldfish'")) << log.Text();
    Trace().clear();
    Send("sub Goldfish");
    EXPECT_TRUE(log.Contains("r != _fishMap[message].end()")) << log.Text();
    EXPECT_TRUE(Trace().empty());
    EXPECT_EQ(Listed("Orange"), 1u);
    EXPECT_EQ(log.ErrorCount(), 2);
}

TEST_F(TankMessagesTest, ComfortGivesHeartsToNearFishThenFromTheFirstUntilFour) {
    BuildTank(TankItemXml("a", "Clown", 300, 100, 0.5f) + TankItemXml("far", "Clown", 900, 100, 0.5f) +
              TankItemXml("plant", "WaterPlant", 310, 100, 0.5f) + TankItemXml("b", "Clown", 320, 100, 0.5f) +
              TankItemXml("c", "Clown", 340, 100, 0.5f));
    Send("comfort 310,110");
    EXPECT_EQ(Trace(), (Names{"a text show harts", "b text show harts", "c text show harts", "a text show harts"}));

    Trace().clear();
    Send("comfort 2000,110");  // nobody near: the first four fish
    EXPECT_EQ(Trace(), (Names{"a text show harts", "far text show harts", "b text show harts", "c text show harts"}));
}

TEST_F(TankMessagesTest, TheShopFlagMovesTheFloorForFish) {
    BuildTank("");
    EXPECT_FALSE(tank->IsInShop());
    Send("entered shop");
    EXPECT_TRUE(tank->IsInShop());
    EXPECT_FLOAT_EQ(tank->GetMinY(false), 200.0f);
    EXPECT_FLOAT_EQ(tank->GetMinY(true), 0.0f);
    Send("leaved shop");
    EXPECT_FLOAT_EQ(tank->GetMinY(false), 0.0f);
}

TEST_F(TankMessagesTest, OtherTextsAndAMissingChosenOneAreReported) {
    BuildTank("");
    LogCapture log;
    Send("feed");
    EXPECT_TRUE(log.Contains("feed")) << log.Text();
    Send("remove the chosen one");
    Send("restore the chosen one");
    EXPECT_TRUE(log.Contains("_sellingControl != NULL"));
    Send("add Nothing");
    EXPECT_TRUE(log.Contains("Template Nothing not found"));
    EXPECT_EQ(log.ErrorCount(), 3) << log.Text();  // removing and restoring fail one check: written once
    EXPECT_TRUE(ChildNames().empty());
}

TEST_F(TankMessagesTest, FishLeavingInOneUpdateAreAllRemovedAfterEveryChildUpdated) {
    BuildTank(TankItemXml("a", "Clown", 100, 50, 0.5f) + TankItemXml("b", "Clown", 200, 50, 0.5f) +
              TankItemXml("c", "Clown", 300, 50, 0.5f));
    Item("a")->leaves = true;
    Item("b")->leaves = true;
    LogCapture log;
    tank->Update(0.1f);
    EXPECT_EQ(TraceOf("") , (Names{"a school", "a update", "b update", "c update"}));
    EXPECT_EQ(ChildNames(), (Names{"c"}));
    EXPECT_EQ(Listed("Clown"), 1u);
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(TankMessagesTest, DrawingGoesBackToFrontAndEqualDepthsKeepTheirOrder) {
    BuildTank(TankItemXml("mid", "Clown", 100, 50, 0.5f) + TankItemXml("front1", "Clown", 100, 50, 0.8f) +
              TankItemXml("back", "Clown", 100, 50, 0.2f) + TankItemXml("front2", "Clown", 100, 50, 0.8f));
    for (int frame = 0; frame < 2; ++frame) {
        Trace().clear();
        tank->Draw();
        EXPECT_EQ(Trace(), (Names{"back draw", "mid draw", "front2 draw", "front1 draw"}));
        EXPECT_EQ(ChildNames(), (Names{"front1", "front2", "mid", "back"}));
    }
}

TEST_F(TankMessagesTest, TheSafeRangeHoldsWhileTheTankHasAtMostFiveFish) {
    std::string five;
    for (int i = 0; i < 5; ++i) five += TankItemXml("f" + std::to_string(i), "Clown", 100 * i, 50, 0.5f);
    // Five fish (the plant does not count) swim in the safe range.
    BuildScreen(DispatcherXml(TankXml("useStorage=\"false\"", "<defaultLayout>" + five +
                                                                  TankItemXml("plant", "WaterPlant", 0, 0, 0.5f) +
                                                                  "</defaultLayout><safe minX=\"100\" maxX=\"700\"/>")));
    ASSERT_TRUE(tank != NULL);
    EXPECT_FLOAT_EQ(tank->GetMinX(), 100.0f);
    EXPECT_FLOAT_EQ(tank->GetMaxX(), 700.0f);
    AddTemplate("Clown", TankItemXml("sixth", "Clown", 400, 50, 0.5f));
    Send("add Clown");
    EXPECT_FLOAT_EQ(tank->GetMinX(), 0.0f);
    EXPECT_FLOAT_EQ(tank->GetMaxX(), 800.0f);
    Send("sub Clown");  // selling does not bring the safe range back before the next load
    EXPECT_FLOAT_EQ(tank->GetMinX(), 0.0f);
    PermanentStorage::SetActivePlayer("Bob");
    EXPECT_FLOAT_EQ(tank->GetMinX(), 100.0f);
}

TEST_F(TankMessagesTest, TheInvisibleZoneNeedsBothBounds) {
    struct Case {
        const char* attributes;
        float x;
        bool invisible;
    } cases[] = {
        {"", -1000.0f, false},
        {"invisibleMinX=\"-50\"", -1000.0f, false},
        {"invisibleMinX=\"-50\" invisibleMaxX=\"850\"", -50.0f, true},
        {"invisibleMinX=\"-50\" invisibleMaxX=\"850\"", -49.5f, false},
        {"invisibleMinX=\"-50\" invisibleMaxX=\"850\"", 849.5f, false},
        {"invisibleMinX=\"-50\" invisibleMaxX=\"850\"", 850.0f, true},
    };
    for (const Case& c : cases) {
        BuildTank("", c.attributes);
        EXPECT_EQ(tank->IsInInvisibleZone(c.x), c.invisible) << c.attributes << " x " << c.x;
        tank = nullptr;
        container = nullptr;
    }
}

TEST_F(TankMessagesTest, APressOnAPlantStopsEveryFishStudyingAndPlantPointsFollowThePlants) {
    AddScreenReceivers(true);
    BuildTank(TankItemXml("nemo", "Clown", 400, 150, 0.5f) + FloorItemXml("fern", 100, 50));
    ASSERT_EQ(tank->GetPlantPoints().size(), 1u);
    const FVector3 point = tank->GetPlantPoints()[0];
    EXPECT_FLOAT_EQ(point.x, 100.0f + 20.0f * (1.0f - 0.5f * 30.0f / 180.0f));  // half its drawn width
    EXPECT_FLOAT_EQ(point.y, 0.0f);
    EXPECT_FLOAT_EQ(point.z, 0.0025f + 0.005f * 165.0f);

    Move(500, 500);
    Down(500, 500);  // beside every plant
    Up(500, 500);
    EXPECT_TRUE(TraceOf("nemo stop study").empty());
    PermanentStorage::SetLocalBool("Fish feeder bought", true);
    Move(110, 160);
    Down(110, 160);  // on the fern
    EXPECT_EQ(TraceOf("nemo stop study").size(), 1u);
    EXPECT_TRUE(tank->GetPlantPoints().empty());  // until the release
    Up(110, 160);
    ASSERT_EQ(tank->GetPlantPoints().size(), 2u);
    EXPECT_FLOAT_EQ(tank->GetPlantPoints()[1].x, -70.0f);
    EXPECT_FLOAT_EQ(tank->GetPlantPoints()[1].y, 300.0f);
    EXPECT_FLOAT_EQ(tank->GetPlantPoints()[1].z, 15.0f);
}

}  // namespace
