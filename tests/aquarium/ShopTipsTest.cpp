// Shop tips: when a tip is due, which one is chosen, the panel messages, and the special
// messages of the shop icons.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "aquarium/ShowTipsControl.h"
#include "aquarium/SpecialMessageSettings.h"
#include "content/TemplateLib.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "core/XmlElement.h"
#include "core/XmlRead.h"
#include "shell/RenderDeviceFonts.h"
#include "tests/aquarium/AquariumTestSupport.h"
#include "tests/support/TestSupport.h"
#include "tests/widgets/WidgetTestSupport.h"

using namespace aquarium_test;

namespace {

const char* const MESSAGES =
    "<Tips><Order><welcome>First|tip|here</welcome><second>Second tip</second></Order>"
    "<Special><fish>More fish</fish><beauty>More plants</beauty><comfort>More comfort</comfort>"
    "<firstCup>A cup</firstCup><firstLigthning>Lightning</firstLigthning><firstLosing>Lost</firstLosing>"
    "<twoCup>Two cups</twoCup><money>Short of money</money></Special></Tips>";

const char* const PANEL_TEMPLATE =
    "<Panel><children><StaticTextControl><position x=\"[textX]\" y=\"[textY]\"/>"
    "<div fontName=\"tip14\"/><_text_/></StaticTextControl></children></Panel>";

class ShopTipsTest : public AquariumTest {
protected:
    void SetUp() override {
        AquariumTest::SetUp();
        widgets_test::AddFont("white_text_14", 11, 3, 0, 10, 0, 10);
        widgets_test::AddFont("tip14", 11, 3, 0, 10, 0, 10);
        testing_support::WriteFile(dir + "tips.xml", MESSAGES);
        AddTemplate("ShopTipsTemplate", PANEL_TEMPLATE);
        AddTemplate("SpecialMessageTemplate", PANEL_TEMPLATE);
        AddReceiver("ShopTips");
        // The special panel's instance answers as "SpecialMessage".
        AddReceiver("ShopTipsScreen2").onMessage = [this](const std::string& message) {
            if (message == "create top instance") AddReceiver("SpecialMessage");
        };
        // The panel's instance as it stood when the screen was asked to create it.
        AddReceiver("ShopTipsScreen").onMessage = [this](const std::string& message) {
            if (message == "create top instance") panel = Copy("nemb-template");
        };
        // A player who may get tips: past level 2, a tip due, indicators all fine.
        PermanentStorage::SetLocalInt("LevelNumber", 3);
        PermanentStorage::SetLocalBool("Show next tip", true);
        PermanentStorage::SetLocalFloat("1 Fish indicator value", 50.0f);
        PermanentStorage::SetLocalFloat("1 Beauty indicator value", 50.0f);
        PermanentStorage::SetLocalFloat("1 Comfort indicator value", 50.0f);
        PermanentStorage::SetLocalFloat("Player in game time", 100.0f);
    }
    void TearDown() override {
        Render::fonts.ReleaseAll();
        AquariumTest::TearDown();
    }

    static std::string Copy(const std::string& name) {
        if (!TemplateLib::HasTemplate(name)) return std::string();
        const ObjectSmartPointer<XmlElement> copy = TemplateLib::CopyTemplate(name);
        copy->MarkVisitedTree();
        return copy->GetFirstChildElement("children")
            ->GetFirstChildElement("StaticTextControl")
            ->GetFirstChildElement("position")
            ->GetStringAttribute("y");
    }
    // Builds the control as the shop screen does and gives its lines.
    std::vector<std::string> Build(float pause = 2.0f) {
        tips = nullptr;
        container = nullptr;
        BuildScreen("<ShowTipsControl><position x=\"0\" y=\"0\"/><messageReceiver name=\"Tips\"/>"
                    "<messagesFile name=\"tips.xml\"/><options varShowTips=\"Show shop tips\" "
                    "varShowNext=\"Show next tip\" pauseBeforeShow=\"" +
                    std::to_string(pause) +
                    "\" x=\"40\" y=\"50\" textWidth=\"300\" visibleTime=\"4.0\"/></ShowTipsControl>");
        tips = MessageServer::GetReceiver("Tips").Cast<ShowTipsControl>();
        return tips->IsTipDue() ? tips->GetLines() : std::vector<std::string>();
    }
    std::vector<std::string> Again() {
        PermanentStorage::SetLocalBool("Show next tip", true);
        return Build();
    }

