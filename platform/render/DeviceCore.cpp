#include "platform/render/DeviceCore.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace render_layer {

namespace {

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%g", value);
    return text;
}

std::string Hex(DWORD value) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08X", value);
    return text;
}

bool IsValidFvf(DWORD fvf) {
    return (fvf & D3DFVF_XYZ) != 0 && (fvf & ~(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1)) == 0;
}

}  // namespace

UINT VertexSize(DWORD fvf) {
    if (!IsValidFvf(fvf)) return 0;
    UINT size = 12;
    if (fvf & D3DFVF_DIFFUSE) size += 4;
    if (fvf & D3DFVF_TEX1) size += 8;
    return size;
}

Vertex DecodeVertex(DWORD fvf, const BYTE* data) {
    Vertex v;
    std::memcpy(&v.x, data, 12);
    data += 12;
    if (fvf & D3DFVF_DIFFUSE) {
        std::memcpy(&v.color, data, 4);
        data += 4;
    }
    if (fvf & D3DFVF_TEX1) std::memcpy(&v.u, data, 8);
    return v;
}

UINT VertexCount(D3DPRIMITIVETYPE type, UINT n) {
    switch (type) {
        case D3DPT_POINTLIST: return n;
        case D3DPT_LINELIST: return 2 * n;
        case D3DPT_LINESTRIP: return n + 1;
        case D3DPT_TRIANGLELIST: return 3 * n;
        case D3DPT_TRIANGLESTRIP:
        case D3DPT_TRIANGLEFAN: return n + 2;
    }
    return 0;
}

void TransformUV(const D3DMATRIX& m, float u, float v, float* outU, float* outV) {
    *outU = u * m._11 + v * m._21 + m._31;
    *outV = u * m._12 + v * m._22 + m._32;
}

std::string RenderStateName(DWORD state) {
    switch (state) {
        case D3DRS_ZENABLE: return "ZENABLE";
        case D3DRS_FILLMODE: return "FILLMODE";
        case D3DRS_SHADEMODE: return "SHADEMODE";
        case D3DRS_ZWRITEENABLE: return "ZWRITEENABLE";
        case D3DRS_ALPHATESTENABLE: return "ALPHATESTENABLE";
        case D3DRS_SRCBLEND: return "SRCBLEND";
        case D3DRS_DESTBLEND: return "DESTBLEND";
        case D3DRS_CULLMODE: return "CULLMODE";
        case D3DRS_ZFUNC: return "ZFUNC";
        case D3DRS_ALPHAREF: return "ALPHAREF";
        case D3DRS_ALPHAFUNC: return "ALPHAFUNC";
        case D3DRS_DITHERENABLE: return "DITHERENABLE";
        case D3DRS_ALPHABLENDENABLE: return "ALPHABLENDENABLE";
        case D3DRS_FOGENABLE: return "FOGENABLE";
        case D3DRS_SPECULARENABLE: return "SPECULARENABLE";
        case D3DRS_FOGCOLOR: return "FOGCOLOR";
        case D3DRS_FOGTABLEMODE: return "FOGTABLEMODE";
        case D3DRS_FOGSTART: return "FOGSTART";
        case D3DRS_FOGEND: return "FOGEND";
        case D3DRS_FOGDENSITY: return "FOGDENSITY";
        case D3DRS_TEXTUREFACTOR: return "TEXTUREFACTOR";
        case D3DRS_WRAP0: return "WRAP0";
        case D3DRS_CLIPPING: return "CLIPPING";
        case D3DRS_LIGHTING: return "LIGHTING";
        case D3DRS_AMBIENT: return "AMBIENT";
        case D3DRS_FOGVERTEXMODE: return "FOGVERTEXMODE";
        case D3DRS_COLORVERTEX: return "COLORVERTEX";
        case D3DRS_CLIPPLANEENABLE: return "CLIPPLANEENABLE";
        case D3DRS_BLENDOP: return "BLENDOP";
    }
    return std::to_string(state);
}

