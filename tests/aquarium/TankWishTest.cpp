// When and which fish of the tank shows a wish: every NEXT_WISH_TIME + 1 s, after a new fish only
// in a player's first wish decision, never while a wish shows and never in a game-mode tank.
#include <gtest/gtest.h>

#include "core/PermanentStorage.h"
#include "tests/aquarium/AquariumTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace aquarium_test;
using Times = std::vector<float>;

constexpr float STEP = 0.25f;

class TankWishTest : public AquariumTest {
protected:
    void BuildTank(const std::string& attributes, const std::string& layout) {
        BuildScreen(DispatcherXml(
            TankXml("useStorage=\"false\" " + attributes, "<defaultLayout>" + layout + "</defaultLayout>")));
        ASSERT_TRUE(tank != NULL);
    }
    // Runs the frames up to the time and gives the times at which the named item wished.
    Times Run(float until, const std::string& name) {
        Times times;
        while (clock + STEP <= until + 1e-3f) {
            clock += STEP;
            const std::size_t before = TraceOf(name + " wish").size();
            tank->Update(STEP);
            if (TraceOf(name + " wish").size() > before) times.push_back(clock);
            if (onFrame) onFrame();
        }
        return times;
    }

    float clock = 0.0f;
    std::function<void()> onFrame;
};

TEST_F(TankWishTest, TheFirstWishComesAfterSixSecondsAndThenEverySix) {
    BuildTank("", TankItemXml("nemo", "Clown", 400, 50, 0.9f, true));
    onFrame = [] { PermanentStorage::SetLocalBool("FishWishVisible", false); };  // each wish ends at once
    EXPECT_EQ(Run(20.0f, "nemo"), (Times{6.0f, 12.0f, 18.0f}));
    EXPECT_EQ(TraceOf("nemo wish"), (std::vector<std::string>{"nemo wish first", "nemo wish", "nemo wish"}));
    EXPECT_FALSE(PermanentStorage::GetLocalBool("FirstFishWish"));
}

TEST_F(TankWishTest, NoWishWhileAWishShows) {
    BuildTank("", TankItemXml("nemo", "Clown", 400, 50, 0.9f, true));
    EXPECT_EQ(Run(12.0f, "nemo"), (Times{6.0f}));
    EXPECT_TRUE(PermanentStorage::GetLocalBool("FishWishVisible"));
    PermanentStorage::SetLocalBool("FishWishVisible", false);  // the fish's wish has ended
    EXPECT_EQ(Run(20.0f, "nemo"), (Times{18.0f}));
}

TEST_F(TankWishTest, AGameModeTankNeverWishes) {
    BuildTank("gameMode=\"true\"", TankItemXml("nemo", "Clown", 400, 50, 0.9f));
    EXPECT_TRUE(Run(30.0f, "nemo").empty());
    EXPECT_FALSE(PermanentStorage::IsLocalNameDefined("FirstFishWish"));
}

TEST_F(TankWishTest, TheWishTimeComesFromTheIniFile) {
    testing_support::WriteFile(dir + "ini.xml", "<ini NEXT_WISH_TIME=\"2.0\"/>");
    BuildTank("", TankItemXml("nemo", "Clown", 400, 50, 0.9f));
    EXPECT_EQ(Run(9.0f, "nemo"), (Times{3.0f, 6.0f, 9.0f}));
}

TEST_F(TankWishTest, TheFishNearestTheFrontCentreWishesNeverAPlantNorAFishUpHigh) {
    BuildTank("", TankItemXml("far", "Clown", 100, 50, 0.9f) + TankItemXml("high", "Clown", 400, 450, 0.9f) +
                      TankItemXml("plant", "WaterPlant", 400, 0, 1.0f) + TankItemXml("near", "Clown", 380, 40, 0.8f) +
                      TankItemXml("twin", "Clown", 420, 40, 0.8f));
    Run(6.0f, "near");
    EXPECT_EQ(TraceOf("near wish").size(), 1u);
    EXPECT_TRUE(TraceOf("twin wish").empty());  // as near as "near", listed later
    for (const char* other : {"far wish", "high wish", "plant wish"}) EXPECT_TRUE(TraceOf(other).empty()) << other;
}

TEST_F(TankWishTest, ANewFishWishesOnlyInThePlayersFirstDecision) {
    BuildTank("", "");
    onFrame = [] { PermanentStorage::SetLocalBool("FishWishVisible", false); };
    AddTemplate("Clown", TankItemXml("nemo", "Clown", 400, 50, 0.9f, true));
    Send("add Clown");
    EXPECT_EQ(Run(2.0f, "nemo"), (Times{1.0f}));
    EXPECT_EQ(TraceOf("nemo wish"), (std::vector<std::string>{"nemo wish first"}));
    Send("add Clown");  // a second one, one second later: no wish of its own
    EXPECT_EQ(Run(5.0f, "nemo"), (Times{}));
    EXPECT_EQ(Run(6.0f, "nemo"), (Times{6.0f}));  // the regular one goes on
}

TEST_F(TankWishTest, AFishThatCannotWishLeavesThePlayersFirstWishToTheNextDecision) {
    BuildTank("", "");
    AddTemplate("Clown", TankItemXml("nemo", "Clown", 400, 50, 0.9f));  // answers that it shows nothing
    Send("add Clown");
    EXPECT_EQ(Run(6.0f, "nemo"), (Times{1.0f, 6.0f}));
    EXPECT_EQ(TraceOf("nemo wish"), (std::vector<std::string>{"nemo wish first", "nemo wish first"}));
    EXPECT_FALSE(PermanentStorage::IsLocalNameDefined("FirstFishWish"));
    EXPECT_FALSE(PermanentStorage::GetLocalBool("FishWishVisible"));
}

TEST_F(TankWishTest, AFishAtHeight450OrAboveNeverWishes) {
    for (const int y : {449, 450}) {
        BuildTank("", TankItemXml("lone", "Clown", 400, y, 0.9f));
        clock = 0.0f;
        EXPECT_EQ(Run(6.0f, "lone").size(), y < 450 ? 1u : 0u) << y;
    }
}

TEST_F(TankWishTest, AnEmptyTankMakesNoWishAndKeepsItsTimers) {
    BuildTank("", "");
    Run(13.0f, "nobody");
    EXPECT_FALSE(PermanentStorage::IsLocalNameDefined("FirstFishWish"));
    AddTemplate("Clown", TankItemXml("nemo", "Clown", 400, 50, 0.9f));
    Send("add Clown");
    // The add's own wish after one second, the regular one at 18 s.
    EXPECT_EQ(Run(18.0f, "nemo"), (Times{14.0f, 18.0f}));
}

}  // namespace
