#include "shell/ImageLoader.h"

#include <cstdio>
#include <cstring>

#include "core/Assert.h"
#include "core/HtmlLog.h"
#include "shell/ImageDecoders.h"
#include "platform/FilePort.h"
#include "shell/CheckText.h"


bool ImageLoader::_preferJpegForm = false;

namespace {

// The file being decoded, for the messages of the library callbacks.
std::string callbackFileName;

// Closes the file on every way out; the close is checked only on the normal one.
class OpenFile {
public:
    explicit OpenFile(const std::string& name) : _file(FilePort::Open(name, "rb")) {}
    ~OpenFile() {
        if (_file != nullptr) std::fclose(_file);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    std::FILE* Get() const { return _file; }
    void Close() {
        std::FILE* f = _file;
        _file = nullptr;
        Assert(fclose(f) == 0);
    }

private:
    std::FILE* _file = nullptr;
};

// Opens the file or reports "Cannot open file".
std::FILE* OpenOrReport(OpenFile& file, const std::string& name) {
    if (file.Get() == nullptr) {
        ReportError("Cannot open file " + name);
    }
    return file.Get();
}

// Reports what a decoder wrapper returned; reports throw inside an attempt.
void ReportDecodeResult(ImageDecoders::Result result) {
    using namespace ImageDecoders;
    switch (result) {
        case DECODE_OK: return;
        case DECODE_CORRUPT: ReportError(callbackFileName + " - file corrupted"); return;
        case DECODE_BAD_SIGNATURE: ReportError(callbackFileName + " - invalid png signature"); return;
        case DECODE_NO_READ_STRUCT:
            ReportError(callbackFileName + " - cannot create structure for reading");
            return;
        case DECODE_NO_INFO_STRUCT: ReportError(callbackFileName + " - cannot create info struct"); return;
        case DECODE_BAD_HEIGHT: CHECK_TEXT(false, "1 <= height && height <= MAX_ROWS"); return;
        case DECODE_BAD_WIDTH: CHECK_TEXT(false, "1 <= width && width <= MAX_SQUARE / height"); return;
        case DECODE_BAD_COMPONENTS: CHECK_TEXT(false, "1 <= components && components <= 4"); return;
        case DECODE_BAD_ROW_BYTES: CHECK_TEXT(false, "row_bytes == width * 4"); return;
    }
    ReportError(callbackFileName + " - file corrupted");
}

// Reads a JPEG into the scratch buffer as bottom-up rows; false when a report did not throw.
bool ReadJpegToScratch(const std::string& name, ImageDecoders::Picture& picture) {
    OpenFile file(name);
    if (OpenOrReport(file, name) == nullptr) return false;
    callbackFileName = name;
    const ImageDecoders::Result result =
        ImageDecoders::ReadJpeg(file.Get(), ImageBuffers::Scratch(), ImageBuffers::JpegRows(), &picture);
    ReportDecodeResult(result);
    if (result != ImageDecoders::DECODE_OK) return false;
    file.Close();
    return true;
}

unsigned Read16(const unsigned char* p) { return static_cast<unsigned>(p[0]) | (static_cast<unsigned>(p[1]) << 8); }

void ReportTga(const char* text) { ::ReportFailure("TGA", text, __FILE__, __LINE__); }

struct TgaHeader {
    unsigned idLength = 0;
    unsigned colorMapType = 0;
    unsigned imageType = 0;
    unsigned colorMapFirst = 0;
    unsigned colorMapLength = 0;
    unsigned colorMapBits = 0;
    int width = 0;
    int height = 0;
    unsigned bitsPerPixel = 0;
};

bool ReadTgaHeader(std::FILE* f, TgaHeader& header) {
    unsigned char raw[18];
    if (std::fread(raw, 1, sizeof(raw), f) != sizeof(raw)) return false;
    header.idLength = raw[0];
    header.colorMapType = raw[1];
    header.imageType = raw[2];
    header.colorMapFirst = Read16(raw + 3);
    header.colorMapLength = Read16(raw + 5);
    header.colorMapBits = raw[7];
    header.width = static_cast<int>(Read16(raw + 12));
    header.height = static_cast<int>(Read16(raw + 14));
    header.bitsPerPixel = raw[16];
    return true;
}

}  // namespace

ImageLoader::ImageLoader(Image& image, const std::string& fileName) : _image(&image), _filename(fileName) {}

void ImageLoader::Load(Image& image, const std::string& fileName) {
    ImageLoader loader(image, fileName);
    loader.Run();
}

bool ImageLoader::ChooseKind(Kind& kind) const {
    Assert(_filename.length() > 4);
    if (!(_filename.length() > 4)) return false;
    Assert(_filename[_filename.length() - 4] == '.');
    if (_filename[_filename.length() - 4] != '.') return false;
    const std::string ext = _filename.substr(_filename.length() - 3);
    if (ext == "jpg" || ext == "JPG") {
        kind = KIND_JPEG;
    } else if (ext == "tga" || ext == "TGA") {
        kind = KIND_TGA;
    } else if (ext == "png" || ext == "PNG") {
        kind = KIND_PNG;
    } else {
        Assert(false);
        return false;
    }
    return true;
}

void ImageLoader::Run() {
    if (!ChooseKind(_kind)) return;
    if (_kind == KIND_JPEG) _image->alphaChannel = false;
    if (_kind == KIND_TGA) _image->alphaChannel = true;

    const bool jpegFirst = _preferJpegForm;
    std::string firstMessage;
    if (Attempt(jpegFirst, firstMessage)) return;
    std::string secondMessage;
    if (Attempt(!jpegFirst, secondMessage)) {
        _preferJpegForm = !jpegFirst;
        return;
    }
    ReportError("\n[\n" + firstMessage + "\n]\n[\n" + secondMessage + "\n]");
}

bool ImageLoader::Attempt(bool jpegForm, std::string& message) {
    try {
        AssertThrowGuard guard;
        if (jpegForm) {
            LoadJpegForm();
        } else {
            LoadNamedForm();
        }
    } catch (const AssertionFailedException& e) {
        message = e.GetText();
        return false;
    }
    _image->components = 4;
    _image->alphaChannel = true;
    return true;
}

void ImageLoader::LoadNamedForm() {
    switch (_kind) {
        case KIND_JPEG: LoadOneJpeg(_filename); break;
        case KIND_PNG: LoadPng(_filename); break;
        case KIND_TGA: LoadTga(_filename); break;
    }
}

void ImageLoader::LoadJpegForm() {
    const std::string base = _filename.substr(0, _filename.length() - 4);
    switch (_kind) {
        case KIND_JPEG: LoadOneJpeg(base + "_b.jpg"); break;
        case KIND_PNG: LoadJpegPair(base + "_pb.jpg", base + "_pa.jpg"); break;
        case KIND_TGA: LoadJpegPair(base + "_tb.jpg", base + "_ta.jpg"); break;
    }
}

void ImageLoader::LoadOneJpeg(const std::string& name) {
    ImageDecoders::Picture picture;
    if (!ReadJpegToScratch(name, picture)) return;
    Assert(picture.components == 3);
    if (picture.components != 3) return;
    const unsigned char* src = ImageBuffers::Scratch();
    unsigned char* dst = ImageBuffers::Picture();
    const std::size_t count = static_cast<std::size_t>(picture.width) * picture.height;
    for (std::size_t i = 0; i < count; ++i, src += 3, dst += 4) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
        dst[3] = 255;
    }
    _image->width = picture.width;
    _image->height = picture.height;
}

