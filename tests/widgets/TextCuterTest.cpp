// Word wrap with a font in which every character, the space included, is 10 wide.
#include <gtest/gtest.h>

#include "shell/RenderDeviceFonts.h"
#include "tests/support/TestSupport.h"
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/TextCuter.h"

namespace {

using Lines = std::vector<std::string>;
using testing_support::LogCapture;

class TextCuterTest : public widgets_test::TextDeviceTest {
protected:
    static Lines Cut(int width, const std::string& text) {
        Lines lines;
        TextCuter::CutText(width, "fixed", text, lines);
        return lines;
    }
};

TEST_F(TextCuterTest, BreaksAtBlanksStrictlyNarrowerThanTheWidth) {
    struct Case {
        int width;
        const char* text;
        Lines lines;
    } cases[] = {
        {50, "ab cd ef", {"ab", "cd", "ef"}},  // "ab cd" is 50 wide: not less than 50
        {51, "ab cd ef", {"ab cd", "ef"}},
        {200, "ab cd ef", {"ab cd ef"}},
        {50, "", {""}},
        {0, "", {""}},
        {51, "ab  cd", {"ab ", "cd"}},              // a second blank is a word of its own
        {40, "ab abcdefgh cd", {"ab", "abcdefgh", "cd"}},  // a long later word stands alone
        {61, "abc de", {"abc de"}},
        {60, "abc de", {"abc", "de"}},
        // The first word wider than the width stands whole on the first line.
        {30, "abcdefgh", {"abcdefgh"}},
        {30, "abcdefgh ij kl", {"abcdefgh", "ij", "kl"}},
        {30, "abcdefgh ij", {"abcdefgh", "ij"}},
    };
    for (const Case& c : cases) {
        LogCapture log;
        EXPECT_EQ(Cut(c.width, c.text), c.lines) << c.width << " '" << c.text << "'";
        EXPECT_EQ(0, log.ErrorCount()) << log.Text();
    }
}

TEST_F(TextCuterTest, BarsCutEveryPieceWithoutMeasuring) {
    EXPECT_EQ(Cut(10, "a long first line|b||"), (Lines{"a long first line", "b", "", ""}));
    EXPECT_EQ(Cut(10, "|x"), (Lines{"", "x"}));
}

TEST_F(TextCuterTest, AppendsToWhatTheListHolds) {
    Lines lines{"kept"};
    TextCuter::CutText(51, "fixed", "ab cd ef", lines);
    EXPECT_EQ(lines, (Lines{"kept", "ab cd", "ef"}));
}

TEST_F(TextCuterTest, MeasuresInTheNamedFont) {
    // "wide" letters are 12: "ab cd" is 60 there.
    Lines lines;
    TextCuter::CutText(55, "wide", "ab cd", lines);
    EXPECT_EQ(lines, (Lines{"ab", "cd"}));
}

}  // namespace
