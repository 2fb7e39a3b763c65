#pragma once
// The one drawing device (Render::device): creation, reset and display modes; the matrix,
// colour and alpha stacks, blend modes and quad primitives over the logical 800 x 600 screen
// (origin bottom-left, y up); clip rectangles made of user clip planes.
//
// Texture helpers for the texture code (OldTexture and the native textures build on these):
// - UploadTexture(&tex, width, height, alphaChannel, pixels): makes an A8R8G8B8 (alpha) or
//   X8R8G8B8 texture of one level in the managed pool and fills it from 0xAARRGGBB words
//   (bottom row of the picture first, so row 0 is v = 0), row by row through the locked pitch.
// - BindTexture(tex, addressMode, linearFilter, modulate), BindTextureAsMask(tex, linearFilter):
//   make tex current on stage 0 with the stage states of a normal or a mask bind.
// - ReleaseTexture(tex): gives the texture back (one reference) and clears the pointer.
// Textures can also be made directly on _d3dDevice (CreateTexture, LockRect/UnlockRect: step
// rows by the locked Pitch, which can be wider than width * 4).

#include <functional>
#include <stack>
#include <vector>

#include "core/Color.h"
#include "core/Rect.h"
#include "platform/render/D3D8.h"
#include "platform/render/D3DX.h"

struct ParticleVertexBatch;

namespace Render {

// The one vertex format: position, diffuse colour 0xAARRGGBB, texture coordinates; 24 bytes.
struct Vertex {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    D3DCOLOR color = 0xFFFFFFFF;
    float u = 0.0f, v = 0.0f;
};
constexpr DWORD VERTEX_FVF = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;
static_assert(sizeof(Vertex) == 24, "the vertex format is 24 bytes");

}  // namespace Render

// Which edges of a clip rectangle clip.
struct ClipSides {
    bool left = false;
    bool top = false;
    bool right = false;
    bool bottom = false;
};
constexpr ClipSides CLIP_ALL{true, true, true, true};
constexpr ClipSides CLIP_LEFT_RIGHT{true, false, true, false};
constexpr ClipSides CLIP_TOP_BOTTOM{false, true, false, true};
constexpr ClipSides CLIP_LEFT{true, false, false, false};
constexpr ClipSides CLIP_TOP{false, true, false, false};
constexpr ClipSides CLIP_RIGHT{false, false, true, false};
constexpr ClipSides CLIP_BOTTOM{false, false, false, true};

class RenderDevice {
public:
    static constexpr int LOGICAL_WIDTH = 800;
    static constexpr int LOGICAL_HEIGHT = 600;
    static constexpr int MAX_CLIP_PLANES = 6;
    static constexpr float ASPECT_4_3 = 1.3333334f;
    static constexpr float ASPECT_TOLERANCE = 0.005f;

    // Makes the Direct3D object of the OpenGL backend.
    RenderDevice();
    // Takes over one reference of d3d (tests pass the recording backend's object).
    explicit RenderDevice(IDirect3D8* d3d);
    // Starts over with another Direct3D object (one reference taken over): releases the device
    // and the Direct3D object held so far and sets everything up as the constructor does.
    void UseDirect3D(IDirect3D8* d3d);
    // Frees the containers only; Release gives the Direct3D interfaces back.
    ~RenderDevice() = default;
    RenderDevice(const RenderDevice&) = delete;
    RenderDevice& operator=(const RenderDevice&) = delete;

    // Creation, reset and display modes.
    void ListFullScreenModes();
    D3DDISPLAYMODE ChooseFullScreenMode(int width, int height) const;
    Rect GetFullScreenRect(int width, int height) const;
    // window: the game window's handle; fullScreen: whether that window is full screen.
    void CreateDevice(HWND window, bool fullScreen, int width, int height);
    void Init();
    bool TestCooperativeLevel();
    void ResetLostDevice();
    void Reset(int mode, int width, int height);
    void ResetMode(int mode);
    void Release();
    bool IsScreenWider() const;
    bool IsScreenTaller() const;
    void GetPictureRect(float& x1, float& x2, float& y1, float& y2) const;
    void GetScreenLogicalRect(float& x1, float& x2, float& y1, float& y2) const;
    void SetViewport(int x, int y, int width, int height);
    void SetPictureViewport();
    void SetFullViewport();
    int GetLogicalWidth() const { return LOGICAL_WIDTH; }
    int GetLogicalHeight() const { return LOGICAL_HEIGHT; }
    int GetWidth() const { return _width; }
    int GetHeight() const { return _height; }
    bool NeedsPow2Textures() const { return _needPow2Textures; }

    // Projection and modes.
    void SetOrthoProjection(float width, float height, float zNear, float zFar);
    void Enter2DMode();
    void Leave2DMode();
    void SetMatrixMode(int mode);

    // Matrix operations on the world (mode 0) or texture-stage-0 (mode 1) transform.
    void MatrixTranslate(float x, float y, float z);
    // angle in degrees; axis: three floats.
    void MatrixRotate(const float* axis, float angle);
    void MatrixScaleUniform(float s);
    void MatrixScale(float x, float y, float z);
    void PushMatrix();
    void PopMatrix();
    void MatrixLoadIdentity();

