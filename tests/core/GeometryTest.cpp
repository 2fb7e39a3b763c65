#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "core/Color.h"
#include "core/FPoint.h"
#include "core/Int.h"
#include "core/Math.h"
#include "core/MousePosRememberer.h"
#include "core/Point.h"
#include "core/Rect.h"
#include "core/VolumeObject.h"
#include "tests/core/CheckReports.h"

using check_reports::Reported;
using testing_support::LogCapture;

namespace {
const char* const X_RANGE = "-INT_FLOAT_RANGE <= _x && _x <= INT_FLOAT_RANGE";
const char* const Y_RANGE = "-INT_FLOAT_RANGE <= _y && _y <= INT_FLOAT_RANGE";
}  // namespace

TEST(MathValues, PiIsOneStepBelowNearestFloat) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &Math::PI, sizeof bits);
    EXPECT_EQ(bits, 0x40490FDAu);
}

TEST(MathValues, RoundHalvesAwayFromZero) {
    const struct {
        float in;
        int out;
    } cases[] = {{2.5f, 3}, {-2.5f, -3}, {-0.4f, 0}, {2.49f, 2}, {-0.5f, -1}, {0.0f, 0}};
    for (const auto& c : cases) EXPECT_EQ(Math::round(c.in), c.out) << c.in;
}

TEST(MathValues, SignAndAbsReportTheirBadInputs) {
    EXPECT_EQ(Math::sign(-3.0f), -1);
    EXPECT_EQ(Math::sign(0.0f), 0);
    EXPECT_EQ(Math::sign(1e-30f), 1);
    {
        LogCapture capture;
        EXPECT_EQ(Math::sign(std::numeric_limits<float>::quiet_NaN()), 0);
        EXPECT_TRUE(Reported(capture, "value == 0"));
    }
    EXPECT_EQ(Math::abs(-7), 7);
    LogCapture capture;
    EXPECT_EQ(Math::abs(Int::MIN_VALUE), Int::MIN_VALUE);
    EXPECT_TRUE(Reported(capture, "value != Int::MIN_VALUE"));
    EXPECT_EQ(Math::min(3, -2), -2);
    EXPECT_EQ(Math::max(3, -2), 3);
}

TEST(MathValues, UnsignedLerpTruncatesTowardTheSmallerEnd) {
    const std::uint32_t ten = 10, zero = 0, seven = 7;
    EXPECT_EQ(math::lerp(ten, zero, 0.25f), 7u);
    EXPECT_EQ(math::lerp(zero, ten, 0.25f), 2u);
    for (float t : {0.0f, 0.3f, 1.0f}) EXPECT_EQ(math::lerp(seven, seven, t), 7u);
    const std::uint8_t b10 = 10, b0 = 0;
    EXPECT_EQ(math::lerp(b10, b0, 0.25f), 7);
    EXPECT_EQ(math::lerp(b0, b10, 0.25f), 2);
    EXPECT_FLOAT_EQ(math::lerp(10.0f, 0.0f, 0.25f), 7.5f);
    EXPECT_FLOAT_EQ(math::lerp(0.0f, 10.0f, 1.5f), 15.0f);  // not clamped
}

TEST(MathValues, ColorLerpWorksPerComponent) {
    const Color c = math::lerp(Color(10, 0, 200, 255), Color(0, 10, 100, 0), 0.25f);
    EXPECT_EQ(c.red, 7);
    EXPECT_EQ(c.green, 2);
    EXPECT_EQ(c.blue, 175);
    EXPECT_EQ(c.alpha, 191);
}

TEST(PointValues, ArithmeticAndComparison) {
    EXPECT_EQ(Point(), Point(0, 0));
    EXPECT_EQ(Point(1, 2) + Point(3, 4), Point(4, 6));
    EXPECT_EQ(Point(1, 2) - Point(3, 5), Point(-2, -3));
    EXPECT_EQ(Point(1, -2) * 3, Point(3, -6));
    EXPECT_TRUE(Point(1, 2) != Point(1, 3));
}

