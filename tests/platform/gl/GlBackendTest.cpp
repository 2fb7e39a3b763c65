// The OpenGL backend of the drawing layer, drawn headless and read back pixel by pixel.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <vector>

#include "platform/render/D3D8.h"
#include "platform/render/D3DX.h"

namespace {

// Headless unless a video driver is chosen already.
const int offscreen = setenv("SDL_VIDEODRIVER", "offscreen", 0);

constexpr int W = 64;
constexpr int H = 32;

struct V {
    float x, y, z;
    D3DCOLOR color;
    float u, v;
};

class GlBackend : public ::testing::Test {
protected:
    void SetUp() override {
        window = CreateDeviceWindow("gl-test", W, H, false, true);
        ASSERT_NE(window, nullptr);
        d3d = Direct3DCreate8(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr);
        D3DPRESENT_PARAMETERS p;
        p.BackBufferWidth = W;
        p.BackBufferHeight = H;
        p.Windowed = TRUE;
        p.EnableAutoDepthStencil = TRUE;
        p.AutoDepthStencilFormat = D3DFMT_D16;
        ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, 0, &p, &device), D3D_OK);
        // Logical units are pixels, origin bottom-left, as the render device sets it up.
        D3DXMATRIX m;
        m._11 = 2.0f / W;
        m._22 = 2.0f / H;
        m._33 = 1.0f / 2000;
        m._41 = -(W + 1.0f) / W;
        m._42 = -(H - 1.0f) / H;
        m._43 = 0.5f;
        m._44 = 1;
        device->SetTransform(D3DTS_PROJECTION, &m);
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        device->SetRenderState(D3DRS_LIGHTING, FALSE);
        device->SetVertexShader(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        device->BeginScene();
    }

    void TearDown() override {
        if (device) device->Release();
        if (d3d) d3d->Release();
        if (window) SDL_DestroyWindow(window);
    }

    void Quad(float x1, float y1, float x2, float y2, D3DCOLOR color, float z = 0.0f) {
        const V v[4] = {{x1, y1, z, color, 0, 0}, {x2, y1, z, color, 1, 0}, {x1, y2, z, color, 0, 1},
                        {x2, y2, z, color, 1, 1}};
        ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(V)), D3D_OK);
    }

    // The pixel at logical (x, y): column x, row y counted from the bottom.
    D3DCOLOR At(int x, int y) {
        if (pixels.empty()) Read();
        return pixels[(H - 1 - y) * W + x] | 0xFF000000u;
    }

    void Read() {
        UINT w = 0, h = 0;
        ASSERT_EQ(device->ReadBackBuffer(&pixels, &w, &h), D3D_OK);
        ASSERT_EQ(w, (UINT)W);
        ASSERT_EQ(h, (UINT)H);
    }

    IDirect3DTexture8* Solid(D3DCOLOR color, D3DFORMAT format = D3DFMT_A8R8G8B8) {
        IDirect3DTexture8* texture = nullptr;
        EXPECT_EQ(device->CreateTexture(2, 2, 1, 0, format, D3DPOOL_MANAGED, &texture), D3D_OK);
        Fill(texture, color);
        return texture;
    }

    static void Fill(IDirect3DTexture8* texture, D3DCOLOR color) {
        D3DLOCKED_RECT locked;
        ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
        for (int y = 0; y < 2; ++y) {
            auto* row = reinterpret_cast<D3DCOLOR*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch);
            row[0] = row[1] = color;
        }
        texture->UnlockRect(0);
    }

    HWND window = nullptr;
    IDirect3D8* d3d = nullptr;
    IDirect3DDevice8* device = nullptr;
    std::vector<D3DCOLOR> pixels;
};

TEST_F(GlBackend, QuadsCoverTheirPixelsExactlyWithYUp) {
    Quad(0, 0, 32, 16, 0xFFFF0000);
    Quad(32, 16, 64, 32, 0xFF00FF00);
    EXPECT_EQ(At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(At(31, 15), 0xFFFF0000u);
    EXPECT_EQ(At(32, 15), 0xFF000000u);
    EXPECT_EQ(At(31, 16), 0xFF000000u);
    EXPECT_EQ(At(32, 16), 0xFF00FF00u);
    EXPECT_EQ(At(63, 31), 0xFF00FF00u);
}

TEST_F(GlBackend, StageOperationsAndFormats) {
    IDirect3DTexture8* texture = Solid(0x80204060);
    device->SetTexture(0, texture);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    Quad(0, 0, 8, 8, 0xFF0000FF);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_ADD);
    Quad(8, 0, 16, 8, 0xFF100000);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    Quad(16, 0, 24, 8, 0xFF808080);
    // Alpha from the texture blends; an X8R8G8B8 texture counts as opaque.
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    Quad(24, 0, 32, 8, 0xFFFFFFFF);
    IDirect3DTexture8* opaque = Solid(0x00204060, D3DFMT_X8R8G8B8);
    device->SetTexture(0, opaque);
    Quad(32, 0, 40, 8, 0xFFFFFFFF);
    // No texture: the vertex colour.
    device->SetTexture(0, nullptr);
    Quad(40, 0, 48, 8, 0xFF123456);
    EXPECT_EQ(At(4, 4), 0xFF0000FFu);
    EXPECT_EQ(At(12, 4), 0xFF304060u);
    const D3DCOLOR modulated = At(20, 4);
    EXPECT_NEAR((int)((modulated >> 16) & 0xFF), 0x10, 1);
    EXPECT_NEAR((int)((modulated >> 8) & 0xFF), 0x20, 1);
    const D3DCOLOR blended = At(28, 4);
    EXPECT_NEAR((int)((blended >> 16) & 0xFF), 0x10, 1);
    EXPECT_EQ(At(36, 4), 0xFF204060u);
    EXPECT_EQ(At(44, 4), 0xFF123456u);
    texture->Release();
    opaque->Release();
}

