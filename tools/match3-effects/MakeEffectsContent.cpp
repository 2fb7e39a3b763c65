// Writes the demo content of the match-three effects: piece pictures, painted cells and their
// glows, the lock atlas, the lightning strip and dot, the effects screen's background, the "boom"
// and "20_scores" bitmap fonts and the effects' samples. The output is the same on every run.
// Usage: make-effects-content <repository root>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr double PI = 3.14159265358979323846;

struct Rgba {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> px;  // red, green, blue, alpha; top row first
    Rgba(int w, int h) : width(w), height(h), px(static_cast<std::size_t>(w) * h * 4, 0) {}
    std::uint8_t* At(int x, int y) { return &px[(static_cast<std::size_t>(y) * width + x) * 4]; }
    void Set(int x, int y, double r, double g, double b, double a) {
        std::uint8_t* p = At(x, y);
        const double v[4] = {r, g, b, a};
        for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(std::lround(std::clamp(v[i], 0.0, 255.0)));
    }
};

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "make-effects-content: %s\n", what.c_str());
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

// How much of the pixel lies inside a circle (a one-pixel soft edge).
double Cover(double distance, double radius) { return std::clamp(radius - distance + 0.5, 0.0, 1.0); }

// A round sea piece: a shaded ball with a highlight at its upper left.
Rgba Piece(double r, double g, double b) {
    Rgba image(42, 42);
    for (int y = 0; y < 42; ++y) {
        for (int x = 0; x < 42; ++x) {
            const double dx = x + 0.5 - 21.0, dy = y + 0.5 - 21.0;
            const double d = std::hypot(dx, dy);
            const double cover = Cover(d, 19.0);
            if (cover <= 0.0) continue;
            const double shade = 1.0 - 0.45 * (d / 19.0) * (d / 19.0) - 0.15 * (dy / 19.0);
            const double spot = std::exp(-(std::pow(dx + 7.0, 2) + std::pow(dy + 7.0, 2)) / 18.0);
            const double rim = d > 17.0 ? 0.6 : 1.0;
            image.Set(x, y, (r * shade + 255.0 * spot) * rim, (g * shade + 255.0 * spot) * rim,
                      (b * shade + 255.0 * spot) * rim, 255.0 * cover);
        }
    }
    return image;
}

// A painted cell: a rounded square with a diagonal sheen, light at the top.
Rgba Cell(double r0, double g0, double b0, double r1, double g1, double b1) {
    Rgba image(44, 44);
    for (int y = 0; y < 44; ++y) {
        for (int x = 0; x < 44; ++x) {
            const double cx = std::clamp(x + 0.5, 6.0, 38.0), cy = std::clamp(y + 0.5, 6.0, 38.0);
            const double cover = Cover(std::hypot(x + 0.5 - cx, y + 0.5 - cy), 6.0);
            const double t = y / 43.0;
            const double sheen = 0.25 * std::exp(-std::pow((x - y) / 6.0, 2));
            const double edge = (x < 2 || y < 2 || x > 41 || y > 41) ? 0.7 : 1.0;
            image.Set(x, y, ((1 - t) * r0 + t * r1 + 255 * sheen) * edge, ((1 - t) * g0 + t * g1 + 255 * sheen) * edge,
                      ((1 - t) * b0 + t * b1 + 255 * sheen) * edge, 255.0 * cover);
        }
    }
    return image;
}

// A soft round glow, strongest in the middle.
Rgba Glow(int size, double r, double g, double b) {
    Rgba image(size, size);
    const double half = size / 2.0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double d = std::hypot(x + 0.5 - half, y + 0.5 - half) / half;
            const double a = d < 1.0 ? std::pow(1.0 - d, 1.6) : 0.0;
            image.Set(x, y, r, g, b, 255.0 * a);
        }
    }
    return image;
}

