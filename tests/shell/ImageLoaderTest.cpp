#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "shell/Image.h"
#include "shell/ImageLoader.h"
#include "tests/shell/ImageTestFiles.h"
#include "tests/support/TestSupport.h"

#include <sys/stat.h>

namespace {
// Every colour type with alpha or a transparency chunk, at every depth, interlaced or not, with
// any gamma, filter, size or ancillary chunk.
const char* const EXPECTED_ACCEPTED =
    "basi2c08 basi2c16 basi4a08 basi4a16 basi6a08 basi6a16 basn2c08 basn2c16 basn4a08 basn4a16 "
    "basn6a08 basn6a16 bgai4a08 bgai4a16 bgan6a08 bgan6a16 bgbn4a08 bggn4a16 bgwn6a08 bgyn6a16 "
    "ccwn2c08 cdfn2c08 cdhn2c08 cdsn2c08 cdun2c08 cs3n2c16 cs5n2c08 cs8n2c08 exif2c08 f00n2c08 "
    "f01n2c08 f02n2c08 f03n2c08 f04n2c08 g03n2c08 g04n2c08 g05n2c08 g07n2c08 g10n2c08 g25n2c08 "
    "oi1n2c16 oi2n2c16 oi4n2c16 oi9n2c16 pp0n2c16 pp0n6a08 ps1n2c16 ps2n2c16 tbbn0g04 tbbn2c16 "
    "tbbn3p08 tbgn2c16 tbgn3p08 tbrn2c08 tbwn0g16 tbwn3p08 tbyn3p08 tm3n3p02 tp0n2c08 tp1n3p08 "
    "z00n2c08 z03n2c08 z06n2c08 z09n2c08 ";
// Palette and grey pictures without a transparency chunk give three bytes a pixel.
const char* const EXPECTED_REFUSED =
    "basi0g01 basi0g02 basi0g04 basi0g08 basi0g16 basi3p01 basi3p02 basi3p04 basi3p08 basn0g01 "
    "basn0g02 basn0g04 basn0g08 basn0g16 basn3p01 basn3p02 basn3p04 basn3p08 ccwn3p08 ch1n3p04 "
    "ch2n3p08 cm0n0g04 cm7n0g04 cm9n0g04 cs3n3p08 cs5n3p08 cs8n3p08 ct0n0g04 ct1n0g04 cten0g04 "
    "ctfn0g04 ctgn0g04 cthn0g04 ctjn0g04 ctzn0g04 f00n0g08 f01n0g08 f02n0g08 f03n0g08 f04n0g08 "
    "f99n0g04 g03n0g16 g03n3p04 g04n0g16 g04n3p04 g05n0g16 g05n3p04 g07n0g16 g07n3p04 g10n0g16 "
    "g10n3p04 g25n0g16 g25n3p04 oi1n0g16 oi2n0g16 oi4n0g16 oi9n0g16 ps1n0g08 ps2n0g08 s01i3p01 "
    "s01n3p01 s02i3p01 s02n3p01 s03i3p01 s03n3p01 s04i3p01 s04n3p01 s05i3p02 s05n3p02 s06i3p02 "
    "s06n3p02 s07i3p02 s07n3p02 s08i3p02 s08n3p02 s09i3p02 s09n3p02 s32i3p04 s32n3p04 s33i3p04 "
    "s33n3p04 s34i3p04 s34n3p04 s35i3p04 s35n3p04 s36i3p04 s36n3p04 s37i3p04 s37n3p04 s38i3p04 "
    "s38n3p04 s39i3p04 s39n3p04 s40i3p04 s40n3p04 tp0n0g08 tp0n3p08 ";
}  // namespace

using image_test::Picture;
using image_test::PictureBytes;
using testing_support::FixturePath;
using testing_support::LogCapture;
using testing_support::MakeTempDir;
using testing_support::WriteFile;
using Bytes = std::vector<std::uint8_t>;

