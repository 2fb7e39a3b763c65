// A fish through the shop: its shop entry buys it into the tank, where it drops in and gives
// hearts; the purchase hints make it wish for the kinds not yet owned; the entry sells it again.
// A purchase and a sale write the tank's contents along with the money.
#include <gtest/gtest.h>

#include "aquarium/ShopFishIcon.h"
#include "aquarium/TankRecords.h"
#include "content/TemplateLib.h"
#include "content/ResourceManager.h"
#include "controls/ControlFactory.h"
#include "core/PermanentStorage.h"
#include "core/Random.h"
#include "core/XmlRead.h"
#include "tests/aquarium/FishTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace aquarium_test;
using testing_support::LogCapture;

// Answers the icon's place on the screen.
class IconPosition : public MessageReceiver {
public:
    explicit IconPosition(const std::string& name) : MessageReceiver(name) {}
    std::string OnMessageReply(std::string message) override {
        return message == "get screen pos" ? "400,300" : MessageReceiver::OnMessageReply(message);
    }
};

class FishShopRoadTest : public FishTest {
protected:
    void SetUp() override {
        FishTest::SetUp();
        AddShopSamples();
        for (const char* kind : {"fish", "beauty", "comfort"}) {
            const std::string k = kind;
            PermanentStorage::SetLocalFloat("1 " + k + " indicator", 0.0f);
            for (const char* part : {" bar", " full", " flash"}) AddReceiver(k + part);
        }
        for (const char* name : {"Cups", "Money effect", "not enough money", "Shop modal dialog", "Gold context help",
                                 "Silver context help", "Tutorial", "ShopTipsScreen2", "purchase failed"}) {
            AddReceiver(name);
        }
        for (const char* name : {"Gold icon position", "Silver icon position"}) {
            positions.push_back(ObjectSmartPointer<IconPosition>(new IconPosition(name)));
        }
        PermanentStorage::SetLocalInt("Money", 1000);
        AddTemplate("Gold", FishElementXml("Gold"));
        BuildTank("", false, "buyHintServer=\"Hints\"");
        for (const std::string& text :
             {MetersXml(), std::string("<SamenessInfoDefinition><messageReceiver name=\"Fish sameness info\"/>"
                                       "<percents _1=\"60\"/></SamenessInfoDefinition>"),
              HintServerXml("0.0"), FishEntryXml("Gold", "Gold"), FishEntryXml("Silver", "Silver")}) {
            ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(text.data(), text.data() + text.size()));
            definitions.push_back(ControlFactory::CreateDefinition(document->GetRoot()));
        }
    }
    void TearDown() override {
        tank = nullptr;
        container = nullptr;
        while (!definitions.empty()) definitions.pop_back();
        positions.clear();
        FishTest::TearDown();
    }
    std::vector<ObjectSmartPointer<Definition>> definitions;
    std::vector<ObjectSmartPointer<IconPosition>> positions;
};

