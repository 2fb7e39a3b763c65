#include "shell/tools/ProbeSupport.h"

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/DataFolder.h"
#include "core/HtmlLog.h"
#include "platform/render/DriverLeaks.h"

namespace probe_support {

ProbeArguments ParseProbeArguments(int argc, char** argv) {
    ProbeArguments arguments;
    if (argc > 1) arguments.outPath = argv[1];
    for (int i = 2; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--reference") == 0) arguments.referencePath = argv[i + 1];
        if (std::strcmp(argv[i], "--data") == 0) arguments.dataPath = argv[i + 1];
        if (std::strcmp(argv[i], "--tolerance") == 0) arguments.tolerance = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--outliers") == 0) arguments.outliers = static_cast<size_t>(std::atol(argv[i + 1]));
    }
    return arguments;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string AbsoluteFromHere(const std::string& path) {
    char here[4096];
    if (!path.empty() && path[0] != '/' && getcwd(here, sizeof(here)) != nullptr) return std::string(here) + "/" + path;
    return path;
}

HWND CreateProbeDevice(const char* name) {
    HWND window = CreateDeviceWindow(name, 800, 600, false, true);
    if (window == nullptr) return nullptr;
    Render::device.CreateDevice(window, false, 800, 600);
    if (!Render::device.IsCreated()) {
        std::fprintf(stderr, "%s: no device\n", name);
        return nullptr;
    }
    return window;
}

void CloseProbeDevice(HWND window) {
    Render::device.Release();
    [[maybe_unused]] render_layer::DriverLeakScope driver;
    SDL_DestroyWindow(window);
    SDL_Quit();
}

void BeginProbeFrame() {
    RenderDevice& device = Render::device;
    device.BeginFrame();
    device.SetPictureViewport();
    device.Enter2DMode();
    device.EnableAlphaBlend(true);
    device.SetBlendMode(0);
}

HRESULT EndProbeFrame(render_layer::PngPicture* frame) {
    RenderDevice& device = Render::device;
    device.Leave2DMode();
    const HRESULT read = device._d3dDevice->ReadBackBuffer(&frame->pixels, &frame->width, &frame->height);
    device.EndFrame();
    return read;
}

bool WriteProbeFrame(const char* name, HRESULT read, render_layer::PngPicture& frame, const std::string& outPath) {
    if (read != D3D_OK) {
        std::fprintf(stderr, "%s: the frame cannot be read back\n", name);
        return false;
    }
    for (D3DCOLOR& c : frame.pixels) c |= 0xFF000000u;
    std::string error;
    if (!render_layer::WritePng(outPath, frame, false, &error)) {
        std::fprintf(stderr, "%s: %s\n", name, error.c_str());
        return false;
    }
    return true;
}

bool MatchesReference(const char* name, const render_layer::PngPicture& frame, const std::string& referencePath,
                      int tolerance, size_t outliers) {
    render_layer::PngPicture reference;
    std::string error;
    if (!render_layer::ReadPng(referencePath, &reference, &error)) {
        std::fprintf(stderr, "%s: reference: %s\n", name, error.c_str());
        return false;
    }
    if (reference.width != frame.width || reference.height != frame.height) {
        std::fprintf(stderr, "%s: size %ux%u, reference %ux%u\n", name, frame.width, frame.height, reference.width,
                     reference.height);
        return false;
    }
    size_t outside = 0;
    int worst = 0;
    for (size_t i = 0; i < frame.pixels.size(); ++i) {
        int difference = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const int a = static_cast<int>((frame.pixels[i] >> shift) & 0xFF);
            const int b = static_cast<int>((reference.pixels[i] >> shift) & 0xFF);
            difference = std::max(difference, std::abs(a - b));
        }
        worst = std::max(worst, difference);
        if (difference > tolerance) ++outside;
    }
    std::printf("%s: %zu pixels beyond tolerance %d (largest difference %d)\n", name, outside, tolerance, worst);
    return outside <= outliers;
}

void StartProbeLog(const std::string& folder) {
    dataFolder = folder;
    std::remove(HtmlLog::FileName().c_str());
}

int CountLogErrors() {
    std::FILE* f = std::fopen(HtmlLog::FileName().c_str(), "rb");
    if (f == nullptr) return 0;
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0) text.append(buffer, n);
    std::fclose(f);
    int count = 0;
    for (size_t pos = text.find(">ERROR : <"); pos != std::string::npos; pos = text.find(">ERROR : <", pos + 1)) ++count;
    return count;
}

}  // namespace probe_support
