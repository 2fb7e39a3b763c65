#include <gtest/gtest.h>

#include "platform/render/PngFile.h"
#include "tests/support/ScreenCompare.h"
#include "tests/support/TestSupport.h"

namespace {

using render_layer::PngPicture;

std::string Write(const std::string& path, unsigned width, unsigned height, std::uint32_t colour) {
    PngPicture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(static_cast<std::size_t>(width) * height, colour);
    EXPECT_TRUE(render_layer::WritePng(path, picture, false, nullptr));
    return path;
}

TEST(ScreenCompare, ToleranceOutliersRegionAndSize) {
    const std::string dir = testing_support::MakeTempDir("compare");
    const std::string base = Write(dir + "base.png", 8, 4, 0xFF102030u);
    PngPicture changed;
    ASSERT_TRUE(render_layer::ReadPng(base, &changed, nullptr));
    changed.pixels[1] = 0xFF102038u;   // 8 off in blue
    changed.pixels[2] = 0xFFFF2030u;   // far off in red, top row
    ASSERT_TRUE(render_layer::WritePng(dir + "changed.png", changed, false, nullptr));
    const std::string other = dir + "changed.png";

    EXPECT_TRUE(testing_support::ComparePictures(base, base, 0, 0).matches);
    const auto strict = testing_support::ComparePictures(base, other, 8, 0);
    EXPECT_FALSE(strict.matches);
    EXPECT_EQ(1u, strict.outside);
    EXPECT_EQ(0xFF - 0x10, strict.worst);
    EXPECT_TRUE(testing_support::ComparePictures(base, other, 8, 1).matches);
    EXPECT_EQ(2u, testing_support::ComparePictures(base, other, 7, 0).outside);
    // Rows 1..3 leave both changed pixels out.
    EXPECT_TRUE(testing_support::ComparePictures(base, other, 0, 0, {0, 1, 8, 3}).matches);

    const auto size = testing_support::ComparePictures(base, Write(dir + "small.png", 4, 4, 0xFF102030u), 255, 100);
    EXPECT_FALSE(size.matches);
    EXPECT_NE(std::string::npos, size.report.find("8x4"));
    EXPECT_FALSE(testing_support::CompareWithReference(base, dir + "missing.png", 255, 100).matches);
}

}  // namespace
