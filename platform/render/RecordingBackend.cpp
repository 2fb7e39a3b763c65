#include "platform/render/RecordingBackend.h"

namespace render_layer {

namespace {

Vertex Lerp(const Vertex& a, const Vertex& b, float t) {
    Vertex r;
    r.x = a.x + (b.x - a.x) * t;
    r.y = a.y + (b.y - a.y) * t;
    r.z = a.z + (b.z - a.z) * t;
    r.u = a.u + (b.u - a.u) * t;
    r.v = a.v + (b.v - a.v) * t;
    D3DCOLOR c = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const float ca = static_cast<float>((a.color >> shift) & 0xFF);
        const float cb = static_cast<float>((b.color >> shift) & 0xFF);
        c |= static_cast<D3DCOLOR>(ca + (cb - ca) * t + 0.5f) << shift;
    }
    r.color = c;
    return r;
}

float Distance(const float* plane, const Vertex& v) { return plane[0] * v.x + plane[1] * v.y + plane[2] * v.z + plane[3]; }

// Sutherland-Hodgman against one plane; inside is distance >= 0.
std::vector<Vertex> ClipPolygon(const std::vector<Vertex>& polygon, const float* plane) {
    std::vector<Vertex> out;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const Vertex& a = polygon[i];
        const Vertex& b = polygon[(i + 1) % polygon.size()];
        const float da = Distance(plane, a);
        const float db = Distance(plane, b);
        if (da >= 0.0f) out.push_back(a);
        if ((da >= 0.0f) != (db >= 0.0f)) out.push_back(Lerp(a, b, da / (da - db)));
    }
    return out;
}

}  // namespace

RecordingSetup::RecordingSetup() {
    desktop.Width = 1024;
    desktop.Height = 768;
    desktop.RefreshRate = 60;
    desktop.Format = D3DFMT_X8R8G8B8;
    caps.MaxTextureWidth = 4096;
    caps.MaxTextureHeight = 4096;
    caps.MaxUserClipPlanes = MAX_USER_CLIP_PLANES;
    caps.MaxTextureBlendStages = 1;
    caps.MaxSimultaneousTextures = 1;
}

RecordingDevice::RecordingDevice(const D3DPRESENT_PARAMETERS& parameters, const D3DCAPS8& caps, UINT pitchPadding)
    : DeviceCore(parameters, caps), _pitchPadding(pitchPadding) {
    SetCallLog(&calls);
}

HRESULT RecordingDevice::TestCooperativeLevel() {
    calls.push_back("TestCooperativeLevel");
    return cooperativeLevel;
}

HRESULT RecordingDevice::DoReset(const D3DPRESENT_PARAMETERS& parameters) {
    (void)parameters;
    if (resetResult != D3D_OK) return resetResult;
    if (cooperativeLevel == D3DERR_DEVICENOTRESET) cooperativeLevel = D3D_OK;
    return D3D_OK;
}

TextureCore* RecordingDevice::NewTexture(UINT width, UINT height, D3DFORMAT format) {
    return new TextureCore(width, height, format, width + _pitchPadding);
}

void RecordingDevice::DoClear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z) {
    (void)count;
    (void)rects;
    (void)flags;
    (void)color;
    (void)z;
}

ScreenVertex RecordingDevice::ToScreen(const Vertex& w) const {
    D3DXMATRIX viewProjection;
    D3DXMatrixMultiply(&viewProjection, &View(), &Projection());
    const D3DXMATRIX& m = viewProjection;
    const float cx = w.x * m._11 + w.y * m._21 + w.z * m._31 + m._41;
    const float cy = w.x * m._12 + w.y * m._22 + w.z * m._32 + m._42;
    const float cz = w.x * m._13 + w.y * m._23 + w.z * m._33 + m._43;
    const float cw = w.x * m._14 + w.y * m._24 + w.z * m._34 + m._44;
    const float inv = cw != 0.0f ? 1.0f / cw : 1.0f;
    const D3DVIEWPORT8& vp = Viewport();
    ScreenVertex s;
    s.x = static_cast<float>(vp.X) + (cx * inv + 1.0f) * 0.5f * static_cast<float>(vp.Width);
    s.y = static_cast<float>(vp.Y) + (1.0f - cy * inv) * 0.5f * static_cast<float>(vp.Height);
    s.z = vp.MinZ + cz * inv * (vp.MaxZ - vp.MinZ);
    s.color = w.color;
    s.u = w.u;
    s.v = w.v;
    return s;
}

