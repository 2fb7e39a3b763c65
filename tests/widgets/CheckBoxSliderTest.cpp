// The check box and the slider over the persistent storage: clicks, looks, sounds, scopes and a
// change of player; the slider's grid of button positions, its track clicks and drags.
#include <gtest/gtest.h>

#include <algorithm>

#include "content/ResourceManager.h"
#include "controls/PictureTexture.h"
#include "core/PermanentStorage.h"
#include "tests/core/CheckReports.h"
#include "tests/widgets/ValueWidgetTestSupport.h"
#include "widgets/CheckBoxControl.h"
#include "widgets/SliderControl.h"

namespace value_widgets_test {
namespace {

using testing_support::LogCapture;

const std::uint32_t OPAQUE = 0xFF3080C0u;
const std::uint32_t CLEAR = 0x00000000u;

// ---------------------------------------------------------------------------------------------
// Check box

// 24 x 24 pictures with a clear border of 2 and clear 5 x 5 corners inside it: the opaque
// bounding box is (2, 2, 20, 20) and its corners are transparent.
std::uint32_t BoxPixel(int x, int y) {
    if (x < 2 || y < 2 || x >= 22 || y >= 22) return CLEAR;
    const bool cornerX = x < 7 || x >= 17;
    const bool cornerY = y < 7 || y >= 17;
    return cornerX && cornerY ? CLEAR : OPAQUE;
}

std::string CheckBox(const std::string& mode, const std::string& start = "",
                     const std::string& defaultValue = "false") {
    return "<CheckBoxControl>" + Pos(100, 200) +
           "<textures uncheckedNormalId='un' uncheckedActiveId='ua' checkedNormalId='cn' checkedActiveId='ca'" +
           (start.empty() ? std::string() : " start='" + start + "'") + "/><variable name='sound' mode='" + mode +
           "' defaultValue='" + defaultValue + "'/></CheckBoxControl>";
}

class CheckBoxTest : public ValueWidgetTest {
protected:
    void SetUp() override {
        ValueWidgetTest::SetUp();
        for (const char* id : {"un", "ua", "cn", "ca"}) WritePixels(std::string(id) + ".png", 24, 24, BoxPixel);
        LoadTextures({"un", "ua", "cn", "ca"});
    }
    ObjectWeakPointer<CheckBoxControl> Box() { return Only<CheckBoxControl>(); }
    // Whether the box shows (or fades to) the look of that id.
    bool Shows(const std::string& id) {
        return Box()->GetShownTexture().AsObjectAddress() ==
               ResourceManager::GetTexture(id).AsObjectAddress();
    }
};

TEST_F(CheckBoxTest, AClickInsideTogglesTheValueAndPlaysTheSoundOnce) {
    LogCapture log;
    BuildOne(CheckBox("global"));
    const Rect opaque = Box()->GetOpaqueRect();
    EXPECT_EQ(2, opaque.x);
    EXPECT_EQ(2, opaque.y);
    EXPECT_EQ(20, opaque.width);
    EXPECT_EQ(20, opaque.height);
    Move(110, 210);
    EXPECT_TRUE(Shows("ua"));
    Down(110, 210);
    EXPECT_TRUE(container->IsMouseCaptured());
    Up(110, 210);
    EXPECT_TRUE(PermanentStorage::GetGlobalBool("sound"));
    EXPECT_EQ(std::vector<std::string>{"checkbox_change"}, Played());
    Move(111, 210);
    EXPECT_TRUE(Shows("ca"));
    Move(300, 300);
    EXPECT_TRUE(Shows("cn"));
    Click(110, 210);
    EXPECT_FALSE(PermanentStorage::GetGlobalBool("sound"));
    EXPECT_EQ(std::vector<std::string>{"checkbox_change"}, Played());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(CheckBoxTest, PressAndReleaseMustBothBeInside) {
    BuildOne(CheckBox("global"));
    // Pressed inside, released outside: cancelled.
    Move(110, 210);
    Down(110, 210);
    Move(130, 210);
    EXPECT_TRUE(Shows("un"));  // pressed but off the box: the normal look
    Up(130, 210);
    EXPECT_FALSE(PermanentStorage::GetGlobalBool("sound"));
    EXPECT_TRUE(Played().empty());
    // Pressed outside, released inside: nothing captured, nothing changed.
    Move(99, 210);
    Down(99, 210);
    EXPECT_FALSE(container->IsMouseCaptured());
    Move(110, 210);
    Up(110, 210);
    EXPECT_FALSE(PermanentStorage::GetGlobalBool("sound"));
    EXPECT_TRUE(Played().empty());
    // Edges of the bounding box: (102, 202) inside, (122, 222) outside.
    Click(122, 222);
    EXPECT_FALSE(PermanentStorage::GetGlobalBool("sound"));
    Click(121, 221);
    EXPECT_TRUE(PermanentStorage::GetGlobalBool("sound"));
}

TEST_F(CheckBoxTest, ATransparentCornerInsideTheBoundingBoxCountsAsInside) {
    BuildOne(CheckBox("global"));
    ASSERT_FALSE(ResourceManager::GetTexture("un")->IsPointOpaque(Point(3, 3)));
    Click(103, 203);
    EXPECT_TRUE(PermanentStorage::GetGlobalBool("sound"));
}

TEST_F(CheckBoxTest, ModesStoreInTheirScopes) {
    struct Case {
        const char* mode;
        bool global;
        bool local;
        const char* reported;
    } cases[] = {
        {"local", false, true, nullptr},
        {"global", true, false, nullptr},
        {"global-local", true, true, nullptr},
        {"player", true, true, "mode == \"global-local\""},
    };
    for (const Case& c : cases) {
        Forget("sound");
        LogCapture log;
        BuildOne(CheckBox(c.mode));
        Click(110, 210);
        EXPECT_EQ(c.global, PermanentStorage::GetGlobalBoolOrDef("sound", false)) << c.mode;
        EXPECT_EQ(c.local, PermanentStorage::GetLocalBoolOrDef("sound", false)) << c.mode;
        if (c.reported != nullptr) {
            EXPECT_TRUE(check_reports::Reported(log, c.reported)) << log.Text();
        } else {
            EXPECT_EQ(0, log.ErrorCount()) << c.mode << log.Text();
        }
    }
}

TEST_F(CheckBoxTest, ALocalBoxFollowsAChangeOfPlayer) {
    PermanentStorage::SetLocalBool("sound", true);
    BuildOne(CheckBox("local", "", "false"));
    Move(300, 300);
    EXPECT_TRUE(Shows("cn"));
    PermanentStorage::SetActivePlayer("q");
    Move(301, 300);
    EXPECT_TRUE(Shows("un"));  // q has no value: the default
    Click(110, 210);
    EXPECT_TRUE(PermanentStorage::GetLocalBool("sound"));
    PermanentStorage::SetActivePlayer("p");
    Move(300, 300);
    EXPECT_TRUE(Shows("cn"));
}

TEST_F(CheckBoxTest, TheStartLookHoldsUntilTheFirstMoveAndABadOneFallsBackToUnchecked) {
    BuildOne(CheckBox("global", "checked"));
    EXPECT_TRUE(Shows("cn"));
    Move(300, 300);
    EXPECT_TRUE(Shows("un"));

    LogCapture log;
    BuildOne(CheckBox("global", "yes"));
    EXPECT_TRUE(check_reports::Reported(log, "false"));
    ASSERT_TRUE(Box()->IsComplete());
    EXPECT_TRUE(Shows("un"));
    Frame(0.1f);
    Click(110, 210);
    EXPECT_TRUE(PermanentStorage::GetGlobalBool("sound"));
}

TEST_F(CheckBoxTest, PicturesOfDifferentSizesOrWithoutOpaquePixelsAreReported) {
    WritePixels("small.png", 20, 24, BoxPixel);
    WritePixels("empty.png", 24, 24, [](int, int) { return CLEAR; });
    LoadTextures({"small", "empty"});
    LogCapture log;
    BuildOne("<CheckBoxControl>" + Pos(0, 0) +
             "<textures uncheckedNormalId='un' uncheckedActiveId='small' checkedNormalId='cn' "
             "checkedActiveId='ca'/><variable name='v' mode='global' defaultValue='false'/></CheckBoxControl>");
    EXPECT_TRUE(check_reports::Reported(log, "rect.IsEqualToHW(_uncheckedActiveTexture->GetRectangle())"));
    LogCapture empty;
    BuildOne("<CheckBoxControl>" + Pos(0, 0) +
             "<textures uncheckedNormalId='empty' uncheckedActiveId='empty' checkedNormalId='empty' "
             "checkedActiveId='empty'/><variable name='v' mode='global' defaultValue='false'/></CheckBoxControl>");
    EXPECT_TRUE(check_reports::Reported(empty, "maxx > -1"));
    // Nothing is inside a box without opaque pixels.
    Click(5, 5);
    EXPECT_FALSE(container->IsMouseCaptured());
    EXPECT_FALSE(PermanentStorage::GetGlobalBoolOrDef("v", false));
}

// ---------------------------------------------------------------------------------------------
// Slider

// Track 130 x 20 (back and front), button 10 x 20, all opaque; at (100, 200).
std::string Slider(int minX = 10, int maxX = 110, const std::string& defaultValue = "0.5") {
    return "<SliderControl>" + Pos(100, 200) +
           "<textures backNormalId='bn' backActiveId='ba' frontNormalId='fn' frontActiveId='fa' "
           "buttonNormalId='kn' buttonActiveId='ka'/><button minX='" +
           std::to_string(minX) + "' maxX='" + std::to_string(maxX) +
           "' range='5' defaultDragX='4'/><variable name='volume' defaultValue='" + defaultValue +
           "'/></SliderControl>";
}

class SliderTest : public ValueWidgetTest {
protected:
    void SetUp() override {
        ValueWidgetTest::SetUp();
        for (const char* id : {"bn", "ba", "fn", "fa"}) WritePixels(std::string(id) + ".png", 130, 20, Opaque);
        for (const char* id : {"kn", "ka"}) WritePixels(std::string(id) + ".png", 10, 20, Opaque);
        LoadTextures({"bn", "ba", "fn", "fa", "kn", "ka"});
    }
    static std::uint32_t Opaque(int, int) { return OPAQUE; }
    ObjectWeakPointer<SliderControl> Bar() { return Only<SliderControl>(); }
    static float Global() { return PermanentStorage::GetGlobalFloat("volume"); }
    static float Local() { return PermanentStorage::GetLocalFloat("volume"); }
};

TEST_F(SliderTest, AStoredValueKeepsItsPrecisionUntilTheButtonMoves) {
    LogCapture log;
    const struct {
        float stored;
        int buttonX;
    } cases[] = {{0.333f, 43}, {0.336f, 44}, {0.0f, 10}, {1.0f, 110}, {0.7f, 80}};
    for (const auto& c : cases) {
        Forget("volume");
        PermanentStorage::SetGlobalFloat("volume", c.stored);
        BuildOne(Slider());
        EXPECT_EQ(c.buttonX, Bar()->GetButtonX()) << c.stored;
        Frame(0.02f);
        Move(163, 210);  // hovering does not move the button
        Frame(0.02f);
        EXPECT_EQ(c.stored, Global()) << c.stored;
    }
    // A drag by one unit stores the value of the button's place.
    Move(100 + 83, 210);
    Down(100 + 83, 210);
    Move(100 + 84, 210);
    Up(100 + 84, 210);
    EXPECT_EQ(81, Bar()->GetButtonX());
    EXPECT_FLOAT_EQ(0.71f, Global());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(SliderTest, TrackClicksPutTheDragPointUnderTheMouseWithinTheLimits) {
    LogCapture log;
    BuildOne(Slider());
    struct Case {
        int x;  // relative to the slider
        int buttonX;
        float value;
    } cases[] = {{2, 10, 0.0f}, {20, 16, 0.06f}, {64, 60, 0.5f}, {125, 110, 1.0f}, {129, 110, 1.0f}};
    for (const Case& c : cases) {
        Move(100 + 80, 230);  // off the slider
        Click(100 + c.x, 210);
        EXPECT_EQ(c.buttonX, Bar()->GetButtonX()) << c.x;
        EXPECT_FLOAT_EQ(c.value, Global()) << c.x;
        EXPECT_FLOAT_EQ(c.value, Local()) << c.x;
    }
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(SliderTest, PressingTheButtonKeepsItAndDragsItByTheGrabbedPoint) {
    LogCapture log;
    BuildOne(Slider());
    ASSERT_EQ(60, Bar()->GetButtonX());
    Move(163, 210);
    EXPECT_TRUE(Bar()->IsActive());
    Down(163, 210);  // 3 right of the button's left edge
    EXPECT_EQ(60, Bar()->GetButtonX());
    Move(173, 215);
    EXPECT_EQ(70, Bar()->GetButtonX());
    EXPECT_FLOAT_EQ(0.6f, Global());
    Move(400, 300);  // far off the track: stops at the right end
    EXPECT_EQ(110, Bar()->GetButtonX());
    Move(-50, 300);
    EXPECT_EQ(10, Bar()->GetButtonX());
    Move(120, 100);
    Up(120, 100);
    EXPECT_EQ(17, Bar()->GetButtonX());
    EXPECT_FLOAT_EQ(0.07f, Local());
    EXPECT_FALSE(Bar()->IsActive());  // released off the slider
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(SliderTest, HoverActivatesAndLeavingDeactivates) {
    BuildOne(Slider());
    Move(150, 250);
    EXPECT_FALSE(Bar()->IsActive());
    Move(150, 210);
    EXPECT_TRUE(Bar()->IsActive());
    Move(150, 219);
    EXPECT_TRUE(Bar()->IsActive());
    Move(150, 220);
    EXPECT_FALSE(Bar()->IsActive());
}

TEST_F(SliderTest, AStoredValueOutOfRangeIsReportedAndClamped) {
    const float stored[] = {1.7f, -0.4f};
    const int buttonX[] = {110, 10};
    for (int i = 0; i < 2; ++i) {
        Forget("volume");
        PermanentStorage::SetGlobalFloat("volume", stored[i]);
        LogCapture log;
        BuildOne(Slider());
        EXPECT_EQ(buttonX[i], Bar()->GetButtonX());
        EXPECT_TRUE(check_reports::Reported(log, "0.0f <= rate && rate <= 1.0f")) << log.Text();
        Frame(0.02f);
        EXPECT_FLOAT_EQ(i == 0 ? 1.0f : 0.0f, Global());
    }
}

TEST_F(SliderTest, TheFilledPartEndsRangePastTheButtonsLeftEdge) {
    const struct {
        const char* value;
        int buttonX;
    } cases[] = {{"0.0", 10}, {"0.5", 60}, {"1.0", 110}};
    for (const auto& c : cases) {
        Forget("volume");
        BuildOne(Slider(10, 110, c.value));
        DrawLogical();
        // Back, front and button, in this order.
        ASSERT_EQ(3u, recording->draws.size());
        float left = 0.0f, right = 0.0f;
        ClippedColumns(recording->draws[1], &left, &right);
        EXPECT_NEAR(100.0f, left, 0.01f) << c.value;
        EXPECT_NEAR(100.0f + 5 + c.buttonX, right, 0.01f) << c.value;
        ClippedColumns(recording->draws[2], &left, &right);
        EXPECT_NEAR(100.0f + c.buttonX, left, 0.01f) << c.value;
        EXPECT_NEAR(100.0f + c.buttonX + 10, right, 0.01f) << c.value;
    }
}

TEST_F(SliderTest, LimitsOutOfOrderAndBadDefaultsAreReported) {
    LogCapture log;
    BuildOne(Slider(50, 50, "1.5"));
    EXPECT_TRUE(check_reports::Reported(log, "_buttonMinX < _buttonMaxX"));
    EXPECT_TRUE(check_reports::Reported(log, "0.0f <= defaultValue && defaultValue <= 1.0f"));
    // The slider goes on with the smallest working track, one unit, and says nothing more.
    const int errors = log.ErrorCount();
    Frame(0.02f);
    Click(155, 210);
    Frame(0.02f);
    EXPECT_EQ(51, Bar()->GetButtonX());
    EXPECT_EQ(errors, log.ErrorCount()) << log.Text();
}

}  // namespace
}  // namespace value_widgets_test
