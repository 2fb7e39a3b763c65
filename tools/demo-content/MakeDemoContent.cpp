// Writes the demo pictures, the demo bitmap font and the image test fixtures.
// Usage: make-demo-content <repository root>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <jpeglib.h>
#include <png.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/CodePage.h"

namespace {

struct Rgba {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> px;  // red, green, blue, alpha; top row first
    Rgba(int w, int h) : width(w), height(h), px(static_cast<std::size_t>(w) * h * 4, 0) {}
    std::uint8_t* At(int x, int y) { return &px[(static_cast<std::size_t>(y) * width + x) * 4]; }
    void Set(int x, int y, int r, int g, int b, int a) {
        std::uint8_t* p = At(x, y);
        p[0] = static_cast<std::uint8_t>(r);
        p[1] = static_cast<std::uint8_t>(g);
        p[2] = static_cast<std::uint8_t>(b);
        p[3] = static_cast<std::uint8_t>(a);
    }
};

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "make-demo-content: %s\n", what.c_str());
    std::exit(1);
}

void WritePng(const std::string& path, const Rgba& image) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) Fail("cannot write " + path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) Fail("png error " + path);
    png_init_io(png, f);
    png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y) {
        png_write_row(png, const_cast<png_bytep>(&image.px[static_cast<std::size_t>(y) * image.width * 4]));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
}

// channels 3: the colour of the picture; channels 1: its alpha as grey.
void WriteJpeg(const std::string& path, const Rgba& image, int channels, int quality) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) Fail("cannot write " + path);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = static_cast<JDIMENSION>(image.width);
    cinfo.image_height = static_cast<JDIMENSION>(image.height);
    cinfo.input_components = channels;
    cinfo.in_color_space = channels == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    // Full-resolution colour: small pictures keep their colours apart.
    for (int i = 0; i < cinfo.num_components; ++i) {
        cinfo.comp_info[i].h_samp_factor = 1;
        cinfo.comp_info[i].v_samp_factor = 1;
    }
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(image.width) * channels);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p = &image.px[(static_cast<std::size_t>(y) * image.width + x) * 4];
            if (channels == 3) {
                row[x * 3] = p[0];
                row[x * 3 + 1] = p[1];
                row[x * 3 + 2] = p[2];
            } else {
                row[x] = p[3];
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(f);
}

// Type 2 (uncompressed) or 10 (run-length) true colour, rows bottom first, 24 or 32 bits.
void WriteTga(const std::string& path, const Rgba& image, int type, int bits) {
    std::vector<std::uint8_t> out = {0, 0, static_cast<std::uint8_t>(type), 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                     static_cast<std::uint8_t>(image.width & 0xFF),
                                     static_cast<std::uint8_t>(image.width >> 8),
                                     static_cast<std::uint8_t>(image.height & 0xFF),
                                     static_cast<std::uint8_t>(image.height >> 8), static_cast<std::uint8_t>(bits),
                                     static_cast<std::uint8_t>(bits == 32 ? 8 : 0)};
    const int bytes = bits / 8;
    std::vector<std::uint32_t> pixels;
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p = &image.px[(static_cast<std::size_t>(y) * image.width + x) * 4];
            pixels.push_back(p[2] | (p[1] << 8) | (p[0] << 16) | (static_cast<std::uint32_t>(bytes == 4 ? p[3] : 255) << 24));
        }
    }
    auto put = [&](std::uint32_t v) {
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    if (type == 2) {
        for (std::uint32_t v : pixels) put(v);
    } else {
        std::size_t i = 0;
        while (i < pixels.size()) {
            std::size_t run = 1;
            while (i + run < pixels.size() && run < 128 && pixels[i + run] == pixels[i]) ++run;
            if (run > 1) {
                out.push_back(static_cast<std::uint8_t>(0x80 | (run - 1)));
                put(pixels[i]);
                i += run;
            } else {
                std::size_t raw = 1;
                while (i + raw < pixels.size() && raw < 128 &&
                       !(i + raw + 1 < pixels.size() && pixels[i + raw] == pixels[i + raw + 1])) {
                    ++raw;
                }
                out.push_back(static_cast<std::uint8_t>(raw - 1));
                for (std::size_t k = 0; k < raw; ++k) put(pixels[i + k]);
                i += raw;
            }
        }
    }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) Fail("cannot write " + path);
    std::fwrite(out.data(), 1, out.size(), f);
    std::fclose(f);
}

double Clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

// A round bubble: light rim, clear middle.
Rgba Bubble(int size) {
    Rgba img(size, size);
    const double c = (size - 1) / 2.0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double d = std::hypot(x - c, y - c) / (size / 2.0);
            if (d > 1.0) continue;
            const double rim = Clamp01((d - 0.6) / 0.4);
            const double glint = std::hypot(x - c * 0.6, y - c * 0.6) < size * 0.1 ? 1.0 : 0.0;
            const int a = static_cast<int>(255 * Clamp01(0.25 + 0.75 * rim * rim + glint));
            img.Set(x, y, 200 + static_cast<int>(55 * glint), 230, 255, a);
        }
    }
    return img;
}

// A small fish facing right: ellipse body, triangle tail, one eye.
Rgba Fish(int w, int h) {
    Rgba img(w, h);
    const double cx = w * 0.58, cy = h / 2.0, rx = w * 0.38, ry = h * 0.38;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double e = std::pow((x - cx) / rx, 2) + std::pow((y - cy) / ry, 2);
            const double tailX = (w * 0.24 - x) / (w * 0.22);
            const bool tail = tailX >= 0 && tailX <= 1 && std::fabs(y - cy) <= h * 0.45 * tailX;
            if (e <= 1.0 || tail) {
                const int stripe = (x / 8) % 2 ? 40 : 0;
                img.Set(x, y, 250, 140 + stripe, 30, 255);
            }
            if (std::hypot(x - w * 0.82, y - h * 0.42) < h * 0.07) img.Set(x, y, 20, 20, 40, 255);
        }
    }
    return img;
}

// Sand with ripples; alpha fades towards the top.
Rgba Sand(int w, int h) {
    Rgba img(w, h);
    std::uint32_t seed = 12345;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int noise = static_cast<int>((seed >> 16) % 24);
            const int ripple = static_cast<int>(18 * std::sin(x * 0.3 + y * 0.15));
            img.Set(x, y, 210 + noise / 2 + ripple / 3, 180 + noise / 2 + ripple / 3, 120 + noise, static_cast<int>(255.0 * y / (h - 1)));
        }
    }
    return img;
}

// A tile that repeats without seams.
Rgba Tile(int size) {
    Rgba img(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const bool line = x == 0 || y == 0;
            const int shade = ((x / (size / 4)) + (y / (size / 4))) % 2 ? 30 : 0;
            img.Set(x, y, line ? 20 : 40 + shade, line ? 60 : 110 + shade, line ? 90 : 160 + shade, 255);
        }
    }
    return img;
}

// A stone: grey disc with soft edge, banded so the run-length form has long runs.
Rgba Stone(int w, int h) {
    Rgba img(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double d = std::hypot((x - w / 2.0) / (w / 2.0), (y - h / 2.0) / (h / 2.0));
            if (d > 1.0) continue;
            const int band = 100 + 20 * ((y / 4) % 3);
            img.Set(x, y, band, band + 5, band + 10, static_cast<int>(255 * Clamp01((1.0 - d) * 4)));
        }
    }
    return img;
}

struct GlyphOut {
    int code, a, b, c, x, y;
};