void RecordingDevice::Draw(D3DPRIMITIVETYPE type, UINT primitiveCount, const BYTE* data, UINT stride,
                           UINT vertexCount) {
    RecordedDraw draw;
    draw.type = type;
    draw.primitiveCount = primitiveCount;
    draw.fvf = Fvf();
    draw.texture = StageTexture(0);
    draw.renderStates.assign(RenderStates(), RenderStates() + D3DRS_COUNT);
    for (DWORD i = 0; i < D3DTSS_COUNT; ++i) draw.stage0.push_back(StageStateValue(0, i));
    const D3DXMATRIX& w = World();
    const bool texTransform = StageStateValue(0, D3DTSS_TEXTURETRANSFORMFLAGS) != D3DTTFF_DISABLE;
    for (UINT i = 0; i < vertexCount; ++i) {
        const Vertex v = DecodeVertex(Fvf(), data + static_cast<size_t>(i) * stride);
        draw.vertices.push_back(v);
        Vertex t = v;
        t.x = v.x * w._11 + v.y * w._21 + v.z * w._31 + w._41;
        t.y = v.x * w._12 + v.y * w._22 + v.z * w._32 + w._42;
        t.z = v.x * w._13 + v.y * w._23 + v.z * w._33 + w._43;
        if (texTransform) TransformUV(TextureTransform(0), v.u, v.v, &t.u, &t.v);
        draw.world.push_back(t);
        draw.screen.push_back(ToScreen(t));
    }
    std::vector<std::vector<Vertex>> triangles;
    const std::vector<Vertex>& v = draw.world;
    for (UINT i = 0; i < primitiveCount; ++i) {
        if (type == D3DPT_TRIANGLELIST) triangles.push_back({v[3 * i], v[3 * i + 1], v[3 * i + 2]});
        if (type == D3DPT_TRIANGLESTRIP) triangles.push_back({v[i + (i & 1)], v[i + 1 - (i & 1)], v[i + 2]});
        if (type == D3DPT_TRIANGLEFAN) triangles.push_back({v[0], v[i + 1], v[i + 2]});
    }
    const DWORD mask = RenderStateValue(D3DRS_CLIPPLANEENABLE);
    for (std::vector<Vertex>& polygon : triangles) {
        for (DWORD p = 0; p < MAX_USER_CLIP_PLANES && !polygon.empty(); ++p) {
            if (mask & (1u << p)) polygon = ClipPolygon(polygon, ClipPlane(p));
        }
        if (polygon.size() < 3) continue;
        std::vector<ScreenVertex> screen;
        for (const Vertex& corner : polygon) screen.push_back(ToScreen(corner));
        draw.clipped.push_back(screen);
    }
    if (_open.calls == 0) _open.firstDraw = draws.size();
    ++_open.calls;
    _open.primitives += primitiveCount;
    draws.push_back(std::move(draw));
}

void RecordingDevice::Submit(const DrawKey& key) {
    _open.key = key;
    batches.push_back(_open);
    _open = RecordedBatch();
}

// ---------------------------------------------------------------------------------------------

RecordingDirect3D::RecordingDirect3D(const RecordingSetup& setup_) : setup(setup_) {}

RecordingDirect3D::~RecordingDirect3D() {
    if (lastDevice) lastDevice->Release();
}

ULONG RecordingDirect3D::AddRef() { return static_cast<ULONG>(++_references); }

ULONG RecordingDirect3D::Release() {
    const int left = --_references;
    if (left == 0) delete this;
    return static_cast<ULONG>(left < 0 ? 0 : left);
}

UINT RecordingDirect3D::GetAdapterModeCount(UINT adapter) {
    return adapter == D3DADAPTER_DEFAULT ? static_cast<UINT>(setup.modes.size()) : 0;
}

HRESULT RecordingDirect3D::EnumAdapterModes(UINT adapter, UINT index, D3DDISPLAYMODE* mode) {
    if (adapter != D3DADAPTER_DEFAULT || mode == nullptr || index >= setup.modes.size()) return D3DERR_INVALIDCALL;
    *mode = setup.modes[index];
    return D3D_OK;
}

HRESULT RecordingDirect3D::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) {
    if (adapter != D3DADAPTER_DEFAULT || mode == nullptr) return D3DERR_INVALIDCALL;
    *mode = setup.desktop;
    return D3D_OK;
}

HRESULT RecordingDirect3D::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND window, DWORD flags,
                                        D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice8** device) {
    (void)type;
    (void)window;
    (void)flags;
    if (device == nullptr) return D3DERR_INVALIDCALL;
    *device = nullptr;
    if (adapter != D3DADAPTER_DEFAULT || parameters == nullptr) return D3DERR_INVALIDCALL;
    created.push_back(*parameters);
    if (setup.createResult != D3D_OK) return setup.createResult;
    RecordingDevice* made = new RecordingDevice(*parameters, setup.caps, setup.texturePitchPadding);
    if (lastDevice) lastDevice->Release();
    lastDevice = made;
    made->AddRef();
    *device = made;
    return D3D_OK;
}

}  // namespace render_layer
