#include "tests/support/ScreenCompare.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/render/PngFile.h"

namespace testing_support {
namespace {

using render_layer::PngPicture;

bool Read(const std::string& path, PngPicture* picture, ScreenComparison* result) {
    std::string error;
    if (render_layer::ReadPng(path, picture, &error)) return true;
    result->report = path + ": " + error;
    return false;
}

ScreenComparison Compare(const std::string& firstPath, const std::string& secondPath, int tolerance,
                         std::size_t outliers, const PixelRegion& region) {
    ScreenComparison result;
    PngPicture first, second;
    if (!Read(firstPath, &first, &result) || !Read(secondPath, &second, &result)) return result;
    if (first.width != second.width || first.height != second.height) {
        result.report = firstPath + " is " + std::to_string(first.width) + "x" + std::to_string(first.height) + ", " +
                        secondPath + " is " + std::to_string(second.width) + "x" + std::to_string(second.height);
        return result;
    }
    const int w = static_cast<int>(first.width), h = static_cast<int>(first.height);
    const bool whole = region.width <= 0 || region.height <= 0;
    const int x0 = whole ? 0 : std::clamp(region.x, 0, w), y0 = whole ? 0 : std::clamp(region.y, 0, h);
    const int x1 = whole ? w : std::clamp(region.x + region.width, 0, w);
    const int y1 = whole ? h : std::clamp(region.y + region.height, 0, h);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * first.width + static_cast<std::size_t>(x);
            int difference = 0;
            for (int shift = 0; shift < 24; shift += 8) {
                const int a = static_cast<int>((first.pixels[i] >> shift) & 0xFF);
                const int b = static_cast<int>((second.pixels[i] >> shift) & 0xFF);
                difference = std::max(difference, std::abs(a - b));
            }
            result.worst = std::max(result.worst, difference);
            if (difference > tolerance) ++result.outside;
        }
    }
    result.matches = result.outside <= outliers;
    result.report = firstPath + " against " + secondPath + ": " + std::to_string(result.outside) +
                    " pixels beyond tolerance " + std::to_string(tolerance) + " (at most " +
                    std::to_string(outliers) + " allowed), largest difference " + std::to_string(result.worst);
    return result;
}

}  // namespace

ScreenComparison CompareWithReference(const std::string& shotPath, const std::string& referencePath, int tolerance,
                                      std::size_t outliers, const PixelRegion& region) {
    const char* update = std::getenv("MARIVEL_UPDATE_REFERENCES");
    if (update != nullptr && std::string(update) == "1") {
        std::error_code error;
        std::filesystem::copy_file(shotPath, referencePath, std::filesystem::copy_options::overwrite_existing, error);
        ScreenComparison result;
        result.matches = !error;
        result.report = error ? "cannot update " + referencePath + ": " + error.message() : "updated " + referencePath;
        return result;
    }
    return Compare(shotPath, referencePath, tolerance, outliers, region);
}

ScreenComparison ComparePictures(const std::string& firstPath, const std::string& secondPath, int tolerance,
                                 std::size_t outliers, const PixelRegion& region) {
    return Compare(firstPath, secondPath, tolerance, outliers, region);
}

}  // namespace testing_support
