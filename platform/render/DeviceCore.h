#pragma once
// What both backends of the drawing layer share: the device state with its defaults, the
// bookkeeping of textures and vertex buffers, vertex decoding and the call log.

#include <string>
#include <vector>

#include "platform/render/D3D8.h"
#include "platform/render/D3DX.h"

namespace render_layer {

// One vertex decoded from any supported vertex format.
struct Vertex {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    D3DCOLOR color = 0xFFFFFFFF;
    float u = 0.0f, v = 0.0f;
};

// Size in bytes of a supported vertex format; 0 for an unsupported one.
UINT VertexSize(DWORD fvf);
Vertex DecodeVertex(DWORD fvf, const BYTE* data);
// Vertices a primitive count needs; 0 for an unknown type.
UINT VertexCount(D3DPRIMITIVETYPE type, UINT primitiveCount);
// Texture-coordinate transform (u, v, 1, 0) * m as the flag COUNT2 asks for.
void TransformUV(const D3DMATRIX& m, float u, float v, float* outU, float* outV);

// Names for the call log ("CULLMODE", "COLOROP", "WORLD"); the number for unknown values.
std::string RenderStateName(DWORD state);
std::string StageStateName(DWORD type);
std::string TransformName(DWORD state);

class TextureCore : public IDirect3DTexture8 {
public:
    TextureCore(UINT width, UINT height, D3DFORMAT format, UINT pitchWords);

    ULONG AddRef() override;
    ULONG Release() override;
    DWORD GetLevelCount() override { return 1; }
    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect(UINT level) override;

    UINT Width() const { return _width; }
    UINT Height() const { return _height; }
    UINT PitchWords() const { return _pitchWords; }
    D3DFORMAT Format() const { return _format; }
    // Texel at (x, y) as stored (X8R8G8B8 keeps whatever alpha byte was written).
    D3DCOLOR Texel(UINT x, UINT y) const { return _pixels[y * _pitchWords + x]; }
    const D3DCOLOR* Row(UINT y) const { return &_pixels[y * _pitchWords]; }
    int References() const { return _references; }

protected:
    ~TextureCore() override = default;
    // Called after an unlock that may have changed the pixels inside rect.
    virtual void OnPixelsChanged(const RECT& rect) { (void)rect; }

private:
    int _references = 1;
    UINT _width = 0;
    UINT _height = 0;
    UINT _pitchWords = 0;
    D3DFORMAT _format = D3DFMT_UNKNOWN;
    std::vector<D3DCOLOR> _pixels;
    bool _locked = false;
    bool _lockReadOnly = false;
    RECT _lockedRect;
};

class VertexBufferCore : public IDirect3DVertexBuffer8 {
public:
    VertexBufferCore(UINT length, DWORD fvf);
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT Lock(UINT offsetToLock, UINT sizeToLock, BYTE** data, DWORD flags) override;
    HRESULT Unlock() override;

    const BYTE* Data() const { return _data.data(); }
    UINT Length() const { return static_cast<UINT>(_data.size()); }
    DWORD Fvf() const { return _fvf; }

private:
    ~VertexBufferCore() override = default;
    int _references = 1;
    DWORD _fvf = 0;
    std::vector<BYTE> _data;
    bool _locked = false;
};

// What one draw handed to the driver keeps constant: a call whose key equals the open batch's
// joins that batch; any other key submits it first. World and texture transforms are not in it
// (they are applied to the vertices), nor, where the backend carries fog in the vertices, the fog
// switch, colour and range.
struct DrawKey {
    D3DPRIMITIVETYPE family = D3DPT_TRIANGLELIST;  // triangles of any kind, LINELIST or POINTLIST
    const void* textureGroup = nullptr;            // the texture, or the shared texture it lies in
    TextureCore* texture = nullptr;                // the stage-0 texture of the batch's first call
    DWORD renderStates[D3DRS_COUNT] = {};
    DWORD stage0[D3DTSS_COUNT] = {};
    D3DVIEWPORT8 viewport;
    D3DXMATRIX view;
    D3DXMATRIX projection;
    float clipPlanes[MAX_USER_CLIP_PLANES][4] = {};

    bool operator==(const DrawKey& other) const;
    bool operator!=(const DrawKey& other) const { return !(*this == other); }
};

class DeviceCore : public IDirect3DDevice8 {
public:
    DeviceCore(const D3DPRESENT_PARAMETERS& parameters, const D3DCAPS8& caps);

    ULONG AddRef() override;
    ULONG Release() override;

