#pragma once
// Our drawing layer, shaped after the Direct3D 8 interfaces the render device uses: the
// Direct3D object (adapter modes, device creation), the device (states, transforms, clip
// planes, viewport, textures, vertex buffers, primitives, scene and present), textures and
// vertex buffers. Two backends implement it: OpenGL 2.1 fixed function in an SDL2 window
// (Direct3DCreate8) and a recording backend for tests (platform/render/RecordingBackend.h).
//
// Semantics kept from the original model:
// - Matrices are row-major and multiply row vectors: v' = v * M. World and view take 3D
//   positions, projection maps to clip space with depth 0..1. MultiplyTransform(s, M) sets
//   the transform to M * current.
// - User clip planes are in world space; a point is inside when a*x + b*y + c*z + d >= 0.
//   At most MAX_USER_CLIP_PLANES (6) planes: SetClipPlane beyond them is D3DERR_INVALIDCALL
//   and higher CLIPPLANEENABLE bits are ignored.
// - Screen pixels have their centres at integer coordinates, rows counted from the top.
// - Texture coordinates (u, v) = (0, 0) address the first texel in memory; a texture
//   transform with TEXTURETRANSFORMFLAGS = COUNT2 maps (u, v, 1, 0) through the matrix.
// - Textures are A8R8G8B8 or X8R8G8B8 words 0xAARRGGBB, one level, kept in memory
//   (every pool behaves as the managed pool and survives Reset). Lock hands out a row pitch in
//   bytes that can be wider than width * 4: always step rows by the pitch.
// - Vertex formats: any combination of D3DFVF_XYZ with D3DFVF_DIFFUSE and D3DFVF_TEX1
//   (missing colour is opaque white, missing texture coordinates are 0). The render device
//   uses D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1 (0x142, 24 bytes).
// - Stage 0 is the only texture stage drawn; lighting is not modelled (vertex colours are used
//   as if LIGHTING were FALSE); without a texture on stage 0 primitives show their vertex colour.
// - Fog: FOGENABLE with FOGTABLEMODE LINEAR, EXP or EXP2 fogs by the screen depth (0..1)
//   between FOGSTART and FOGEND (or by FOGDENSITY), in FOGCOLOR.

#include <cstdint>
#include <vector>

using DWORD = std::uint32_t;
using UINT = unsigned int;
using ULONG = unsigned long;
using BYTE = std::uint8_t;
using BOOL = int;
using HRESULT = std::int32_t;
using D3DCOLOR = std::uint32_t;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

struct SDL_Window;
// The device window: an SDL window created with SDL_WINDOW_OPENGL (see CreateDeviceWindow).
using HWND = SDL_Window*;

constexpr HRESULT D3D_OK = 0;
constexpr HRESULT D3DERR_INVALIDCALL = static_cast<HRESULT>(0x8876086Cu);
constexpr HRESULT D3DERR_NOTAVAILABLE = static_cast<HRESULT>(0x8876086Au);
constexpr HRESULT D3DERR_OUTOFVIDEOMEMORY = static_cast<HRESULT>(0x8876017Cu);
constexpr HRESULT D3DERR_DEVICELOST = static_cast<HRESULT>(0x88760868u);
constexpr HRESULT D3DERR_DEVICENOTRESET = static_cast<HRESULT>(0x88760869u);

constexpr UINT D3D_SDK_VERSION = 120;
constexpr UINT D3DADAPTER_DEFAULT = 0;
constexpr UINT MAX_USER_CLIP_PLANES = 6;

constexpr D3DCOLOR D3DCOLOR_ARGB(unsigned a, unsigned r, unsigned g, unsigned b) {
    return ((a & 0xFFu) << 24) | ((r & 0xFFu) << 16) | ((g & 0xFFu) << 8) | (b & 0xFFu);
}
constexpr D3DCOLOR D3DCOLOR_XRGB(unsigned r, unsigned g, unsigned b) { return D3DCOLOR_ARGB(0xFF, r, g, b); }