std::string StageStateName(DWORD type) {
    switch (type) {
        case D3DTSS_COLOROP: return "COLOROP";
        case D3DTSS_COLORARG1: return "COLORARG1";
        case D3DTSS_COLORARG2: return "COLORARG2";
        case D3DTSS_ALPHAOP: return "ALPHAOP";
        case D3DTSS_ALPHAARG1: return "ALPHAARG1";
        case D3DTSS_ALPHAARG2: return "ALPHAARG2";
        case D3DTSS_TEXCOORDINDEX: return "TEXCOORDINDEX";
        case D3DTSS_ADDRESSU: return "ADDRESSU";
        case D3DTSS_ADDRESSV: return "ADDRESSV";
        case D3DTSS_BORDERCOLOR: return "BORDERCOLOR";
        case D3DTSS_MAGFILTER: return "MAGFILTER";
        case D3DTSS_MINFILTER: return "MINFILTER";
        case D3DTSS_MIPFILTER: return "MIPFILTER";
        case D3DTSS_TEXTURETRANSFORMFLAGS: return "TEXTURETRANSFORMFLAGS";
    }
    return std::to_string(type);
}

std::string TransformName(DWORD state) {
    if (state == D3DTS_WORLD) return "WORLD";
    if (state == D3DTS_VIEW) return "VIEW";
    if (state == D3DTS_PROJECTION) return "PROJECTION";
    if (state >= D3DTS_TEXTURE0 && state < D3DTS_TEXTURE0 + D3D_TEXTURE_STAGES) {
        return "TEXTURE" + std::to_string(state - D3DTS_TEXTURE0);
    }
    return std::to_string(state);
}

// ---------------------------------------------------------------------------------------------

TextureCore::TextureCore(UINT width, UINT height, D3DFORMAT format, UINT pitchWords)
    : _width(width), _height(height), _pitchWords(std::max(pitchWords, width)), _format(format),
      _pixels(static_cast<size_t>(_pitchWords) * height, 0) {}

ULONG TextureCore::AddRef() { return static_cast<ULONG>(++_references); }

ULONG TextureCore::Release() {
    const int left = --_references;
    if (left == 0) delete this;
    return static_cast<ULONG>(left < 0 ? 0 : left);
}

HRESULT TextureCore::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
    if (level != 0 || desc == nullptr) return D3DERR_INVALIDCALL;
    desc->Format = _format;
    desc->Pool = D3DPOOL_MANAGED;
    desc->Width = _width;
    desc->Height = _height;
    return D3D_OK;
}

HRESULT TextureCore::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
    if (level != 0 || locked == nullptr || _locked) return D3DERR_INVALIDCALL;
    RECT whole;
    whole.right = static_cast<std::int32_t>(_width);
    whole.bottom = static_cast<std::int32_t>(_height);
    const RECT r = rect ? *rect : whole;
    if (r.left < 0 || r.top < 0 || r.left >= r.right || r.top >= r.bottom || r.right > whole.right ||
        r.bottom > whole.bottom) {
        return D3DERR_INVALIDCALL;
    }
    _locked = true;
    _lockReadOnly = (flags & D3DLOCK_READONLY) != 0;
    _lockedRect = r;
    locked->Pitch = static_cast<std::int32_t>(_pitchWords * 4);
    locked->pBits = &_pixels[static_cast<size_t>(r.top) * _pitchWords + static_cast<size_t>(r.left)];
    return D3D_OK;
}

HRESULT TextureCore::UnlockRect(UINT level) {
    if (level != 0 || !_locked) return D3DERR_INVALIDCALL;
    _locked = false;
    if (!_lockReadOnly) OnPixelsChanged(_lockedRect);
    return D3D_OK;
}

// ---------------------------------------------------------------------------------------------

VertexBufferCore::VertexBufferCore(UINT length, DWORD fvf) : _fvf(fvf), _data(length, 0) {}

ULONG VertexBufferCore::AddRef() { return static_cast<ULONG>(++_references); }

ULONG VertexBufferCore::Release() {
    const int left = --_references;
    if (left == 0) delete this;
    return static_cast<ULONG>(left < 0 ? 0 : left);
}

HRESULT VertexBufferCore::Lock(UINT offset, UINT size, BYTE** data, DWORD flags) {
    (void)flags;
    if (data == nullptr || _locked || offset > _data.size()) return D3DERR_INVALIDCALL;
    if (size != 0 && size > _data.size() - offset) return D3DERR_INVALIDCALL;
    _locked = true;
    *data = _data.data() + offset;
    return D3D_OK;
}

HRESULT VertexBufferCore::Unlock() {
    if (!_locked) return D3DERR_INVALIDCALL;
    _locked = false;
    return D3D_OK;
}

