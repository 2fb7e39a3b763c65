#pragma once
// Writes small picture files for the image and texture tests.

#include <cstdint>
#include <string>
#include <vector>

namespace image_test {

// Red, green, blue, alpha bytes, top row first (the file order of PNG).
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
    Picture(int w, int h, std::uint32_t fillRgba = 0);
    void Set(int x, int yFromTop, std::uint32_t rgba);
};

void WritePng(const std::string& path, const Picture& picture);
// A PNG whose header declares the size; the picture data is a plain fill (fast, small).
void WritePngOfSize(const std::string& path, int width, int height);
// Three channels (colour) or one (alpha as grey), quality 100.
void WriteJpeg(const std::string& path, const Picture& picture, int channels);
// Header of an uncompressed or run-length true-colour TGA followed by the given body.
std::string TgaHeader(int type, int width, int height, int bits, int colorMapType = 0, int colorMapBits = 0);

// The first n pixels of the picture buffer as bytes.
std::vector<std::uint8_t> PictureBytes(int pixels);

}  // namespace image_test