enum D3DFORMAT : DWORD {
    D3DFMT_UNKNOWN = 0,
    D3DFMT_R8G8B8 = 20,
    D3DFMT_A8R8G8B8 = 21,
    D3DFMT_X8R8G8B8 = 22,
    D3DFMT_R5G6B5 = 23,
    D3DFMT_X1R5G5B5 = 24,
    D3DFMT_A1R5G5B5 = 25,
    D3DFMT_D16 = 80,
};

enum D3DDEVTYPE : DWORD { D3DDEVTYPE_HAL = 1, D3DDEVTYPE_REF = 2 };
enum D3DPOOL : DWORD { D3DPOOL_DEFAULT = 0, D3DPOOL_MANAGED = 1, D3DPOOL_SYSTEMMEM = 2 };
enum D3DSWAPEFFECT : DWORD { D3DSWAPEFFECT_DISCARD = 1, D3DSWAPEFFECT_FLIP = 2, D3DSWAPEFFECT_COPY = 3 };
enum D3DMULTISAMPLE_TYPE : DWORD { D3DMULTISAMPLE_NONE = 0 };

constexpr DWORD D3DCREATE_SOFTWARE_VERTEXPROCESSING = 0x20;
constexpr DWORD D3DCREATE_HARDWARE_VERTEXPROCESSING = 0x40;
constexpr UINT D3DPRESENT_INTERVAL_DEFAULT = 0;
constexpr UINT D3DPRESENT_INTERVAL_ONE = 1;
constexpr UINT D3DPRESENT_INTERVAL_IMMEDIATE = 0x80000000u;

constexpr DWORD D3DCLEAR_TARGET = 1;
constexpr DWORD D3DCLEAR_ZBUFFER = 2;
constexpr DWORD D3DCLEAR_STENCIL = 4;

constexpr DWORD D3DLOCK_READONLY = 0x10;
constexpr DWORD D3DLOCK_NOOVERWRITE = 0x1000;
constexpr DWORD D3DLOCK_DISCARD = 0x2000;

constexpr DWORD D3DPTEXTURECAPS_POW2 = 0x2;
constexpr DWORD D3DPTEXTURECAPS_NONPOW2CONDITIONAL = 0x100;

constexpr DWORD D3DFVF_XYZ = 0x002;
constexpr DWORD D3DFVF_DIFFUSE = 0x040;
constexpr DWORD D3DFVF_TEX1 = 0x100;

enum D3DPRIMITIVETYPE : DWORD {
    D3DPT_POINTLIST = 1,
    D3DPT_LINELIST = 2,
    D3DPT_LINESTRIP = 3,
    D3DPT_TRIANGLELIST = 4,
    D3DPT_TRIANGLESTRIP = 5,
    D3DPT_TRIANGLEFAN = 6,
};

enum D3DTRANSFORMSTATETYPE : DWORD {
    D3DTS_VIEW = 2,
    D3DTS_PROJECTION = 3,
    D3DTS_TEXTURE0 = 16,
    D3DTS_TEXTURE1 = 17,
    D3DTS_WORLD = 256,
};

enum D3DRENDERSTATETYPE : DWORD {
    D3DRS_ZENABLE = 7,
    D3DRS_FILLMODE = 8,
    D3DRS_SHADEMODE = 9,
    D3DRS_ZWRITEENABLE = 14,
    D3DRS_ALPHATESTENABLE = 15,
    D3DRS_SRCBLEND = 19,
    D3DRS_DESTBLEND = 20,
    D3DRS_CULLMODE = 22,
    D3DRS_ZFUNC = 23,
    D3DRS_ALPHAREF = 24,
    D3DRS_ALPHAFUNC = 25,
    D3DRS_DITHERENABLE = 26,
    D3DRS_ALPHABLENDENABLE = 27,
    D3DRS_FOGENABLE = 28,
    D3DRS_SPECULARENABLE = 29,
    D3DRS_FOGCOLOR = 34,
    D3DRS_FOGTABLEMODE = 35,
    D3DRS_FOGSTART = 36,
    D3DRS_FOGEND = 37,
    D3DRS_FOGDENSITY = 38,
    D3DRS_TEXTUREFACTOR = 60,
    D3DRS_WRAP0 = 128,
    D3DRS_CLIPPING = 136,
    D3DRS_LIGHTING = 137,
    D3DRS_AMBIENT = 139,
    D3DRS_FOGVERTEXMODE = 140,
    D3DRS_COLORVERTEX = 141,
    D3DRS_CLIPPLANEENABLE = 152,
    D3DRS_BLENDOP = 171,
};
constexpr DWORD D3DRS_COUNT = 256;

