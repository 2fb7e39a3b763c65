// Feeds arbitrary bytes to the image loader as a PNG, JPEG or TGA file (chosen by the first byte).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/DataFolder.h"
#include "shell/Image.h"
#include "shell/ImageLoader.h"

namespace {
std::string folder;

void Setup() {
    char pattern[] = "/tmp/marivel-fuzz-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    folder = std::string(pattern) + "/";
    dataFolder = folder;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (folder.empty()) Setup();
    if (size < 1) return 0;
    static const char* const names[] = {"f.png", "f.jpg", "f.tga"};
    const std::string name = folder + names[data[0] % 3];
    std::FILE* f = std::fopen(name.c_str(), "wb");
    if (f == nullptr) return 0;
    std::fwrite(data + 1, 1, size - 1, f);
    std::fclose(f);
    ImageLoader::_preferJpegForm = false;
    Image image;
    ImageLoader::Load(image, name);
    Image info;
    ImageLoader::LoadInfo(info, name);
    if (image.width > 0 && image.height > 0 && image.width <= 4096) {
        Image::ExpandToPowerOfTwo(image);
    }
    ::unlink((folder + "log.htm").c_str());
    ::unlink(name.c_str());
    return 0;
}
