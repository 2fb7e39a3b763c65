// Decorators driven through a real container: the pointer seen through zoom and rotation, glass
// panes, frames and colour rectangles, children masks and the raising picture.
#include <gtest/gtest.h>

#include "controls/FrameControls.h"
#include "controls/GlassControls.h"
#include "controls/RaisingTextureControl.h"
#include "controls/RotationControl.h"
#include "controls/ZoomControl.h"
#include "core/Message.h"
#include "tests/controls/DecoratorTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace decorators_test;
using pictures_test::Quad;
using testing_support::LogCapture;
using Texts = std::vector<std::string>;

class DecoratorInputTest : public DecoratorTest {};

std::string Zoom(const std::string& children, int x, int y, const std::string& zoom) {
    return Element("ZoomControl", x, y, children, "zoom='" + zoom + "'");
}

std::string Rotation(const std::string& children, int x, int y, int cx, int cy, const std::string& angle,
                     const std::string& units = "degrees") {
    return Element("RotationControl", x, y, children, "",
                   "<center x='" + std::to_string(cx) + "' y='" + std::to_string(cy) + "'/><angle value='" + angle +
                       "' units='" + units + "'/>");
}

int CountQuads(const std::vector<Quad>& quads, int x, int y, int w, int h) {
    int n = 0;
    for (const Quad& q : quads) {
        if (q.x == x && q.y == y && q.width == w && q.height == h) ++n;
    }
    return n;
}

