#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "core/CodePage.h"
#include "shell/BitmapFont.h"
#include "shell/RenderDeviceFonts.h"
#include "tests/shell/RecordingDeviceFixture.h"
#include "tests/support/TestSupport.h"

using testing_support::LogCapture;
using testing_support::WriteFile;

namespace {

// ascent 10, descent 3, margins 0: glyphs of advance 1 + 5 + 1.
std::string Metrics(const std::string& header, const std::vector<std::string>& glyphs, const std::string& tail = "") {
    std::string text = header;
    for (const std::string& g : glyphs) text += g + "\n";
    return text + tail;
}

const char* const HEADER = "ascent = 10\ndescent = 3\nheight = 13\nxOffset = 0\nyOffset = 0\n";

std::string GlyphLine(int code, int x) {
    return "char = " + std::to_string(code) + "; A = 1; B = 5; C = 1; x = " + std::to_string(x) + "; y = 20; ";
}

std::vector<std::string> GlyphsOf(const std::string& letters) {
    std::vector<std::string> lines;
    int x = 0;
    for (char c : letters) {
        lines.push_back(GlyphLine(static_cast<unsigned char>(c), x));
        x += 6;
    }
    return lines;
}

class FontTest : public RecordingDeviceTest {
protected:
    void SetUp() override {
        RecordingDeviceTest::SetUp();
        dir = testing_support::MakeTempDir("font");
        Render::fonts.ReleaseAll();
        Render::device._useUtf8 = false;
    }
    void TearDown() override {
        Render::fonts.ReleaseAll();
        Render::device._useUtf8 = false;
        RecordingDeviceTest::TearDown();
    }

    // Registers a font "test" with tracking 1 and space size 5 over a 256 x 64 picture.
    void AddTestFont(const std::string& letters) {
        const std::vector<std::string> glyphs = GlyphsOf(letters);
        WriteFile(dir + "m.txt", Metrics(std::string(HEADER) + "numChars = " + std::to_string(glyphs.size()) + "\n", glyphs));
        BitmapFont font = BitmapFont::WithoutPicture("test", 1, 5);
        font.GetInfo().texture->image.width = 256;
        font.GetInfo().texture->image.height = 64;
        font.ReadMetrics(dir + "m.txt", 256, 64);
        Render::fonts.AddFont(font);
    }

    std::string dir;
};

}  // namespace

