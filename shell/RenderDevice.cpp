#include "shell/RenderDevice.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/Assert.h"
#include "core/Bool.h"
#include "core/HtmlLog.h"
#include "core/Int.h"
#include "shell/ParticleVertexBatch.h"

namespace Render {
RenderDevice device;
}

namespace {

constexpr DWORD VERTEX_STRIDE = sizeof(Render::Vertex);

D3DXMATRIX Identity() {
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    return m;
}

// The alpha byte of a multiplier already checked to lie in 0..1.
int AlphaByte(float alpha) {
    if (!(alpha >= 0.0f)) return 0;
    if (alpha > 1.0f) return 255;
    return (int)(255 * alpha);
}

}  // namespace

RenderDevice::RenderDevice() : RenderDevice(Direct3DCreate8(D3D_SDK_VERSION)) {}

RenderDevice::RenderDevice(IDirect3D8* d3d) {
    _d3d = d3d;
    Construct();
}

void RenderDevice::UseDirect3D(IDirect3D8* d3d) {
    Release();
    _d3d = d3d;
    _worldMatrixStack.clear();
    _textureMatrixStack.clear();
    _alphaStack.clear();
    _colorStack.clear();
    _alphaUseStack.clear();
    _clipPlanesStack = std::stack<int, std::vector<int>>();
    _fsModes.clear();
    _presentParameters = D3DPRESENT_PARAMETERS();
    _screenMode = 1;
    _window = nullptr;
    _width = 0;
    _height = 0;
    _needPow2Textures = false;
    Construct();
}

void RenderDevice::Construct() {
    _desktopMode = D3DDISPLAYMODE();
    if (_d3d) _d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &_desktopMode);
    _worldMatrixStack.reserve(8);
    _textureMatrixStack.reserve(8);
    _currentMatrixStack = &_worldMatrixStack;
    _matrixMode = 0;
    _currentColor = 0xFFFFFFFF;
    _currentTexture = nullptr;
    _alphaStack.push_back(1.0f);
    _isIn2DMode = false;
    _nClipPlanes = 0;
    _isCreated = false;
    _useUtf8 = false;
    _fsModes.reserve(50);
    ListFullScreenModes();
}

// ---------------------------------------------------------------------------------------------
// Creation, reset and display modes

void RenderDevice::ListFullScreenModes() {
    const UINT count = _d3d ? _d3d->GetAdapterModeCount(D3DADAPTER_DEFAULT) : 0;
    for (UINT i = 0; i < count; ++i) {
        D3DDISPLAYMODE mode;
        if (_d3d->EnumAdapterModes(D3DADAPTER_DEFAULT, i, &mode) != D3D_OK) continue;
        if (mode.Format != _desktopMode.Format) continue;
        bool listed = false;
        for (D3DDISPLAYMODE& known : _fsModes) {
            if (known.Width == mode.Width && known.Height == mode.Height) {
                if (mode.RefreshRate > known.RefreshRate) known = mode;
                listed = true;
                break;
            }
        }
        if (!listed) _fsModes.push_back(mode);
    }
    Assert(!_fsModes.empty());
    std::sort(_fsModes.begin(), _fsModes.end(), [](const D3DDISPLAYMODE& a, const D3DDISPLAYMODE& b) {
        if (a.Width != b.Width) return a.Width < b.Width;
        return a.Height < b.Height;
    });
}

D3DDISPLAYMODE RenderDevice::ChooseFullScreenMode(int width, int height) const {
    const float wanted = (float)width / (float)height;
    const float desktopAspect = (float)_desktopMode.Width / (float)_desktopMode.Height;
    if (!(std::fabs(desktopAspect - wanted) <= ASPECT_TOLERANCE)) return _desktopMode;
    for (const D3DDISPLAYMODE& mode : _fsModes) {
        if (mode.Width == (UINT)width && mode.Height == (UINT)height) return mode;
    }
    for (const D3DDISPLAYMODE& mode : _fsModes) {
        const float aspect = (float)mode.Width / (float)mode.Height;
        if (std::fabs(aspect - wanted) < ASPECT_TOLERANCE && mode.Width > (UINT)width) return mode;
    }
    // No listed mode at all: the desktop's own.
    if (_fsModes.empty()) return _desktopMode;
    return _fsModes.back();
}

