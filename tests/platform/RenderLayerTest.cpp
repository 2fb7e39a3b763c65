// The drawing layer: matrix helpers, the device semantics both backends share (through the
// recording backend), clipping of recorded draws, and PNG frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/render/D3DX.h"
#include "platform/render/PngFile.h"
#include "platform/render/RecordingBackend.h"
#include "tests/support/TestSupport.h"

using namespace render_layer;

namespace {

struct XyzColorUv {
    float x, y, z;
    D3DCOLOR color;
    float u, v;
};

D3DXVECTOR3 Apply(const D3DXMATRIX& m, float x, float y, float z) {
    D3DXVECTOR3 in(x, y, z);
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &in, &m);
    return out;
}

TEST(RenderLayerMath, RowVectorConventionOrderAndInverse) {
    D3DXMATRIX rotate;
    const D3DXVECTOR3 axis(0, 0, 2);  // normalised by the helper
    D3DXMatrixRotationAxis(&rotate, &axis, 3.14159265f / 2);
    D3DXVECTOR3 p = Apply(rotate, 1, 0, 0);
    EXPECT_NEAR(p.x, 0, 1e-6);
    EXPECT_NEAR(p.y, 1, 1e-6);

    D3DXMATRIX translate;
    D3DXMatrixTranslation(&translate, 10, 0, 0);
    // a * b applies a first.
    p = Apply(translate * rotate, 1, 0, 0);
    EXPECT_NEAR(p.x, 0, 1e-5);
    EXPECT_NEAR(p.y, 11, 1e-5);
    p = Apply(rotate * translate, 1, 0, 0);
    EXPECT_NEAR(p.x, 10, 1e-5);
    EXPECT_NEAR(p.y, 1, 1e-5);

    D3DXMATRIX scale;
    D3DXMatrixScaling(&scale, 2, 4, 8);
    const D3DXMATRIX m = scale * rotate * translate;
    D3DXMATRIX inverse;
    float determinant = 0;
    ASSERT_NE(D3DXMatrixInverse(&inverse, &determinant, &m), nullptr);
    EXPECT_NEAR(determinant, 64, 1e-3);
    const D3DXMATRIX product = m * inverse;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(product(r, c), r == c ? 1 : 0, 1e-5);
    }
    D3DXMATRIX singular;
    D3DXMatrixScaling(&singular, 1, 0, 1);
    EXPECT_EQ(D3DXMatrixInverse(&inverse, nullptr, &singular), nullptr);

    D3DXMATRIX ortho;
    D3DXMatrixOrthoOffCenterLH(&ortho, 0, 800, 0, 600, -1, 1);
    p = Apply(ortho, 800, 0, 1);
    EXPECT_NEAR(p.x, 1, 1e-6);
    EXPECT_NEAR(p.y, -1, 1e-6);
    EXPECT_NEAR(p.z, 1, 1e-6);
}

class RenderLayerDevice : public ::testing::Test {
protected:
    void SetUp() override {
        d3d = new RecordingDirect3D();
        D3DPRESENT_PARAMETERS p;
        p.BackBufferWidth = 100;
        p.BackBufferHeight = 50;
        p.Windowed = TRUE;
        p.EnableAutoDepthStencil = TRUE;
        IDirect3DDevice8* made = nullptr;
        ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, 0, &p, &made), D3D_OK);
        device = made;
        rec = d3d->lastDevice;
    }
    void TearDown() override {
        device->Release();
        d3d->Release();
    }

    // A quad from (x1, y1) to (x2, y2) as a strip, drawn untransformed onto the 100 x 50 screen.
    void DrawQuad(float x1, float y1, float x2, float y2) {
        const XyzColorUv v[4] = {{x1, y1, 0, 0xFFFFFFFF, 0, 0},
                                 {x2, y1, 0, 0xFFFFFFFF, 1, 0},
                                 {x1, y2, 0, 0xFFFFFFFF, 0, 1},
                                 {x2, y2, 0, 0xFFFFFFFF, 1, 1}};
        ASSERT_EQ(device->SetVertexShader(0x142), D3D_OK);
        ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(XyzColorUv)), D3D_OK);
    }

    RecordingDirect3D* d3d = nullptr;
    IDirect3DDevice8* device = nullptr;
    RecordingDevice* rec = nullptr;
};

