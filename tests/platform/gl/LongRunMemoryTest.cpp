// A long headless run of the OpenGL backend: the frames the driver holds are bounded, so the
// process memory after thousands of frames stays close to its memory early in the run.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/render/D3D8.h"
#include "platform/render/D3DX.h"

namespace {

const int offscreen = setenv("SDL_VIDEODRIVER", "offscreen", 0);

constexpr int W = 800;
constexpr int H = 600;
constexpr int QUADS = 2000;

struct V {
    float x, y, z;
    D3DCOLOR color;
    float u, v;
};

// The resident size of this process in kilobytes.
long ResidentKb() {
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (f == nullptr) return 0;
    char line[256];
    long kb = 0;
    while (std::fgets(line, sizeof line, f) != nullptr) {
        if (std::strncmp(line, "VmRSS:", 6) == 0) kb = std::atol(line + 6);
    }
    std::fclose(f);
    return kb;
}

TEST(LongRunMemory, ThousandsOfPresentedFramesKeepMemoryFlat) {
    SDL_Window* window = CreateDeviceWindow("long-run", W, H, false, true);
    ASSERT_NE(window, nullptr);
    IDirect3D8* d3d = Direct3DCreate8(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    D3DPRESENT_PARAMETERS p;
    p.BackBufferWidth = W;
    p.BackBufferHeight = H;
    p.Windowed = TRUE;
    IDirect3DDevice8* device = nullptr;
    ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, 0, &p, &device), D3D_OK);
    D3DXMATRIX m;
    m._11 = 2.0f / W;
    m._22 = 2.0f / H;
    m._33 = 1.0f;
    m._41 = -1.0f;
    m._42 = -1.0f;
    m._44 = 1;
    device->SetTransform(D3DTS_PROJECTION, &m);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetVertexShader(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1);

    std::vector<V> vertices(static_cast<size_t>(QUADS) * 6);
    long early = 0;
    const int frames = 3000;
    for (int frame = 0; frame < frames; ++frame) {
        for (int i = 0; i < QUADS; ++i) {
            const float x = static_cast<float>((i * 37 + frame) % W);
            const float y = static_cast<float>((i * 53) % H);
            const D3DCOLOR c = 0xCC000000u | static_cast<D3DCOLOR>(i * 2654435761u & 0xFFFFFFu);
            const V q[6] = {{x, y, 0, c, 0, 0},           {x + 32, y, 0, c, 1, 0}, {x, y + 32, 0, c, 0, 1},
                            {x + 32, y, 0, c, 1, 0},      {x + 32, y + 32, 0, c, 1, 1}, {x, y + 32, 0, c, 0, 1}};
            std::memcpy(&vertices[static_cast<size_t>(i) * 6], q, sizeof q);
        }
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000040, 1.0f, 0);
        device->BeginScene();
        device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, QUADS * 2, vertices.data(), sizeof(V));
        device->EndScene();
        device->Present(nullptr, nullptr, nullptr, nullptr);
        if (frame == 300) early = ResidentKb();
    }
    const long late = ResidentKb();
    RecordProperty("early_kb", static_cast<int>(early));
    RecordProperty("late_kb", static_cast<int>(late));
    std::printf("resident: %ld kB after 300 frames, %ld kB after %d\n", early, late, frames);
    // An unbounded queue grows by tens of kilobytes a frame and more.
    EXPECT_LT(late - early, 32 * 1024) << early << " kB early, " << late << " kB late";

    device->Release();
    d3d->Release();
    SDL_DestroyWindow(window);
}

}  // namespace
