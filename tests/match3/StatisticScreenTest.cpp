// The level-complete statistics screen: cups and tiles in their lines, the lines of a level
// without cups, the count-up with its sounds and drains, the fast-forward click and the click
// that goes on, the replay key.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "content/ParticleLibrary.h"
#include "content/ResourceManager.h"
#include "controls/MouseEvents.h"
#include "core/Float.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "match3/ZovGameFieldStatistic.h"
#include "shell/SoundSystem.h"
#include "tests/match3/EffectTestSupport.h"
#include "tests/match3/FieldTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using effects_test::Quad;
using field_test::TraceReceiver;
using effects_test::ParseElement;
using effects_test::WriteTestPicture;
using testing_support::LogCapture;

const char* const PICTURES[] = {"statistics_banner",     "statistics_gold_cup", "statistics_silver_cup",
                                "statistics_bronze_cup", "golden_middle",       "silver_middle"};

const char* const PARTICLES = R"(<Effects version="1">
  <Effect name="BubblesColumn"><ParticleSystem numOfParticles="4" lifeInitial="0.5"/></Effect>
</Effects>)";

// Lines 7 and 8 are the cup lines; the total is line 9.
const char* const LINES = R"(
    <line x="400" y="367" font="demo" text="Tiles%silverTiles%%goldenTiles% :" align="Right" startTime="0.0" time="0.3"/>
    <line x="400" y="367" font="demo" text="  %TilesLevelMoney%" startTime="0.3" time="0.3"/>
    <line x="400" y="315" font="demo" text="Score :" align="Right" startTime="0.6" time="0.3"/>
    <line x="400" y="315" font="demo" text="  %ScoreLevelMoney%" startTime="0.6" time="0.3"/>
    <line x="400" y="263" font="demo" text="Time :" align="Right" startTime="0.9" time="0.3"/>
    <line x="400" y="263" font="demo" text="  %TimeLevelMoney%" startTime="0.9" time="0.3"/>
    <line x="400" y="420" font="demo" text="Money won" align="Center" startTime="0.0" time="0.3"/>
    <line x="400" y="211" font="demo" text="Cups%bronze%%silver%%gold% :" align="Right" startTime="1.2" time="0.3"/>
    <line x="400" y="211" font="demo" text="  %CupLevelMoney%" startTime="1.2" time="0.3"/>
    <line x="400" y="107" font="demo" text="Total %LevelMoney%" align="Center" startTime="1.5" time="0.3"/>)";

std::string ScreenXml(const std::string& lines) {
    return std::string(R"(<ZovGameFieldStatistic><position x="0" y="0"/><messageReceiver name="ZovFieldStatistic"/>
  <delayText x="0" y="0" startTime="0.2">)") +
           lines + R"(</delayText>
  <main texture="statistics_banner" x="400" y="480" pause="0.3" break="0.2" time="0.8">
    <alpha><key time="0.0" value="0.0"/><key time="1.0" value="1.0"/></alpha>
    <yCoord><key time="0.0" value="100.0"/><key time="1.0" value="0.0"/></yCoord>
    <size><key time="0.0" value="0.5"/><key time="1.0" value="1.0"/></size>
  </main>
</ZovGameFieldStatistic>)";
}

