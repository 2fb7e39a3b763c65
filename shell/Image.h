#pragma once
// A loaded picture's description; the pixels lie in the one process-wide picture buffer.

#include <cstdint>

// A picture has at most MAX_ROWS rows and MAX_SQUARE pixels.
const int MAX_ROWS = 2048;
const int MAX_SQUARE = 2048 * 1024;

struct Image {
    bool ownsData = false;
    bool alphaChannel = false;
    unsigned char* data = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t components = 0;

    Image() = default;
    // A copy shares the description but never owns the source's pixel array.
    Image(const Image& other);
    Image& operator=(const Image& other);
    ~Image();

    void FreeData();

    // Widens the picture in the picture buffer to power-of-two sides, keeping its bottom-left corner.
    static void ExpandToPowerOfTwo(Image& image);
};

namespace ImageBuffers {
// Blue, green, red, alpha pixels of the last loaded picture, bottom row first.
unsigned char* Picture();
// The decoders' first stop; as large as the picture buffer.
unsigned char* Scratch();
// Row address tables for the two library decoders.
unsigned char** PngRows();
unsigned char** JpegRows();
}  // namespace ImageBuffers
