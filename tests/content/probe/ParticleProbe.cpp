// Draws the demo firework headless through OpenGL and writes the frame as a PNG; with --reference
// it compares the frame with a PNG within a per-channel tolerance.
//   particle-probe <out.png> --data <data folder> [--reference <ref.png>] [--tolerance N] [--outliers N]

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "content/ControllerManager.h"
#include "content/EffectObserver.h"
#include "content/ParticleLibrary.h"
#include "core/DataFolder.h"
#include "core/Random.h"
#include "platform/render/DriverLeaks.h"
#include "platform/render/PngFile.h"
#include "shell/RenderDevice.h"

namespace {

RenderDevice& device = Render::device;

int Compare(const render_layer::PngPicture& frame, const std::string& referencePath, int tolerance, size_t outliers) {
    render_layer::PngPicture reference;
    std::string error;
    if (!render_layer::ReadPng(referencePath, &reference, &error)) {
        std::fprintf(stderr, "particle-probe: reference: %s\n", error.c_str());
        return 1;
    }
    if (reference.width != frame.width || reference.height != frame.height) {
        std::fprintf(stderr, "particle-probe: size %ux%u, reference %ux%u\n", frame.width, frame.height,
                     reference.width, reference.height);
        return 1;
    }
    size_t outside = 0;
    size_t lit = 0;
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
        if (((frame.pixels[i] >> 16) & 0xFF) > 128) ++lit;
    }
    std::printf("particle-probe: %zu lit pixels, %zu beyond tolerance %d (largest difference %d)\n", lit, outside,
                tolerance, worst);
    // A frame without sparks is no match, whatever the reference says.
    return outside <= outliers && lit > 1000 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: particle-probe <out.png> --data <folder> [--reference <ref.png>] [--tolerance N]"
                             " [--outliers N]\n");
        return 2;
    }
    const std::string outPath = argv[1];
    const size_t slash = outPath.find_last_of('/');
    dataFolder = slash == std::string::npos ? std::string() : outPath.substr(0, slash + 1);
    std::string referencePath;
    std::string contentFolder;
    int tolerance = 8;
    size_t outliers = 0;
    for (int i = 2; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--reference") == 0) referencePath = argv[i + 1];
        if (std::strcmp(argv[i], "--data") == 0) contentFolder = argv[i + 1];
        if (std::strcmp(argv[i], "--tolerance") == 0) tolerance = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--outliers") == 0) outliers = static_cast<size_t>(std::atol(argv[i + 1]));
    }
    // Content paths are relative to the content folder; the reference stays where it was named.
    char here[4096];
    if (!referencePath.empty() && referencePath[0] != '/' && getcwd(here, sizeof(here)) != nullptr) {
        referencePath = std::string(here) + "/" + referencePath;
    }
    if (!contentFolder.empty() && chdir(contentFolder.c_str()) != 0) {
        std::fprintf(stderr, "particle-probe: no folder %s\n", contentFolder.c_str());
        return 1;
    }
    HWND window = CreateDeviceWindow("particle-probe", 800, 600, false, true);
    if (window == nullptr) return 1;
    device.CreateDevice(window, false, 800, 600);
    if (!device.IsCreated()) {
        std::fprintf(stderr, "particle-probe: no device\n");
        return 1;
    }

    Random::Seed(12345);
    ParticleLibrary& library = GetParticleLibrary();
    library.LoadParticles("particles\\Particles.xml");
    library.LoadEffects("particles\\Effects.xml");
    library.LoadEffects("particles\\NamedEffects.xml");

    Core::ControllerManager& manager = Core::GetControllerManager();
    manager.addController(&Core::GetEffectObserver());
    render_layer::PngPicture frame;
    HRESULT read = D3D_OK;
    {
        EffectOwner owner;
        const float positions[3][2] = {{260.0f, 380.0f}, {540.0f, 330.0f}, {400.0f, 180.0f}};
        for (const auto& p : positions) {
            EffectHandle firework = owner.StartEffect("firework");
            firework->x = p[0];
            firework->y = p[1];
            firework->Reset();
        }
        EffectHandle sparks = owner.StartEffect("sparks");
        sparks->x = 400.0f;
        sparks->y = 40.0f;
        sparks->Reset();
        EffectHandle bubbles = owner.StartEffect("bubbles");
        bubbles->x = 130.0f;
        bubbles->y = 60.0f;
        bubbles->Reset();
        // Half a second at 60 frames a second, as the main loop runs it.
        for (int i = 0; i < 30; ++i) {
            if (manager.IsPending()) manager.MergeNewControllers();
            manager.Update(1.0f / 60.0f);
        }
        device.BeginFrame();
        device.SetPictureViewport();
        device.Enter2DMode();
        device.EnableAlphaBlend(true);
        device.SetBlendMode(0);
        device.EnableTexture(false);
        device.PushColor(Color(10, 16, 48));
        device.DrawRect(0, 0, 800, 600);
        device.PopColor();
        device.EnableTexture(true);
        owner.DrawAll();
        device.Leave2DMode();
        read = device._d3dDevice->ReadBackBuffer(&frame.pixels, &frame.width, &frame.height);
        device.EndFrame();
    }
    Core::GetEffectObserver().Clear();
    library.Clear();
    ParticleTextures::ReleaseAll();
    device.Release();
    {
        render_layer::DriverLeakScope driver;
        SDL_DestroyWindow(window);
        SDL_Quit();
    }
    if (read != D3D_OK) {
        std::fprintf(stderr, "particle-probe: the frame cannot be read back\n");
        return 1;
    }
    for (D3DCOLOR& c : frame.pixels) c |= 0xFF000000u;
    std::string error;
    if (!render_layer::WritePng(outPath, frame, false, &error)) {
        std::fprintf(stderr, "particle-probe: %s\n", error.c_str());
        return 1;
    }
    return referencePath.empty() ? 0 : Compare(frame, referencePath, tolerance, outliers);
}