    // Colour and alpha.
    void PushColor(const Color& color);
    void PopColor();
    void PushAlpha(float multiplier);
    void PopAlpha();

    // Frame.
    void BeginFrame();
    void EndFrame();

    // States.
    void SetBlendMode(int mode);
    void EnableAlphaBlend(bool on);
    void EnableTexture(bool on);
    // Linear fog by depth: the view-axis z -1000 (none) .. 1000 (all fog colour) in 2D mode.
    void EnableFog(bool on);
    Color GetFogColor();
    void SetFogColor(const Color& color);

    // Textures (see the top of this file).
    void UploadTexture(IDirect3DTexture8** tex, int width, int height, bool alphaChannel, const D3DCOLOR* pixels);
    void BindTexture(IDirect3DTexture8* tex, int addressMode, int linearFilter, int modulate);
    void BindTextureAsMask(IDirect3DTexture8* tex, int linearFilter);
    void ReleaseTexture(IDirect3DTexture8*& tex);

    // Primitives in the current colour, z = 0, with whatever texture is on stage 0.
    void DrawRect(int x, int y, int width, int height);
    void DrawRect(const Rect& rect);
    void DrawRectUV(const Rect& rect, float uLeft, float uRight, float vBottom, float vTop);
    // rotation 0..3: the picture turned by 0, 90 clockwise, 180, 90 counter-clockwise.
    void DrawRectRotated(const Rect& rect, int rotation);
    void DrawRectUVRotated(const Rect& rect, float uLeft, float uRight, float vBottom, float vTop, int rotation);

    // Vertex batches of the particle library.
    void CreateVertexBuffer(IDirect3DVertexBuffer8** buffer, int count);
    void FillVertexBuffer(ParticleVertexBatch& batch);
    void DrawVertexBuffer(ParticleVertexBatch& batch);
    void DrawVertexBatchStrip(ParticleVertexBatch& batch);

    // Clip rectangles.
    void PushClipRect(const Rect& window, ClipSides sides);
    void PopClipRect();
    void OrientClipPlane(float* plane, float x, float y, float z);

    // Read-only views for the window, the main loop and tests.
    D3DCOLOR GetCurrentColor() const { return _currentColor; }
    int GetMatrixMode() const { return _matrixMode; }
    int GetClipPlaneCount() const { return _nClipPlanes; }
    size_t GetAlphaStackSize() const { return _alphaStack.size(); }
    size_t GetColorStackSize() const { return _colorStack.size(); }
    size_t GetMatrixStackSize() const { return _currentMatrixStack->size(); }
    bool IsCreated() const { return _isCreated; }
    bool IsIn2DMode() const { return _isIn2DMode; }
    int GetScreenMode() const { return _screenMode; }
    const D3DDISPLAYMODE& GetDesktopMode() const { return _desktopMode; }
    const std::vector<D3DDISPLAYMODE>& GetFullScreenModes() const { return _fsModes; }
    const D3DPRESENT_PARAMETERS& GetPresentParameters() const { return _presentParameters; }

    // The global storage value "force pow2" (bool, default false) as Init reads it.
    std::function<bool()> readForcePow2;

private:
    void Construct();
    void FillPresentParameters(int mode);
    void SetIdentityTransforms();
    // The transform the matrix mode acts on; false (reported) for an invalid mode.
    bool ModeTransform(D3DTRANSFORMSTATETYPE* state) const;
    void DrawQuad(float x1, float y1, float x2, float y2, const float uv[4][2]);
    void SetClipPlaneMask();

    IDirect3D8* _d3d = nullptr;
    D3DDISPLAYMODE _desktopMode;
    int _screenMode = 1;
    D3DPRESENT_PARAMETERS _presentParameters;

public:
    IDirect3DDevice8* _d3dDevice = nullptr;

private:
    bool _isCreated = false;
    HWND _window = nullptr;
    std::vector<D3DXMATRIX> _worldMatrixStack;
    std::vector<D3DXMATRIX> _textureMatrixStack;
    std::vector<D3DXMATRIX>* _currentMatrixStack = &_worldMatrixStack;
    int _matrixMode = 0;
    D3DCOLOR _currentColor = 0xFFFFFFFF;

public:
    IDirect3DTexture8* _currentTexture = nullptr;

private:
    std::vector<float> _alphaStack;
    std::vector<D3DCOLOR> _colorStack;
    std::vector<bool> _alphaUseStack;
    bool _isIn2DMode = false;
    int _nClipPlanes = 0;
    std::stack<int, std::vector<int>> _clipPlanesStack;

public:
    bool _needPow2Textures = false;
    bool _useUtf8 = false;

private:
    std::vector<D3DDISPLAYMODE> _fsModes;
    int _width = 0;
    int _height = 0;
};

namespace Render {
extern RenderDevice device;
}
