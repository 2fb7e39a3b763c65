// Shows the demo screen of the layered animation ("screens\\layered_demo.xml") headless through
// OpenGL, writes frames as PNG files and checks them: the fish swims right, then turns round and
// swims back. Then it loads another screen, which removes the animation, and runs ten more frames.
//   layered-frames <data folder> <output folder>
// Runs headless with SDL_VIDEODRIVER=offscreen.

#include <unistd.h>

#include <cstdio>
#include <string>

#include "controls/FlowControlClasses.h"
#include "controls/CommonDefinitionClasses.h"
#include "content/ControllerManager.h"
#include "content/ControllerScript.h"
#include "content/ResourceManagerScript.h"
#include "controls/ControlContainer.h"
#include "controls/ControlFramework.h"
#include "core/DataFolder.h"
#include "core/PermanentStorage.h"
#include "platform/render/PngFile.h"
#include "shell/RenderDevice.h"
#include "shell/ScriptApi.h"
#include "shell/ScriptMap.h"
#include "shell/tools/ProbeSupport.h"

namespace {

RenderDevice& device = Render::device;

// Where the fish shows in a frame and which way it looks (its eye lies towards its head).
struct FishSeen {
    bool found = false;
    float centreX = 0.0f;
    bool facingRight = false;
};

bool IsFishBody(unsigned r, unsigned g, unsigned b) { return r > 200 && g > 90 && g < 210 && b < 90; }
bool IsDark(unsigned r, unsigned g, unsigned b) { return r < 70 && g < 70 && b < 70; }

FishSeen FindFish(const render_layer::PngPicture& frame) {
    FishSeen seen;
    unsigned minX = frame.width, maxX = 0, minY = frame.height, maxY = 0;
    for (unsigned y = 0; y < frame.height; ++y) {
        for (unsigned x = 0; x < frame.width; ++x) {
            const std::uint32_t c = frame.pixels[static_cast<std::size_t>(y) * frame.width + x];
            if (!IsFishBody((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF)) continue;
            if (x < minX) minX = x;
            if (x > maxX) maxX = x;
            if (y < minY) minY = y;
            if (y > maxY) maxY = y;
        }
    }
    if (maxX <= minX) return seen;
    double eyeX = 0.0;
    int eyePixels = 0;
    for (unsigned y = minY; y <= maxY; ++y) {
        for (unsigned x = minX; x <= maxX; ++x) {
            const std::uint32_t c = frame.pixels[static_cast<std::size_t>(y) * frame.width + x];
            if (IsDark((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF)) {
                eyeX += x;
                ++eyePixels;
            }
        }
    }
    if (eyePixels == 0) return seen;
    seen.found = true;
    seen.centreX = (static_cast<float>(minX) + static_cast<float>(maxX)) / 2.0f;
    seen.facingRight = eyeX / eyePixels > seen.centreX;
    return seen;
}

// One frame as the main loop makes it: controllers, the tree, then the drawing.
bool RunFrame(float dt, render_layer::PngPicture* frame) {
    Core::ControllerManager& manager = Core::GetControllerManager();
    if (manager.IsPending()) manager.MergeNewControllers();
    manager.Update(dt);
    rootContainer->Update(dt);
    if (manager.IsPending()) manager.MergeNewControllers();
    device.BeginFrame();
    device.SetPictureViewport();
    device._d3dDevice->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(20, 60, 120), 1.0f, 0);
    device.Enter2DMode();
    device.EnableAlphaBlend(true);
    device.SetBlendMode(0);
    rootContainer->Draw();
    device.Leave2DMode();
    bool read = true;
    if (frame != nullptr) {
        read = device._d3dDevice->ReadBackBuffer(&frame->pixels, &frame->width, &frame->height) == D3D_OK;
        for (std::uint32_t& c : frame->pixels) c |= 0xFF000000u;
    }
    device.EndFrame();
    return read;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: layered-frames <data folder> <output folder>\n");
        return 2;
    }
    const std::string outDir = std::string(argv[2]) + "/";
    probe_support::StartProbeLog(outDir);
    if (chdir(argv[1]) != 0) {
        std::fprintf(stderr, "layered-frames: no folder %s\n", argv[1]);
        return 2;
    }
    // A store with one player, as the game has loaded before any screen.
    {
        std::FILE* storage = std::fopen((outDir + "Storage.xml").c_str(), "wb");
        if (storage == nullptr) {
            std::fprintf(stderr, "layered-frames: cannot write to %s\n", outDir.c_str());
            return 2;
        }
        std::fputs("<Storage><Globals/><ActivePlayer name=\"Player\"/></Storage>", storage);
        std::fclose(storage);
    }
    PermanentStorage::Load();
    HWND window = probe_support::CreateProbeDevice("layered-frames");
    if (window == nullptr) return 1;
    StartControlFramework();
    RegisterCommonDefinitionClasses();
    RegisterFlowControlClasses();  // the demo screens listen for keys
    ConnectAnimationScriptServices();
    ConnectResourceScriptServices();
    ScriptMap::Open();
    RegisterScriptApi();

    Core::ControllerManager& manager = Core::GetControllerManager();
    int failures = 0;
    {
        ScriptMap::LoadControlTree("screens\\layered_demo.xml");
        if (rootContainer == NULL) {
            std::fprintf(stderr, "layered-frames: the demo screen did not load\n");
            return 1;
        }
        const std::size_t running = manager.GetRunning().size() + (manager.IsPending() ? 1 : 0);

        // Seconds 1 and 2 swimming right; it turns after 3 s; second 4 swimming back.
        const float dt = 1.0f / 30.0f;
        FishSeen seen[3];
        const int shots[3] = {30, 60, 120};
        int shot = 0;
        for (int i = 1; i <= shots[2]; ++i) {
            const bool keep = shot < 3 && i == shots[shot];
            render_layer::PngPicture frame;
            if (!RunFrame(dt, keep ? &frame : nullptr)) {
                std::fprintf(stderr, "layered-frames: the frame cannot be read back\n");
                ++failures;
            }
            if (!keep) continue;
            std::string error;
            const std::string path = outDir + "layered-frame-" + std::to_string(i) + ".png";
            if (!render_layer::WritePng(path, frame, false, &error)) {
                std::fprintf(stderr, "layered-frames: %s\n", error.c_str());
                ++failures;
            }
            seen[shot] = FindFish(frame);
            std::printf("layered-frames: frame %d: fish %s at x %.1f, facing %s\n", i,
                        seen[shot].found ? "seen" : "not seen", seen[shot].centreX,
                        seen[shot].facingRight ? "right" : "left");
            ++shot;
        }
        const bool moved = seen[0].found && seen[1].found && seen[1].centreX > seen[0].centreX + 40.0f;
        const bool turned = seen[1].facingRight && seen[2].found && !seen[2].facingRight &&
                            seen[0].facingRight && seen[2].centreX < 250.0f + 240.0f;
        if (!moved) {
            std::fprintf(stderr, "layered-frames: the fish did not swim right\n");
            ++failures;
        }
        if (!turned) {
            std::fprintf(stderr, "layered-frames: the fish did not turn round\n");
            ++failures;
        }

        ScriptMap::LoadControlTree("screens\\demo_second.xml");
        for (int i = 0; i < 10; ++i) RunFrame(dt, nullptr);
        if (manager.GetRunning().size() != running - 1) {
            std::fprintf(stderr, "layered-frames: the player is still running\n");
            ++failures;
        }
    }

    rootContainer = nullptr;
    PermanentStorage::Discard();
    probe_support::CloseProbeDevice(window);
    // Nothing may have been reported on the way.
    {
        std::FILE* log = std::fopen((outDir + "log.htm").c_str(), "rb");
        std::string text;
        if (log != nullptr) {
            char buffer[4096];
            std::size_t n = 0;
            while ((n = std::fread(buffer, 1, sizeof buffer, log)) > 0) text.append(buffer, n);
            std::fclose(log);
        }
        if (text.find("Color = Red") != std::string::npos) {
            std::fprintf(stderr, "layered-frames: errors in %slog.htm\n", outDir.c_str());
            ++failures;
        }
        if (text.find("Layered animation screen closed") == std::string::npos) {
            std::fprintf(stderr, "layered-frames: the screen did not announce its end\n");
            ++failures;
        }
    }
    std::printf("layered-frames: %s\n", failures == 0 ? "ok" : "FAILED");
    return failures == 0 ? 0 : 1;
}