TEST_F(FontTest, MetricsParserAcceptsTheFormAndReportsCorruptions) {
    const std::string two = "numChars = 2\n";
    struct Case {
        const char* name;
        std::string text;
        const char* failure;  // null: clean
        int glyphs;
    } cases[] = {
        {"valid", Metrics(std::string(HEADER) + two, {GlyphLine(65, 0), GlyphLine(66, 10)}), nullptr, 2},
        {"no key", Metrics("ascent= 10\ndescent = 3\nheight = 13\nxOffset = 0\nyOffset = 0\n" + two, {GlyphLine(65, 0), GlyphLine(66, 10)}),
         "String::IsHeadCut(line, \"ascent = \")", 2},
        {"height", Metrics("ascent = 10\ndescent = 3\nheight = 14\nxOffset = 0\nyOffset = 0\n" + two, {GlyphLine(65, 0), GlyphLine(66, 10)}),
         "_fontHeight == ascent + descent + 2 * _yOffset", 2},
        {"zero", Metrics(std::string(HEADER) + two, {GlyphLine(65, 0), "char = 66; A = 01; B = 5; C = 1; x = 10; y = 20; "}), "Assertion failed", 1},
        {"plus", Metrics(std::string(HEADER) + two, {GlyphLine(65, 0), "char = +66; A = 1; B = 5; C = 1; x = 10; y = 20; "}), "Assertion failed", 1},
        {"no space", Metrics(std::string(HEADER) + two, {GlyphLine(65, 0), "char = 66; A = 1; B = 5; C = 1; x = 10; y = 20;"}), "line == \" \"", 2},
        {"no semicolon", Metrics(std::string(HEADER) + two, {GlyphLine(65, 0), "char = 66; A = 1; B = 5; C = 1; x = 10; y = 20"}),
         "semiPos != std::string::npos", 1},
        {"space glyph", Metrics(std::string(HEADER) + two, {GlyphLine(65, 0), GlyphLine(32, 10)}), "value != 32", 1},
        {"negative", Metrics(std::string(HEADER) + two, {GlyphLine(65, 0), GlyphLine(-5, 10)}), "value >= 0", 1},
        {"huge code", Metrics(std::string(HEADER) + two, {GlyphLine(65, 0), GlyphLine(2000000000, 10)}), "value <= MAX_CODE", 1},
        {"b zero", Metrics(std::string(HEADER) + two, {GlyphLine(65, 0), "char = 66; A = 1; B = 0; C = 1; x = 10; y = 20; "}),
         "0 < value && value < bitmapWidth", 2},
        {"outside", Metrics(std::string(HEADER) + two, {GlyphLine(65, 0), GlyphLine(66, 254)}), "i->x + i->bWidth <= bitmapWidth", 2},
        {"short", Metrics(std::string(HEADER) + "numChars = 400000000\n", {GlyphLine(65, 0), GlyphLine(66, 10)}), "String::IsHeadCut(line, \"char = \")", 2},
        {"extra line", Metrics(std::string(HEADER) + two, {GlyphLine(65, 0), GlyphLine(66, 10)}, "junk\n"), "line == \"\"", 2},
        {"bad count", Metrics(HEADER + std::string("numChars = 0\n"), {}), "value > 0", 0},
    };
    for (const Case& c : cases) {
        WriteFile(dir + "m.txt", c.text);
        BitmapFont font = BitmapFont::WithoutPicture("f", 1, -1);
        LogCapture capture;
        font.ReadMetrics(dir + "m.txt", 256, 64);
        if (c.failure == nullptr) {
            EXPECT_EQ(0, capture.ErrorCount()) << c.name << capture.Text();
        } else {
            EXPECT_TRUE(capture.Contains(c.failure)) << c.name << "\n" << capture.Text();
        }
        EXPECT_EQ(c.glyphs, font.GetNumChars()) << c.name;
    }
    // The stored values of a glyph: y counted from the bottom, widths with the margins.
    WriteFile(dir + "m.txt", "ascent = 10\ndescent = 3\nheight = 17\nxOffset = 1\nyOffset = 2\nnumChars = 1\n"
                             "char = 65; A = 1; B = 10; C = 1; x = 2; y = 30; \n");
    BitmapFont font = BitmapFont::WithoutPicture("f", 1, -1);
    font.ReadMetrics(dir + "m.txt", 256, 64);
    const CharInfo a = font.GetCharInfo(0);
    EXPECT_EQ(65, a.code);
    EXPECT_EQ(0, a.aWidth);
    EXPECT_EQ(12, a.bWidth);
    EXPECT_EQ(0, a.cWidth);
    EXPECT_EQ(64 - 4 - 3 - 30 - 1, a.y);
    EXPECT_EQ(13, font.GetInfo().height);
    EXPECT_EQ(3, font.GetInfo().spaceSize);  // height / 4 without a space size of its own
    LogCapture capture;
    font.ReadMetrics(dir + "none.txt", 256, 64);
    EXPECT_TRUE(capture.Contains("Assertion failed: f != NULL"));
}

