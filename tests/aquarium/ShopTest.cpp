// The shop's logic: the utility meters and cup, the sameness table, the purchase hints, the fish
// shop entries' buy and sell roads, the tutorial guard and the money texts.
#include <gtest/gtest.h>

#include <map>

#include "aquarium/ShopBuyHints.h"
#include "aquarium/ShopCatalogue.h"
#include "aquarium/ShopComfort.h"
#include "aquarium/ShopMoneyControls.h"
#include "content/FloatingTextEffect.h"
#include "content/TemplateLib.h"
#include "controls/MouseEvents.h"
#include "aquarium/ShopFishIcon.h"
#include "aquarium/ShopItemIcon.h"
#include "aquarium/ShopTutorialGuard.h"
#include "aquarium/ShopUtilityMeters.h"
#include "controls/CommonDefinitionClasses.h"
#include "controls/ControlFactory.h"
#include "core/Float.h"
#include "core/PermanentStorage.h"
#include "core/Random.h"
#include "core/XmlRead.h"
#include "shell/RenderDeviceFonts.h"
#include "shell/SoundSystem.h"
#include "tests/content/ContentTestSupport.h"
#include "tests/aquarium/AquariumTestSupport.h"
#include "tests/support/TestSupport.h"
#include "tests/widgets/WidgetTestSupport.h"

namespace {

using namespace aquarium_test;
using testing_support::LogCapture;
using Texts = std::vector<std::string>;

ObjectSmartPointer<Definition> MakeDefinition(const std::string& text) {
    ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(text.data(), text.data() + text.size()));
    return ControlFactory::CreateDefinition(document->GetRoot());
}

class ShopTest : public AquariumTest {
protected:
    void SetUp() override {
        AquariumTest::SetUp();
        AddShopSamples();
        for (const char* kind : {"fish", "beauty", "comfort"}) {
            const std::string k = kind;
            PermanentStorage::SetLocalFloat("1 " + k + " indicator", 0.0f);
            PermanentStorage::SetLocalInt("1 " + k + " percent", 0);
            PermanentStorage::SetLocalString("1 " + k + " color", "white");
            AddReceiver(k + " bar");
            AddReceiver(k + " full");
            AddReceiver(k + " flash");
        }
        AddReceiver("Cups");
    }
    void TearDown() override {
        definitions.clear();
        answering.clear();
        AquariumTest::TearDown();
    }
    ObjectWeakPointer<Definition> Add(const std::string& text) {
        definitions.push_back(MakeDefinition(text));
        return definitions.back();
    }
    Answering& AddAnswering(const std::string& name) {
        answering.push_back(ObjectSmartPointer<Answering>(new Answering(name)));
        return *answering.back();
    }
    void SetLevels(int fish, int beauty, int comfort, const std::string& cup) {
        PermanentStorage::SetLocalInt("1 fish level", fish);
        PermanentStorage::SetLocalInt("1 beauty level", beauty);
        PermanentStorage::SetLocalInt("1 comfort level", comfort);
        PermanentStorage::SetLocalString("1 Cup", cup);
    }
    static void Meters(const std::string& message) { SendMessage("1 Utility dispatcher", message); }
    static std::string Ask(const std::string& query) { return SendMessageReply("1 Utility dispatcher", query); }

    std::vector<ObjectSmartPointer<Definition>> definitions;
    std::vector<ObjectSmartPointer<Answering>> answering;
};

// Meters and cup.

TEST_F(ShopTest, FillingTheRangeRestartsOnceAndTheCupWaitsForAllMeters) {
    Add(MetersXml());
    Trace().clear();
    Meters("fish add 10");
    EXPECT_EQ(Texts({"fish full < restart", "Cups < full Fish", "fish flash < flash"}), Trace());
    EXPECT_EQ("None", PermanentStorage::GetLocalString("1 Cup"));
    EXPECT_EQ(100, PermanentStorage::GetLocalInt("1 fish percent"));
    EXPECT_EQ("green", PermanentStorage::GetLocalString("1 fish color"));
    Trace().clear();
    Meters("beauty add 12");  // fills too, but the first-100 message went out already
    EXPECT_EQ(Texts({"beauty full < restart", "beauty flash < flash"}), Trace());
    Trace().clear();
    Meters("comfort add 4/sound pump");
    EXPECT_EQ(Texts({"comfort flash < flash"}), Trace());
    EXPECT_FLOAT_EQ(0.4f, PermanentStorage::GetLocalFloat("1 comfort indicator"));
    Meters("comfort add 6/sound pump");
    EXPECT_EQ("Bronze", PermanentStorage::GetLocalString("1 Cup"));
    EXPECT_EQ(1u, TraceOf("Cups < won").size());
}

TEST_F(ShopTest, StoredLevelsPromoteTheCupAtOnce) {
    SetLevels(35, 35, 35, "None");
    Add(MetersXml());
    EXPECT_EQ("Gold", PermanentStorage::GetLocalString("1 Cup"));
    EXPECT_EQ(Texts({"Cups < won"}), TraceOf("Cups"));
    EXPECT_EQ(100, PermanentStorage::GetLocalInt("1 beauty percent"));
}

