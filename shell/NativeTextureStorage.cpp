#include "shell/NativeTextureStorage.h"

#include <cstring>

#include "core/Assert.h"
#include "shell/Image.h"
#include "shell/ImageLoader.h"

NativeTextureStorage::NativeTextureStorage(const ObjectWeakPointer<XmlElement>& element,
                                           const ObjectSmartPointer<NativeTextureLoader>& loader)
    : _loader(loader) {
    _opacityLevel = element->GetIntAttributeOrDef("opacityLevel", 128);
    Assert(0 <= _opacityLevel && _opacityLevel <= 256);
}

Rect NativeTextureStorage::GetRectangle() {
    Assert(_width > 0);
    Assert(_height > 0);
    return Rect(0, 0, _width, _height);
}

bool NativeTextureStorage::IsPointOpaque(int x, int y) {
    Assert(_opacityMap.size() != 0);
    if (_opacityMap.empty() || !Rect(0, 0, _width, _height).Contains(x, y)) return false;
    const std::size_t i = static_cast<std::size_t>(y) * _width + x;
    if (i / 8 >= _opacityMap.size()) return false;  // a map of another size
    return (_opacityMap[i / 8] >> (i % 8)) & 1;
}

bool NativeTextureStorage::IsPointTransparent(int x, int y) {
    Assert(_opacityMap.size() != 0);
    if (_opacityMap.empty() || !Rect(0, 0, _width, _height).Contains(x, y)) return false;
    const std::size_t i = static_cast<std::size_t>(y) * _width + x;
    if (i / 8 >= _opacityMap.size()) return false;  // a map of another size
    return !((_opacityMap[i / 8] >> (i % 8)) & 1);
}

void NativeTextureStorage::CheckSize(bool wrap) {
    Assert(_width > 0);
    Assert(_height > 0);
    if (wrap) {
        Assert((_width & (_width - 1)) == 0);
        Assert((_height & (_height - 1)) == 0);
    }
}

void NativeTextureStorage::BuildOpacityMap(const unsigned char* pixels) {
    Assert(_width > 0);
    Assert(_height > 0);
    if (!_opacityMap.empty() || _width <= 0 || _height <= 0) return;
    const std::size_t count = static_cast<std::size_t>(_width) * _height;
    _opacityMap.assign((count + 7) / 8, 0);
    for (std::size_t i = 0; i < count; ++i) {
        if (pixels[4 * i + 3] >= _opacityLevel) _opacityMap[i / 8] |= static_cast<unsigned char>(1u << (i % 8));
    }
}

void NativeTextureStorage::UploadPixels(const unsigned char* pixels) {
    BuildOpacityMap(pixels);
    _loader->CreateTexture(pixels, _width, _height);
}

// ---- memory ----

NativeTextureMemoryStorage::NativeTextureMemoryStorage(const ObjectWeakPointer<XmlElement>& element,
                                                       const ObjectSmartPointer<NativeTextureLoader>& loader, bool wrap)
    : NativeTextureStorage(element, loader) {
    const std::string path = element->GetStringAttribute("path");
    Image image;
    ImageLoader::Load(image, path);
    Assert(image.components == 4);
    if (image.components != 4) return;  // nothing was loaded
    _width = image.width;
    _height = image.height;
    CheckSize(wrap);
    const unsigned char* picture = ImageBuffers::Picture();
    _data.assign(picture, picture + static_cast<std::size_t>(_height) * image.components * _width);
}

NativeTextureReverseMemoryStorage::NativeTextureReverseMemoryStorage(const ObjectWeakPointer<XmlElement>& element,
                                                                     const ObjectSmartPointer<NativeTextureLoader>& loader,
                                                                     bool wrap)
    : NativeTextureMemoryStorage(element, loader, wrap) {}

NativeTextureReverseMemoryStorage::~NativeTextureReverseMemoryStorage() { Assert(_data.size() > 0); }

void NativeTextureReverseMemoryStorage::Load() {
    Assert(_data.size() > 0);
    if (_data.empty()) return;
    UploadPixels(_data.data());
    if (!_loader->HasTexture()) return;  // keep the pixels when the device refused them
    std::vector<unsigned char>().swap(_data);
}

void NativeTextureReverseMemoryStorage::Unload() { _loader->CopyToMemoryAndRelease(_data, _width, _height); }

NativeTextureKeepingMemoryStorage::NativeTextureKeepingMemoryStorage(const ObjectWeakPointer<XmlElement>& element,
                                                                     const ObjectSmartPointer<NativeTextureLoader>& loader,
                                                                     bool wrap)
    : NativeTextureMemoryStorage(element, loader, wrap) {
    Assert(_data.size() > 0);
}

void NativeTextureKeepingMemoryStorage::Load() {
    if (_data.empty()) return;
    UploadPixels(_data.data());
}

void NativeTextureKeepingMemoryStorage::Unload() { _loader->ReleaseTexture(); }

// ---- disk ----

NativeTextureDiskStorage::NativeTextureDiskStorage(const ObjectWeakPointer<XmlElement>& element,
                                                   const ObjectSmartPointer<NativeTextureLoader>& loader)
    : NativeTextureStorage(element, loader), _path(element->GetStringAttribute("path")) {}

bool NativeTextureDiskStorage::LoadImage() {
    Image image;
    ImageLoader::Load(image, _path);
    Assert(image.components == 4);
    if (image.components != 4) return false;
    _width = image.width;
    _height = image.height;
    return true;
}

void NativeTextureDiskStorage::Unload() { _loader->ReleaseTexture(); }

NativeTexturePreloadDiskStorage::NativeTexturePreloadDiskStorage(const ObjectWeakPointer<XmlElement>& element,
                                                                 const ObjectSmartPointer<NativeTextureLoader>& loader,
                                                                 bool wrap)
    : NativeTextureDiskStorage(element, loader) {
    Image image;
    ImageLoader::LoadInfo(image, _path);
    _width = image.width;
    _height = image.height;
    CheckSize(wrap);
}

void NativeTexturePreloadDiskStorage::Load() {
    const int oldWidth = _width;
    const int oldHeight = _height;
    if (!LoadImage()) return;
    Assert(_width == oldWidth);
    Assert(_height == oldHeight);
    // The opacity map was laid out for the old size: a picture that changed gets a new one.
    if (_width != oldWidth || _height != oldHeight) _opacityMap.clear();
    UploadPixels(ImageBuffers::Picture());
}

NativeTextureOnQueryDiskStorage::NativeTextureOnQueryDiskStorage(const ObjectWeakPointer<XmlElement>& element,
                                                                 const ObjectSmartPointer<NativeTextureLoader>& loader,
                                                                 bool wrap)
    : NativeTextureDiskStorage(element, loader), _wrap(wrap) {}

void NativeTextureOnQueryDiskStorage::Load() {
    Assert(_width == 0);
    Assert(_height == 0);
    if (!LoadImage()) return;
    CheckSize(_wrap);
    UploadPixels(ImageBuffers::Picture());
    Assert(_width > 0);
    Assert(_height > 0);
}

void NativeTextureOnQueryDiskStorage::Unload() {
    Assert(_width > 0);
    Assert(_height > 0);
    if (_loader->HasTexture()) NativeTextureDiskStorage::Unload();
    _width = 0;
    _height = 0;
}