TEST_F(GlBackend, TexturesChangedOrReplacedWhileInUse) {
    IDirect3DTexture8* texture = Solid(0xFFFF0000);
    device->SetTexture(0, texture);
    Quad(0, 0, 8, 8, 0xFFFFFFFF);
    // New pixels reach later draws only; the earlier one keeps the old picture.
    Fill(texture, 0xFF00FF00);
    Quad(8, 0, 16, 8, 0xFFFFFFFF);
    // A texture made after another was deleted draws with its own picture.
    IDirect3DTexture8* other = Solid(0xFF0000FF);
    device->SetTexture(0, other);
    texture->Release();
    Quad(16, 0, 24, 8, 0xFFFFFFFF);
    IDirect3DTexture8* third = Solid(0xFFFFFF00);
    device->SetTexture(0, third);
    Quad(24, 0, 32, 8, 0xFFFFFFFF);
    EXPECT_EQ(At(4, 4), 0xFFFF0000u);
    EXPECT_EQ(At(12, 4), 0xFF00FF00u);
    EXPECT_EQ(At(20, 4), 0xFF0000FFu);
    EXPECT_EQ(At(28, 4), 0xFFFFFF00u);
    // A texture released while its draw waits in the batch is drawn before it goes.
    IDirect3DTexture8* gone = Solid(0xFF00FFFF);
    device->SetTexture(0, gone);
    Quad(32, 0, 40, 8, 0xFFFFFFFF);
    device->SetTexture(0, nullptr);
    EXPECT_EQ(gone->Release(), 0u);
    pixels.clear();
    EXPECT_EQ(At(36, 4), 0xFF00FFFFu);
    device->SetTexture(0, nullptr);
    other->Release();
    third->Release();
}

TEST_F(GlBackend, DepthClipPlanesAndCulling) {
    device->SetRenderState(D3DRS_ZENABLE, TRUE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    Quad(0, 0, 16, 16, 0xFFFF0000, -500);  // nearer
    Quad(0, 0, 16, 16, 0xFF00FF00, 500);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    Quad(16, 0, 32, 16, 0xFFFF0000, -500);
    Quad(16, 0, 32, 16, 0xFF00FF00, 500);  // far, but nothing was written here

    const float plane[4] = {1, 0, 0, -40};  // x >= 40
    device->SetClipPlane(0, plane);
    device->SetRenderState(D3DRS_CLIPPLANEENABLE, 1);
    Quad(32, 0, 48, 16, 0xFF0000FF);
    device->SetRenderState(D3DRS_CLIPPLANEENABLE, 0);

    // The strip's triangles run counter-clockwise with y up: clockwise on the screen.
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    Quad(48, 0, 56, 16, 0xFFFFFFFF);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    Quad(56, 0, 64, 16, 0xFFFFFFFF);

    EXPECT_EQ(At(8, 8), 0xFFFF0000u);
    EXPECT_EQ(At(24, 8), 0xFF00FF00u);
    EXPECT_EQ(At(39, 8), 0xFF000000u);
    EXPECT_EQ(At(40, 8), 0xFF0000FFu);
    // A strip keeps one winding for all its triangles: CW culling drops the quad, CCW keeps it.
    EXPECT_EQ(At(49, 1), 0xFF000000u);
    EXPECT_EQ(At(55, 15), 0xFF000000u);
    EXPECT_EQ(At(57, 1), 0xFFFFFFFFu);
    EXPECT_EQ(At(63, 15), 0xFFFFFFFFu);
}

TEST_F(GlBackend, ClearKeepsToTheViewportAndFogTintsByDepth) {
    D3DVIEWPORT8 viewport;
    viewport.X = 0;
    viewport.Y = 0;  // top rows
    viewport.Width = 16;
    viewport.Height = 8;
    device->SetViewport(&viewport);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF808080, 1.0f, 0);
    viewport.Width = W;
    viewport.Height = H;
    device->SetViewport(&viewport);

    const float fogStart = 0.0f, fogEnd = 1.0f;
    device->SetRenderState(D3DRS_FOGENABLE, TRUE);
    device->SetRenderState(D3DRS_FOGTABLEMODE, D3DFOG_LINEAR);
    device->SetRenderState(D3DRS_FOGSTART, *(const DWORD*)&fogStart);
    device->SetRenderState(D3DRS_FOGEND, *(const DWORD*)&fogEnd);
    device->SetRenderState(D3DRS_FOGCOLOR, 0xFF0000FF);
    Quad(32, 0, 48, 8, 0xFFFF0000, 0.25f * 1999.8f - 999.9f);  // a quarter into the fog
    device->SetRenderState(D3DRS_FOGENABLE, FALSE);
    Quad(48, 0, 64, 8, 0xFFFF0000, 0.25f * 1999.8f - 999.9f);

    EXPECT_EQ(At(0, 31), 0xFF808080u);
    EXPECT_EQ(At(15, 24), 0xFF808080u);
    EXPECT_EQ(At(16, 31), 0xFF000000u);
    EXPECT_EQ(At(0, 23), 0xFF000000u);
    const D3DCOLOR fogged = At(40, 4);
    EXPECT_NEAR((int)((fogged >> 16) & 0xFF), 191, 3);
    EXPECT_NEAR((int)(fogged & 0xFF), 64, 3);
    EXPECT_EQ(At(56, 4), 0xFFFF0000u);
}