    ObjectWeakPointer<ShowTipsControl> tips;
    std::string panel;
};

using Lines = std::vector<std::string>;

TEST_F(ShopTipsTest, ATipIsDueOnlyPastLevelTwoWhenAskedForAndWanted) {
    struct Case {
        const char* name;
        std::function<void()> setUp;
        bool due;
    };
    const Case cases[] = {
        {"all set", [] {}, true},
        {"level 2", [] { PermanentStorage::SetLocalInt("LevelNumber", 2); }, false},
        {"no level", [] { PermanentStorage::UndefLocalName("LevelNumber"); }, false},
        {"tips off", [] { PermanentStorage::SetLocalBool("Show shop tips", false); }, false},
        {"tutorial", [] { PermanentStorage::SetLocalBool("Want tutorial", true); }, false},
        {"tutorial not wanted", [] { PermanentStorage::SetLocalBool("Want tutorial", false); }, true},
        {"not asked", [] { PermanentStorage::SetLocalBool("Show next tip", false); }, false},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        c.setUp();
        Build();
        EXPECT_EQ(c.due, tips->IsTipDue()) << c.name;
        EXPECT_FALSE(PermanentStorage::GetLocalBool("Show next tip")) << c.name;
    }
}

TEST_F(ShopTipsTest, TheOrderGoesOnWhereItStoodAndDoesNotStartAgain) {
    EXPECT_EQ((Lines{"First", "tip", "here"}), Build());
    for (int i = 0; i < 4; ++i) Frame(0.7f);
    EXPECT_EQ("welcome", PermanentStorage::GetLocalString("Current Tip"));
    EXPECT_EQ((Lines{"Second tip"}), Again());
    for (int i = 0; i < 4; ++i) Frame(0.7f);
    EXPECT_EQ("second", PermanentStorage::GetLocalString("Current Tip"));
    EXPECT_EQ(Lines{}, Again());
}

TEST_F(ShopTipsTest, TheSpecialTipComesFromTheSituation) {
    struct Case {
        const char* name;
        std::function<void()> setUp;
        Lines lines;
        const char* marker;  // the variable the choice sets, "" for none
    };
    const auto indicators = [](float fish, float beauty, float comfort) {
        // Ten minutes and one second since the last indicator tip.
        PermanentStorage::SetLocalFloat("Player in game time", 701.0f);
        PermanentStorage::SetLocalInt("Spam Time", 100);
        PermanentStorage::SetLocalFloat("1 Fish indicator value", fish);
        PermanentStorage::SetLocalFloat("1 Beauty indicator value", beauty);
        PermanentStorage::SetLocalFloat("1 Comfort indicator value", comfort);
    };
    const Case cases[] = {
        {"fish lags", [&] { indicators(10, 30, 25); }, {"More fish"}, ""},
        {"not below half", [&] { indicators(10, 30, 20); }, {"First", "tip", "here"}, ""},
        {"beauty lags", [&] { indicators(30, 10, 30); }, {"More plants"}, ""},
        {"comfort lags", [&] { indicators(30, 30, 10); }, {"More comfort"}, ""},
        {"first cup", [] { PermanentStorage::SetLocalString("1 Cup", "Bronze"); }, {"A cup"}, "tipFirstCup"},
        {"first lightning", [] { PermanentStorage::SetLocalInt("firstLigthning", 1); }, {"Lightning"}, ""},
        {"first lost level", [] { PermanentStorage::SetLocalInt("Levels lost", 1); }, {"Lost"}, "tipFirstLosing"},
        {"second cup",
         [] {
             PermanentStorage::SetLocalString("1 Cup", "Silver");
             PermanentStorage::SetLocalString("2 Cup", "None");
         },
         {"Two cups"},
         "tipTwoCup"},
        {"cup tip shown before",
         [] {
             PermanentStorage::SetLocalString("1 Cup", "Bronze");
             PermanentStorage::SetLocalBool("tipFirstCup", true);
         },
         {"First", "tip", "here"},
         ""},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        c.setUp();
        EXPECT_EQ(c.lines, Build()) << c.name;
        if (*c.marker) {
            EXPECT_TRUE(PermanentStorage::IsLocalNameDefined(c.marker)) << c.name;
        }
        const bool special = c.lines.size() == 1;
        EXPECT_EQ(special, PermanentStorage::IsLocalNameDefined("SpecialTips")) << c.name;
    }
    // The indicator rule moves the spam time on; the lightning tip is marked shown.
    TearDown();
    SetUp();
    indicators(10, 30, 25);
    Build();
    EXPECT_EQ(701, PermanentStorage::GetLocalInt("Spam Time"));
    PermanentStorage::SetLocalInt("firstLigthning", 1);
    Again();
    EXPECT_EQ(2, PermanentStorage::GetLocalInt("firstLigthning"));
}

TEST_F(ShopTipsTest, AnUnknownSpamTimeStartsAtTheCurrentPlayTime) {
    PermanentStorage::SetLocalFloat("Player in game time", 1234.5f);
    Build();
    EXPECT_EQ(1234, PermanentStorage::GetLocalInt("Spam Time"));
}

TEST_F(ShopTipsTest, ThePanelIsShownOnceWhenThePauseRunsOutAndPauseFreezesIt) {
    testing_support::LogCapture log;
    Build(1.0f);
    SendMessage("Tips", "Pause");
    Frame(5.0f);
    EXPECT_TRUE(TraceOf("ShopTips").empty());
    SendMessage("Tips", "Continue");
    Frame(0.5f);
    EXPECT_TRUE(TraceOf("ShopTips").empty());
    Frame(0.6f);
    // Three lines of a 14-pixel font: h = 28.
    EXPECT_EQ((std::vector<std::string>{
                  "ShopTipsScreen < template nemb-template", "ShopTipsScreen < defineText [height] 151",
                  "ShopTipsScreen < defineText [welcomeHeight] 141", "ShopTipsScreen < defineText [x] 40",
                  "ShopTipsScreen < defineText [y] 50",
                  "ShopTipsScreen < defineText [visibleTime] 4.000000e+000/0x40800000",
                  "ShopTipsScreen < defineText [parent] ShopTipsScreen", "ShopTipsScreen < create top instance"}),
              TraceOf("ShopTipsScreen <"));
    EXPECT_EQ("113", panel);
    EXPECT_EQ((std::vector<std::string>{"ShopTips < show"}), TraceOf("ShopTips <"));
    EXPECT_EQ((std::vector<std::string>{"tip_show"}), Played());
    EXPECT_FALSE(TemplateLib::HasTemplate("nemb-template"));
    EXPECT_FALSE(TemplateLib::HasTemplate("nemb-template-text"));
    Frame(5.0f);
    EXPECT_EQ(1u, TraceOf("ShopTips <").size());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(ShopTipsTest, ASpecialMessageIsShownUnlessOneIsOnScreen) {
    const char* xml = "<SpecialMessage messagesFileName=\"tips.xml\" textWidth=\"400\" x=\"10\" y=\"20\" visibleTime=\"3.0\"/>";
    ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(xml, xml + strlen(xml)));
    const SpecialMessageSettings settings(document->GetRoot());
    settings.Show("money", 5);
    EXPECT_EQ("ShopTipsScreen2 < defineText [y] 25", TraceOf("ShopTipsScreen2 < defineText [y]").at(0));
    EXPECT_EQ("ShopTipsScreen2 < defineText [parent] ShopTipsScreen2",
              TraceOf("ShopTipsScreen2 < defineText [parent]").at(0));
    EXPECT_EQ((std::vector<std::string>{"tip_show"}), Played());
    EXPECT_FALSE(TemplateLib::HasTemplate("nemb-template"));
    settings.Show("money", 5);
    EXPECT_EQ(1u, TraceOf("ShopTipsScreen2 < create").size());
    EXPECT_EQ(1u, TraceOf("SpecialMessage <").size());
}

}  // namespace
