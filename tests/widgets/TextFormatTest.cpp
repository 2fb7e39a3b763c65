// Text formats (heights, copies with one property changed) and the attribute text of markup tags.
#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/StaticTextRuns.h"
#include "widgets/TextFormat.h"

namespace {

using testing_support::LogCapture;

class TextFormatTest : public widgets_test::TextDeviceTest {};

TEST_F(TextFormatTest, HeightIsTheFontHeightTimesTheScaleTruncated) {
    const struct {
        float scale;
        int height;
    } cases[] = {{1.0f, 20}, {1.5f, 30}, {0.99f, 19}, {1.55f, 30}, {0.0f, 0}};
    for (const auto& c : cases) {
        const TextFormat format("fixed", 1.0f, c.scale, "left", "top");
        EXPECT_EQ(c.height, format.GetHeight()) << c.scale;
        EXPECT_EQ(0, format.GetDy());
    }
}

TEST_F(TextFormatTest, CopiesChangeOnePropertyAndLeaveTheOriginal) {
    LogCapture log;
    const ObjectSmartPointer<TextFormat> base(new TextFormat("fixed", 1.0f, 1.5f, "center", "middle"));
    const ObjectSmartPointer<TextFormat> wide = base->CopyWithFontName("wide");
    EXPECT_EQ("wide", wide->GetFontName());
    EXPECT_EQ(30, wide->GetHeight());  // kept, not measured in the new font
    const ObjectSmartPointer<TextFormat> measured = wide->CopyWithHeightScale(1.0f);
    EXPECT_EQ(30, measured->GetHeight());  // the wide font's own height
    EXPECT_EQ(20, base->CopyWithHeightScale(1.0f)->GetHeight());
    const ObjectSmartPointer<TextFormat> scaled = base->CopyWithFontScale(2.0f)->CopyWithDy(-3);
    EXPECT_FLOAT_EQ(2.0f, scaled->GetFontScale());
    EXPECT_EQ(-3, scaled->GetDy());
    EXPECT_EQ(30, scaled->GetHeight());
    EXPECT_TRUE(scaled->IsCenterAlign());
    EXPECT_TRUE(scaled->IsMiddleAlign());
    EXPECT_EQ("fixed", base->GetFontName());
    EXPECT_FLOAT_EQ(1.0f, base->GetFontScale());
    EXPECT_EQ(0, base->GetDy());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(TextFormatTest, FaultsAreReported) {
    const ObjectSmartPointer<TextFormat> base(new TextFormat("fixed", 1.0f, 1.0f, "left", "bottom"));
    const struct {
        const char* check;
        std::function<void()> make;
    } cases[] = {
        {"_dy == 0", [&] { base->CopyWithDy(2)->CopyWithHeightScale(1.0f); }},
        {"Render::device.DoesFontExist(newFontName)", [&] { base->CopyWithFontName("nothing"); }},
        {"align == \"left\"", [] { TextFormat("fixed", 1.0f, 1.0f, "middle", "top"); }},
        {"valign == \"top\"", [] { TextFormat("fixed", 1.0f, 1.0f, "left", "center"); }},
    };
    for (const auto& c : cases) {
        LogCapture log;
        c.make();
        EXPECT_EQ(1, log.ErrorCount()) << c.check;
        EXPECT_TRUE(log.Contains(c.check)) << log.Text();
    }
}

TEST_F(TextFormatTest, AttributeGrammar) {
    using Map = TextAttributes;
    const struct {
        const char* text;
        Map map;
        const char* check;  // null: read without fault
    } cases[] = {
        {"", {}, nullptr},
        {" a='1' b=\"it's\"", {{"a", "1"}, {"b", "it's"}}, nullptr},
        {" x.y-z:1_='' _k=\"\"", {{"x.y-z:1_", ""}, {"_k", ""}}, nullptr},
        {" c='#FF0000' d=\"{\"", {{"c", "#FF0000"}, {"d", "{"}}, nullptr},
        // Faults: reading stops there, the names before stay.
        {"a='1'", {}, "*i == ' '"},
        {" a='1'  b='2'", {{"a", "1"}}, "*i == ' '"},
        {"\ta='1'", {}, "*i == ' '"},
        {" a='1' ", {{"a", "1"}}, "i != attributes.end()"},
        {" ", {}, "i != attributes.end()"},
        {" 1a='1'", {}, "XmlUtil::IsFirstNameLetter(*i)"},
        {" a ='1'", {}, "*i == '='"},
        {" a", {}, "i != attributes.end()"},
        {" a= '1'", {}, "*i == '\\'' || *i == '\"'"},
        {" a=", {}, "*i == '\\'' || *i == '\"'"},
        {" a=1", {}, "*i == '\\'' || *i == '\"'"},
        {" a='1", {}, "i != attributes.end()"},
        {" a='1\"", {}, "i != attributes.end()"},
        {" a='1' a='2'", {{"a", "1"}}, "map.find(attributeName) == map.end()"},
    };
    for (const auto& c : cases) {
        LogCapture log;
        EXPECT_EQ(c.map, StaticTextSpanOrLink::ParseAttributes(c.text)) << "[" << c.text << "]";
        EXPECT_EQ(c.check ? 1 : 0, log.ErrorCount()) << "[" << c.text << "] " << log.Text();
        if (c.check) {
            EXPECT_TRUE(log.Contains(c.check)) << "[" << c.text << "] " << log.Text();
        }
    }
}

}  // namespace