    HRESULT TestCooperativeLevel() override { return D3D_OK; }
    HRESULT GetDeviceCaps(D3DCAPS8* caps) override;
    HRESULT Reset(D3DPRESENT_PARAMETERS* parameters) override;
    HRESULT Present(const RECT* source, const RECT* dest, HWND override, const void* dirty) override;
    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                  DWORD stencil) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;

    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
    HRESULT MultiplyTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    HRESULT SetViewport(const D3DVIEWPORT8* viewport) override;
    HRESULT GetViewport(D3DVIEWPORT8* viewport) override;
    HRESULT SetClipPlane(DWORD index, const float* plane) override;
    HRESULT GetClipPlane(DWORD index, float* plane) override;

    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
    HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override;
    HRESULT SetTexture(DWORD stage, IDirect3DTexture8* texture) override;
    HRESULT GetTexture(DWORD stage, IDirect3DTexture8** texture) override;

    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                          IDirect3DTexture8** texture) override;
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                               IDirect3DVertexBuffer8** buffer) override;

    HRESULT SetVertexShader(DWORD fvf) override;
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) override;
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) override;
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices,
                            UINT stride) override;
    HRESULT ReadBackBuffer(std::vector<D3DCOLOR>* pixels, UINT* width, UINT* height) override;
    unsigned long long SubmittedDraws() override { return _submittedDraws; }
    void PrepareDrawing() override {}

    // Current state, for backends and tests.
    const D3DPRESENT_PARAMETERS& Parameters() const { return _parameters; }
    DWORD RenderStateValue(DWORD state) const { return _renderStates[state]; }
    const DWORD* RenderStates() const { return _renderStates; }
    DWORD StageStateValue(DWORD stage, DWORD type) const { return _stageStates[stage][type]; }
    const D3DXMATRIX& World() const { return _world; }
    const D3DXMATRIX& View() const { return _view; }
    const D3DXMATRIX& Projection() const { return _projection; }
    const D3DXMATRIX& TextureTransform(DWORD stage) const { return _textureTransforms[stage]; }
    const D3DVIEWPORT8& Viewport() const { return _viewport; }
    const float* ClipPlane(DWORD index) const { return _clipPlanes[index]; }
    TextureCore* StageTexture(DWORD stage) const { return _textures[stage]; }
    DWORD Fvf() const { return _fvf; }
    bool InScene() const { return _inScene; }

    // Every call from now on is written to log as text (null stops): "SetRenderState(CULLMODE, 1)".
    void SetCallLog(std::vector<std::string>* log) { _callLog = log; }

protected:
    ~DeviceCore() override;

    // Hooks for the backends.
    // What is about to change (world and texture transforms are applied to the vertices).
    enum class Change { World, TextureTransform, Other };
    virtual void BeforeStateChange(Change change) { (void)change; }
    // Hands the open batch to the driver: its key, the vertices of its calls as Draw queued them.
    virtual void Submit(const DrawKey& key) { (void)key; }
    // Whether the fog switch, colour and range travel in the vertices (then they are no part of
    // the draw key); by default linear fog does.
    virtual bool FogInVertices() const;
    // What a texture is drawn from with the current stage states: itself, or a shared texture
    // (then draws of its neighbours in it can join one batch).
    virtual const void* TextureGroup(TextureCore* texture) const { return texture; }
    virtual TextureCore* NewTexture(UINT width, UINT height, D3DFORMAT format);
    // Vertices already checked: vertexCount vertices of the current format at data.
    virtual void Draw(D3DPRIMITIVETYPE type, UINT primitiveCount, const BYTE* data, UINT stride,
                      UINT vertexCount) = 0;
    virtual void DoClear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z) = 0;
    virtual void DoPresent() = 0;
    virtual HRESULT DoReset(const D3DPRESENT_PARAMETERS& parameters) {
        (void)parameters;
        return D3D_OK;
    }
    // The size of the back buffer in pixels.
    virtual void BackBufferSize(UINT* width, UINT* height) const;

    void Log(const std::string& text);
    // Submits the open batch, if any.
    void SubmitBatch();
    // Submits the open batch and opens one of the same key (a backend's queue is full).
    void SubmitAndReopen();
    bool BatchOpen() const { return _batchOpen; }
    const DrawKey& BatchKey() const { return _batchKey; }
    // The fog factor of linear fog at screen depth z with the current range: 1 none, 0 all.
    float LinearFogFactor(float z) const;
    bool Logging() const { return _callLog != nullptr; }
    void SetDefaultStates();

    D3DPRESENT_PARAMETERS _parameters;
    D3DCAPS8 _caps;

private:
    HRESULT DrawVertices(D3DPRIMITIVETYPE type, UINT primitiveCount, const BYTE* data, UINT stride,
                         UINT available);
    void StateChanged(Change change);
    void MakeKey(D3DPRIMITIVETYPE family, DrawKey* key) const;
    D3DXMATRIX* TransformSlot(D3DTRANSFORMSTATETYPE state);
    static Change ChangeOf(D3DTRANSFORMSTATETYPE state);

    int _references = 1;
    std::vector<std::string>* _callLog = nullptr;
    DWORD _renderStates[D3DRS_COUNT] = {};
    DWORD _stageStates[D3D_TEXTURE_STAGES][D3DTSS_COUNT] = {};
    D3DXMATRIX _world;
    D3DXMATRIX _view;
    D3DXMATRIX _projection;
    D3DXMATRIX _textureTransforms[D3D_TEXTURE_STAGES];
    D3DVIEWPORT8 _viewport;
    float _clipPlanes[MAX_USER_CLIP_PLANES][4] = {};
    TextureCore* _textures[D3D_TEXTURE_STAGES] = {};
    DWORD _fvf = 0;
    VertexBufferCore* _stream = nullptr;
    UINT _streamStride = 0;
    bool _inScene = false;
    unsigned long long _submittedDraws = 0;
    // The batch being gathered, its key, and whether state changed since the key was taken. A
    // backend submits it before a texture its calls drew with goes.
    bool _batchOpen = false;
    bool _keyDirty = true;
    DrawKey _batchKey;
};

}  // namespace render_layer