TEST_F(RenderLayerDevice, DefaultsAndResetRestoresThem) {
    DWORD value = 0;
    device->GetRenderState(D3DRS_ZENABLE, &value);
    EXPECT_EQ(value, (DWORD)TRUE);
    device->GetRenderState(D3DRS_CULLMODE, &value);
    EXPECT_EQ(value, (DWORD)D3DCULL_CCW);
    device->GetTextureStageState(0, D3DTSS_COLOROP, &value);
    EXPECT_EQ(value, (DWORD)D3DTOP_MODULATE);
    device->GetTextureStageState(1, D3DTSS_COLOROP, &value);
    EXPECT_EQ(value, (DWORD)D3DTOP_DISABLE);
    D3DVIEWPORT8 viewport;
    device->GetViewport(&viewport);
    EXPECT_EQ(viewport.Width, 100u);
    EXPECT_EQ(viewport.Height, 50u);

    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, 1, 2, 3);
    device->SetTransform(D3DTS_WORLD, &m);
    D3DPRESENT_PARAMETERS p = rec->Parameters();
    p.BackBufferWidth = 200;
    ASSERT_EQ(device->Reset(&p), D3D_OK);
    device->GetRenderState(D3DRS_CULLMODE, &value);
    EXPECT_EQ(value, (DWORD)D3DCULL_CCW);
    device->GetTransform(D3DTS_WORLD, &m);
    EXPECT_TRUE(D3DXMatrixIsIdentity(&m));
    device->GetViewport(&viewport);
    EXPECT_EQ(viewport.Width, 200u);
}

// How many calls each submitted batch holds, in the order submitted.
std::vector<size_t> BatchSizes(const RecordingDevice& rec) {
    std::vector<size_t> sizes;
    for (const RecordedBatch& batch : rec.batches) sizes.push_back(batch.calls);
    return sizes;
}

TEST_F(RenderLayerDevice, StatesThatReachTheDriverSplitBatchesAndNothingElseDoes) {
    IDirect3DTexture8* a = nullptr;
    ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &a), D3D_OK);
    const float start = 0.0f, end = 1.0f;
    device->SetRenderState(D3DRS_FOGSTART, *(const DWORD*)&start);
    device->SetRenderState(D3DRS_FOGEND, *(const DWORD*)&end);
    device->SetRenderState(D3DRS_FOGTABLEMODE, D3DFOG_LINEAR);
    device->BeginScene();
    device->SetTexture(0, a);
    DrawQuad(0, 0, 10, 10);
    // The world moves vertices; linear fog travels in them; a state set to what it is stays.
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, 5, 0, 0);
    device->SetTransform(D3DTS_WORLD, &m);
    device->SetRenderState(D3DRS_FOGENABLE, TRUE);
    device->SetRenderState(D3DRS_FOGCOLOR, 0xFF102030);
    DrawQuad(0, 0, 10, 10);
    device->SetRenderState(D3DRS_FOGENABLE, FALSE);
    device->SetTexture(0, a);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    DrawQuad(0, 0, 10, 10);
    // Each of these reaches the driver: a new batch every time.
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    DrawQuad(0, 0, 10, 10);
    device->SetTexture(0, nullptr);
    DrawQuad(0, 0, 10, 10);
    const XyzColorUv line[2] = {{0, 0, 0, 0xFFFFFFFF, 0, 0}, {9, 9, 0, 0xFFFFFFFF, 0, 0}};
    device->DrawPrimitiveUP(D3DPT_LINELIST, 1, line, sizeof(XyzColorUv));
    // Exponential fog is GL's own: its colour is a state.
    device->SetRenderState(D3DRS_FOGTABLEMODE, D3DFOG_EXP);
    device->SetRenderState(D3DRS_FOGENABLE, TRUE);
    DrawQuad(0, 0, 10, 10);
    device->SetRenderState(D3DRS_FOGCOLOR, 0xFF405060);
    DrawQuad(0, 0, 10, 10);
    // A batch waits for the next key or the end of the scene.
    EXPECT_EQ(BatchSizes(*rec), (std::vector<size_t>{3, 1, 1, 1, 1}));
    device->EndScene();
    EXPECT_EQ(BatchSizes(*rec), (std::vector<size_t>{3, 1, 1, 1, 1, 1}));
    EXPECT_EQ(rec->batches[0].key.texture, a);
    EXPECT_EQ(rec->batches[2].key.texture, nullptr);
    EXPECT_EQ(rec->batches[3].key.family, D3DPT_LINELIST);
    EXPECT_EQ(rec->batches[0].primitives, 6u);
    EXPECT_EQ(device->SubmittedDraws(), 6u);
    a->Release();
}