namespace {

class ImageLoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ImageLoader::_preferJpegForm = false;
        dir = MakeTempDir("img");
    }
    void TearDown() override { ImageLoader::_preferJpegForm = false; }

    // Loads and tells whether it succeeded without any ERROR entry.
    bool LoadClean(const std::string& name, Image& image) { return LoadWithErrors(name, image, 0); }

    // Loads and tells whether exactly that many ERROR entries were written (a failed first attempt
    // is one).
    bool LoadWithErrors(const std::string& name, Image& image, int errors) {
        LogCapture capture;
        ImageLoader::Load(image, name);
        log = capture.Text();
        return capture.ErrorCount() == errors;
    }

    // A picture whose colour and alpha survive JPEG quality 100 closely: one flat colour.
    void WritePair(const std::string& base, const std::string& colorSuffix, const std::string& alphaSuffix,
                   std::uint32_t rgba) {
        const Picture picture(8, 8, rgba);
        image_test::WriteJpeg(dir + base + colorSuffix, picture, 3);
        image_test::WriteJpeg(dir + base + alphaSuffix, picture, 1);
    }

    std::string dir;
    std::string log;
};

bool Near(int a, int b) { return a - b <= 2 && b - a <= 2; }

}  // namespace

TEST_F(ImageLoaderTest, PngDecodesToBlueGreenRedAlphaBottomRowFirst) {
    Picture picture(4, 2, 0xFF0000FF);          // top row red
    picture.Set(0, 1, 0x0000FF80);              // bottom row: blue (half alpha), then green, grey, white
    picture.Set(1, 1, 0x00FF00FF);
    picture.Set(2, 1, 0x808080FF);
    picture.Set(3, 1, 0xFFFFFF00);
    image_test::WritePng(dir + "p.png", picture);
    Image image;
    ASSERT_TRUE(LoadClean(dir + "p.png", image));
    EXPECT_EQ(4, image.width);
    EXPECT_EQ(2, image.height);
    EXPECT_EQ(4, image.components);
    EXPECT_TRUE(image.alphaChannel);
    const Bytes expected = {0xFF, 0x00, 0x00, 0x80, 0x00, 0xFF, 0x00, 0xFF, 0x80, 0x80, 0x80, 0xFF, 0xFF, 0xFF, 0xFF, 0x00,
                            0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF};
    EXPECT_EQ(expected, PictureBytes(8));
}

TEST_F(ImageLoaderTest, JpegPairFixtureDecodesToExactBytes) {
    // Colour: top row red, bottom row green; alpha: 0, 85, 170, 255 across each row.
    Image image;
    ASSERT_TRUE(LoadWithErrors(FixturePath("shell/fixtures/images/pair.png"), image, 1)) << log;
    EXPECT_TRUE(ImageLoader::_preferJpegForm);
    EXPECT_EQ(4, image.width);
    EXPECT_EQ(2, image.height);
    EXPECT_TRUE(image.alphaChannel);
    const Bytes expected = {0x01, 0xFF, 0x00, 0x00, 0x01, 0xFF, 0x00, 0x55, 0x01, 0xFF, 0x00, 0xAA, 0x01, 0xFF, 0x00, 0xFF,
                            0x00, 0x00, 0xFE, 0x00, 0x00, 0x00, 0xFE, 0x55, 0x00, 0x00, 0xFE, 0xAA, 0x00, 0x00, 0xFE, 0xFF};
    EXPECT_EQ(expected, PictureBytes(8));

    // One JPEG: the colour with alpha 255.
    ImageLoader::_preferJpegForm = false;
    ASSERT_TRUE(LoadWithErrors(FixturePath("shell/fixtures/images/plain.jpg"), image, 1)) << log;
    const Bytes plain = PictureBytes(8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(0xFF, plain[i * 4 + 3]);
        EXPECT_EQ(expected[i * 4 + 1], plain[i * 4 + 1]);
    }
}