Rect RenderDevice::GetFullScreenRect(int width, int height) const {
    const D3DDISPLAYMODE mode = ChooseFullScreenMode(width, height);
    return Rect(0, 0, (int)mode.Width, (int)mode.Height);
}

void RenderDevice::FillPresentParameters(int mode) {
    if (mode != 0 && mode != 1) return;
    _presentParameters = D3DPRESENT_PARAMETERS();
    _presentParameters.BackBufferWidth = (UINT)_width;
    _presentParameters.BackBufferHeight = (UINT)_height;
    _presentParameters.BackBufferFormat = _desktopMode.Format;
    _presentParameters.BackBufferCount = 0;
    _presentParameters.MultiSampleType = D3DMULTISAMPLE_NONE;
    _presentParameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    _presentParameters.hDeviceWindow = _window;
    _presentParameters.Windowed = mode == 1 ? TRUE : FALSE;
    _presentParameters.EnableAutoDepthStencil = TRUE;
    _presentParameters.AutoDepthStencilFormat = D3DFMT_D16;
    _presentParameters.Flags = 0;
    _presentParameters.FullScreen_RefreshRateInHz = 0;
    _presentParameters.FullScreen_PresentationInterval =
        mode == 0 ? D3DPRESENT_INTERVAL_IMMEDIATE : D3DPRESENT_INTERVAL_DEFAULT;
}

void RenderDevice::CreateDevice(HWND window, bool fullScreen, int width, int height) {
    _width = width;
    _height = height;
    _window = window;
    // A device left from an earlier attempt (its Init failed under a guard) goes first.
    if (_d3dDevice) {
        _d3dDevice->Release();
        _d3dDevice = nullptr;
    }
    _isCreated = false;
    if (fullScreen) {
        _screenMode = 0;
        FillPresentParameters(0);
    } else {
        _screenMode = 1;
        FillPresentParameters(1);
    }
    HRESULT result = D3DERR_NOTAVAILABLE;
    if (_d3d) {
        result = _d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, _window, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                    &_presentParameters, &_d3dDevice);
    }
    if (result != D3D_OK) {
        _d3dDevice = nullptr;
        if (result == D3DERR_INVALIDCALL) {
            ReportError("CreateDevice returned D3DERR_INVALIDCALL");
        } else if (result == D3DERR_NOTAVAILABLE) {
            ReportError("CreateDevice returned D3DERR_NOTAVAILABLE");
        } else if (result == D3DERR_OUTOFVIDEOMEMORY) {
            ReportError("CreateDevice returned D3DERR_OUTOFVIDEOMEMORY");
        } else {
            ReportError("CreateDevice return code " + Int::ToString(result));
        }
        return;
    }
    // What the driver would make on the first draw of each kind is made now, before any frame.
    _d3dDevice->PrepareDrawing();
    Init();
    CreateParticleVertexBuffer();
    SetPictureViewport();
    _isCreated = true;
}