TEST_F(FontTest, HelloWorldLayoutMeasureAndAlignment) {
    AddTestFont("HeloWrd");
    Render::fonts.SetFont("test");
    EXPECT_EQ(13, Render::fonts.GetFontHeight("test"));
    // Ten glyphs of advance 7 + 1 and one space of 5 + 1.
    EXPECT_EQ(86, Render::fonts.GetStringWidth("Hello World", "test"));
    Render::fonts.FillStringBuffer("Hello World");
    EXPECT_EQ(85, Render::fonts._stringWidth);
    EXPECT_EQ(10, Render::fonts._stringGlyphCount);
    EXPECT_EQ(0, Render::fonts.GetStringWidth("", "test"));
    EXPECT_EQ(16, Render::fonts.GetStringWidth("H9e", "test"));  // no glyph for 9: skipped, no advance

    std::vector<FRect> rects;
    Render::fonts.GetGlyphRects("He llo", "test", rects);
    ASSERT_EQ(5u, rects.size());
    EXPECT_FLOAT_EQ(1.0f, rects[0].xStart);
    EXPECT_FLOAT_EQ(6.0f, rects[0].xEnd);
    EXPECT_FLOAT_EQ(16.0f + 6.0f + 1.0f, rects[2].xStart);  // after the space
    EXPECT_FLOAT_EQ(13.0f, rects[2].yEnd);
    Render::fonts.GetGlyphRects("He", "nope", rects);
    EXPECT_TRUE(rects.empty());

    struct Case {
        int align;
        bool centre;
        float scale;
        float firstLeft;
        float bottom;
    } cases[] = {
        {0, false, 1.0f, 101.0f, 200.0f}, {1, false, 1.0f, 16.0f, 200.0f},  {2, false, 1.0f, 59.0f, 200.0f},
        {7, false, 1.0f, 101.0f, 200.0f}, {0, true, 1.0f, 101.0f, 194.0f}, {1, false, 2.0f, -68.0f, 200.0f},
    };
    for (const Case& c : cases) {
        recording->draws.clear();
        Render::fonts.DrawString(FPoint(100.0f, 200.0f), "Hello World", c.scale, c.align, c.centre);
        ASSERT_EQ(1u, recording->draws.size());
        const auto& d = recording->draws[0];
        EXPECT_EQ(D3DPT_TRIANGLELIST, d.type);
        EXPECT_EQ(20u, d.primitiveCount);
        EXPECT_FLOAT_EQ(c.firstLeft, d.world[0].x) << c.align << " " << c.scale;
        EXPECT_FLOAT_EQ(c.bottom, d.world[0].y) << c.align;
    }
    EXPECT_EQ(0u, Render::device.GetMatrixStackSize());
    // A character without a glyph draws nothing; an empty text draws no glyph.
    recording->draws.clear();
    Render::fonts.DrawString(0, 0, "", 1.0f, 0, false);
    for (const auto& d : recording->draws) EXPECT_EQ(0u, d.primitiveCount);
}

// The width of every leading part of a text in one pass, as each would measure on its own.
TEST_F(FontTest, PrefixWidthsAreTheWidthsOfEveryLeadingPart) {
    AddTestFont("HeloWrd");
    const std::string text = "He9llo World";
    std::vector<int> widths;
    Render::fonts.GetPrefixWidths(text, "test", widths);
    ASSERT_EQ(text.size() + 1, widths.size());
    for (std::size_t i = 0; i <= text.size(); ++i) {
        EXPECT_EQ(Render::fonts.GetStringWidth(text.substr(0, i), "test"), widths[i]) << i;
    }
    // In UTF-8 the bytes inside a character take the width before it.
    Render::device._useUtf8 = true;
    Render::fonts.GetPrefixWidths("H\xD0\x98" "e", "test", widths);
    EXPECT_EQ((std::vector<int>{0, 8, 8, 8, 16}), widths);
}

TEST_F(FontTest, LongTextDrawsInFullInChunks) {
    AddTestFont("ab");
    Render::fonts.SetFont("test");
    const std::string text(150, 'a');
    LogCapture capture;
    recording->draws.clear();
    Render::fonts.DrawString(FPoint(0.0f, 0.0f), text, 1.0f, 0, false);
    EXPECT_EQ(0, capture.ErrorCount());
    ASSERT_EQ(2u, recording->draws.size());
    EXPECT_EQ(200u, recording->draws[0].primitiveCount);
    EXPECT_EQ(100u, recording->draws[1].primitiveCount);
    EXPECT_FLOAT_EQ(149 * 8 + 1.0f, recording->draws[1].world[49 * 6].x);
    EXPECT_EQ(150, Render::fonts._stringGlyphCount);
}