TEST_F(ImageLoaderTest, FormSwitchFollowsTheFormTheLastPictureCameIn) {
    // a.png exists only as a pair: the pair is loaded and the switch set.
    WritePair("a", "_pb.jpg", "_pa.jpg", 0x3060C080);
    Image image;
    ASSERT_TRUE(LoadWithErrors(dir + "a.png", image, 1)) << log;
    EXPECT_TRUE(ImageLoader::_preferJpegForm);
    Bytes px = PictureBytes(1);
    EXPECT_TRUE(Near(0xC0, px[0]) && Near(0x60, px[1]) && Near(0x30, px[2]) && Near(0x80, px[3]));

    // b.png exists in both forms: the pair is tried first now and wins.
    WritePair("b", "_pb.jpg", "_pa.jpg", 0x102030FF);
    image_test::WritePng(dir + "b.png", Picture(8, 8, 0xFFFFFFFF));
    ASSERT_TRUE(LoadClean(dir + "b.png", image));
    EXPECT_TRUE(ImageLoader::_preferJpegForm);
    px = PictureBytes(1);
    EXPECT_TRUE(Near(0x30, px[0]) && Near(0x10, px[2]));

    // c.png exists only as named: one failed attempt, then success, and the switch is cleared.
    image_test::WritePng(dir + "c.png", Picture(2, 2, 0x11223344));
    LogCapture capture;
    ImageLoader::Load(image, dir + "c.png");
    EXPECT_FALSE(ImageLoader::_preferJpegForm);
    EXPECT_EQ(1, capture.ErrorCount());  // the failed first attempt is logged
    EXPECT_EQ((Bytes{0x33, 0x22, 0x11, 0x44}), PictureBytes(1));

    // d.jpg exists only as d_b.jpg.
    image_test::WriteJpeg(dir + "d_b.jpg", Picture(8, 8, 0x00FF00FF), 3);
    ImageLoader::Load(image, dir + "d.jpg");
    EXPECT_TRUE(ImageLoader::_preferJpegForm);
    EXPECT_EQ(8, image.width);
    EXPECT_TRUE(image.alphaChannel);
    EXPECT_EQ(4, image.components);
}

TEST_F(ImageLoaderTest, BothFormsMissingReportsBothMessagesFirstTriedFirst) {
    Image image;
    ImageLoader::_preferJpegForm = true;
    LogCapture capture;
    ImageLoader::Load(image, dir + "none.tga");
    const std::string text = capture.Text();
    const std::size_t combined = text.find("Error: \r\n[\r\n");
    ASSERT_NE(std::string::npos, combined) << text;
    const std::size_t first = text.find("Cannot open file " + dir + "none_tb.jpg", combined);
    const std::size_t second = text.find("Assertion failed: stream != NULL", combined);
    EXPECT_NE(std::string::npos, first);
    EXPECT_NE(std::string::npos, second);
    EXPECT_LT(first, second);
    EXPECT_TRUE(ImageLoader::_preferJpegForm);
    EXPECT_EQ(3, capture.ErrorCount());
}

TEST_F(ImageLoaderTest, FileNamesChooseTheDecoderExactly) {
    struct Case {
        const char* name;
        const char* failure;
    } cases[] = {
        {"x.Png", "Assertion failed: false"},
        {"abc.jp", "Assertion failed: _filename[_filename.length() - 4] == '.'"},
        {".png", "Assertion failed: _filename.length() > 4"},
        {"pic.gif", "Assertion failed: false"},
    };
    for (const Case& c : cases) {
        Image image;
        LogCapture capture;
        ImageLoader::Load(image, dir + c.name);
        if (std::string(c.name) == ".png") {
            ImageLoader::Load(image, ".png");
        }
        EXPECT_TRUE(capture.Contains(c.failure)) << c.name;
        EXPECT_EQ(0, image.width) << c.name;
    }
    // Upper-case extensions are accepted.
    image_test::WritePng(dir + "UP.PNG", Picture(1, 1, 0x01020304));
    Image image;
    EXPECT_TRUE(LoadClean(dir + "UP.PNG", image));
}

TEST_F(ImageLoaderTest, ContentPathsWithBackslashesAndOtherCaseOpen) {
    ::mkdir((dir + "Sub").c_str(), 0755);
    image_test::WritePng(dir + "Sub/Pic.png", Picture(1, 1, 0x01020304));
    Image image;
    EXPECT_TRUE(LoadClean(dir + "sub\\pic.png", image)) << log;
    EXPECT_EQ(1, image.width);
}