void RenderDevice::Init() {
    Assert(_d3dDevice != NULL);
    if (_d3dDevice == NULL) return;
    D3DCAPS8 d3dCaps;
    Assert(_d3dDevice->GetDeviceCaps(&d3dCaps) == D3D_OK);
    Assert(d3dCaps.MaxUserClipPlanes >= MAX_CLIP_PLANES);
    const bool pow2 = (d3dCaps.TextureCaps & D3DPTEXTURECAPS_POW2) != 0;
    const bool conditional = (d3dCaps.TextureCaps & D3DPTEXTURECAPS_NONPOW2CONDITIONAL) != 0;
    HtmlLog::WriteLine("Textures pow2: " + Bool::ToString(pow2) + " conditional non-pow2: " +
                       Bool::ToString(conditional));
    _needPow2Textures = pow2 && !conditional;
    const bool forcePow2 = readForcePow2 ? readForcePow2() : false;
    if (forcePow2 && !_needPow2Textures) {
        HtmlLog::WriteLine("Forcing pow2 by Storage");
        _needPow2Textures = true;
    }
    const int maxTextureWidth = (int)d3dCaps.MaxTextureWidth;
    const int maxTextureHeight = (int)d3dCaps.MaxTextureHeight;
    Assert(maxTextureWidth >= 1024 && maxTextureHeight >= 1024);
    Assert(_d3dDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE) == D3D_OK);
    Assert(_d3dDevice->SetRenderState(D3DRS_LIGHTING, FALSE) == D3D_OK);
    Assert(_d3dDevice->SetRenderState(D3DRS_ZENABLE, TRUE) == D3D_OK);
    Assert(_d3dDevice->SetRenderState(D3DRS_ZWRITEENABLE, FALSE) == D3D_OK);
    Assert(_d3dDevice->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE) == D3D_OK);
    Assert(_d3dDevice->SetRenderState(D3DRS_WRAP0, 0) == D3D_OK);
    Assert(_d3dDevice->SetRenderState(D3DRS_FOGENABLE, FALSE) == D3D_OK);
    float fogStart = 0.0f;
    float fogEnd = 1.0f;
    Assert(_d3dDevice->SetRenderState(D3DRS_FOGSTART, *(DWORD*)&fogStart) == D3D_OK);
    Assert(_d3dDevice->SetRenderState(D3DRS_FOGEND, *(DWORD*)&fogEnd) == D3D_OK);
    Assert(_d3dDevice->SetRenderState(D3DRS_FOGTABLEMODE, D3DFOG_LINEAR) == D3D_OK);
    Assert(_d3dDevice->SetRenderState(D3DRS_FOGCOLOR, D3DCOLOR_XRGB(1, 47, 141)) == D3D_OK);
}

bool RenderDevice::TestCooperativeLevel() {
    // Without a device there is nothing to draw on: every frame is skipped.
    if (_d3dDevice == NULL) return true;
    const HRESULT result = _d3dDevice->TestCooperativeLevel();
    if (result == D3DERR_DEVICELOST) return true;
    if (result == D3DERR_DEVICENOTRESET) ResetLostDevice();
    return false;
}

void RenderDevice::SetIdentityTransforms() {
    const D3DXMATRIX identity = Identity();
    _d3dDevice->SetTransform(D3DTS_WORLD, &identity);
    _d3dDevice->SetTransform(D3DTS_PROJECTION, &identity);
    _d3dDevice->SetTransform(D3DTS_TEXTURE0, &identity);
}

void RenderDevice::ResetLostDevice() {
    if (!_isCreated || _d3dDevice == NULL) return;
    FillPresentParameters(_screenMode);
    _d3dDevice->Reset(&_presentParameters);
    Init();
    SetIdentityTransforms();
}

void RenderDevice::Reset(int mode, int width, int height) {
    _width = width;
    _height = height;
    _screenMode = mode;
    if (_d3dDevice == NULL) return;
    FillPresentParameters(mode);
    _d3dDevice->Reset(&_presentParameters);
    Init();
    SetIdentityTransforms();
    SetPictureViewport();
}

void RenderDevice::ResetMode(int mode) {
    _screenMode = mode;
    if (_d3dDevice == NULL) return;
    FillPresentParameters(mode);
    _d3dDevice->Reset(&_presentParameters);
    Init();
    SetIdentityTransforms();
}

void RenderDevice::Release() {
    if (_d3dDevice) _d3dDevice->Release();
    _d3dDevice = nullptr;
    if (_d3d) _d3d->Release();
    _d3d = nullptr;
    _isCreated = false;
    _currentTexture = nullptr;
}

bool RenderDevice::IsScreenWider() const {
    const float aspect = (float)_width / (float)_height;
    return _screenMode == 0 && std::fabs(ASPECT_4_3 - aspect) >= ASPECT_TOLERANCE && aspect > ASPECT_4_3;
}

bool RenderDevice::IsScreenTaller() const {
    const float aspect = (float)_width / (float)_height;
    return _screenMode == 0 && std::fabs(ASPECT_4_3 - aspect) >= ASPECT_TOLERANCE && aspect < ASPECT_4_3;
}

