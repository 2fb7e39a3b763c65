// Buttons driven through a real container: the click table, sounds, the disabled and the
// incomplete button, the flashing look and the button that swings into view.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "controls/ButtonControl.h"
#include "controls/ButtonWithEffectControl.h"
#include "controls/FixedChildrenListControl.h"
#include "controls/MouseEvents.h"
#include "tests/controls/PictureTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using pictures_test::Listener;
using pictures_test::PictureTest;
using pictures_test::Quad;
using testing_support::LogCapture;
using Texts = std::vector<std::string>;

// Looks are told apart by their widths.
const int NORMAL_WIDTH = 40;
const int ACTIVE_WIDTH = 41;
const int PRESSED_WIDTH = 42;
const int DISABLED_WIDTH = 43;

std::string Button(const std::string& message, int x, int y, const std::string& more = "",
                   const std::string& kind = "MessageButtonControl", const std::string& normal = "normal") {
    return "<" + kind + "><position x='" + std::to_string(x) + "' y='" + std::to_string(y) +
           "'/><textures normalId='" + normal +
           "' activeId='active' pressedId='pressed' disabledId='disabled'/><message value='" + message +
           "' receiver='tester'/>" + more + "</" + kind + ">";
}

std::string List(const std::string& children) {
    return "<FixedChildrenListControl><position x='0' y='0'/><children>" + children +
           "</children></FixedChildrenListControl>";
}

class ButtonTest : public PictureTest {
protected:
    void SetUp() override {
        PictureTest::SetUp();
        WritePicture("normal.png", NORMAL_WIDTH, 20, NORMAL_WIDTH);
        WritePicture("active.png", ACTIVE_WIDTH, 20, ACTIVE_WIDTH);
        WritePicture("pressed.png", PRESSED_WIDTH, 20, PRESSED_WIDTH);
        WritePicture("disabled.png", DISABLED_WIDTH, 20, DISABLED_WIDTH);
        WritePicture("icon.png", 10, 6, 10);
        LoadResources(
            "<Textures upload='refcount' storage='memory-keeping'><texture id='normal' path='normal.png'/>"
            "<texture id='active' path='active.png'/><texture id='pressed' path='pressed.png'/>"
            "<texture id='disabled' path='disabled.png'/><texture id='icon' path='icon.png'/></Textures>");
    }

    ObjectWeakPointer<ButtonControl> ButtonAt(int index) {
        auto list = container->GetRoot().Cast<FixedChildrenListControl>();
        return ObjectWeakPointer<ButtonControl>(
            list->GetChildren()[static_cast<std::size_t>(index)].Cast<ButtonControl>());
    }

    // Runs "m x y" (move), "d x y" (press), "b x y" (the second press of a double click) and
    // "u x y" (release) steps.
    void Run(const std::string& steps) {
        std::istringstream in(steps);
        std::string op;
        int x = 0, y = 0;
        while (in >> op >> x >> y) {
            if (op == "m") Move(x, y);
            if (op == "d") Down(x, y);
            if (op == "b") container->MouseDoubleClick(x, y);
            if (op == "u") Up(x, y);
        }
    }

    static int Width(const std::vector<Quad>& quads, int width, int* alpha = nullptr) {
        int count = 0;
        for (const Quad& q : quads) {
            if (q.width == width) {
                ++count;
                if (alpha) *alpha = q.alpha;
            }
        }
        return count;
    }

    // How much of the active look shows in the blend of the quads, drawn in order.
    static float ActiveWeight(const std::vector<Quad>& quads) {
        float weight = 0.0f;
        for (const Quad& q : quads) {
            const float a = static_cast<float>(q.alpha) / 255.0f;
            weight = weight * (1.0f - a) + (q.width == ACTIVE_WIDTH ? a : 0.0f);
        }
        return weight;
    }

    Listener tester{"tester"};
};

