#pragma once
// Owns a native texture's device texture: creates it at the size the device accepts, fills it,
// copies it back, releases it, binds it, and counts the video memory of all of them.

#include <vector>

#include "core/Object.h"
#include "shell/TextureDevice.h"

class NativeTextureLoader : public Interface {
public:
    NativeTextureLoader(IDirect3DDevice8* const* device);
    ~NativeTextureLoader() override;

    virtual void AdjustSize(int& width, int& height) = 0;
    // Pixel blocks: four bytes a pixel, bottom row first; the destination rows lie pitch bytes apart.
    virtual void Fill(const unsigned char* source, unsigned char* destination, int pitch, int width, int height) = 0;
    virtual void CopyToMemory(const unsigned char* source, int pitch, std::vector<unsigned char>& memory, int width,
                              int height) = 0;
    virtual void GetFactors(float& factorX, float& factorY) = 0;

    void CreateTexture(const unsigned char* pixels, int imageWidth, int imageHeight);
    void CopyToMemoryAndRelease(std::vector<unsigned char>& memory, int width, int height);
    void ReleaseTexture();
    void Bind();
    void BindSilhouette();
    void Unbind();

    bool HasTexture() const { return _texture != nullptr; }
    IDirect3DTexture8* GetTexture() const { return _texture; }
    int GetTextureSize() const { return _textureSize; }

    static int GetCurrentLoaded() { return _currentLoaded; }
    static int GetMaxLoaded() { return _maxLoaded; }
    // Logs the peak; every texture must be gone by then.
    static void ReportMaxVideoMemory();
    static void ResetCounters();

protected:
    IDirect3DDevice8* Device() const { return *_device; }

private:
    IDirect3DDevice8* const* _device = nullptr;
    IDirect3DTexture8* _texture = nullptr;
    int _textureSize = 0;

    static int _currentLoaded;
    static int _maxLoaded;
};

class NativeTextureIdentityLoader : public NativeTextureLoader {
public:
    explicit NativeTextureIdentityLoader(IDirect3DDevice8* const* device) : NativeTextureLoader(device) {}
    void AdjustSize(int& width, int& height) override;
    void Fill(const unsigned char* source, unsigned char* destination, int pitch, int width, int height) override;
    void CopyToMemory(const unsigned char* source, int pitch, std::vector<unsigned char>& memory, int width,
                      int height) override;
    void GetFactors(float& factorX, float& factorY) override;
};

class NativeTexturePower2Loader : public NativeTextureLoader {
public:
    explicit NativeTexturePower2Loader(IDirect3DDevice8* const* device) : NativeTextureLoader(device) {}
    void AdjustSize(int& width, int& height) override;
    void Fill(const unsigned char* source, unsigned char* destination, int pitch, int width, int height) override;
    void CopyToMemory(const unsigned char* source, int pitch, std::vector<unsigned char>& memory, int width,
                      int height) override;
    void GetFactors(float& factorX, float& factorY) override;

private:
    float _factorX = 0.0f;
    float _factorY = 0.0f;
};
