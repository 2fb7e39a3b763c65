#include "shell/NativeTextureLoader.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/Assert.h"
#include "core/HtmlLog.h"
#include "shell/CheckText.h"

int NativeTextureLoader::_currentLoaded = 0;
int NativeTextureLoader::_maxLoaded = 0;

NativeTextureLoader::NativeTextureLoader(IDirect3DDevice8* const* device) : _device(device) {}

NativeTextureLoader::~NativeTextureLoader() {
    Assert(_texture == NULL);
    // Never leak a device texture, nor leave it counted.
    if (_texture != nullptr) {
        _texture->Release();
        _texture = nullptr;
        _currentLoaded -= _textureSize;
    }
}

void NativeTextureLoader::CreateTexture(const unsigned char* pixels, int imageWidth, int imageHeight) {
    Assert(imageWidth > 0);
    Assert(imageHeight > 0);
    if (imageWidth <= 0 || imageHeight <= 0) return;
    int textureWidth = imageWidth;
    int textureHeight = imageHeight;
    AdjustSize(textureWidth, textureHeight);
    Assert(_texture == NULL);
    Assert(_device != NULL);
    // A texture that is still there is never leaked nor counted twice.
    if (_texture != nullptr || _device == nullptr || Device() == nullptr) return;
    const HRESULT created = Device()->CreateTexture(static_cast<UINT>(textureWidth), static_cast<UINT>(textureHeight), 1,
                                                    0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &_texture);
    CHECK_TEXT(created == D3D_OK,
               "_device->CreateTexture(textureWidth, textureHeight, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &_texture) == D3D_OK");
    Assert(_texture != NULL);
    if (created != D3D_OK || _texture == nullptr) {
        _texture = nullptr;
        return;
    }
    D3DLOCKED_RECT lockRect;
    const HRESULT locked = _texture->LockRect(0, &lockRect, 0, 0);
    CHECK_TEXT(locked == D3D_OK, "_texture->LockRect(0, &lockRect, 0, 0) == D3D_OK");
    if (locked == D3D_OK) {
        Fill(pixels, static_cast<unsigned char*>(lockRect.pBits), lockRect.Pitch, imageWidth, imageHeight);
        const HRESULT unlocked = _texture->UnlockRect(0);
        CHECK_TEXT(unlocked == D3D_OK, "_texture->UnlockRect(0) == D3D_OK");
    }
    _textureSize = textureWidth * textureHeight * 4;
    Assert(_textureSize > 0);
    _currentLoaded += _textureSize;
    _maxLoaded = std::max(_maxLoaded, _currentLoaded);
}

void NativeTextureLoader::CopyToMemoryAndRelease(std::vector<unsigned char>& memory, int width, int height) {
    Assert(_texture != NULL);
    if (_texture == nullptr) return;
    D3DLOCKED_RECT lockRect;
    const HRESULT locked = _texture->LockRect(0, &lockRect, 0, 0);
    CHECK_TEXT(locked == D3D_OK, "_texture->LockRect(0, &lockRect, 0, 0) == D3D_OK");
    if (locked == D3D_OK) {
        CopyToMemory(static_cast<const unsigned char*>(lockRect.pBits), lockRect.Pitch, memory, width, height);
        const HRESULT unlocked = _texture->UnlockRect(0);
        CHECK_TEXT(unlocked == D3D_OK, "_texture->UnlockRect(0) == D3D_OK");
    }
    ReleaseTexture();
}

void NativeTextureLoader::ReleaseTexture() {
    Assert(_texture != NULL);
    if (_texture == nullptr) return;
    const ULONG left = _texture->Release();
    CHECK_TEXT(left == 0, "_texture->Release() == 0");
    _texture = nullptr;
    Assert(_textureSize > 0);
    _currentLoaded -= _textureSize;
}

void NativeTextureLoader::Bind() {
    IDirect3DDevice8* device = Device();
    if (device == nullptr) return;
    device->SetTexture(0, _texture);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
}

void NativeTextureLoader::BindSilhouette() {
    IDirect3DDevice8* device = Device();
    if (device == nullptr) return;
    device->SetTexture(0, _texture);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
}

