// The tooltip: where its frame goes in each mode, the nine parts of the frame, the text it
// frames, and what it does when there is no text to frame.
#include <gtest/gtest.h>

#include "controls/BoundingPointsSource.h"
#include "controls/ControlFactory.h"
#include "controls/InscribableConsumer.h"
#include "controls/MouseEvents.h"
#include "tests/support/TestSupport.h"
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/ToolTipControl.h"

namespace {

using testing_support::LogCapture;

std::string Tip(const std::string& mode, int x, int y, const std::string& children, const std::string& more = "") {
    return "<ToolTipControl mode='" + mode + "'><position x='" + std::to_string(x) + "' y='" + std::to_string(y) +
           "'/><texture textureId='frame'/><indent left='10' right='12' top='14' bottom='12'/>"
           "<fixed left='16' right='16' top='16' bottom='16'/><children>" +
           children + "</children>" + more + "</ToolTipControl>";
}

// Three characters of the 10-wide test font: 30 wide, 20 high.
std::string Text(int x, int y, const std::string& line = "abc") {
    return "<StaticTextControl><position x='" + std::to_string(x) + "' y='" + std::to_string(y) +
           "'/><div fontName='fixed' align='left'><line>" + line + "</line></div></StaticTextControl>";
}

// Reports two fixed points off its position, as a text control would report its corners.
class PointsControl : public MouseTransparentControl, public BoundingPointsSource {
public:
    PointsControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
        : MouseTransparentControl(parent, xml) {
        InscribableConsumer::AddGlobalChild(ObjectWeakPointer<Control>(this));
    }
    void Draw() override {}
    void Update(float) override {}
    void AddBoundingPoints(std::vector<FPoint>& points) override {
        const Point p = GetAbsolutePos();
        points.push_back(FPoint(static_cast<float>(p.x) + 3.7f, static_cast<float>(p.y) + 1.2f));
        points.push_back(FPoint(static_cast<float>(p.x) + 120.2f, static_cast<float>(p.y) + 30.9f));
    }
};

class ToolTipTest : public widgets_test::TextControlTest {
protected:
    void SetUp() override {
        TextControlTest::SetUp();
        WritePicture("frame.png", 64, 64, 64);
        LoadResources("<Textures upload='refcount' storage='memory-keeping'><texture id='frame' path='frame.png'/></Textures>");
    }

    ObjectWeakPointer<ToolTipControl> TipControl() { return container->GetRoot().Cast<ToolTipControl>(); }

    Point Corner(const std::string& mode, Point mouse, int w, int h, Point position = Point(0, 0)) {
        Build(Tip(mode, position.x, position.y, Text(0, 0)));
        Point corner;
        EXPECT_TRUE(TipControl()->PlaceFrame(mouse, w, h, Rect(2, 3, 40, 20), corner));
        return corner;
    }
};

TEST_F(ToolTipTest, PlacesTheFrameByItsMode) {
    struct Case {
        const char* mode;
        Point mouse, position;
        int w, h;
        Point corner;
    };
    const Case cases[] = {
        // Below and right of the pointer, pushed left to end at x 790.
        {"mouse-moving-down-right", Point(700, 300), Point(0, 0), 150, 60, Point(640, 210)},
        {"mouse-moving-down-right", Point(300, 300), Point(0, 0), 150, 60, Point(300, 210)},
        // Too close to the bottom: above the pointer instead.
        {"mouse-moving-down-right", Point(100, 50), Point(0, 0), 150, 60, Point(100, 60)},
        // The upper-right corner is the tooltip's own position.
        {"parent-right-top", Point(5, 5), Point(500, 400), 150, 60, Point(350, 340)},
        // Halves truncate toward zero.
        {"parent-center-middle", Point(5, 5), Point(400, 300), 151, 61, Point(325, 270)},
        {"parent-center-bottom", Point(5, 5), Point(400, 300), 151, 61, Point(325, 300)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        LogCapture log;
        const Point corner = Corner(c.mode, c.mouse, c.w, c.h, c.position);
        EXPECT_EQ(corner.x, c.corner.x);
        EXPECT_EQ(corner.y, c.corner.y);
        EXPECT_EQ(log.ErrorCount(), 0);
    }
    // The extra control's place: the frame's middle (less half the text in the bottom mode), on the indent.
    Corner("parent-center-middle", Point(0, 0), 151, 61, Point(400, 300));
    EXPECT_EQ(TipControl()->GetExtraPosition().x, 325 + 75);
    EXPECT_EQ(TipControl()->GetExtraPosition().y, 270 + 12);
    Corner("parent-center-bottom", Point(0, 0), 151, 61, Point(400, 300));
    EXPECT_EQ(TipControl()->GetExtraPosition().x, 325 + 75 - 20 - 2);
    EXPECT_EQ(TipControl()->GetExtraPosition().y, 300 + 12);
}

TEST_F(ToolTipTest, FramesTheTextInNineParts) {
    LogCapture log;
    Build(Tip("mouse-moving-down-right", 0, 0, Text(7, 9)));
    const float expected[] = {0.0f, 0.25f, 0.75f, 1.0f};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(TipControl()->GetU()[i], expected[i]);
        EXPECT_FLOAT_EQ(TipControl()->GetV()[i], expected[i]);
    }
    Rect r;
    ASSERT_TRUE(TipControl()->GetTextRectangle(r));
    EXPECT_EQ(r.width, 30);
    EXPECT_EQ(r.height, 20);
    Move(200, 300);
    const int w = 10 + 12 + r.width, h = 14 + 12 + r.height;
    const int x0 = 200, y0 = 300 - h - 30;
    const int xs[] = {x0, x0 + 16, x0 + w - 16, x0 + w};
    const int ys[] = {y0, y0 + 16, y0 + h - 16, y0 + h};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(TipControl()->GetX()[i], xs[i]);
        EXPECT_EQ(TipControl()->GetY()[i], ys[i]);
    }
    const std::vector<pictures_test::Quad> quads = DrawOnly();
    ASSERT_GE(quads.size(), 9u);
    // Column by column, bottom to top.
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            const pictures_test::Quad& q = quads[static_cast<std::size_t>(i * 3 + j)];
            EXPECT_EQ(q.x, xs[i]);
            EXPECT_EQ(q.y, ys[j]);
            EXPECT_EQ(q.width, xs[i + 1] - xs[i]);
            EXPECT_EQ(q.height, ys[j + 1] - ys[j]);
        }
    }
    // The text's rectangle lands on the indents inside the frame.
    const widgets_test::Box text = DrawnBox(9);
    EXPECT_FLOAT_EQ(text.left, static_cast<float>(x0 + 10));
    EXPECT_FLOAT_EQ(text.bottom, static_cast<float>(y0 + 12));
    EXPECT_EQ(log.ErrorCount(), 0);
}