enum D3DTEXTURESTAGESTATETYPE : DWORD {
    D3DTSS_COLOROP = 1,
    D3DTSS_COLORARG1 = 2,
    D3DTSS_COLORARG2 = 3,
    D3DTSS_ALPHAOP = 4,
    D3DTSS_ALPHAARG1 = 5,
    D3DTSS_ALPHAARG2 = 6,
    D3DTSS_TEXCOORDINDEX = 11,
    D3DTSS_ADDRESSU = 13,
    D3DTSS_ADDRESSV = 14,
    D3DTSS_BORDERCOLOR = 15,
    D3DTSS_MAGFILTER = 16,
    D3DTSS_MINFILTER = 17,
    D3DTSS_MIPFILTER = 18,
    D3DTSS_TEXTURETRANSFORMFLAGS = 24,
};
constexpr DWORD D3DTSS_COUNT = 32;
constexpr DWORD D3D_TEXTURE_STAGES = 8;

enum D3DTEXTUREOP : DWORD {
    D3DTOP_DISABLE = 1,
    D3DTOP_SELECTARG1 = 2,
    D3DTOP_SELECTARG2 = 3,
    D3DTOP_MODULATE = 4,
    D3DTOP_MODULATE2X = 5,
    D3DTOP_MODULATE4X = 6,
    D3DTOP_ADD = 7,
    D3DTOP_ADDSIGNED = 8,
    D3DTOP_ADDSIGNED2X = 9,
    D3DTOP_SUBTRACT = 10,
    D3DTOP_ADDSMOOTH = 11,
    D3DTOP_BLENDDIFFUSEALPHA = 12,
    D3DTOP_BLENDTEXTUREALPHA = 13,
};

constexpr DWORD D3DTA_SELECTMASK = 0x0F;
constexpr DWORD D3DTA_DIFFUSE = 0x00;
constexpr DWORD D3DTA_CURRENT = 0x01;
constexpr DWORD D3DTA_TEXTURE = 0x02;
constexpr DWORD D3DTA_TFACTOR = 0x03;
constexpr DWORD D3DTA_COMPLEMENT = 0x10;
constexpr DWORD D3DTA_ALPHAREPLICATE = 0x20;

enum D3DTEXTUREADDRESS : DWORD {
    D3DTADDRESS_WRAP = 1,
    D3DTADDRESS_MIRROR = 2,
    D3DTADDRESS_CLAMP = 3,
    D3DTADDRESS_BORDER = 4,
};
enum D3DTEXTUREFILTERTYPE : DWORD { D3DTEXF_NONE = 0, D3DTEXF_POINT = 1, D3DTEXF_LINEAR = 2 };
enum D3DTEXTURETRANSFORMFLAGS : DWORD {
    D3DTTFF_DISABLE = 0,
    D3DTTFF_COUNT1 = 1,
    D3DTTFF_COUNT2 = 2,
    D3DTTFF_COUNT3 = 3,
    D3DTTFF_COUNT4 = 4,
};

enum D3DBLEND : DWORD {
    D3DBLEND_ZERO = 1,
    D3DBLEND_ONE = 2,
    D3DBLEND_SRCCOLOR = 3,
    D3DBLEND_INVSRCCOLOR = 4,
    D3DBLEND_SRCALPHA = 5,
    D3DBLEND_INVSRCALPHA = 6,
    D3DBLEND_DESTALPHA = 7,
    D3DBLEND_INVDESTALPHA = 8,
    D3DBLEND_DESTCOLOR = 9,
    D3DBLEND_INVDESTCOLOR = 10,
    D3DBLEND_SRCALPHASAT = 11,
};
enum D3DCMPFUNC : DWORD {
    D3DCMP_NEVER = 1,
    D3DCMP_LESS = 2,
    D3DCMP_EQUAL = 3,
    D3DCMP_LESSEQUAL = 4,
    D3DCMP_GREATER = 5,
    D3DCMP_NOTEQUAL = 6,
    D3DCMP_GREATEREQUAL = 7,
    D3DCMP_ALWAYS = 8,
};
enum D3DCULL : DWORD { D3DCULL_NONE = 1, D3DCULL_CW = 2, D3DCULL_CCW = 3 };
enum D3DFOGMODE : DWORD { D3DFOG_NONE = 0, D3DFOG_EXP = 1, D3DFOG_EXP2 = 2, D3DFOG_LINEAR = 3 };
enum D3DZBUFFERTYPE : DWORD { D3DZB_FALSE = 0, D3DZB_TRUE = 1 };

