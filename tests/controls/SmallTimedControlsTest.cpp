// The pulsing caption, the named anchor, the flashing line and the blinking picture.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "content/ResourceManager.h"
#include "controls/BlinkingTextureControl.h"
#include "controls/ClickToStartControl.h"
#include "controls/FixedChildrenListControl.h"
#include "controls/FlashingStringControl.h"
#include "core/MessageServer.h"
#include "shell/BitmapFont.h"
#include "shell/RenderDeviceFonts.h"
#include "tests/controls/PictureTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using pictures_test::PictureTest;
using pictures_test::Quad;
using testing_support::LogCapture;

class SmallTimedControlsTest : public PictureTest {
protected:
    void SetUp() override {
        PictureTest::SetUp();
        const std::string fonts = std::string(MARIVEL_SOURCE_DIR) + "/data/fonts/";
        ASSERT_EQ(0, mkdir((dir + "fonts").c_str(), 0755));
        testing_support::WriteFile(dir + "fonts/demo.png", testing_support::ReadFile(fonts + "demo.png"));
        testing_support::WriteFile(dir + "fonts/demo.txt", testing_support::ReadFile(fonts + "demo.txt"));
        Render::fonts.AddFont(BitmapFont("demo", 0, -1));
        WritePicture("lamp.png", 16, 16, 16);
        LoadResources(
            "<Textures upload='refcount' storage='memory-keeping'><texture id='lamp' path='lamp.png'/></Textures>");
        // Texts stay registered for the whole run.
        if (!ResourceManager::HasString("stc_start")) {
            LoadResources(
                "<Strings><string name='stc_start' value='Click to start'/><string name='stc_bonus' value='Bonus'/>"
                "</Strings>");
        }
    }
    void TearDown() override {
        PictureTest::TearDown();
        Render::fonts.ReleaseAll();
    }

    template <class T>
    ObjectWeakPointer<T> Only() {
        auto list = container->GetRoot().Cast<FixedChildrenListControl>();
        return ObjectWeakPointer<T>(list->GetChildren()[0].template Cast<T>());
    }
    void BuildOne(const std::string& control) {
        Build("<FixedChildrenListControl><position x='10' y='10'/><children>" + control +
              "</children></FixedChildrenListControl>");
    }
};

TEST_F(SmallTimedControlsTest, CaptionFadesInAndBreathes) {
    LogCapture log;
    BuildOne("<ClickToStartControl resourceName='stc_start' fontName='demo'><position x='400' y='100'/>"
             "</ClickToStartControl>");
    auto caption = Only<ClickToStartControl>();
    EXPECT_FLOAT_EQ(0.0f, caption->GetAlpha());
    EXPECT_FLOAT_EQ(1.01f, caption->GetScale());
    EXPECT_FLOAT_EQ(0.0f, caption->GetGlowAlpha());
    const std::vector<Quad> quads = Frame(0.25f);
    EXPECT_FLOAT_EQ(0.5f, caption->GetAlpha());
    ASSERT_FALSE(quads.empty()) << log.Text();
    EXPECT_NEAR(127, quads[0].alpha, 1);
    Frame(0.25f);
    EXPECT_FLOAT_EQ(1.0f, caption->GetAlpha());
    Frame(1.0f);
    EXPECT_FLOAT_EQ(1.0f, caption->GetAlpha());
    EXPECT_GE(caption->GetScale(), 1.01f);
    EXPECT_LE(caption->GetScale(), 1.05f);
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(SmallTimedControlsTest, AnchorAnswersItsScreenPosition) {
    BuildOne("<PositionControl><position x='120' y='40'/><messageReceiver name='anchor'/></PositionControl>");
    EXPECT_EQ("130,50", SendMessageReply("anchor", "get screen pos"));
    LogCapture log;
    EXPECT_EQ("", SendMessageReply("anchor", "get pos"));
    SendMessage("anchor", "get screen pos");
    EXPECT_EQ(2, log.ErrorCount()) << log.Text();
}

TEST_F(SmallTimedControlsTest, FlashIsNotRestartedWhileItRuns) {
    BuildOne("<FlashingStringControl><position x='0' y='0'/><line fontName='demo' align='left' resourceName='stc_bonus'/>"
             "<flash color='#FF000080' period='1.0' maxAlpha='0.8'/><messageReceiver name='bonus'/>"
             "</FlashingStringControl>");
    auto line = Only<FlashingStringControl>();
    LogCapture log;
    const std::size_t plain = DrawOnly().size();
    EXPECT_GT(plain, 0u);
    SendMessage("bonus", "flash");
    Frame(0.25f);
    SendMessage("bonus", "flash");
    const std::vector<Quad> quads = Frame(0.25f);
    EXPECT_TRUE(line->IsFlashing());
    EXPECT_FLOAT_EQ(0.8f, line->GetFlashAlpha());  // half way through the one flash
    EXPECT_EQ(2 * plain, quads.size());            // the text drawn again in the flash colour
    EXPECT_NEAR(0.8f * 0.5f * 255.0f, quads.back().alpha, 1.5f);  // the colour's own alpha too
    Frame(0.5f);
    EXPECT_FALSE(line->IsFlashing());
    EXPECT_EQ(plain, DrawOnly().size());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(SmallTimedControlsTest, FlashingLineReportsBadContent) {
    LogCapture log;
    BuildOne("<FlashingStringControl><position x='0' y='0'/><line fontName='demo' align='middle' resourceName='stc_bonus'/>"
             "<flash color='#FF0000FF' period='0.0' maxAlpha='0.5'/><messageReceiver name='bad'/>"
             "</FlashingStringControl>");
    EXPECT_TRUE(log.Contains("align == &quot;center&quot;") || log.Contains("align == \"center\"")) << log.Text();
    EXPECT_TRUE(log.Contains("_period &gt; 0.0f") || log.Contains("_period > 0.0f")) << log.Text();
    SendMessage("bad", "flash");
    Frame(0.1f);
    EXPECT_FALSE(Only<FlashingStringControl>()->IsFlashing());
}

TEST_F(SmallTimedControlsTest, BlinkingPictureSwingsBetweenItsAlphas) {
    BuildOne("<BlinkingTextureControl><position x='5' y='5'/><texture textureId='lamp'/>"
             "<blinking period='2.0' minAlpha='0.2' maxAlpha='1.0'/></BlinkingTextureControl>");
    auto lamp = Only<BlinkingTextureControl>();
    std::vector<Quad> quads = DrawOnly();
    ASSERT_EQ(1u, quads.size());
    EXPECT_EQ(15, quads[0].x);
    EXPECT_NEAR(0.2f * 255.0f, quads[0].alpha, 1.0f);
    quads = Frame(1.0f);
    EXPECT_NEAR(255, quads[0].alpha, 1);
    lamp->Update(5.0f);  // straight to the control: the container would cut the step
    EXPECT_FLOAT_EQ(0.0f, lamp->GetPhase());
    lamp->Update(1.0f);
    lamp->Update(5.0f);
    EXPECT_FLOAT_EQ(0.0f, lamp->GetPhase());
    lamp->Update(1.0f);
    EXPECT_FLOAT_EQ(0.5f, lamp->GetPhase());
}

}  // namespace
