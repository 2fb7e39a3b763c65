// The game field's guards against bad values and missing content: the level time from the
// script, a press while the field appears, hint requests it cannot show and a hint template that
// never pauses the field.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "tests/match3/FieldTestSupport.h"
#include "tests/shell/ScriptTestSupport.h"
#include "tests/support/TestSupport.h"

namespace field_test {
namespace {

using testing_support::LogCapture;

bool Contains(const std::vector<std::string>& list, const std::string& text) {
    return std::find(list.begin(), list.end(), text) != list.end();
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

TEST_F(FieldGuardsTest, HintsThatCannotBeShownAreReportedOnce) {
    MakeField();
    Load("Two");
    const struct {
        const char* name;
        const char* report;
    } cases[] = {{"missing", "missing"}, {"empty", "empty"}};
    for (const auto& c : cases) {
        LogCapture log;
        trace.clear();
        EXPECT_FALSE(field->ShowHint(10, 300, c.name, 0, 0, 0.0f));
        EXPECT_EQ(1, log.ErrorCount()) << log.Text();
        EXPECT_TRUE(log.Contains(c.report)) << log.Text();
        EXPECT_TRUE(Sent("GameFieldScreen").empty());
        EXPECT_FALSE(PermanentStorage::GetLocalBoolOrDef(std::string(c.name) + "_hint", false));
    }
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

}  // namespace
}  // namespace field_test