void ImageLoader::LoadJpegPair(const std::string& colorName, const std::string& alphaName) {
    ImageDecoders::Picture color;
    if (!ReadJpegToScratch(colorName, color)) return;
    Assert(color.components == 3);
    if (color.components != 3) return;
    const std::size_t count = static_cast<std::size_t>(color.width) * color.height;
    {
        const unsigned char* src = ImageBuffers::Scratch();
        unsigned char* dst = ImageBuffers::Picture();
        for (std::size_t i = 0; i < count; ++i, src += 3, dst += 4) {
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
        }
    }
    _image->width = color.width;
    _image->height = color.height;

    ImageDecoders::Picture alpha;
    if (!ReadJpegToScratch(alphaName, alpha)) return;
    const int components = alpha.components;
    const int width = alpha.width;
    const int height = alpha.height;
    Assert(components == 1);
    Assert(_image->width == width);
    Assert(_image->height == height);
    if (components != 1 || _image->width != width || _image->height != height) return;
    const unsigned char* src = ImageBuffers::Scratch();
    unsigned char* dst = ImageBuffers::Picture();
    for (std::size_t i = 0; i < count; ++i) dst[4 * i + 3] = src[i];
}

void ImageLoader::LoadPng(const std::string& name) {
    OpenFile file(name);
    if (OpenOrReport(file, name) == nullptr) return;
    callbackFileName = name;
    ImageDecoders::Picture picture;
    const ImageDecoders::Result result =
        ImageDecoders::ReadPng(file.Get(), ImageBuffers::Scratch(), ImageBuffers::PngRows(), &picture);
    ReportDecodeResult(result);
    if (result != ImageDecoders::DECODE_OK) return;
    file.Close();
    std::memcpy(ImageBuffers::Picture(), ImageBuffers::Scratch(),
                static_cast<std::size_t>(picture.width) * picture.height * 4);
    _image->width = picture.width;
    _image->height = picture.height;
}