// ---------------------------------------------------------------------------------------------

DeviceCore::DeviceCore(const D3DPRESENT_PARAMETERS& parameters, const D3DCAPS8& caps)
    : _parameters(parameters), _caps(caps) {
    SetDefaultStates();
}

DeviceCore::~DeviceCore() {
    for (TextureCore*& texture : _textures) {
        if (texture) texture->Release();
        texture = nullptr;
    }
    if (_stream) _stream->Release();
    _stream = nullptr;
}

ULONG DeviceCore::AddRef() { return static_cast<ULONG>(++_references); }

ULONG DeviceCore::Release() {
    const int left = --_references;
    if (left == 0) delete this;
    return static_cast<ULONG>(left < 0 ? 0 : left);
}

void DeviceCore::SetDefaultStates() {
    std::fill(std::begin(_renderStates), std::end(_renderStates), 0u);
    _renderStates[D3DRS_ZENABLE] = _parameters.EnableAutoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE;
    _renderStates[D3DRS_FILLMODE] = 3;
    _renderStates[D3DRS_SHADEMODE] = 2;
    _renderStates[D3DRS_ZWRITEENABLE] = TRUE;
    _renderStates[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    _renderStates[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    _renderStates[D3DRS_CULLMODE] = D3DCULL_CCW;
    _renderStates[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
    _renderStates[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
    _renderStates[D3DRS_DITHERENABLE] = FALSE;
    const float one = 1.0f;
    std::memcpy(&_renderStates[D3DRS_FOGEND], &one, 4);
    std::memcpy(&_renderStates[D3DRS_FOGDENSITY], &one, 4);
    _renderStates[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFF;
    _renderStates[D3DRS_CLIPPING] = TRUE;
    _renderStates[D3DRS_LIGHTING] = TRUE;
    _renderStates[D3DRS_COLORVERTEX] = TRUE;
    _renderStates[D3DRS_BLENDOP] = 1;
    for (DWORD stage = 0; stage < D3D_TEXTURE_STAGES; ++stage) {
        DWORD* s = _stageStates[stage];
        std::fill(s, s + D3DTSS_COUNT, 0u);
        s[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        s[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        s[D3DTSS_COLORARG2] = D3DTA_CURRENT;
        s[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        s[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        s[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        s[D3DTSS_TEXCOORDINDEX] = stage;
        s[D3DTSS_ADDRESSU] = D3DTADDRESS_WRAP;
        s[D3DTSS_ADDRESSV] = D3DTADDRESS_WRAP;
        s[D3DTSS_MAGFILTER] = D3DTEXF_POINT;
        s[D3DTSS_MINFILTER] = D3DTEXF_POINT;
        s[D3DTSS_MIPFILTER] = D3DTEXF_NONE;
        s[D3DTSS_TEXTURETRANSFORMFLAGS] = D3DTTFF_DISABLE;
        D3DXMatrixIdentity(&_textureTransforms[stage]);
    }
    D3DXMatrixIdentity(&_world);
    D3DXMatrixIdentity(&_view);
    D3DXMatrixIdentity(&_projection);
    std::memset(_clipPlanes, 0, sizeof(_clipPlanes));
    UINT width = 0;
    UINT height = 0;
    BackBufferSize(&width, &height);
    _viewport = D3DVIEWPORT8();
    _viewport.Width = width;
    _viewport.Height = height;
}

void DeviceCore::BackBufferSize(UINT* width, UINT* height) const {
    *width = _parameters.BackBufferWidth;
    *height = _parameters.BackBufferHeight;
}

void DeviceCore::Log(const std::string& text) {
    if (_callLog) _callLog->push_back(text);
}

HRESULT DeviceCore::GetDeviceCaps(D3DCAPS8* caps) {
    if (caps == nullptr) return D3DERR_INVALIDCALL;
    *caps = _caps;
    return D3D_OK;
}

HRESULT DeviceCore::Reset(D3DPRESENT_PARAMETERS* parameters) {
    if (parameters == nullptr) return D3DERR_INVALIDCALL;
    if (Logging()) {
        Log("Reset(" + std::to_string(parameters->BackBufferWidth) + "x" +
            std::to_string(parameters->BackBufferHeight) + ", windowed " + std::to_string(parameters->Windowed) +
            ")");
    }
    SubmitBatch();
    StateChanged(Change::Other);
    const HRESULT result = DoReset(*parameters);
    if (result != D3D_OK) return result;
    _parameters = *parameters;
    for (TextureCore*& texture : _textures) {
        if (texture) texture->Release();
        texture = nullptr;
    }
    if (_stream) _stream->Release();
    _stream = nullptr;
    _fvf = 0;
    _inScene = false;
    SetDefaultStates();
    return D3D_OK;
}

HRESULT DeviceCore::Present(const RECT* source, const RECT* dest, HWND override, const void* dirty) {
    (void)source;
    (void)dest;
    (void)override;
    (void)dirty;
    if (Logging()) Log("Present");
    if (_inScene) return D3DERR_INVALIDCALL;
    SubmitBatch();
    DoPresent();
    return D3D_OK;
}

HRESULT DeviceCore::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                          DWORD stencil) {
    (void)stencil;
    if (Logging()) Log("Clear(" + std::to_string(flags) + ", " + Hex(color) + ", " + Number(z) + ")");
    if ((count != 0) != (rects != nullptr)) return D3DERR_INVALIDCALL;
    SubmitBatch();
    StateChanged(Change::Other);
    DoClear(count, rects, flags, color, z);
    return D3D_OK;
}

HRESULT DeviceCore::BeginScene() {
    if (Logging()) Log("BeginScene");
    if (_inScene) return D3DERR_INVALIDCALL;
    _inScene = true;
    return D3D_OK;
}

HRESULT DeviceCore::EndScene() {
    if (Logging()) Log("EndScene");
    if (!_inScene) return D3DERR_INVALIDCALL;
    SubmitBatch();
    _inScene = false;
    return D3D_OK;
}

DeviceCore::Change DeviceCore::ChangeOf(D3DTRANSFORMSTATETYPE state) {
    if (state == D3DTS_WORLD) return Change::World;
    if (state >= D3DTS_TEXTURE0 && state < D3DTS_TEXTURE0 + D3D_TEXTURE_STAGES) return Change::TextureTransform;
    return Change::Other;
}

D3DXMATRIX* DeviceCore::TransformSlot(D3DTRANSFORMSTATETYPE state) {
    if (state == D3DTS_WORLD) return &_world;
    if (state == D3DTS_VIEW) return &_view;
    if (state == D3DTS_PROJECTION) return &_projection;
    if (state >= D3DTS_TEXTURE0 && state < D3DTS_TEXTURE0 + D3D_TEXTURE_STAGES) {
        return &_textureTransforms[state - D3DTS_TEXTURE0];
    }
    return nullptr;
}

HRESULT DeviceCore::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    D3DXMATRIX* slot = TransformSlot(state);
    if (slot == nullptr || matrix == nullptr) return D3DERR_INVALIDCALL;
    if (Logging()) Log("SetTransform(" + TransformName(state) + ")");
    if (*slot != D3DXMATRIX(*matrix)) {
        StateChanged(ChangeOf(state));
        *slot = *matrix;
    }
    return D3D_OK;
}

HRESULT DeviceCore::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
    D3DXMATRIX* slot = TransformSlot(state);
    if (slot == nullptr || matrix == nullptr) return D3DERR_INVALIDCALL;
    *matrix = *slot;
    return D3D_OK;
}

HRESULT DeviceCore::MultiplyTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    D3DXMATRIX* slot = TransformSlot(state);
    if (slot == nullptr || matrix == nullptr) return D3DERR_INVALIDCALL;
    if (Logging()) Log("MultiplyTransform(" + TransformName(state) + ")");
    StateChanged(ChangeOf(state));
    const D3DXMATRIX m(*matrix);
    D3DXMatrixMultiply(slot, &m, slot);
    return D3D_OK;
}

HRESULT DeviceCore::SetViewport(const D3DVIEWPORT8* viewport) {
    if (viewport == nullptr) return D3DERR_INVALIDCALL;
    if (Logging()) {
        Log("SetViewport(" + std::to_string(viewport->X) + ", " + std::to_string(viewport->Y) + ", " +
            std::to_string(viewport->Width) + ", " + std::to_string(viewport->Height) + ")");
    }
    UINT width = 0;
    UINT height = 0;
    BackBufferSize(&width, &height);
    if (viewport->Width == 0 || viewport->Height == 0 ||
        static_cast<unsigned long long>(viewport->X) + viewport->Width > width ||
        static_cast<unsigned long long>(viewport->Y) + viewport->Height > height ||
        !(viewport->MinZ >= 0.0f && viewport->MinZ <= viewport->MaxZ && viewport->MaxZ <= 1.0f)) {
        return D3DERR_INVALIDCALL;
    }
    StateChanged(Change::Other);
    _viewport = *viewport;
    return D3D_OK;
}

HRESULT DeviceCore::GetViewport(D3DVIEWPORT8* viewport) {
    if (viewport == nullptr) return D3DERR_INVALIDCALL;
    *viewport = _viewport;
    return D3D_OK;
}

HRESULT DeviceCore::SetClipPlane(DWORD index, const float* plane) {
    if (Logging()) {
        Log("SetClipPlane(" + std::to_string(index) +
            (plane ? ", " + Number(plane[0]) + ", " + Number(plane[1]) + ", " + Number(plane[2]) + ", " +
                         Number(plane[3])
                   : std::string()) +
            ")");
    }
    if (plane == nullptr || index >= MAX_USER_CLIP_PLANES) return D3DERR_INVALIDCALL;
    StateChanged(Change::Other);
    std::memcpy(_clipPlanes[index], plane, sizeof(_clipPlanes[index]));
    return D3D_OK;
}

HRESULT DeviceCore::GetClipPlane(DWORD index, float* plane) {
    if (plane == nullptr || index >= MAX_USER_CLIP_PLANES) return D3DERR_INVALIDCALL;
    std::memcpy(plane, _clipPlanes[index], sizeof(_clipPlanes[index]));
    return D3D_OK;
}

HRESULT DeviceCore::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    if (Logging()) Log("SetRenderState(" + RenderStateName(state) + ", " + std::to_string(value) + ")");
    if (state >= D3DRS_COUNT) return D3DERR_INVALIDCALL;
    if (_renderStates[state] != value) {
        StateChanged(Change::Other);
        _renderStates[state] = value;
    }
    return D3D_OK;
}

HRESULT DeviceCore::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    if (state >= D3DRS_COUNT || value == nullptr) return D3DERR_INVALIDCALL;
    *value = _renderStates[state];
    return D3D_OK;
}

HRESULT DeviceCore::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    if (Logging()) {
        Log("SetTextureStageState(" + std::to_string(stage) + ", " + StageStateName(type) + ", " +
            std::to_string(value) + ")");
    }
    if (stage >= D3D_TEXTURE_STAGES || type >= D3DTSS_COUNT) return D3DERR_INVALIDCALL;
    if (_stageStates[stage][type] != value) {
        StateChanged(Change::Other);
        _stageStates[stage][type] = value;
    }
    return D3D_OK;
}

HRESULT DeviceCore::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) {
    if (stage >= D3D_TEXTURE_STAGES || type >= D3DTSS_COUNT || value == nullptr) return D3DERR_INVALIDCALL;
    *value = _stageStates[stage][type];
    return D3D_OK;
}

HRESULT DeviceCore::SetTexture(DWORD stage, IDirect3DTexture8* texture) {
    if (Logging()) Log("SetTexture(" + std::to_string(stage) + (texture ? ", texture)" : ", null)"));
    if (stage >= D3D_TEXTURE_STAGES) return D3DERR_INVALIDCALL;
    TextureCore* core = nullptr;
    if (texture) {
        core = dynamic_cast<TextureCore*>(texture);
        if (core == nullptr) return D3DERR_INVALIDCALL;
    }
    if (_textures[stage] == core) return D3D_OK;
    StateChanged(Change::Other);
    if (core) core->AddRef();
    if (_textures[stage]) _textures[stage]->Release();
    _textures[stage] = core;
    return D3D_OK;
}

HRESULT DeviceCore::GetTexture(DWORD stage, IDirect3DTexture8** texture) {
    if (stage >= D3D_TEXTURE_STAGES || texture == nullptr) return D3DERR_INVALIDCALL;
    *texture = _textures[stage];
    if (*texture) (*texture)->AddRef();
    return D3D_OK;
}

TextureCore* DeviceCore::NewTexture(UINT width, UINT height, D3DFORMAT format) {
    return new TextureCore(width, height, format, width);
}

HRESULT DeviceCore::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                                  D3DPOOL pool, IDirect3DTexture8** texture) {
    (void)usage;
    (void)pool;
    if (Logging()) {
        Log("CreateTexture(" + std::to_string(width) + ", " + std::to_string(height) + ", " +
            std::to_string(format) + ")");
    }
    if (texture == nullptr) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    if (width == 0 || height == 0 || levels > 1 || width > _caps.MaxTextureWidth ||
        height > _caps.MaxTextureHeight || (format != D3DFMT_A8R8G8B8 && format != D3DFMT_X8R8G8B8)) {
        return D3DERR_INVALIDCALL;
    }
    if ((_caps.TextureCaps & D3DPTEXTURECAPS_POW2) && !(_caps.TextureCaps & D3DPTEXTURECAPS_NONPOW2CONDITIONAL) &&
        ((width & (width - 1)) != 0 || (height & (height - 1)) != 0)) {
        return D3DERR_INVALIDCALL;
    }
    TextureCore* created = NewTexture(width, height, format);
    if (created == nullptr) return D3DERR_OUTOFVIDEOMEMORY;
    *texture = created;
    return D3D_OK;
}

HRESULT DeviceCore::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                       IDirect3DVertexBuffer8** buffer) {
    (void)usage;
    (void)pool;
    if (Logging()) Log("CreateVertexBuffer(" + std::to_string(length) + ", " + Hex(fvf) + ")");
    if (buffer == nullptr) return D3DERR_INVALIDCALL;
    *buffer = nullptr;
    if (length == 0) return D3DERR_INVALIDCALL;
    *buffer = new VertexBufferCore(length, fvf);
    return D3D_OK;
}

