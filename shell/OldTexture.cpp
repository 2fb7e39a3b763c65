#include "shell/OldTexture.h"

#include <cstring>

#include "core/Assert.h"
#include "shell/ImageLoader.h"

OldTexture::~OldTexture() { image.FreeData(); }

void OldTexture::Upload() {
    Assert(image.width > 0 && (image.width & (image.width - 1)) == 0);
    Assert(image.height > 0 && (image.height & (image.height - 1)) == 0);
    TextureDevice::UploadTexture(*this);
    image.FreeData();
}

void OldTexture::Bind() { TextureDevice::BindTexture(*this); }

void OldTexture::BindAsMask() { TextureDevice::BindTextureAsMask(*this); }

void OldTexture::Release() { TextureDevice::ReleaseTexture(*this); }

RectangleTexture::RectangleTexture(bool needInMemory) : _needInMemory(needInMemory) {
    if (needInMemory) _opacityLevel = 128;
}

RectangleTexture::RectangleTexture(const std::string& path) { Load(path); }

RectangleTexture::~RectangleTexture() {
    image.FreeData();
    delete[] _opacityMap;
    _opacityMap = nullptr;
}

void RectangleTexture::Load(const std::string& path) {
    ImageLoader::Load(image, path);
    _imageWidth = image.width;
    _imageHeight = image.height;
    if (TextureDevice::NeedPow2Textures()) Image::ExpandToPowerOfTwo(image);
    _textureWidth = image.width;
    _textureHeight = image.height;
    image.alphaChannel = true;
}

namespace {
int PowerOfTwoUpTo4096(int value) {
    int result = 1;
    while (result < value && result < 4096) result <<= 1;
    return result;
}
}  // namespace

void RectangleTexture::LoadInfo(const std::string& path) {
    ImageLoader::LoadInfo(image, path);
    _imageWidth = image.width;
    _imageHeight = image.height;
    _textureWidth = PowerOfTwoUpTo4096(_imageWidth);
    _textureHeight = PowerOfTwoUpTo4096(_imageHeight);
}

void RectangleTexture::Upload() {
    TextureDevice::UploadTexture(*this);
    if (!_needInMemory) {
        image.FreeData();
        return;
    }
    if (_opacityMap != nullptr) return;
    if (_imageWidth <= 0 || _imageHeight <= 0) return;
    _opacityMapStride = (_imageWidth + 7) / 8;
    const std::size_t size = static_cast<std::size_t>(_opacityMapStride) * _imageHeight;
    _opacityMap = new unsigned char[size];
    std::memset(_opacityMap, 0, size);
    Assert(image.alphaChannel == true);
    Assert(image.components == 4);
    const unsigned char* pixels = ImageBuffers::Picture();
    for (int y = 0; y < _imageHeight; ++y) {
        for (int x = 0; x < _imageWidth; ++x) {
            const std::size_t index = static_cast<std::size_t>(y) * _textureWidth + x;
            if (pixels[index * 4 + 3] >= _opacityLevel) {
                _opacityMap[y * _opacityMapStride + x / 8] |= static_cast<unsigned char>(1u << (x % 8));
            }
        }
    }
}

void RectangleTexture::Draw(const Point& point) {
    const Rect rect = GetImageRect().MovedTo(point.x, point.y);
    const float uRight = _textureWidth > 0 ? static_cast<float>(_imageWidth) / static_cast<float>(_textureWidth) : 0.0f;
    const float vTop = _textureHeight > 0 ? static_cast<float>(_imageHeight) / static_cast<float>(_textureHeight) : 0.0f;
    TextureDevice::DrawRectUV(rect, 0.0f, uRight, 0.0f, vTop);
}

bool RectangleTexture::IsOpaqueInMap(int x, int y) const {
    if (_opacityMap == nullptr || !GetImageRect().Contains(x, y)) return false;
    return (_opacityMap[y * _opacityMapStride + x / 8] >> (x % 8)) & 1;
}
