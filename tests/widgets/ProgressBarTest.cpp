// The progress bar: the frame's window and the value columns, the state walk of changes, hints,
// freezing and the removal of a hint, its messages and their failures.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "tests/core/CheckReports.h"
#include "tests/widgets/ValueWidgetTestSupport.h"
#include "widgets/ProgressBarControl.h"

namespace value_widgets_test {
namespace {

using testing_support::LogCapture;
using State = ProgressBarControl::State;

const std::uint32_t OPAQUE = 0xFF3080C0u;

// Flash period 0.5 s; the hint front moves 0.2 of the bar a period; a removed hint stays 1 s
// (two periods).
std::string Bar(const std::string& variable = "<variable name='fill' defaultValue='0.5'/>",
                const std::string& frame = "frame") {
    return "<ProgressBarControl>" + Pos(100, 300) +
           "<messageReceiver name='bar'/><textures backgroundId='back' fillingId='fill' shadowId='shadow' "
           "maskId='mask' frameId='" +
           frame + "'/>" + variable +
           "<flash color='#FFFF80' period='0.5' maxAlpha='0.8'/><change speed='0.2' noHintDelay='1.0'/>"
           "</ProgressBarControl>";
}

class ProgressBarTest : public ValueWidgetTest {
protected:
    void SetUp() override {
        ValueWidgetTest::SetUp();
        WritePixels("back.png", 120, 10, [](int, int) { return OPAQUE; });
        WritePixels("fill.png", 120, 10, [](int, int) { return OPAQUE; });
        // The window runs over the columns 10 to 109.
        WritePixels("frame.png", 120, 10, [](int x, int) { return x < 10 || x > 109 ? OPAQUE : 0u; });
        WritePixels("shadow.png", 4, 10, [](int, int) { return OPAQUE; });
        WritePixels("mask.png", 4, 10, [](int, int) { return OPAQUE; });
        WritePixels("closed.png", 120, 10, [](int, int) { return OPAQUE; });
        LoadTextures({"back", "fill", "frame", "shadow", "mask", "closed"});
    }
    ObjectWeakPointer<ProgressBarControl> Progress() { return Only<ProgressBarControl>(); }
    static void SetFill(float value) { PermanentStorage::SetLocalFloat("fill", value); }
    // Updates by a time in flash periods.
    void Periods(float periods) { container->Update(0.5f * periods); }
    void ExpectState(int state, float time, float shown, const std::string& where) {
        EXPECT_EQ(state, Progress()->GetState()) << where;
        EXPECT_NEAR(time, Progress()->GetTime(), 1e-4f) << where;
        EXPECT_NEAR(shown, Progress()->GetShownValue(), 1e-6f) << where;
    }
};

TEST_F(ProgressBarTest, ValuesMapOntoTheFramesWindowColumns) {
    LogCapture log;
    BuildOne(Bar());
    EXPECT_EQ(10, Progress()->GetMinTransparentX());
    EXPECT_EQ(109, Progress()->GetMaxTransparentX());
    EXPECT_EQ(10, Progress()->ValueToX(0.0f));
    EXPECT_EQ(60, Progress()->ValueToX(0.5f));
    EXPECT_EQ(109, Progress()->ValueToX(0.999f));
    EXPECT_EQ(110, Progress()->ValueToX(1.0f));
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(ProgressBarTest, AFrameWithoutAWindowIsReportedAndNotDrawn) {
    LogCapture log;
    BuildOne(Bar("<variable name='fill' defaultValue='0.5'/>", "closed"));
    EXPECT_TRUE(check_reports::Reported(log, "_minTransparentX < frameRect.width"));
    EXPECT_TRUE(check_reports::Reported(log, "_maxTransparentX > -1"));
    EXPECT_TRUE(DrawOnly().empty());
}

TEST_F(ProgressBarTest, AChangeWithinOnePixelGivesOnlyTheSettleFlash) {
    BuildOne(Bar());
    SetFill(0.502f);
    Periods(0.25f);
    ExpectState(State::SETTLE_FLASH, 0.25f, 0.502f, "settling");
    Periods(0.5f);
    ExpectState(State::SETTLE_FLASH, 0.75f, 0.502f, "still settling");
    Periods(0.5f);
    ExpectState(State::IDLE, 0.0f, 0.502f, "settled");
}

TEST_F(ProgressBarTest, ChangesSweepThenSettleAndOneLargeStepPassesThroughBoth) {
    BuildOne(Bar());
    SetFill(0.8f);
    Periods(0.5f);
    ExpectState(State::CHANGE_SWEEP, 0.5f, 0.8f, "sweeping");
    Periods(1.0f);
    ExpectState(State::SETTLE_FLASH, 0.5f, 0.8f, "settling");
    Periods(1.0f);
    ExpectState(State::IDLE, 0.0f, 0.8f, "idle");

    SetFill(0.2f);
    Periods(4.5f);
    ExpectState(State::IDLE, 0.0f, 0.2f, "one step through 1, 2 and 0");
    // The sweep draws the band from the bar's start: in its middle the front stands halfway.
    SetFill(0.6f);
    Periods(0.5f);
    ExpectState(State::CHANGE_SWEEP, 0.5f, 0.6f, "second sweep");
}

TEST_F(ProgressBarTest, AFrozenBarIgnoresTheVariableUntilUnfrozen) {
    SetFill(0.6f);
    BuildOne(Bar());
    SendMessage("bar", "freeze 0.2");
    Periods(3.0f);
    ExpectState(State::IDLE, 0.0f, 0.2f, "frozen");
    SetFill(0.9f);
    Periods(1.0f);
    ExpectState(State::IDLE, 0.0f, 0.2f, "frozen, variable changed");
    SendMessage("bar", "unfreeze");
    Periods(0.25f);
    ExpectState(State::CHANGE_SWEEP, 0.25f, 0.9f, "unfrozen");

    LogCapture log;
    SendMessage("bar", "unfreeze");
    EXPECT_TRUE(check_reports::Reported(log, "_freezeValue >= 0.0f"));
    SendMessage("bar", "freeze 0.3");
    SendMessage("bar", "freeze 0.4");
    EXPECT_TRUE(check_reports::Reported(log, "_freezeValue == -1"));
    EXPECT_FLOAT_EQ(0.4f, Progress()->GetValue());
}

TEST_F(ProgressBarTest, AHintGrowsABandThatShrinksBackAfterItsRemoval) {
    LogCapture log;
    SetFill(0.3f);
    BuildOne(Bar());
    SendMessage("bar", "hint value 0.7");
    Periods(0.5f);
    EXPECT_EQ(State::HINT, Progress()->GetState());
    EXPECT_NEAR(0.4f, Progress()->GetHintFront(), 1e-5f);
    Periods(1.5f);  // the front stops at the hint; periods end without leaving the state
    EXPECT_EQ(State::HINT, Progress()->GetState());
    EXPECT_NEAR(0.7f, Progress()->GetHintFront(), 1e-5f);
    Periods(0.5f);
    ExpectState(State::HINT, 0.5f, 0.3f, "hint shown");

    SendMessage("bar", "no hint");
    Periods(1.5f);  // within the delay of two periods
    EXPECT_EQ(State::HINT, Progress()->GetState());
    EXPECT_NEAR(0.7f, Progress()->GetHintFront(), 1e-5f);
    Periods(1.0f);  // the delay is over: the front moves back for the whole step
    EXPECT_EQ(State::HINT, Progress()->GetState());
    EXPECT_NEAR(0.5f, Progress()->GetHintFront(), 1e-5f);
    Periods(1.0f);  // it reaches the value as the period ends
    EXPECT_EQ(State::IDLE, Progress()->GetState());
    EXPECT_NEAR(0.3f, Progress()->GetHintFront(), 1e-5f);
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(ProgressBarTest, AValueChangeDuringAHintSweepsFromTheBandsEnd) {
    SetFill(0.3f);
    BuildOne(Bar());
    SendMessage("bar", "hint value 0.7");
    Periods(0.5f);
    SendMessage("bar", "no hint");
    SetFill(0.9f);
    Periods(0.25f);
    EXPECT_EQ(State::HINT, Progress()->GetState());  // noticed only at the end of the period
    Periods(0.5f);
    ExpectState(State::CHANGE_SWEEP, 0.25f, 0.9f, "sweep after the hint");
}

TEST_F(ProgressBarTest, HintsThatMoveNoPixelOrLieOffTheBarShowNothing) {
    BuildOne(Bar());
    SendMessage("bar", "hint value 0.505");
    Periods(0.5f);
    ExpectState(State::IDLE, 0.0f, 0.5f, "same column");

    LogCapture log;
    SendMessage("bar", "hint value 1.5");
    EXPECT_TRUE(check_reports::Reported(log, "0.0f <= _newHintValue && _newHintValue <= 1.0f"));
    Periods(0.5f);
    ExpectState(State::IDLE, 0.0f, 0.5f, "refused hint");
    SendMessage("bar", "freeze 2.0");
    EXPECT_TRUE(check_reports::Reported(log, "0.0f <= _freezeValue && _freezeValue <= 1.0f"));
    EXPECT_FLOAT_EQ(0.5f, Progress()->GetValue());

    LogCapture below;
    SendMessage("bar", "hint value 0.3");
    EXPECT_TRUE(check_reports::Reported(below, "_newHintValue >= variableValue"));
}

TEST_F(ProgressBarTest, AVariableWithoutDefaultMustExist) {
    LogCapture log;
    BuildOne(Bar("<variable name='missing'/>"));
    EXPECT_GT(log.ErrorCount(), 0);
    SetFill(0.25f);
    BuildOne(Bar("<variable name='fill'/>"));
    EXPECT_FLOAT_EQ(0.25f, Progress()->GetShownValue());
}

TEST_F(ProgressBarTest, TheHintBandFlashesAdditivelyBetweenTheValueAndTheFront) {
    SetFill(0.3f);
    BuildOne(Bar());
    SendMessage("bar", "hint value 0.7");
    Periods(2.0f);  // the band grows from 0.3 to 0.7
    Periods(0.5f);  // half way through a period: the flash at its peak
    ASSERT_EQ(State::HINT, Progress()->GetState());
    DrawLogical();
    // Background, filling, flash, shadow, mask, frame.
    ASSERT_EQ(6u, recording->draws.size());
    const auto& flash = recording->draws[2];
    float left = 0.0f, right = 0.0f;
    ClippedColumns(flash, &left, &right);
    EXPECT_NEAR(100.0f + 40, left, 0.01f);   // x(0.3)
    EXPECT_NEAR(100.0f + 80, right, 0.01f);  // x(0.7)
    EXPECT_EQ(static_cast<D3DCOLOR>(0xCCFFFF80u), flash.world[0].color);
    EXPECT_EQ(static_cast<DWORD>(D3DBLEND_ONE), flash.renderStates[D3DRS_DESTBLEND]);
    EXPECT_EQ(static_cast<DWORD>(D3DBLEND_INVSRCALPHA), recording->draws[3].renderStates[D3DRS_DESTBLEND]);
}

}  // namespace
}  // namespace value_widgets_test
