#pragma once
// The preview picture's BMP file, built into the program from screensaver/PreviewPicture.bmp
// (written by tools/make-screensaver-preview.py).

#include <cstddef>

namespace screensaver {

extern const unsigned char previewPictureBmp[];
extern const std::size_t previewPictureBmpSize;

}  // namespace screensaver