HRESULT DeviceCore::SetVertexShader(DWORD fvf) {
    if (Logging()) Log("SetVertexShader(" + Hex(fvf) + ")");
    if (VertexSize(fvf) == 0) return D3DERR_INVALIDCALL;
    if (_fvf != fvf) {
        StateChanged(Change::Other);
        _fvf = fvf;
    }
    return D3D_OK;
}

HRESULT DeviceCore::SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) {
    if (Logging()) Log("SetStreamSource(" + std::to_string(stream) + ", " + std::to_string(stride) + ")");
    if (stream != 0) return D3DERR_INVALIDCALL;
    VertexBufferCore* core = nullptr;
    if (buffer) {
        core = dynamic_cast<VertexBufferCore*>(buffer);
        if (core == nullptr) return D3DERR_INVALIDCALL;
        core->AddRef();
    }
    if (_stream) _stream->Release();
    _stream = core;
    _streamStride = stride;
    return D3D_OK;
}

HRESULT DeviceCore::DrawVertices(D3DPRIMITIVETYPE type, UINT primitiveCount, const BYTE* data, UINT stride,
                                 UINT available) {
    const UINT vertexSize = VertexSize(_fvf);
    const UINT count = VertexCount(type, primitiveCount);
    if (vertexSize == 0 || count == 0 || data == nullptr || stride < vertexSize) return D3DERR_INVALIDCALL;
    if (available < count) return D3DERR_INVALIDCALL;
    const D3DPRIMITIVETYPE family =
        type == D3DPT_POINTLIST ? D3DPT_POINTLIST
                                : type == D3DPT_LINELIST || type == D3DPT_LINESTRIP ? D3DPT_LINELIST : D3DPT_TRIANGLELIST;
    if (!_batchOpen || _keyDirty || family != _batchKey.family) {
        DrawKey key;
        MakeKey(family, &key);
        if (!_batchOpen || key != _batchKey) {
            SubmitBatch();
            _batchKey = key;
            _batchOpen = true;
        }
        _keyDirty = false;
    }
    Draw(type, primitiveCount, data, stride, count);
    return D3D_OK;
}

