// The diagnostic overlays: the frame counter's second, the time scale keys with and without
// "dev", and the start-up bar's share of the previous start's load steps.
#include <gtest/gtest.h>

#include "core/PermanentStorage.h"
#include "tests/core/CheckReports.h"
#include "tests/widgets/AnimatedWidgetTestSupport.h"
#include "widgets/DiagnosticControls.h"

namespace animated_widgets_test {
namespace {

using testing_support::LogCapture;

class DiagnosticControlsTest : public AnimatedWidgetTest {
protected:
    void TearDown() override {
        Forget("temp:Time scale");
        AnimatedWidgetTest::TearDown();
    }
    void BuildFps(bool shown) {
        BuildOne("<FpsControl>" + Pos(790, 580) + "<variable name='show fps' defaultValue='" +
                 (shown ? "true" : "false") + "'/><font name='edit'/></FpsControl>");
    }
    void BuildScale(const std::string& scales = "a='1.0' b='0.5' c='0.25' d='2.0'") {
        BuildOne("<TimeScaleControl>" + Pos(790, 560) + "<font name='edit'/><scales " + scales +
                 "/></TimeScaleControl>");
    }
    static float Scale() { return PermanentStorage::GetGlobalFloatOrDef("temp:Time scale", 1.0f); }
};

TEST_F(DiagnosticControlsTest, TheFrameCountIsFirstShownAfterOneSecondAndThenEverySecond) {
    BuildFps(true);
    auto fps = Only<FpsControl>();
    const float step = 1.0f / 64.0f;  // exact in binary
    Run(63, step);
    EXPECT_EQ("", fps->GetFpsText());
    EXPECT_TRUE(DrawOnly().empty());
    container->Update(step);  // completes the second and counts for the next one
    EXPECT_EQ("63", fps->GetFpsText());
    Run(63, step);
    EXPECT_EQ("63", fps->GetFpsText());
    container->Update(step);
    EXPECT_EQ("64", fps->GetFpsText());
    Run(3, step);
    const float before = fps->GetThisSecondTime();
    container->Update(1.0f);
    EXPECT_NEAR(before, fps->GetThisSecondTime(), 1e-5f);
    DrawOnly();
    EXPECT_FALSE(recording->draws.empty());
    // Right-aligned: the text ends at the position.
    EXPECT_NEAR(790.0f, DrawBox(recording->draws.size() - 1).right, 2.0f);

    Forget("show fps");  // the first counter stored its default
    BuildFps(false);
    Run(70, 1.0f / 64.0f);
    EXPECT_FALSE(Only<FpsControl>()->GetFpsText().empty());
    DrawOnly();
    EXPECT_TRUE(recording->draws.empty());
}

TEST_F(DiagnosticControlsTest, PauseStepsThroughTheSlowScalesAndScrollLockThroughTheFastOnes) {
    struct Case {
        std::vector<int> keys;
        std::vector<float> scales;
    };
    const int pause = TimeScaleControl::PAUSE_KEY;
    const int scroll = TimeScaleControl::SCROLL_LOCK_KEY;
    const Case cases[] = {
        {{pause, pause, pause, pause}, {0.5f, 0.25f, 1.0f, 0.5f}},
        {{scroll, scroll, scroll}, {2.0f, 1.0f, 2.0f}},
        {{pause, pause, scroll}, {0.5f, 0.25f, 2.0f}},
    };
    for (const Case& c : cases) {
        BuildScale();
        for (std::size_t i = 0; i < c.keys.size(); ++i) {
            Key(c.keys[i]);
            EXPECT_EQ(c.scales[i], Scale()) << "key " << i;
        }
    }
    BuildScale();
    DrawOnly();
    EXPECT_TRUE(recording->draws.empty());  // no label at the first scale
    Key(pause);
    DrawOnly();
    EXPECT_FALSE(recording->draws.empty());
}

TEST_F(DiagnosticControlsTest, WithoutDevTheKeysAreLeftToOthers) {
    PermanentStorage::SetGlobalBool("dev", false);
    Build("<FixedChildrenListControl>" + Pos(0, 0) +
          "<children><TimeScaleControl>" + Pos(0, 0) +
          "<font name='edit'/><scales a='1.0' b='0.5'/></TimeScaleControl>"
          "<KeyListeningControl>" + Pos(0, 0) +
          "<keys><key value='VK_PAUSE' receiver='keys' message='pause'/></keys></KeyListeningControl>"
          "</children></FixedChildrenListControl>");
    pictures_test::Listener keys("keys");
    Key(TimeScaleControl::PAUSE_KEY);
    EXPECT_EQ(1.0f, Scale());
    EXPECT_EQ(std::vector<std::string>{"pause"}, keys.messages);
    PermanentStorage::SetGlobalBool("dev", true);
    Key(TimeScaleControl::PAUSE_KEY);
    EXPECT_EQ(0.5f, Scale());
    EXPECT_EQ(1u, keys.messages.size());
}

TEST_F(DiagnosticControlsTest, NoQualifyingScaleKeepsTheIndexAndBadListsAreReported) {
    LogCapture log;
    BuildScale("a='1.0' b='0.5'");
    Key(TimeScaleControl::SCROLL_LOCK_KEY);  // nothing above 1 but the first entry
    EXPECT_EQ(0, Only<TimeScaleControl>()->GetScaleIndex());
    EXPECT_EQ(1.0f, Scale());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
    BuildScale("a='0.5' b='-1.0'");
    EXPECT_TRUE(check_reports::Reported(log, "scale > 0.0f"));
    EXPECT_TRUE(check_reports::Reported(log, "Float::Parse(_scales[0]) == 1.0f"));
}

TEST_F(DiagnosticControlsTest, TheStartupBarShowsTheShareOfThePreviousStartsSteps) {
    WritePixels("bar.png", 200, 20, [](int, int) { return 0xFF40A0E0u; });
    LoadTextures({"bar"});
    const std::string bar = "<StartupProgressControl>" + Pos(100, 50) + "<texture textureId='bar'/></StartupProgressControl>";
    struct Case {
        int total;
        int updates;
        float right;  // the clip edge, or 0 for nothing drawn
    };
    const Case cases[] = {{40, 10, 150.0f}, {40, 0, 0.0f}, {40, 55, 300.0f}, {0, 1, 300.0f}, {-5, 3, 300.0f}};
    for (const Case& c : cases) {
        PermanentStorage::SetGlobalInt(StartupProgressControl::TOTAL_NAME, c.total);
        BuildOne(bar);
        Run(c.updates, 0.02f);
        DrawLogical();
        if (c.right == 0.0f) {
            EXPECT_TRUE(recording->draws.empty()) << c.total << " " << c.updates;
            continue;
        }
        ASSERT_EQ(1u, recording->draws.size()) << c.total << " " << c.updates;
        float left = 0.0f;
        float right = 0.0f;
        ClippedColumns(recording->draws[0], &left, &right);
        EXPECT_NEAR(100.0f, left, 0.6f) << c.total << " " << c.updates;
        EXPECT_NEAR(c.right, right, 0.6f) << c.total << " " << c.updates;
    }
}

}  // namespace
}  // namespace animated_widgets_test
