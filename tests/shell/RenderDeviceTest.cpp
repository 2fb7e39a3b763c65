// The render device against the recording backend: modes, creation, reset, drawing state,
// primitives and clip rectangles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/render/RecordingBackend.h"
#include "core/Assert.h"
#include "shell/ParticleVertexBatch.h"
#include "shell/RenderDevice.h"
#include "tests/core/CheckReports.h"
#include "tests/support/TestSupport.h"

using check_reports::ErrorReported;
using check_reports::Reported;
using render_layer::RecordedDraw;
using render_layer::RecordingDevice;
using render_layer::RecordingDirect3D;
using render_layer::RecordingSetup;
using render_layer::ScreenVertex;
using testing_support::LogCapture;

namespace {

D3DDISPLAYMODE Mode(UINT width, UINT height, UINT refresh = 60, D3DFORMAT format = D3DFMT_X8R8G8B8) {
    D3DDISPLAYMODE mode;
    mode.Width = width;
    mode.Height = height;
    mode.RefreshRate = refresh;
    mode.Format = format;
    return mode;
}

struct Bounds {
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
};

Bounds BoundsOf(const std::vector<std::vector<ScreenVertex>>& polygons) {
    Bounds b;
    for (const auto& polygon : polygons) {
        for (const ScreenVertex& v : polygon) {
            b.minX = std::min(b.minX, v.x);
            b.maxX = std::max(b.maxX, v.x);
            b.minY = std::min(b.minY, v.y);
            b.maxY = std::max(b.maxY, v.y);
        }
    }
    return b;
}

// Logical coordinates of a screen vertex under the 2D projection on an 800 x 600 viewport.
float LogicalX(float screenX) { return screenX + 0.5f; }
float LogicalY(float screenY) { return 599.5f - screenY; }

class RenderDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        RecordingSetup setup;
        setup.modes = {Mode(640, 480), Mode(800, 600), Mode(1024, 768)};
        Start(setup, false, 800, 600);
    }

    void TearDown() override { Stop(); }

    void Start(const RecordingSetup& setup, bool fullScreen, int width, int height) {
        Stop();
        _d3d = new RecordingDirect3D(setup);
        _d3d->AddRef();  // ours, so that the recording outlives Release
        device.UseDirect3D(_d3d);
        device.CreateDevice(nullptr, fullScreen, width, height);
        rec = _d3d->lastDevice;
    }

    void Stop() {
        device.Release();
        if (_d3d) _d3d->Release();
        _d3d = nullptr;
        rec = nullptr;
    }

    // Starts a frame in 2D mode with an empty recording.
    void Begin2D() {
        device.BeginFrame();
        device.SetPictureViewport();
        device.Enter2DMode();
        rec->draws.clear();
        rec->calls.clear();
    }

    void End2D() {
        device.Leave2DMode();
        device.EndFrame();
    }

    D3DXMATRIX Transform(D3DTRANSFORMSTATETYPE state) {
        D3DXMATRIX m;
        rec->GetTransform(state, &m);
        return m;
    }

    bool IsIdentity(D3DTRANSFORMSTATETYPE state) {
        const D3DXMATRIX m = Transform(state);
        return D3DXMatrixIsIdentity(&m);
    }

    RenderDevice& device = Render::device;
    RecordingDevice* rec = nullptr;
    RecordingDirect3D* _d3d = nullptr;
};

// ----------------------------------------------------------------------------- modes

TEST_F(RenderDeviceTest, ModeListKeepsDesktopFormatOneEntryPerSizeWithHighestRateSorted) {
    RecordingSetup setup;
    setup.modes = {Mode(1024, 768, 60), Mode(800, 600, 60), Mode(800, 600, 85), Mode(800, 600, 75),
                   Mode(640, 480, 60, D3DFMT_R5G6B5), Mode(640, 480, 60), Mode(1024, 600, 60)};
    Start(setup, false, 800, 600);
    const auto& modes = device.GetFullScreenModes();
    ASSERT_EQ(modes.size(), 4u);
    EXPECT_EQ(modes[0].Width, 640u);
    EXPECT_EQ(modes[1].Width, 800u);
    EXPECT_EQ(modes[1].RefreshRate, 85u);
    EXPECT_EQ(modes[2].Width, 1024u);
    EXPECT_EQ(modes[2].Height, 600u);
    EXPECT_EQ(modes[3].Height, 768u);
    // The presentation asks for the default rate, not the mode's.
    EXPECT_EQ(device.GetPresentParameters().FullScreen_RefreshRateInHz, 0u);
}

TEST_F(RenderDeviceTest, ChooseFullScreenModeOnModeLists) {
    struct Case {
        D3DDISPLAYMODE desktop;
        std::vector<D3DDISPLAYMODE> modes;
        UINT width, height;
    };
    const Case cases[] = {
        {Mode(1024, 768), {Mode(640, 480), Mode(800, 600), Mode(1024, 768)}, 800, 600},
        {Mode(1024, 768), {Mode(640, 480), Mode(1280, 1024), Mode(1024, 768), Mode(1600, 1200)}, 1024, 768},
        {Mode(1024, 768), {Mode(640, 480), Mode(1280, 1024), Mode(1280, 720)}, 1280, 1024},
        {Mode(1280, 1024), {Mode(800, 600), Mode(1280, 1024)}, 1280, 1024},
        {Mode(1920, 1080), {Mode(800, 600), Mode(1920, 1080)}, 1920, 1080},
        {Mode(1024, 768), {}, 1024, 768},
    };
    for (const Case& c : cases) {
        RecordingSetup setup;
        setup.desktop = c.desktop;
        setup.modes = c.modes;
        LogCapture log;
        Start(setup, false, 800, 600);
        const D3DDISPLAYMODE chosen = device.ChooseFullScreenMode(800, 600);
        EXPECT_EQ(chosen.Width, c.width) << c.desktop.Width << " with " << c.modes.size() << " modes";
        EXPECT_EQ(chosen.Height, c.height) << c.desktop.Width << " with " << c.modes.size() << " modes";
        const Rect rect = device.GetFullScreenRect(800, 600);
        EXPECT_EQ(rect.width, (int)c.width);
        EXPECT_EQ(rect.height, (int)c.height);
        EXPECT_EQ(Reported(log, "!_fsModes.empty()"), c.modes.empty());
    }
}