TEST_F(DecoratorInputTest, ZoomScalesAboutItsPositionAndMapsThePointerBack) {
    LogCapture log;
    Build(List(Zoom(Recorder("r", 10, 0, 40, 20), 100, 100, "2.0")));
    Move(120, 100);
    Move(121, 101);  // (110.5, 100.5) rounds away from zero
    Move(180, 130);
    EXPECT_EQ(Seen("r"), (Texts{"move 110,100 --", "move 111,101 --", "move 140,115 --"}));

    // The button at (110, 100) is drawn at (120, 100), twice its size.
    Build(List(Zoom(Button("zoomed", 10, 0), 100, 100, "2.0")));
    EXPECT_EQ(CountQuads(DrawOnly(), 120, 100, 80, 40), 1);
    Click(115, 105);  // where the button lies unzoomed, outside the drawn one
    EXPECT_TRUE(tester.messages.empty());
    Click(190, 135);  // on the drawn button, beyond its unzoomed place
    EXPECT_EQ(tester.messages, (Texts{"zoomed"}));

    // Per axis: squashed towards the control's own y.
    Build(List(Element("XYZoomControl", 100, 100, Button("xy", 10, 0), "xZoom='1.0' yZoom='0.5'")));
    EXPECT_EQ(CountQuads(DrawOnly(), 110, 100, 40, 10), 1);
    Click(145, 108);
    EXPECT_EQ(tester.messages, (Texts{"zoomed", "xy"}));
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(DecoratorInputTest, ZeroZoomIsReportedAndNeitherDrawsNorDividesByZero) {
    LogCapture log;
    Build(List(Element("XYZoomControl", 100, 100, Recorder("r", 0, 0, 800, 600), "xZoom='0.0' yZoom='1.0'")));
    EXPECT_TRUE(log.Contains("xZoom > 0.0f"));
    EXPECT_TRUE(log.Contains("xZoom > 0"));
    const int reported = log.ErrorCount();
    Move(150, 120);
    // The pointer reaches the children unchanged, and nothing is drawn.
    EXPECT_EQ(Seen("r"), (Texts{"move 150,120 --"}));
    DrawOnly();
    EXPECT_EQ(Seen("r"), (Texts{"move 150,120 --"}));  // the frame's move, and no draw
    EXPECT_TRUE(log.Contains("_xZoom != 0"));
    EXPECT_GT(log.ErrorCount(), reported);
}

TEST_F(DecoratorInputTest, RotationTurnsAboutItsCenterAndMapsThePointerBack) {
    LogCapture log;
    Build(List(Rotation(Recorder("r", 200, 100, 40, 20), 0, 0, 100, 100, "90.0")));
    Move(100, 200);
    EXPECT_EQ(Seen("r"), (Texts{"move 200,100 --"}));

    // The button at (200, 100) turned a quarter counter-clockwise about (100, 100).
    Build(List(Rotation(Button("rotated", 200, 100), 0, 0, 100, 100, "90.0")));
    EXPECT_EQ(CountQuads(DrawOnly(), 80, 200, 20, 40), 1);
    Click(210, 105);  // the unrotated place
    EXPECT_TRUE(tester.messages.empty());
    Click(90, 220);
    EXPECT_EQ(tester.messages, (Texts{"rotated"}));
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(DecoratorInputTest, RotationAngleUnits) {
    Build(List(Rotation("", 0, 0, 0, 0, "180.0")));
    EXPECT_EQ(Child<RotationControl>(0)->GetAngle(), 3.1415927f);
    Build(List(Rotation("", 0, 0, 0, 0, "0.5", "radians")));
    EXPECT_EQ(Child<RotationControl>(0)->GetAngle(), 0.5f);
    LogCapture log;
    Build(List(Rotation("", 0, 0, 0, 0, "2.0", "turns")));
    EXPECT_EQ(log.ErrorCount(), 1);
    EXPECT_TRUE(log.Contains("false"));
    EXPECT_EQ(Child<RotationControl>(0)->GetAngle(), 2.0f);
}

TEST_F(DecoratorInputTest, NestedDecoratorsComposeAndRestoreTheEvent) {
    LogCapture log;
    // A half-turn inside a zoom, and a recorder behind both that must see the original pointer.
    Build(List(Zoom(Rotation(Recorder("inner", 0, 0, 10, 10), 0, 0, 50, 50, "180.0"), 100, 100, "2.0") +
               Recorder("behind", 0, 0, 800, 600)));
    Move(120, 140);  // zoom: (110, 120); half-turn about (150, 150): (190, 180)
    EXPECT_EQ(Seen("inner"), (Texts{"move 190,180 --"}));
    EXPECT_EQ(Seen("behind"), (Texts{"move 120,140 --"}));  // the event restored after the decorators
    Move(400, 500);  // inside both decorators: (50, 0), beside the inner recorder
    EXPECT_EQ(Seen("inner"), (Texts{"move 50,0 --"}));
    EXPECT_EQ(Seen("behind"), (Texts{"move 400,500 --"}));
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(DecoratorInputTest, ZeroAlphaChildrenAreInvisibleButTakeClicks) {
    Build(List(Element("ZeroAlphaControl", 0, 0, Button("hidden", 100, 100))));
    const std::vector<Quad> quads = DrawOnly();
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_EQ(quads[0].alpha, 0);
    Click(110, 110);
    EXPECT_EQ(tester.messages, (Texts{"hidden"}));
}

TEST_F(DecoratorInputTest, GlassBlocksEverythingBehindIt) {
    LogCapture log;
    Build(List(Button("front", 0, 0) + "<ZGlassControl>" + Position(0, 0) + "</ZGlassControl>" +
               Recorder("behind", 0, 0, 800, 600)));
    const auto glass = Child<ZGlassControl>(1);
    Move(300, 300);
    Down(300, 300);
    EXPECT_TRUE(glass->IsMouseCapturedByThis());
    Up(300, 300);
    EXPECT_FALSE(glass->IsMouseCapturedByThis());
    EXPECT_EQ(Seen("behind"), (Texts{"move 300,300 -H", "move 300,300 -H", "down C-", "move 300,300 C-",
                                     "move 300,300 C-", "up --", "move 300,300 -H"}));

    // Keys and characters are swallowed.
    bool keyHandled = false;
    bool charHandled = false;
    auto* behind = Child<controls_test::Recorder>(2).operator->();
    behind->onMove = [&](ObjectWeakPointer<MouseMoveEvent> e) {
        if (e.InstanceOf<KeyDownEvent>()) keyHandled = e.Cast<KeyDownEvent>()->IsKeyHandled();
        if (e.InstanceOf<CharEvent>()) charHandled = e.Cast<CharEvent>()->IsCharHandled();
    };
    container->AcceptMessage(Message("KeyPress", "-13"));
    container->AcceptMessage(Message("KeyPress", "65"));
    EXPECT_TRUE(keyHandled);
    EXPECT_TRUE(charHandled);

    // The button in front of the glass works.
    Click(10, 10);
    EXPECT_EQ(tester.messages, (Texts{"front"}));
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(DecoratorInputTest, MessageGlassSendsForPressesAndKeys) {
    LogCapture log;
    Build(List("<MessageZGlassControl>" + Position(0, 0) +
               "<message value='glass touched' receiver='tester'/></MessageZGlassControl>" +
               Recorder("behind", 0, 0, 800, 600)));
    bool keyHandled = false;
    bool charHandled = false;
    Child<controls_test::Recorder>(1)->onMove = [&](ObjectWeakPointer<MouseMoveEvent> e) {
        if (e.InstanceOf<KeyDownEvent>()) keyHandled = e.Cast<KeyDownEvent>()->IsKeyHandled();
        if (e.InstanceOf<CharEvent>()) charHandled = e.Cast<CharEvent>()->IsCharHandled();
    };
    container->AcceptMessage(Message("KeyPress", "-27"));
    EXPECT_EQ(tester.messages, (Texts{"glass touched"}));
    EXPECT_TRUE(keyHandled);
    container->AcceptMessage(Message("KeyPress", "97"));
    EXPECT_EQ(tester.messages.size(), 1u);
    EXPECT_TRUE(charHandled);
    Click(400, 300);
    EXPECT_EQ(tester.messages, (Texts{"glass touched", "glass touched"}));
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(DecoratorInputTest, MaskGlassLetsInputThroughItsTransparentPixels) {
    LogCapture log;
    // "half" is opaque on its left 20 columns.
    Build(List("<MaskZGlassControl>" + Position(100, 100) + "<texture textureId='half'/></MaskZGlassControl>" +
               Recorder("behind", 0, 0, 800, 600)));
    struct Case {
        int x, y;
        bool through;
    } cases[] = {{105, 105, false}, {119, 119, false}, {120, 105, true}, {139, 119, true}, {300, 300, false},
                 {140, 105, false}};
    for (const Case& c : cases) {
        Click(c.x, c.y);
        const Texts seen = Seen("behind");
        const bool clicked = std::find(seen.begin(), seen.end(), "click") != seen.end();
        EXPECT_EQ(clicked, c.through) << c.x << "," << c.y;
        EXPECT_EQ(seen.front(), "move " + std::to_string(c.x) + "," + std::to_string(c.y) + (c.through ? " --" : " -H"));
    }
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(DecoratorInputTest, RectangleFrameClipsAndHidesThePointerOutside) {
    LogCapture log;
    Build(List(Element("RectangleFrameControl", 100, 100, Recorder("r", 0, 0, 800, 600), "width='200' height='50'")));
    struct Case {
        int x, y;
        bool inside;
    } cases[] = {{100, 100, true}, {299, 149, true}, {300, 100, false}, {99, 120, false}, {150, 150, false}};
    for (const Case& c : cases) {
        Move(c.x, c.y);
        EXPECT_EQ(Seen("r"), (Texts{"move " + std::to_string(c.x) + "," + std::to_string(c.y) +
                                    (c.inside ? " --" : " -H")}));
    }
    // A press outside is seen as taken, and is not taken after the dispatch.
    Click(150, 160);
    EXPECT_EQ(Seen("r"), SeenClick(150, 160, false));

    // A button beyond the window is clipped away and dead; inside it is visible and works.
    Build(List(Element("RectangleFrameControl", 100, 100, Button("outside", 50, 60), "width='200' height='50'")));
    DrawOnly();
    ASSERT_FALSE(recording->draws.empty());
    for (const auto& draw : recording->draws) EXPECT_TRUE(draw.clipped.empty());
    Click(160, 165);
    Build(List(Element("RectangleFrameControl", 100, 100, Button("inside", 50, 20), "width='200' height='50'")));
    DrawOnly();
    ASSERT_FALSE(recording->draws.empty());
    EXPECT_FALSE(recording->draws.back().clipped.empty());
    Click(160, 125);
    EXPECT_EQ(tester.messages, (Texts{"inside"}));
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(DecoratorInputTest, TextureFrameIsSolidOnItsBorderAndOpenInItsWindow) {
    LogCapture log;
    // "frame" is 60 x 40 with an opaque border of 10 around a transparent middle.
    Build(List(Element("TextureFrameControl", 100, 100, Recorder("r", 0, 0, 60, 40), "",
                       "<texture textureId='frame'/>") +
               Recorder("behind", 0, 0, 800, 600)));
    const auto frame = Child<TextureFrameControl>(0);

    Click(130, 120);  // the window
    EXPECT_EQ(Seen("r"), SeenClick(130, 120, true));

    Seen("behind");
    Move(105, 105);  // the border
    Down(105, 105);
    EXPECT_TRUE(frame->IsMouseCapturedByThis());
    Up(105, 105);
    EXPECT_FALSE(frame->IsMouseCapturedByThis());
    Texts behind = Seen("behind");
    EXPECT_EQ(std::count(behind.begin(), behind.end(), "click"), 0);
    EXPECT_EQ(behind.front(), "move 105,105 -H");

    Click(300, 300);  // outside the picture: neither the frame nor its children
    behind = Seen("behind");
    EXPECT_EQ(std::count(behind.begin(), behind.end(), "click"), 1);
    EXPECT_FALSE(frame->IsMouseCapturedByThis());

    // The children are drawn first, under the picture.
    Build(List(Element("TextureFrameControl", 100, 100, Button("b", 10, 10), "", "<texture textureId='frame'/>")));
    const std::vector<Quad> quads = DrawOnly();
    ASSERT_EQ(quads.size(), 2u);
    EXPECT_EQ(quads[0].width, 40);
    EXPECT_EQ(quads[1].width, 60);
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(DecoratorInputTest, ColorRectangleDrawsUnderItsChildrenAndIsSolid) {
    LogCapture log;
    Build(List(Element("ColorRectangleControl", 100, 100, Button("on top", 10, 10), "",
                       "<rectangle width='200' height='100'/><color value='#00000080'/>") +
               Recorder("behind", 0, 0, 800, 600)));
    const std::vector<Quad> quads = DrawOnly();
    ASSERT_EQ(quads.size(), 2u);
    EXPECT_EQ(CountQuads({quads[0]}, 100, 100, 200, 100), 1);
    EXPECT_EQ(quads[0].alpha, 128);
    EXPECT_EQ(quads[1].width, 40);
    EXPECT_EQ(recording->draws[0].texture, nullptr);

    Seen("behind");
    Click(250, 150);  // inside, beside the button
    Texts behind = Seen("behind");
    EXPECT_EQ(behind.front(), "move 250,150 -H");
    EXPECT_EQ(std::count(behind.begin(), behind.end(), "click"), 0);
    EXPECT_FALSE(Child<ColorRectangleControl>(0)->IsMouseCapturedByThis());
    Click(120, 115);
    EXPECT_EQ(tester.messages, (Texts{"on top"}));
    Seen("behind");
    Click(350, 150);  // outside
    behind = Seen("behind");
    EXPECT_EQ(behind.front(), "move 350,150 --");
    EXPECT_EQ(std::count(behind.begin(), behind.end(), "click"), 1);
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(DecoratorInputTest, ChildrenMaskHitTable) {
    LogCapture log;
    // (x, y, reaches the children) for a rectangle mask (10, 10, 50 x 20) and for the window of
    // the frame picture, both on controls at (100, 100).
    struct Case {
        int x, y;
        bool in;
    };
    const Case rectangle[] = {{110, 110, true},  {159, 129, true},  {160, 110, false},
                              {109, 110, false}, {110, 130, false}, {300, 300, false}};
    const Case texture[] = {{130, 120, true}, {110, 110, true}, {149, 129, true},
                            {105, 105, false}, {150, 120, false}, {300, 300, false}};
    const std::string masks[] = {"<mask x='10' y='10' width='50' height='20'/>", "<mask textureId='frame'/>"};
    const std::string kinds[] = {"RectangleChildrenMaskControl", "TextureChildrenMaskControl"};
    for (int m = 0; m < 2; ++m) {
        Build(List(Element(kinds[m], 100, 100, Recorder("r", -100, -100, 800, 600), "", masks[m])));
        for (const Case& c : m == 0 ? rectangle : texture) {
            Click(c.x, c.y);
            EXPECT_EQ(Seen("r"), SeenClick(c.x, c.y, c.in)) << kinds[m] << " " << c.x << "," << c.y;
        }
    }
    // A release outside the mask still reaches the child that took the press inside it.
    Move(130, 120);
    Down(130, 120);
    Move(300, 300);
    Seen("r");
    Up(300, 300);
    EXPECT_EQ(Seen("r"), (Texts{"move 300,300 CH", "up C-", "click", "move 300,300 -H"}));
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(DecoratorInputTest, RaisingPictureLiftsWhileHovered) {
    LogCapture log;
    auto raising = [](const std::string& children) {
        return Element("RaisingTextureControl", 100, 100, children, "",
                       "<texture textureId='half'/><shift value='3'/><shadow alpha='0.5'/>");
    };
    Build(List(raising(Recorder("child", 0, 0, 0, 0)) + Recorder("behind", 0, 0, 800, 600)));
    const auto picture = Child<RaisingTextureControl>(0);
    RisingSounds();
    Move(105, 105);
    EXPECT_EQ(picture->GetInParentPos(), Point(97, 103));
    EXPECT_EQ(picture->GetShift(), 3);
    EXPECT_EQ(Seen("child").back(), "move 105,105 --");  // the children saw it at rest
    EXPECT_EQ(RisingSounds(), 1);
    Move(118, 118);  // within the opaque half
    EXPECT_EQ(picture->GetShift(), 3);
    EXPECT_EQ(RisingSounds(), 0);
    Move(130, 105);  // a transparent pixel
    EXPECT_EQ(picture->GetInParentPos(), Point(100, 100));
    Move(105, 105);
    EXPECT_EQ(picture->GetShift(), 3);
    EXPECT_EQ(RisingSounds(), 1);

    // Lifted: the shadow 3 right of and below the resting place, the picture 3 left and up.
    const std::vector<Quad> quads = DrawOnly();
    ASSERT_GE(quads.size(), 2u);
    EXPECT_EQ(quads[0].x, 103);
    EXPECT_EQ(quads[0].y, 97);
    EXPECT_EQ(quads[0].alpha, 127);
    EXPECT_EQ(quads[1].x, 97);
    EXPECT_EQ(quads[1].y, 103);

    // Pressed: it holds the mouse and stays up; the control behind sees the press taken.
    Seen("behind");
    Down(105, 105);
    EXPECT_TRUE(picture->IsMouseCapturedByThis());
    EXPECT_EQ(picture->GetShift(), 3);
    Up(105, 105);
    EXPECT_FALSE(picture->IsMouseCapturedByThis());
    const Texts behind = Seen("behind");
    EXPECT_EQ(std::count(behind.begin(), behind.end(), "click"), 0);

    // A move already handled in front never lifts it.
    Build(List(Recorder("front", 0, 0, 800, 600) + raising("")));
    Move(105, 105);
    EXPECT_EQ(Child<RaisingTextureControl>(1)->GetShift(), 0);
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

}  // namespace
