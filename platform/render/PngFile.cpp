#include "platform/render/PngFile.h"

#include <png.h>

#include <cstdio>
#include <memory>

namespace render_layer {

namespace {

struct FileCloser {
    void operator()(FILE* file) const {
        if (file) std::fclose(file);
    }
};

void PngError(png_structp png, png_const_charp message) {
    auto* error = static_cast<std::string*>(png_get_error_ptr(png));
    if (error) *error = message;
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

}  // namespace

bool WritePng(const std::string& path, const PngPicture& picture, bool withAlpha, std::string* error) {
    std::string reason;
    if (picture.width == 0 || picture.height == 0 ||
        picture.pixels.size() != static_cast<size_t>(picture.width) * picture.height) {
        if (error) *error = "picture size does not match its pixels";
        return false;
    }
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        if (error) *error = "cannot open " + path;
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &reason, PngError, PngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, &info);
        if (error) *error = "libpng cannot start";
        return false;
    }
    const unsigned channels = withAlpha ? 4 : 3;
    std::vector<png_byte> row(static_cast<size_t>(picture.width) * channels);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        if (error) *error = reason;
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, picture.width, picture.height, 8, withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (unsigned y = 0; y < picture.height; ++y) {
        for (unsigned x = 0; x < picture.width; ++x) {
            const std::uint32_t c = picture.pixels[static_cast<size_t>(y) * picture.width + x];
            png_byte* out = &row[static_cast<size_t>(x) * channels];
            out[0] = static_cast<png_byte>(c >> 16);
            out[1] = static_cast<png_byte>(c >> 8);
            out[2] = static_cast<png_byte>(c);
            if (withAlpha) out[3] = static_cast<png_byte>(c >> 24);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fflush(file.get()) != 0) {
        if (error) *error = "cannot write " + path;
        return false;
    }
    return true;
}

bool ReadPng(const std::string& path, PngPicture* picture, std::string* error) {
    std::string reason;
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        if (error) *error = "cannot open " + path;
        return false;
    }
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &reason, PngError, PngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_read_struct(&png, &info, nullptr);
        if (error) *error = "libpng cannot start";
        return false;
    }
    std::vector<png_byte> data;
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        if (error) *error = reason;
        return false;
    }
    png_init_io(png, file.get());
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    if (rowBytes != static_cast<size_t>(width) * 4) {
        png_destroy_read_struct(&png, &info, nullptr);
        if (error) *error = "unexpected PNG layout";
        return false;
    }
    data.resize(rowBytes * height);
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = &data[y * rowBytes];
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    picture->width = width;
    picture->height = height;
    picture->pixels.resize(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < picture->pixels.size(); ++i) {
        const png_byte* p = &data[i * 4];
        picture->pixels[i] = (static_cast<std::uint32_t>(p[3]) << 24) | (static_cast<std::uint32_t>(p[0]) << 16) |
                             (static_cast<std::uint32_t>(p[1]) << 8) | p[2];
    }
    return true;
}

}  // namespace render_layer
