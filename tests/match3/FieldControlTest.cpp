// The game field control: level files, swaps and their resolution, input rules, the frame's
// clocks, the level's end, messages and hints.
#include <gtest/gtest.h>

#include "content/TemplateLib.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "core/XmlElement.h"
#include "tests/match3/FieldTestSupport.h"

namespace field_test {
namespace {

bool Contains(const std::vector<std::string>& list, const std::string& text) {
    return std::find(list.begin(), list.end(), text) != list.end();
}

// Level files.

TEST_F(FieldTest, TheThreeByTwoExampleLevel) {
    WriteLevels("<Levels><Level id=\"Ex\" time=\"30\"><Line>aA0</Line><Line>dgb</Line></Level></Levels>");
    MakeField();
    std::string name;
    ASSERT_TRUE(field->LoadLevel(name));
    EXPECT_EQ("Ex", name);
    GameBoard& b = field->Board();
    EXPECT_EQ(3, b.GetSizeX());
    EXPECT_EQ(2, b.GetSizeY());
    EXPECT_EQ(EMPTY_CELL, b.Cell(0, 0)._color);
    EXPECT_TRUE(b.Cell(1, 0)._born);
    EXPECT_GE(b.Cell(1, 0)._color, 0);
    EXPECT_EQ(NO_CELL, b.Cell(2, 0)._color);
    EXPECT_EQ(1, b.Cell(0, 1)._painted);
    EXPECT_EQ(2, b.Cell(1, 1)._painted);
    EXPECT_EQ(1, b.Cell(2, 1)._locks);
    for (int x = 0; x < 3; ++x) EXPECT_GE(b.Cell(x, 1)._color, 0);
    EXPECT_EQ(2, b.GetAllPaints());
    EXPECT_EQ(2, b.GetSilverCount());
    EXPECT_EQ(1, b.GetGoldenCount());
    EXPECT_EQ("x2", PermanentStorage::GetLocalString("silverCount"));
    EXPECT_EQ("x1", PermanentStorage::GetLocalString("goldenCount"));
    EXPECT_EQ(1, PermanentStorage::GetLocalInt("LevelFileOrder"));
    EXPECT_EQ(30, PermanentStorage::GetLocalInt("LevelFileTime"));
    // Without a script the file's time holds.
    EXPECT_EQ(30, field->GetLevelTime());
}

TEST_F(FieldTest, AnUnknownLevelChangesNothing) {
    MakeField();
    Load("Two");
    std::string name = "Nowhere";
    EXPECT_FALSE(field->LoadLevel(name));
    EXPECT_EQ("Two", field->GetLevelName());
    EXPECT_EQ(3, field->Board().GetSizeX());
}

TEST_F(FieldTest, ChipSetsWithoutSetsFailTheLoad) {
    WriteChipSets("<ChipSets/>");
    MakeField();
    std::string name = "One";
    EXPECT_FALSE(field->LoadLevel(name));
    EXPECT_EQ(0, field->Board().GetSizeX());
}

TEST_F(FieldTest, TwoChipSetsCycleOverThreeLoads) {
    WriteChipSets("<ChipSets><set chips=\"123\"/><set chips=\"456\"/></ChipSets>");
    MakeField();  // the first load
    const std::vector<int> first = field->Board().GetChips();
    std::string name = "Two";
    ASSERT_TRUE(field->LoadLevel(name));
    EXPECT_NE(first, field->Board().GetChips());
    EXPECT_TRUE(field->GetChipSetList().empty());
    // The third load starts a new cycle and leaves one set for the fourth.
    ASSERT_TRUE(field->LoadLevel(name));
    EXPECT_EQ(1u, field->GetChipSetList().size());
    ObjectWeakPointer<XmlElement> sets = PermanentStorage::GetLocalXml("ChipSets");
    int left = 0;
    for (ObjectWeakPointer<XmlElement> s = sets->GetFirstChildElement("set"); s != NULL; s = s->GetNextElement("set")) ++left;
    EXPECT_EQ(1, left);
}

TEST_F(FieldTest, NextLevelNameWrapsToTheCycleLevelAndCountsALap) {
    testing_support::WriteFile(dir + "ini.xml", "<ini CYCLE_LEVEL=\"2\"/>");
    MakeField();
    EXPECT_EQ("Two", field->NextLevelName("One"));
    EXPECT_EQ(1, PermanentStorage::GetLocalInt("Lap Number"));
    EXPECT_EQ("Two", field->NextLevelName("Three"));
    EXPECT_EQ(2, PermanentStorage::GetLocalInt("Lap Number"));
    EXPECT_EQ("One", field->NextLevelName("Missing"));
    EXPECT_EQ(2, PermanentStorage::GetLocalInt("Lap Number"));
    // A cycle level beyond the file is clamped to its last level.
    field->Tuning().CYCLE_LEVEL = 40;
    EXPECT_EQ("Three", field->NextLevelName("Three"));
    field->Tuning().CYCLE_LEVEL = 0;
    EXPECT_EQ("One", field->NextLevelName("Three"));
}

TEST_F(FieldTest, LevelIdsAndDeleteLevel) {
    MakeField();
    EXPECT_EQ((std::vector<std::string>{"One", "Two", "Three"}), field->LevelIds());
    field->DeleteLevel("Two");
    EXPECT_EQ((std::vector<std::string>{"One", "Three"}), field->LevelIds());
    field->DeleteLevel("Two");
    EXPECT_EQ((std::vector<std::string>{"One", "Three"}), field->LevelIds());
}

TEST_F(FieldTest, LockedLevelQueuesTheDoubleLockHintOnly) {
    WriteLevels("<Levels><Level id=\"L\" time=\"30\"><Line>AAA</Line><Line>dcb</Line><Line>aaa</Line></Level></Levels>");
    MakeField();
    Load("L");
    Run(0.5f, 12);
    EXPECT_FALSE(Contains(Sent("GameFieldScreen"), "template nemb-template"));
}

// Swaps and their resolution.

class SwapTest : public FieldTest {
protected:
    void SetUp() override {
        FieldTest::SetUp();
        MakeField();
        Load("One");
        Press(CellPoint(0, 0));  // the first press starts the timer
        Release();
        field->Board().Selection().clear();
    }
    // Presses a, drags to its neighbour b and lets the pieces settle.
    void Swap(int ax, int ay, int bx, int by) {
        const Point a = CellPoint(ax, ay);
        Press(a);
        Move(Point(a.x + (bx - ax) * 20, a.y - (by - ay) * 20), captured);
        Release();
    }
};

TEST_F(SwapTest, APlainSwapWithoutAMatchSwapsBack) {
    Paint({"123123", "231231", "312312", "123123", "231231", "312312"});
    Swap(0, 0, 1, 0);
    EXPECT_EQ(2u, field->Board().Selection().size());
    Run(0.05f, 20);
    EXPECT_TRUE(field->Board().Selection().empty());
    Run(0.05f, 20);
    EXPECT_EQ(1, field->Board().Cell(0, 0)._color);
    EXPECT_EQ(2, field->Board().Cell(1, 0)._color);
}

TEST_F(SwapTest, ALightningWithAPlainPieceStrikesItsColour) {
    Paint({"L21231", "231231", "312312", "123123", "231231", "312312"});
    Played();
    Swap(0, 0, 1, 0);
    Run(0.05f, 6);
    EXPECT_NE(LIGHTNING, field->Board().Cell(0, 0)._bonus);
    EXPECT_NE(LIGHTNING, field->Board().Cell(1, 0)._bonus);
    EXPECT_TRUE(Contains(Played(), "play lightning"));
    Run(0.1f, 20);
    EXPECT_GT(field->Board().LevelScore().GetRealScore(), 0);
}

TEST_F(SwapTest, ABombIsNeverSwappedBack) {
    Paint({"B21231", "231231", "312312", "123123", "231231", "312312"});
    Played();
    Swap(0, 0, 1, 0);
    Run(0.05f, 6);
    const std::vector<std::string> sounds = Played();
    EXPECT_TRUE(Contains(sounds, "play bomb2"));
    EXPECT_FALSE(Contains(sounds, "play item_wrong"));
}

// The cell selected first decides: after the swap it holds the partner's piece.
TEST_F(SwapTest, ABombDraggedOntoALightningSetsOffTheBombThenTheLightning) {
    Paint({"BL1231", "231231", "312312", "123123", "231231", "312312"});
    Played();
    Swap(0, 0, 1, 0);
    Run(0.05f, 6);
    std::vector<std::string> sounds = Played();
    sounds.erase(std::remove_if(sounds.begin(), sounds.end(),
                                [](const std::string& s) { return s != "play bomb2" && s != "play lightning"; }),
                 sounds.end());
    ASSERT_GE(sounds.size(), 2u);
    EXPECT_EQ("play bomb2", sounds[0]);
    EXPECT_EQ("play lightning", sounds[1]);
}

TEST_F(SwapTest, ALightningDraggedOntoABombSetsTheBombOff) {
    Paint({"LB1231", "231231", "312312", "123123", "231231", "312312"});
    Played();
    Swap(0, 0, 1, 0);
    Run(0.05f, 6);
    const std::vector<std::string> played = Played();
    EXPECT_TRUE(Contains(played, "play bomb2"));
    EXPECT_FALSE(Contains(played, "play item_wrong"));
}

// Input rules.

TEST_F(SwapTest, ADragOfSevenUnitsDoesNothingAndEightSwaps) {
    Paint({"123123", "231231", "312312", "123123", "231231", "312312"});
    const Point a = CellPoint(2, 2);
    Press(a);
    Move(Point(a.x + 7, a.y), captured);
    EXPECT_EQ(1u, field->Board().Selection().size());
    Move(Point(a.x + 8, a.y), captured);
    EXPECT_EQ(2u, field->Board().Selection().size());
    Release();
}

TEST_F(SwapTest, ADiagonalDragMakesNoSwap) {
    Paint({"123123", "231231", "312312", "123123", "231231", "312312"});
    const Point a = CellPoint(2, 2);
    Press(a);
    Move(Point(a.x + 40, a.y - 40), captured);
    EXPECT_EQ(1u, field->Board().Selection().size());
    Release();
}

TEST_F(SwapTest, LockedEmptyHoleAndFallingCellsCannotBeSelected) {
    Paint({"123123", "2.#231", "312312", "123123", "231231", "312312"});
    field->Board().Cell(3, 1)._locks = 1;
    field->Pieces().StartMove(4, 1, PieceMove{0, 0, 0, 100, 1, 1, 5.0f, 0, 0, 0, 0});
    for (int x : {1, 2, 3, 4}) {
        EXPECT_FALSE(field->SelectCell(x, 1)) << x;
        EXPECT_TRUE(field->Board().Selection().empty()) << x;
    }
    EXPECT_TRUE(field->SelectCell(0, 1));
}

TEST_F(SwapTest, SelectingAgainDropsTheSelectionAndAFarCellMovesIt) {
    Paint({"123123", "231231", "312312", "123123", "231231", "312312"});
    EXPECT_TRUE(field->SelectCell(2, 2));
    EXPECT_FALSE(field->SelectCell(2, 2));
    EXPECT_TRUE(field->Board().Selection().empty());
    EXPECT_TRUE(field->SelectCell(2, 2));
    EXPECT_TRUE(field->SelectCell(4, 2));
    ASSERT_EQ(1u, field->Board().Selection().size());
    EXPECT_EQ(4, field->Board().Selection()[0].x);
}

// The frame's clocks.

TEST_F(FieldTest, ALongFrameMovesThePiecesOnlyATenthButTheAfterWinTimerFully) {
    MakeField();
    Load("Two");
    Press(CellPoint(0, 0));
    Release();
    const float before = field->GetPieceClock();
    field->Update(0.5f);
    EXPECT_FLOAT_EQ(0.1f, field->GetPieceClock() - before);
    Key(0x54);  // the developer key that clears every paint
    Run(0.1f, 5);
    ASSERT_GT(field->GetAfterWinTime(), 0.0f);
    const float win = field->GetAfterWinTime();
    field->Update(0.5f);
    EXPECT_FLOAT_EQ(0.5f, field->GetAfterWinTime() - win);
}

TEST_F(FieldTest, TheTimerWaitsForTheFirstPress) {
    MakeField();
    Load("Two");
    Run(0.1f, 20);
    EXPECT_TRUE(field->IsWaitingFirstClick());
    EXPECT_FLOAT_EQ(100.0f, field->GetTimeLeft());
    Press(CellPoint(1, 1));
    Release();
    EXPECT_FALSE(field->IsWaitingFirstClick());
    Run(0.1f, 10);
    EXPECT_NEAR(99.0f, field->GetTimeLeft(), 0.01f);
}

TEST_F(FieldTest, HurryUpStartsOnceBelowAFifthOfTheTime) {
    WriteLevels("<Levels><Level id=\"T\" time=\"10\"><Line>AAA</Line><Line>ddd</Line><Line>aaa</Line></Level></Levels>");
    MakeField();
    Load("T");
    Press(CellPoint(1, 2));
    Release();
    Run(0.1f, 79);  // 2.1 s of 10 left
    EXPECT_FALSE(field->IsHurryShown());
    Run(0.1f, 2);
    EXPECT_TRUE(field->IsHurryShown());
    Run(0.1f, 5);
    const std::vector<std::string> sent = Sent("FieldHurryUpScreen");
    EXPECT_EQ(1, std::count(sent.begin(), sent.end(), "template HurryUpTemplate"));
}

// The level's end.

TEST_F(FieldTest, TheMoneyExampleOfAWin) {
    WriteLevels("<Levels><Level id=\"M\" time=\"100\"><Line>AAAA</Line><Line>ddgg</Line><Line>dda0</Line></Level></Levels>");
    MakeField();
    Load("M");
    Press(CellPoint(0, 0));
    Release();
    PermanentStorage::SetLocalInt("Money", 7);
    Key(0x54);
    Run(0.1f, 5);
    EXPECT_NEAR(114.545f / 6.0f, PermanentStorage::GetLocalFloat("silverCountMul"), 0.01f);
    EXPECT_NEAR(95.455f / 2.0f, PermanentStorage::GetLocalFloat("goldenCountMul"), 0.01f);
    EXPECT_GT(PermanentStorage::GetLocalInt("Money"), 7);
    EXPECT_EQ(2, PermanentStorage::GetLocalInt("LevelNumber"));
    EXPECT_EQ(0, PermanentStorage::GetLocalInt("Levels lost"));
    EXPECT_TRUE(Contains(Sent("Statistics modal dialog"), "instantiate ZovFieldStatisticTemplate"));
    EXPECT_EQ(0, field->GetLevelTime());
}

TEST_F(FieldTest, ATimeOutLeavesTheMoneyShowsNoneWonAndClearsTheHurryUpSign) {
    WriteLevels("<Levels><Level id=\"T\" time=\"2\"><Line>AAA</Line><Line>ddd</Line><Line>aaa</Line></Level></Levels>");
    MakeField();
    Load("T");
    PermanentStorage::SetLocalInt("Money", 7);
    PermanentStorage::SetLocalInt("levelScore", 5);
    Press(CellPoint(1, 2));
    Release();
    Run(0.1f, 18);
    PermanentStorage::SetLocalString("FieldMoney", "$12");
    Run(0.1f, 7);
    EXPECT_EQ("0", PermanentStorage::GetLocalString("FieldMoney"));  // no money affixes here
    const std::vector<std::string> hurry = Sent("FieldHurryUpScreen");
    ASSERT_FALSE(hurry.empty());
    EXPECT_EQ("clear children list", hurry.back());
    EXPECT_EQ(7, PermanentStorage::GetLocalInt("Money"));
    EXPECT_EQ(1, PermanentStorage::GetLocalInt("Levels lost"));
    EXPECT_EQ(0, PermanentStorage::GetLocalInt("levelScore"));
    EXPECT_EQ(0, PermanentStorage::GetLocalInt("levelMoney"));
    EXPECT_TRUE(Contains(Sent("Game field modal dialog"), "instantiate OutOfTimeDialogTemplate"));
    EXPECT_EQ(0, field->GetLevelTime());
}

// Messages.

TEST_F(FieldTest, MessagesInTheirOrder) {
    MakeField();
    Load("One");
    SendMessage("GameField", "Pause hint");
    EXPECT_TRUE(field->IsPaused());
    EXPECT_TRUE(field->IsHintOpen());
    SendMessage("GameField", "Continue hint");
    EXPECT_FALSE(field->IsPaused());
    EXPECT_FALSE(field->IsHintOpen());
    SendMessage("GameField", "Pause");
    EXPECT_TRUE(field->IsPaused());
    EXPECT_FALSE(field->IsHintOpen());
    SendMessage("GameField", "Continue");
    EXPECT_FALSE(field->IsPaused());

    SendMessage("GameField", "Set timer 0.5");
    EXPECT_FLOAT_EQ(0.5f, field->Timer()->GetProgress());
    SendMessage("GameField", "Set timer shine on");
    EXPECT_TRUE(field->Timer()->shining);
    SendMessage("GameField", "Set timer shine off");
    EXPECT_FALSE(field->Timer()->shining);
    EXPECT_FLOAT_EQ(0.75f, field->Timer()->shineTime);

    const int paints = field->Board().GetAllPaints();
    SendMessage("GameField", "Clear cell 3,3");
    EXPECT_EQ(paints - 1, field->Board().GetAllPaints());
    SendMessage("GameField", "Clear cell 30,40");
    SendMessage("GameField", "Clear cell -1,2");
    EXPECT_EQ(paints - 1, field->Board().GetAllPaints());

    SendMessage("GameField", "Reshufle");
    EXPECT_TRUE(Contains(Sent("fieldReminder"), "set message ContinueTimer"));
    field->Board().SetTimerStopped(true);
    SendMessage("GameField", "ContinueTimer");
    EXPECT_FALSE(field->Board().IsTimerStopped());

    SendMessage("GameField", "Lose money ok");
    EXPECT_TRUE(Contains(Sent("Game field modal dialog"), "hide"));
    EXPECT_TRUE(Contains(Sent("Exit"), "exit"));
}

TEST_F(FieldTest, TheDoubleHintOnALevelWithoutGoldDoesNothing) {
    MakeField();
    Load("Two");
    trace.clear();
    SendMessage("GameField", "double_hint");
    Run(0.5f, 6);
    EXPECT_TRUE(Sent("GameFieldScreen").empty());
}

TEST_F(FieldTest, RestartReloadsTheLevelWithAFreshTimer) {
    MakeField();
    Load("Two");
    Press(CellPoint(1, 1));
    Release();
    Run(0.1f, 10);
    SendMessage("GameField", "Restart");
    EXPECT_TRUE(field->IsWaitingFirstClick());
    EXPECT_FLOAT_EQ(100.0f, field->GetTimeLeft());
    EXPECT_EQ("Two", field->GetLevelName());
}

// Hints.

TEST(FieldHintLayoutTest, BoxGrowsByOneFontHeightPerLine) {
    EXPECT_EQ(140, FieldHintMessage::HintTextY(20, 3));
    EXPECT_EQ(169, FieldHintMessage::HintHeight(20, 3));
    EXPECT_EQ(100, FieldHintMessage::HintTextY(20, 1));
    EXPECT_EQ(129, FieldHintMessage::HintHeight(20, 1));
}

TEST_F(FieldTest, AHintBoxIsBuiltFromEscapedLines) {
    MakeField();
    Load("Three");
    std::string lineText;
    receivers.front()->onMessage = [&](const std::string& message) {
        if (message != "template nemb-template") return;
        ObjectWeakPointer<XmlElement> t = TemplateLib::GetTemplate("nemb-template");
        ObjectWeakPointer<XmlElement> div = t->GetFirstChildElement("children")
                                                ->GetFirstChildElement("StaticTextControl")
                                                ->GetFirstChildElement("div")
                                                ->GetFirstChildElement("div");
        lineText = div->GetFirstChildElement("line")->GetText();
    };
    EXPECT_TRUE(field->ShowHint(10, 300, "double", 50, 60, 0.0f));
    EXPECT_EQ("Gold & <more>", lineText);
    const std::vector<std::string> sent = Sent("GameFieldScreen");
    EXPECT_TRUE(Contains(sent, "defineText [arrowX] 50"));
    EXPECT_TRUE(Contains(sent, "create top instance"));
    EXPECT_TRUE(PermanentStorage::GetLocalBool("double_hint"));
    EXPECT_FALSE(TemplateLib::HasTemplate("nemb-template"));
}

TEST_F(FieldTest, HintsSwitchedOffUnknownOrEmptyShowNothing) {
    MakeField();
    Load("Two");
    trace.clear();
    EXPECT_FALSE(field->ShowHint(10, 300, "missing", 0, 0, 0.0f));
    EXPECT_FALSE(field->ShowHint(10, 300, "empty", 0, 0, 0.0f));
    PermanentStorage::SetLocalBool("Show game field hints", false);
    EXPECT_FALSE(field->ShowHint(10, 300, "clear", 0, 0, 0.0f));
    PermanentStorage::SetLocalBool("Show game field hints", true);
    field->SetHintOpen(true);
    EXPECT_FALSE(field->ShowHint(10, 300, "clear", 0, 0, 0.0f));
    EXPECT_TRUE(Sent("GameFieldScreen").empty());
}

}  // namespace
}  // namespace field_test
