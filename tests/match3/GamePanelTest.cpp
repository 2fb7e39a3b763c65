// The game panel: which items each kind of level shows, and text or picture by the player's value.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/ResourceManager.h"
#include "core/PermanentStorage.h"
#include "match3/GamePanelControl.h"
#include "tests/match3/EffectTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using effects_test::Quad;
using effects_test::ParseElement;
using effects_test::WriteTestPicture;
using testing_support::LogCapture;

// Item 0 the score (int), 1 a plain picture, 2 the golden tiles (string), 3 the silver tiles.
const char* const PANEL = R"(<GamePanelControl><position x="100" y="500"/><messageReceiver name="Game panel"/>
  <items>
    <item x="50" y="20" variable="Score" type="int" font="demo" textureId="coin"/>
    <item x="150" y="20" textureId="coin"/>
    <item x="250" y="20" variable="goldenCount" type="string" font="demo" textureId="coin" effectX="3" effectY="4"/>
    <item x="350" y="20" variable="silverCount" type="string" font="demo"/>
  </items>
  <modes silverOnly="[silver]" both="[both]"/>
</GamePanelControl>)";

class GamePanelTest : public effects_test::EffectTest {
protected:
    void SetUp() override {
        EffectTest::SetUp();
        WriteTestPicture(dir + "coin.png", 20, 10);
        ResourceManager::LoadResources(ParseElement(R"(<Resources><Textures upload="refcount" storage="memory-keeping">
          <texture id="coin" path="coin.png"/></Textures></Resources>)"));
    }
    void TearDown() override {
        panel = ObjectSmartPointer<GamePanelControl>();
        EffectTest::TearDown();
    }
    void Make(const std::string& silverOnly, const std::string& both) {
        std::string xml = PANEL;
        xml.replace(xml.find("[silver]"), 8, silverOnly);
        xml.replace(xml.find("[both]"), 6, both);
        panel = ObjectSmartPointer<GamePanelControl>(new GamePanelControl(ObjectWeakPointer<Control>(), ParseElement(xml)));
    }
    std::vector<bool> Shown() const {
        std::vector<bool> shown;
        for (const GamePanelControl::Item& item : panel->GetItems()) shown.push_back(item.shown);
        return shown;
    }

    ObjectSmartPointer<GamePanelControl> panel;
};

TEST_F(GamePanelTest, EachKindOfLevelShowsItsItems) {
    LogCapture log;
    Make("1,", "0,2,3");
    EXPECT_EQ((std::vector<bool>{false, false, false, false}), Shown());
    panel->OnMessage("Both");
    EXPECT_EQ((std::vector<bool>{true, false, true, true}), Shown());
    panel->OnMessage("Silver only");
    EXPECT_EQ((std::vector<bool>{false, true, false, false}), Shown());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
    EXPECT_EQ(3, panel->GetItems()[2].effectX);

    panel->OnMessage("Neither");  // reported; everything hidden
    EXPECT_EQ((std::vector<bool>{false, false, false, false}), Shown());
    EXPECT_EQ(1, log.ErrorCount());
}

TEST_F(GamePanelTest, EmptyAndBadListsShowNothingWrong) {
    LogCapture log;
    Make("", "1,7,x,3");
    panel->OnMessage("Silver only");
    EXPECT_EQ((std::vector<bool>{false, false, false, false}), Shown());
    panel->OnMessage("Both");
    EXPECT_EQ((std::vector<bool>{false, true, false, true}), Shown());
    EXPECT_EQ(2, log.ErrorCount()) << log.Text();  // item 7 and "x"
}

TEST_F(GamePanelTest, EmptyLookingValuesShowThePictureOthersTheirText) {
    Make("", "0,2,3");
    panel->OnMessage("Both");
    PermanentStorage::SetLocalString("goldenCount", "x0");
    PermanentStorage::SetLocalString("silverCount", "x3");
    panel->Update(0.1f);
    EXPECT_EQ("0", panel->GetItems()[0].text);  // the default of a missing int
    std::vector<Quad> quads = Draw(*panel);
    // The score's and the golden tiles' pictures centred on their items, then the silver text.
    ASSERT_EQ(3u, quads.size());
    EXPECT_FLOAT_EQ(150.0f, quads[0].CentreX());
    EXPECT_FLOAT_EQ(520.0f, quads[0].CentreY());
    EXPECT_FLOAT_EQ(20.0f, quads[0].Width());
    EXPECT_FLOAT_EQ(350.0f, quads[1].CentreX());
    EXPECT_NEAR(450.0f, quads[2].CentreX(), 1.0f);
    EXPECT_NEAR(520.0f, quads[2].CentreY(), 1.0f);

    PermanentStorage::SetLocalInt("Score", 5);
    PermanentStorage::SetLocalString("goldenCount", "x3");
    panel->Update(0.1f);
    quads = Draw(*panel);
    ASSERT_EQ(3u, quads.size());
    for (const Quad& q : quads) EXPECT_NE(10.0f, q.Height());  // texts only
    EXPECT_NEAR(150.0f, quads[0].CentreX(), 1.0f);
    EXPECT_EQ("5", panel->GetItems()[0].text);
}

}  // namespace