void DeviceCore::StateChanged(Change change) {
    if (change == Change::Other) _keyDirty = true;
    BeforeStateChange(change);
}

bool DeviceCore::FogInVertices() const { return _renderStates[D3DRS_FOGTABLEMODE] == D3DFOG_LINEAR; }

float DeviceCore::LinearFogFactor(float z) const {
    float start = 0.0f;
    float end = 0.0f;
    std::memcpy(&start, &_renderStates[D3DRS_FOGSTART], 4);
    std::memcpy(&end, &_renderStates[D3DRS_FOGEND], 4);
    // An empty range fogs everything beyond its end.
    if (!(end != start)) return z < end ? 1.0f : 0.0f;
    return (end - z) / (end - start);
}

void DeviceCore::MakeKey(D3DPRIMITIVETYPE family, DrawKey* key) const {
    key->family = family;
    std::memcpy(key->renderStates, _renderStates, sizeof(_renderStates));
    std::memcpy(key->stage0, _stageStates[0], sizeof(key->stage0));
    // Applied to the vertices.
    key->stage0[D3DTSS_TEXTURETRANSFORMFLAGS] = 0;
    if (FogInVertices()) {
        for (DWORD state : {D3DRS_FOGENABLE, D3DRS_FOGCOLOR, D3DRS_FOGSTART, D3DRS_FOGEND, D3DRS_FOGDENSITY}) {
            key->renderStates[state] = 0;
        }
    }
    const bool textured = _textures[0] != nullptr && _stageStates[0][D3DTSS_COLOROP] != D3DTOP_DISABLE;
    // Without a texture the stage is not drawn.
    if (!textured) std::memset(key->stage0, 0, sizeof(key->stage0));
    key->texture = textured ? _textures[0] : nullptr;
    key->textureGroup = textured ? TextureGroup(_textures[0]) : nullptr;
    key->viewport = _viewport;
    key->view = _view;
    key->projection = _projection;
    const DWORD mask = _renderStates[D3DRS_CLIPPLANEENABLE];
    for (DWORD i = 0; i < MAX_USER_CLIP_PLANES; ++i) {
        if (mask & (1u << i)) std::memcpy(key->clipPlanes[i], _clipPlanes[i], sizeof(_clipPlanes[i]));
    }
}

