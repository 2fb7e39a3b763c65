// The player's saved level: a running level comes back cell for cell after a player change or a
// new field, an ended one moves on or stays, a broken saved value loads its level instead, and the
// won levels' CSV log.
#include <gtest/gtest.h>

#include <functional>

#include "core/HtmlLog.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "core/XmlElement.h"
#include "match3/board/LevelLog.h"
#include "tests/match3/FieldTestSupport.h"

namespace field_test {
namespace {

using testing_support::LogCapture;

bool Contains(const std::vector<std::string>& list, const std::string& text) {
    return std::find(list.begin(), list.end(), text) != list.end();
}

struct CellState {
    int color = 0;
    bool born = false;
    int painted = 0;
    int locks = 0;
    int bonus = 0;
    bool operator==(const CellState& o) const {
        return color == o.color && born == o.born && painted == o.painted && locks == o.locks && bonus == o.bonus;
    }
};

class FieldSavingTest : public FieldTest {
protected:
    std::vector<CellState> Cells() {
        std::vector<CellState> cells;
        GameBoard& b = field->Board();
        for (int y = 0; y < b.GetSizeY(); ++y) {
            for (int x = 0; x < b.GetSizeX(); ++x) {
                const FieldCell& c = b.Cell(x, y);
                cells.push_back({c._color, c._born, c._painted, c._locks, c._bonus});
            }
        }
        return cells;
    }
    // A player's stored "Game field".
    static ObjectWeakPointer<XmlElement> Stored(const std::string& player) {
        const PermanentVariableSet::Map& values = PermanentStorage::FindPlayer(player)->GetValues();
        const auto found = values.find("Game field");
        return found == values.end() ? ObjectWeakPointer<XmlElement>() : found->second.GetXml();
    }
    // The active player's stored level when it is the level to play next, else "".
    static std::string StoredNextLevel() {
        ObjectWeakPointer<XmlElement> level = Stored(PermanentStorage::GetActivePlayerName())->GetFirstChildElement("level");
        return level == NULL ? "" : level->GetStringAttribute("name");
    }
    void StartTimer() {
        Press(CellPoint(0, 0));
        Release();
        field->Board().Selection().clear();
    }
};

TEST_F(FieldSavingTest, ARunningLevelComesBackAfterAPlayerChange) {
    MakeField();
    StartTimer();
    Run(0.1f, 20);
    field->Board().LevelScore().Add(120);
    field->Board().LevelMoney().Add(35);
    ASSERT_TRUE(field->ShowHint(60, 300, "clear", 410, 320, 0.0f));
    SendMessage("GameField", "Pause hint");
    const std::vector<CellState> cells = Cells();
    const float timeLeft = field->GetTimeLeft();
    ASSERT_LT(timeLeft, 100.0f);

    PermanentStorage::CreatePlayer("Other");
    ASSERT_NE(nullptr, Stored("Player").Get());
    EXPECT_TRUE(Stored("Player")->HasAttribute("sizeX"));
    EXPECT_FLOAT_EQ(100.0f, field->GetTimeLeft());
    EXPECT_EQ(0, field->Board().LevelScore().GetRealScore());
    PermanentStorage::SetActivePlayer("Player");
    // The other player's level had not started: it is kept by name.
    ASSERT_NE(nullptr, Stored("Other").Get());
    EXPECT_EQ("One", Stored("Other")->GetFirstChildElement("level")->GetStringAttribute("name"));

    EXPECT_EQ(cells, Cells());
    EXPECT_EQ("One", field->GetLevelName());
    EXPECT_EQ(timeLeft, field->GetTimeLeft());
    EXPECT_EQ(120, field->Board().LevelScore().GetRealScore());
    EXPECT_EQ(120, field->Board().LevelScore().GetScore());
    EXPECT_EQ(35, field->Board().LevelMoney().GetRealScore());
    EXPECT_EQ("120", PermanentStorage::GetLocalString("FieldScore"));
    EXPECT_TRUE(PermanentStorage::GetLocalBool("Need restart/continue level dialog"));
    EXPECT_TRUE(field->IsHintToReshow());
    // The open box closes; then the saved hint shows again, pointing where it pointed.
    SendMessage("GameField", "Continue hint");
    trace.clear();
    field->Draw();
    EXPECT_FALSE(field->IsHintToReshow());
    EXPECT_TRUE(Contains(Sent("GameFieldScreen"), "defineText [arrowX] 410"));
    EXPECT_TRUE(Contains(Sent("GameFieldScreen"), "create top instance"));
}

TEST_F(FieldSavingTest, ANewFieldRestoresTheLevelAndWaitsForThePress) {
    MakeField();
    StartTimer();
    Paint({"567567", "675675", "756756", "567567", "675675", "756756"});
    Run(0.1f, 10);
    const std::vector<CellState> cells = Cells();
    const float timeLeft = field->GetTimeLeft();
    field = ObjectSmartPointer<ZovGameFieldControl>();

    MakeField();
    EXPECT_EQ(cells, Cells());
    EXPECT_TRUE(field->IsFieldShown());
    EXPECT_TRUE(field->IsWaitingFirstClick());
    Run(0.1f, 10);
    EXPECT_EQ(timeLeft, field->GetTimeLeft());
    field = ObjectSmartPointer<ZovGameFieldControl>();

    // Asked to start again, the saved cells are ignored and the level comes from its file.
    PermanentStorage::SetLocalBool("Restart level", true);
    MakeField();
    EXPECT_FALSE(PermanentStorage::GetLocalBool("Restart level"));
    EXPECT_FLOAT_EQ(100.0f, field->GetTimeLeft());
    for (const CellState& c : Cells()) {
        EXPECT_TRUE(c.color >= 1 && c.color <= 3) << c.color;
    }
}

TEST_F(FieldSavingTest, AWonLevelStoresTheNextOneAndTheLogGetsALinePerWin) {
    PermanentStorage::SetGlobalBool("betaLog", true);
    HtmlLog::SetClock([] {
        std::tm t{};
        t.tm_year = 2010 - 1900;
        t.tm_mon = 2;
        t.tm_mday = 7;
        t.tm_hour = 9;
        t.tm_min = 5;
        t.tm_sec = 3;
        return t;
    });
    // The file name keeps the name's characters but no way out of the data folder.
    PermanentStorage::CreatePlayer("Ann/../x:y");
    PermanentStorage::SetLocalString("1 Cup", "Gold");
    PermanentStorage::SetLocalString("2 Cup", "Bronze");
    PermanentStorage::SetLocalInt("haveCrakerLastLevelFallIn", 0);
    PermanentStorage::SetLocalInt("haveBlackBombLastLevelDone", -1);
    testing_support::WriteFile(dir + "GameplayCost.xml",
                               "<GameplayCost><paintScores clearMatch3=\"10\" silver=\"10\" golden=\"25\"/><CupBonus>"
                               "<c n=\"11\" s=\"1\"/><c n=\"12\" s=\"2\"/><c n=\"13\" s=\"4\"/><c n=\"21\" s=\"8\"/>"
                               "<c n=\"22\" s=\"16\"/><c n=\"31\" s=\"32\"/></CupBonus></GameplayCost>");
    LogCapture log;
    const std::string csv = dataFolder + "Ann___x_y.csv";
    for (const char* level : {"One", "Two"}) {
        MakeField();
        EXPECT_EQ(level, field->GetLevelName());
        StartTimer();
        Key(0x54);  // the developer key that clears every paint
        Run(0.1f, 5);
        ASSERT_EQ(0, field->GetLevelTime());
        EXPECT_EQ(4 * (1 + 2 + 4 + 8), PermanentStorage::GetLocalInt("CupBonusInt"));
        field = ObjectSmartPointer<ZovGameFieldControl>();
    }
    HtmlLog::SetClock(nullptr);
    EXPECT_EQ("Three", StoredNextLevel());
    EXPECT_FALSE(PermanentStorage::GetLocalBool("Need restart/continue level dialog"));
    EXPECT_EQ(1, PermanentStorage::GetLocalInt("haveCrakerLastLevelFallIn"));
    EXPECT_EQ(-1, PermanentStorage::GetLocalInt("haveBlackBombLastLevelDone"));
    EXPECT_EQ("Ann/../x:y", PermanentStorage::GetActivePlayerName());
    EXPECT_TRUE(log.Contains("Leaved game field level One success"));
    EXPECT_TRUE(log.Contains("Entered game field"));

    const std::string text = testing_support::ReadFile(csv);
    const std::string header = LevelLogHeader();
    ASSERT_EQ(0u, text.rfind(header, 0)) << text;
    EXPECT_EQ(std::string::npos, text.find(header, 1));
    const std::string lines = text.substr(header.size());
    EXPECT_EQ(0u, lines.rfind("07.03.2010 - 09:05:03; One; ", 0)) << lines;
    EXPECT_NE(std::string::npos, lines.find("\r\n07.03.2010 - 09:05:03; Two; "));
    EXPECT_EQ(2, std::count(lines.begin(), lines.end(), '\n'));
    EXPECT_EQ(2, std::count(lines.begin(), lines.end(), '\r'));
}

TEST_F(FieldSavingTest, WithoutBetaLogNoFileIsWritten) {
    MakeField();
    StartTimer();
    Key(0x54);
    Run(0.1f, 5);
    ASSERT_EQ(0, field->GetLevelTime());
    EXPECT_FALSE(testing_support::FileExists(ZovGameFieldControl::LevelLogFileName("Player")));
}

TEST_F(FieldSavingTest, OnlyARealTimeOutCountsTheLevelLost) {
    WriteLevels("<Levels><Level id=\"Short\" time=\"2\"><Line>AAA</Line><Line>ddd</Line><Line>aaa</Line></Level></Levels>");
    PermanentStorage::SetLocalFloat("Time Multiplier", 2.0f);
    MakeField();
    // Before the timer shows, the level has not started: a commit keeps it and changes nothing.
    ASSERT_TRUE(PermanentStorage::Commit());
    EXPECT_EQ(2.0f, PermanentStorage::GetLocalFloat("Time Multiplier"));
    EXPECT_EQ("Short", StoredNextLevel());

    StartTimer();
    Run(0.1f, 25);
    ASSERT_TRUE(field->HasTimedOut());
    ASSERT_TRUE(PermanentStorage::Commit());
    EXPECT_EQ(1.0f, PermanentStorage::GetLocalFloat("Time Multiplier"));
    EXPECT_EQ("Short", StoredNextLevel());
    // The commit loaded the level again; it has not started, so the next one adjusts nothing.
    EXPECT_FALSE(field->HasTimedOut());
    ASSERT_TRUE(PermanentStorage::Commit());
    EXPECT_EQ(1.0f, PermanentStorage::GetLocalFloat("Time Multiplier"));
}

// A consistent running level of "Three" (3 x 3, golden middle row in the file) with its own cells.
SavedField ValidSavedField() {
    SavedField s;
    s.matchCounter = 4;
    s.sizeX = 3;
    s.sizeY = 3;
    s.levelName = "Three";
    s.levelTime = 100;
    s.timeLeft = 22.0f;
    s.chips = {1, 2, 3};
    s.cells = {{{1, true, 0, 0, 0}, {2, true, 0, 0, 0}, {3, true, 0, 0, 0}},
               {{2, false, 1, 0, 0}, {BONUS_COLOR_BASE + FIRE_CRACKER, false, 2, 0, FIRE_CRACKER}, {1, false, 1, 1, 0}},
               {{3, false, 0, 0, 0}, {1, false, 0, 0, 0}, {NO_CELL, false, 0, 0, 0}}};
    return s;
}

using Damage = std::function<void(XmlElement&)>;

ObjectWeakPointer<XmlElement> CellOf(XmlElement& f, int x, int y) {
    ObjectWeakPointer<XmlElement> line = f.GetFirstChildElement("Line");
    for (int i = 0; i < y; ++i) line = line->GetNextElement("Line");
    ObjectWeakPointer<XmlElement> cell = line->GetFirstChildElement("Cell");
    for (int i = 0; i < x; ++i) cell = cell->GetNextElement("Cell");
    return cell;
}

TEST_F(FieldSavingTest, ABrokenRunningLevelLoadsItsLevelInstead) {
    const std::vector<std::pair<const char*, Damage>> cases = {
        {"size 0", [](XmlElement& f) { f.SetIntAttribute("sizeX", 0); }},
        {"size 99", [](XmlElement& f) { f.SetIntAttribute("sizeY", 99); }},
        {"size not a number", [](XmlElement& f) { f.SetStringAttribute("sizeX", "3x"); }},
        {"too few cells", [](XmlElement& f) { CellOf(f, 2, 2)->Remove(); }},
        {"too few lines", [](XmlElement& f) { f.GetLastChildElement()->Remove(); }},
        {"colour 12", [](XmlElement& f) { CellOf(f, 0, 0)->SetIntAttribute("color", 12); }},
        {"bonus -3", [](XmlElement& f) { CellOf(f, 1, 1)->SetIntAttribute("bonus", -3); }},
        {"lock 3", [](XmlElement& f) { CellOf(f, 0, 1)->SetIntAttribute("locked", 3); }},
        {"born not a bool", [](XmlElement& f) { CellOf(f, 0, 0)->SetStringAttribute("born", "1"); }},
        {"no colour", [](XmlElement& f) { CellOf(f, 0, 0)->RemoveAttribute("color"); }},
        {"no paint", [](XmlElement& f) { CellOf(f, 0, 2)->RemoveAttribute("painted"); }},
        {"no time left", [](XmlElement& f) { f.RemoveAttribute("levelTimeCounter"); }},
        {"more time left than the level", [](XmlElement& f) { f.SetFloatAttribute("levelTimeCounter", 101.0f); }},
        {"two chip colours", [](XmlElement& f) { f.SetStringAttribute("chips", "121"); }},
        {"no painted cell", [](XmlElement& f) {
             for (int x = 0; x < 3; ++x) CellOf(f, x, 1)->SetIntAttribute("painted", 0);
         }},
        {"hint without angle", [](XmlElement& f) {
             ObjectSmartPointer<XmlElement> hints(new XmlElement("hints"));
             hints->SetStringAttribute("message", "clear");
             hints->SetIntAttribute("x", 1);
             hints->SetIntAttribute("y", 1);
             f.PrependChild(hints);
         }},
    };
    // The undamaged value comes back as saved.
    PermanentStorage::SetLocalXml("Game field", WriteRunningField(ValidSavedField()));
    MakeField();
    EXPECT_EQ(22.0f, field->GetTimeLeft());
    EXPECT_EQ(4, field->GetMatchCounter());
    EXPECT_EQ(FIRE_CRACKER, field->Board().Cell(1, 1)._bonus);
    EXPECT_TRUE(field->IsHurryShown());
    field = ObjectSmartPointer<ZovGameFieldControl>();

    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        ObjectSmartPointer<XmlElement> value = WriteRunningField(ValidSavedField());
        c.second(*value);
        PermanentStorage::SetLocalXml("Game field", value);
        LogCapture log;
        MakeField();
        EXPECT_TRUE(log.Contains("The saved game field of Player is refused")) << log.Text();
        EXPECT_EQ("Three", field->GetLevelName());
        EXPECT_EQ(100.0f, field->GetTimeLeft());
        EXPECT_EQ(2, field->Board().Cell(0, 1)._painted);
        field = ObjectSmartPointer<ZovGameFieldControl>();
    }