// A padlock over 3 x 2 tiles of 32: the shackle in the top row, the body below.
Rgba Lock() {
    Rgba image(96, 64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 96; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            // Body with rounded corners.
            const double bx = std::clamp(px, 22.0, 74.0), by = std::clamp(py, 30.0, 56.0);
            const double body = Cover(std::hypot(px - bx, py - by), 6.0);
            // Shackle: a half ring above the body.
            const double ring = std::hypot(px - 48.0, py - 30.0);
            const double shackle = py < 31.0 ? std::min(Cover(ring, 22.0), 1.0 - Cover(ring, 14.0)) : 0.0;
            // Keyhole.
            const double hole = std::max(Cover(std::hypot(px - 48.0, py - 41.0), 5.0),
                                         (std::fabs(px - 48.0) < 2.0 && py > 41.0 && py < 52.0) ? 1.0 : 0.0);
            if (body > 0.0) {
                const double t = (py - 24.0) / 38.0;
                const double rim = (px < 26 || px > 70 || py < 28 || py > 58) ? 0.75 : 1.0;
                const double k = rim * (1.0 - 0.8 * hole);
                image.Set(x, y, (210 - 70 * t) * k, (160 - 60 * t) * k, (70 - 30 * t) * k, 255.0 * body);
            } else if (shackle > 0.0) {
                const double shine = 0.8 + 0.2 * std::cos((px - 40.0) / 8.0);
                image.Set(x, y, 170 * shine, 175 * shine, 190 * shine, 255.0 * shackle);
            }
        }
    }
    return image;
}

// The lightning strip, repeating seamlessly along its width: a bright core with flickering bands.
Rgba Strip() {
    Rgba image(64, 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 64; ++x) {
            const double u = x / 64.0;
            const double centre = 7.5 + 2.5 * std::sin(2 * PI * 2 * u) + 1.0 * std::sin(2 * PI * 5 * u);
            const double core = std::exp(-std::pow((y - centre) / 1.6, 2));
            const double halo = 0.45 * std::exp(-std::pow((y - 7.5) / 4.5, 2)) * (0.7 + 0.3 * std::sin(2 * PI * 3 * u));
            const double a = std::min(1.0, core + halo);
            image.Set(x, y, 190 + 65 * core, 220 + 35 * core, 255, 255.0 * a);
        }
    }
    return image;
}

// The effects screen's background: deep water, darker at the bottom, with faint light rays.
Rgba Background() {
    Rgba image(128, 128);
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 128; ++x) {
            const double t = y / 127.0;
            const double ray = 0.5 + 0.5 * std::sin((x * 0.9 - y * 0.35) / 9.0);
            const double light = (1.0 - t) * ray * 18.0;
            image.Set(x, y, 8 + 10 * (1 - t) + light * 0.4, 26 + 30 * (1 - t) + light, 52 + 50 * (1 - t) + light, 255);
        }
    }
    return image;
}

struct GlyphOut {
    int code, a, b, c, x, y;
};