void RenderDevice::GetPictureRect(float& x1, float& x2, float& y1, float& y2) const {
    if (IsScreenWider()) {
        const float pictureWidth = (float)_height * ASPECT_4_3;
        x1 = ((float)_width - pictureWidth) * 0.5f;
        x2 = x1 + pictureWidth;
        y1 = 0.0f;
        y2 = (float)_height;
    } else if (IsScreenTaller()) {
        const float pictureHeight = (float)_width * 0.75f;
        y1 = ((float)_height - pictureHeight) * 0.5f;
        y2 = y1 + pictureHeight;
        x1 = 0.0f;
        x2 = (float)_width;
    } else {
        x1 = 0.0f;
        x2 = (float)_width;
        y1 = 0.0f;
        y2 = (float)_height;
    }
}

void RenderDevice::GetScreenLogicalRect(float& x1, float& x2, float& y1, float& y2) const {
    const float aspect = (float)_width / (float)_height;
    x1 = 0.0f;
    x2 = (float)LOGICAL_WIDTH;
    y1 = 0.0f;
    y2 = (float)LOGICAL_HEIGHT;
    if (IsScreenWider()) {
        const float c = (aspect * 600 - 800) * 0.5f;
        x1 = c;
        x2 = c + 800;
    } else if (IsScreenTaller()) {
        const float d = (800 / aspect - 600) * 0.5f;
        y1 = d;
        y2 = d + 600;
    }
}

void RenderDevice::SetViewport(int x, int y, int width, int height) {
    float x1, x2, y1, y2;
    GetPictureRect(x1, x2, y1, y2);
    D3DVIEWPORT8 viewport;
    viewport.X = (DWORD)std::trunc((x2 - x1) * (float)x / LOGICAL_WIDTH + x1);
    viewport.Y = (DWORD)std::trunc((y2 - y1) * (float)y / LOGICAL_HEIGHT + y1);
    viewport.Width = (DWORD)std::trunc((x2 - x1) * (float)width / LOGICAL_WIDTH);
    viewport.Height = (DWORD)std::trunc((y2 - y1) * (float)height / LOGICAL_HEIGHT);
    viewport.MinZ = 0.0f;
    viewport.MaxZ = 1.0f;
    if (_d3dDevice) _d3dDevice->SetViewport(&viewport);
}

void RenderDevice::SetPictureViewport() { SetViewport(0, 0, LOGICAL_WIDTH, LOGICAL_HEIGHT); }

void RenderDevice::SetFullViewport() {
    D3DVIEWPORT8 viewport;
    viewport.X = 0;
    viewport.Y = 0;
    viewport.Width = (DWORD)_width;
    viewport.Height = (DWORD)_height;
    viewport.MinZ = 0.0f;
    viewport.MaxZ = 1.0f;
    if (_d3dDevice) _d3dDevice->SetViewport(&viewport);
}

// ---------------------------------------------------------------------------------------------
// Projection, modes and matrices

void RenderDevice::SetOrthoProjection(float width, float height, float zNear, float zFar) {
    D3DXMATRIX m;
    m._11 = 2 / width;
    m._22 = 2 / height;
    m._33 = 1 / (zFar - zNear);
    m._41 = -(width + 1) / width;
    m._42 = -(height - 1) / height;
    m._43 = zNear / (zNear - zFar);
    m._44 = 1;
    if (_d3dDevice) _d3dDevice->SetTransform(D3DTS_PROJECTION, &m);
}

void RenderDevice::Enter2DMode() {
    Assert(!_isIn2DMode);
    SetOrthoProjection((float)LOGICAL_WIDTH, (float)LOGICAL_HEIGHT, -1000, 1000);
    const D3DXMATRIX identity = Identity();
    if (_d3dDevice) {
        _d3dDevice->SetTransform(D3DTS_WORLD, &identity);
        _d3dDevice->SetTransform(D3DTS_VIEW, &identity);
    }
    _isIn2DMode = true;
}

void RenderDevice::Leave2DMode() {
    Assert(_isIn2DMode);
    _isIn2DMode = false;
}

void RenderDevice::SetMatrixMode(int mode) {
    if (mode == 0) {
        _currentMatrixStack = &_worldMatrixStack;
    } else if (mode == 1) {
        _currentMatrixStack = &_textureMatrixStack;
    } else {
        Assert(false);
    }
    _matrixMode = mode;
}

bool RenderDevice::ModeTransform(D3DTRANSFORMSTATETYPE* state) const {
    if (_matrixMode == 0) {
        *state = D3DTS_WORLD;
        return true;
    }
    if (_matrixMode == 1) {
        *state = D3DTS_TEXTURE0;
        return true;
    }
    Assert(false);
    return false;
}