TEST_F(ShopTest, PercentFractionAndColourTable) {
    struct Case {
        int fish;
        std::string cup;
        int percent;
        float fraction;
        std::string color;
    };
    const Case cases[] = {{15, "Bronze", 50, 0.5f, "white"}, {7, "Bronze", -30, 0.0f, "red"},
                          {20, "Bronze", 100, 1.0f, "green"}, {0, "None", 0, 0.0f, "white"}};
    for (const Case& c : cases) {
        SetLevels(c.fish, 0, 0, c.cup);
        ObjectSmartPointer<Definition> meters = MakeDefinition(MetersXml());
        EXPECT_EQ(c.percent, PermanentStorage::GetLocalInt("1 fish percent")) << c.fish;
        EXPECT_FLOAT_EQ(c.fraction, PermanentStorage::GetLocalFloat("1 fish indicator")) << c.fish;
        EXPECT_EQ(c.color, PermanentStorage::GetLocalString("1 fish color")) << c.fish;
    }
    EXPECT_EQ(63, UtilityDispatcherDefinition::CalculatePercent(19, 0, 30));
    // Below the range the percentage is the floor, not the truncation: -66.7 gives -67.
    EXPECT_EQ(-67, UtilityDispatcherDefinition::CalculatePercent(8, 10, 13));
    EXPECT_EQ(-100, UtilityDispatcherDefinition::CalculatePercent(7, 10, 13));
}

TEST_F(ShopTest, SubtractionClampsAtZeroAndTheFallingQuestion) {
    SetLevels(12, 0, 0, "Bronze");
    Add(MetersXml());
    EXPECT_EQ("true", Ask("will fish level become negative 5"));
    Meters("fish sub 5");
    EXPECT_EQ("Bronze", PermanentStorage::GetLocalString("1 Cup"));
    EXPECT_EQ("false", Ask("will fish level become negative 5"));  // already below
    LogCapture log;
    Meters("fish sub 9");
    EXPECT_EQ(0, PermanentStorage::GetLocalInt("1 fish level"));
    EXPECT_EQ(1, log.ErrorCount());
}

TEST_F(ShopTest, HintSetProtocol) {
    Add(MetersXml());
    Trace().clear();
    Meters("fish hint add 5/a");
    Meters("fish hint add 8/b");
    LogCapture log;
    Meters("fish hint add 1/a");  // a duplicate
    Meters("fish hint add 1/c");  // a third
    EXPECT_EQ(2, log.ErrorCount());
    Meters("no fish hint zz");  // unknown: ignored
    Meters("no fish hint b");
    Meters("no fish hint a");
    EXPECT_EQ(Texts({"fish bar < hint value " + Float::ToString(0.5f), "fish bar < hint value " + Float::ToString(0.8f),
                     "fish bar < no hint"}),
              Trace());
    EXPECT_EQ(Float::ToString(0.3f), Ask("get new fish level 3"));
}

TEST_F(ShopTest, SamenessTable) {
    struct Case {
        std::string percents;
        std::vector<int> table;
    };
    const Case cases[] = {{"_1=\"60\" _3=\"20\"", {100, 60, 60, 20}}, {"", {100}}, {"_2=\"50\"", {100, 100, 50}}};
    for (const Case& c : cases) {
        ObjectSmartPointer<Definition> d = MakeDefinition(
            "<SamenessInfoDefinition><messageReceiver name=\"Beauty sameness info\"/><percents " + c.percents +
            "/></SamenessInfoDefinition>");
        EXPECT_EQ(c.table, d.Cast<SamenessInfoDefinition>()->GetTable()) << c.percents;
        EXPECT_EQ(std::to_string(c.table.back()), SendMessageReply("Beauty sameness info", "5"));
    }
}

// Purchase hints.

TEST_F(ShopTest, HintChoiceKeepsTheNearBestAffordableUnowned) {
    PermanentStorage::SetLocalInt("Money", 100);
    Add(HintServerXml("0.1"));
    const struct {
        const char* name;
        int cost;
        float utility;
        bool none;
    } entries[] = {{"a", 50, 0.5f, true},   {"b", 60, 0.45f, true}, {"c", 10, 0.39f, true},
                   {"d", 100, 0.4f, true},  // 0.4 is exactly 0.8 * 0.5: out
                   {"e", 101, 0.9f, true}, {"f", 10, 0.9f, false}};
    for (const auto& e : entries) {
        Answering& r = AddAnswering(e.name);
        r.answers = {{"get cost", std::to_string(e.cost)}, {"get utility", Float::ToString(e.utility)},
                     {"amount 0?", e.none ? "true" : "false"}, {"get icon", std::string(e.name) + "_icon"}};
        SendMessage("Hints", std::string("register ") + (e.name[0] == 'a' ? "beauty " : "fish ") + e.name);
    }
    std::map<std::string, int> seen;
    Random::Seed(7);
    for (int i = 0; i < 200; ++i) ++seen[SendMessageReply("Hints", "get hint icon")];
    EXPECT_EQ(2u, seen.size());
    EXPECT_GT(seen["beauty a_icon"], 60);
    EXPECT_GT(seen["fish b_icon"], 60);
    for (const auto& e : entries) SendMessage("Hints", std::string("unregister ") + e.name);
}

TEST_F(ShopTest, HintThresholdFirstWishAndTutorial) {
    PermanentStorage::SetLocalInt("Money", 100);
    Add(HintServerXml("0.3"));
    Answering& a = AddAnswering("a");
    a.answers = {{"get cost", "10"}, {"get utility", Float::ToString(0.2f)}, {"amount 0?", "true"}, {"get icon", "ai"}};
    SendMessage("Hints", "register comfort a");
    EXPECT_EQ("", SendMessageReply("Hints", "get hint icon"));
    PermanentStorage::SetLocalBool("FirstFishWish", true);
    EXPECT_EQ("comfort ai", SendMessageReply("Hints", "get hint icon"));
    Answering& plant = AddAnswering("1 Waterplant11 dispatcher");
    plant.answers = {{"amount 0?", "true"}, {"get icon", "plant"}};
    EXPECT_EQ("comfort ai", SendMessageReply("Hints", "get hint icon"));  // no tutorial
    PermanentStorage::SetLocalBool("Want tutorial", true);
    EXPECT_EQ("beauty plant", SendMessageReply("Hints", "get hint icon"));
    {
        ObjectSmartPointer<Definition> guard = MakeDefinition("<SkipTutorialGuard/>");
    }
    EXPECT_FALSE(PermanentStorage::GetLocalBool("Want tutorial"));
    EXPECT_EQ("comfort ai", SendMessageReply("Hints", "get hint icon"));
    SendMessage("Hints", "unregister a");
}

