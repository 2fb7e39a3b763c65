// The line markup cut into runs, and the spans' texts: references to player values, their
// refreshing, colour, font and scale.
#include <gtest/gtest.h>

#include "content/ResourceManager.h"
#include "core/PermanentStorage.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"
#include "tests/support/TestSupport.h"
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/StaticTextControl.h"

namespace {

using testing_support::LogCapture;
using Texts = std::vector<std::string>;

class MarkupTest : public widgets_test::TextControlTest {
protected:
    void SetUp() override {
        TextControlTest::SetUp();
        WritePicture("icon.png", 12, 8, 12);
        LoadResources(
            "<Textures upload='refcount' storage='memory-keeping'><texture id='icon' path='icon.png'/></Textures>"
            "<Strings><string name='greeting' value='Hello'/></Strings>");
        format = ObjectSmartPointer<TextFormat>(new TextFormat("fixed", 1.0f, 1.0f, "left", "bottom"));
    }

    // Each run as kind, ':' and its text (an image: its width), after one preparation.
    static Texts Describe(const StaticTextLine& line) {
        Texts runs;
        for (const ObjectSmartPointer<StaticTextSpanOrLink>& run : line.GetRuns()) {
            int width = 0;
            run->PrepareDraw(width);
            std::vector<FPoint> points;
            Point pen;
            run->AddBoundingPoints(points, pen);
            if (run.InstanceOf<StaticTextLink>()) {
                runs.push_back("link:" + run.Cast<StaticTextLink>()->GetCurrentSpan()->GetText());
            } else if (run.InstanceOf<StaticTextSpan>()) {
                runs.push_back("span:" + run.Cast<StaticTextSpan>()->GetText());
            } else {
                runs.push_back("image:" + std::to_string(width));
            }
        }
        return runs;
    }

