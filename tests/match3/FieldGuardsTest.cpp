// The game field's guards against bad values and missing content: the level time from the
// script, a press while the field appears, hint requests it cannot show and a hint template that
// never pauses the field.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "shell/RenderDeviceFonts.h"
#include "tests/match3/FieldTestSupport.h"
#include "tests/shell/ScriptTestSupport.h"
#include "tests/support/TestSupport.h"

namespace field_test {
namespace {

using testing_support::LogCapture;

bool Contains(const std::vector<std::string>& list, const std::string& text) {
    return std::find(list.begin(), list.end(), text) != list.end();
}

int Occurrences(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

class FieldGuardsTest : public FieldTest {
protected:
    void TearDown() override {
        // The script state lives on in this process: later tests find no level time there.
        if (ScriptMap::state != nullptr) script_test::RunLua("LevelTime, TimeBonusK, ScoreBonusK = nil, nil, nil");
        FieldTest::TearDown();
    }
};

TEST_F(FieldGuardsTest, AUselessLevelTimeFallsBackToTheFilesTimeAndAtLeastASecond) {
    WriteLevels("<Levels><Level id=\"Thirty\" time=\"30\"><Line>AAA</Line><Line>ddd</Line><Line>aaa</Line></Level>"
                "<Level id=\"None\" time=\"0\"><Line>AAA</Line><Line>ddd</Line><Line>aaa</Line></Level></Levels>");
    ASSERT_EQ("", script_test::RunLua("function TimeBonusK(t) return 0.5 end function ScoreBonusK(t) return 0.02 end"));
    MakeField();
    const struct {
        const char* level;
        const char* script;  // the body of LevelTime(t)
        int time;
        int errors;
    } cases[] = {
        {"Thirty", "return t * 2", 60, 0},
        {"Thirty", "return 0", 30, 0},
        {"Thirty", "return -5", 30, 0},
        {"Thirty", "return 0.5", 30, 0},  // a fraction of a second is no time
        {"Thirty", "return 'long'", 30, 1},
        {"Thirty", "error('broken')", 30, 1},
        {"None", "return 0", 1, 0},
        {"None", "return -1", 1, 0},
    };
    for (const auto& c : cases) {
        ASSERT_EQ("", script_test::RunLua(std::string("function LevelTime(t) ") + c.script + " end"));
        LogCapture log;
        std::string name = c.level;
        ASSERT_TRUE(field->LoadLevel(name)) << c.script;
        EXPECT_EQ(c.time, field->GetLevelTime()) << c.level << ": " << c.script;
        EXPECT_FLOAT_EQ(static_cast<float>(c.time), field->GetTimeLeft()) << c.level << ": " << c.script;
        EXPECT_EQ(c.errors, log.ErrorCount()) << c.script << "\n" << log.Text();
    }
}

TEST_F(FieldGuardsTest, APressWhileTheFieldAppearsFinishesTheAppearanceFirst) {
    MakeField();
    std::string name = "Two";
    ASSERT_TRUE(field->LoadLevel(name));
    field->Update(0.1f);
    ASSERT_FALSE(field->IsFieldShown());  // the shine runs for a second
    Press(CellPoint(1, 1));
    Release();
    EXPECT_TRUE(field->IsFieldShown());
    EXPECT_FALSE(field->IsWaitingFirstClick());
    EXPECT_EQ(1u, field->Board().Selection().size());

    // A paused field never appears: the finishing loop gives up instead of spinning.
    ASSERT_TRUE(field->LoadLevel(name));
    SendMessage("GameField", "Pause");
    field->FinishAppearance();
    EXPECT_FALSE(field->IsFieldShown());
    SendMessage("GameField", "Continue");
    field->FinishAppearance();
    EXPECT_TRUE(field->IsFieldShown());
}

TEST_F(FieldGuardsTest, DeveloperKeysOnlyWhileDevIsTrue) {
    MakeField();
    Load("Two");
    const int paints = field->Board().GetAllPaints();
    ASSERT_GT(paints, 0);
    PermanentStorage::SetGlobalBool("dev", false);
    Key(0x54);  // t: clears every paint
    Run(0.1f, 5);
    EXPECT_EQ(paints, field->Board().GetAllPaints());
    EXPECT_FALSE(Contains(Sent("Statistics modal dialog"), "instantiate ZovFieldStatisticTemplate"));
    PermanentStorage::SetGlobalBool("dev", true);
    Key(0x54);
    Run(0.1f, 5);
    EXPECT_TRUE(Contains(Sent("Statistics modal dialog"), "instantiate ZovFieldStatisticTemplate"));
}

// A hint that cannot be shown is reported once, not at every request (the move hint asks for
// "first" at every frame) nor again at the next level (the log keeps one entry per fault and place).
TEST_F(FieldGuardsTest, HintsThatCannotBeShownAreReportedOnce) {
    MakeField();
    Load("Two");
    const struct {
        const char* name;
        const char* report;
    } cases[] = {{"missing", "Hint 'missing' not found"}, {"empty", "Hint 'empty' has no text"}};
    for (const auto& c : cases) {
        LogCapture log;
        trace.clear();
        for (int i = 0; i < 3; ++i) EXPECT_FALSE(field->ShowHint(10, 300, c.name, 0, 0, 0.0f));
        EXPECT_EQ(1, Occurrences(log.Text(), c.report)) << log.Text();
        EXPECT_TRUE(Sent("GameFieldScreen").empty());
        EXPECT_FALSE(PermanentStorage::GetLocalBoolOrDef(std::string(c.name) + "_hint", false));
        Load("Two");
        EXPECT_FALSE(field->ShowHint(10, 300, c.name, 0, 0, 0.0f));
        EXPECT_EQ(1, Occurrences(log.Text(), c.report)) << log.Text();
    }
}

// A box stands on y 300 and grows upwards: a text longer than the screen above it can hold is cut
// to the lines that fit, with one report for the file; a text of megabytes is not even wrapped whole.
TEST_F(FieldGuardsTest, AHintTextLongerThanItsBoxIsCutWithOneReport) {
    EXPECT_EQ(9, FieldHintMessage::MaxHintLines(20));
    EXPECT_EQ(1, FieldHintMessage::MaxHintLines(500));
    EXPECT_EQ(8, FieldHintMessage::MaxHintLines(0));
    std::string words;
    while (words.size() < 1000000) words += "Swap two pieces. ";
    testing_support::WriteFile(dir + "local/FieldHints.xml", "<FieldHints><first>" + words + "</first><long>" +
                                                                 words.substr(0, 2000) + "</long><clear>Clear it</clear></FieldHints>");
    LogCapture log;
    MakeField();
    const int lines = FieldHintMessage::MaxHintLines(Render::fonts.GetFontHeight("white_text_14"));
    EXPECT_EQ(static_cast<std::size_t>(lines), field->GetHints().at("first").size());
    EXPECT_EQ(static_cast<std::size_t>(lines), field->GetHints().at("long").size());
    EXPECT_EQ(1u, field->GetHints().at("clear").size());
    EXPECT_EQ(1, Occurrences(log.Text(), "longer than a box can show")) << log.Text();
    EXPECT_TRUE(log.Contains("2 hint texts longer than a box can show (" + std::to_string(lines) +
                             " lines) cut; the first: first (")) << log.Text();
    // The next field uses the reading of the unchanged file again; a changed file is read anew.
    MakeField();
    EXPECT_EQ(1, Occurrences(log.Text(), "longer than a box can show")) << log.Text();
    EXPECT_EQ(static_cast<std::size_t>(lines), field->GetHints().at("first").size());
    testing_support::WriteFile(dir + "local/FieldHints.xml", "<FieldHints><first>Swap them</first></FieldHints>");
    MakeField();
    EXPECT_EQ(1u, field->GetHints().at("first").size());
    EXPECT_EQ(0u, field->GetHints().count("long"));
}

TEST_F(FieldGuardsTest, AHintBoxThatNeverPausesTheFieldLeavesItPlaying) {
    // The test's hint template sends neither "Pause hint" nor "Continue hint".
    MakeField();
    Load("Two");
    ASSERT_TRUE(field->ShowHint(10, 300, "clear", 0, 0, 0.0f));
    EXPECT_FALSE(field->IsPaused());
    EXPECT_FALSE(field->IsHintOpen());
    Press(CellPoint(1, 1));
    Release();
    EXPECT_FALSE(field->IsWaitingFirstClick());
    Run(0.1f, 10);
    EXPECT_NEAR(99.0f, field->GetTimeLeft(), 0.01f);
    // A later hint replaces the box instead of waiting for it to close.
    trace.clear();
    EXPECT_TRUE(field->ShowHint(10, 300, "first", 0, 0, 0.0f));
    EXPECT_EQ("clear children list", Sent("GameFieldScreen").front());
}

// Costs and constants outside what the field can work with are reported once each when the field is
// made and replaced: costs count 0, constants keep their defaults. No sum of scores or money wraps.
TEST_F(FieldGuardsTest, CostsAndConstantsOutsideTheirRangesAreReportedAndReplaced) {
    testing_support::WriteFile(dir + "GameplayCost.xml",
                               "<GameplayCost><paintScores clearMatch3=\"-1000000000\" clearMatch4=\"1e30\" lock=\"abc\" "
                               "silver=\"-2.5\" golden=\"25\" krugMoneyAddon=\"nan\" doubleLock=\"50\"/></GameplayCost>");
    testing_support::WriteFile(dir + "ini.xml",
                               "<ini GRAVITY=\"-5\" HIDE_TIME=\"0\" ONE_EXPLOID_TIME=\"1e-30\" CHANGE_CELL_D=\"1e9\" "
                               "TO_LIGHNING_ENOUGH=\"-3\" CYCLE_LEVEL=\"7\" SOFT=\"0.2\"/>");
    LogCapture log;
    MakeField();
    for (const char* name : {"clearMatch3 = \"-1000000000\"", "clearMatch4 = \"1e30\"", "lock = \"abc\"",
                             "silver = \"-2.5\"", "krugMoneyAddon = \"nan\"", "GRAVITY = \"-5\"", "HIDE_TIME = \"0\"",
                             "ONE_EXPLOID_TIME = \"1e-30\"", "CHANGE_CELL_D = \"1e9\"", "TO_LIGHNING_ENOUGH = \"-3\""}) {
        EXPECT_TRUE(log.Contains(name)) << name << "\n" << log.Text();
    }
    const GameBoard& b = field->Board();
    EXPECT_EQ(0.0f, b.Cost("clearMatch3"));
    EXPECT_EQ(0.0f, b.Cost("silver"));
    EXPECT_EQ(25.0f, b.Cost("golden"));
    EXPECT_EQ(50.0f, b.Cost("doubleLock"));
    EXPECT_EQ(1200.0f, field->Board().Tuning().GRAVITY);
    EXPECT_EQ(0.3f, field->Board().Tuning().HIDE_TIME);
    EXPECT_EQ(0.1f, field->Board().Tuning().ONE_EXPLOID_TIME);
    EXPECT_EQ(10, field->Board().Tuning().TO_LIGHNING_ENOUGH);
    EXPECT_EQ(8.0f, field->Tuning().CHANGE_CELL_D);
    EXPECT_EQ(7, field->Tuning().CYCLE_LEVEL);
    EXPECT_EQ(0.2f, field->Board().Tuning().SOFT);
    // Matches of the refused cost score nothing; the level's score never goes below 0.
    Load("One");
    Paint({"111231", "231231", "312312", "123123", "231231", "312312"});
    field->Board().FindAndClearMatches();
    EXPECT_EQ(0, field->Board().LevelScore().GetRealScore());
}

// A pointer dragged far from the field, even to the ends of the int range, is pulled back to one
// cell from the press like any drag: straight out it swaps with that neighbour, aslant with none.
TEST_F(FieldGuardsTest, AFarPointerIsPulledBackLikeAnyDrag) {
    MakeField();
    Load("One");
    Paint({"123123", "231231", "312312", "123123", "231231", "312312"});
    const Point cell = CellPoint(2, 2);
    const struct {
        Point to;
        bool swaps;
        BoardPoint partner;
    } cases[] = {
        {Point(cell.x + 46341, cell.y), true, {3, 2}},
        {Point(cell.x, cell.y - 46341), true, {2, 3}},
        {Point(-2000000000, 2000000000), false, {}},
        {Point(2147483647, -2147483647), false, {}},
    };
    for (const auto& c : cases) {
        Press(cell);
        Move(c.to, captured);
        Release();
        std::vector<BoardPoint>& selection = field->Board().Selection();
        EXPECT_EQ(c.swaps ? 2u : 1u, selection.size()) << c.to.x << ", " << c.to.y;
        if (c.swaps && selection.size() == 2) {
            EXPECT_EQ(c.partner, selection[1]);
        }
        Run(0.1f, 10);  // swapped back: no line
        if (selection.size() == 1) {
            Press(cell);  // the second press drops the selection
            Release();
        }
        EXPECT_TRUE(selection.empty());
        // A press out there selects nothing.
        Press(c.to);
        Release();
        EXPECT_TRUE(selection.empty());
    }
    EXPECT_EQ(2, field->Board().Cell(2, 2)._color);  // as painted: every swap went back
}

// Level files the field cannot use: the error box names the file and its line, the field sends the
// player back to the menu, and neither the field nor the player's values change.
TEST_F(FieldGuardsTest, ALevelThatCannotBeUsedSendsThePlayerBackToTheMenuUntouched) {
    receivers.push_back(std::make_unique<TraceReceiver>("Menu", trace));
    const std::string good = "<Levels>\r\n<Level id=\"A\" time=\"30\">\r\n<Line>AAA</Line>\r\n<Line>ddd</Line>\r\n"
                             "<Line>aaa</Line>\r\n</Level>\r\n</Levels>\r\n";
    std::string high;
    for (int i = 0; i < 14; ++i) high += "<Line>aaa</Line>";
    const struct {
        const char* what;
        std::string levels;
        std::string chipSets;
        const char* told;
    } cases[] = {
        {"lines of unequal length", "<Levels>\r\n<Level id=\"A\" time=\"30\">\r\n<Line>AAA</Line>\r\n<Line>dd</Line>\r\n</Level>\r\n</Levels>",
         "", "File PlLevels.xml error! PlLevels.xml, line 4: level \"A\": level line 2 has 2 cells, the first has 3"},
        {"16 columns", "<Levels><Level id=\"A\" time=\"30\"><Line>" + std::string(16, 'A') + "</Line></Level></Levels>", "",
         "PlLevels.xml, line 1: level \"A\": the level is larger than 15 x 13: 16 x 1"},
        {"14 rows", "<Levels><Level id=\"A\" time=\"30\">" + high + "</Level></Levels>", "",
         "the level is larger than 15 x 13: 3 x 14"},
        {"a truncated file", good.substr(0, good.size() - 20), "", "PlLevels.xml, line 6: the file is broken"},
        {"no level", "<Levels/>", "", "PlLevels.xml: the file holds no level"},
        {"no usable chip set", good, "<ChipSets>\r\n<set chips=\"01\"/>\r\n</ChipSets>",
         "File ChipSets.xml error! ChipSets.xml, line 2: no usable chip set (refused, fewer than 3 colours"},
    };
    for (const auto& c : cases) {
        WriteLevels(c.levels);
        if (!c.chipSets.empty()) WriteChipSets(c.chipSets);
        ASSERT_TRUE(PermanentStorage::Save());
        const std::string before = testing_support::ReadFile(PermanentStorage::GetFileName());
        trace.clear();
        LogCapture log;
        MakeField("", "<toMenu receiver=\"Menu\" message=\"back\"/>");
        EXPECT_TRUE(field->IsLevelBroken()) << c.what;
        EXPECT_EQ(std::vector<std::string>{"back"}, Sent("Menu")) << c.what;
        EXPECT_TRUE(log.Contains(c.told)) << c.what << "\n" << log.Text();
        // Nothing runs, draws or takes input; the level is not stored on the way out.
        Run(0.1f, 5);
        Press(Point(400, 300));
        Release();
        field->Draw();
        field = ObjectSmartPointer<ZovGameFieldControl>();
        ASSERT_TRUE(PermanentStorage::Save());
        EXPECT_EQ(before, testing_support::ReadFile(PermanentStorage::GetFileName())) << c.what;
        WriteChipSets("<ChipSets><set chips=\"123\"/></ChipSets>");
    }
    // A level that is only missing falls back to the first one.
    WriteLevels(good);
    PermanentStorage::SetLocalXml("Game field", ObjectSmartPointer<XmlElement>(new XmlElement("Field")));
    PermanentStorage::GetLocalXml("Game field")->AppendChild(ObjectSmartPointer<XmlElement>(new XmlElement("level")));
    PermanentStorage::GetLocalXml("Game field")->GetFirstChildElement("level")->SetStringAttribute("name", "Gone");
    trace.clear();
    MakeField("", "<toMenu receiver=\"Menu\" message=\"back\"/>");
    EXPECT_FALSE(field->IsLevelBroken());
    EXPECT_EQ("A", field->GetLevelName());
    EXPECT_TRUE(Sent("Menu").empty());
}

TEST_F(FieldGuardsTest, AnUnknownCellLetterPlaysAsAPlainCellAndIsReportedOncePerLoad) {
    WriteLevels("<Levels>\r\n<Level id=\"A\" time=\"30\">\r\n<Line>AAA</Line>\r\n<Line>dxd</Line>\r\n"
                "<Line>a?a</Line>\r\n</Level>\r\n</Levels>");
    LogCapture log;
    MakeField();
    EXPECT_FALSE(field->IsLevelBroken());
    EXPECT_EQ(1, Occurrences(log.Text(), "unknown cell letter")) << log.Text();
    EXPECT_TRUE(log.Contains("false (PlLevels.xml, line 4: level \"A\": level line 2 has the unknown cell letter 'x' "
                             "in column 2; 2 letter(s) outside the cell table play as plain cells)"))
        << log.Text();
    const FieldCell& cell = field->Board().Cell(1, 1);
    EXPECT_GE(cell._color, 0);
    EXPECT_EQ(0, cell._locks);
    EXPECT_EQ(0, cell._painted);
    EXPECT_EQ(2, field->Board().GetAllPaints());
    Run(0.1f, 30);
    EXPECT_EQ(1, Occurrences(log.Text(), "unknown cell letter")) << log.Text();
}

}  // namespace
}  // namespace field_test