struct D3DMATRIX {
    float _11 = 0, _12 = 0, _13 = 0, _14 = 0;
    float _21 = 0, _22 = 0, _23 = 0, _24 = 0;
    float _31 = 0, _32 = 0, _33 = 0, _34 = 0;
    float _41 = 0, _42 = 0, _43 = 0, _44 = 0;

    float& operator()(int row, int col) { return (&_11)[row * 4 + col]; }
    float operator()(int row, int col) const { return (&_11)[row * 4 + col]; }
};

struct D3DDISPLAYMODE {
    UINT Width = 0;
    UINT Height = 0;
    UINT RefreshRate = 0;
    D3DFORMAT Format = D3DFMT_UNKNOWN;
};

struct D3DPRESENT_PARAMETERS {
    UINT BackBufferWidth = 0;
    UINT BackBufferHeight = 0;
    D3DFORMAT BackBufferFormat = D3DFMT_UNKNOWN;
    UINT BackBufferCount = 0;
    D3DMULTISAMPLE_TYPE MultiSampleType = D3DMULTISAMPLE_NONE;
    D3DSWAPEFFECT SwapEffect = static_cast<D3DSWAPEFFECT>(0);
    HWND hDeviceWindow = nullptr;
    BOOL Windowed = FALSE;
    BOOL EnableAutoDepthStencil = FALSE;
    D3DFORMAT AutoDepthStencilFormat = D3DFMT_UNKNOWN;
    DWORD Flags = 0;
    UINT FullScreen_RefreshRateInHz = 0;
    UINT FullScreen_PresentationInterval = 0;
};

// The subset of the device capabilities the program reads.
struct D3DCAPS8 {
    DWORD TextureCaps = 0;
    DWORD MaxTextureWidth = 0;
    DWORD MaxTextureHeight = 0;
    DWORD MaxUserClipPlanes = 0;
    DWORD MaxTextureBlendStages = 0;
    DWORD MaxSimultaneousTextures = 0;
};

struct D3DVIEWPORT8 {
    DWORD X = 0;
    DWORD Y = 0;
    DWORD Width = 0;
    DWORD Height = 0;
    float MinZ = 0.0f;
    float MaxZ = 1.0f;
};

struct RECT {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};
using D3DRECT = RECT;

struct D3DLOCKED_RECT {
    std::int32_t Pitch = 0;  // bytes from one row to the next
    void* pBits = nullptr;
};

struct D3DSURFACE_DESC {
    D3DFORMAT Format = D3DFMT_UNKNOWN;
    D3DPOOL Pool = D3DPOOL_MANAGED;
    UINT Width = 0;
    UINT Height = 0;
};

// Reference-counted like the originals: Release on the last reference frees the object.
class IDirect3DTexture8 {
public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
    virtual DWORD GetLevelCount() = 0;
    virtual HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) = 0;
    // Whole level when rect is null. The memory stays valid until UnlockRect; D3DLOCK_READONLY
    // skips sending the pixels to the device again.
    virtual HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) = 0;
    virtual HRESULT UnlockRect(UINT level) = 0;

protected:
    virtual ~IDirect3DTexture8() = default;
};

class IDirect3DVertexBuffer8 {
public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
    // sizeToLock 0 locks from offset to the end.
    virtual HRESULT Lock(UINT offsetToLock, UINT sizeToLock, BYTE** data, DWORD flags) = 0;
    virtual HRESULT Unlock() = 0;

protected:
    virtual ~IDirect3DVertexBuffer8() = default;
};