// A bitmap font of DejaVu Sans Bold: glyphs filled with a vertical gradient from top to bottom
// colour, with a dark outline of outline pixels in the cell margins.
void MakeFont(const std::string& fontFile, int pixelSize, int outline, const double top[3], const double bottom[3],
              int pageW, int pageH, const std::string& outBase) {
    FT_Library lib;
    FT_Face face;
    if (FT_Init_FreeType(&lib) != 0) Fail("freetype init");
    if (FT_New_Face(lib, fontFile.c_str(), 0, &face) != 0) Fail("cannot open " + fontFile);
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize));
    const int ascent = static_cast<int>(face->size->metrics.ascender >> 6);
    const int descent = static_cast<int>(-(face->size->metrics.descender >> 6));
    const int xOffset = outline + 1, yOffset = outline + 1;
    const int cell = ascent + descent + 2 * yOffset;
    Rgba page(pageW, pageH);

    std::vector<GlyphOut> glyphs;
    int penX = 0, rowTop = 0;
    for (int code = 33; code <= 126; ++code) {
        if (FT_Load_Char(face, static_cast<FT_ULong>(code), FT_LOAD_RENDER) != 0) continue;
        const FT_GlyphSlot g = face->glyph;
        const int bw = static_cast<int>(g->bitmap.width);
        const int b = bw > 0 ? bw : 1;
        const int a = g->bitmap_left;
        const int c = static_cast<int>(g->advance.x >> 6) - a - b;
        const int cellW = b + 2 * xOffset;
        if (penX + cellW > pageW) {
            penX = 0;
            rowTop += cell;
        }
        if (rowTop + cell > pageH) Fail("font page full");
        // The glyph's coverage in its cell, margins included.
        std::vector<double> cover(static_cast<std::size_t>(cellW) * cell, 0.0);
        for (int r = 0; r < static_cast<int>(g->bitmap.rows); ++r) {
            const int row = yOffset + ascent - g->bitmap_top + r;
            if (row < yOffset || row >= yOffset + ascent + descent) continue;
            for (int col = 0; col < bw; ++col) {
                cover[static_cast<std::size_t>(row) * cellW + xOffset + col] =
                    g->bitmap.buffer[r * g->bitmap.pitch + col] / 255.0;
            }
        }
        for (int row = 0; row < cell; ++row) {
            for (int col = 0; col < cellW; ++col) {
                double ring = 0.0;
                for (int dy = -outline; dy <= outline; ++dy) {
                    for (int dx = -outline; dx <= outline; ++dx) {
                        const int rr = row + dy, cc = col + dx;
                        if (rr < 0 || rr >= cell || cc < 0 || cc >= cellW) continue;
                        if (dx * dx + dy * dy > outline * outline + 1) continue;
                        ring = std::max(ring, cover[static_cast<std::size_t>(rr) * cellW + cc]);
                    }
                }
                const double fill = cover[static_cast<std::size_t>(row) * cellW + col];
                const double alpha = std::max(fill, ring);
                if (alpha <= 0.0) continue;
                const double t = std::clamp((row - yOffset) / double(ascent), 0.0, 1.0);
                double rgb[3];
                for (int i = 0; i < 3; ++i) {
                    const double body = (1 - t) * top[i] + t * bottom[i];
                    const double edge = body * 0.25;
                    rgb[i] = alpha > 0.0 ? (fill * body + (alpha - fill) * edge) / alpha : 0.0;
                }
                page.Set(penX + col, rowTop + row, rgb[0], rgb[1], rgb[2], 255.0 * alpha);
            }
        }
        glyphs.push_back({code, a, b, c, penX, rowTop + ascent - 1});
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

// Sounds: 22050 Hz mono 16-bit, with the game's own small noise generator so runs agree.
constexpr int RATE = 22050;

struct Noise {
    std::uint32_t state = 21;
    double Next() {
        state = state * 214013u + 2531011u;
        return static_cast<double>((state >> 16) & 0x7FFF) / 16383.5 - 1.0;
    }
};

void WriteWav(const std::string& path, const std::vector<double>& samples) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) Fail("cannot write " + path);
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    const auto u32 = [f](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) std::fputc(static_cast<int>((v >> (8 * i)) & 255), f);
    };
    const auto u16 = [f](std::uint32_t v) {
        std::fputc(static_cast<int>(v & 255), f);
        std::fputc(static_cast<int>((v >> 8) & 255), f);
    };
    std::fwrite("RIFF", 1, 4, f);
    u32(36 + dataBytes);
    std::fwrite("WAVEfmt ", 1, 8, f);
    u32(16);
    u16(1);
    u16(1);
    u32(RATE);
    u32(RATE * 2);
    u16(2);
    u16(16);
    std::fwrite("data", 1, 4, f);
    u32(dataBytes);
    for (double s : samples) {
        const long v = std::lround(std::clamp(s, -1.0, 1.0) * 32767.0);
        u16(static_cast<std::uint32_t>(static_cast<std::uint16_t>(static_cast<std::int16_t>(v))));
    }
    std::fclose(f);
}

