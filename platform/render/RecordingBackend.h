#pragma once
// The recording backend of the drawing layer, for tests that need no pixels: it keeps the
// state like the OpenGL backend, writes every call to a text log and keeps every draw with its
// vertices after the world and texture transforms, on the screen, and clipped by the enabled
// user clip planes. Display modes, capabilities and the device's answers are set by the test.

#include <string>
#include <vector>

#include "platform/render/DeviceCore.h"

namespace render_layer {

// A vertex on the back buffer: pixel centres at integers, rows from the top, depth 0..1.
struct ScreenVertex {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    D3DCOLOR color = 0;
    float u = 0.0f, v = 0.0f;
};

struct RecordedDraw {
    D3DPRIMITIVETYPE type = D3DPT_TRIANGLELIST;
    UINT primitiveCount = 0;
    DWORD fvf = 0;
    const IDirect3DTexture8* texture = nullptr;  // on stage 0 when drawn; not held
    std::vector<DWORD> renderStates;             // all render states when drawn
    std::vector<DWORD> stage0;                   // stage 0 states when drawn
    std::vector<Vertex> vertices;                // as given
    std::vector<Vertex> world;                   // world transform and texture transform applied
    std::vector<ScreenVertex> screen;            // every vertex on the screen, not clipped
    // Each triangle clipped by the enabled planes, as a polygon on the screen; triangles that
    // lie wholly outside are left out. Points and lines have none.
    std::vector<std::vector<ScreenVertex>> clipped;
};

// A draw as the driver would get it: the calls that joined one batch.
struct RecordedBatch {
    DrawKey key;
    size_t firstDraw = 0;  // index of its first call in draws
    size_t calls = 0;
    UINT primitives = 0;
};

struct RecordingSetup {
    RecordingSetup();
    D3DDISPLAYMODE desktop;               // 1024 x 768, X8R8G8B8, 60 Hz
    std::vector<D3DDISPLAYMODE> modes;    // the adapter's list, in the order given
    D3DCAPS8 caps;                        // 4096 textures of any size, 6 clip planes
    HRESULT createResult = D3D_OK;        // what CreateDevice answers
    UINT texturePitchPadding = 3;         // texels of padding after every texture row
};

class RecordingDevice : public DeviceCore {
public:
    RecordingDevice(const D3DPRESENT_PARAMETERS& parameters, const D3DCAPS8& caps, UINT pitchPadding);

    HRESULT TestCooperativeLevel() override;

    std::vector<std::string> calls;
    std::vector<RecordedDraw> draws;
    // Every submitted batch, in the order submitted.
    std::vector<RecordedBatch> batches;
    int presents = 0;
    // What TestCooperativeLevel answers; a successful Reset turns D3DERR_DEVICENOTRESET into D3D_OK.
    HRESULT cooperativeLevel = D3D_OK;
    // What the next Reset answers.
    HRESULT resetResult = D3D_OK;

    // The vertex on the screen as the current transforms and viewport place it.
    ScreenVertex ToScreen(const Vertex& world) const;

protected:
    ~RecordingDevice() override = default;
    TextureCore* NewTexture(UINT width, UINT height, D3DFORMAT format) override;
    void Draw(D3DPRIMITIVETYPE type, UINT primitiveCount, const BYTE* data, UINT stride, UINT vertexCount) override;
    void DoClear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z) override;
    void DoPresent() override { ++presents; }
    HRESULT DoReset(const D3DPRESENT_PARAMETERS& parameters) override;
    void Submit(const DrawKey& key) override;

private:
    UINT _pitchPadding = 0;
    RecordedBatch _open;
};

class RecordingDirect3D : public IDirect3D8 {
public:
    explicit RecordingDirect3D(const RecordingSetup& setup = RecordingSetup());

    ULONG AddRef() override;
    ULONG Release() override;
    UINT GetAdapterModeCount(UINT adapter) override;
    HRESULT EnumAdapterModes(UINT adapter, UINT mode, D3DDISPLAYMODE* displayMode) override;
    HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* displayMode) override;
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND window, DWORD behaviorFlags,
                         D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice8** device) override;

    RecordingSetup setup;
    // The parameters of every CreateDevice call.
    std::vector<D3DPRESENT_PARAMETERS> created;
    // The device made last; this object holds a reference to it until it is destroyed.
    RecordingDevice* lastDevice = nullptr;

private:
    ~RecordingDirect3D();
    int _references = 1;
};

}  // namespace render_layer