TEST_F(RenderLayerDevice, BatchesKeepTheCallOrderAndClearSubmitsFirst) {
    IDirect3DTexture8* a = nullptr;
    IDirect3DTexture8* b = nullptr;
    ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &a), D3D_OK);
    ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &b), D3D_OK);
    device->BeginScene();
    // Overlapping pictures of a, b, a: the last a must stay above b, so it opens a batch of its own.
    for (IDirect3DTexture8* texture : {a, b, a}) {
        device->SetTexture(0, texture);
        DrawQuad(0, 0, 10, 10);
    }
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    ASSERT_EQ(rec->batches.size(), 3u);
    DrawQuad(0, 0, 10, 10);
    device->EndScene();
    ASSERT_EQ(rec->batches.size(), 4u);
    const IDirect3DTexture8* expected[] = {a, b, a, a};
    for (size_t i = 0; i < rec->batches.size(); ++i) {
        EXPECT_EQ(rec->batches[i].key.texture, expected[i]) << i;
        EXPECT_EQ(rec->batches[i].firstDraw, i) << i;
    }
    a->Release();
    b->Release();
}

TEST_F(RenderLayerDevice, MultiplyTransformPutsTheNewMatrixFirst) {
    D3DXMATRIX translate, scale, m;
    D3DXMatrixTranslation(&translate, 10, 0, 0);
    D3DXMatrixScaling(&scale, 2, 2, 2);
    device->SetTransform(D3DTS_WORLD, &translate);
    device->MultiplyTransform(D3DTS_WORLD, &scale);
    device->GetTransform(D3DTS_WORLD, &m);
    EXPECT_EQ(m._41, 10);  // scale * translate: the scale acts first
    EXPECT_EQ(m._11, 2);
    EXPECT_EQ(device->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(99), &m), D3DERR_INVALIDCALL);
}

TEST_F(RenderLayerDevice, AtMostSixClipPlanes) {
    const float plane[4] = {1, 0, 0, -10};
    EXPECT_EQ(device->SetClipPlane(5, plane), D3D_OK);
    EXPECT_EQ(device->SetClipPlane(6, plane), D3DERR_INVALIDCALL);
    float read[4];
    EXPECT_EQ(device->GetClipPlane(6, read), D3DERR_INVALIDCALL);
    // Plane 5 keeps x >= 10; enable bits above the sixth do nothing.
    device->SetRenderState(D3DRS_CLIPPLANEENABLE, 0xFF & ~0x1Fu);
    DrawQuad(0, 0, 40, 20);
    ASSERT_EQ(rec->draws.size(), 1u);
    float minX = 1e9f;
    for (const auto& polygon : rec->draws[0].clipped) {
        for (const auto& v : polygon) minX = std::min(minX, v.x);
    }
    // Identity transforms: clip space x -1..1 spans the 100 pixels, so world 10 is pixel 550.
    EXPECT_NEAR(minX, (10.0f + 1.0f) * 0.5f * 100, 1e-3);
}

TEST_F(RenderLayerDevice, ClippedTrianglesKeepInterpolatedAttributesAndDropWhatIsOutside) {
    D3DXMATRIX ortho;
    D3DXMatrixOrthoOffCenterLH(&ortho, 0, 100, 0, 50, 0, 1);
    device->SetTransform(D3DTS_PROJECTION, &ortho);
    const float plane[4] = {-1, 0, 0, 25};  // x <= 25
    device->SetClipPlane(0, plane);
    device->SetRenderState(D3DRS_CLIPPLANEENABLE, 1);
    const XyzColorUv v[6] = {{0, 0, 0, 0xFF000000, 0, 0},  {50, 0, 0, 0xFF0000FF, 1, 0},
                             {0, 50, 0, 0xFF000000, 0, 1}, {30, 0, 0, 0, 0, 0},
                             {40, 0, 0, 0, 0, 0},          {30, 10, 0, 0, 0, 0}};
    device->SetVertexShader(0x142);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, v, sizeof(XyzColorUv)), D3D_OK);
    ASSERT_EQ(rec->draws.size(), 1u);
    ASSERT_EQ(rec->draws[0].clipped.size(), 1u);  // the second triangle lies wholly outside
    bool sawCut = false;
    for (const auto& s : rec->draws[0].clipped[0]) {
        EXPECT_LE(s.x, 25.0f + 1e-4);
        if (std::fabs(s.x - 25) < 1e-4 && std::fabs(s.y - 50) < 1e-4) {
            sawCut = true;
            EXPECT_NEAR(s.u, 0.5f, 1e-6);
            EXPECT_EQ(s.color & 0xFF, 0x80u);
        }
    }
    EXPECT_TRUE(sawCut);
}

