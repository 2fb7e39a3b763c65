#pragma once
// The simple texture kind: an image, one device texture made from it, and how to bind it.

#include <string>

#include "core/Point.h"
#include "core/Rect.h"
#include "shell/Image.h"
#include "shell/TextureDevice.h"

class OldTexture {
public:
    OldTexture() = default;
    // The copy shares the device texture and takes no reference of its own.
    OldTexture(const OldTexture& other) = default;
    OldTexture& operator=(const OldTexture& other) = default;
    virtual ~OldTexture();

    // Needs the picture of the image in the picture buffer (upload right after loading it).
    virtual void Upload();
    void Bind();
    void BindAsMask();
    void Release();

    IDirect3DTexture8* _tex = nullptr;
    std::int32_t _linearFilter = 1;
    std::int32_t _addressMode = 1;
    std::int32_t _modulate = 1;
    Image image;
};

// A picture of any size at the origin of a texture that may be larger.
class RectangleTexture : public OldTexture {
public:
    RectangleTexture() = default;
    explicit RectangleTexture(bool needInMemory);
    explicit RectangleTexture(const std::string& path);
    RectangleTexture(const RectangleTexture&) = delete;
    RectangleTexture& operator=(const RectangleTexture&) = delete;
    ~RectangleTexture() override;

    void Load(const std::string& path);
    void LoadInfo(const std::string& path);
    void Upload() override;

    Rect GetImageRect() const { return Rect(0, 0, _imageWidth, _imageHeight); }
    Rect GetTextureRect() const { return Rect(0, 0, _textureWidth, _textureHeight); }
    // At picture size with the bottom-left corner at the point; bind first.
    void Draw(const Point& point);

    // Whether the map has the pixel's bit; false outside the picture or without a map.
    bool IsOpaqueInMap(int x, int y) const;

    std::int32_t _textureWidth = 0;
    std::int32_t _textureHeight = 0;
    std::int32_t _imageWidth = 0;
    std::int32_t _imageHeight = 0;
    bool _needInMemory = false;
    std::int32_t _opacityLevel = 128;
    unsigned char* _opacityMap = nullptr;
    std::int32_t _opacityMapStride = 0;
};