TEST_F(ButtonTest, ClickTable) {
    // The front button at (100, 100); a second one behind it at (300, 300) shows whether the
    // controls under the pointer react during a drag.
    struct Case {
        const char* name;
        const char* steps;
        Texts sent;
        int endState;
        bool held;  // the front button still holds the mouse at the end
    } cases[] = {
        {"click", "m 110 110 d 110 110 u 110 110", {"front"}, ButtonControl::ACTIVE_STATE, false},
        {"press, drag off over the other button", "m 110 110 d 110 110 m 310 310 m 312 310", {},
         ButtonControl::NORMAL_STATE, true},
        {"press, drag off, release outside", "m 110 110 d 110 110 m 210 210 m 212 210 u 212 210", {},
         ButtonControl::NORMAL_STATE, false},
        {"press, off, back on, release", "m 110 110 d 110 110 m 310 310 m 112 110 u 112 110", {"front"},
         ButtonControl::ACTIVE_STATE, false},
        {"release without press", "m 110 110 u 110 110", {}, ButtonControl::ACTIVE_STATE, false},
        {"press beside, release on it", "m 5 5 d 5 5 m 110 110 u 110 110", {}, ButtonControl::ACTIVE_STATE, false},
        {"two clicks", "m 110 110 d 110 110 u 110 110 d 110 110 u 110 110", {"front", "front"},
         ButtonControl::ACTIVE_STATE, false},
    };
    for (const Case& c : cases) {
        Build(List(Button("front", 100, 100) + Button("behind", 300, 300)));
        tester.messages.clear();
        LogCapture log;
        auto behind = ButtonAt(1);
        Run(c.steps);
        EXPECT_EQ(c.sent, tester.messages) << c.name;
        EXPECT_EQ(c.endState, ButtonAt(0)->GetState()) << c.name;
        EXPECT_EQ(ButtonControl::NORMAL_STATE, behind->GetState()) << c.name;
        EXPECT_EQ(c.held, ButtonAt(0)->IsMouseCapturedByThis()) << c.name;
        EXPECT_EQ(c.held, container->IsMouseCaptured()) << c.name;
        EXPECT_EQ(0, log.ErrorCount()) << c.name << log.Text();
    }
}

TEST_F(ButtonTest, ADoubleClickIsTwoClicksUnlessTheButtonCountsItAsOne) {
    const std::string twice = "m 110 110 d 110 110 u 110 110 b 110 110 u 110 110";
    for (const bool once : {false, true}) {
        std::string button = Button("front", 100, 100);
        if (once) button.replace(button.find("receiver='tester'"), 17, "receiver='tester' doubleClick='false'");
        Build(List(button));
        tester.messages.clear();
        LogCapture log;
        Run(twice);
        EXPECT_EQ(once ? Texts{"front"} : (Texts{"front", "front"}), tester.messages) << once;
        // A later single click counts again.
        Run("d 110 110 u 110 110");
        EXPECT_EQ(once ? 2u : 3u, tester.messages.size()) << once;
        EXPECT_EQ(0, log.ErrorCount()) << log.Text();
    }
}

TEST_F(ButtonTest, HeldButtonLooksPressedOnlyWhileThePointerIsOverIt) {
    Build(List(Button("front", 100, 100)));
    auto button = ButtonAt(0);
    Run("m 110 110 d 110 110");
    EXPECT_EQ(ButtonControl::PRESSED_STATE, button->GetState());
    EXPECT_TRUE(button->IsMouseCapturedByThis());
    Move(300, 300);
    EXPECT_EQ(ButtonControl::NORMAL_STATE, button->GetState());
    EXPECT_TRUE(container->IsMouseCaptured());
    Move(110, 110);
    EXPECT_EQ(ButtonControl::PRESSED_STATE, button->GetState());
}

TEST_F(ButtonTest, SoundsOfAClick) {
    Build(List(Button("front", 100, 100) + Button("quiet", 300, 300, "<sounds activeId='hover' pressedId='press'/>")));
    Run("m 110 110 d 110 110 u 110 110");
    // The move after the release finds the pointer over a normal button: active again.
    EXPECT_EQ((Texts{"button_active", "button_pressed", "button_active"}), Played());
    Run("m 310 310 d 310 310");
    EXPECT_EQ((Texts{"hover", "press"}), Played());
}