TEST_F(RenderLayerDevice, TexturesLockThroughTheirPitch) {
    IDirect3DTexture8* texture = nullptr;
    EXPECT_EQ(device->CreateTexture(4, 2, 1, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED, &texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->CreateTexture(4, 2, 3, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), D3DERR_INVALIDCALL);
    ASSERT_EQ(device->CreateTexture(4, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
    D3DLOCKED_RECT locked;
    RECT part;
    part.left = 1;
    part.top = 1;
    part.right = 3;
    part.bottom = 2;
    ASSERT_EQ(texture->LockRect(0, &locked, &part, 0), D3D_OK);
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_GT(locked.Pitch, 16);
    static_cast<D3DCOLOR*>(locked.pBits)[1] = 0x12345678;
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    EXPECT_EQ(texture->UnlockRect(0), D3DERR_INVALIDCALL);
    auto* core = dynamic_cast<TextureCore*>(texture);
    EXPECT_EQ(core->Texel(2, 1), 0x12345678u);
    part.right = 5;
    EXPECT_EQ(texture->LockRect(0, &locked, &part, 0), D3DERR_INVALIDCALL);

    // A bound texture is held by the device.
    device->SetTexture(0, texture);
    EXPECT_EQ(core->References(), 2);
    texture->Release();
    EXPECT_EQ(core->References(), 1);
    device->SetTexture(0, nullptr);
}

TEST_F(RenderLayerDevice, PowerOfTwoCapsRefuseOtherSizes) {
    RecordingSetup setup;
    setup.caps.TextureCaps = D3DPTEXTURECAPS_POW2;
    RecordingDirect3D* strict = new RecordingDirect3D(setup);
    D3DPRESENT_PARAMETERS p;
    p.BackBufferWidth = 8;
    p.BackBufferHeight = 8;
    IDirect3DDevice8* made = nullptr;
    ASSERT_EQ(strict->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, &p, &made), D3D_OK);
    IDirect3DTexture8* texture = nullptr;
    EXPECT_EQ(made->CreateTexture(6, 8, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &texture), D3DERR_INVALIDCALL);
    ASSERT_EQ(made->CreateTexture(8, 8, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
    texture->Release();
    made->Release();
    strict->Release();
}

TEST_F(RenderLayerDevice, VertexInputIsChecked) {
    const XyzColorUv v[3] = {};
    EXPECT_EQ(device->SetVertexShader(0x004), D3DERR_INVALIDCALL);  // pre-transformed vertices are not taken
    device->SetVertexShader(0x142);
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, v, 12), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->DrawPrimitiveUP(static_cast<D3DPRIMITIVETYPE>(9), 1, v, 24), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL);  // no stream

    // A buffer draws only what it holds.
    IDirect3DVertexBuffer8* buffer = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(3 * 24, 0, 0x142, D3DPOOL_MANAGED, &buffer), D3D_OK);
    BYTE* data = nullptr;
    ASSERT_EQ(buffer->Lock(0, 0, &data, 0), D3D_OK);
    std::memcpy(data, v, sizeof(v));
    buffer->Unlock();
    device->SetStreamSource(0, buffer, 24);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3D_OK);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 1, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(buffer->Lock(72, 1, &data, 0), D3DERR_INVALIDCALL);
    buffer->Release();
    EXPECT_EQ(rec->draws.size(), 1u);
    // Scenes pair up and present waits for the end of one.
    EXPECT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->EndScene(), D3D_OK);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(rec->presents, 1);
}

TEST(RenderLayerPng, WritesAndReadsFrames) {
    const std::string folder = testing_support::MakeTempDir("png");
    PngPicture picture;
    picture.width = 3;
    picture.height = 2;
    picture.pixels = {0xFF102030, 0x80FFFFFF, 0x00000000, 0xFF0000FF, 0xFF00FF00, 0xFFFF0000};
    std::string error;
    ASSERT_TRUE(WritePng(folder + "a.png", picture, true, &error)) << error;
    PngPicture read;
    ASSERT_TRUE(ReadPng(folder + "a.png", &read, &error)) << error;
    EXPECT_EQ(read.width, 3u);
    EXPECT_EQ(read.height, 2u);
    EXPECT_EQ(read.pixels, picture.pixels);
    ASSERT_TRUE(WritePng(folder + "b.png", picture, false, &error)) << error;
    ASSERT_TRUE(ReadPng(folder + "b.png", &read, &error)) << error;
    EXPECT_EQ(read.pixels[1], 0xFFFFFFFFu);

    testing_support::WriteFile(folder + "broken.png", "\x89PNG\r\n\x1a\n garbage");
    EXPECT_FALSE(ReadPng(folder + "broken.png", &read, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(ReadPng(folder + "missing.png", &read, &error));
    picture.pixels.pop_back();
    EXPECT_FALSE(WritePng(folder + "c.png", picture, true, &error));
}

}  // namespace