TEST_F(ImageLoaderTest, JpegPairChecksComponentsAndSize) {
    const Picture colour(4, 2, 0x808080FF);
    image_test::WriteJpeg(dir + "s_pb.jpg", colour, 3);
    image_test::WriteJpeg(dir + "s_pa.jpg", Picture(8, 2), 1);
    Image image;
    LogCapture capture;
    ImageLoader::Load(image, dir + "s.png");
    EXPECT_TRUE(capture.Contains("Assertion failed: _image->width == width"));

    image_test::WriteJpeg(dir + "h_pb.jpg", colour, 3);
    image_test::WriteJpeg(dir + "h_pa.jpg", Picture(4, 3), 1);
    ImageLoader::Load(image, dir + "h.png");
    EXPECT_TRUE(capture.Contains("Assertion failed: _image->height == height"));

    // Colour and alpha the wrong way round.
    image_test::WriteJpeg(dir + "w_pb.jpg", colour, 1);
    image_test::WriteJpeg(dir + "w_pa.jpg", colour, 3);
    ImageLoader::Load(image, dir + "w.png");
    EXPECT_TRUE(capture.Contains("Assertion failed: color.components == 3"));
    EXPECT_FALSE(ImageLoader::_preferJpegForm);
}

TEST_F(ImageLoaderTest, SizeLimitsOfPngAndTga) {
    struct Case {
        int width, height;
        const char* failure;  // null: accepted
    } cases[] = {
        {1024, 2049, "1 <= height && height <= MAX_ROWS"},
        {2048, 1024, nullptr},
        {2049, 1024, "1 <= width && width <= MAX_SQUARE / height"},
        {1, 2048, nullptr},
        {1025, 2048, "1 <= width && width <= MAX_SQUARE / height"},
    };
    for (const Case& c : cases) {
        const std::string png = dir + "big.png";
        image_test::WritePngOfSize(png, c.width, c.height);
        Image image;
        LogCapture capture;
        ImageLoader::Load(image, png);
        if (c.failure) {
            EXPECT_TRUE(capture.Contains(std::string("Assertion failed: ") + c.failure)) << c.width << "x" << c.height;
        } else {
            EXPECT_EQ(0, capture.ErrorCount()) << c.width << "x" << c.height;
            EXPECT_EQ(c.width, image.width);
        }

        // A TGA is refused right after its header; the body is never read.
        const std::string tga = dir + "big.tga";
        WriteFile(tga, image_test::TgaHeader(2, c.width, c.height, 32));
        LogCapture tgaCapture;
        ImageLoader::Load(image, tga);
        if (c.failure) {
            EXPECT_TRUE(tgaCapture.Contains(std::string("Assertion failed: ") + c.failure));
        } else {
            EXPECT_TRUE(tgaCapture.Contains(dir + "big.tga - file corrupted"));  // no pixels follow
        }
    }
    Image image;
    LogCapture capture;
    WriteFile(dir + "zero.tga", image_test::TgaHeader(2, 5, 0, 32));
    ImageLoader::Load(image, dir + "zero.tga");
    EXPECT_TRUE(capture.Contains("Assertion failed: 1 <= height && height <= MAX_ROWS"));
}