void NativeTextureLoader::Unbind() {
    IDirect3DDevice8* device = Device();
    if (device != nullptr) device->SetTexture(0, nullptr);
}

void NativeTextureLoader::ReportMaxVideoMemory() {
    Assert(_currentLoaded == 0);
    HtmlLog::WriteLine("Max video memory usage: " + std::to_string(_maxLoaded));
}

void NativeTextureLoader::ResetCounters() {
    _currentLoaded = 0;
    _maxLoaded = 0;
}

// ---- identity ----

void NativeTextureIdentityLoader::AdjustSize(int& width, int& height) {
    Assert(width > 0);
    Assert(height > 0);
}

void NativeTextureIdentityLoader::Fill(const unsigned char* source, unsigned char* destination, int pitch, int width,
                                       int height) {
    const std::size_t row = static_cast<std::size_t>(width) * 4;
    for (int y = 0; y < height; ++y) {
        std::memcpy(destination + static_cast<std::size_t>(pitch) * y, source + row * y, row);
    }
}

void NativeTextureIdentityLoader::CopyToMemory(const unsigned char* source, int pitch, std::vector<unsigned char>& memory,
                                               int width, int height) {
    Assert(memory.size() == 0);
    memory.assign(static_cast<std::size_t>(width) * height * 4, 0);
    Assert(memory.size() > 0);
    const std::size_t row = static_cast<std::size_t>(width) * 4;
    for (int y = 0; y < height; ++y) {
        std::memcpy(memory.data() + row * y, source + static_cast<std::size_t>(pitch) * y, row);
    }
}

void NativeTextureIdentityLoader::GetFactors(float& factorX, float& factorY) {
    Assert(false);
    factorX = 1.0f;
    factorY = 1.0f;
}

// ---- power of two ----

namespace {
int RoundUpToPowerOfTwo(int value) {
    Assert(value > 0);
    unsigned v = static_cast<unsigned>(value) - 1;
    v |= v >> 1;
    v |= v >> 2;
    v |= v >> 4;
    v |= v >> 8;
    v |= v >> 16;
    value = static_cast<int>(v + 1);
    Assert((value & (value - 1)) == 0);
    return value;
}
}  // namespace

void NativeTexturePower2Loader::AdjustSize(int& width, int& height) {
    width = RoundUpToPowerOfTwo(width);
    height = RoundUpToPowerOfTwo(height);
}

void NativeTexturePower2Loader::Fill(const unsigned char* source, unsigned char* destination, int pitch, int width,
                                     int height) {
    int textureWidth = width;
    int textureHeight = height;
    AdjustSize(textureWidth, textureHeight);
    const std::size_t row = static_cast<std::size_t>(width) * 4;
    for (int y = 0; y < textureHeight; ++y) {
        unsigned char* out = destination + static_cast<std::size_t>(pitch) * y;
        std::memset(out, 0, static_cast<std::size_t>(textureWidth) * 4);
        if (y < height) std::memcpy(out, source + row * y, row);
    }
    _factorX = static_cast<float>(width) / static_cast<float>(textureWidth);
    _factorY = static_cast<float>(height) / static_cast<float>(textureHeight);
    Assert(0.0f <= _factorX && _factorX <= 1.0f);
    Assert(0.0f <= _factorY && _factorY <= 1.0f);
}

void NativeTexturePower2Loader::CopyToMemory(const unsigned char* source, int pitch, std::vector<unsigned char>& memory,
                                             int width, int height) {
    Assert(memory.size() == 0);
    memory.assign(static_cast<std::size_t>(width) * height * 4, 0);
    Assert(memory.size() > 0);
    const std::size_t row = static_cast<std::size_t>(width) * 4;
    for (int y = 0; y < height; ++y) {
        std::memcpy(memory.data() + row * y, source + static_cast<std::size_t>(pitch) * y, row);
    }
}

void NativeTexturePower2Loader::GetFactors(float& factorX, float& factorY) {
    factorX = _factorX;
    factorY = _factorY;
}