// Fades of a few milliseconds at both ends, so nothing clicks.
double Ends(int i, int n) {
    const int ramp = RATE / 200;
    return std::min({1.0, i / double(ramp), (n - 1 - i) / double(ramp)});
}

// A crackling hum that loops without a seam: whole periods of its tones over the length.
std::vector<double> LightningRun() {
    const int n = RATE / 2;
    Noise noise;
    std::vector<double> out(n);
    double crackle = 0.0;
    for (int i = 0; i < n; ++i) {
        const double t = i / double(n);
        if (noise.Next() > 0.96) crackle = 1.0;
        crackle *= 0.995;
        out[i] = 0.18 * std::sin(2 * PI * 60 * t) + 0.12 * std::sin(2 * PI * 113 * t) + 0.25 * crackle * noise.Next();
    }
    return out;
}

// Short clicks rising in pitch.
std::vector<double> Counter() {
    const int n = RATE * 4 / 10;
    std::vector<double> out(n, 0.0);
    for (int k = 0; k < 8; ++k) {
        const int start = k * n / 8;
        const double f = 900.0 + 120.0 * k;
        for (int i = 0; i < RATE / 40 && start + i < n; ++i) {
            out[start + i] += 0.4 * std::sin(2 * PI * f * i / RATE) * std::exp(-i / (RATE * 0.006));
        }
    }
    return out;
}

// A blip that slides up.
std::vector<double> Popup() {
    const int n = RATE * 18 / 100;
    std::vector<double> out(n);
    double phase = 0.0;
    for (int i = 0; i < n; ++i) {
        const double t = i / double(n);
        phase += 2 * PI * (400.0 + 900.0 * t) / RATE;
        out[i] = 0.45 * std::sin(phase) * (1.0 - t) * Ends(i, n);
    }
    return out;
}

// Filtered noise that swells and fades: a whoosh.
std::vector<double> FlyText() {
    const int n = RATE * 6 / 10;
    Noise noise;
    std::vector<double> out(n);
    double low = 0.0;
    for (int i = 0; i < n; ++i) {
        const double t = i / double(n);
        const double cut = 0.05 + 0.25 * std::sin(PI * t);
        low += cut * (noise.Next() - low);
        out[i] = 0.6 * low * std::sin(PI * t) * Ends(i, n);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) Fail("usage: make-effects-content <repository root>");
    const std::string root = argv[1];
    const std::string textures = root + "/data/textures/match3/";
    const std::string fonts = root + "/data/fonts/";
    const std::string sound = root + "/data/sound/";

    WritePng(textures + "chip0.png", Piece(230, 80, 70));
    WritePng(textures + "chip1.png", Piece(60, 190, 120));
    WritePng(textures + "chip2.png", Piece(90, 110, 230));
    WritePng(textures + "golden.png", Cell(250, 210, 90, 200, 130, 30));
    WritePng(textures + "silver.png", Cell(235, 238, 245, 140, 150, 170));
    WritePng(textures + "golden_glow.png", Glow(64, 255, 215, 110));
    WritePng(textures + "silver_glow.png", Glow(64, 210, 230, 255));
    WritePng(textures + "lock_pieces.png", Lock());
    WritePng(textures + "splash_remover.png", Strip());
    WritePng(textures + "splash_dot.png", Glow(16, 240, 250, 255));
    WritePng(textures + "effects_background.png", Background());

    const std::string bold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
    const double boomTop[3] = {255, 236, 110};
    const double boomBottom[3] = {255, 120, 30};
    MakeFont(bold, 30, 2, boomTop, boomBottom, 512, 256, fonts + "boom");
    const double white[3] = {255, 255, 255};
    const double pale[3] = {210, 235, 255};
    MakeFont(bold, 20, 1, white, pale, 256, 256, fonts + "20_scores");

    WriteWav(sound + "lighting_run.wav", LightningRun());
    WriteWav(sound + "counter.wav", Counter());
    WriteWav(sound + "popup.wav", Popup());
    WriteWav(sound + "fly_text.wav", FlyText());
    return 0;
}