class StatisticScreenTest : public effects_test::EffectTest {
protected:
    void SetUp() override {
        EffectTest::SetUp();
        std::string resources = R"(<Resources><Fonts><font name="money_middle" aliasOf="20_scores"/>
          <font name="money_big" aliasOf="boom"/></Fonts><Textures upload="refcount" storage="memory-keeping">)";
        for (const char* id : PICTURES) {
            WriteTestPicture(dir + id + ".png", 32, 24);
            resources += std::string("<texture id=\"") + id + "\" path=\"" + id + ".png\"/>";
        }
        resources += R"(</Textures><Strings><string name="MoneyPrefix" value="$"/><string name="MoneySuffix" value=""/>
          </Strings></Resources>)";
        ResourceManager::LoadResources(ParseElement(resources));
        testing_support::WriteFile(dir + "bubbles.xml", PARTICLES);
        GetParticleLibrary().LoadEffects(dir + "bubbles.xml");
        // Handles 105 and 106, after the effect samples.
        Sound::soundSystem.AddSample("level_complite", "level_complite.wav", 2);
        Sound::soundSystem.AddSample("total_money", "total_money.wav", 2);
        for (const char* name : {"GameField", "OverStatistic"}) {
            receivers.push_back(std::make_unique<TraceReceiver>(name, trace));
        }
        PermanentStorage::SetLocalInt("goldenCountInt", 2);
        PermanentStorage::SetLocalInt("silverCountInt", 9);
        PermanentStorage::SetLocalInt("CupBonusInt", 30);
        PermanentStorage::SetLocalInt("Level money", 250);
        PermanentStorage::SetLocalString("TilesLevelMoney", "$95");
        PermanentStorage::SetLocalInt("LevelScoreBonusInt", 1750);
        PermanentStorage::SetLocalFloat("LevelScoreBonusMul", 0.02f);
        PermanentStorage::SetLocalInt("TimeCountInt", 60);
        PermanentStorage::SetLocalFloat("TimeCountMul", 0.5f);
        PermanentStorage::SetLocalString("Level score", "1750");
        audio.ClearCalls();
    }
    void TearDown() override {
        screen = ObjectSmartPointer<ZovGameFieldStatistic>();
        receivers.clear();
        EffectTest::TearDown();
    }

    void SetCups(const std::vector<std::string>& cups) {
        for (std::size_t k = 0; k < cups.size(); ++k) {
            PermanentStorage::SetLocalString(std::to_string(k + 1) + " Cup", cups[k]);
        }
    }
    void Make(const std::string& lines = LINES) {
        screen = ObjectSmartPointer<ZovGameFieldStatistic>(
            new ZovGameFieldStatistic(ObjectWeakPointer<Control>(), ParseElement(ScreenXml(lines))));
    }
    // The banner has appeared and the field has sent "continue".
    void MakeContinued(const std::string& lines = LINES) {
        Make(lines);
        Run(0.1f, 20);
        SendMessage("ZovFieldStatistic", "continue");
    }
    void Run(float dt, int n) {
        for (int i = 0; i < n; ++i) screen->Update(dt);
    }
    void Click() {
        ObjectSmartPointer<MouseDownEvent> e(new MouseDownEvent(false));
        screen->OnMouseDown(e);
    }
    const DelayText& Line(std::size_t i) const { return screen->GetLines()._lines.at(i); }
    std::vector<std::string> Sent(const std::string& receiver) const {
        std::vector<std::string> found;
        for (const std::string& entry : trace) {
            if (entry.rfind(receiver + " < ", 0) == 0) found.push_back(entry.substr(receiver.size() + 3));
        }
        return found;
    }
    // Samples played since the last call, the statistics' own two included.
    std::vector<std::string> Played() {
        std::vector<std::string> played;
        for (const std::string& s : Sounds()) {
            played.push_back(s == "play ?" ? "play statistics sample" : s);
        }
        return played;
    }
    int PlayCount(int handle) {
        int n = 0;
        for (const std::string& call : audio.Calls()) {
            if (call.rfind("BASS_SamplePlayEx(" + std::to_string(handle) + ",", 0) == 0) ++n;
        }
        return n;
    }
    UsingPointer<Texture> Picture(const char* id) { return ResourceManager::GetTextureOrFrame(id); }
    std::vector<Quad> DrawScreen() { return Draw(*screen); }

    ObjectSmartPointer<ZovGameFieldStatistic> screen;
    std::vector<std::string> trace;
    std::vector<std::unique_ptr<TraceReceiver>> receivers;
};