TEST_F(ButtonTest, DisabledButtonHidesThePointerAndSwallowsPresses) {
    // A disabled button in front of another at the same place.
    Build(List(Button("front", 100, 100) + Button("behind", 100, 100)));
    auto front = ButtonAt(0);
    auto behind = ButtonAt(1);
    front->SetDisabledState();
    LogCapture log;
    Move(110, 110);
    EXPECT_EQ(ButtonControl::NORMAL_STATE, behind->GetState());
    Down(110, 110);
    EXPECT_TRUE(container->IsMouseCaptured());
    Move(112, 110);
    Up(112, 110);
    EXPECT_TRUE(tester.messages.empty());
    EXPECT_EQ(ButtonControl::DISABLED_STATE, front->GetState());
    EXPECT_EQ(ButtonControl::NORMAL_STATE, behind->GetState());
    EXPECT_FALSE(container->IsMouseCaptured());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
    // It shows its disabled look once the cross-fade is over.
    const std::vector<Quad> quads = Frame(0.5f);
    EXPECT_EQ(1, Width(quads, DISABLED_WIDTH));
    EXPECT_EQ(0, Width(quads, NORMAL_WIDTH + 100));
}

TEST_F(ButtonTest, ButtonWithAMissingTextureIsInvisibleAndLetsClicksThrough) {
    LogCapture log;
    Build(List(Button("front", 100, 100, "", "MessageButtonControl", "nothing") + Button("behind", 100, 100)));
    EXPECT_TRUE(log.Contains("Texture 'nothing' not found")) << log.Text();
    EXPECT_FALSE(ButtonAt(0)->IsComplete());
    Run("m 110 110 d 110 110 u 110 110");
    EXPECT_EQ(Texts{"behind"}, tester.messages);
    const std::vector<Quad> quads = Frame(0.5f);
    EXPECT_EQ(1u, quads.size());  // only the button behind
}

TEST_F(ButtonTest, LostCaptureReturnsTheButtonToNormal) {
    Build(List(Button("front", 100, 100)));
    auto button = ButtonAt(0);
    Run("m 110 110 d 110 110");
    ASSERT_TRUE(button->IsMouseCapturedByThis());
    // The container dropped the capture (say a control in front took the tree's attention).
    auto event = ObjectSmartPointer<MouseMoveEvent>(new MouseMoveEvent(110, 110, false));
    LogCapture log;
    button->OnMouseMove(event);
    EXPECT_TRUE(log.Contains("!_isMouseCapturedByThis")) << log.Text();
    EXPECT_FALSE(button->IsMouseCapturedByThis());
    EXPECT_NE(ButtonControl::PRESSED_STATE, button->GetState());
}