TEST_F(ShopTest, TutorialGuardCreatesNothing) {
    { ObjectSmartPointer<Definition> guard = MakeDefinition("<SkipTutorialGuard/>"); }
    EXPECT_FALSE(PermanentStorage::IsLocalNameDefined("Want tutorial"));
}

// Fish shop entries.

class FishShopTest : public ShopTest {
protected:
    void SetUp() override {
        ShopTest::SetUp();
        Add(MetersXml());
        Add("<SamenessInfoDefinition><messageReceiver name=\"Fish sameness info\"/><percents _1=\"60\" _3=\"20\"/>"
            "</SamenessInfoDefinition>");
        Add(HintServerXml("0.1"));
        for (const char* name : {"Money effect", "not enough money", "Shop modal dialog", "1Gold context help",
                                 "Tutorial", "ShopTipsScreen2", "purchase failed"}) {
            AddReceiver(name);
        }
        // The tank: it answers whether the fish went in.
        tankAnswers = &AddAnswering("1 Aquarium bottom");
        tankAnswers->answers = {{"add GoldFish", "true"}, {"add FernItem", "true"}};
        AddAnswering("1Gold icon position").answers = {{"get screen pos", "400,300"}};
        PermanentStorage::SetLocalInt("Money", 1000);
        fish = Add(FishEntryXml("1Gold", "GoldFish")).Cast<FishIconDispatcherDefinition>();
        Trace().clear();
    }
    void TearDown() override {
        fish = nullptr;
        Render::fonts.ReleaseAll();
        ShopTest::TearDown();
    }
    ObjectWeakPointer<FishIconDispatcherDefinition> fish;
    Answering* tankAnswers = nullptr;
};

TEST_F(FishShopTest, BuyingAndSellingFollowTheSamenessTable) {
    for (int i = 0; i < 4; ++i) SendMessage("1Gold dispatcher", "1Gold plus pressed");
    EXPECT_EQ(400, PermanentStorage::GetLocalInt("Money"));
    EXPECT_EQ(4, PermanentStorage::GetLocalInt("1Gold amount"));
    EXPECT_EQ(300 + 180 + 180 + 60, PermanentStorage::GetLocalInt("1 fish level"));
    EXPECT_EQ(4u, TraceOf("1 Aquarium bottom ? add GoldFish").size());
    EXPECT_EQ("Money effect < - 150,400,300", TraceOf("Money effect").front());
    SendMessage("1Gold dispatcher", "1Gold minus pressed");
    EXPECT_EQ(Texts({"Shop modal dialog < instantiate 1GoldSellDialogTemplate"}), TraceOf("Shop modal dialog"));
    SendMessage("1Gold dispatcher", "1Gold ok");
    EXPECT_EQ(475, PermanentStorage::GetLocalInt("Money"));
    EXPECT_EQ(3, PermanentStorage::GetLocalInt("1Gold amount"));
    EXPECT_EQ(300 + 180 + 180, PermanentStorage::GetLocalInt("1 fish level"));
    EXPECT_EQ("Money effect < + 75,400,300", TraceOf("Money effect").back());
    // The purchases and the sale are in the saved file.
    PermanentStorage::Discard();
    PermanentStorage::Load();
    EXPECT_EQ(475, PermanentStorage::GetLocalInt("Money"));
    EXPECT_EQ(3, PermanentStorage::GetLocalInt("1Gold amount"));
}

TEST_F(FishShopTest, ExactMoneyBuysOneBelowShowsNotEnough) {
    PermanentStorage::SetLocalBool("Want tutorial", true);
    PermanentStorage::SetLocalInt("Money", 149);
    SendMessage("1Gold dispatcher", "1Gold plus pressed");
    EXPECT_EQ(Texts({"Tutorial < bought", "not enough money < show"}), Trace());
    EXPECT_EQ(149, PermanentStorage::GetLocalInt("Money"));
    PermanentStorage::SetLocalInt("Money", 150);
    SendMessage("1Gold dispatcher", "1Gold plus pressed");
    EXPECT_EQ(0, PermanentStorage::GetLocalInt("Money"));
    EXPECT_EQ(1, PermanentStorage::GetLocalInt("1Gold amount"));
}

TEST_F(FishShopTest, SellingNothingIsIgnored) {
    LogCapture log;
    SendMessage("1Gold dispatcher", "1Gold minus pressed");
    SendMessage("1Gold dispatcher", "1Gold ok");
    EXPECT_EQ(1000, PermanentStorage::GetLocalInt("Money"));
    EXPECT_EQ(0, PermanentStorage::GetLocalInt("1Gold amount"));
    EXPECT_EQ(2, log.ErrorCount());
    EXPECT_TRUE(TraceOf("1 Aquarium bottom").empty());
}

