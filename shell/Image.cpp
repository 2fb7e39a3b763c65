#include "shell/Image.h"

#include <cstring>

#include "core/Assert.h"

namespace {
unsigned char pictureBuffer[static_cast<std::size_t>(MAX_SQUARE) * 4];
unsigned char scratchBuffer[static_cast<std::size_t>(MAX_SQUARE) * 4];
unsigned char* pngRowTable[MAX_ROWS];
unsigned char* jpegRowTable[MAX_ROWS];

const int MAX_EXPANDED_SIDE = 4096;

int NextPowerOfTwo(int value) {
    int result = 1;
    while (result < value && result < MAX_EXPANDED_SIDE * 2) result <<= 1;
    return result;
}
}  // namespace

namespace ImageBuffers {
unsigned char* Picture() { return pictureBuffer; }
unsigned char* Scratch() { return scratchBuffer; }
unsigned char** PngRows() { return pngRowTable; }
unsigned char** JpegRows() { return jpegRowTable; }
}  // namespace ImageBuffers

Image::Image(const Image& other)
    : ownsData(false),
      alphaChannel(other.alphaChannel),
      data(other.data),
      width(other.width),
      height(other.height),
      components(other.components) {}

Image& Image::operator=(const Image& other) {
    if (this != &other) {
        FreeData();
        ownsData = false;
        alphaChannel = other.alphaChannel;
        data = other.data;
        width = other.width;
        height = other.height;
        components = other.components;
    }
    return *this;
}

Image::~Image() { FreeData(); }

void Image::FreeData() {
    if (ownsData) {
        delete[] data;
        data = nullptr;
    }
}

void Image::ExpandToPowerOfTwo(Image& image) {
    const int oldWidth = image.width;
    const int oldHeight = image.height;
    Assert(oldWidth > 0 && oldHeight > 0);
    Assert(oldWidth <= MAX_EXPANDED_SIDE && oldHeight <= MAX_EXPANDED_SIDE);
    if (oldWidth <= 0 || oldHeight <= 0 || oldWidth > MAX_EXPANDED_SIDE || oldHeight > MAX_EXPANDED_SIDE) {
        return;
    }
    Assert(static_cast<long long>(oldWidth) * oldHeight <= MAX_SQUARE);
    const int newWidth = NextPowerOfTwo(oldWidth);
    const int newHeight = NextPowerOfTwo(oldHeight);
    const long long newSquare = static_cast<long long>(newWidth) * newHeight;
    // Refused: the expanded picture would not fit the picture buffer.
    Assert(newSquare <= MAX_SQUARE);
    if (newSquare > MAX_SQUARE || static_cast<long long>(oldWidth) * oldHeight > MAX_SQUARE) {
        return;
    }
    if (newWidth == oldWidth && newHeight == oldHeight) {
        return;
    }
    const std::size_t oldRow = static_cast<std::size_t>(oldWidth) * 4;
    const std::size_t newRow = static_cast<std::size_t>(newWidth) * 4;
    std::memcpy(scratchBuffer, pictureBuffer, oldRow * oldHeight);
    std::memset(pictureBuffer, 0, newRow * newHeight);
    for (int row = 0; row < oldHeight; ++row) {
        std::memcpy(pictureBuffer + newRow * row, scratchBuffer + oldRow * row, oldRow);
    }
    image.width = newWidth;
    image.height = newHeight;
}
