#pragma once
// Views of another texture: a sub-rectangle of it, or it placed inside a larger transparent area.

#include "core/XmlElement.h"
#include "shell/Texture.h"

// Counts its own uses and keeps its base loaded exactly while it is used itself.
class TextureView : public Texture {
public:
    void AddReference() override;
    void RemoveReference() override;
    void Load() override;
    void Unload() override;
    int GetReferenceCount() const { return _referenceCount; }

protected:
    TextureView() = default;
    // Reports a view that is still in use.
    void CheckUnused(const char* text);
    // The base while loaded; checks "_using != NULL" and gives false when not loaded.
    bool UsingBase();

    ObjectSmartPointer<Texture> _base;
    UsingPointer<Texture> _using;
    int _referenceCount = 0;
};

class PartialTexture : public TextureView {
public:
    PartialTexture(const ObjectSmartPointer<Texture>& base, const Rect& rect);
    explicit PartialTexture(const ObjectWeakPointer<XmlElement>& element);
    ~PartialTexture() override;

    Rect GetRectangle() override;
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
    bool IsPointOpaque(const Point& p) override;
    bool IsPointTransparent(const Point& p) override;

    // The base's texture coordinates of one of this texture's.
    void MapUV(float& u, float& v);
    FRect MapSource(const FRect& src);

private:
    int _x = 0;
    int _y = 0;
    int _width = 0;
    int _height = 0;
};

class TransparentExtensionTexture : public TextureView {
public:
    TransparentExtensionTexture(const ObjectSmartPointer<Texture>& base, const Rect& innerRect, const Rect& wholeRect);
    explicit TransparentExtensionTexture(const ObjectWeakPointer<XmlElement>& element);
    ~TransparentExtensionTexture() override;

    Rect GetRectangle() override;
    Rect GetInnerRectangle() override;
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
    bool IsPointOpaque(const Point& p) override;
    bool IsPointTransparent(const Point& p) override;

private:
    int _x = 0;
    int _y = 0;
    int _wholeWidth = 0;
    int _wholeHeight = 0;
    int _innerWidth = 0;
    int _innerHeight = 0;
};
