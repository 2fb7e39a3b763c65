// The rich static text control in a container: block and line layout, alignment, blocks from
// resources, links under the mouse and their clicks, and the corners it reports.
#include <gtest/gtest.h>

#include <sstream>

#include "content/TemplateLib.h"
#include "controls/ControlFactory.h"
#include "controls/InscribableConsumer.h"
#include "core/XmlRead.h"
#include "tests/controls/ControlTestSupport.h"
#include "tests/support/TestSupport.h"
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/StaticTextControl.h"

namespace {

using pictures_test::Listener;
using pictures_test::Quad;
using testing_support::LogCapture;
using Texts = std::vector<std::string>;

std::string TextControl(const std::string& divs, int x, int y, const std::string& attributes = "") {
    return "<StaticTextControl" + attributes + "><position x='" + std::to_string(x) + "' y='" + std::to_string(y) +
           "'/>" + divs + "</StaticTextControl>";
}

std::string Link(const std::string& text, const std::string& message, const std::string& more = "") {
    return "{link normalFontName='fixed' activeFontName='wide' receiver='tester' message='" + message +
           "' activeSound='hover' pressedSound='press'" + more + "}" + text + "{/link}";
}

std::string List(const std::string& children) {
    return "<FixedChildrenListControl><position x='0' y='0'/><children>" + children +
           "</children></FixedChildrenListControl>";
}

// A run's rectangle: left, bottom, right, top.
struct Rect4 {
    int left, bottom, right, top;
    bool operator==(const Rect4& o) const {
        return left == o.left && bottom == o.bottom && right == o.right && top == o.top;
    }
    friend std::ostream& operator<<(std::ostream& out, const Rect4& r) {
        return out << "(" << r.left << "," << r.bottom << " " << r.right << "," << r.top << ")";
    }
};

class StaticTextControlTest : public widgets_test::TextControlTest {
protected:
    void SetUp() override {
        TextControlTest::SetUp();
        WritePicture("w101.png", 101, 10, 101);
        LoadResources(
            "<Textures upload='refcount' storage='memory-keeping'><texture id='w101' path='w101.png'/></Textures>");
    }

    ObjectWeakPointer<StaticTextControl> Text(int index = -1) {
        ObjectWeakPointer<Control> root = container->GetRoot();
        if (index >= 0) {
            root = root.Cast<FixedChildrenListControl>()->GetChildren()[static_cast<std::size_t>(index)];
        }
        return root.Cast<StaticTextControl>();
    }

    // The rectangles of the runs, as the control reports their corners.
    std::vector<Rect4> Runs(const ObjectWeakPointer<StaticTextControl>& text) {
        std::vector<FPoint> points;
        text->AddBoundingPoints(points);
        std::vector<Rect4> runs;
        for (std::size_t i = 0; i + 3 < points.size(); i += 4) {
            runs.push_back(Rect4{static_cast<int>(points[i]._x), static_cast<int>(points[i]._y),
                               static_cast<int>(points[i + 3]._x), static_cast<int>(points[i + 3]._y)});
        }
        return runs;
    }

    // The first link of the first line of the first block.
    ObjectSmartPointer<StaticTextLink> FirstLink(int index = -1) {
        const ObjectSmartPointer<StaticTextDiv> div = Text(index)->GetDivs()[0];
        const ObjectSmartPointer<StaticTextLine> line = div->GetLines()[0].Cast<StaticTextLine>();
        for (const auto& run : line->GetRuns()) {
            if (run.InstanceOf<StaticTextLink>()) return run.Cast<StaticTextLink>();
        }
        return ObjectSmartPointer<StaticTextLink>();
    }