TEST_F(ImageLoaderTest, TgaUncompressedAndRunLength) {
    // 24 bits, 2 x 2, rows in file order are the bottom-up rows.
    std::string raw = image_test::TgaHeader(2, 2, 2, 24);
    raw += std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C", 12);
    WriteFile(dir + "raw.tga", raw);
    Image image;
    ASSERT_TRUE(LoadClean(dir + "raw.tga", image)) << log;
    EXPECT_EQ((Bytes{1, 2, 3, 255, 4, 5, 6, 255, 7, 8, 9, 255, 10, 11, 12, 255}), PictureBytes(4));

    // 32 bits run-length, 130 x 2: repeat packets of 128 (0xFF) and a raw packet of 2; the last
    // repeat packet is cut to the 2 pixels left.
    std::string rle = image_test::TgaHeader(10, 130, 2, 32);
    rle += std::string("\xFF\x10\x20\x30\x40", 5);
    rle += std::string("\x01\xA1\xA2\xA3\xA4\xB1\xB2\xB3\xB4", 9);
    rle += std::string("\xFF\xC1\xC2\xC3\xC4", 5);
    rle += std::string("\xFF\xD1\xD2\xD3\xD4", 5);
    rle += std::string("\xFF\xE1\xE2\xE3\xE4", 5);  // never read: the picture is full
    WriteFile(dir + "rle.tga", rle);
    ASSERT_TRUE(LoadClean(dir + "rle.tga", image)) << log;
    EXPECT_EQ(130, image.width);
    const Bytes px = PictureBytes(260);
    for (int i = 0; i < 128; ++i) EXPECT_EQ((Bytes{0x10, 0x20, 0x30, 0x40}), Bytes(px.begin() + i * 4, px.begin() + i * 4 + 4));
    EXPECT_EQ((Bytes{0xA1, 0xA2, 0xA3, 0xA4, 0xB1, 0xB2, 0xB3, 0xB4}), Bytes(px.begin() + 512, px.begin() + 520));
    EXPECT_EQ((Bytes{0xC1, 0xC2, 0xC3, 0xC4}), Bytes(px.begin() + 257 * 4, px.begin() + 258 * 4));
    EXPECT_EQ((Bytes{0xD1, 0xD2, 0xD3, 0xD4, 0xD1, 0xD2, 0xD3, 0xD4}), Bytes(px.end() - 8, px.end()));

    // A packet that runs past the picture is cut there.
    std::string cut = image_test::TgaHeader(10, 3, 1, 24) + std::string("\x85\x01\x02\x03", 4);
    WriteFile(dir + "cut.tga", cut);
    ASSERT_TRUE(LoadClean(dir + "cut.tga", image)) << log;
    EXPECT_EQ((Bytes{1, 2, 3, 255, 1, 2, 3, 255, 1, 2, 3, 255}), PictureBytes(3));

    // Truncated: the file ends inside the packets.
    WriteFile(dir + "short.tga", image_test::TgaHeader(10, 130, 2, 32) + std::string("\xFF\x10\x20\x30\x40\x05\x01", 7));
    EXPECT_FALSE(LoadClean(dir + "short.tga", image));
    EXPECT_NE(std::string::npos, log.find("short.tga - file corrupted"));
    WriteFile(dir + "short2.tga", image_test::TgaHeader(2, 4, 4, 24) + std::string(47, '\x01'));
    EXPECT_FALSE(LoadClean(dir + "short2.tga", image));
    EXPECT_NE(std::string::npos, log.find("short2.tga - file corrupted"));
}

TEST_F(ImageLoaderTest, UnsupportedTgaFailsSoTheOtherFormIsTried) {
    struct Case {
        std::string header;
        const char* message;
    } cases[] = {
        {image_test::TgaHeader(1, 2, 2, 8, 1, 24), "TGA: Unsupported image depth."},
        {image_test::TgaHeader(1, 2, 2, 8, 1, 16), "TGA: Only 24bit paletted images are supported."},
        {image_test::TgaHeader(9, 2, 2, 8, 0, 24), "TGA: Only 24bit paletted images are supported."},
        {image_test::TgaHeader(3, 2, 2, 8), "TGA: Unsupported image depth."},
        {image_test::TgaHeader(11, 2, 2, 24), "TGA: Unsupported image type."},
        {image_test::TgaHeader(2, 2, 2, 16), "TGA: Unsupported image depth."},
        {image_test::TgaHeader(5, 2, 2, 32), "TGA: Unsupported image type."},
    };
    WritePair("t", "_tb.jpg", "_ta.jpg", 0x204060C0);
    for (const Case& c : cases) {
        ImageLoader::_preferJpegForm = false;
        WriteFile(dir + "t.tga", c.header + std::string(64, '\x07'));
        Image image;
        LogCapture capture;
        ImageLoader::Load(image, dir + "t.tga");
        EXPECT_TRUE(capture.Contains(c.message)) << c.message;
        EXPECT_EQ(1, capture.ErrorCount());
        EXPECT_TRUE(ImageLoader::_preferJpegForm);
        EXPECT_EQ(8, image.width);
        EXPECT_TRUE(Near(0xC0, PictureBytes(1)[3]));
    }
}

