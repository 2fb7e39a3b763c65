#pragma once
// Where a native texture's pixels live while it is off the device, its size and its opacity map.

#include <string>
#include <vector>

#include "core/Object.h"
#include "core/ObjectSmartPointer.h"
#include "core/Rect.h"
#include "core/XmlElement.h"
#include "shell/NativeTextureLoader.h"

class NativeTextureStorage : public Interface {
public:
    NativeTextureStorage(const ObjectWeakPointer<XmlElement>& element, const ObjectSmartPointer<NativeTextureLoader>& loader);

    virtual void Load() = 0;
    virtual void Unload() = 0;

    Rect GetRectangle();
    bool IsPointOpaque(int x, int y);
    bool IsPointTransparent(int x, int y);
    void CheckSize(bool wrap);
    void BuildOpacityMap(const unsigned char* pixels);
    void UploadPixels(const unsigned char* pixels);

    const std::vector<unsigned char>& GetOpacityMap() const { return _opacityMap; }
    int GetOpacityLevel() const { return _opacityLevel; }
    int GetWidth() const { return _width; }
    int GetHeight() const { return _height; }

protected:
    std::vector<unsigned char> _opacityMap;
    int _opacityLevel = 128;
    ObjectSmartPointer<NativeTextureLoader> _loader;
    int _width = 0;
    int _height = 0;
};

class NativeTextureMemoryStorage : public NativeTextureStorage {
public:
    NativeTextureMemoryStorage(const ObjectWeakPointer<XmlElement>& element,
                               const ObjectSmartPointer<NativeTextureLoader>& loader, bool wrap);
    const std::vector<unsigned char>& GetData() const { return _data; }

protected:
    std::vector<unsigned char> _data;
};

// The pixels live either in memory or on the device, never in both.
class NativeTextureReverseMemoryStorage : public NativeTextureMemoryStorage {
public:
    NativeTextureReverseMemoryStorage(const ObjectWeakPointer<XmlElement>& element,
                                      const ObjectSmartPointer<NativeTextureLoader>& loader, bool wrap);
    ~NativeTextureReverseMemoryStorage() override;
    void Load() override;
    void Unload() override;
};

// The pixels stay in memory all the time.
class NativeTextureKeepingMemoryStorage : public NativeTextureMemoryStorage {
public:
    NativeTextureKeepingMemoryStorage(const ObjectWeakPointer<XmlElement>& element,
                                      const ObjectSmartPointer<NativeTextureLoader>& loader, bool wrap);
    void Load() override;
    void Unload() override;
};

class NativeTextureDiskStorage : public NativeTextureStorage {
public:
    NativeTextureDiskStorage(const ObjectWeakPointer<XmlElement>& element, const ObjectSmartPointer<NativeTextureLoader>& loader);
    void Unload() override;

protected:
    // Loads the picture into the picture buffer and takes its size; false when it failed.
    bool LoadImage();
    std::string _path;
};

// The size is read from the file header at construction.
class NativeTexturePreloadDiskStorage : public NativeTextureDiskStorage {
public:
    NativeTexturePreloadDiskStorage(const ObjectWeakPointer<XmlElement>& element,
                                    const ObjectSmartPointer<NativeTextureLoader>& loader, bool wrap);
    void Load() override;
};

// The size is known only while loaded.
class NativeTextureOnQueryDiskStorage : public NativeTextureDiskStorage {
public:
    NativeTextureOnQueryDiskStorage(const ObjectWeakPointer<XmlElement>& element,
                                    const ObjectSmartPointer<NativeTextureLoader>& loader, bool wrap);
    void Load() override;
    void Unload() override;

private:
    bool _wrap = false;
};