TEST_F(RenderDeviceTest, PictureAndLogicalRectangles) {
    struct Case {
        bool fullScreen;
        int width, height;
        bool wider, taller;
        float picture[4];  // x1, x2, y1, y2
        float logical[4];
        D3DVIEWPORT8 viewport;
    };
    const Case cases[] = {
        {false, 800, 600, false, false, {0, 800, 0, 600}, {0, 800, 0, 600}, {0, 0, 800, 600, 0, 1}},
        {false, 1920, 1080, false, false, {0, 1920, 0, 1080}, {0, 800, 0, 600}, {0, 0, 1920, 1080, 0, 1}},
        {true, 1280, 1024, false, true, {0, 1280, 32, 992}, {0, 800, 20, 620}, {0, 32, 1280, 960, 0, 1}},
        {true, 1920, 1080, true, false, {240, 1680, 0, 1080}, {133.33333f, 933.33333f, 0, 600},
         {240, 0, 1440, 1080, 0, 1}},
    };
    for (const Case& c : cases) {
        Start(RecordingSetup(), c.fullScreen, c.width, c.height);
        EXPECT_EQ(device.IsScreenWider(), c.wider) << c.width;
        EXPECT_EQ(device.IsScreenTaller(), c.taller) << c.width;
        float r[4];
        device.GetPictureRect(r[0], r[1], r[2], r[3]);
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(r[i], c.picture[i], 0.01f) << c.width << " picture " << i;
        device.GetScreenLogicalRect(r[0], r[1], r[2], r[3]);
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(r[i], c.logical[i], 0.01f) << c.width << " logical " << i;
        const D3DVIEWPORT8& vp = rec->Viewport();
        EXPECT_EQ(vp.X, c.viewport.X);
        EXPECT_EQ(vp.Y, c.viewport.Y);
        EXPECT_EQ(vp.Width, c.viewport.Width);
        EXPECT_EQ(vp.Height, c.viewport.Height);
    }
}

// ----------------------------------------------------------------------------- creation