// The demo font: DejaVu Sans rendered by FreeType into a power-of-two page with its metrics file.
void MakeFont(const std::string& fontFile, int pixelSize, const std::string& outBase) {
    FT_Library lib;
    FT_Face face;
    if (FT_Init_FreeType(&lib) != 0) Fail("freetype init");
    if (FT_New_Face(lib, fontFile.c_str(), 0, &face) != 0) Fail("cannot open " + fontFile);
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize));
    const int ascent = static_cast<int>(face->size->metrics.ascender >> 6);
    const int descent = static_cast<int>(-(face->size->metrics.descender >> 6));
    const int xOffset = 1, yOffset = 1;
    const int cell = ascent + descent + 2 * yOffset;
    const int pageW = 256, pageH = 256;
    Rgba page(pageW, pageH);

    // The game's characters are Windows-1251 bytes: the upper half draws the character each byte
    // stands for (Cyrillic, dashes, quotes...), after the printable ASCII ones.
    std::vector<int> codes;
    for (int c = 33; c <= 126; ++c) codes.push_back(c);
    for (int c = 0x80; c <= 0xFF; ++c) {
        if (CodePointFromWindows1251(static_cast<unsigned char>(c)) != 0) codes.push_back(c);
    }

    std::vector<GlyphOut> glyphs;
    int penX = 0, top = 0;
    for (int code : codes) {
        const FT_ULong character = CodePointFromWindows1251(static_cast<unsigned char>(code));
        if (FT_Get_Char_Index(face, character) == 0 || FT_Load_Char(face, character, FT_LOAD_RENDER) != 0) {
            Fail("no glyph for byte " + std::to_string(code));
        }
        const FT_GlyphSlot g = face->glyph;
        const int bw = static_cast<int>(g->bitmap.width);
        const int b = bw > 0 ? bw : 1;
        const int a = g->bitmap_left;
        const int advance = static_cast<int>(g->advance.x >> 6);
        const int c = advance - a - b;
        const int cellW = b + 2 * xOffset;
        if (penX + cellW > pageW) {
            penX = 0;
            top += cell;
        }
        if (top + cell > pageH) Fail("font page full");
        const int y = top + ascent - 1;
        const int baselineRow = y + yOffset;
        for (int r = 0; r < static_cast<int>(g->bitmap.rows); ++r) {
            const int row = baselineRow - g->bitmap_top + 1 + r;
            if (row < top + yOffset || row >= top + yOffset + ascent + descent) continue;
            for (int col = 0; col < bw; ++col) {
                const int cover = g->bitmap.buffer[r * g->bitmap.pitch + col];
                if (cover) page.Set(penX + xOffset + col, row, 255, 255, 255, cover);
            }
        }
        glyphs.push_back({code, a, b, c, penX, y});
        penX += cellW;
    }
    WritePng(outBase + ".png", page);
    std::FILE* f = std::fopen((outBase + ".txt").c_str(), "wb");
    if (!f) Fail("cannot write metrics");
    std::fprintf(f, "ascent = %d\ndescent = %d\nheight = %d\nxOffset = %d\nyOffset = %d\nnumChars = %d\n", ascent,
                 descent, cell, xOffset, yOffset, static_cast<int>(glyphs.size()));
    for (const GlyphOut& g : glyphs) {
        std::fprintf(f, "char = %d; A = %d; B = %d; C = %d; x = %d; y = %d; \n", g.code, g.a, g.b, g.c, g.x, g.y);
    }
    std::fclose(f);
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) Fail("usage: make-demo-content <repository root>");
    const std::string root = argv[1];
    const std::string textures = root + "/data/textures/";
    const std::string fonts = root + "/data/fonts/";
    const std::string fixtures = root + "/tests/shell/fixtures/images/";

    WritePng(textures + "bubble.png", Bubble(64));
    WritePng(textures + "fish.png", Fish(100, 50));
    WritePng(textures + "tile.png", Tile(32));
    const Rgba sand = Sand(128, 64);
    WriteJpeg(textures + "sand_pb.jpg", sand, 3, 90);
    WriteJpeg(textures + "sand_pa.jpg", sand, 1, 90);
    const Rgba stone = Stone(48, 48);
    WriteTga(textures + "stone.tga", stone, 2, 32);
    WriteTga(textures + "pebble.tga", Stone(64, 32), 10, 32);
    MakeFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 16, fonts + "demo");

    // Fixtures: a 4 x 2 picture as a JPEG pair (colour halves, alpha columns) and one plain JPEG.
    Rgba pair(4, 2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) pair.Set(x, y, y == 0 ? 255 : 0, y == 0 ? 0 : 255, 0, x * 85);
    }
    WriteJpeg(fixtures + "pair_pb.jpg", pair, 3, 100);
    WriteJpeg(fixtures + "pair_pa.jpg", pair, 1, 100);
    WriteJpeg(fixtures + "plain_b.jpg", pair, 3, 100);
    Rgba wide(8, 2);
    WriteJpeg(fixtures + "wide_pa.jpg", wide, 1, 100);
    return 0;
}