TEST_F(ImageLoaderTest, CorruptFilesFailWithoutCrashing) {
    image_test::WritePng(dir + "good.png", Picture(16, 16, 0x12345678));
    const std::string png = testing_support::ReadFile(dir + "good.png");
    image_test::WriteJpeg(dir + "good_b.jpg", Picture(16, 16, 0x123456FF), 3);
    const std::string jpg = testing_support::ReadFile(dir + "good_b.jpg");
    struct Case {
        std::string name, bytes, message;
    } cases[] = {
        {"trunc.png", png.substr(0, png.size() / 2), "trunc.png - file corrupted"},
        {"sig.png", "\x89PNX" + png.substr(4), "sig.png - invalid png signature"},
        {"empty.png", "", "empty.png - invalid png signature"},
        {"crc.png", png.substr(0, 40) + static_cast<char>(png[40] ^ 0x55) + png.substr(41), "crc.png - file corrupted"},
        {"trunc.jpg", jpg.substr(0, jpg.size() / 2), "trunc.jpg - file corrupted"},
        {"junk.jpg", "not a jpeg at all", "junk.jpg - file corrupted"},
        {"empty.tga", "abc", "empty.tga - file corrupted"},
    };
    for (const Case& c : cases) {
        WriteFile(dir + c.name, c.bytes);
        Image image;
        EXPECT_FALSE(LoadClean(dir + c.name, image)) << c.name;
        EXPECT_NE(std::string::npos, log.find(c.message)) << c.name << "\n" << log;
    }
}

TEST_F(ImageLoaderTest, ExpandToPowerOfTwoKeepsTheBottomLeftCorner) {
    unsigned char* buffer = ImageBuffers::Picture();
    for (int i = 0; i < 100 * 60; ++i) {
        buffer[i * 4] = static_cast<unsigned char>(i % 251 + 1);
        buffer[i * 4 + 1] = 1;
        buffer[i * 4 + 2] = 2;
        buffer[i * 4 + 3] = 3;
    }
    Image image;
    image.width = 100;
    image.height = 60;
    image.components = 4;
    Image::ExpandToPowerOfTwo(image);
    EXPECT_EQ(128, image.width);
    EXPECT_EQ(64, image.height);
    bool ok = true;
    for (int y = 0; y < 64 && ok; ++y) {
        for (int x = 0; x < 128 && ok; ++x) {
            const unsigned char* p = buffer + (y * 128 + x) * 4;
            if (x < 100 && y < 60) {
                ok = p[0] == (y * 100 + x) % 251 + 1 && p[3] == 3;
            } else {
                ok = p[0] == 0 && p[1] == 0 && p[2] == 0 && p[3] == 0;
            }
            EXPECT_TRUE(ok) << x << "," << y;
        }
    }

    struct Case {
        int w, h, expectW, expectH;
    } sides[] = {{1, 1, 1, 1}, {3, 1025, 4, 2048}, {1025, 3, 2048, 4}, {1025, 1024, 2048, 1024}};
    for (const Case& c : sides) {
        Image other;
        other.width = c.w;
        other.height = c.h;
        LogCapture capture;
        Image::ExpandToPowerOfTwo(other);
        EXPECT_EQ(c.expectW, other.width);
        EXPECT_EQ(c.expectH, other.height);
        EXPECT_EQ(0, capture.ErrorCount());
    }
    // Refused, size kept: too large for the picture buffer once expanded, or a side above 4096.
    const int refused[][2] = {{1025, 1025}, {3000, 600}, {5000, 1}};
    for (const auto& r : refused) {
        Image other;
        other.width = r[0];
        other.height = r[1];
        LogCapture capture;
        Image::ExpandToPowerOfTwo(other);
        EXPECT_EQ(r[0], other.width);
        EXPECT_EQ(r[1], other.height);
        EXPECT_EQ(1, capture.ErrorCount()) << r[0];
    }
}