TEST_F(RenderDeviceTest, CreationFillsParametersAndSetsFixedStatesInOrder) {
    RecordingSetup setup;
    setup.modes = {Mode(800, 600)};
    LogCapture log;
    Start(setup, true, 800, 600);
    ASSERT_TRUE(device.IsCreated());
    ASSERT_EQ(_d3d->created.size(), 1u);
    const D3DPRESENT_PARAMETERS& p = _d3d->created[0];
    EXPECT_EQ(p.BackBufferWidth, 800u);
    EXPECT_EQ(p.BackBufferFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(p.SwapEffect, D3DSWAPEFFECT_DISCARD);
    EXPECT_FALSE(p.Windowed);
    EXPECT_TRUE(p.EnableAutoDepthStencil);
    EXPECT_EQ(p.AutoDepthStencilFormat, D3DFMT_D16);
    EXPECT_EQ(p.FullScreen_PresentationInterval, D3DPRESENT_INTERVAL_IMMEDIATE);
    EXPECT_EQ(device.GetScreenMode(), 0);

    const std::vector<std::string> expected = {
        "SetRenderState(CULLMODE, 1)",     "SetRenderState(LIGHTING, 0)",     "SetRenderState(ZENABLE, 1)",
        "SetRenderState(ZWRITEENABLE, 0)", "SetRenderState(ALPHATESTENABLE, 1)", "SetRenderState(WRAP0, 0)",
        "SetRenderState(FOGENABLE, 0)",    "SetRenderState(FOGSTART, 0)",     "SetRenderState(FOGEND, 1065353216)",
        "SetRenderState(FOGTABLEMODE, 3)", "SetRenderState(FOGCOLOR, 4278267789)",
    };
    ASSERT_GE(rec->calls.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(rec->calls.begin(), rec->calls.begin() + expected.size()), expected);
    // Then the particle batch's buffer and the picture viewport.
    EXPECT_NE(GetParticleVertexBatch().buffer, nullptr);
    EXPECT_EQ(GetParticleVertexBatch().vertexCount, 1800);
    EXPECT_EQ(rec->calls[expected.size()], "CreateVertexBuffer(43200, 0x00000142)");
    EXPECT_EQ(rec->calls.back(), "SetViewport(0, 0, 800, 600)");
    EXPECT_TRUE(log.Contains("Textures pow2: false conditional non-pow2: false"));
    EXPECT_EQ(log.ErrorCount(), 0);

    // Windowed: default interval.
    Start(setup, false, 640, 480);
    EXPECT_TRUE(_d3d->created[0].Windowed);
    EXPECT_EQ(_d3d->created[0].FullScreen_PresentationInterval, D3DPRESENT_INTERVAL_DEFAULT);
}

TEST_F(RenderDeviceTest, CreationFailuresAreReportedAndLeaveADeviceThatDrawsNothing) {
    const struct {
        HRESULT result;
        const char* text;
    } cases[] = {
        {D3DERR_INVALIDCALL, "CreateDevice returned D3DERR_INVALIDCALL"},
        {D3DERR_NOTAVAILABLE, "CreateDevice returned D3DERR_NOTAVAILABLE"},
        {D3DERR_OUTOFVIDEOMEMORY, "CreateDevice returned D3DERR_OUTOFVIDEOMEMORY"},
        {static_cast<HRESULT>(0x80004005u), "CreateDevice return code -2147467259"},
    };
    for (const auto& c : cases) {
        RecordingSetup setup;
        setup.modes = {Mode(800, 600)};
        setup.createResult = c.result;
        LogCapture log;
        Start(setup, false, 800, 600);
        EXPECT_TRUE(ErrorReported(log, c.text)) << c.text;
        EXPECT_EQ(log.ErrorCount(), 1);
        EXPECT_FALSE(device.IsCreated());
        EXPECT_EQ(device._d3dDevice, nullptr);
        // Nothing calls through the missing device.
        EXPECT_TRUE(device.TestCooperativeLevel());
        device.BeginFrame();
        device.Enter2DMode();
        device.PushMatrix();
        device.MatrixTranslate(1, 2, 3);
        device.PopMatrix();
        device.PushClipRect(Rect(0, 0, 10, 10), CLIP_ALL);
        device.DrawRect(0, 0, 10, 10);
        device.PopClipRect();
        device.Leave2DMode();
        device.EndFrame();
        device.Reset(1, 800, 600);
    }
}

TEST_F(RenderDeviceTest, FailedFullScreenInitLeavesNothingBehindForTheWindowedRetry) {
    RecordingSetup setup;
    setup.modes = {Mode(800, 600)};
    setup.caps.MaxUserClipPlanes = 4;
    Stop();
    _d3d = new RecordingDirect3D(setup);
    _d3d->AddRef();
    device.UseDirect3D(_d3d);
    {
        LogCapture log;
        AssertThrowGuard guard;
        EXPECT_THROW(device.CreateDevice(nullptr, true, 800, 600), AssertionFailedException);
        EXPECT_TRUE(Reported(log, "d3dCaps.MaxUserClipPlanes >= MAX_CLIP_PLANES"));
    }
    EXPECT_FALSE(device.IsCreated());
    _d3d->setup.caps.MaxUserClipPlanes = 6;
    LogCapture log;
    device.CreateDevice(nullptr, false, 800, 600);
    EXPECT_TRUE(device.IsCreated());
    EXPECT_EQ(log.ErrorCount(), 0);
    ASSERT_EQ(_d3d->created.size(), 2u);
    EXPECT_TRUE(_d3d->created[1].Windowed);
    rec = _d3d->lastDevice;
    EXPECT_EQ(device._d3dDevice, rec);
}

TEST_F(RenderDeviceTest, FrameClearsAndPresents) {
    rec->calls.clear();
    device.BeginFrame();
    device.EndFrame();
    const std::vector<std::string> expected = {"Clear(3, 0xFF000000, 1)", "BeginScene", "EndScene", "Present"};
    EXPECT_EQ(rec->calls, expected);
    EXPECT_EQ(rec->presents, 1);
}

TEST_F(RenderDeviceTest, PowerOfTwoDecision) {
    const struct {
        DWORD caps;
        bool force;
        bool expected;
        const char* line;
    } cases[] = {
        {D3DPTEXTURECAPS_POW2, false, true, "Textures pow2: true conditional non-pow2: false"},
        {D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_NONPOW2CONDITIONAL, false, false,
         "Textures pow2: true conditional non-pow2: true"},
        {0, false, false, "Textures pow2: false conditional non-pow2: false"},
        {0, true, true, "Textures pow2: false conditional non-pow2: false"},
        {D3DPTEXTURECAPS_POW2, true, true, "Textures pow2: true conditional non-pow2: false"},
    };
    for (const auto& c : cases) {
        RecordingSetup setup;
        setup.modes = {Mode(800, 600)};
        setup.caps.TextureCaps = c.caps;
        const bool force = c.force;
        device.readForcePow2 = [force] { return force; };
        LogCapture log;
        Start(setup, false, 800, 600);
        EXPECT_EQ(device.NeedsPow2Textures(), c.expected) << c.caps << " " << c.force;
        EXPECT_TRUE(log.Contains(c.line));
        EXPECT_EQ(log.Contains("Forcing pow2 by Storage"), c.force && c.caps == 0);
    }
    device.readForcePow2 = nullptr;
}

TEST_F(RenderDeviceTest, InitReportsMissingCapabilities) {
    RecordingSetup setup;
    setup.modes = {Mode(800, 600)};
    setup.caps.MaxUserClipPlanes = 4;
    setup.caps.MaxTextureWidth = 512;
    LogCapture log;
    Start(setup, false, 800, 600);
    EXPECT_TRUE(Reported(log, "d3dCaps.MaxUserClipPlanes >= MAX_CLIP_PLANES"));
    EXPECT_TRUE(Reported(log, "maxTextureWidth >= 1024 && maxTextureHeight >= 1024"));
    EXPECT_TRUE(device.IsCreated());
}

TEST_F(RenderDeviceTest, LostDeviceSkipsFramesAndIsResetWhenItCanBe) {
    rec->cooperativeLevel = D3DERR_DEVICELOST;
    rec->calls.clear();
    EXPECT_TRUE(device.TestCooperativeLevel());
    EXPECT_EQ(rec->calls, std::vector<std::string>{"TestCooperativeLevel"});

    device.Enter2DMode();
    rec->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    rec->cooperativeLevel = D3DERR_DEVICENOTRESET;
    rec->calls.clear();
    EXPECT_FALSE(device.TestCooperativeLevel());
    ASSERT_GE(rec->calls.size(), 2u);
    EXPECT_EQ(rec->calls[1], "Reset(800x600, windowed 1)");
    EXPECT_EQ(rec->cooperativeLevel, D3D_OK);
    DWORD cull = 0;
    rec->GetRenderState(D3DRS_CULLMODE, &cull);
    EXPECT_EQ(cull, (DWORD)D3DCULL_NONE);
    EXPECT_TRUE(IsIdentity(D3DTS_PROJECTION));
    // The viewport waits for the next frame.
    EXPECT_EQ(std::count(rec->calls.begin(), rec->calls.end(), "SetViewport(0, 0, 800, 600)"), 0);
    device.Leave2DMode();
}

TEST_F(RenderDeviceTest, ResetSwitchesModeAndSize) {
    RecordingSetup setup;
    setup.modes = {Mode(800, 600)};
    setup.desktop = Mode(1920, 1080);
    Start(setup, false, 800, 600);
    device.Reset(0, 1920, 1080);
    EXPECT_EQ(device.GetScreenMode(), 0);
    EXPECT_FALSE(rec->Parameters().Windowed);
    EXPECT_EQ(rec->Parameters().BackBufferWidth, 1920u);
    EXPECT_TRUE(device.IsScreenWider());
    EXPECT_EQ(rec->Viewport().X, 240u);
    EXPECT_EQ(rec->Viewport().Width, 1440u);
    device.ResetMode(1);
    EXPECT_TRUE(rec->Parameters().Windowed);
    EXPECT_FALSE(device.IsScreenWider());
}

// ----------------------------------------------------------------------------- drawing state

TEST_F(RenderDeviceTest, AlphaAndColourStackArithmetic) {
    LogCapture log;
    device.PushAlpha(0.5f);
    EXPECT_EQ(device.GetCurrentColor() >> 24, 127u);
    device.PushColor(Color(10, 20, 30, 128));
    EXPECT_EQ(device.GetCurrentColor(), 0x400A141Eu);  // (int)(255 * 0.5 * 0.50196) = 64
    device.PushColor(Color(200, 100, 50));  // opaque: alpha kept, no alpha pushed
    EXPECT_EQ(device.GetCurrentColor(), 0x40C86432u);
    EXPECT_EQ(device.GetAlphaStackSize(), 3u);
    device.PopColor();
    EXPECT_EQ(device.GetCurrentColor(), 0x400A141Eu);
    EXPECT_EQ(device.GetAlphaStackSize(), 3u);
    device.PopColor();
    EXPECT_EQ(device.GetCurrentColor(), 0x7FFFFFFFu);
    device.PopAlpha();
    EXPECT_EQ(device.GetCurrentColor(), 0xFFFFFFFFu);
    EXPECT_EQ(device.GetAlphaStackSize(), 1u);
    EXPECT_EQ(log.ErrorCount(), 0);

    // The colour reaches the vertices.
    Begin2D();
    device.PushColor(Color(1, 2, 3, 255));
    device.DrawRect(0, 0, 1, 1);
    device.PopColor();
    ASSERT_EQ(rec->draws.size(), 1u);
    for (const auto& v : rec->draws[0].vertices) EXPECT_EQ(v.color, 0xFF010203u);
    End2D();
}

TEST_F(RenderDeviceTest, StackMisuseIsReportedAndStaysWithinTheStacks) {
    {
        LogCapture log;
        device.BeginFrame();
        device.PushColor(Color(1, 2, 3));
        device.EndFrame();
        EXPECT_TRUE(Reported(log, "_colorStack.size() == 0"));
        EXPECT_TRUE(Reported(log, "_alphaUseStack.size() == 0"));
        LogCapture next;
        device.BeginFrame();
        EXPECT_TRUE(Reported(next, "_colorStack.size() == 0"));
        device.PopColor();
        device.EndFrame();
    }
    LogCapture log;
    device.PopAlpha();
    EXPECT_TRUE(Reported(log, "!_alphaStack.empty()"));
    EXPECT_EQ(device.GetAlphaStackSize(), 1u);
    EXPECT_EQ(device.GetCurrentColor() >> 24, 255u);
    device.PopColor();
    EXPECT_TRUE(Reported(log, "!_colorStack.empty()"));
    EXPECT_TRUE(Reported(log, "!_alphaUseStack.empty()"));
    device.PopMatrix();
    EXPECT_TRUE(Reported(log, "!_currentMatrixStack->empty()"));
    device.PushAlpha(2.0f);
    EXPECT_TRUE(Reported(log, "0.0f <= multiplier && multiplier <= 1.0f"));
    EXPECT_EQ(device.GetCurrentColor() >> 24, 255u);
    device.PopAlpha();
    EXPECT_EQ(device.GetAlphaStackSize(), 1u);
}

TEST_F(RenderDeviceTest, WorldMatrixOperationsMultiplyInTheCalledOrder) {
    Begin2D();
    device.PushMatrix();
    device.MatrixTranslate(100, 50, 0);
    device.MatrixScale(2, 3, 1);
    device.DrawRect(0, 0, 10, 10);
    const float zAxis[3] = {0, 0, 1};
    device.MatrixLoadIdentity();
    device.MatrixRotate(zAxis, 90);
    device.DrawRect(0, 0, 10, 0);
    device.PopMatrix();
    EXPECT_TRUE(IsIdentity(D3DTS_WORLD));
    ASSERT_EQ(rec->draws.size(), 2u);
    const auto& w = rec->draws[0].world;
    EXPECT_FLOAT_EQ(w[0].x, 100);
    EXPECT_FLOAT_EQ(w[0].y, 50);
    EXPECT_FLOAT_EQ(w[3].x, 120);
    EXPECT_FLOAT_EQ(w[3].y, 80);
    // A positive angle turns x towards y: (10, 0) goes to (0, 10).
    const auto& r = rec->draws[1].world;
    EXPECT_NEAR(r[1].x, 0, 1e-4);
    EXPECT_NEAR(r[1].y, 10, 1e-4);
    End2D();
}

// Pictures are mirrored by turning them half round the vertical axis: x changes side about the
// turning point, the picture stays at z = 0 and no face is culled.
TEST_F(RenderDeviceTest, HalfATurnAboutTheVerticalAxisMirrorsWithoutCulling) {
    Begin2D();
    device.PushMatrix();
    device.MatrixTranslate(100, 50, 0);
    const float yAxis[3] = {0, 1, 0};
    device.MatrixRotate(yAxis, 180);
    device.DrawRectUV(Rect(-5, 0, 20, 10), 0.0f, 1.0f, 0.0f, 1.0f);
    device.PopMatrix();
    ASSERT_EQ(rec->draws.size(), 1u);
    const RecordedDraw& draw = rec->draws[0];
    EXPECT_EQ(D3DCULL_NONE, draw.renderStates[D3DRS_CULLMODE]);
    for (const auto& v : draw.world) {
        // The left edge (u = 0) at x = -5 goes to 105, the right one (u = 1) at x = 15 to 85.
        EXPECT_NEAR(v.x, v.u < 0.5f ? 105.0f : 85.0f, 1e-3f);
        EXPECT_NEAR(v.z, 0.0f, 1e-4f);
    }
    EXPECT_EQ(draw.clipped.size(), 2u);
    const Bounds b = BoundsOf(draw.clipped);
    EXPECT_NEAR(LogicalX(b.minX), 85.0f, 1.0f);
    EXPECT_NEAR(LogicalX(b.maxX), 105.0f, 1.0f);
    End2D();
}

TEST_F(RenderDeviceTest, TextureMatrixTranslateReplacesAndUniformScaleKeepsTheShift) {
    Begin2D();
    device.SetMatrixMode(1);
    device.MatrixTranslate(10, 20, 0);
    device.MatrixTranslate(10, 20, 0);
    D3DXMATRIX t = Transform(D3DTS_TEXTURE0);
    EXPECT_EQ(t._31, 10);
    EXPECT_EQ(t._32, 20);
    device.MatrixScaleUniform(2);
    t = Transform(D3DTS_TEXTURE0);
    EXPECT_EQ(t._11, 2);
    EXPECT_EQ(t._22, 2);
    EXPECT_EQ(t._31, 10);
    EXPECT_EQ(t._32, 20);
    rec->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
    device.DrawRect(0, 0, 4, 4);
    ASSERT_EQ(rec->draws.size(), 1u);
    const auto& w = rec->draws[0].world;
    EXPECT_FLOAT_EQ(w[0].u, 10);
    EXPECT_FLOAT_EQ(w[0].v, 20);
    EXPECT_FLOAT_EQ(w[3].u, 12);
    EXPECT_FLOAT_EQ(w[3].v, 22);
    // The world transform was not touched.
    EXPECT_TRUE(IsIdentity(D3DTS_WORLD));
    device.MatrixLoadIdentity();
    device.SetMatrixMode(0);
    End2D();
}

TEST_F(RenderDeviceTest, InvalidMatrixModeIsReportedAndSetsNoTransform) {
    LogCapture log;
    device.SetMatrixMode(2);
    EXPECT_TRUE(Reported(log, "false"));
    EXPECT_EQ(device.GetMatrixMode(), 2);
    rec->calls.clear();
    device.PushMatrix();
    device.MatrixTranslate(1, 2, 3);
    device.MatrixScaleUniform(2);
    device.PopMatrix();
    EXPECT_TRUE(rec->calls.empty());
    EXPECT_EQ(device.GetMatrixStackSize(), 0u);
    device.SetMatrixMode(0);
}

TEST_F(RenderDeviceTest, FullScreenRectCoversTheViewportExactly) {
    Begin2D();
    const D3DXMATRIX p = Transform(D3DTS_PROJECTION);
    EXPECT_FLOAT_EQ(p._11, 2.0f / 800);
    EXPECT_FLOAT_EQ(p._41, -801.0f / 800);
    EXPECT_FLOAT_EQ(p._42, -599.0f / 600);
    EXPECT_FLOAT_EQ(p._43, 0.5f);
    device.DrawRect(0, 0, 800, 600);
    ASSERT_EQ(rec->draws.size(), 1u);
    const RecordedDraw& d = rec->draws[0];
    EXPECT_EQ(d.type, D3DPT_TRIANGLESTRIP);
    EXPECT_EQ(d.primitiveCount, 2u);
    EXPECT_EQ(d.fvf, 0x142u);
    // Pixel centres lie at integers: the edges at -0.5 and size - 0.5 cover every pixel once.
    const Bounds b = BoundsOf(d.clipped);
    EXPECT_NEAR(b.minX, -0.5f, 1e-3);
    EXPECT_NEAR(b.maxX, 799.5f, 1e-3);
    EXPECT_NEAR(b.minY, -0.5f, 1e-3);
    EXPECT_NEAR(b.maxY, 599.5f, 1e-3);
    // Logical y grows upwards: the first vertex (0, 0) is the bottom-left corner.
    EXPECT_NEAR(d.screen[0].y, 599.5f, 1e-3);
    EXPECT_NEAR(d.screen[0].z, 0.5f, 1e-6);
    End2D();
}

TEST_F(RenderDeviceTest, RotatedRectanglesFollowTheTable) {
    const float L = 0.1f, R = 0.9f, B = 0.2f, T = 0.8f;
    const float table[4][4][2] = {
        {{L, B}, {R, B}, {L, T}, {R, T}},
        {{R, B}, {R, T}, {L, B}, {L, T}},
        {{R, T}, {L, T}, {R, B}, {L, B}},
        {{L, T}, {L, B}, {R, T}, {R, B}},
    };
    Begin2D();
    for (int rotation = 0; rotation < 4; ++rotation) {
        rec->draws.clear();
        device.DrawRectUVRotated(Rect(10, 20, 30, 40), L, R, B, T, rotation);
        ASSERT_EQ(rec->draws.size(), 1u);
        const auto& v = rec->draws[0].vertices;
        const bool turned = rotation % 2 == 1;
        EXPECT_EQ(v[3].x, turned ? 50 : 40);
        EXPECT_EQ(v[3].y, turned ? 50 : 60);
        for (int corner = 0; corner < 4; ++corner) {
            EXPECT_EQ(v[corner].u, table[rotation][corner][0]) << rotation << " " << corner;
            EXPECT_EQ(v[corner].v, table[rotation][corner][1]) << rotation << " " << corner;
        }
    }
    rec->draws.clear();
    device.DrawRectRotated(Rect(0, 0, 5, 5), 4);
    device.DrawRectUVRotated(Rect(0, 0, 5, 5), L, R, B, T, -1);
    EXPECT_TRUE(rec->draws.empty());
    device.DrawRectRotated(Rect(0, 0, 5, 5), 2);
    ASSERT_EQ(rec->draws.size(), 1u);
    EXPECT_EQ(rec->draws[0].vertices[0].u, 1);
    EXPECT_EQ(rec->draws[0].vertices[0].v, 1);
    End2D();
}

TEST_F(RenderDeviceTest, BlendModesAndStates) {
    const struct {
        int mode;
        DWORD src, dest;
    } cases[] = {
        {0, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
        {2, D3DBLEND_SRCALPHA, D3DBLEND_ONE},
        {3, D3DBLEND_SRCALPHA, D3DBLEND_ONE},  // unchanged
        {1, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
    };
    for (const auto& c : cases) {
        device.SetBlendMode(c.mode);
        EXPECT_EQ(rec->RenderStateValue(D3DRS_SRCBLEND), c.src) << c.mode;
        EXPECT_EQ(rec->RenderStateValue(D3DRS_DESTBLEND), c.dest) << c.mode;
    }
    device.EnableAlphaBlend(true);
    EXPECT_EQ(rec->RenderStateValue(D3DRS_ALPHABLENDENABLE), (DWORD)TRUE);
    EXPECT_EQ(device.GetFogColor(), Color(1, 47, 141));
    device.SetFogColor(Color(10, 20, 30, 40));
    EXPECT_EQ(rec->RenderStateValue(D3DRS_FOGCOLOR), 0x280A141Eu);
    EXPECT_EQ(device.GetFogColor(), Color(10, 20, 30, 40));
}

// A picture swimming to the right as the tank draws it: placed by depth along the view axis,
// moved, scaled by depth (the picture keeps z = 0), turned about the vertical axis and tilted by
// its pitch, under fog by depth.
TEST_F(RenderDeviceTest, MirroredTiltedScaledPictureLiesAtItsFogDepth) {
    const float yAxis[3] = {0, 1, 0};
    const float zAxis[3] = {0, 0, 1};
    Begin2D();
    device.EnableFog(true);
    device.PushMatrix();
    device.MatrixTranslate(0, 0, 500);
    device.MatrixTranslate(100, 50, 0);
    device.MatrixScale(2, 2, 0);
    device.MatrixRotate(yAxis, 180);
    device.DrawRect(0, 0, 10, 5);
    device.MatrixRotate(zAxis, 90);
    device.DrawRect(0, 0, 10, 5);
    device.PopMatrix();
    device.EnableFog(false);
    ASSERT_EQ(rec->draws.size(), 2u);
    // Corners (0, 0), (10, 0), (0, 5), (10, 5): the mirror sends x to the left of the origin.
    const auto& mirrored = rec->draws[0].world;
    EXPECT_NEAR(mirrored[1].x, 80, 1e-4);
    EXPECT_NEAR(mirrored[1].y, 50, 1e-4);
    EXPECT_NEAR(mirrored[2].x, 100, 1e-4);
    EXPECT_NEAR(mirrored[2].y, 60, 1e-4);
    // Tilted first: (10, 0) turns up to (0, 10), (0, 5) to (-5, 0), which the mirror sends right.
    const auto& tilted = rec->draws[1].world;
    EXPECT_NEAR(tilted[1].x, 100, 1e-4);
    EXPECT_NEAR(tilted[1].y, 70, 1e-4);
    EXPECT_NEAR(tilted[2].x, 110, 1e-4);
    EXPECT_NEAR(tilted[2].y, 50, 1e-4);
    for (const RecordedDraw& d : rec->draws) {
        EXPECT_EQ(d.renderStates[D3DRS_FOGENABLE], (DWORD)TRUE);
        // The view axis -1000..1000 is the fog range 0..1.
        for (const ScreenVertex& v : d.screen) EXPECT_NEAR(v.z, 0.75f, 1e-6);
    }
    EXPECT_EQ(rec->RenderStateValue(D3DRS_FOGENABLE), (DWORD)FALSE);
    End2D();
}

TEST_F(RenderDeviceTest, TexturesUploadThroughThePitchAndBind) {
    // Two rows of three pixels; the recording texture's rows are wider than that.
    const D3DCOLOR pixels[6] = {0xFF000001, 0xFF000002, 0xFF000003, 0x80000004, 0x80000005, 0x80000006};
    IDirect3DTexture8* tex = nullptr;
    device.UploadTexture(&tex, 3, 2, true, pixels);
    ASSERT_NE(tex, nullptr);
    auto* core = dynamic_cast<render_layer::TextureCore*>(tex);
    ASSERT_NE(core, nullptr);
    EXPECT_GT(core->PitchWords(), 3u);
    EXPECT_EQ(core->Format(), D3DFMT_A8R8G8B8);
    for (UINT y = 0; y < 2; ++y) {
        for (UINT x = 0; x < 3; ++x) EXPECT_EQ(core->Texel(x, y), pixels[y * 3 + x]);
    }

    device.BindTexture(tex, 1, 1, 0);
    EXPECT_EQ(device._currentTexture, tex);
    EXPECT_EQ(rec->StageTexture(0), core);
    EXPECT_EQ(rec->StageStateValue(0, D3DTSS_ADDRESSU), (DWORD)D3DTADDRESS_CLAMP);
    EXPECT_EQ(rec->StageStateValue(0, D3DTSS_MINFILTER), (DWORD)D3DTEXF_LINEAR);
    EXPECT_EQ(rec->StageStateValue(0, D3DTSS_COLOROP), (DWORD)D3DTOP_ADD);
    EXPECT_EQ(rec->StageStateValue(0, D3DTSS_ALPHAOP), (DWORD)D3DTOP_MODULATE);
    EXPECT_EQ(rec->StageStateValue(0, D3DTSS_TEXTURETRANSFORMFLAGS), (DWORD)D3DTTFF_COUNT2);
    device.BindTextureAsMask(tex, 0);
    EXPECT_EQ(rec->StageStateValue(0, D3DTSS_COLORARG1), D3DTA_DIFFUSE);
    EXPECT_EQ(rec->StageStateValue(0, D3DTSS_ADDRESSU), (DWORD)D3DTADDRESS_CLAMP);
    EXPECT_EQ(rec->StageStateValue(0, D3DTSS_COLOROP), (DWORD)D3DTOP_ADD);
    EXPECT_EQ(rec->StageStateValue(0, D3DTSS_MAGFILTER), (DWORD)D3DTEXF_POINT);
    device.EnableTexture(false);
    EXPECT_EQ(rec->StageTexture(0), nullptr);
    device.EnableTexture(true);
    EXPECT_EQ(rec->StageTexture(0), core);
    device.EnableTexture(false);
    device.ReleaseTexture(tex);
    EXPECT_EQ(tex, nullptr);
    EXPECT_EQ(device._currentTexture, nullptr);

    IDirect3DTexture8* opaque = nullptr;
    device.UploadTexture(&opaque, 1, 1, false, pixels);
    ASSERT_NE(opaque, nullptr);
    EXPECT_EQ(dynamic_cast<render_layer::TextureCore*>(opaque)->Format(), D3DFMT_X8R8G8B8);
    device.ReleaseTexture(opaque);
}

TEST_F(RenderDeviceTest, ParticleBatchesFillDrawAndStayWithinTheirArray) {
    ParticleVertexBatch& batch = GetParticleVertexBatch();
    ASSERT_NE(batch.buffer, nullptr);
    ASSERT_EQ(batch.vertices.size(), 1800u);
    for (int i = 0; i < 9; ++i) batch.vertices[i].x = (float)i;
    batch.vertexCount = 9;
    Begin2D();
    device.FillVertexBuffer(batch);
    device.DrawVertexBuffer(batch);
    ASSERT_EQ(rec->draws.size(), 1u);
    EXPECT_EQ(rec->draws[0].type, D3DPT_TRIANGLELIST);
    EXPECT_EQ(rec->draws[0].primitiveCount, 3u);
    EXPECT_EQ(rec->draws[0].vertices[8].x, 8);

    batch.stripTriangleCount = 4;
    device.DrawVertexBatchStrip(batch);
    ASSERT_EQ(rec->draws.size(), 2u);
    EXPECT_EQ(rec->draws[1].type, D3DPT_TRIANGLESTRIP);
    EXPECT_EQ(rec->draws[1].primitiveCount, 4u);
    EXPECT_EQ(rec->RenderStateValue(D3DRS_ZFUNC), (DWORD)D3DCMP_LESSEQUAL);

    LogCapture log;
    batch.vertexCount = 1801;
    device.FillVertexBuffer(batch);
    batch.stripTriangleCount = 1799;
    device.DrawVertexBatchStrip(batch);
    EXPECT_EQ(log.ErrorCount(), 2);
    EXPECT_EQ(rec->draws.size(), 2u);
    batch.vertexCount = 1800;
    batch.stripTriangleCount = 0;
    End2D();
}

// ----------------------------------------------------------------------------- clip rectangles

TEST_F(RenderDeviceTest, ClipRectangleUnderIdentity) {
    Begin2D();
    device.PushClipRect(Rect(100, 100, 200, 50), CLIP_ALL);
    EXPECT_EQ(device.GetClipPlaneCount(), 4);
    EXPECT_EQ(rec->RenderStateValue(D3DRS_CLIPPLANEENABLE), 0x0Fu);
    float left[4];
    rec->GetClipPlane(0, left);
    // Inside is positive: x - 100 >= 0.
    EXPECT_FLOAT_EQ(left[0] * 150 + left[3], 50 * left[0]);
    EXPECT_GT(left[0], 0);
    device.DrawRect(0, 0, 800, 600);
    const Bounds b = BoundsOf(rec->draws[0].clipped);
    EXPECT_NEAR(LogicalX(b.minX), 100, 1e-3);
    EXPECT_NEAR(LogicalX(b.maxX), 300, 1e-3);
    EXPECT_NEAR(LogicalY(b.maxY), 100, 1e-3);
    EXPECT_NEAR(LogicalY(b.minY), 150, 1e-3);
    device.PopClipRect();
    EXPECT_EQ(device.GetClipPlaneCount(), 0);
    EXPECT_EQ(rec->RenderStateValue(D3DRS_CLIPPLANEENABLE), 0u);
    End2D();
}

TEST_F(RenderDeviceTest, ClipRectangleUnderRotationStaysInWorldSpace) {
    Begin2D();
    const float zAxis[3] = {0, 0, 1};
    device.PushMatrix();
    device.MatrixTranslate(400, 0, 0);
    device.MatrixRotate(zAxis, 90);
    device.PushClipRect(Rect(100, 100, 200, 50), CLIP_ALL);
    device.PopMatrix();
    // (x, y) turned by 90 degrees is (-y, x): the rectangle spans x 250..300 and y 100..300.
    device.DrawRect(0, 0, 800, 600);
    const Bounds b = BoundsOf(rec->draws[0].clipped);
    EXPECT_NEAR(LogicalX(b.minX), 250, 1e-2);
    EXPECT_NEAR(LogicalX(b.maxX), 300, 1e-2);
    EXPECT_NEAR(LogicalY(b.maxY), 100, 1e-2);
    EXPECT_NEAR(LogicalY(b.minY), 300, 1e-2);
    device.PopClipRect();
    End2D();
}

TEST_F(RenderDeviceTest, LeftAndRightOnlyClipHorizontally) {
    Begin2D();
    device.PushClipRect(Rect(100, 100, 200, 50), CLIP_LEFT_RIGHT);
    EXPECT_EQ(device.GetClipPlaneCount(), 2);
    EXPECT_EQ(rec->RenderStateValue(D3DRS_CLIPPLANEENABLE), 0x03u);
    device.DrawRect(0, 0, 800, 600);
    const Bounds b = BoundsOf(rec->draws[0].clipped);
    EXPECT_NEAR(LogicalX(b.minX), 100, 1e-3);
    EXPECT_NEAR(LogicalX(b.maxX), 300, 1e-3);
    EXPECT_NEAR(LogicalY(b.maxY), 0, 1e-3);
    EXPECT_NEAR(LogicalY(b.minY), 600, 1e-3);
    device.PopClipRect();
    End2D();
}

TEST_F(RenderDeviceTest, NestedRectanglesBeyondSixPlanesAreReportedAndPoppedBack) {
    Begin2D();
    device.PushClipRect(Rect(0, 0, 400, 400), CLIP_ALL);
    device.PushClipRect(Rect(100, 50, 600, 100), CLIP_TOP_BOTTOM);
    EXPECT_EQ(device.GetClipPlaneCount(), 6);
    device.DrawRect(0, 0, 800, 600);
    Bounds b = BoundsOf(rec->draws[0].clipped);
    EXPECT_NEAR(LogicalX(b.minX), 0, 1e-3);
    EXPECT_NEAR(LogicalX(b.maxX), 400, 1e-3);
    EXPECT_NEAR(LogicalY(b.maxY), 50, 1e-3);
    EXPECT_NEAR(LogicalY(b.minY), 150, 1e-3);
    device.PopClipRect();
    EXPECT_EQ(rec->RenderStateValue(D3DRS_CLIPPLANEENABLE), 0x0Fu);

    LogCapture log;
    device.PushClipRect(Rect(200, 200, 10, 10), CLIP_ALL);
    EXPECT_TRUE(Reported(log, "_nClipPlanes < MAX_CLIP_PLANES"));
    EXPECT_TRUE(Reported(log, "_d3dDevice->SetClipPlane(_nClipPlanes, plane34) == D3D_OK"));
    EXPECT_TRUE(Reported(log, "_d3dDevice->SetClipPlane(_nClipPlanes, plane41) == D3D_OK"));
    EXPECT_EQ(log.ErrorCount(), 4);
    EXPECT_EQ(device.GetClipPlaneCount(), 8);
    // Only six planes are honoured: the inner rectangle clips on its left and top only.
    rec->draws.clear();
    device.DrawRect(0, 0, 800, 600);
    b = BoundsOf(rec->draws[0].clipped);
    EXPECT_NEAR(LogicalX(b.minX), 200, 1e-3);
    EXPECT_NEAR(LogicalX(b.maxX), 400, 1e-3);
    EXPECT_NEAR(LogicalY(b.maxY), 0, 1e-3);
    EXPECT_NEAR(LogicalY(b.minY), 210, 1e-3);
    device.PopClipRect();
    EXPECT_EQ(device.GetClipPlaneCount(), 4);
    EXPECT_EQ(rec->RenderStateValue(D3DRS_CLIPPLANEENABLE), 0x0Fu);
    device.PopClipRect();
    EXPECT_EQ(rec->RenderStateValue(D3DRS_CLIPPLANEENABLE), 0u);
    End2D();
}

TEST_F(RenderDeviceTest, ClipRectangleMisuseIsReported) {
    Begin2D();
    {
        LogCapture log;
        device.PushClipRect(Rect(0, 0, 10, 10), ClipSides());
        EXPECT_TRUE(Reported(log, "_clipPlanesStack.top() < _nClipPlanes && _nClipPlanes <= _clipPlanesStack.top() + 4"));
        EXPECT_EQ(device.GetClipPlaneCount(), 0);
        device.PopClipRect();
        EXPECT_EQ(rec->RenderStateValue(D3DRS_CLIPPLANEENABLE), 0u);
    }
    {
        LogCapture log;
        device.PopClipRect();
        EXPECT_TRUE(Reported(log, "_clipPlanesStack.size() > 0"));
        EXPECT_EQ(log.ErrorCount(), 1);
    }
    {
        LogCapture log;
        device.PushClipRect(Rect(0, 0, 0, 10), CLIP_ALL);
        EXPECT_TRUE(Reported(log, "window.width > 0"));
        EXPECT_TRUE(Reported(log, "plane[0] * x + plane[1] * y + plane[2] * z + plane[3] > 0"));
        device.PopClipRect();
    }
    {
        LogCapture log;
        D3DXMATRIX view;
        D3DXMatrixTranslation(&view, 5, 0, 0);
        rec->SetTransform(D3DTS_VIEW, &view);
        const float xAxis[3] = {1, 0, 0};
        device.PushMatrix();
        device.MatrixRotate(xAxis, 30);
        device.PushClipRect(Rect(0, 0, 10, 10), CLIP_ALL);
        EXPECT_TRUE(Reported(log, "view._41 == 0"));
        EXPECT_FALSE(Reported(log, "view._42 == 0"));
        EXPECT_TRUE(Reported(log, "world._23 == 0"));
        EXPECT_TRUE(Reported(log, "world._32 == 0"));
        EXPECT_EQ(device.GetClipPlaneCount(), 4);
        device.PopClipRect();
        device.PopMatrix();
    }
    End2D();
}

}  // namespace