TEST_F(FontTest, Utf8DecodeTable) {
    struct Case {
        std::string text;
        bool utf8;
        int code;
        std::size_t consumed;
        const char* failure;
    } cases[] = {
        {"A", true, 65, 1, nullptr},
        {"\xC3", false, 195, 1, nullptr},
        {"\xC3\xA9", true, 233, 2, nullptr},
        {"\xE2\x82\xAC", true, 0x20AC, 3, nullptr},
        {"\xF0\x9F\x98\x80", true, 0x1F600, 4, nullptr},
        {"\x80", true, 0, 1, "Error: unknown UTF8 prefix"},
        {"\xFF", true, 0, 1, "Error: unknown UTF8 prefix"},
        {"\xC3", true, 3, 1, "Assertion failed: i < s.length()"},
        {"\xE2\x82", true, (2 << 6) | 2, 2, "Assertion failed: i < s.length()"},
        {"\xF0\x9F", true, (0 << 6) | 0x1F, 2, "Assertion failed: i < s.length()"},
        {"\xC3\x41", true, (3 << 6) | 1, 2, "Assertion failed: (ch & _1100_0000) == _1000_0000"},
    };
    for (const Case& c : cases) {
        Render::device._useUtf8 = c.utf8;
        LogCapture capture;
        std::size_t i = 0;
        EXPECT_EQ(c.code, Render::fonts.DecodeChar(c.text, i)) << c.text;
        EXPECT_EQ(c.consumed, i);
        if (c.failure) {
            EXPECT_TRUE(capture.Contains(c.failure)) << c.text;
        } else {
            EXPECT_EQ(0, capture.ErrorCount()) << c.text;
        }
    }
    // With UTF-8 on, the two bytes of an e with acute are one glyph.
    Render::device._useUtf8 = true;
    AddTestFont(std::string("a\xE9", 2));
    EXPECT_EQ(16, Render::fonts.GetStringWidth("a\xC3\xA9", "test"));
}

TEST_F(FontTest, RegistryAliasesAndUnknownNames) {
    AddTestFont("ab");
    Render::fonts.AddFontAlias("alias", "test");
    EXPECT_TRUE(Render::fonts.DoesFontExist("alias"));
    Render::fonts.SetFont("alias");
    const DeviceFont* alias = Render::fonts.GetCurrentFont();
    Render::fonts.SetFont("test");
    EXPECT_EQ(alias->texture, Render::fonts.GetCurrentFont()->texture);
    EXPECT_NE(alias, Render::fonts.GetCurrentFont());

    LogCapture capture;
    Render::fonts.SetFont("missing");
    EXPECT_TRUE(capture.Contains("Assertion failed: _fonts.find(font_name) != _fonts.end()"));
    EXPECT_NE(nullptr, Render::fonts.GetCurrentFont());
    EXPECT_EQ(0, Render::fonts.GetFontHeight("missing"));
    EXPECT_EQ(0, Render::fonts.GetStringWidth("ab", "missing"));
    EXPECT_FALSE(Render::fonts.DoesFontExist("missing"));
    Render::fonts.AddFontAlias("alias", "test");
    Render::fonts.AddFontAlias("other", "missing");
    EXPECT_TRUE(capture.Contains("Assertion failed: _fonts.find(newName) == _fonts.end()"));
    EXPECT_TRUE(capture.Contains("Assertion failed: _fonts.find(oldName) != _fonts.end()"));
    EXPECT_FALSE(Render::fonts.DoesFontExist("other"));
}

// The demo fonts hold the game's whole character set: every byte of the code page that stands for a
// character has a glyph (the upper half drawn as its Windows-1251 character), the one that does not
// has none.
TEST_F(FontTest, DemoFontsLoadFromTheirPicturesAndHoldEveryCharacterOfTheCodePage) {
    for (const char* name : {"demo", "demo_gold"}) {
        SCOPED_TRACE(name);
        char previous[4096];
        ASSERT_NE(nullptr, getcwd(previous, sizeof(previous)));
        ASSERT_EQ(0, chdir(MARIVEL_SOURCE_DIR "/data"));
        LogCapture capture;
        BitmapFont font(name, 1, -1);
        ASSERT_EQ(0, chdir(previous));
        EXPECT_EQ(0, capture.ErrorCount()) << capture.Text();
        EXPECT_EQ(19, font.GetInfo().height);
        ASSERT_NE(nullptr, font.GetInfo().texture->_tex);
        std::vector<int> codes;
        for (int k = 0; k < font.GetNumChars(); ++k) codes.push_back(font.GetCharInfo(k).code);
        std::vector<int> characters;
        for (int byte = 33; byte < 256; ++byte) {
            if (byte != 127 && CodePointFromWindows1251(static_cast<unsigned char>(byte)) != 0) characters.push_back(byte);
        }
        EXPECT_EQ(characters, codes);
        Render::fonts.AddFont(font);
        EXPECT_GT(Render::fonts.GetStringWidth("Hello World", name), 50);
        // Cyrillic capitals differ in width, where the Latin ones with accents did not.
        EXPECT_NE(Render::fonts.GetStringWidth("\xC0", name), Render::fonts.GetStringWidth("\xC4", name));
    }
}
