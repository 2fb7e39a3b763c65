// Draws the demo firework headless through OpenGL and writes the frame as a PNG; with --reference
// it compares the frame with a PNG within a per-channel tolerance.
//   particle-probe <out.png> --data <data folder> [--reference <ref.png>] [--tolerance N] [--outliers N]

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "content/ControllerManager.h"
#include "content/EffectObserver.h"
#include "content/ParticleLibrary.h"
#include "core/DataFolder.h"
#include "core/Random.h"
#include "shell/RenderDevice.h"
#include "shell/tools/ProbeSupport.h"

namespace {

RenderDevice& device = Render::device;

// Pixels with a bright red channel: a frame without sparks is no match, whatever the reference says.
size_t LitPixels(const render_layer::PngPicture& frame) {
    size_t lit = 0;
    for (const std::uint32_t pixel : frame.pixels) {
        if (((pixel >> 16) & 0xFF) > 128) ++lit;
    }
    return lit;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: particle-probe <out.png> --data <folder> [--reference <ref.png>] [--tolerance N]"
                             " [--outliers N]\n");
        return 2;
    }
    probe_support::ProbeArguments arguments = probe_support::ParseProbeArguments(argc, argv);
    probe_support::StartProbeLog(probe_support::FolderOf(arguments.outPath));
    // Content paths are relative to the content folder; the reference stays where it was named.
    arguments.referencePath = probe_support::AbsoluteFromHere(arguments.referencePath);
    if (!arguments.dataPath.empty() && chdir(arguments.dataPath.c_str()) != 0) {
        std::fprintf(stderr, "particle-probe: no folder %s\n", arguments.dataPath.c_str());
        return 1;
    }
    HWND window = probe_support::CreateProbeDevice("particle-probe");
    if (window == nullptr) return 1;

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
        probe_support::BeginProbeFrame();
        device.EnableTexture(false);
        device.PushColor(Color(10, 16, 48));
        device.DrawRect(0, 0, 800, 600);
        device.PopColor();
        device.EnableTexture(true);
        owner.DrawAll();
        read = probe_support::EndProbeFrame(&frame);
    }
    Core::GetEffectObserver().Clear();
    library.Clear();
    ParticleTextures::ReleaseAll();
    probe_support::CloseProbeDevice(window);
    if (!probe_support::WriteProbeFrame("particle-probe", read, frame, arguments.outPath)) return 1;
    if (arguments.referencePath.empty()) return 0;
    const size_t lit = LitPixels(frame);
    std::printf("particle-probe: %zu lit pixels\n", lit);
    return probe_support::MatchesReference("particle-probe", frame, arguments.referencePath, arguments.tolerance,
                                           arguments.outliers) &&
                   lit > 1000
               ? 0
               : 1;
}