void RenderDevice::MatrixTranslate(float x, float y, float z) {
    D3DTRANSFORMSTATETYPE state = D3DTS_WORLD;
    if (!ModeTransform(&state) || _d3dDevice == NULL) return;
    D3DXMATRIX m;
    if (_matrixMode == 0) {
        D3DXMatrixTranslation(&m, x, y, z);
        _d3dDevice->MultiplyTransform(state, &m);
    } else {
        D3DXMatrixIdentity(&m);
        m._31 = x;
        m._32 = y;
        _d3dDevice->SetTransform(state, &m);
    }
}

void RenderDevice::MatrixRotate(const float* axis, float angle) {
    D3DTRANSFORMSTATETYPE state = D3DTS_WORLD;
    if (!ModeTransform(&state) || _d3dDevice == NULL) return;
    const D3DXVECTOR3 v(axis[0], axis[1], axis[2]);
    D3DXMATRIX m;
    D3DXMatrixRotationAxis(&m, &v, angle * 0.01745329f);
    _d3dDevice->MultiplyTransform(state, &m);
}

void RenderDevice::MatrixScaleUniform(float s) {
    D3DTRANSFORMSTATETYPE state = D3DTS_WORLD;
    if (!ModeTransform(&state) || _d3dDevice == NULL) return;
    D3DXMATRIX m;
    if (_matrixMode == 0) {
        D3DXMatrixScaling(&m, s, s, s);
        _d3dDevice->MultiplyTransform(state, &m);
    } else {
        D3DXMATRIX current;
        _d3dDevice->GetTransform(state, &current);
        m._11 = m._22 = m._33 = m._44 = s;
        m._31 = current._31;
        m._32 = current._32;
        _d3dDevice->SetTransform(state, &m);
    }
}

void RenderDevice::MatrixScale(float x, float y, float z) {
    D3DTRANSFORMSTATETYPE state = D3DTS_WORLD;
    if (!ModeTransform(&state) || _d3dDevice == NULL) return;
    D3DXMATRIX m;
    D3DXMatrixScaling(&m, x, y, z);
    _d3dDevice->MultiplyTransform(state, &m);
}

void RenderDevice::PushMatrix() {
    // An invalid mode still pushes (the identity) so that the matching pop stays paired.
    D3DXMATRIX m = Identity();
    D3DTRANSFORMSTATETYPE state = D3DTS_WORLD;
    if (ModeTransform(&state) && _d3dDevice) _d3dDevice->GetTransform(state, &m);
    _currentMatrixStack->push_back(m);
}

void RenderDevice::PopMatrix() {
    Assert(!_currentMatrixStack->empty());
    if (_currentMatrixStack->empty()) return;
    D3DTRANSFORMSTATETYPE state = D3DTS_WORLD;
    if (ModeTransform(&state) && _d3dDevice) _d3dDevice->SetTransform(state, &_currentMatrixStack->back());
    _currentMatrixStack->pop_back();
}

void RenderDevice::MatrixLoadIdentity() {
    D3DTRANSFORMSTATETYPE state = D3DTS_WORLD;
    if (!ModeTransform(&state) || _d3dDevice == NULL) return;
    const D3DXMATRIX identity = Identity();
    _d3dDevice->SetTransform(state, &identity);
}

// ---------------------------------------------------------------------------------------------
// Colour and alpha

void RenderDevice::PushColor(const Color& color) {
    bool alphaUsed = false;
    if (color.alpha != 255) {
        PushAlpha(color.alpha * 0.003921569f);
        alphaUsed = true;
    }
    _alphaUseStack.push_back(alphaUsed);
    _colorStack.push_back(_currentColor);
    _currentColor = (_currentColor & 0xFF000000u) | ((D3DCOLOR)color.red << 16) | ((D3DCOLOR)color.green << 8) |
                    (D3DCOLOR)color.blue;
}

void RenderDevice::PopColor() {
    Assert(!_colorStack.empty());
    if (!_colorStack.empty()) {
        _currentColor = _colorStack.back();
        _colorStack.pop_back();
    }
    Assert(!_alphaUseStack.empty());
    if (!_alphaUseStack.empty()) {
        if (_alphaUseStack.back()) PopAlpha();
        _alphaUseStack.pop_back();
    }
}