void ImageLoader::LoadTga(const std::string& name) {
    OpenFile file(name);
    std::FILE* stream = file.Get();
    Assert(stream != NULL);
    if (stream == nullptr) return;
    TgaHeader header;
    if (!ReadTgaHeader(stream, header)) {
        ReportError(name + " - file corrupted");
        return;
    }
    const int width = header.width;
    const int height = header.height;
    // Limits first: nothing is read for a picture that cannot fit.
    Assert(1 <= height && height <= MAX_ROWS);
    Assert(1 <= width && width <= MAX_SQUARE / height);
    if (ImageDecoders::CheckSize(width, height) != ImageDecoders::DECODE_OK) return;
    if (std::fseek(stream, static_cast<long>(header.idLength), SEEK_CUR) != 0) {
        ReportError(name + " - file corrupted");
        return;
    }
    const unsigned type = header.imageType;
    if (type == 1 || type == 9) {
        if (header.colorMapType != 1 || header.colorMapBits != 24) {
            ReportTga("Only 24bit paletted images are supported.");
            return;
        }
    } else if (type != 2 && type != 3 && type != 10 && type != 11) {
        ReportTga("Unsupported image type.");
        return;
    }
    if (header.bitsPerPixel != 24 && header.bitsPerPixel != 32) {
        ReportTga("Unsupported image depth.");
        return;
    }
    // Only true-colour pictures carry pixels this loader can read.
    if (type != 2 && type != 10) {
        ReportTga("Unsupported image type.");
        return;
    }

    const std::size_t pixelBytes = header.bitsPerPixel / 8;
    const std::size_t count = static_cast<std::size_t>(width) * height;
    unsigned char* raw = ImageBuffers::Scratch();
    if (type == 2) {
        if (std::fread(raw, pixelBytes, count, stream) != count) {
            ReportError(name + " - file corrupted");
            return;
        }
    } else {
        std::size_t filled = 0;
        while (filled < count) {
            const int head = std::fgetc(stream);
            if (head == EOF) break;
            std::size_t run = static_cast<std::size_t>(head & 0x7F) + 1;
            if (run > count - filled) run = count - filled;
            unsigned char* out = raw + filled * pixelBytes;
            if (head & 0x80) {
                unsigned char pixel[4];
                if (std::fread(pixel, 1, pixelBytes, stream) != pixelBytes) break;
                for (std::size_t i = 0; i < run; ++i) std::memcpy(out + i * pixelBytes, pixel, pixelBytes);
            } else if (std::fread(out, pixelBytes, run, stream) != run) {
                break;
            }
            filled += run;
        }
        if (filled < count) {
            ReportError(name + " - file corrupted");
            return;
        }
    }
    unsigned char* dst = ImageBuffers::Picture();
    const unsigned char* src = raw;
    for (std::size_t i = 0; i < count; ++i, src += pixelBytes, dst += 4) {
        dst[0] = src[0];
        dst[1] = src[1];
        dst[2] = src[2];
        dst[3] = pixelBytes == 4 ? src[3] : 255;
    }
    file.Close();
    _image->width = width;
    _image->height = height;
    _image->components = 4;
}

void ImageLoader::LoadInfo(Image& image, const std::string& fileName) {
    ImageLoader loader(image, fileName);
    Kind kind = KIND_PNG;
    if (!loader.ChooseKind(kind)) return;
    const std::string& name = fileName;
    if (kind == KIND_JPEG) {
        image.alphaChannel = false;
        CHECK_TEXT(std::strlen(name.c_str()) == name.size(), "filename == filename.c_str()");
        OpenFile file(name);
        std::FILE* f = file.Get();
        Assert(f != NULL);
        if (f == nullptr) return;
        ImageDecoders::Picture picture;
        callbackFileName = name;
        if (ImageDecoders::ReadJpegHeader(f, &picture) != ImageDecoders::DECODE_OK) {
            ReportError(name + " - file corrupted");
            return;
        }
        file.Close();
        image.width = picture.width;
        image.height = picture.height;
        image.components = picture.components;
    } else if (kind == KIND_TGA) {
        image.alphaChannel = true;
        OpenFile file(name);
        if (file.Get() == nullptr) return;
        TgaHeader header;
        if (!ReadTgaHeader(file.Get(), header)) {
            ReportError(name + " - file corrupted");
            return;
        }
        image.width = header.width;
        image.height = header.height;
        image.components = 4;
    } else {
        OpenFile file(name);
        if (file.Get() == nullptr) return;
        ImageDecoders::Picture picture;
        switch (ImageDecoders::ReadPngHeader(file.Get(), &picture)) {
            case ImageDecoders::DECODE_OK: break;
            case ImageDecoders::DECODE_BAD_SIGNATURE:
                HtmlLog::WriteError("Can't load texture " + name + ". Error while opening file.");
                return;
            case ImageDecoders::DECODE_NO_READ_STRUCT:
                HtmlLog::WriteError("Can't load texture " + name + ". Error while allocating memory for reading data.");
                return;
            default:
                HtmlLog::WriteError("Can't load texture " + name + ". Error while reading texture info.");
                return;
        }
        image.width = picture.width;
        image.height = picture.height;
        image.components = 4;
        image.alphaChannel = true;
    }
}