TEST_F(StatisticScreenTest, CupsAreCountedWithTheirPicturesRightToLeft) {
    struct Case {
        std::vector<std::string> cups;
        const char* text;
        std::vector<const char*> pictures;  // left to right
    } cases[] = {
        {{"Gold", "Gold", "Gold"},
         "Cups  x3   x3   x3 :",
         {"statistics_bronze_cup", "statistics_silver_cup", "statistics_gold_cup"}},
        {{"Silver", "Bronze", "none"}, "Cups  x2   x1 :", {"statistics_bronze_cup", "statistics_silver_cup"}},
        {{"Bronze", "", ""}, "Cups  x1 :", {"statistics_bronze_cup"}},
    };
    for (const Case& c : cases) {
        LogCapture log;
        SetCups(c.cups);
        MakeContinued();
        ASSERT_EQ(10u, screen->GetLines()._lines.size());
        EXPECT_EQ(c.text, Line(7)._text);
        EXPECT_EQ("  $30", Line(8)._text);
        EXPECT_TRUE(screen->AreCupsShown());
        const std::vector<DelayText::Picture>& pictures = Line(7)._pictures;
        ASSERT_EQ(c.pictures.size(), pictures.size()) << c.text;
        // Added from the right (gold first); each stands left of its count, all left of the colon.
        int left = 0;
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            const DelayText::Picture& p = pictures[pictures.size() - 1 - i];
            EXPECT_EQ(Picture(c.pictures[i]).GetPointer().Get(), p.texture.GetPointer().Get()) << c.text << " " << i;
            EXPECT_LT(p.position.x + 32, 400);
            EXPECT_EQ(211 - 12, p.position.y);
            EXPECT_GT(p.position.x, left + 20) << c.text << " " << i;
            left = p.position.x;
        }
        EXPECT_EQ(0, log.ErrorCount()) << log.Text();
        screen = ObjectSmartPointer<ZovGameFieldStatistic>();
    }
}

TEST_F(StatisticScreenTest, MoneyLinesAreFilledAndHiddenForTheFlyingFigures) {
    SetCups({"Gold", "", ""});
    MakeContinued();
    // Golden tiles first, then the silver ones, each with its picture.
    // The golden tiles rightmost, next to the colon, the silver ones left of them.
    EXPECT_EQ("Tilesx9      x2 :", Line(0)._text);
    ASSERT_EQ(2u, Line(0)._pictures.size());
    EXPECT_EQ(Picture("golden_middle").GetPointer().Get(), Line(0)._pictures[0].texture.GetPointer().Get());
    EXPECT_EQ(Picture("silver_middle").GetPointer().Get(), Line(0)._pictures[1].texture.GetPointer().Get());
    EXPECT_LT(Line(0)._pictures[1].position.x, Line(0)._pictures[0].position.x);
    // 1750 x 0.02 = 35, 60 x 0.5 = 30.
    const struct {
        std::size_t line;
        const char* text;
    } hidden[] = {{1, "  $95"}, {3, "  $35"}, {5, "  $30"}, {9, "Total $250"}};
    for (const auto& h : hidden) {
        EXPECT_EQ(h.text, Line(h.line)._text);
        EXPECT_FALSE(Line(h.line)._isVisible) << h.text;
    }
    EXPECT_TRUE(Line(0)._isVisible);
    EXPECT_EQ("Total $250", screen->GetTotalText());
}