    Listener tester{"tester"};
};

TEST_F(StaticTextControlTest, WithoutBlocksItIsReportedAndShowsNothing) {
    LogCapture log;
    Build(TextControl("", 100, 100));
    EXPECT_TRUE(log.Contains("divXml != NULL")) << log.Text();
    EXPECT_TRUE(Frame(0.1f).empty());
    EXPECT_EQ(0, Text()->GetTotalHeight());
}

TEST_F(StaticTextControlTest, FaultyFormatsAreReportedOnceNotEveryFrame) {
    LogCapture log;
    Build(TextControl("<div fontName='nothing'><line>a</line></div>"
                      "<div fontName='fixed' align='middle' valign='center'><line>b</line>"
                      "<line fontName='none'>{span fontName='neither'}c{/span}</line></div>",
                      100, 100));
    const int errors = log.ErrorCount();
    // The three unknown fonts (the two of the blocks fail one check at one place: written once), the
    // two alignments.
    EXPECT_EQ(4, errors) << log.Text();
    for (int i = 0; i < 3; ++i) Frame(0.1f);
    Move(100, 100);
    EXPECT_EQ(errors, log.ErrorCount()) << log.Text();
    // "b" still shows, centred and "middle" as the alignments fall back to; the runs in unknown
    // fonts take no room.
    EXPECT_EQ((std::vector<Rect4>{{100, 100, 100, 100}, {95, 100, 105, 120}, {100, 80, 100, 100}}), Runs(Text()));
}

TEST_F(StaticTextControlTest, LinesAreAlignedOnThePosition) {
    const struct {
        const char* align;
        int x;
    } cases[] = {{"center", 350}, {"left", 400}, {"right", 299}};  // a centred 101 moves left by 50
    for (const auto& c : cases) {
        LogCapture log;
        Build(TextControl(std::string("<div fontName='fixed' align='") + c.align +
                              "'><line>{image}w101{/image}</line></div>",
                          400, 300));
        const std::vector<Quad> quads = Frame(0.1f);
        ASSERT_EQ(1u, quads.size()) << c.align;
        EXPECT_EQ(c.x, quads[0].x) << c.align;
        EXPECT_EQ(280, quads[0].y) << c.align;  // on the lower edge of the line below the position
        EXPECT_EQ(101, quads[0].width);
        // A picture's corners are its own, not the line's height.
        EXPECT_EQ((std::vector<Rect4>{{c.x, 280, c.x + 101, 290}}), Runs(Text())) << c.align;
        EXPECT_EQ(0, log.ErrorCount()) << log.Text();
    }
}

TEST_F(StaticTextControlTest, BlocksStandByTheirVerticalAlignment) {
    // Lines "a" (20 high) and "b" (21 high: 20 x 1.06, truncated) or one "wide" line (30 high).
    const std::string twoLines = "><line>a</line><line heightScale='1.06'>b</line></div>";
    const struct {
        std::string divs;
        std::string attributes;
        std::vector<Rect4> runs;
    } cases[] = {
        {"<div align='left' fontName='fixed'" + twoLines, "", {{400, 280, 410, 300}, {400, 259, 410, 280}}},
        {"<div align='left' fontName='fixed' valign='top'" + twoLines, "", {{400, 321, 410, 341}, {400, 300, 410, 321}}},
        // "middle", 41 high: the pen goes up by 21 before the lines.
        {"<div align='left' fontName='fixed' valign='middle'" + twoLines, "", {{400, 301, 410, 321}, {400, 280, 410, 301}}},
        // Centred on the position: 41 / 2 = 20 higher.
        {"<div align='left' fontName='fixed'" + twoLines, " valign='true'", {{400, 300, 410, 320}, {400, 279, 410, 300}}},
        // Two "bottom" blocks stack downwards: 300..280 and 280..250.
        {"<div align='left' fontName='fixed'><line>a</line></div><div align='left' fontName='wide'><line>c</line></div>", "",
         {{400, 280, 410, 300}, {400, 250, 412, 280}}},
        // A "top" block leaves the pen where it found it: the next block overlaps it.
        {"<div align='left' fontName='fixed' valign='top'><line>a</line></div><div align='left' fontName='fixed'><line>c</line></div>", "",
         {{400, 300, 410, 320}, {400, 280, 410, 300}}},
    };
    for (const auto& c : cases) {
        LogCapture log;
        Build(TextControl(c.divs, 400, 300, c.attributes + " "));
        EXPECT_EQ(c.runs, Runs(Text())) << c.divs << c.attributes;
        EXPECT_EQ(0, log.ErrorCount()) << log.Text();
    }
}

TEST_F(StaticTextControlTest, NestedBlocksAndLinesOverrideTheFormat) {
    LogCapture log;
    Build(TextControl("<div fontName='fixed' align='left' heightScale='1.5'>"
                      "<line>a</line>"
                      "<line fontName='wide'>b</line>"
                      "<div fontName='wide' heightScale='1.0'><line fontScale='2.0'>c</line></div>"
                      "</div>",
                      0, 200));
    // Heights 30 (20 x 1.5), 30 (kept with the new font), 30 (the wide font's own); the scaled
    // "c" is 24 wide.
    EXPECT_EQ(90, Text()->GetTotalHeight());
    EXPECT_EQ((std::vector<Rect4>{{0, 170, 10, 200}, {0, 140, 12, 170}, {0, 110, 24, 140}}), Runs(Text()));
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(StaticTextControlTest, BlockContentFromResources) {
    {
        // "hack:" gives one line of markup; the block's own lines are not read (and reported so).
        LogCapture log;
        Build(TextControl("<div fontName='fixed' resourceName=\"hack:" + Link("Go", "go") +
                              "\"><line>not read</line></div>",
                          400, 300));
        ASSERT_EQ(1u, Text()->GetDivs()[0]->GetLines().size());
        EXPECT_TRUE(FirstLink() != NULL);
        EXPECT_EQ(1, log.ErrorCount()) << log.Text();
        EXPECT_TRUE(log.Contains("not-visited-marked.xml")) << log.Text();
    }
    {
        // A template block is drawn in the referring block's font; the template keeps its own.
        LogCapture log;
        const std::string text = "<div fontName='wide'><line>xy</line></div>";
        ObjectSmartPointer<XmlDocument> doc(new XmlDocumentRead(text.data(), text.data() + text.size()));
        TemplateLib::AddTemplate(ObjectSmartPointer<XmlElement>(new XmlElement(doc->GetRoot())), "caption");
        Build(TextControl("<div fontName='fixed' align='left' resourceName='caption'/>", 0, 100));
        EXPECT_EQ((std::vector<Rect4>{{0, 80, 20, 100}}), Runs(Text()));
        EXPECT_EQ("wide", TemplateLib::GetTemplate("caption")->GetStringAttribute("fontName"));
        TemplateLib::RemoveTemplate("caption");
        EXPECT_EQ(0, log.ErrorCount()) << log.Text();
    }
}

TEST_F(StaticTextControlTest, LinkHitRectangleIsItsDrawnRectangle) {
    // Two blocks; the link in the first. Its drawn glyphs cover exactly its line's rectangle.
    Build(TextControl("<div fontName='fixed' align='left'><line>ab" + Link("cd", "go") +
                          "</line></div><div fontName='fixed' align='left'><line>" + Link("ef", "other") +
                          "</line></div>",
                      100, 300));
    const std::vector<Quad> quads = Frame(0.1f);
    ASSERT_EQ(3u, quads.size());
    const widgets_test::Box drawn = DrawnBox(1, 1);
    EXPECT_EQ((std::vector<Rect4>{{100, 280, 120, 300}, {120, 280, 140, 300}, {100, 260, 120, 280}}), Runs(Text()));
    EXPECT_FLOAT_EQ(120.0f, drawn.left);
    EXPECT_FLOAT_EQ(140.0f, drawn.right);
    EXPECT_FLOAT_EQ(280.0f, drawn.bottom);
    EXPECT_FLOAT_EQ(300.0f, drawn.top);
    const ObjectSmartPointer<StaticTextLink> link = FirstLink();
    const struct {
        int x, y;
        bool over;
    } probes[] = {
        {120, 280, true},  {139, 299, true}, {130, 290, true},  {119, 290, false}, {140, 290, false},
        {130, 279, false}, {130, 300, false}, {110, 290, false}, {110, 270, false},
    };
    for (const auto& p : probes) {
        Move(790, 590);
        Move(p.x, p.y);
        EXPECT_EQ(p.over, link->IsActive()) << p.x << "," << p.y;
    }
}

// In every vertical alignment a link after a nested block is hovered exactly where it is drawn,
// and so is one in a second block after such a block.
TEST_F(StaticTextControlTest, ALinkAfterANestedBlockIsHoveredWhereItIsDrawn) {
    for (const char* valign : {"top", "middle", "bottom"}) {
        SCOPED_TRACE(valign);
        LogCapture log;
        const std::string block = std::string("<div fontName='fixed' align='left' valign='") + valign +
                                  "'><line>a</line><div><line>b</line><line>c</line></div><line>" + Link("cd", "go") +
                                  "</line></div>";
        Build(TextControl(block + block, 100, 300));
        Frame(0.1f);
        for (int div = 0; div < 2; ++div) {
            // The link draws fourth in its block: a, b, c, then the link.
            const widgets_test::Box drawn = DrawnBox(4 * div + 3, 1);
            const ObjectSmartPointer<StaticTextLine> line = Text()->GetDivs()[div]->GetLines()[2].Cast<StaticTextLine>();
            const ObjectSmartPointer<StaticTextLink> link = line->GetRuns()[0].Cast<StaticTextLink>();
            const int left = static_cast<int>(drawn.left), right = static_cast<int>(drawn.right);
            const int bottom = static_cast<int>(drawn.bottom), top = static_cast<int>(drawn.top);
            EXPECT_EQ(20, right - left);
            EXPECT_EQ(20, top - bottom);
            const struct {
                int x, y;
                bool over;
            } probes[] = {{left, bottom, true},       {right - 1, top - 1, true}, {left, bottom - 1, false},
                          {left, top, false},         {left - 1, bottom, false},  {right, bottom, false}};
            for (const auto& p : probes) {
                Move(790, 590);
                Move(p.x, p.y);
                EXPECT_EQ(p.over, link->IsActive()) << div << ": " << p.x << "," << p.y;
            }
        }
        EXPECT_EQ(0, log.ErrorCount()) << log.Text();
        container = nullptr;
    }
}

TEST_F(StaticTextControlTest, LinkStates) {
    Build(TextControl("<div fontName='fixed' align='left'><line>" + Link("cd", "go") + "</line></div>", 100, 300));
    const ObjectSmartPointer<StaticTextLink> link = FirstLink();
    // "m x y" moves, "d" and "u" press and release where the mouse is; each step with what
    // follows: active, captured by the link, messages, sounds.
    const struct {
        const char* steps;
        bool active, captured;
        Texts messages, sounds;
    } table[] = {
        {"m 105 290", true, false, {}, {"hover"}},
        {"m 106 291", true, false, {}, {}},
        {"d", true, true, {}, {"press"}},
        {"u", true, false, {"go"}, {}},
        {"m 50 50", false, false, {}, {}},
        {"d u", false, false, {}, {}},  // a press away from the link
        {"m 105 290 d m 50 50", false, true, {}, {"hover", "press"}},
        {"m 105 290", true, true, {}, {"press"}},  // back over it while pressed
        {"m 50 50 u", false, false, {}, {}},       // released elsewhere: nothing sent
        {"m 105 290", true, false, {}, {"hover"}},
    };
    int x = 0, y = 0;
    for (const auto& row : table) {
        std::istringstream in(row.steps);
        std::string op;
        while (in >> op) {
            if (op == "m" && in >> x >> y) Move(x, y);
            if (op == "d") container->MouseDown(x, y);
            if (op == "u") container->MouseUp(x, y);
        }
        EXPECT_EQ(row.active, link->IsActive()) << row.steps;
        EXPECT_EQ(row.captured, link->IsMouseCapturedByThis()) << row.steps;
        EXPECT_EQ(row.captured, container->IsMouseCaptured()) << row.steps;
        EXPECT_EQ(row.messages, tester.messages) << row.steps;
        EXPECT_EQ(row.sounds, Played()) << row.steps;
        tester.messages.clear();
    }
}

TEST_F(StaticTextControlTest, OnlyTheLinkUnderTheMouseIsActiveAndControlsBehindIgnoreIt) {
    if (!ControlFactory::IsControlRegistered("Recorder")) {
        ControlFactory::RegisterControl("Recorder", ControlFactory::Make<controls_test::Recorder>());
    }
    Build(List(TextControl("<div fontName='fixed' align='left'><line>" + Link("ab", "first") + Link("cd", "second") +
                               "</line></div>",
                           100, 300) +
               controls_test::RecorderXml("behind", 90, 270, 60, 40)));
    const ObjectSmartPointer<StaticTextDiv> div = Text(0)->GetDivs()[0];
    const auto& runs = div->GetLines()[0].Cast<StaticTextLine>()->GetRuns();
    const ObjectSmartPointer<StaticTextLink> first = runs[0].Cast<StaticTextLink>();
    const ObjectSmartPointer<StaticTextLink> second = runs[1].Cast<StaticTextLink>();
    const struct {
        int x;
        bool first, second;
        const char* sent;
    } cases[] = {{119, true, false, "first"}, {120, false, true, "second"}, {125, false, true, "second"},
                 {95, false, false, ""}};
    for (const auto& c : cases) {
        controls_test::Trace().clear();
        tester.messages.clear();
        Move(c.x, 290);
        EXPECT_EQ(c.first, first->IsActive()) << c.x;
        EXPECT_EQ(c.second, second->IsActive()) << c.x;
        // The recorder behind sees the move already handled when a link took it.
        ASSERT_EQ(1u, controls_test::Trace().size());
        EXPECT_EQ(c.first || c.second, controls_test::Trace()[0].find(" -H") != std::string::npos)
            << c.x << " " << controls_test::Trace()[0];
        Down(c.x, 290);
        Up(c.x, 290);
        EXPECT_EQ(*c.sent ? Texts{c.sent} : Texts{}, tester.messages) << c.x;
        Move(790, 590);
    }
    Played();
}

TEST_F(StaticTextControlTest, RegistersWithTheConsumerBuildingIt) {
    if (!ControlFactory::IsControlRegistered("InscribableConsumer")) {
        ControlFactory::RegisterControl("InscribableConsumer", ControlFactory::Make<InscribableConsumer>());
    }
    Build("<InscribableConsumer><position x='0' y='0'/><children>" +
          TextControl("<div fontName='fixed'><line>a</line></div>", 10, 10) +
          "</children></InscribableConsumer>");
    const auto consumer = container->GetRoot().Cast<InscribableConsumer>();
    ASSERT_EQ(1u, consumer->GetInscribableChildren().size());
    EXPECT_TRUE(consumer->GetInscribableChildren()[0].InstanceOf<StaticTextControl>());
    ControlFactory::UnregisterControl("InscribableConsumer");
}

}  // namespace
