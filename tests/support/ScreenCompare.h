#pragma once
// Compares a screenshot of a headless run with a checked-in reference picture within a tolerance.
// With MARIVEL_UPDATE_REFERENCES=1 in the environment the screenshot replaces the reference
// instead (then look at the new picture before committing it).

#include <cstddef>
#include <string>

namespace testing_support {

// A part of the picture in pixels, origin top-left; an empty region means the whole picture.
struct PixelRegion {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct ScreenComparison {
    bool matches = false;
    std::size_t outside = 0;  // pixels whose largest channel difference exceeds the tolerance
    int worst = 0;            // the largest channel difference seen
    std::string report;       // what a failing test prints
};

// Pixels match when no colour channel differs by more than tolerance; the pictures match when at
// most outliers pixels of the region do not.
ScreenComparison CompareWithReference(const std::string& shotPath, const std::string& referencePath, int tolerance,
                                      std::size_t outliers, const PixelRegion& region = PixelRegion());

// Two screenshots compared with each other (e.g. the same board before and after a restart).
ScreenComparison ComparePictures(const std::string& firstPath, const std::string& secondPath, int tolerance,
                                 std::size_t outliers, const PixelRegion& region = PixelRegion());

}  // namespace testing_support
