#pragma once
// Frames as PNG files: 0xAARRGGBB words, top row first, written as 8-bit RGBA (or RGB).

#include <cstdint>
#include <string>
#include <vector>

namespace render_layer {

struct PngPicture {
    unsigned width = 0;
    unsigned height = 0;
    std::vector<std::uint32_t> pixels;  // 0xAARRGGBB, top row first
};

// False with a reason in error when the file cannot be written. withAlpha false drops the alpha.
bool WritePng(const std::string& path, const PngPicture& picture, bool withAlpha, std::string* error);
// Any PNG, expanded to 8-bit RGBA; false with a reason when it cannot be read.
bool ReadPng(const std::string& path, PngPicture* picture, std::string* error);

}  // namespace render_layer
