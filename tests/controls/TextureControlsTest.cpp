// Picture controls driven through a real container: pictures solid for the mouse, dragging,
// carrying a picture on the pointer, the expanding picture, clickable pictures and the sensor.
#include <gtest/gtest.h>

#include <algorithm>

#include "controls/ExpandingTextureControl.h"
#include "controls/McMovableTextureControl.h"
#include "controls/McStaticTextureControl.h"
#include "controls/MouseHandledSensorControl.h"
#include "controls/MovableTextureControl.h"
#include "core/MessageServer.h"
#include "tests/controls/PictureTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using pictures_test::Listener;
using pictures_test::PictureTest;
using pictures_test::Quad;
using testing_support::LogCapture;
using Texts = std::vector<std::string>;

std::string Position(int x, int y) {
    return "<position x='" + std::to_string(x) + "' y='" + std::to_string(y) + "'/>";
}

std::string Picture(const std::string& kind, const std::string& texture, int x, int y,
                    const std::string& more = "") {
    return "<" + kind + ">" + Position(x, y) + "<texture textureId='" + texture + "'/>" + more + "</" + kind + ">";
}

std::string List(const std::string& children, int x = 0, int y = 0) {
    return "<FixedChildrenListControl>" + Position(x, y) + "<children>" + children +
           "</children></FixedChildrenListControl>";
}

class TextureControlsTest : public PictureTest {
protected:
    void SetUp() override {
        PictureTest::SetUp();
        WritePicture("half.png", 40, 20, 20);  // opaque only on its left half
        WritePicture("full.png", 40, 20, 40);
        WritePicture("carry.png", 31, 20, 31);
        LoadResources(
            "<Textures upload='refcount' storage='memory-keeping'><texture id='half' path='half.png'/>"
            "<texture id='full' path='full.png'/><texture id='carry' path='carry.png'/></Textures>");
    }

    template <class T>
    ObjectWeakPointer<T> Child(int index) {
        auto list = container->GetRoot().Cast<FixedChildrenListControl>();
        return ObjectWeakPointer<T>(list->GetChildren()[static_cast<std::size_t>(index)].template Cast<T>());
    }
};

TEST_F(TextureControlsTest, StaticPictureIsSolidOnlyOverItsOpaquePixels) {
    // A half-opaque static picture in front of a movable picture at the same place.
    Build(List(Picture("StaticTextureControl", "half", 100, 100) + Picture("MovableTextureControl", "full", 100, 100)));
    LogCapture log;
    auto movable = Child<MovableTextureControl>(1);

    Move(110, 110);  // the opaque half: the picture behind shows no hover and takes no press
    Down(110, 110);
    EXPECT_TRUE(container->IsMouseCaptured());
    EXPECT_FALSE(movable->IsInDragging());
    Up(110, 110);
    EXPECT_FALSE(container->IsMouseCaptured());

    Move(130, 110);  // the transparent half lets the press through to the picture behind
    Down(130, 110);
    EXPECT_TRUE(movable->IsInDragging());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();

    // The static picture draws its texture under its children, the first child on top.
    const std::vector<Quad> quads = DrawOnly();
    ASSERT_EQ(2u, quads.size());
    EXPECT_EQ(100, quads[0].x);
    EXPECT_EQ(100, quads[1].x);
}

TEST_F(TextureControlsTest, DraggedPictureKeepsItsGripOffset) {
    Build(List(Picture("MovableTextureControl", "full", 100, 50), 0, 0));
    auto movable = Child<MovableTextureControl>(0);
    Move(110, 60);
    Down(110, 60);
    Move(150, 100);
    Move(210, 160);
    Up(210, 160);
    EXPECT_FALSE(movable->IsInDragging());
    EXPECT_EQ(Point(200, 150), movable->GetAbsolutePos());
    EXPECT_FALSE(container->IsMouseCaptured());
}

