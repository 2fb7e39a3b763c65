#pragma once
// Thin wrappers over libpng and libjpeg. Library errors come back through setjmp/longjmp inside each
// wrapper and are returned as a result code: nothing throws through the libraries' frames.

#include <cstddef>
#include <cstdio>

namespace ImageDecoders {

enum Result {
    DECODE_OK = 0,
    DECODE_CORRUPT,          // the library reported an error or a warning
    DECODE_BAD_SIGNATURE,    // not a PNG
    DECODE_NO_READ_STRUCT,   // the library could not make its read structure
    DECODE_NO_INFO_STRUCT,   // ... or its info structure
    DECODE_BAD_HEIGHT,       // "1 <= height && height <= MAX_ROWS"
    DECODE_BAD_WIDTH,        // "1 <= width && width <= MAX_SQUARE / height"
    DECODE_BAD_COMPONENTS,   // "1 <= components && components <= 4"
    DECODE_BAD_ROW_BYTES     // "row_bytes == width * 4"
};

struct Picture {
    int width = 0;
    int height = 0;
    int components = 0;
};

// Decodes a whole JPEG into dest as bottom-up rows of width * components bytes.
Result ReadJpeg(std::FILE* f, unsigned char* dest, unsigned char** rows, Picture* out);
// Reads only the header: output size and components.
Result ReadJpegHeader(std::FILE* f, Picture* out);

// Decodes a whole PNG into dest as bottom-up rows of blue, green, red, alpha.
Result ReadPng(std::FILE* f, unsigned char* dest, unsigned char** rows, Picture* out);
// Reads only the signature and the header.
Result ReadPngHeader(std::FILE* f, Picture* out);

// The size limits every picture must meet.
Result CheckSize(int width, int height);

}  // namespace ImageDecoders