void RenderDevice::PushAlpha(float multiplier) {
    Assert(0.0f <= multiplier && multiplier <= 1.0f);
    Assert(!_alphaStack.empty());
    const float oldFloatAlpha = _alphaStack.empty() ? 1.0f : _alphaStack.back();
    Assert(0.0f <= oldFloatAlpha && oldFloatAlpha <= 1.0f);
    const int oldIntAlpha = (int)(_currentColor >> 24);
    Assert(0 <= oldIntAlpha && oldIntAlpha <= 255);
    Assert(oldIntAlpha == AlphaByte(oldFloatAlpha));
    float newFloatAlpha = oldFloatAlpha * multiplier;
    Assert(0.0f <= newFloatAlpha && newFloatAlpha <= 1.0f);
    // A multiplier outside 0..1 is reported above and kept within it here.
    if (!(newFloatAlpha >= 0.0f)) newFloatAlpha = 0.0f;
    if (newFloatAlpha > 1.0f) newFloatAlpha = 1.0f;
    _alphaStack.push_back(newFloatAlpha);
    const int newIntAlpha = AlphaByte(newFloatAlpha);
    Assert(0 <= newIntAlpha && newIntAlpha <= 255);
    _currentColor = (_currentColor & 0x00FFFFFFu) | ((D3DCOLOR)newIntAlpha << 24);
}

void RenderDevice::PopAlpha() {
    Assert(!_alphaStack.empty());
    if (_alphaStack.empty()) return;
    const float oldFloatAlpha = _alphaStack.back();
    Assert(0.0f <= oldFloatAlpha && oldFloatAlpha <= 1.0f);
    const int oldIntAlpha = (int)(_currentColor >> 24);
    Assert(0 <= oldIntAlpha && oldIntAlpha <= 255);
    Assert(oldIntAlpha == AlphaByte(oldFloatAlpha));
    _alphaStack.pop_back();
    Assert(!_alphaStack.empty());
    if (_alphaStack.empty()) {
        // The bottom entry was popped: it comes back, so the stack stays usable.
        _alphaStack.push_back(1.0f);
    }
    const float newFloatAlpha = _alphaStack.back();
    Assert(0.0f <= newFloatAlpha && newFloatAlpha <= 1.0f);
    const int newIntAlpha = AlphaByte(newFloatAlpha);
    Assert(0 <= newIntAlpha && newIntAlpha <= 255);
    _currentColor = (_currentColor & 0x00FFFFFFu) | ((D3DCOLOR)newIntAlpha << 24);
}

// ---------------------------------------------------------------------------------------------
// Frame and states

void RenderDevice::BeginFrame() {
    Assert(_alphaStack.size() == 1);
    Assert(_colorStack.size() == 0);
    Assert(_alphaUseStack.size() == 0);
    if (_d3dDevice == NULL) return;
    _d3dDevice->Clear(0, NULL, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    _d3dDevice->BeginScene();
}

void RenderDevice::EndFrame() {
    Assert(_alphaStack.size() == 1);
    Assert(_colorStack.size() == 0);
    Assert(_alphaUseStack.size() == 0);
    if (_d3dDevice == NULL) return;
    _d3dDevice->EndScene();
    _d3dDevice->Present(NULL, NULL, NULL, NULL);
}

void RenderDevice::SetBlendMode(int mode) {
    if (_d3dDevice == NULL) return;
    if (mode == 0 || mode == 1) {
        _d3dDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        _d3dDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    } else if (mode == 2) {
        _d3dDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        _d3dDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    }
}

void RenderDevice::EnableAlphaBlend(bool on) {
    if (_d3dDevice) _d3dDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, on ? TRUE : FALSE);
}

void RenderDevice::EnableTexture(bool on) {
    if (_d3dDevice) _d3dDevice->SetTexture(0, on ? _currentTexture : NULL);
}

void RenderDevice::EnableFog(bool on) {
    if (_d3dDevice) _d3dDevice->SetRenderState(D3DRS_FOGENABLE, on ? TRUE : FALSE);
}

