#pragma once
// A texture backed by one device texture, assembled from its strategies, storage and loader.

#include "core/XmlElement.h"
#include "shell/NativeTextureLoader.h"
#include "shell/NativeTextureStorage.h"
#include "shell/NativeTextureStrategies.h"
#include "shell/Texture.h"

class NativeTexture : public Texture {
public:
    NativeTexture(const ObjectWeakPointer<XmlElement>& element, const ObjectSmartPointer<NativeTextureLoader>& loader);

    void Load() override;
    void Unload() override;
    Rect GetRectangle() override;
    bool IsPointOpaque(const Point& p) override;
    bool IsPointTransparent(const Point& p) override;

    void DrawTriangle(float x1, float y1, float x2, float y2, float x3, float y3, float u1, float v1, float u2,
                      float v2, float u3, float v3) override;
    void DrawColoredQuad(const ColoredPoint& p1, const ColoredPoint& p2, const ColoredPoint& p3, const ColoredPoint& p4,
                         const FRect& src) override;
    void DrawQuad(const FPoint& p1, const FPoint& p2, const FPoint& p3, const FPoint& p4, const FRect& src) override;
    void Draw(const FRect& dst, const FRect& src) override;
    void Draw(const Rect& dst, const FRect& src) override;
    void Draw(const FPoint& p) override;
    void Draw(const Point& p) override;
    void DrawSilhouette(const Rect& dst, const FRect& src) override;
    void DrawSilhouette(const Point& p) override;

    const ObjectSmartPointer<NativeTextureStorage>& GetStorage() const { return _storage; }
    const ObjectSmartPointer<NativeTextureLoader>& GetLoader() const { return _loader; }
    const ObjectSmartPointer<NativeTextureFilter>& GetFilter() const { return _filter; }
    const ObjectSmartPointer<NativeTextureAddress>& GetAddress() const { return _address; }
    const ObjectSmartPointer<NativeTextureColorOp>& GetColorOp() const { return _colorOp; }

protected:
    // The share of the device texture that the picture fills; (1, 1) when it fills all of it.
    virtual void GetUVScale(float& scaleU, float& scaleV) = 0;

private:
    // Binds and sets the stage; false when there is nothing to draw.
    bool Begin(bool silhouette);
    void End();
    void CheckSource(const FRect& src);
    void EmitQuad(const FPoint& p1, const FPoint& p2, const FPoint& p3, const FPoint& p4, const FRect& src,
                  const D3DCOLOR* colors);
    void DrawWhole(float x, float y, bool silhouette);

    ObjectSmartPointer<NativeTextureFilter> _filter;
    ObjectSmartPointer<NativeTextureAddress> _address;
    ObjectSmartPointer<NativeTextureColorOp> _colorOp;
    ObjectSmartPointer<NativeTextureStorage> _storage;
    ObjectSmartPointer<NativeTextureLoader> _loader;
};

// For devices that need power-of-two textures: the picture fills a corner of the device texture.
class Pow2NativeTexture : public NativeTexture {
public:
    explicit Pow2NativeTexture(const ObjectWeakPointer<XmlElement>& element);

protected:
    void GetUVScale(float& scaleU, float& scaleV) override;
};

class AsIsNativeTexture : public NativeTexture {
public:
    explicit AsIsNativeTexture(const ObjectWeakPointer<XmlElement>& element);

protected:
    void GetUVScale(float& scaleU, float& scaleV) override;
};