// The hints go before the entry that registered with them: its late unregistering is no fault.
TEST_F(FishShopTest, TheHintServerMayGoBeforeItsEntries) {
    LogCapture log;
    const ObjectWeakPointer<BuyHintServerDefinition> hints = definitions.at(2).Cast<BuyHintServerDefinition>();
    ASSERT_TRUE(hints != NULL);
    ASSERT_EQ(1u, hints->GetPurchases().size());
    definitions.clear();  // first to last: the hints, then the entry
    EXPECT_FALSE(IsReceiver("Hints"));
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(FishShopTest, SameBuyingRunShowsTheTipOnTheFifthAndTenth) {
    // The tip panel's messages file, template and font; the panel answers as "SpecialMessage"
    // while it stands, and it is gone before the next purchase.
    testing_support::WriteFile(dir + "tips.xml",
                               "<Tips><Order/><Special><needDifferent>Try another</needDifferent></Special></Tips>");
    widgets_test::AddFont("tip14", 11, 3, 0, 10, 0, 10);
    AddTemplate("SpecialMessageTemplate",
                "<Panel><children><StaticTextControl><position x=\"[textX]\" y=\"[textY]\"/>"
                "<div fontName=\"tip14\"/><_text_/></StaticTextControl></children></Panel>");
    ObjectSmartPointer<Receiver> panel;
    dynamic_cast<Receiver&>(*MessageServer::GetReceiver("ShopTipsScreen2").Get()).onMessage =
        [&panel](const std::string& message) {
            if (message == "create top instance") panel = ObjectSmartPointer<Receiver>(new Receiver("SpecialMessage"));
        };
    PermanentStorage::SetLocalInt("Money", 3000);
    Texts tipAt;
    for (int i = 1; i <= 10; ++i) {
        Trace().clear();
        SendMessage("1Gold dispatcher", "1Gold plus pressed");
        if (!TraceOf("SpecialMessage < show").empty()) tipAt.push_back(std::to_string(i));
        panel = nullptr;
    }
    EXPECT_EQ(Texts({"5", "10"}), tipAt);
    // The panel stands where the shop entry's settings say.
    EXPECT_EQ(Texts({"ShopTipsScreen2 < defineText [x] 300", "ShopTipsScreen2 < defineText [y] 400"}),
              Join({TraceOf("ShopTipsScreen2 < defineText [x]"), TraceOf("ShopTipsScreen2 < defineText [y]")}));
    // Another item in between restarts the run.
    PermanentStorage::SetLocalString("1 LastBuying", "1Other");
    for (int i = 1; i <= 4; ++i) SendMessage("1Gold dispatcher", "1Gold plus pressed");
    EXPECT_EQ(4, PermanentStorage::GetLocalInt("1 SameBuying"));
}

TEST_F(FishShopTest, SensorsPreviewOnceAndPurchaseResendsIt) {
    SendMessage("1Gold dispatcher", "sensor1 show indicator hint");
    SendMessage("1Gold dispatcher", "sensor2 show indicator hint");
    SendMessage("1Gold dispatcher", "sensor1 hide indicator hint");
    EXPECT_EQ(1u, TraceOf("fish bar < hint").size());
    SendMessage("1Gold dispatcher", "1Gold plus pressed");
    EXPECT_EQ(2u, TraceOf("fish bar < hint").size());
    SendMessage("1Gold dispatcher", "sensor2 hide indicator hint");
    EXPECT_EQ("fish bar < no hint", TraceOf("fish bar < no hint").back());
    EXPECT_FALSE(fish->IsIndicatorHintVisible());
}

// Equipment.

class TestComfort : public BaseComfortControl {
public:
    TestComfort(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
        : BaseComfortControl(parent, xml) {}
    ~TestComfort() override { AllowDestructor(); }
    void Draw() override {}
    void Update(float) override {}
};

class ComfortTest : public FishShopTest {
protected:
    void SetUp() override {
        FishShopTest::SetUp();
        if (!ControlFactory::IsControlRegistered("TestComfort")) {
            ControlFactory::RegisterControl("TestComfort", ControlFactory::Make<TestComfort>());
        }
        AddReceiver("Pump context help");
        AddAnswering("Pump icon position").answers = {{"get screen pos", "40,30"}};
        PermanentStorage::SetLocalInt("Money", 200);
        Build("<TestComfort><messageReceiver name=\"Pump\"/><position x=\"0\" y=\"0\"/>"
              "<cost usual=\"100\" upgraded=\"100\"/><sounds buy=\"pump_buy\" upgrade=\"pump_up\"/>"
              "<utility buyValue=\"4\" upgradeValue=\"6\" receiver=\"1 Utility dispatcher\" buyHintServer=\"Hints\"/>"
              "<icon textureId=\"pump_icon\"/><zOrderControl name=\"1 Aquarium bottom\"/><hartsAround x=\"5\" y=\"6\"/>"
              "</TestComfort>");
        Trace().clear();
    }
    void TearDown() override {
        container = nullptr;
        FishShopTest::TearDown();
    }
    static std::string State() { return PermanentStorage::GetLocalString("Pump"); }
};

TEST_F(ComfortTest, BuyAndUpgradeStateTableChargesOncePerStep) {
    EXPECT_EQ("true", SendMessageReply("Pump", "amount 0?"));
    EXPECT_EQ("100", SendMessageReply("Pump", "get cost"));
    SendMessage("Pump", "Buy");
    EXPECT_EQ(Texts({"1 Aquarium bottom < comfort 5,6", "Pump context help < hide help", "Money effect < - 100,40,30"}),
              Join({TraceOf("1 Aquarium"), TraceOf("Pump context"), TraceOf("Money effect")}));
    LogCapture log;
    SendMessage("Pump", "Buy");  // a double click
    EXPECT_EQ(1, log.ErrorCount());
    EXPECT_EQ(100, PermanentStorage::GetLocalInt("Money"));
    EXPECT_EQ("Bought", State());
    EXPECT_EQ(4, PermanentStorage::GetLocalInt("1 comfort level"));
    SendMessage("Pump", "Upgrade");
    SendMessage("Pump", "Upgrade");
    EXPECT_EQ(2, log.ErrorCount());
    EXPECT_EQ(0, PermanentStorage::GetLocalInt("Money"));
    EXPECT_EQ("Upgraded", State());
    EXPECT_EQ(10, PermanentStorage::GetLocalInt("1 comfort level"));
    EXPECT_EQ("2147483647", SendMessageReply("Pump", "get cost"));
    EXPECT_EQ(Float::ToString(0.0f), SendMessageReply("Pump", "get utility"));
    EXPECT_EQ(1u, TraceOf("1 Aquarium bottom").size());  // the upgrade sends no comfort
    PermanentStorage::Discard();
    PermanentStorage::Load();
    EXPECT_EQ("Upgraded", State());
    EXPECT_EQ(0, PermanentStorage::GetLocalInt("Money"));
}

TEST_F(ComfortTest, UpgradeBeforeBuyAndTooLittleMoneyChangeNothing) {
    LogCapture log;
    SendMessage("Pump", "Upgrade");
    EXPECT_EQ(1, log.ErrorCount());
    PermanentStorage::SetLocalInt("Money", 99);
    SendMessage("Pump", "Buy");
    EXPECT_EQ(Texts({"not enough money < show"}), TraceOf("not enough money"));
    EXPECT_EQ("None", State());
    EXPECT_EQ(99, PermanentStorage::GetLocalInt("Money"));
}

TEST_F(ComfortTest, DeveloperKeyResetsTheStoredState) {
    SendMessage("Pump", "Buy");
    ObjectSmartPointer<MouseMoveEvent> key(new KeyDownEvent(0, 0, false, 0x74));
    container->GetRoot()->OnMouseMove(key);
    EXPECT_EQ("None", State());
}

// Money displays.

TEST_F(ShopTest, FloatingTextRisesTenUnitsAtHalfLifeAndIsGoneAtOne) {
    FloatingTextEffect effect(0.0f, 0.0f, "+ 5", 20.0f, 1.0f, 1.5f, "money23", 1.5f);
    effect.Update(0.5f);
    EXPECT_FLOAT_EQ(10.0f, effect.GetRise());
    EXPECT_FLOAT_EQ(1.0f, effect.GetAlpha());  // capped
    EXPECT_FALSE(effect.IsFinished());
    effect.Update(0.5f);
    EXPECT_TRUE(effect.IsFinished());
}

TEST_F(ShopTest, MoneyEffectTakesTextAndPointAndRefusesOtherTexts) {
    Build("<MoneyEffectControl><position x=\"0\" y=\"0\"/><messageReceiver name=\"Money effect\"/></MoneyEffectControl>");
    const ObjectWeakPointer<MoneyEffectControl> effect = container->GetRoot().Cast<MoneyEffectControl>();
    SendMessage("Money effect", "- 150,400,350");
    EXPECT_EQ(1u, effect->GetEffectCount());
    LogCapture log;
    SendMessage("Money effect", "- 150 400");
    EXPECT_EQ(1, log.ErrorCount());
    EXPECT_EQ(1u, effect->GetEffectCount());
    effect->Update(0.6f);
    effect->Update(0.6f);
    effect->Update(0.01f);
    EXPECT_EQ(0u, effect->GetEffectCount());
    container = nullptr;
}

TEST_F(ShopTest, AMoneyTextNeverLeavesTheScreen) {
    widgets_test::AddFont("money23", 11, 3, 0, 10, 0, 10);
    const std::string text = "- $25";
    const float half = static_cast<float>(Render::fonts.GetStringWidth(text, "money23")) * 1.5f / 2.0f;
    const float height = static_cast<float>(Render::fonts.GetFontHeight("money23")) * 1.5f;
    ASSERT_GT(half, 10.0f);
    const struct {
        float x, y;
        bool moves;
    } cases[] = {{790.0f, 590.0f, true}, {3.0f, -10.0f, true}, {400.0f, 300.0f, false}, {800.0f, 0.0f, true}};
    for (const auto& c : cases) {
        const FPoint start = MoneyEffectControl::KeepOnScreen(text, FPoint(c.x, c.y));
        EXPECT_GE(start._x - half, 0.0f) << c.x;
        EXPECT_LE(start._x + half, 800.0f) << c.x;
        EXPECT_GE(start._y, 0.0f) << c.y;
        EXPECT_LE(start._y + 20.0f + height, 600.0f) << c.y;  // at the top of its rise
        EXPECT_EQ(c.moves, start._x != c.x || start._y != c.y) << c.x << "," << c.y;
    }
}

std::string MoneyXml() {
    return "<MoneyControl><position x=\"0\" y=\"0\"/><options variableName=\"Money\" oldValueStoreTo=\"Old money\" "
           "font=\"money23\"/><CountingFlare flareLife=\"2.0\" flareOnce=\"true\" minFlarePause=\"0\" "
           "maxFlarePause=\"0\" beforeFirstFlare=\"2.0\"/></MoneyControl>";
}

TEST_F(ShopTest, MoneyControlCountsUpFromTheOldValueAndDownInHalfASecond) {
    PermanentStorage::SetLocalInt("Money", 300);
    PermanentStorage::SetLocalInt("Old money", 100);
    Build(MoneyXml());
    ObjectWeakPointer<MoneyControl> money = container->GetRoot().Cast<MoneyControl>();
    EXPECT_EQ(100, money->GetShownNumber());
    money->Update(1.0f);
    EXPECT_EQ(200, money->GetShownNumber());
    money->Update(1.0f);
    money->Update(0.01f);
    EXPECT_FALSE(money->IsCounting());
    EXPECT_EQ(300, PermanentStorage::GetLocalInt("Old money"));
    // Spending while idle: a 0.5 s count down.
    PermanentStorage::SetLocalInt("Money", 200);
    money->Update(0.0f);
    EXPECT_EQ(300, money->GetShownNumber());
    money->Update(0.25f);
    EXPECT_EQ(250, money->GetShownNumber());
    // A change while counting is followed, and the count ends on the value reached.
    PermanentStorage::SetLocalInt("Money", 100);
    money->Update(0.125f);
    EXPECT_EQ(150, money->GetShownNumber());
    money->Update(0.125f);
    money->Update(0.01f);
    EXPECT_EQ(100, money->GetShownNumber());
    EXPECT_FALSE(money->IsCounting());
    container = nullptr;
    EXPECT_EQ(100, PermanentStorage::GetLocalInt("Old money"));
}

TEST_F(ShopTest, MoneyControlWithoutOldValueShowsAtOnce) {
    PermanentStorage::SetLocalInt("Money", 300);
    Build(MoneyXml());
    EXPECT_FALSE(container->GetRoot().Cast<MoneyControl>()->IsCounting());
    EXPECT_EQ(300, PermanentStorage::GetLocalInt("Old money"));
    container = nullptr;
}

TEST_F(ShopTest, IfMoneyShowsEnoughAtEqualCost) {
    AddTemplate("Rich", "<FixedChildrenListControl><position x=\"0\" y=\"0\"/></FixedChildrenListControl>");
    AddTemplate("Poor", "<FixedChildrenListControl><position x=\"1\" y=\"0\"/></FixedChildrenListControl>");
    PermanentStorage::SetLocalInt("Money", 50);
    Build("<IfMoneyControl cost=\"50\"><position x=\"0\" y=\"0\"/><enough templateName=\"Rich\"/>"
          "<notEnough templateName=\"Poor\"/></IfMoneyControl>");
    ObjectWeakPointer<IfMoneyControl> holder = container->GetRoot().Cast<IfMoneyControl>();
    EXPECT_TRUE(holder->IsShowingEnough());
    PermanentStorage::SetLocalInt("Money", 49);
    holder->Update(0.0f);
    EXPECT_FALSE(holder->IsShowingEnough());
    container = nullptr;
}

// Shop item icons.

class ItemIconTest : public FishShopTest {
protected:
    void SetUp() override {
        FishShopTest::SetUp();
        Add("<SamenessInfoDefinition><messageReceiver name=\"Beauty sameness info\"/><percents _1=\"50\"/>"
            "</SamenessInfoDefinition>");
        for (const char* name : {"Fern icon", "Shop drag sensor", "Shop dragger", "Screen", "Sell target"}) {
            AddReceiver(name);
        }
        AddTemplate("FernItem", "<TestFloorItem><createInDragging x=\"0\" y=\"0\" replyTo=\"\"/></TestFloorItem>");
        PermanentStorage::SetLocalInt("Money", 100);
        Build("<ItemIconDispatcherControl><position x=\"0\" y=\"0\"/><messageReceiver name=\"Fern dispatcher\"/>"
              "<SpecialMessage messagesFileName=\"tips.xml\" textWidth=\"200\" x=\"300\" y=\"400\" visibleTime=\"2.0\"/>"
              "<item tankId=\"1\" tankItemId=\"Fern\" iconTextureId=\"fern_icon\" playerBuyCost=\"40\" "
              "playerSellCost=\"20\" itemTemplateName=\"FernItem\"/><sellDialog cancelMessage=\"fern cancel\"/>"
              "<utility value=\"8\" receiver=\"1 Utility dispatcher\" buyHintServer=\"Hints\"/>"
              "<TutorialPurchase><started receiver=\"Tutorial\" message=\"s\"/><onSand receiver=\"Tutorial\" "
              "message=\"o\"/><cancelled receiver=\"Tutorial\" message=\"c\"/><complete receiver=\"Tutorial\" "
              "message=\"d\"/></TutorialPurchase></ItemIconDispatcherControl>");
        Trace().clear();
    }
    void TearDown() override {
        container = nullptr;
        FishShopTest::TearDown();
    }
    static void Icon(const std::string& message) { SendMessage("Fern dispatcher", message); }
};

TEST_F(ItemIconTest, PurchaseRoadSendsAndStoresInOrder) {
    Move(100, 200);
    Icon("mouse down");
    Icon("drag over");
    EXPECT_EQ("Fern dispatcher", TemplateLib::GetTemplate("FernItem")->GetFirstChildElement("createInDragging")
                                     ->GetStringAttribute("replyTo"));
    Trace().clear();
    Icon("placed");
    EXPECT_EQ(Texts({"Money effect < - 40,100,250", "Fern icon < show", "beauty flash < flash"}),
              Join({TraceOf("Money effect"), TraceOf("Fern icon"), TraceOf("beauty flash")}));
    EXPECT_EQ(60, PermanentStorage::GetLocalInt("Money"));
    EXPECT_EQ(1, PermanentStorage::GetLocalInt("Fern amount"));
    EXPECT_EQ(8, PermanentStorage::GetLocalInt("1 beauty level"));
    EXPECT_EQ("beauty bar < no hint", TraceOf("beauty bar").back());
    // A repeated "placed" charges nothing.
    LogCapture log;
    Icon("placed");
    EXPECT_EQ(60, PermanentStorage::GetLocalInt("Money"));
    EXPECT_EQ(1, log.ErrorCount());
    // The second one is worth half.
    Icon("mouse down");
    Icon("drag over");
    Icon("placed");
    EXPECT_EQ(12, PermanentStorage::GetLocalInt("1 beauty level"));
    PermanentStorage::Discard();
    PermanentStorage::Load();
    EXPECT_EQ(20, PermanentStorage::GetLocalInt("Money"));
}

// A plant that is not made in the tank under the mouse is not bought: the drag ends, the icon comes
// back, the buyer sees the shop's notice and no money goes.
TEST_F(ItemIconTest, APlantThatCannotBeMadeInTheHandChargesNothing) {
    const struct {
        const char* name;
        const char* fern;  // the FernItem template
        const char* tankAnswer;
    } cases[] = {
        {"no createInDragging", "<TestFloorItem/>", "true"},
        {"the tank refuses it", "<TestFloorItem><createInDragging x=\"0\" y=\"0\" replyTo=\"\"/></TestFloorItem>",
         "false"},
    };
    for (const auto& c : cases) {
        TemplateLib::RemoveTemplate("FernItem");
        AddTemplate("FernItem", c.fern);
        tankAnswers->answers["add FernItem"] = c.tankAnswer;
        Trace().clear();
        Icon("mouse down");
        Icon("drag over");
        EXPECT_FALSE(container->GetRoot().Cast<ItemIconDispatcherControl>()->IsPlacing()) << c.name;
        EXPECT_EQ(Texts({"Fern icon < hide", "Fern icon < show"}), TraceOf("Fern icon")) << c.name;
        EXPECT_EQ(Texts({"purchase failed < show"}), TraceOf("purchase failed")) << c.name;
        EXPECT_EQ(100, PermanentStorage::GetLocalInt("Money")) << c.name;
        EXPECT_EQ(0, PermanentStorage::GetLocalIntOrDef("Fern amount", 0)) << c.name;
    }
}

TEST_F(ItemIconTest, NotEnoughMoneyStillStartsTheTutorial) {
    PermanentStorage::SetLocalBool("Want tutorial", true);
    PermanentStorage::SetLocalInt("Money", 39);
    Icon("mouse down");
    EXPECT_EQ(Texts({"not enough money < show", "Tutorial < s"}), Trace());
    EXPECT_FALSE(container->GetRoot().Cast<ItemIconDispatcherControl>()->IsPlacing());
}

TEST_F(ItemIconTest, SellDialogTemplateFollowsTheFallingQuestion) {
    PermanentStorage::SetLocalInt("Fern amount", 2);
    for (const auto& c : {std::make_pair(14, "FernSellDialogTemplate"), std::make_pair(12, "FernSellDialogMinusTemplate")}) {
        PermanentStorage::SetLocalInt("1 beauty level", c.first);
        PermanentStorage::SetLocalString("1 Cup", "Bronze");
        Trace().clear();
        Icon("show sell dialog on basket");
        EXPECT_EQ(Texts({std::string("Shop modal dialog < template ") + c.second,
                         "Shop modal dialog < defineText [okMessage] basket sell ok",
                         "Shop modal dialog < create instance"}),
                  TraceOf("Shop modal dialog"));
    }
}

TEST_F(ItemIconTest, SaleRefundsOnceAndNothingToSellIsIgnored) {
    PermanentStorage::SetLocalInt("Fern amount", 1);
    PermanentStorage::SetLocalInt("1 beauty level", 8);
    Icon("basket sell ok");
    EXPECT_EQ(Texts({"Money effect < + 20,750,110"}), TraceOf("Money effect"));
    Icon("sell animation played");
    EXPECT_EQ(120, PermanentStorage::GetLocalInt("Money"));
    EXPECT_EQ(0, PermanentStorage::GetLocalInt("Fern amount"));
    EXPECT_EQ(0, PermanentStorage::GetLocalInt("1 beauty level"));
    LogCapture log;
    Icon("show sell dialog on right click");
    Icon("right click sell ok");
    EXPECT_EQ(120, PermanentStorage::GetLocalInt("Money"));
    EXPECT_EQ(0, PermanentStorage::GetLocalInt("Fern amount"));
    EXPECT_EQ(2, log.ErrorCount());
    container = nullptr;
    EXPECT_FALSE(PermanentStorage::IsLocalNameDefined("Fern amount"));
}

// The catalogue.

TEST_F(ShopTest, CatalogueMakesCollectionsScreenTemplateAndMetersThatLiveWithIt) {
    RegisterCommonDefinitionClasses();
    // The content's templates: meters with the catalogue's parameters, the shop screen with its
    // shelves, and one collection a good that shows what it was handed.
    AddTemplate("UtilityDispatcherTemplate",
                "<UtilityDispatcherDefinition><messageReceiver name=\"[utilityMessageReceiver]\"/>"
                "<cup variableName=\"[tankId] Cup\"/><wonCup receiver=\"Cups\" message=\"won\"/>"
                "<first100Percents receiver=\"Cups\" message=\"full \"/>" +
                    MeterGroup("fish", "[fishBronzeCupLevel]", "[fishSilverCupLevel]", "[fishGoldCupLevel]", "[tankId]") +
                    MeterGroup("beauty", "[beautyBronzeCupLevel]", "[beautySilverCupLevel]", "[beautyGoldCupLevel]",
                               "[tankId]") +
                    MeterGroup("comfort", "[comfortBronzeCupLevel]", "[comfortSilverCupLevel]",
                               "[comfortGoldCupLevel]", "[tankId]") +
                    "</UtilityDispatcherDefinition>");
    AddTemplate("AnyShopTemplate",
                "<Shop checkpoints=\"[comfortScrollCheckpoints] [beautyScrollCheckpoints] [fishScrollCheckpoints]\" "
                "tank=\"[tankId]\"><_ComfortScrollBackChildren_/><_ComfortScrollIconChildren_/>"
                "<_BeautyScrollBackChildren_/><_BeautyScrollIconChildren_/><_FishScrollBackChildren_/>"
                "<_FishScrollIconChildren_/></Shop>");
    for (const char* id : {"Gold", "Zebra", "Shell"}) {
        AddTemplate(std::string(id) + "TemplateCollection",
                    "<base><Template templateName=\"" + std::string(id) +
                        " entry\"><Entry buy=\"[playerBuyCost]\" sell=\"[playerSellCost]\" stars=\"[stars]\" "
                        "utility=\"[utility]\" meters=\"[utilityMessageReceiver]\" tank=\"[tankId]\"/></Template></base>");
    }
    AddTemplate("1 PumpTemplateCollection",
                "<base><Template templateName=\"Pump entry\"><Entry buy=\"[buyCost]\" upgrade=\"[upgradeCost]\" "
                "buyUtility=\"[buyUtility]\" upgradeUtility=\"[upgradeUtility]\" buyStars=\"[buyStars]\" "
                "upgradeStars=\"[upgradeStars]\" meters=\"[utilityMessageReceiver]\"/></Template></base>");
    const std::string cupsAndStars =
        "<cupUtility bronze=\"10\" silver=\"20\" gold=\"30\"/><starsPrice _2=\"100\" _3=\"200\" _4=\"400\" _5=\"800\"/>";
    LogCapture log;
    ObjectWeakPointer<Definition> catalogue = Add(
        "<ShopContentDefinition tankId=\"1\"><messageReceiver name=\"Shop content 1\"/>"
        "<Fish>" + cupsAndStars + "<sale mul=\"1\" add=\"2\" div=\"2\"/>"
        "<fish id=\"Zebra\" cost=\"800\" minInGameField=\"0\" maxInGameField=\"2\"/>"
        "<fish id=\"Gold\" cost=\"150\" minInGameField=\"1\" maxInGameField=\"3\"/></Fish>"
        "<Beauty>" + cupsAndStars + "<sale mul=\"2\" add=\"1\" div=\"0\"/><item id=\"Shell\" cost=\"99\"/></Beauty>"
        "<Comfort>" + cupsAndStars + "<comfort id=\"Pump\" buyCost=\"50\" upgradeCost=\"150\"/></Comfort>"
        "</ShopContentDefinition>");
    ASSERT_TRUE(catalogue.InstanceOf<ShopContentDefinition>());
    // A sale that divides by 0 is the one report; it sells at 0.
    EXPECT_EQ(1, log.ErrorCount()) << log.Text();
    EXPECT_TRUE(log.Contains("A sale with div 0 sells at 0"));

    EXPECT_EQ("<Entry buy=\"150\" sell=\"76\" stars=\"2\" utility=\"150\" meters=\"1 Utility dispatcher\" tank=\"1\"/>",
              content_test::Text(TemplateLib::GetTemplate("Gold entry")));
    EXPECT_EQ("<Entry buy=\"800\" sell=\"401\" stars=\"5\" utility=\"800\" meters=\"1 Utility dispatcher\" tank=\"1\"/>",
              content_test::Text(TemplateLib::GetTemplate("Zebra entry")));
    EXPECT_EQ("<Entry buy=\"99\" sell=\"0\" stars=\"1\" utility=\"99\" meters=\"1 Utility dispatcher\" tank=\"1\"/>",
              content_test::Text(TemplateLib::GetTemplate("Shell entry")));
    EXPECT_EQ("<Entry buy=\"50\" upgrade=\"150\" buyUtility=\"50\" upgradeUtility=\"150\" buyStars=\"1\" "
              "upgradeStars=\"2\" meters=\"1 Utility dispatcher\"/>",
              content_test::Text(TemplateLib::GetTemplate("Pump entry")));

    // The shelves: comfort, beauty, fish, each one background tile and its icons in document order.
    const std::string back = "<TemplateInstanceControl><position x=\"0\" y=\"0\"/>"
                             "<base templateName=\"ScrollBackTemplate\"/></TemplateInstanceControl>";
    const auto icon = [](const std::string& id) {
        return "<TemplateInstanceControl><position x=\"0\" y=\"0\"/><base templateName=\"1 " + id +
               "IconTemplate\"/></TemplateInstanceControl>";
    };
    EXPECT_EQ("<Shop checkpoints=\"1 1 1\" tank=\"1\"><children>" + back + "</children><children>" + icon("Pump") +
                  "</children><children>" + back + "</children><children>" + icon("Shell") + "</children><children>" +
                  back + "</children><children>" + icon("Zebra") + icon("Gold") + "</children></Shop>",
              content_test::Text(TemplateLib::GetTemplate("Aquarium1Template")));

    const std::map<std::string, ShopContentDefinition::FishRange> fish =
        catalogue.Cast<ShopContentDefinition>()->GetAllFish();
    ASSERT_EQ(2u, fish.size());
    EXPECT_EQ("Gold", fish.begin()->first);
    EXPECT_EQ(1, fish.at("Gold").minInGameField);
    EXPECT_EQ(3, fish.at("Gold").maxInGameField);
    EXPECT_EQ(2, fish.at("Zebra").maxInGameField);

    // The meters answer under the tank's name while the catalogue lives, and nothing is left after it.
    EXPECT_TRUE(IsReceiver("1 Utility dispatcher"));
    EXPECT_TRUE(IsReceiver("Shop content 1"));
    definitions.clear();
    EXPECT_FALSE(IsReceiver("1 Utility dispatcher"));
    EXPECT_FALSE(IsReceiver("Shop content 1"));
    for (const char* name : {"Gold entry", "Pump entry", "Aquarium1Template"}) {
        EXPECT_FALSE(TemplateLib::HasTemplate(name)) << name;
    }
    EXPECT_EQ(1, log.ErrorCount()) << log.Text();
}

}  // namespace