Color RenderDevice::GetFogColor() {
    DWORD dw = 0;
    if (_d3dDevice) Assert(_d3dDevice->GetRenderState(D3DRS_FOGCOLOR, &dw) == D3D_OK);
    return Color::FromWord(dw);
}

void RenderDevice::SetFogColor(const Color& color) {
    if (_d3dDevice == NULL) return;
    Assert(_d3dDevice->SetRenderState(D3DRS_FOGCOLOR, D3DCOLOR_ARGB(color.alpha, color.red, color.green, color.blue)) ==
           D3D_OK);
}

// ---------------------------------------------------------------------------------------------
// Textures

void RenderDevice::UploadTexture(IDirect3DTexture8** tex, int width, int height, bool alphaChannel,
                                 const D3DCOLOR* pixels) {
    *tex = nullptr;
    if (_d3dDevice == NULL) return;
    const D3DFORMAT texFormat = alphaChannel ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    Assert(_d3dDevice->CreateTexture(width, height, 1, 0, texFormat, D3DPOOL_MANAGED, tex) == D3D_OK);
    if (*tex == nullptr) return;
    D3DLOCKED_RECT locked;
    if ((*tex)->LockRect(0, &locked, NULL, 0) != D3D_OK) return;
    // Row by row: the locked pitch can be wider than a row of pixels.
    for (int row = 0; row < height; ++row) {
        std::memcpy(static_cast<BYTE*>(locked.pBits) + (size_t)row * (size_t)locked.Pitch,
                    pixels + (size_t)row * (size_t)width, (size_t)width * 4);
    }
    (*tex)->UnlockRect(0);
}

void RenderDevice::BindTexture(IDirect3DTexture8* tex, int addressMode, int linearFilter, int modulate) {
    _currentTexture = tex;
    if (_d3dDevice == NULL) return;
    _d3dDevice->SetTexture(0, tex);
    const DWORD address = addressMode == 1 ? D3DTADDRESS_CLAMP : D3DTADDRESS_WRAP;
    _d3dDevice->SetTextureStageState(0, D3DTSS_ADDRESSU, address);
    _d3dDevice->SetTextureStageState(0, D3DTSS_ADDRESSV, address);
    const DWORD filter = linearFilter != 0 ? D3DTEXF_LINEAR : D3DTEXF_POINT;
    _d3dDevice->SetTextureStageState(0, D3DTSS_MAGFILTER, filter);
    _d3dDevice->SetTextureStageState(0, D3DTSS_MINFILTER, filter);
    _d3dDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    _d3dDevice->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_NONE);
    _d3dDevice->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
    _d3dDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    _d3dDevice->SetTextureStageState(0, D3DTSS_COLOROP, modulate != 0 ? D3DTOP_MODULATE : D3DTOP_ADD);
}

void RenderDevice::BindTextureAsMask(IDirect3DTexture8* tex, int linearFilter) {
    _currentTexture = tex;
    if (_d3dDevice == NULL) return;
    _d3dDevice->SetTexture(0, tex);
    const DWORD filter = linearFilter != 0 ? D3DTEXF_LINEAR : D3DTEXF_POINT;
    _d3dDevice->SetTextureStageState(0, D3DTSS_MAGFILTER, filter);
    _d3dDevice->SetTextureStageState(0, D3DTSS_MINFILTER, filter);
    _d3dDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    _d3dDevice->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_NONE);
    _d3dDevice->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
    _d3dDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
}

void RenderDevice::ReleaseTexture(IDirect3DTexture8*& tex) {
    if (tex) tex->Release();
    if (_currentTexture == tex) _currentTexture = nullptr;
    tex = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Primitives

void RenderDevice::DrawQuad(float x1, float y1, float x2, float y2, const float uv[4][2]) {
    if (_d3dDevice == NULL) return;
    // Strip order: bottom-left, bottom-right, top-left, top-right.
    const Render::Vertex v[4] = {
        {x1, y1, 0.0f, _currentColor, uv[0][0], uv[0][1]},
        {x2, y1, 0.0f, _currentColor, uv[1][0], uv[1][1]},
        {x1, y2, 0.0f, _currentColor, uv[2][0], uv[2][1]},
        {x2, y2, 0.0f, _currentColor, uv[3][0], uv[3][1]},
    };
    _d3dDevice->SetVertexShader(Render::VERTEX_FVF);
    _d3dDevice->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, VERTEX_STRIDE);
}

