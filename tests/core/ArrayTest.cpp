#include <gtest/gtest.h>

#include <cstdint>

#include "core/DynamicArray.h"
#include "core/DynamicArray2D.h"
#include "core/FPoint.h"
#include "core/ObjectSmartPointer.h"
#include "core/StaticArray.h"
#include "core/StaticArray2D.h"
#include "tests/core/CheckReports.h"

using check_reports::Reported;
using testing_support::LogCapture;

namespace {
const char* const DYNAMIC_RANGE = "0 <= pos && pos < _size";
const char* const STATIC_RANGE = "0 <= pos && pos < SIZE";

struct Counted : public Interface {
    explicit Counted(int* alive) : _alive(alive) { ++*_alive; }
    ~Counted() override { --*_alive; }
    int* _alive = nullptr;
};
}  // namespace

TEST(DynamicArrayTest, ResizeDiscardsOldContents) {
    DynamicArray<int> a(3, 7);
    a[1] = 99;
    a.Resize(3, 5);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(a[i], 5);
    DynamicArray<FPoint> points(2);
    EXPECT_EQ(points[1], FPoint());

    LogCapture capture;
    a.Resize(0, 1);
    EXPECT_EQ(a.GetData(), nullptr);
    EXPECT_EQ(a.GetSize(), 0);
    EXPECT_EQ(capture.ErrorCount(), 0);
    a.Resize(-1, 1);
    EXPECT_TRUE(Reported(capture, "size > 0"));
    EXPECT_EQ(a.GetSize(), 0);
    EXPECT_EQ(a.GetData(), nullptr);
}

TEST(DynamicArrayTest, OutOfRangeReportsAndStaysInsideTheStorage) {
    DynamicArray<std::uint8_t> a(4, 1);
    LogCapture capture;
    for (int pos : {-1, 4, 1000}) {
        a[pos] = 0xEE;  // under AddressSanitizer a stray write would be caught here
        EXPECT_EQ(static_cast<const DynamicArray<std::uint8_t>&>(a)[pos], 0);
    }
    EXPECT_TRUE(Reported(capture, DYNAMIC_RANGE));
    // Each fault is written once per place: the writing and the reading access.
    EXPECT_EQ(capture.ErrorCount(), 2);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(a[i], 1);

    DynamicArray<int> empty;
    empty.Resize(0, 3);
    LogCapture emptyCapture;
    empty[0] = 5;
    EXPECT_TRUE(Reported(emptyCapture, DYNAMIC_RANGE));
}

TEST(DynamicArrayTest, OutOfRangeThrowsUnderGuard) {
    DynamicArray<int> a(2, 0);
    AssertThrowGuard guard;
    EXPECT_THROW(a[2], AssertionFailedException);
    EXPECT_THROW(a.Resize(-3, 0), AssertionFailedException);
    EXPECT_EQ(a.GetSize(), 0);
}

TEST(DynamicArrayTest, CopyAndSelfAssignment) {
    DynamicArray<int> source(5, 0);
    for (int i = 0; i < 5; ++i) source[i] = i * i;
    DynamicArray<int> target(2, 9);
    target = source;
    ASSERT_EQ(target.GetSize(), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(target[i], i * i);
    target[0] = 42;
    EXPECT_EQ(source[0], 0);  // deep copy

    DynamicArray<int>& alias = target;
    target = alias;
    ASSERT_EQ(target.GetSize(), 5);
    EXPECT_EQ(target[0], 42);
    const DynamicArray<int> copy(target);
    EXPECT_EQ(copy[4], 16);
}

TEST(DynamicArrayTest, HeldObjectsAreReleasedByResizeAndDestruction) {
    int alive = 0;
    {
        ObjectSmartPointer<Counted> one(new Counted(&alive));
        DynamicArray<ObjectSmartPointer<Counted>> held(3, one);
        one = nullptr;
        EXPECT_EQ(alive, 1);
        DynamicArray<ObjectSmartPointer<Counted>> copy(held);
        held.Resize(2);
        EXPECT_EQ(alive, 1);
        copy.Resize(0);
        EXPECT_EQ(alive, 0);
        held[0] = ObjectSmartPointer<Counted>(new Counted(&alive));
        EXPECT_EQ(alive, 1);
    }
    EXPECT_EQ(alive, 0);
}

TEST(DynamicArray2DTest, GridOfOneValueWithCheckedRowsAndColumns) {
    DynamicArray2D<int> grid(3, 4, 8);
    ASSERT_EQ(grid.GetSize(), 3);
    for (int x = 0; x < 3; ++x) {
        ASSERT_EQ(grid[x].GetSize(), 4);
        for (int y = 0; y < 4; ++y) EXPECT_EQ(grid[x][y], 8);
    }
    grid[2][3] = 1;
    {
        LogCapture capture;
        EXPECT_EQ(grid[3][0], 0);
        EXPECT_TRUE(Reported(capture, DYNAMIC_RANGE));
        EXPECT_EQ(capture.ErrorCount(), 1);  // only the row index is reported
    }
    {
        LogCapture capture;
        grid[0][4] = 5;
        EXPECT_TRUE(Reported(capture, DYNAMIC_RANGE));
        EXPECT_EQ(capture.ErrorCount(), 1);
    }
    DynamicArray2D<int> copy;
    copy = grid;
    EXPECT_EQ(copy[2][3], 1);
    copy = copy;
    EXPECT_EQ(copy[2][3], 1);

    LogCapture capture;
    grid.Resize(0, 4, 1);
    EXPECT_EQ(grid.GetSize(), 0);
    EXPECT_EQ(capture.ErrorCount(), 0);
    grid.Resize(-2, 4, 1);
    EXPECT_TRUE(Reported(capture, "size > 0"));
    EXPECT_EQ(grid.GetSize(), 0);
}

TEST(StaticArrayTest, FieldGridChecksBothIndices) {
    StaticArray2D<std::int32_t, 15, 13> field;
    EXPECT_EQ(field[0][0], 0);
    field[14][12] = 3;
    EXPECT_EQ(field[14][12], 3);
    {
        LogCapture capture;
        field[15][0] = 1;
        EXPECT_TRUE(Reported(capture, STATIC_RANGE));
        EXPECT_EQ(capture.ErrorCount(), 1);
    }
    {
        LogCapture capture;
        field[0][13] = 1;
        field[-1][-1] = 1;
        EXPECT_TRUE(Reported(capture, STATIC_RANGE));
        EXPECT_EQ(capture.ErrorCount(), 2);  // the row check fails twice at its one place: written once
    }
    StaticArray<int, 4> small;
    small[3] = 4;
    LogCapture capture;
    EXPECT_EQ(small[4], 0);
    EXPECT_EQ(small[3], 4);
    EXPECT_TRUE(Reported(capture, STATIC_RANGE));
}