TEST(FPointValues, RangeCheckAcceptsTheLimitAndRejectsBeyondAndNaN) {
    {
        LogCapture capture;
        FPoint p(16777216, 0);
        FPoint q(-16777216.0f, 16777216.0f);
        EXPECT_EQ(capture.ErrorCount(), 0);
    }
    {
        LogCapture capture;
        FPoint p(16777217, 0);  // would round to the limit as a float
        EXPECT_TRUE(Reported(capture, X_RANGE));
        EXPECT_EQ(capture.ErrorCount(), 1);
    }
    {
        LogCapture capture;
        FPoint p(std::nanf(""), std::nanf(""));
        EXPECT_TRUE(Reported(capture, X_RANGE));
        EXPECT_TRUE(Reported(capture, Y_RANGE));
        EXPECT_EQ(capture.ErrorCount(), 2);
    }
    {
        LogCapture capture;
        FPoint sum = FPoint(16777216.0f, 0.0f) + FPoint(16777216.0f, 0.0f);
        EXPECT_TRUE(Reported(capture, X_RANGE));
        EXPECT_FLOAT_EQ(sum._x, 33554432.0f);
    }
}

TEST(FPointValues, ArithmeticDistanceAndRotation) {
    EXPECT_EQ(FPoint(1.0f, 2.0f) * FPoint(3.0f, -4.0f), FPoint(3.0f, -8.0f));
    EXPECT_EQ(2.0f * FPoint(1.5f, -2.0f), FPoint(3.0f, -4.0f));
    EXPECT_EQ(FPoint(1.0f, 2.0f) - FPoint(0.5f, 4.0f), FPoint(0.5f, -2.0f));
    EXPECT_FLOAT_EQ(FPoint(0.0f, 0.0f).GetDistance(FPoint(3.0f, 4.0f)), 5.0f);
    const FPoint r = FPoint(1.0f, 0.0f).Rotate(Math::PI / 2);
    EXPECT_NEAR(r._x, 0.0f, 1e-6f);
    EXPECT_NEAR(r._y, 1.0f, 1e-6f);
    EXPECT_EQ(FPoint(2.5f, -2.5f).Round(), Point(3, -3));
    EXPECT_EQ(FPoint(2.49f, -0.5f).Round(), Point(2, -1));
}

TEST(FPointValues, AngleToIsNeverNegative) {
    EXPECT_NEAR(FPoint(1.0f, 0.0f).GetAngleTo(FPoint(0.0f, -1.0f)), 4.712f, 1e-3f);
    EXPECT_NEAR(FPoint(0.0f, -1.0f).GetAngleTo(FPoint(1.0f, 0.0f)), 1.5708f, 1e-3f);
    EXPECT_FLOAT_EQ(FPoint(1.0f, 1.0f).GetAngleTo(FPoint(2.0f, 2.0f)), 0.0f);
    LogCapture capture;
    EXPECT_EQ(FPoint().GetAngle(), 0.0f);
    EXPECT_TRUE(Reported(capture, "_x != 0.0f || _y != 0.0f"));
}

TEST(RectValues, ContainmentIsHalfOpen) {
    const Rect r(0, 0, 10, 10);
    EXPECT_TRUE(r.Contains(0, 0));
    EXPECT_TRUE(r.Contains(9, 9));
    EXPECT_FALSE(r.Contains(10, 5));
    EXPECT_FALSE(r.Contains(5, 10));
    EXPECT_FALSE(r.Contains(-1, 5));
    EXPECT_FALSE(Rect(3, 3, 0, 5).Contains(3, 3));
    EXPECT_TRUE(Rect(2147483640, 0, 10, 1).Contains(2147483647, 0));

    const Rect moved = r.MovedTo(5, -5);
    EXPECT_EQ(moved.x, 5);
    EXPECT_EQ(moved.y, -5);
    EXPECT_TRUE(moved.IsEqualToHW(r));
    EXPECT_FALSE(Rect(0, 0, 10, 11).IsEqualToHW(r));
}

TEST(RectValues, NegativeSizesAreReportedInOrder) {
    LogCapture capture;
    Rect r(0, 0, -1, -2);
    const std::string log = capture.Text();
    ASSERT_TRUE(Reported(capture, "width >= 0"));
    ASSERT_TRUE(Reported(capture, "height >= 0"));
    EXPECT_LT(log.find("width &gt;= 0"), log.find("height &gt;= 0"));
}