    // Not even XML: the first level.
    PermanentStorage::UndefLocalName("Game field");
    PermanentStorage::SetLocalInt("Game field", 5);
    LogCapture log;
    MakeField();
    EXPECT_TRUE(log.Contains("The saved game field of Player is refused (the value is not XML)"));
    EXPECT_EQ("One", field->GetLevelName());
}

TEST_F(FieldSavingTest, AnUnknownNextLevelFallsBackToTheFirst) {
    PermanentStorage::SetLocalXml("Game field", WriteNextLevel("Gone"));
    MakeField();
    EXPECT_EQ("One", field->GetLevelName());
}

TEST(LevelLogFileNameTest, PathCharactersOfTheNameAreReplaced) {
    const std::string saved = dataFolder;
    dataFolder = "/data/";
    EXPECT_EQ("/data/Ann.csv", ZovGameFieldControl::LevelLogFileName("Ann"));
    EXPECT_EQ("/data/_etc_passwd.csv", ZovGameFieldControl::LevelLogFileName("/etc/passwd"));
    EXPECT_EQ("/data/__x.csv", ZovGameFieldControl::LevelLogFileName("..\\x"));
    EXPECT_EQ("/data/C_a_.b.csv", ZovGameFieldControl::LevelLogFileName("C:a...b"));
    dataFolder = saved;
}

}  // namespace
}  // namespace field_test