TEST_F(FishShopRoadTest, AFishBoughtInTheShopDropsInWishesForAnotherKindAndIsSoldAgain) {
    Random::Seed(31);
    LogCapture log;
    SendMessage("Gold dispatcher", "Gold plus pressed");
    ASSERT_EQ(1u, Fish().size());
    const ObjectWeakPointer<FishControl> fish = FirstFish();
    EXPECT_EQ("Gold", fish->GetKindName());
    EXPECT_TRUE(fish->Is(FishStates::ENTER));
    EXPECT_EQ(850, PermanentStorage::GetLocalInt("Money"));
    EXPECT_EQ(1u, tank->GetFishMap().at("Gold").size());

    // The first wish comes with the purchase: the entry is over by then, and the hints suggest
    // the kind not yet owned, with its icon.
    Run(60, 0.02f);
    EXPECT_FALSE(fish->Is(FishStates::ENTER));
    Run(250, 0.02f);
    ASSERT_TRUE(fish->GetWishes() != NULL);
    EXPECT_TRUE(PermanentStorage::GetLocalBool("FishWishVisible"));
    EXPECT_EQ(ResourceManager::GetTextureOrFrame("gold_wish").GetPointer().Get(),
              fish->GetWishes()->GetClouds().back().texture.GetPointer().Get());
    EXPECT_EQ(ResourceManager::GetTextureOrFrame("cloud_red").GetPointer().Get(),
              fish->GetWishes()->GetClouds()[2].texture.GetPointer().Get());

    SendMessage("Gold dispatcher", "Gold ok");
    EXPECT_EQ("GoldSold", fish->GetKindName());
    EXPECT_FALSE(PermanentStorage::GetLocalBool("FishWishVisible"));
    Run(100, 0.02f);
    EXPECT_TRUE(Fish().empty());
    EXPECT_EQ(925, PermanentStorage::GetLocalInt("Money"));
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

// The file holds the fish with the money it cost the moment it is bought, the screen still up,
// and the fish goes on dropping in; after the sale the file holds neither.
TEST_F(FishShopRoadTest, APurchaseAndASaleWriteTheTankWithTheMoney) {
    tank = nullptr;
    container = nullptr;
    BuildScreen(DispatcherXml(TankXml("buyHintServer=\"Hints\"", "")));
    ASSERT_TRUE(tank != NULL);
    LogCapture log;
    const auto tankInFile = [this]() {
        const std::string stored = testing_support::ReadFile(dir + "Storage.xml");
        const std::size_t at = stored.find("<Variable name=\"1 Aquarium bottom\" type=\"xml\">");
        return at == std::string::npos ? std::string() : stored.substr(at, stored.find("</Variable>", at) - at);
    };
    SendMessage("Gold dispatcher", "Gold plus pressed");
    ASSERT_EQ(1u, Fish().size());
    EXPECT_TRUE(FirstFish()->Is(FishStates::ENTER));
    std::string stored = testing_support::ReadFile(dir + "Storage.xml");
    EXPECT_NE(std::string::npos, stored.find("<Variable name=\"Money\" type=\"int\" value=\"850\"/>")) << stored;
    EXPECT_NE(std::string::npos, tankInFile().find("<fishInfo templateId=\"Gold\"")) << stored;
    Run(60, 0.02f);
    SendMessage("Gold dispatcher", "Gold ok");
    stored = testing_support::ReadFile(dir + "Storage.xml");
    EXPECT_NE(std::string::npos, stored.find("<Variable name=\"Money\" type=\"int\" value=\"925\"/>")) << stored;
    EXPECT_EQ(std::string::npos, tankInFile().find("<FishControl")) << stored;
    EXPECT_NE(std::string(), tankInFile()) << stored;
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

// Whatever keeps the fish out of the tank, the money on disk stays, the count stays and the buyer
// sees the shop's notice once.
TEST_F(FishShopRoadTest, AFishThatCannotGoIntoTheTankChargesNothingAndTellsTheBuyer) {
    PermanentStorage::Save();
    const std::string money = "<Variable name=\"Money\" type=\"int\" value=\"1000\"/>";
    const struct {
        const char* name;
        std::string silver;  // the Silver template; none when empty
    } cases[] = {
        {"missing template", ""},
        {"no tank item", "<MoneyControl><position x=\"0\" y=\"0\"/></MoneyControl>"},
        {"no fishInfo", "<FishControl><position x=\"0\" y=\"0\"/><animations side=\"fish_side\" "
                        "front=\"fish_front\" back=\"fish_back\" shadow=\"fish_shadow\"/></FishControl>"},
        {"speed out of range", FishElementXml("Silver", {{"acceleration", "1e30"}})},
        {"pause timer never runs", FishElementXml("Silver", {{"accTime", "0.0"}})},
    };
    for (const auto& c : cases) {
        if (TemplateLib::HasTemplate("Silver")) TemplateLib::RemoveTemplate("Silver");
        if (!c.silver.empty()) AddTemplate("Silver", c.silver);
        Trace().clear();
        LogCapture log;
        SendMessage("Silver dispatcher", "Silver plus pressed");
        EXPECT_TRUE(Fish().empty()) << c.name;
        EXPECT_EQ(1000, PermanentStorage::GetLocalInt("Money")) << c.name;
        EXPECT_EQ(0, PermanentStorage::GetLocalIntOrDef("Silver amount", 0)) << c.name;
        EXPECT_NE(std::string::npos, testing_support::ReadFile(dir + "Storage.xml").find(money)) << c.name;
        EXPECT_EQ(std::vector<std::string>({"purchase failed < show"}), TraceOf("purchase failed")) << c.name;
        EXPECT_TRUE(TraceOf("Money effect").empty()) << c.name;
        EXPECT_GE(log.ErrorCount(), 1) << c.name;
    }
}

// A tank holds at most MAX_FISH swimming fish: the purchase past it is refused and not charged.
TEST_F(FishShopRoadTest, AFullTankRefusesTheNextFishAndChargesNothing) {
    PermanentStorage::SetLocalInt("Money", 1000000);
    int added = 0;
    while (added <= TankLimits::MAX_FISH && SendMessageReply(ScreenNames::tank, "add Gold") == "true") ++added;
    EXPECT_EQ(TankLimits::MAX_FISH, added);
    Trace().clear();
    LogCapture log;
    SendMessage("Gold dispatcher", "Gold plus pressed");
    EXPECT_EQ(static_cast<std::size_t>(TankLimits::MAX_FISH), Fish().size());
    EXPECT_EQ(1000000, PermanentStorage::GetLocalInt("Money"));
    EXPECT_EQ(std::vector<std::string>({"purchase failed < show"}), TraceOf("purchase failed"));
    EXPECT_NE(std::string::npos, log.Text().find(std::to_string(TankLimits::MAX_FISH) + " fish already")) << log.Text();
}

}  // namespace