void RenderDevice::DrawRect(int x, int y, int width, int height) {
    static const float uv[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    DrawQuad((float)x, (float)y, (float)(x + width), (float)(y + height), uv);
}

void RenderDevice::DrawRect(const Rect& rect) { DrawRect(rect.x, rect.y, rect.width, rect.height); }

void RenderDevice::DrawRectUV(const Rect& rect, float uLeft, float uRight, float vBottom, float vTop) {
    const float uv[4][2] = {{uLeft, vBottom}, {uRight, vBottom}, {uLeft, vTop}, {uRight, vTop}};
    DrawQuad((float)rect.x, (float)rect.y, (float)(rect.x + rect.width), (float)(rect.y + rect.height), uv);
}

void RenderDevice::DrawRectRotated(const Rect& rect, int rotation) {
    DrawRectUVRotated(rect, 0.0f, 1.0f, 0.0f, 1.0f, rotation);
}

void RenderDevice::DrawRectUVRotated(const Rect& rect, float L, float R, float B, float T, int rotation) {
    if (rotation < 0 || rotation > 3) return;
    const float table[4][4][2] = {
        {{L, B}, {R, B}, {L, T}, {R, T}},
        {{R, B}, {R, T}, {L, B}, {L, T}},
        {{R, T}, {L, T}, {R, B}, {L, B}},
        {{L, T}, {L, B}, {R, T}, {R, B}},
    };
    const bool turned = rotation == 1 || rotation == 3;
    const int width = turned ? rect.height : rect.width;
    const int height = turned ? rect.width : rect.height;
    DrawQuad((float)rect.x, (float)rect.y, (float)(rect.x + width), (float)(rect.y + height), table[rotation]);
}

// ---------------------------------------------------------------------------------------------
// Vertex batches

void RenderDevice::CreateVertexBuffer(IDirect3DVertexBuffer8** buffer, int count) {
    *buffer = nullptr;
    if (_d3dDevice == NULL || count <= 0) return;
    _d3dDevice->CreateVertexBuffer((UINT)count * VERTEX_STRIDE, 0, Render::VERTEX_FVF, D3DPOOL_MANAGED, buffer);
}

void RenderDevice::FillVertexBuffer(ParticleVertexBatch& batch) {
    // Never copy more vertices than the array holds.
    Assert(0 <= batch.vertexCount && batch.vertexCount <= (int)batch.vertices.size());
    if (batch.buffer == nullptr || batch.vertexCount <= 0 || batch.vertexCount > (int)batch.vertices.size()) return;
    BYTE* data = nullptr;
    if (batch.buffer->Lock(0, (UINT)batch.vertexCount * VERTEX_STRIDE, &data, 0) != D3D_OK) return;
    std::memcpy(data, batch.vertices.data(), (size_t)batch.vertexCount * VERTEX_STRIDE);
    batch.buffer->Unlock();
}

void RenderDevice::DrawVertexBuffer(ParticleVertexBatch& batch) {
    if (_d3dDevice == NULL) return;
    _d3dDevice->SetVertexShader(Render::VERTEX_FVF);
    _d3dDevice->SetStreamSource(0, batch.buffer, VERTEX_STRIDE);
    _d3dDevice->DrawPrimitive(D3DPT_TRIANGLELIST, 0, (UINT)std::max(batch.vertexCount, 0) / 3);
}

void RenderDevice::DrawVertexBatchStrip(ParticleVertexBatch& batch) {
    if (_d3dDevice == NULL) return;
    _d3dDevice->SetRenderState(D3DRS_ZENABLE, TRUE);
    _d3dDevice->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    _d3dDevice->SetVertexShader(Render::VERTEX_FVF);
    // Never read more vertices than the array holds.
    Assert(batch.stripTriangleCount + 2 <= (int)batch.vertices.size());
    if (batch.stripTriangleCount <= 0 || batch.stripTriangleCount + 2 > (int)batch.vertices.size()) return;
    _d3dDevice->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, (UINT)batch.stripTriangleCount, batch.vertices.data(),
                                VERTEX_STRIDE);
}