TEST_F(StatisticScreenTest, WithoutCupsTheCupLinesGoAndTheTotalLandsHigher) {
    LogCapture log;
    PermanentStorage::SetLocalInt("goldenCountInt", 0);
    MakeContinued();
    ASSERT_EQ(8u, screen->GetLines()._lines.size());
    for (const DelayText& line : screen->GetLines()._lines) {
        EXPECT_EQ(std::string::npos, line._text.find("%CupLevelMoney%"));
        EXPECT_EQ(std::string::npos, line._text.find("Cups"));
    }
    EXPECT_EQ("Total $250", Line(7)._text);
    EXPECT_EQ(159, Line(7)._position.y);
    EXPECT_NEAR(0.6f, Line(7)._startTime, 1e-5f);
    EXPECT_EQ("Tilesx9 :", Line(0)._text);
    EXPECT_FALSE(screen->AreCupsShown());
    Run(0.1f, 150);
    EXPECT_FALSE(screen->IsCounting());
    // The total spins in at (400, 159); nothing is drawn at the cups' total height 107.
    bool atTotal = false;
    for (const Quad& q : DrawScreen()) {
        if (std::fabs(q.CentreY() - 159.0f) < 4.0f && std::fabs(q.CentreX() - 400.0f) < 60.0f) atTotal = true;
        EXPECT_GT(std::fabs(q.CentreY() - 107.0f), 10.0f);
    }
    EXPECT_TRUE(atTotal);
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(StatisticScreenTest, ClicksBeforeContinueAndDuringTheBannersHoldAreIgnored) {
    Make();
    Run(0.1f, 20);
    Click();  // before "continue"
    EXPECT_TRUE(screen->IsCounting());
    screen = ObjectSmartPointer<ZovGameFieldStatistic>();

    Make();
    Run(0.1f, 3);  // 0.3 s: the hold runs from 0.2 s to 0.5 s
    SendMessage("ZovFieldStatistic", "continue");
    Click();
    EXPECT_TRUE(screen->IsCounting());
    EXPECT_TRUE(Sent("OverStatistic").empty());
}

TEST_F(StatisticScreenTest, AFastForwardClickEndsTheCountSilentlyAndTheNextClickGoesOn) {
    SetCups({"Gold", "Silver", ""});
    MakeContinued();
    for (int i = 0; i < 20; ++i) {  // the tiles money is on its way with a sound still to come
        screen->Update(0.1f);
        DrawScreen();
    }
    Played();
    Click();
    DrawScreen();
    EXPECT_FALSE(screen->IsCounting());
    EXPECT_TRUE(Played().empty());
    EXPECT_EQ((std::vector<std::string>{"template ClickToContinueTemplate", "create top instance"}),
              Sent("OverStatistic"));
    EXPECT_EQ("", PermanentStorage::GetLocalString("TilesLevelMoney"));
    EXPECT_EQ("", PermanentStorage::GetLocalString("Level score"));
    // Every money figure stands: three flown texts and the total; the counters are gone.
    EXPECT_EQ(4u, screen->GetEffectCount());
    const std::vector<std::string> timer = Sent("GameField");
    ASSERT_FALSE(timer.empty());
    EXPECT_EQ("Set timer " + Float::ToString(0.0f), timer.back());

    Click();
    EXPECT_NE("StatButtonOk", Sent("GameField").back());  // posted, not yet delivered
    ProcessPostedMessages();
    EXPECT_EQ("StatButtonOk", Sent("GameField").back());
    Click();  // the screen is on its way out: no second one
    ProcessPostedMessages();
    int oks = 0;
    for (const std::string& m : Sent("GameField")) oks += m == "StatButtonOk" ? 1 : 0;
    EXPECT_EQ(1, oks);
}

TEST_F(StatisticScreenTest, TheCountPlaysInItsOwnTimeWithItsSoundsAndDrains) {
    LogCapture log;
    SetCups({"Bronze", "", ""});
    Make();
    screen->Update(0.05f);
    EXPECT_EQ(1, PlayCount(105));  // "level_complite" as the banner starts to appear
    Run(0.05f, 40);
    SendMessage("ZovFieldStatistic", "continue");
    std::vector<std::string> scores;
    for (int i = 0; i < 300; ++i) {
        screen->Update(0.05f);
        DrawScreen();  // the effects sound as they are drawn
        const std::string score = PermanentStorage::GetLocalString("Level score");
        if (scores.empty() || scores.back() != score) scores.push_back(score);
    }
    EXPECT_FALSE(screen->IsCounting());
    EXPECT_EQ(1, PlayCount(106));  // "total_money"
    const std::vector<std::string> sounds = Played();
    for (const char* sample : {"play counter", "play popup", "play fly_text"}) {
        EXPECT_NE(sounds.end(), std::find(sounds.begin(), sounds.end(), sample)) << sample;
    }
    // The score counts down to nothing while its money counts up.
    ASSERT_GE(scores.size(), 3u);
    EXPECT_EQ("", scores.back());
    for (std::size_t i = 1; i + 1 < scores.size(); ++i) EXPECT_LT(std::stoi(scores[i]), std::stoi(scores[i - 1]));
    // The field's timer drains from 60 % to nothing.
    std::vector<float> timer;
    for (const std::string& m : Sent("GameField")) timer.push_back(Float::Parse(m.substr(std::string("Set timer ").size())));
    ASSERT_GE(timer.size(), 3u);
    EXPECT_LE(timer.front(), 0.6f);
    EXPECT_GT(timer.front(), 0.5f);
    for (std::size_t i = 1; i < timer.size(); ++i) EXPECT_LE(timer[i], timer[i - 1]);
    EXPECT_EQ(0.0f, timer.back());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(StatisticScreenTest, TheSpaceKeyReplaysTheCountForDevelopers) {
    MakeContinued();
    Click();
    ASSERT_FALSE(screen->IsCounting());
    const struct {
        bool dev;
        bool replays;
    } cases[] = {{false, false}, {true, true}};
    for (const auto& c : cases) {
        PermanentStorage::SetGlobalBool("dev", c.dev);
        ObjectSmartPointer<KeyDownEvent> key(new KeyDownEvent(0, 0, false, 32));
        screen->OnMouseMove(key);
        EXPECT_EQ(c.replays, screen->IsCounting());
        EXPECT_FALSE(key->IsKeyHandled());
    }
    EXPECT_EQ("clear children list", Sent("OverStatistic").back());
    EXPECT_EQ(0u, screen->GetEffectCount());
    EXPECT_EQ(0.0f, screen->GetLines()._elapsed);
    Run(0.1f, 150);
    EXPECT_FALSE(screen->IsCounting());
    EXPECT_EQ(4u, screen->GetEffectCount());
}

TEST_F(StatisticScreenTest, AShortLayoutLosesOnlyTheLinesItHas) {
    // Eight lines, the time money missing: only line 7 goes, and the missing placeholder hides nothing.
    const std::string lines = R"(
    <line x="400" y="367" font="demo" text="%silverTiles%%goldenTiles% :" align="Right" startTime="0.0" time="0.3"/>
    <line x="400" y="367" font="demo" text="  %TilesLevelMoney%" startTime="0.3" time="0.3"/>
    <line x="400" y="315" font="demo" text="  %ScoreLevelMoney%" startTime="0.6" time="0.3"/>
    <line x="400" y="263" font="demo" text="Time" startTime="0.9" time="0.3"/>
    <line x="400" y="107" font="demo" text="%LevelMoney%" startTime="1.5" time="0.3"/>
    <line x="400" y="420" font="demo" text="a" startTime="0.0" time="0.3"/>
    <line x="400" y="420" font="demo" text="%bronze%%silver%%gold%" startTime="0.0" time="0.3"/>
    <line x="400" y="211" font="demo" text="b" startTime="1.2" time="0.3"/>)";
    LogCapture log;
    MakeContinued(lines);
    EXPECT_EQ(7u, screen->GetLines()._lines.size());
    EXPECT_EQ(1, log.ErrorCount()) << log.Text();
    EXPECT_TRUE(log.Contains("%TimeLevelMoney%"));
    EXPECT_TRUE(Line(3)._isVisible);
    EXPECT_FALSE(Line(4)._isVisible);
}

}  // namespace

// The score money counts for a 3500th of a second per point of score, between 0.1 s and 2 s, after
// a quarter second's wait; the "Level score" text drains over the same time and then goes blank.
TEST_F(StatisticScreenTest, TheScoreCountTakesItsTimeFromTheScore) {
    const struct {
        int score;
        float seconds;
    } cases[] = {{100, 0.1f}, {1750, 0.5f}, {3500, 1.0f}, {7000, 2.0f}, {20000, 2.0f}};
    for (const auto& c : cases) {
        PermanentStorage::SetLocalInt("LevelScoreBonusInt", c.score);
        PermanentStorage::SetLocalString("Level score", std::to_string(c.score));
        MakeContinued();
        SendMessage("ZovFieldStatistic", "start score money");
        float elapsed = 0.0f;
        while (PermanentStorage::GetLocalString("Level score") != "" && elapsed < 2.9f) {
            screen->Update(0.01f);
            elapsed += 0.01f;
        }
        EXPECT_NEAR(0.25f + c.seconds, elapsed, 0.025f) << c.score;
    }
}
