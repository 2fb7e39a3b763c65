#include "shell/ImageDecoders.h"

#include <csetjmp>
#include <cstring>

#include <jpeglib.h>
#include <png.h>

#include "shell/Image.h"

namespace ImageDecoders {

Result CheckSize(int width, int height) {
    if (!(1 <= height && height <= MAX_ROWS)) return DECODE_BAD_HEIGHT;
    if (!(1 <= width && width <= MAX_SQUARE / height)) return DECODE_BAD_WIDTH;
    return DECODE_OK;
}

// ---- JPEG ----

namespace {

struct JpegErrorManager {
    jpeg_error_mgr standard;
    std::jmp_buf jump;
};

void JpegErrorExit(j_common_ptr cinfo) {
    JpegErrorManager* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    std::longjmp(manager->jump, 1);
}

void JpegEmitMessage(j_common_ptr cinfo, int level) {
    // Warnings fail the read; trace messages are ignored.
    if (level == -1) {
        JpegErrorManager* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
        std::longjmp(manager->jump, 1);
    }
}

// Everything between setjmp and longjmp is plain C data; the caller owns the structures.
Result JpegRead(jpeg_decompress_struct* cinfo, JpegErrorManager* errors, std::FILE* f, unsigned char* dest,
                unsigned char** rows, Picture* out, bool headerOnly) {
    cinfo->err = jpeg_std_error(&errors->standard);
    errors->standard.error_exit = JpegErrorExit;
    errors->standard.emit_message = JpegEmitMessage;
    if (setjmp(errors->jump) != 0) {
        jpeg_destroy_decompress(cinfo);
        return DECODE_CORRUPT;
    }
    jpeg_create_decompress(cinfo);
    jpeg_stdio_src(cinfo, f);
    jpeg_read_header(cinfo, TRUE);
    // The output size is known before decompression starts; test it before anything is allocated.
    jpeg_calc_output_dimensions(cinfo);
    out->width = static_cast<int>(cinfo->output_width);
    out->height = static_cast<int>(cinfo->output_height);
    out->components = cinfo->output_components;
    if (headerOnly) {
        jpeg_destroy_decompress(cinfo);
        return DECODE_OK;
    }
    Result size = CheckSize(out->width, out->height);
    if (size == DECODE_OK && !(1 <= out->components && out->components <= 4)) size = DECODE_BAD_COMPONENTS;
    if (size != DECODE_OK) {
        jpeg_destroy_decompress(cinfo);
        return size;
    }
    jpeg_start_decompress(cinfo);
    const std::size_t rowBytes = static_cast<std::size_t>(out->width) * out->components;
    for (int i = 0; i < out->height; ++i) {
        rows[i] = dest + rowBytes * static_cast<std::size_t>(out->height - 1 - i);
    }
    while (cinfo->output_scanline < cinfo->output_height) {
        jpeg_read_scanlines(cinfo, rows + cinfo->output_scanline, cinfo->output_height - cinfo->output_scanline);
    }
    jpeg_destroy_decompress(cinfo);
    return DECODE_OK;
}

}  // namespace

Result ReadJpeg(std::FILE* f, unsigned char* dest, unsigned char** rows, Picture* out) {
    jpeg_decompress_struct cinfo;
    JpegErrorManager errors;
    std::memset(&cinfo, 0, sizeof(cinfo));
    return JpegRead(&cinfo, &errors, f, dest, rows, out, false);
}

Result ReadJpegHeader(std::FILE* f, Picture* out) {
    jpeg_decompress_struct cinfo;
    JpegErrorManager errors;
    std::memset(&cinfo, 0, sizeof(cinfo));
    return JpegRead(&cinfo, &errors, f, nullptr, nullptr, out, true);
}

// ---- PNG ----

namespace {

struct PngContext {
    std::jmp_buf jump;
};

// One function serves as error and warning handler: a warning fails the read like an error.
void PngFailure(png_structp png, png_const_charp) {
    PngContext* context = static_cast<PngContext*>(png_get_error_ptr(png));
    std::longjmp(context->jump, 1);
}

Result PngRead(PngContext* context, png_structp* png, png_infop* info, std::FILE* f, unsigned char* dest,
               unsigned char** rows, Picture* out, bool headerOnly) {
    unsigned char signature[8];
    if (std::fread(signature, 1, 8, f) != 8 || png_sig_cmp(signature, 0, 8) != 0) {
        return DECODE_BAD_SIGNATURE;
    }
    *png = png_create_read_struct(PNG_LIBPNG_VER_STRING, context, PngFailure, PngFailure);
    if (*png == nullptr) return DECODE_NO_READ_STRUCT;
    *info = png_create_info_struct(*png);
    if (*info == nullptr) {
        png_destroy_read_struct(png, nullptr, nullptr);
        return DECODE_NO_INFO_STRUCT;
    }
    if (setjmp(context->jump) != 0) {
        png_destroy_read_struct(png, info, nullptr);
        return DECODE_CORRUPT;
    }
    png_init_io(*png, f);
    png_set_sig_bytes(*png, 8);
    png_read_info(*png, *info);

    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colorType = 0;
    png_get_IHDR(*png, *info, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);
    out->width = static_cast<int>(width);
    out->height = static_cast<int>(height);
    out->components = 4;
    if (headerOnly) {
        png_destroy_read_struct(png, info, nullptr);
        return DECODE_OK;
    }
    const Result size = CheckSize(out->width, out->height);
    if (size != DECODE_OK) {
        png_destroy_read_struct(png, info, nullptr);
        return size;
    }

    if (bitDepth == 16) png_set_strip_16(*png);
    if (colorType == PNG_COLOR_TYPE_PALETTE && bitDepth <= 8) png_set_palette_to_rgb(*png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(*png);
    if (png_get_valid(*png, *info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(*png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(*png);
    if (colorType == PNG_COLOR_TYPE_RGB) png_set_filler(*png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(*png);
    double fileGamma = 0.0;
    if (png_get_gAMA(*png, *info, &fileGamma)) {
        png_set_gamma(*png, 2.2, fileGamma);
    } else {
        png_set_gamma(*png, 2.2, 0.45455);
    }
    // Interlaced pictures are read whole.
    png_set_interlace_handling(*png);
    png_read_update_info(*png, *info);

    const std::size_t rowBytes = png_get_rowbytes(*png, *info);
    if (rowBytes != static_cast<std::size_t>(out->width) * 4) {
        png_destroy_read_struct(png, info, nullptr);
        return DECODE_BAD_ROW_BYTES;
    }
    for (int i = 0; i < out->height; ++i) {
        rows[i] = dest + rowBytes * static_cast<std::size_t>(out->height - 1 - i);
    }
    png_read_image(*png, rows);
    png_destroy_read_struct(png, info, nullptr);
    return DECODE_OK;
}

}  // namespace

Result ReadPng(std::FILE* f, unsigned char* dest, unsigned char** rows, Picture* out) {
    PngContext context;
    png_structp png = nullptr;
    png_infop info = nullptr;
    return PngRead(&context, &png, &info, f, dest, rows, out, false);
}

Result ReadPngHeader(std::FILE* f, Picture* out) {
    PngContext context;
    png_structp png = nullptr;
    png_infop info = nullptr;
    return PngRead(&context, &png, &info, f, nullptr, nullptr, out, true);
}

}  // namespace ImageDecoders
