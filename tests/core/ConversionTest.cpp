#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "core/Bool.h"
#include "core/CodePage.h"
#include "core/Float.h"
#include "core/Int.h"
#include "core/String.h"
#include "tests/core/CheckReports.h"

using check_reports::Reported;
using testing_support::LogCapture;

namespace {

float FromBits(std::uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

std::uint32_t Bits(float f) {
    std::uint32_t b;
    std::memcpy(&b, &f, 4);
    return b;
}

// A row: the text, the expected value, and the check it must report (none when accepted).
struct IntCase {
    const char* text;
    int value;
    const char* report;
};

}  // namespace

TEST(IntConversion, ToStringAndLength) {
    const struct {
        int value;
        const char* text;
    } cases[] = {{0, "0"}, {7, "7"}, {-7, "-7"}, {-10, "-10"}, {10, "10"},
                 {Int::MAX_VALUE, "2147483647"}, {Int::MIN_VALUE, "-2147483648"}};
    for (const auto& c : cases) {
        EXPECT_EQ(Int::ToString(c.value), c.text);
        EXPECT_EQ(Int::GetStringLength(c.value), static_cast<int>(std::strlen(c.text))) << c.text;
    }
    EXPECT_EQ(Int::ToStringPositive(0), "");
    EXPECT_EQ(Int::ToStringPositive(1203), "1203");
    EXPECT_EQ(Int::ToHexString(255), "000000FF");
    EXPECT_EQ(Int::ToHexString(-1), "FFFFFFFF");
    EXPECT_EQ(Int::ToHexString(-2), "FFFFFFFE");
}

TEST(IntConversion, ParseAcceptsOnlyTheCanonicalForm) {
    const IntCase cases[] = {
        {"0", 0, nullptr},
        {"-2147483648", Int::MIN_VALUE, nullptr},
        {"2147483647", Int::MAX_VALUE, nullptr},
        {"-15", -15, nullptr},
        {"2147483648", Int::MAX_VALUE, "value <= (MAX_VALUE - d) / 10"},
        {"-2147483649", Int::MIN_VALUE, "value >= (MIN_VALUE + d) / 10"},
        {"-0", 0, "'1' <= *i && *i <= '9'"},
        {"007", 0, "image == ToString(value)"},
        {"00", 0, "image == ToString(value)"},
        {"+5", 0, "'1' <= *i && *i <= '9'"},
        {" 5", 0, "'1' <= *i && *i <= '9'"},
        {"5 ", 0, "'0' <= *i && *i <= '9'"},
        {"1e3", 0, "'0' <= *i && *i <= '9'"},
        {"", 0, "i != image.end()"},
        {"-", 0, "i != image.end()"},
    };
    for (const auto& c : cases) {
        LogCapture capture;
        const int value = Int::Parse(c.text);
        if (c.report) {
            EXPECT_TRUE(Reported(capture, c.report)) << '"' << c.text << '"';
        } else {
            EXPECT_EQ(value, c.value) << c.text;
            EXPECT_EQ(capture.ErrorCount(), 0) << c.text;
        }
    }
    // Leading zeros and a lone zero with a sign fail the final comparison too.
    LogCapture capture;
    Int::Parse("-0");
    Int::Parse("007");
    EXPECT_TRUE(Reported(capture, "image == ToString(value)"));
}

TEST(IntConversion, AFaultyNumberIsClampedOrCutWithOneReport) {
    const struct {
        std::string text;
        int value;
    } cases[] = {
        {"2147483648", Int::MAX_VALUE},
        {"99999999999", Int::MAX_VALUE},
        {"-99999999999", Int::MIN_VALUE},
        {std::string(1000000, '9'), Int::MAX_VALUE},
        {"1e9", 1},
        {"1e30", 1},
        {"12" + std::string(100000, 'x'), 12},
        {"007", 0},
    };
    for (const auto& c : cases) {
        LogCapture capture;
        EXPECT_EQ(Int::Parse(c.text), c.value) << c.text.substr(0, 20);
        EXPECT_EQ(capture.ErrorCount(), 1) << c.text.substr(0, 20);
    }
}

TEST(FloatConversion, ALongDecimalIsReportedOnceAndStaysInRange) {
    LogCapture capture;
    EXPECT_EQ(Float::Parse(std::string(1000000, '9') + ".5"), FLT_MAX);
    EXPECT_EQ(capture.ErrorCount(), 1);
    LogCapture fraction;
    EXPECT_NEAR(Float::Parse("0." + std::string(1000000, '3')), 1.0f / 3.0f, 1e-7f);
    EXPECT_EQ(fraction.ErrorCount(), 1);
}

TEST(IntConversion, ParseHexTable) {
    const struct {
        const char* text;
        std::uint32_t value;
        const char* report;
    } cases[] = {
        {"ff", 255, nullptr},
        {"FF", 255, nullptr},
        {"00000000FF", 255, nullptr},
        {"FFFFFFFF", 0xFFFFFFFFu, nullptr},
        {"1FFFFFFFF", 0xFFFFFFFFu, "(value & 0xF0000000) == 0"},
        {"0x10", 0x10, "false"},
        {"-1", 1, "false"},
        {"", 0, "i != image.end()"},
    };
    for (const auto& c : cases) {
        LogCapture capture;
        EXPECT_EQ(Int::ParseHex(c.text), c.value) << c.text;
        if (c.report) {
            EXPECT_TRUE(Reported(capture, c.report)) << c.text;
        } else {
            EXPECT_EQ(capture.ErrorCount(), 0) << c.text;
        }
    }
}

TEST(BoolConversion, OnlyTheExactWords) {
    EXPECT_EQ(Bool::ToString(true), "true");
    EXPECT_EQ(Bool::ToString(false), "false");
    LogCapture clean;
    EXPECT_TRUE(Bool::Parse("true"));
    EXPECT_FALSE(Bool::Parse("false"));
    EXPECT_TRUE(Bool::ParseZeroOne("1"));
    EXPECT_FALSE(Bool::ParseZeroOne("0"));
    EXPECT_EQ(clean.ErrorCount(), 0);
    for (const char* bad : {"True", " true", "1", ""}) {
        LogCapture capture;
        EXPECT_FALSE(Bool::Parse(bad));
        EXPECT_TRUE(Reported(capture, "false")) << bad;
    }
    for (const char* bad : {"true", "2", "01"}) {
        LogCapture capture;
        EXPECT_FALSE(Bool::ParseZeroOne(bad));
        EXPECT_TRUE(Reported(capture, "false")) << bad;
    }
}

TEST(FloatConversion, ExponentHasThreeDigits) {
    EXPECT_EQ(Float::ToStringE(1.0f), "1.000000e+000");
    EXPECT_EQ(Float::ToStringE(0.5f), "5.000000e-001");
    EXPECT_EQ(Float::ToStringE(0.0f), "0.000000e+000");
    EXPECT_EQ(Float::ToStringE(-1.5e30f), "-1.500000e+030");
    EXPECT_EQ(Float::ToString(1.0f), "1.000000e+000/0x3F800000");
    EXPECT_EQ(Float::ToString(0.5f), "5.000000e-001/0x3F000000");
}

TEST(FloatConversion, ExactFormRoundTripsBitForBit) {
    const std::uint32_t patterns[] = {
        0x3F800000u,  // 1.0
        Bits(0.1f),
        0x7FC00001u,  // a quiet NaN with payload
        0xFFC00000u,  // a negative NaN
        0x00000001u,  // the smallest denormal
        0x80000000u,  // -0.0
        0x7F800000u,  // infinity
        0x7F7FFFFFu,  // the largest float
    };
    for (std::uint32_t bits : patterns) {
        LogCapture capture;
        const std::string text = Float::ToString(FromBits(bits));
        EXPECT_EQ(Bits(Float::Parse(text)), bits) << text;
        EXPECT_EQ(capture.ErrorCount(), 0) << text;
        EXPECT_EQ(text.substr(text.size() - 11), "/0x" + Int::ToHexString(static_cast<int>(bits)));
    }
    EXPECT_EQ(Float::ToString(FromBits(1)), "1.401298e-045/0x00000001");
    EXPECT_EQ(Float::Parse("1.000000e+000/0x3F800000"), 1.0f);
}

TEST(FloatConversion, ExactFormTrustsTheBitsAndComparesTheText) {
    LogCapture capture;
    EXPECT_EQ(Float::Parse("2.000000e+000/0x3F800000"), 1.0f);
    EXPECT_TRUE(Reported(capture, "floatImage == ToStringE(value)"));
    LogCapture twoDigits;
    EXPECT_EQ(Float::Parse("1.000000e+00/0x3F800000"), 1.0f);
    EXPECT_TRUE(Reported(twoDigits, "floatImage == ToStringE(value)"));
}

TEST(FloatConversion, DecimalFormTable) {
    const struct {
        const char* text;
        float value;
        const char* report;
    } cases[] = {
        {"0.5", 0.5f, nullptr},
        {"-0.25", -0.25f, nullptr},
        {"123.4567", 123.4567f, nullptr},
        {"0.1", 0.1f, nullptr},
        {"007.5", 7.5f, nullptr},
        {"9999999.0", 0, "nDigits <= 7"},  // eight digits
        {"123.45678", 0, "nDigits <= 7"},
        {"-0.0", 0, "answer != 0.0f"},
        {"1", 0, "i != image.end() && *i == '.'"},
        {"1.", 0, "i != image.end() && '0' <= *i && *i <= '9'"},
        {".5", 0, "i != image.end() && '0' <= *i && *i <= '9'"},
        {"", 0, "i != image.end() && '0' <= *i && *i <= '9'"},
        {"-", 0, "i != image.end() && '0' <= *i && *i <= '9'"},
        {"+1.0", 0, "i != image.end() && '0' <= *i && *i <= '9'"},
        {"1.0e3", 0, "i == image.end()"},
        {"1.0 ", 0, "i == image.end()"},
        {"1,5", 0, "i != image.end() && *i == '.'"},
    };
    for (const auto& c : cases) {
        LogCapture capture;
        const float value = Float::Parse(c.text);
        if (c.report) {
            EXPECT_TRUE(Reported(capture, c.report)) << '"' << c.text << '"';
        } else {
            EXPECT_EQ(value, c.value) << c.text;
            EXPECT_EQ(capture.ErrorCount(), 0) << c.text;
        }
    }
    LogCapture capture;
    EXPECT_EQ(Float::Parse("1,5"), 1.5f);  // the odd point is skipped after its report
}

TEST(StringOperations, IsHeadCut) {
    std::string line = "ascent = 12";
    EXPECT_FALSE(String::IsHeadCut(line, "descent = "));
    EXPECT_EQ(line, "ascent = 12");
    EXPECT_TRUE(String::IsHeadCut(line, "ascent = "));
    EXPECT_EQ(line, "12");
    EXPECT_FALSE(String::IsHeadCut(line, "123"));
    EXPECT_EQ(line, "12");
    LogCapture capture;
    EXPECT_FALSE(String::IsHeadCut(line, nullptr));
    EXPECT_TRUE(Reported(capture, "head != NULL"));
}

TEST(StringOperations, ToLowerTouchesOnlyAsciiLetters) {
    EXPECT_EQ(ToLower("AbZ-09\xC0\xDF"), "abz-09\xC0\xDF");
}

TEST(StringOperations, ReadLineSplitsAtLfAndCrLf) {
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    std::fputs("a\nb\r\nc\rd\r", f);
    std::rewind(f);
    LogCapture capture;
    EXPECT_EQ(String::ReadLine(f), "a");
    EXPECT_EQ(String::ReadLine(f), "b");
    EXPECT_EQ(capture.ErrorCount(), 0);
    EXPECT_EQ(String::ReadLine(f), "c\rd\r");  // a lone CR is kept and reported
    EXPECT_TRUE(Reported(capture, "c != 13"));
    EXPECT_EQ(capture.ErrorCount(), 1);  // both carriage returns fail the one check: written once
    EXPECT_TRUE(std::feof(f));
    EXPECT_EQ(String::ReadLine(f), "");
    std::fclose(f);
}

TEST(StringOperations, ReadLineWithoutFinalNewline) {
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    std::string longLine(300, 'x');
    std::fputs(("a\n" + longLine + "\nb").c_str(), f);
    std::rewind(f);
    EXPECT_EQ(String::ReadLine(f), "a");
    EXPECT_EQ(String::ReadLine(f), longLine);
    EXPECT_EQ(String::ReadLine(f), "b");
    EXPECT_EQ(String::ReadLine(f), "");
    EXPECT_TRUE(std::feof(f));
    std::fclose(f);
    LogCapture capture;
    EXPECT_EQ(String::ReadLine(nullptr), "");
    EXPECT_TRUE(Reported(capture, "f != NULL"));
}

// Every character of the code page goes out as UTF-8 and comes back as its byte; the one byte
// without a character goes out as '?'.
TEST(CodePageConversion, EveryCharacterRoundTripsThroughUtf8) {
    for (int byte = 1; byte < 256; ++byte) {
        const std::string text(1, static_cast<char>(byte));
        if (byte == 0x98) {
            EXPECT_EQ(0u, CodePointFromWindows1251(0x98));
            EXPECT_EQ("?", Utf8FromWindows1251(text));
            continue;
        }
        EXPECT_EQ(std::vector<int>{byte}, Windows1251FromUtf8(Utf8FromWindows1251(text))) << byte;
        EXPECT_EQ(byte, Windows1251FromCodePoint(CodePointFromWindows1251(static_cast<unsigned char>(byte)))) << byte;
    }
    EXPECT_EQ("\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD", Utf8FromWindows1251("\xC8\xE2\xE0\xED"));
}
