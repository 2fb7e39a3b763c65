// Decoding speed of the image loader on the demo pictures (PNG, JPEG pair, run-length TGA) and of
// the power-of-two expansion; the loader never allocates per picture.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "core/DataFolder.h"
#include "shell/Image.h"
#include "shell/ImageLoader.h"

namespace {

std::string DemoPath(const char* name) { return std::string(MARIVEL_SOURCE_DIR) + "/data/textures/" + name; }

void Setup() {
    if (dataFolder.empty()) dataFolder = std::filesystem::temp_directory_path().string() + "/";
}

void LoadPicture(benchmark::State& state, const char* name, bool preferJpeg) {
    Setup();
    const std::string path = DemoPath(name);
    Image image;
    for (auto _ : state) {
        ImageLoader::_preferJpegForm = preferJpeg;
        ImageLoader::Load(image, path);
        benchmark::DoNotOptimize(ImageBuffers::Picture()[0]);
    }
    state.SetItemsProcessed(state.iterations() * image.width * image.height);
}

void BM_LoadPng(benchmark::State& state) { LoadPicture(state, "bubble.png", false); }
void BM_LoadJpegPair(benchmark::State& state) { LoadPicture(state, "sand.png", true); }
void BM_LoadRleTga(benchmark::State& state) { LoadPicture(state, "pebble.tga", false); }

void BM_ExpandToPowerOfTwo(benchmark::State& state) {
    Setup();
    for (auto _ : state) {
        Image image;
        image.width = 1000;
        image.height = 600;
        Image::ExpandToPowerOfTwo(image);
        benchmark::DoNotOptimize(image.width);
    }
}

}  // namespace

BENCHMARK(BM_LoadPng);
BENCHMARK(BM_LoadJpegPair);
BENCHMARK(BM_LoadRleTga);
BENCHMARK(BM_ExpandToPowerOfTwo);
BENCHMARK_MAIN();