TEST_F(ToolTipTest, FramesTextAtAnyDepthButNotTheExtraControl) {
    LogCapture log;
    const std::string nested = "<FixedChildrenListControl><position x='100' y='0'/><children>" + Text(0, 50) +
                               "</children></FixedChildrenListControl>";
    Build(Tip("parent-center-middle", 400, 300, Text(0, 0) + nested,
              "<extra>" + Text(500, 500, "a much longer line of text") + "</extra>"));
    EXPECT_EQ(TipControl()->GetInscribableChildren().size(), 2u);
    Rect r;
    ASSERT_TRUE(TipControl()->GetTextRectangle(r));
    EXPECT_EQ(r.width, 130);
    EXPECT_EQ(r.height, 70);
    EXPECT_EQ(log.ErrorCount(), 0);
}

TEST_F(ToolTipTest, TheTextRectangleTruncatesItsPoints) {
    if (!ControlFactory::IsControlRegistered("PointsControl")) {
        ControlFactory::RegisterControl("PointsControl", ControlFactory::Make<PointsControl>());
    }
    LogCapture log;
    // Wherever the tooltip stands, the rectangle is relative to its origin.
    Build(Tip("parent-right-top", 400, 300, "<PointsControl><position x='0' y='0'/></PointsControl>"));
    Move(50, 50);
    Rect r;
    ASSERT_TRUE(TipControl()->GetTextRectangle(r));
    EXPECT_EQ(r.x, 3);
    EXPECT_EQ(r.width, 117);
    EXPECT_EQ(r.y, 1);
    EXPECT_EQ(r.height, 29);
    EXPECT_EQ(log.ErrorCount(), 0);
}

// Reported at the first layout only: not on the moves that follow, nor by the next such box.
TEST_F(ToolTipTest, WithoutTextItIsReportedOnceAndNeitherLaidOutNorDrawn) {
    const std::string cases[] = {Tip("mouse-moving-down-right", 0, 0, ""),
                                 Tip("mouse-moving-down-right", 0, 0, Text(0, 0, ""))};
    LogCapture log;
    for (const std::string& xml : cases) {
        Build(xml);
        for (int k = 0; k < 3; ++k) {
            Move(300 + k, 300);
            EXPECT_FALSE(TipControl()->IsLaidOut());
            EXPECT_TRUE(DrawOnly().empty());
        }
    }
    const std::string text = log.Text();
    // As the log writes them.
    for (const char* check : {"points.size() &gt; 0", "points.size() != 0"}) {
        const std::string line = std::string("Assertion failed: ") + check;
        const std::size_t first = text.find(line);
        EXPECT_NE(std::string::npos, first) << check << "\n" << text;
        EXPECT_EQ(std::string::npos, text.find(line, first + 1)) << check << "\n" << text;
    }
}

TEST_F(ToolTipTest, BadFrameSettingsAreReported) {
    struct Case {
        std::string xml;
        const char* expression;
    };
    const Case cases[] = {
        {Tip("sideways", 0, 0, Text(0, 0)), "isKnownMode"},
        {"<ToolTipControl mode='parent-right-top'><position x='0' y='0'/><texture textureId='frame'/>"
         "<indent left='1' right='1' top='1' bottom='1'/><fixed left='40' right='30' top='16' bottom='16'/>"
         "<children>" + Text(0, 0) + "</children></ToolTipControl>",
         "_fixedLeft + _fixedRight < textureWidth"},
    };
    for (const Case& c : cases) {
        LogCapture log;
        Build(c.xml);
        EXPECT_TRUE(log.Contains(c.expression)) << c.xml;
    }
}

}  // namespace