TEST(ColorValues, BytesFormTheColourWord) {
    const Color c(0xFF, 0x80, 0x00);
    unsigned char bytes[4];
    std::memcpy(bytes, &c, 4);
    EXPECT_EQ(bytes[0], 0x00);
    EXPECT_EQ(bytes[1], 0x80);
    EXPECT_EQ(bytes[2], 0xFF);
    EXPECT_EQ(bytes[3], 0xFF);
    EXPECT_EQ(c.GetWord(), 0xFFFF8000u);
    EXPECT_EQ(Color::FromWord(0x80112233u), Color(0x11, 0x22, 0x33, 0x80));
    EXPECT_EQ(Color().GetWord(), 0xFFFFFFFFu);
}

TEST(ColorValues, FromStringTable) {
    const struct {
        const char* text;
        std::uint32_t word;
        const char* report;
    } cases[] = {
        {"#FF8000", 0xFFFF8000u, nullptr},
        {"#ff8000", 0xFFFF8000u, nullptr},
        {"#FF800080", 0x80FF8000u, nullptr},
        {"#00000000", 0x00000000u, nullptr},
        {"FF8000", 0xFFFFFFFFu, "false"},
        {"#FF80", 0xFFFFFFFFu, "false"},
        {"", 0xFFFFFFFFu, "false"},
        {"#FF8000800", 0xFFFFFFFFu, "false"},
        {"xFF8000", 0xFFFF8000u, "value[0] == '#'"},
        {"#GG8000", 0xFF008000u, "false"},
    };
    for (const auto& c : cases) {
        LogCapture capture;
        EXPECT_EQ(Color::FromString(c.text).GetWord(), c.word) << c.text;
        if (c.report) {
            EXPECT_TRUE(Reported(capture, c.report)) << c.text;
        } else {
            EXPECT_EQ(capture.ErrorCount(), 0) << c.text;
        }
    }
}

TEST(VolumeObjects, CornersAndBadIndex) {
    const VolumeObject box(1.9f, -2.9f, 5.0f, 10.5f, 4.2f);
    EXPECT_EQ(box.GetRect().x, 1);
    EXPECT_EQ(box.GetRect().y, -2);
    EXPECT_EQ(box.GetCorner(2), Point(11, 2));
    EXPECT_EQ(box.GetCorner(3), Point(1, 2));
    LogCapture capture;
    EXPECT_EQ(box.GetCorner(4), Point(0, 0));
    EXPECT_TRUE(Reported(capture, "false"));
}

TEST(VolumeObjects, IntersectionNeedsACornerInside) {
    const VolumeObject a(0, 0, 0, 10, 10);
    EXPECT_TRUE(a.Intersects(VolumeObject(5, 5, 0, 10, 10)));
    EXPECT_TRUE(a.Intersects(VolumeObject(2, 2, 0, 2, 2)));   // inside: a holds its corners
    EXPECT_TRUE(VolumeObject(2, 2, 0, 2, 2).Intersects(a));   // and the other way round
    EXPECT_FALSE(a.Intersects(VolumeObject(10, 2, 0, 5, 5)));  // touching edges
    // Touching with a shared corner: a's corner (10, 0) is the other's own corner 0.
    EXPECT_TRUE(a.Intersects(VolumeObject(10, 0, 0, 5, 5)));
    // A plus-sign overlap has no corner inside either box.
    EXPECT_FALSE(VolumeObject(0, 4, 0, 20, 2).Intersects(VolumeObject(8, 0, 0, 2, 20)));

    VolumeObjectList list;
    list.push_back(ObjectSmartPointer<VolumeObject>(new VolumeObject(100, 100, 0, 5, 5)));
    EXPECT_FALSE(list.Intersects(a));
    list.push_back(ObjectSmartPointer<VolumeObject>(new VolumeObject(8, 8, 0, 5, 5)));
    EXPECT_TRUE(list.Intersects(a));
}

TEST(MousePosRemembererTest, ReportsReadBeforeSet) {
    struct Control : public MousePosRememberer {};
    ObjectSmartPointer<Control> c(new Control);
    {
        LogCapture capture;
        EXPECT_EQ(c->GetMousePos(), Point(0, 0));
        EXPECT_TRUE(Reported(capture, "_isSet"));
    }
    LogCapture capture;
    c->SetMousePos(Point(3, 4));
    EXPECT_EQ(c->GetMousePos(), Point(3, 4));
    EXPECT_EQ(capture.ErrorCount(), 0);
}