TEST_F(ImageLoaderTest, LoadInfoReadsOnlyTheHeader) {
    image_test::WritePng(dir + "i.png", Picture(300, 17, 0));
    image_test::WriteJpeg(dir + "i.jpg", Picture(9, 5, 0), 3);
    image_test::WriteJpeg(dir + "g.jpg", Picture(9, 5, 0), 1);
    WriteFile(dir + "i.tga", image_test::TgaHeader(2, 40, 30, 24));  // no body needed
    struct Case {
        const char* name;
        int w, h, components;
        bool alpha;
    } cases[] = {{"i.png", 300, 17, 4, true}, {"i.jpg", 9, 5, 3, false}, {"g.jpg", 9, 5, 1, false}, {"i.tga", 40, 30, 4, true}};
    for (const Case& c : cases) {
        Image image;
        LogCapture capture;
        ImageLoader::LoadInfo(image, dir + c.name);
        EXPECT_EQ(0, capture.ErrorCount()) << c.name;
        EXPECT_EQ(c.w, image.width) << c.name;
        EXPECT_EQ(c.h, image.height) << c.name;
        EXPECT_EQ(c.components, image.components) << c.name;
        EXPECT_EQ(c.alpha, image.alphaChannel) << c.name;
    }
    // Missing PNG and TGA: unchanged and silent; a missing JPEG is reported.
    Image image;
    LogCapture capture;
    ImageLoader::LoadInfo(image, dir + "no.png");
    ImageLoader::LoadInfo(image, dir + "no.tga");
    EXPECT_EQ(0, capture.ErrorCount());
    EXPECT_EQ(0, image.width);
    ImageLoader::LoadInfo(image, dir + "no.jpg");
    EXPECT_TRUE(capture.Contains("Assertion failed: f != NULL"));
    WriteFile(dir + "bad.png", "GIF89a....");
    ImageLoader::LoadInfo(image, dir + "bad.png");
    EXPECT_TRUE(capture.Contains("Can't load texture " + dir + "bad.png. Error while opening file."));
    WriteFile(dir + "bad.jpg", "GIF89a....");
    ImageLoader::LoadInfo(image, dir + "bad.jpg");
    EXPECT_TRUE(capture.Contains(dir + "bad.jpg - file corrupted"));
    EXPECT_EQ(0, image.width);
    EXPECT_EQ(3, capture.ErrorCount());
}

TEST_F(ImageLoaderTest, PngSuiteFormsAcceptedAndRefused) {
    // Refused: palette and grey pictures without transparency (three bytes per pixel after the
    // expansions), files with errors, and files whose chunks make the library warn.
    const std::string folder = FixturePath("shell/fixtures/images/pngsuite/");
    DIR* d = ::opendir(folder.c_str());
    ASSERT_NE(nullptr, d);
    std::vector<std::string> names;
    while (dirent* e = ::readdir(d)) {
        const std::string n = e->d_name;
        if (n.size() > 4 && n.substr(n.size() - 4) == ".png") names.push_back(n);
    }
    ::closedir(d);
    std::sort(names.begin(), names.end());
    ASSERT_EQ(161u, names.size());
    std::string accepted;
    std::string refused;
    for (const std::string& n : names) {
        ImageLoader::_preferJpegForm = false;
        Image image;
        LogCapture capture;
        ImageLoader::Load(image, folder + n);
        const bool ok = capture.ErrorCount() == 0;
        (ok ? accepted : refused) += n.substr(0, n.size() - 4) + " ";
        if (!ok) {
            EXPECT_TRUE(capture.Contains("Assertion failed: row_bytes == width * 4")) << n;
            EXPECT_EQ(3, capture.ErrorCount()) << n;  // both forms failed, then the combined report
        } else {
            EXPECT_EQ(4, image.components);
        }
    }
    EXPECT_EQ(EXPECTED_ACCEPTED, accepted);
    EXPECT_EQ(EXPECTED_REFUSED, refused);
}