TEST_F(GlBackend, PicturesOfOnePageAndFogColoursShareOneDrawAndKeepTheirPixels) {
    IDirect3DTexture8* red = Solid(0xFFFF0000);
    IDirect3DTexture8* green = Solid(0x0000FF00, D3DFMT_X8R8G8B8);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetTextureStageState(0, D3DTSS_ADDRESSV, D3DTADDRESS_CLAMP);
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    const float fogStart = 0.0f, fogEnd = 1.0f;
    device->SetRenderState(D3DRS_FOGTABLEMODE, D3DFOG_LINEAR);
    device->SetRenderState(D3DRS_FOGSTART, *(const DWORD*)&fogStart);
    device->SetRenderState(D3DRS_FOGEND, *(const DWORD*)&fogEnd);
    const unsigned long long before = device->SubmittedDraws();
    // Clamped pictures of one page, fogged in colours of their own or not at all: one draw.
    device->SetTexture(0, red);
    Quad(0, 0, 8, 8, 0xFFFFFFFF);
    device->SetTexture(0, green);
    device->SetRenderState(D3DRS_FOGENABLE, TRUE);
    device->SetRenderState(D3DRS_FOGCOLOR, 0xFF0000FF);
    Quad(8, 0, 16, 8, 0xFFFFFFFF, 0.5f * 1999.8f - 999.9f);
    device->SetRenderState(D3DRS_FOGCOLOR, 0xFFFFFFFF);
    Quad(16, 0, 24, 8, 0xFFFFFFFF, 0.5f * 1999.8f - 999.9f);
    device->SetRenderState(D3DRS_FOGENABLE, FALSE);
    device->SetTexture(0, red);
    Quad(24, 0, 32, 8, 0xFFFFFFFF);
    device->EndScene();
    // The fixed function takes fog as a state.
    if (std::getenv("MARIVEL_GL_FIXED_FUNCTION") == nullptr) {
        EXPECT_EQ(device->SubmittedDraws() - before, 1u);
    }
    // A picture repeated by wrapped addressing draws from a texture of its own.
    device->BeginScene();
    device->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_WRAP);
    device->SetTexture(0, green);
    const V tiled[4] = {{32, 0, 0, 0xFFFFFFFF, 0, 0}, {40, 0, 0, 0xFFFFFFFF, 4, 0}, {32, 8, 0, 0xFFFFFFFF, 0, 1},
                        {40, 8, 0, 0xFFFFFFFF, 4, 1}};
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, tiled, sizeof(V)), D3D_OK);
    EXPECT_EQ(At(4, 4), 0xFFFF0000u);
    EXPECT_EQ(At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(At(7, 7), 0xFFFF0000u);
    const D3DCOLOR blueFogged = At(12, 4);
    EXPECT_NEAR((int)((blueFogged >> 8) & 0xFF), 128, 3);
    EXPECT_NEAR((int)(blueFogged & 0xFF), 127, 3);
    EXPECT_NEAR((int)((At(20, 4) >> 16) & 0xFF), 127, 3);
    EXPECT_EQ(At(28, 4), 0xFFFF0000u);
    EXPECT_EQ(At(33, 1), 0xFF00FF00u);
    EXPECT_EQ(At(39, 7), 0xFF00FF00u);
    device->SetTexture(0, nullptr);
    red->Release();
    green->Release();
}

}  // namespace
