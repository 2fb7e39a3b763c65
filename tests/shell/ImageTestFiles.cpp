#include "tests/shell/ImageTestFiles.h"

#include <jpeglib.h>
#include <png.h>

#include <cstdio>
#include <stdexcept>

#include "shell/Image.h"

namespace image_test {

Picture::Picture(int w, int h, std::uint32_t fillRgba) : width(w), height(h), rgba(static_cast<std::size_t>(w) * h * 4) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) Set(x, y, fillRgba);
    }
}

void Picture::Set(int x, int yFromTop, std::uint32_t value) {
    std::uint8_t* p = &rgba[(static_cast<std::size_t>(yFromTop) * width + x) * 4];
    p[0] = static_cast<std::uint8_t>(value >> 24);
    p[1] = static_cast<std::uint8_t>(value >> 16);
    p[2] = static_cast<std::uint8_t>(value >> 8);
    p[3] = static_cast<std::uint8_t>(value);
}

namespace {
void WritePngRows(const std::string& path, int width, int height, const std::uint8_t* rows, bool sameRow) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, f);
    png_set_compression_level(png, 1);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        png_write_row(png, const_cast<png_bytep>(rows + (sameRow ? 0 : static_cast<std::size_t>(y) * width * 4)));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
}
}  // namespace

void WritePng(const std::string& path, const Picture& picture) {
    WritePngRows(path, picture.width, picture.height, picture.rgba.data(), false);
}

void WritePngOfSize(const std::string& path, int width, int height) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 4, 0x80);
    WritePngRows(path, width, height, row.data(), true);
}

void WriteJpeg(const std::string& path, const Picture& picture, int channels) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = static_cast<JDIMENSION>(picture.width);
    cinfo.image_height = static_cast<JDIMENSION>(picture.height);
    cinfo.input_components = channels;
    cinfo.in_color_space = channels == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(picture.width) * channels);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* p = &picture.rgba[(static_cast<std::size_t>(y) * picture.width + x) * 4];
            for (int c = 0; c < channels; ++c) row[static_cast<std::size_t>(x) * channels + c] = channels == 1 ? p[3] : p[c];
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(f);
}

std::string TgaHeader(int type, int width, int height, int bits, int colorMapType, int colorMapBits) {
    std::string h(18, '\0');
    h[1] = static_cast<char>(colorMapType);
    h[2] = static_cast<char>(type);
    h[7] = static_cast<char>(colorMapBits);
    h[12] = static_cast<char>(width & 0xFF);
    h[13] = static_cast<char>((width >> 8) & 0xFF);
    h[14] = static_cast<char>(height & 0xFF);
    h[15] = static_cast<char>((height >> 8) & 0xFF);
    h[16] = static_cast<char>(bits);
    return h;
}

std::vector<std::uint8_t> PictureBytes(int pixels) {
    const std::uint8_t* p = ImageBuffers::Picture();
    return std::vector<std::uint8_t>(p, p + static_cast<std::size_t>(pixels) * 4);
}

}  // namespace image_test