void DeviceCore::SubmitBatch() {
    if (!_batchOpen) return;
    _batchOpen = false;
    _keyDirty = true;
    ++_submittedDraws;
    Submit(_batchKey);
}

void DeviceCore::SubmitAndReopen() {
    if (!_batchOpen) return;
    const DrawKey key = _batchKey;
    SubmitBatch();
    _batchKey = key;
    _batchOpen = true;
    _keyDirty = false;
}

bool DrawKey::operator==(const DrawKey& o) const {
    return family == o.family && textureGroup == o.textureGroup &&
           std::memcmp(renderStates, o.renderStates, sizeof(renderStates)) == 0 &&
           std::memcmp(stage0, o.stage0, sizeof(stage0)) == 0 && viewport.X == o.viewport.X &&
           viewport.Y == o.viewport.Y && viewport.Width == o.viewport.Width && viewport.Height == o.viewport.Height &&
           viewport.MinZ == o.viewport.MinZ && viewport.MaxZ == o.viewport.MaxZ && view == o.view &&
           projection == o.projection && std::memcmp(clipPlanes, o.clipPlanes, sizeof(clipPlanes)) == 0;
}

HRESULT DeviceCore::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) {
    if (Logging()) {
        Log("DrawPrimitive(" + std::to_string(type) + ", " + std::to_string(startVertex) + ", " +
            std::to_string(primitiveCount) + ")");
    }
    if (_stream == nullptr || _streamStride == 0) return D3DERR_INVALIDCALL;
    const unsigned long long start = static_cast<unsigned long long>(startVertex) * _streamStride;
    if (start >= _stream->Length()) return D3DERR_INVALIDCALL;
    // A last vertex shorter than the stride still counts when its format fits.
    const UINT rest = _stream->Length() - static_cast<UINT>(start);
    const UINT size = VertexSize(_fvf);
    const UINT available = size != 0 && rest >= size ? (rest - size) / _streamStride + 1 : 0;
    return DrawVertices(type, primitiveCount, _stream->Data() + start, _streamStride, available);
}

HRESULT DeviceCore::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices,
                                    UINT stride) {
    if (Logging()) {
        Log("DrawPrimitiveUP(" + std::to_string(type) + ", " + std::to_string(primitiveCount) + ", " +
            std::to_string(stride) + ")");
    }
    return DrawVertices(type, primitiveCount, static_cast<const BYTE*>(vertices), stride, ~0u);
}

HRESULT DeviceCore::ReadBackBuffer(std::vector<D3DCOLOR>* pixels, UINT* width, UINT* height) {
    (void)pixels;
    (void)width;
    (void)height;
    return D3DERR_NOTAVAILABLE;
}

}  // namespace render_layer