    ObjectSmartPointer<TextFormat> format;
};

TEST_F(MarkupTest, LinesAreCutIntoRuns) {
    PermanentStorage::SetLocalInt("Score", 1250);
    const std::string link =
        "{link normalFontName='fixed' activeFontName='wide' receiver='r' message='m' activeSound='null' "
        "pressedSound='null'}Go{/link}";
    const struct {
        std::string markup;
        Texts runs;
    } cases[] = {
        {"Score: {span color='#FFD000'}#local-int:Score/0#{/span} points", {"span:Score: ", "span:1250", "span: points"}},
        {"{span}x{/span}", {"span:x"}},
        {"  two  blanks ", {"span:  two  blanks "}},
        {"a{span dy='2'}b{/span}{span}c{/span}d", {"span:a", "span:b", "span:c", "span:d"}},
        {"{image}icon{/image} and " + link, {"image:12", "span: and ", "link:Go"}},
        {"{span}textResource:greeting{/span}, textResource:greeting", {"span:Hello", "span:, textResource:greeting"}},
        {"{span}#local-string:Name/Guest#{/span}", {"span:Guest"}},
    };
    for (const auto& c : cases) {
        LogCapture log;
        StaticTextLine line(c.markup, format);
        EXPECT_EQ(c.runs, Describe(line)) << c.markup;
        EXPECT_EQ(0, log.ErrorCount()) << c.markup << "\n" << log.Text();
    }
}

TEST_F(MarkupTest, AFaultIsReportedOnceAndTheRestShowsItsTextWithoutMarkup) {
    const struct {
        const char* markup;
        const char* check;
        Texts runs;
    } cases[] = {
        {"{span}x{/link}", "closingTag", {"span:x"}},
        {"a } b", "closeBracePos == std::string::npos", {"span:a  b"}},
        {"{span}x", "openBracePos != std::string::npos", {"span:x"}},
        {"{span}x}", "openBracePos != std::string::npos", {"span:x"}},
        {"{span}x{y", "closeBracePos != std::string::npos", {"span:x"}},
        {"ok {span x", "closeBracePos != std::string::npos", {"span:ok "}},
        {"ok } {span}x{/span}", "openBracePos < closeBracePos", {"span:ok  x"}},
        {"ab {bold}x{/bold} cd", "false", {"span:ab ", "span:x cd"}},
        {"{span dy='1'}a{/span}{link x='y'}b{/span}", "closingTag", {"span:a", "span:b"}},
        {"{span}{/span}after", "text.length() > 0", {"span:after"}},
        {"{span}a\tb{/span}", "c >= 32", {}},
        {"{span x='1' y='2'}a{/span}", "false", {"span:a"}},
        {"{span color='#FF0000' }a{/span}", "i != attributes.end()", {"span:a"}},
        {"{span}a#b{/span}", "endPos != std::string::npos", {"span:a"}},
        {"{span}#Score#x{/span}", "colonPos != std::string::npos", {"span:x"}},
        {"{span}#global-int:Score#x{/span}", "false", {"span:x"}},
        {"{link receiver='r' message='m' activeSound='null' pressedSound='null' activeFontName='wide'}Go{/link}",
         "i != map.end()", {"link:Go"}},
    };
    for (const auto& c : cases) {
        LogCapture log;
        StaticTextLine line(c.markup, format);
        EXPECT_EQ(c.runs, Describe(line)) << c.markup;
        EXPECT_EQ(1, log.ErrorCount()) << c.markup << "\n" << log.Text();
        EXPECT_TRUE(log.Contains(c.check)) << c.markup << "\n" << log.Text();
    }
}

TEST_F(MarkupTest, SpanDrawsInItsFontScaleShiftAndColour) {
    LogCapture log;
    StaticTextLine line("{span}Hi{/span}{span fontName='wide' fontScale='2.0' dy='5' color='#FF000080'}Hi{/span}",
                        format);
    ASSERT_EQ(2u, line.GetRuns().size());
    Point pen(100, 200);
    recording->draws.clear();
    line.Draw(pen);  // the line's bottom is 20 below the pen
    ASSERT_EQ(2u, recording->draws.size());
    const widgets_test::Box plain = DrawnBox(0, 1);
    EXPECT_FLOAT_EQ(100.0f, plain.left);
    EXPECT_FLOAT_EQ(120.0f, plain.right);
    EXPECT_FLOAT_EQ(180.0f, plain.bottom);
    EXPECT_FLOAT_EQ(200.0f, plain.top);
    EXPECT_EQ(0xFFFFFFFFu, recording->draws[0].vertices[0].color);
    // The second: "wide" glyphs (1 + 10 + 1) at scale 2 from x 120, raised by 5, red at half alpha.
    const widgets_test::Box styled = DrawnBox(1, 1);
    EXPECT_FLOAT_EQ(120.0f + 2.0f, styled.left);
    EXPECT_FLOAT_EQ(120.0f + 2.0f * 23.0f, styled.right);
    EXPECT_FLOAT_EQ(185.0f, styled.bottom);
    EXPECT_FLOAT_EQ(185.0f + 60.0f, styled.top);
    EXPECT_EQ(0x80FF0000u, recording->draws[1].vertices[0].color);
    EXPECT_EQ(Point(100, 180), pen);
    EXPECT_EQ(0u, Render::device.GetColorStackSize());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(MarkupTest, SpanBoundToAValueIsRemeasuredOnlyAfterItChanges) {
    PermanentStorage::SetLocalInt("Score", 5);
    StaticTextLine line("{span}#local-int:Score/0#{/span}", format);
    const ObjectSmartPointer<StaticTextSpan> span = line.GetRuns()[0].Cast<StaticTextSpan>();
    Texts texts;
    std::vector<int> widths;
    auto pass = [&] {
        std::vector<FPoint> points;
        Point pen;
        line.AddBoundingPoints(points, pen);
        texts.push_back(span->GetText());
        widths.push_back(span->GetWidth());
    };
    pass();
    // The font changes under the span: nothing is measured again while the value stays.
    Render::fonts.ReleaseAll();
    widgets_test::AddTestFonts();
    Render::fonts.AddFontAlias("fixed2", "fixed");
    pass();
    PermanentStorage::SetLocalInt("Score", 1234);
    pass();
    pass();
    EXPECT_EQ((Texts{"5", "5", "1234", "1234"}), texts);
    EXPECT_EQ((std::vector<int>{10, 10, 40, 40}), widths);
}

TEST_F(MarkupTest, ReferencesFollowTheActivePlayer) {
    PermanentStorage::SetLocalString("Name", "Ann");
    StaticTextLine line("{span}#active-player-name#: #local-string:Name/Guest#{/span}", format);
    auto text = [&] {
        std::vector<FPoint> points;
        Point pen;
        line.AddBoundingPoints(points, pen);
        return line.GetRuns()[0].Cast<StaticTextSpan>()->GetText();
    };
    EXPECT_EQ("p: Ann", text());
    PermanentStorage::CreatePlayer("q");
    EXPECT_EQ("q: Guest", text());
}

}  // namespace
