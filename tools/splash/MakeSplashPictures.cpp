// Writes the demo splash pictures (800 x 600) and the small test pictures of the splash tests as
// JPEG files. Build: g++ -O2 MakeSplashPictures.cpp -ljpeg; run from the repository root.

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

using Shader = std::function<void(int x, int y, unsigned char rgb[3])>;

bool Write(const std::string& path, int width, int height, const Shader& shade) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, f);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 85, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < width; ++x) shade(x, static_cast<int>(info.next_scanline), &row[static_cast<std::size_t>(x) * 3]);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(f);
    return true;
}

unsigned char Clamp(double v) { return static_cast<unsigned char>(v < 0 ? 0 : v > 255 ? 255 : v); }

// Deep water with light rays and a ring of bubbles around the centre; the hue differs per picture.
Shader Sea(double hue) {
    return [hue](int x, int y, unsigned char rgb[3]) {
        const double depth = y / 600.0;
        const double ray = 0.5 + 0.5 * std::sin(x * 0.02 + y * 0.008);
        const double dx = x - 400.0, dy = y - 300.0;
        const double r = std::sqrt(dx * dx + dy * dy);
        const double ring = std::exp(-std::pow((r - 150.0) / 12.0, 2.0));
        const double bubbles = (std::fmod(std::atan2(dy, dx) * 8.0 / 3.14159 + 16.0, 2.0) < 1.0) ? ring : ring * 0.3;
        rgb[0] = Clamp(20 + 60 * hue + 40 * ray * (1 - depth) + 200 * bubbles);
        rgb[1] = Clamp(60 + 80 * (1 - depth) + 30 * ray + 200 * bubbles);
        rgb[2] = Clamp(120 + 100 * (1 - depth) - 60 * hue + 200 * bubbles);
    };
}

Shader Flat(unsigned char r, unsigned char g, unsigned char b) {
    return [r, g, b](int, int, unsigned char rgb[3]) {
        rgb[0] = r;
        rgb[1] = g;
        rgb[2] = b;
    };
}

}  // namespace

int main() {
    bool ok = true;
    ok &= Write("qzdata/splash1.jpg", 800, 600, Sea(0.0));
    ok &= Write("qzdata/splash2.jpg", 800, 600, Sea(1.0));
    ok &= Write("tests/controls/fixtures/splash/a.jpg", 16, 2, Flat(192, 64, 32));
    ok &= Write("tests/controls/fixtures/splash/b.jpg", 8, 2, Flat(32, 192, 64));
    ok &= Write("tests/controls/fixtures/splash/c.jpg", 4, 2, Flat(32, 64, 192));
    return ok ? 0 : 1;
}