class IDirect3DDevice8 {
public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

    // D3D_OK, D3DERR_DEVICELOST (skip drawing) or D3DERR_DEVICENOTRESET (call Reset).
    virtual HRESULT TestCooperativeLevel() = 0;
    virtual HRESULT GetDeviceCaps(D3DCAPS8* caps) = 0;
    virtual HRESULT Reset(D3DPRESENT_PARAMETERS* parameters) = 0;
    // Arguments other than the first three are accepted and ignored: the whole back buffer.
    virtual HRESULT Present(const RECT* source, const RECT* dest, HWND override, const void* dirty) = 0;

    // Without rectangles the viewport is cleared.
    virtual HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                          DWORD stencil) = 0;
    virtual HRESULT BeginScene() = 0;
    virtual HRESULT EndScene() = 0;

    virtual HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) = 0;
    virtual HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) = 0;
    virtual HRESULT MultiplyTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) = 0;
    virtual HRESULT SetViewport(const D3DVIEWPORT8* viewport) = 0;
    virtual HRESULT GetViewport(D3DVIEWPORT8* viewport) = 0;
    virtual HRESULT SetClipPlane(DWORD index, const float* plane) = 0;
    virtual HRESULT GetClipPlane(DWORD index, float* plane) = 0;

    virtual HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) = 0;
    virtual HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) = 0;
    virtual HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) = 0;
    virtual HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) = 0;
    // The device holds a reference to a set texture until it is replaced.
    virtual HRESULT SetTexture(DWORD stage, IDirect3DTexture8* texture) = 0;
    // Adds a reference to what it returns, as the original does.
    virtual HRESULT GetTexture(DWORD stage, IDirect3DTexture8** texture) = 0;

    // levels 0 or 1 make one level; formats A8R8G8B8 and X8R8G8B8.
    virtual HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                                  D3DPOOL pool, IDirect3DTexture8** texture) = 0;
    virtual HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                       IDirect3DVertexBuffer8** buffer) = 0;

    // In Direct3D 8 the fixed-function vertex format is set as the "vertex shader".
    virtual HRESULT SetVertexShader(DWORD fvf) = 0;
    virtual HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) = 0;
    virtual HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) = 0;
    virtual HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices,
                                    UINT stride) = 0;

    // Our own addition: the back buffer as it is now (call it before Present), as 0xAARRGGBB
    // words, top row first. D3DERR_NOTAVAILABLE where a backend has no pixels.
    virtual HRESULT ReadBackBuffer(std::vector<D3DCOLOR>* pixels, UINT* width, UINT* height) = 0;
    // Our own addition: how many draws the backend has handed on since the device was made (one
    // draw can hold the primitives of many calls), for benchmarks and tests.
    virtual unsigned long long SubmittedDraws() = 0;
    // Our own addition: makes now what a driver would make on the first draw of each kind the
    // render device uses (the programs of the texture stage with every blending, texture kind and
    // filter), so that no later frame waits for it. Call it outside a scene; it leaves every state
    // at its default and the back buffer undefined.
    virtual void PrepareDrawing() = 0;

protected:
    virtual ~IDirect3DDevice8() = default;
};

class IDirect3D8 {
public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
    virtual UINT GetAdapterModeCount(UINT adapter) = 0;
    virtual HRESULT EnumAdapterModes(UINT adapter, UINT mode, D3DDISPLAYMODE* displayMode) = 0;
    virtual HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* displayMode) = 0;
    virtual HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND window, DWORD behaviorFlags,
                                 D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice8** device) = 0;

protected:
    virtual ~IDirect3D8() = default;
};

// The OpenGL backend's Direct3D object (starts SDL's video subsystem). Null for another SDK version.
IDirect3D8* Direct3DCreate8(UINT sdkVersion);

// An SDL window the OpenGL backend can draw into (OpenGL 2.1 compatibility, 16-bit depth buffer).
// Null with the SDL error logged to stderr when SDL cannot make it.
HWND CreateDeviceWindow(const char* title, int width, int height, bool fullScreen, bool hidden);