TEST_F(TextureControlsTest, ClickWithoutMovementPicksThePictureUpUntilAReleaseAfterMoving) {
    Build(List(Picture("MovableTextureControl", "full", 100, 50)));
    LogCapture log;
    auto movable = Child<MovableTextureControl>(0);
    Click(110, 60);
    EXPECT_TRUE(movable->IsInDragging());
    EXPECT_TRUE(container->IsMouseCaptured());
    Move(300, 300);  // it follows the pointer with no button held
    EXPECT_EQ(Point(290, 290), movable->GetAbsolutePos());
    Down(300, 300);  // the press arrives captured
    Up(300, 300);
    EXPECT_FALSE(movable->IsInDragging());
    EXPECT_FALSE(container->IsMouseCaptured());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

// A clickable picture in front starts the carrying: it captures the press and sends "show carry".
class CarryTest : public TextureControlsTest {
protected:
    void SetUp() override {
        TextureControlsTest::SetUp();
        Build(List(Picture("McStaticTextureControl", "full", 380, 290,
                           "<messageReceiver name='null'/><message value='show carry' receiver='Shop dragger'/>") +
                   "<McMovableTextureControl>" + Position(0, 0) +
                   "<messageReceiver name='Shop dragger'/></McMovableTextureControl>"));
        mover = Child<McMovableTextureControl>(1);
    }
    void StartCarrying() {
        Move(400, 300);
        Down(400, 300);
        ASSERT_TRUE(mover->IsShown());
        SendMessage("Shop dragger", "reply to shop");
    }
    Listener shop{"shop"};
    ObjectWeakPointer<McMovableTextureControl> mover;
};

TEST_F(CarryTest, DropsOnlyAfterMovingPastTheThreshold) {
    LogCapture log;
    StartCarrying();
    EXPECT_EQ(Texts{"beauty_take"}, Played());
    EXPECT_TRUE(container->IsMouseCaptured());  // the carrier confirms the capture
    Move(402, 301);                              // 2.24 units away
    Up(402, 301);
    EXPECT_TRUE(mover->IsShown());
    EXPECT_TRUE(shop.messages.empty());
    Move(404, 300);  // 4 units away
    Down(404, 300);
    Up(404, 300);
    EXPECT_FALSE(mover->IsShown());
    EXPECT_EQ(Texts{"mouse up"}, shop.messages);
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(CarryTest, RightButtonDropsAtOnce) {
    StartCarrying();
    container->RightButtonDown(400, 300);
    EXPECT_FALSE(mover->IsShown());
    EXPECT_EQ(Texts{"mouse up"}, shop.messages);
}

TEST_F(CarryTest, PictureIsDrawnCentredOnThePointer) {
    Move(100, 100);
    SendMessage("Shop dragger", "show carry");
    std::vector<Quad> quads = DrawOnly();
    ASSERT_EQ(2u, quads.size());  // the clickable picture, then the carried one
    EXPECT_EQ(85, quads[0].x);    // drawn in input order reversed: the carrier was second
    EXPECT_EQ(90, quads[0].y);
    EXPECT_EQ(31, quads[0].width);
}

TEST_F(CarryTest, DropWithoutReceiverIsReportedHidesAndSendsNothing) {
    Move(400, 300);
    Down(400, 300);
    LogCapture log;
    Move(420, 300);
    Up(420, 300);
    EXPECT_FALSE(mover->IsShown());
    EXPECT_TRUE(log.Contains("!receiver.empty()")) << log.Text();
    EXPECT_TRUE(shop.messages.empty());
}

TEST_F(CarryTest, MessagesWhileNothingIsShownAreReported) {
    LogCapture log;
    SendMessage("Shop dragger", "reply to shop");
    SendMessage("Shop dragger", "hide");
    EXPECT_EQ(2, log.ErrorCount());
    EXPECT_TRUE(log.Contains("_texture != NULL")) << log.Text();
}

TEST_F(TextureControlsTest, ClickablePictureReactsOnlyOverOpaquePixelsWhileShown) {
    Build(List(Picture("McStaticTextureControl", "half", 100, 100,
                       "<messageReceiver name='pic'/><message value='picked' receiver='tester'/>")));
    Listener tester("tester");
    LogCapture log;
    Move(130, 110);  // transparent
    Down(130, 110);
    EXPECT_FALSE(container->IsMouseCaptured());
    Up(130, 110);
    Click(110, 110);
    EXPECT_EQ(Texts{"picked"}, tester.messages);
    EXPECT_EQ(Texts{"beauty_take"}, Played());
    SendMessage("pic", "hide");
    Click(110, 110);
    EXPECT_EQ(1u, tester.messages.size());
    EXPECT_TRUE(DrawOnly().empty());
    SendMessage("pic", "show");
    EXPECT_EQ(1u, DrawOnly().size());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
    SendMessage("pic", "show");
    EXPECT_TRUE(log.Contains("!_doShow"));
}

TEST_F(TextureControlsTest, ExpandingPictureTimeline) {
    Build(List("<ExpandingTextureControl>" + Position(100, 100) +
               "<texture textureId='full'/><messageReceiver name='pop'/></ExpandingTextureControl>"));
    auto pop = Child<ExpandingTextureControl>(0);
    LogCapture log;
    EXPECT_TRUE(Frame(0.5f).empty());  // hidden until "show"
    SendMessage("pop", "show");
    struct Step {
        float dt;
        float time;
        float alpha;  // < 0: not drawn
        float scale;
    } steps[] = {
        {0.25f, 0.25f, 0.25f, 0.5f - 0.0f},  // scale filled in below from the curve
        {0.25f, 0.5f, 0.5f, 1.0f},
        {0.5f, 1.0f, 1.0f, 1.0f},
        {1.0f, 2.0f, 1.0f, 1.0f},
        {1.0f, 3.0f, 1.0f, 1.0f},
        {1.0f, 4.0f, 1.0f, 1.0f},
        {0.5f, 4.5f, 0.5f, 1.0f},
        {0.5f, 5.0f, -1.0f, 0.0f},
    };
    // The curve over the keys 0, 1, 1 at p = 0.25: Hermite of the first half with gradients 1 and 0.5.
    const float u = 0.5f;
    steps[0].scale = (2 * u * u * u - 3 * u * u + 1) * 0 + (3 * u * u - 2 * u * u * u) * 1 + (u * u * u - 2 * u * u + u) * 1 +
                     (u * u * u - u * u) * 0.5f;
    for (const Step& s : steps) {
        const std::vector<Quad> quads = Frame(s.dt);
        EXPECT_FLOAT_EQ(s.time, pop->GetTime());
        float alpha = 0.0f, scale = 0.0f;
        if (s.alpha < 0.0f) {
            EXPECT_FALSE(pop->GetLook(alpha, scale)) << s.time;
            EXPECT_TRUE(quads.empty()) << s.time;
            continue;
        }
        ASSERT_TRUE(pop->GetLook(alpha, scale)) << s.time;
        EXPECT_FLOAT_EQ(s.alpha, alpha) << s.time;
        EXPECT_NEAR(s.scale, scale, 1e-5) << s.time;
        ASSERT_EQ(1u, quads.size()) << s.time;
        EXPECT_NEAR(s.alpha * 255.0f, quads[0].alpha, 1.0f) << s.time;
        EXPECT_NEAR(40.0f * s.scale, quads[0].width, 1.0f) << s.time;  // scaled about its centre
        EXPECT_NEAR(120.0f - 20.0f * s.scale, quads[0].x, 1.0f) << s.time;
    }
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(TextureControlsTest, ExpandingPictureShowAndPresses) {
    Build(List("<ExpandingTextureControl>" + Position(100, 100) +
               "<texture textureId='full'/><messageReceiver name='pop'/></ExpandingTextureControl>"));
    auto pop = Child<ExpandingTextureControl>(0);
    struct Case {
        float at;         // time reached after "show"
        const char* act;  // "show" or "press"
        float then;
    } cases[] = {
        {4.25f, "show", 0.75f},  // shrinking: grows again from the same size
        {2.5f, "show", 1.0f},    // shown: three more seconds
        {0.5f, "show", 0.5f},    // expanding: nothing
        {2.0f, "press", 4.0f},   // shown: shrinks at once
        {0.5f, "press", 0.5f},   // expanding: nothing
        {4.5f, "press", 4.5f},   // already shrinking
    };
    for (const Case& c : cases) {
        SendMessage("pop", "show");
        Frame(100.0f);  // far past the end: hidden (the step is cut to 1 s per frame)
        while (pop->GetTime() < 5.0f) Frame(1.0f);
        SendMessage("pop", "show");
        ASSERT_FLOAT_EQ(0.0f, pop->GetTime());
        for (float left = c.at; left > 0.0f; left -= 1.0f) Frame(std::min(left, 1.0f));  // frames of at most 1 s
        if (std::string(c.act) == "show") {
            SendMessage("pop", "show");
        } else {
            Click(700, 500);  // anywhere on the screen
            EXPECT_FALSE(container->IsMouseCaptured());
        }
        EXPECT_FLOAT_EQ(c.then, pop->GetTime()) << c.act << " at " << c.at;
    }
}

TEST_F(TextureControlsTest, SensorTellsWhenThePointerRestsOnAChild) {
    Build(List("<MouseHandledSensorControl>" + Position(0, 0) +
               "<message receiver='tester' active='on' normal='off'/><children>" +
               Picture("StaticTextureControl", "full", 100, 100) + "</children></MouseHandledSensorControl>"));
    Listener tester("tester");
    Move(110, 110);
    Move(112, 110);
    EXPECT_EQ(Texts{"on"}, tester.messages);
    Move(300, 300);
    Move(310, 300);
    EXPECT_EQ((Texts{"on", "off"}), tester.messages);
    Move(110, 110);
    container = nullptr;  // destroyed while hovered
    EXPECT_EQ((Texts{"on", "off", "on", "off"}), tester.messages);
}

TEST_F(TextureControlsTest, StretchedBackgroundCoversTheScreen) {
    Build(List("<StretchBackgroundControl>" + Position(30, 40) +
               "<texture id='half'/><messageReceiver name='null'/></StretchBackgroundControl>"));
    const std::vector<Quad> quads = DrawOnly();
    ASSERT_EQ(1u, quads.size());
    EXPECT_EQ(0, quads[0].x);
    EXPECT_EQ(0, quads[0].y);
    EXPECT_EQ(800, quads[0].width);
    EXPECT_EQ(600, quads[0].height);
}

TEST_F(TextureControlsTest, MissingTextureIsReportedAndThePictureStaysEmpty) {
    LogCapture log;
    Build(List(Picture("StaticTextureControl", "nothing", 0, 0)));
    EXPECT_TRUE(log.Contains("Texture 'nothing' not found")) << log.Text();
    Click(5, 5);
    EXPECT_FALSE(container->IsMouseCaptured());
    EXPECT_TRUE(DrawOnly().empty());
}

}  // namespace