TEST_F(ButtonTest, FlashingAlphaRepeatsOncePerPeriodAndHoverFadesWithoutAJump) {
    Build(List(Button("front", 100, 100, "<flashing period='1.0' maxAlpha='0.5'/>")));
    LogCapture log;
    std::vector<int> alphas;  // the active look over the normal one, every 0.125 s from 1 s to 3 s
    for (int step = 1; step <= 24; ++step) {
        const std::vector<Quad> quads = Frame(0.125f);
        ASSERT_EQ(1, Width(quads, NORMAL_WIDTH));
        int alpha = -1;
        ASSERT_EQ(1, Width(quads, ACTIVE_WIDTH, &alpha)) << step;
        if (step < 8) {
            EXPECT_EQ(0, alpha) << "no flash before the first whole period, step " << step;
        } else {
            alphas.push_back(alpha);
        }
    }
    for (std::size_t i = 0; i + 8 < alphas.size(); ++i) EXPECT_NEAR(alphas[i], alphas[i + 8], 1) << i;
    const int peak = *std::max_element(alphas.begin(), alphas.end());
    EXPECT_NEAR(127, peak, 2);
    EXPECT_EQ(0, *std::min_element(alphas.begin(), alphas.end()));
    // At the peak of a flash the pointer comes over the button.
    while (true) {
        int alpha = -1;
        Width(Frame(0.125f), ACTIVE_WIDTH, &alpha);
        if (alpha >= peak - 2) break;
    }
    const float before = ActiveWeight(DrawOnly());
    EXPECT_NEAR(0.5f, before, 0.02f);
    Move(110, 110);
    EXPECT_NEAR(before, ActiveWeight(DrawOnly()), 0.02f);
    // The cross-fades take 1/7 s each; then only the active look shows.
    Frame(0.1f);
    Frame(0.1f);
    Frame(0.1f);
    const std::vector<Quad> settled = Frame(0.1f);
    int alpha = -1;
    EXPECT_EQ(1u, settled.size());
    EXPECT_EQ(1, Width(settled, ACTIVE_WIDTH, &alpha));
    EXPECT_EQ(255, alpha);
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(ButtonTest, PictureWithAButtonChild) {
    WritePicture("panel.png", 200, 100, 100);  // opaque on its left half
    LoadResources("<Textures upload='refcount' storage='memory-keeping'><texture id='panel' path='panel.png'/></Textures>");
    // The picture at (50, 50) holds a button at (60, 60); two buttons lie behind it: one under its
    // opaque half, one under its transparent half.
    Build(List("<StaticTextureControl><position x='50' y='50'/><texture textureId='panel'/><children>" +
               Button("child", 10, 10) + "</children></StaticTextureControl>" + Button("under", 120, 60) +
               Button("through", 190, 60)));
    LogCapture log;
    Run("m 70 70 d 70 70 u 70 70");
    Run("m 130 70 d 130 70 u 130 70");
    Run("m 200 70 d 200 70 u 200 70");
    EXPECT_EQ((Texts{"child", "through"}), tester.messages);
    EXPECT_EQ(ButtonControl::NORMAL_STATE, ButtonAt(1)->GetState());  // never hovered through the picture
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(ButtonTest, ButtonWithEffectSwingsIntoViewThenLiftsWhenHovered) {
    Build(List(Button("front", 100, 100, "<show delay='0.5' speed='4.0'/><image id='icon' x='20' y='10' align='center'/>",
                      "ButtonWithEffectControl")));
    auto button = ButtonAt(0).Cast<ButtonWithEffectControl>();
    LogCapture log;
    EXPECT_FLOAT_EQ(30.0f, button->GetSwingAngle(0.0f));
    EXPECT_FLOAT_EQ(-5.0f, button->GetSwingAngle(0.5f));
    EXPECT_FLOAT_EQ(0.0f, button->GetSwingAngle(1.0f));
    Move(110, 110);
    Run("d 110 110 u 110 110");  // a press before the button has ever seen the pointer
    EXPECT_TRUE(Frame(0.25f).empty());
    EXPECT_TRUE(Frame(0.2f).empty());
    Frame(0.05f);  // the delay is over
    std::vector<Quad> quads = Frame(0.125f);
    EXPECT_FLOAT_EQ(0.5f, button->GetAppearance());
    int alpha = -1;
    ASSERT_EQ(1, Width(quads, NORMAL_WIDTH + 0, &alpha) + Width(quads, NORMAL_WIDTH + 1) +
                     Width(quads, NORMAL_WIDTH + 2) + Width(quads, NORMAL_WIDTH + 3) + Width(quads, NORMAL_WIDTH + 4) +
                     Width(quads, NORMAL_WIDTH - 1) + Width(quads, NORMAL_WIDTH - 2) + Width(quads, NORMAL_WIDTH - 3) +
                     Width(quads, NORMAL_WIDTH - 4) + Width(quads, NORMAL_WIDTH + 5) + Width(quads, NORMAL_WIDTH - 5))
        << "the button, turned by -5 degrees";
    EXPECT_EQ(ButtonControl::NORMAL_STATE, button->GetState());  // no hover while appearing
    Run("d 110 110 u 110 110");                                   // nor a click
    EXPECT_FALSE(container->IsMouseCaptured());
    Frame(0.125f);
    EXPECT_FLOAT_EQ(1.0f, button->GetAppearance());
    Move(111, 110);
    EXPECT_EQ(ButtonControl::ACTIVE_STATE, button->GetState());
    quads = Frame(0.05f);
    EXPECT_FLOAT_EQ(0.5f, button->GetHover());
    // The shadow at half opacity, then the button and its image lifted by 1.5 units up and left.
    ASSERT_GE(quads.size(), 3u);
    EXPECT_EQ(100, quads[0].x);
    EXPECT_EQ(100, quads[0].y);
    EXPECT_NEAR(127, quads[0].alpha, 1);
    const Quad& icon = quads.back();
    EXPECT_EQ(10, icon.width);
    EXPECT_NEAR(100 + 20 - 5 - 1.5, icon.x, 0.6);  // centred on (20, 10), lifted by 1.5
    EXPECT_NEAR(100 + 10 - 3 + 1.5, icon.y, 0.6);
    Run("d 111 110 u 111 110");
    EXPECT_EQ(Texts{"front"}, tester.messages);
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

}  // namespace
