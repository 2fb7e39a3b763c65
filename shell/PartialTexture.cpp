#include "shell/PartialTexture.h"

#include "core/Assert.h"
#include "shell/TextureFactory.h"
#include "shell/TextureRegistry.h"

// ---- use counting of views ----

void TextureView::AddReference() {
    Assert(_referenceCount >= 0);
    ++_referenceCount;
    Assert(_referenceCount > 0);
    if (_referenceCount == 1) Load();
}

void TextureView::RemoveReference() {
    Assert(_referenceCount > 0);
    if (_referenceCount <= 0) return;  // never below zero
    --_referenceCount;
    Assert(_referenceCount >= 0);
    if (_referenceCount == 0) Unload();
}

void TextureView::Load() {
    Assert(_using == NULL);
    _using = UsingPointer<Texture>(ObjectWeakPointer<Texture>(_base));
    Assert(_using != NULL);
}

void TextureView::Unload() {
    Assert(_using != NULL);
    _using = UsingPointer<Texture>();
}

void TextureView::CheckUnused(const char*) {
    Assert(_referenceCount == 0);
    // Give the base its use back all the same.
    _using = UsingPointer<Texture>();
}

bool TextureView::UsingBase() {
    Assert(_using != NULL);
    return _using != NULL;
}

// ---- partial ----

PartialTexture::PartialTexture(const ObjectSmartPointer<Texture>& base, const Rect& rect)
    : _x(rect.x), _y(rect.y), _width(rect.width), _height(rect.height) {
    _base = base;
    Assert(_x >= 0);
    Assert(_y >= 0);
    Assert(_width > 0);
    Assert(_height > 0);
    Assert(_base != NULL);
}

PartialTexture::PartialTexture(const ObjectWeakPointer<XmlElement>& element) {
    _x = element->GetIntAttribute("x");
    _y = element->GetIntAttribute("y");
    _width = element->GetIntAttribute("width");
    _height = element->GetIntAttribute("height");
    Assert(_x >= 0);
    Assert(_y >= 0);
    Assert(_width > 0);
    Assert(_height > 0);
    _base = TextureRegistry::GetTexture(element->GetStringAttribute("base"));
}

PartialTexture::~PartialTexture() { CheckUnused("_referenceCount == 0"); }

Rect PartialTexture::GetRectangle() { return Rect(0, 0, _width, _height); }

void PartialTexture::MapUV(float& u, float& v) {
    const Rect base = _base->GetRectangle();
    u = (static_cast<float>(_x) + u * static_cast<float>(_width)) / static_cast<float>(base.width);
    v = (static_cast<float>(_y) + v * static_cast<float>(_height)) / static_cast<float>(base.height);
}

FRect PartialTexture::MapSource(const FRect& src) {
    Assert(0.0f <= src.xStart && src.xStart <= src.xEnd && src.xEnd <= 1.0f);
    Assert(0.0f <= src.yStart && src.yStart <= src.yEnd && src.yEnd <= 1.0f);
    FRect mapped = src;
    MapUV(mapped.xStart, mapped.yStart);
    MapUV(mapped.xEnd, mapped.yEnd);
    return mapped;
}

void PartialTexture::DrawTriangle(float x1, float y1, float x2, float y2, float x3, float y3, float u1, float v1,
                                  float u2, float v2, float u3, float v3) {
    if (!UsingBase()) return;
    MapUV(u1, v1);
    MapUV(u2, v2);
    MapUV(u3, v3);
    _base->DrawTriangle(x1, y1, x2, y2, x3, y3, u1, v1, u2, v2, u3, v3);
}

void PartialTexture::DrawColoredQuad(const ColoredPoint& p1, const ColoredPoint& p2, const ColoredPoint& p3,
                                     const ColoredPoint& p4, const FRect& src) {
    if (!UsingBase()) return;
    _base->DrawColoredQuad(p1, p2, p3, p4, MapSource(src));
}

void PartialTexture::DrawQuad(const FPoint& p1, const FPoint& p2, const FPoint& p3, const FPoint& p4, const FRect& src) {
    if (!UsingBase()) return;
    _base->DrawQuad(p1, p2, p3, p4, MapSource(src));
}

void PartialTexture::Draw(const FRect& dst, const FRect& src) {
    if (!UsingBase()) return;
    _base->Draw(dst, MapSource(src));
}

void PartialTexture::Draw(const Rect& dst, const FRect& src) {
    if (!UsingBase()) return;
    _base->Draw(dst, MapSource(src));
}

void PartialTexture::Draw(const FPoint& p) {
    Draw(FRect(p._x, p._x + static_cast<float>(_width), p._y, p._y + static_cast<float>(_height)),
         FRect(0.0f, 1.0f, 0.0f, 1.0f));
}

void PartialTexture::Draw(const Point& p) { Draw(Rect(p.x, p.y, _width, _height), FRect(0.0f, 1.0f, 0.0f, 1.0f)); }

void PartialTexture::DrawSilhouette(const Rect& dst, const FRect& src) {
    if (!UsingBase()) return;
    _base->DrawSilhouette(dst, MapSource(src));
}

void PartialTexture::DrawSilhouette(const Point& p) {
    DrawSilhouette(Rect(p.x, p.y, _width, _height), FRect(0.0f, 1.0f, 0.0f, 1.0f));
}

bool PartialTexture::IsPointOpaque(const Point& p) {
    if (!UsingBase()) return false;
    if (!Rect(0, 0, _width, _height).Contains(p.x, p.y)) return false;
    return _base->IsPointOpaque(Point(p.x + _x, p.y + _y));
}

bool PartialTexture::IsPointTransparent(const Point& p) {
    if (!UsingBase()) return false;
    if (!Rect(0, 0, _width, _height).Contains(p.x, p.y)) return false;
    return _base->IsPointTransparent(Point(p.x + _x, p.y + _y));
}

// ---- transparent extension ----

TransparentExtensionTexture::TransparentExtensionTexture(const ObjectSmartPointer<Texture>& base, const Rect& innerRect,
                                                         const Rect& wholeRect)
    : _x(innerRect.x),
      _y(innerRect.y),
      _wholeWidth(wholeRect.width),
      _wholeHeight(wholeRect.height),
      _innerWidth(innerRect.width),
      _innerHeight(innerRect.height) {
    _base = base;
    Assert(_x >= 0);
    Assert(_y >= 0);
    Assert(_innerWidth > 0);
    Assert(_innerHeight > 0);
    Assert(_wholeWidth > 0);
    Assert(_wholeHeight > 0);
    Assert(wholeRect.x == 0);
    Assert(wholeRect.y == 0);
    Assert(_base != NULL);
}

TransparentExtensionTexture::TransparentExtensionTexture(const ObjectWeakPointer<XmlElement>& element) {
    _x = element->GetIntAttribute("x");
    _y = element->GetIntAttribute("y");
    _wholeWidth = element->GetIntAttribute("wholeWidth");
    _wholeHeight = element->GetIntAttribute("wholeHeight");
    _innerWidth = element->GetIntAttribute("innerWidth");
    _innerHeight = element->GetIntAttribute("innerHeight");
    Assert(_x >= 0);
    Assert(_y >= 0);
    Assert(_wholeWidth > 0);
    Assert(_wholeHeight > 0);
    Assert(_innerWidth > 0);
    Assert(_innerHeight > 0);
    Assert(_x + _innerWidth <= _wholeWidth);
    Assert(_y + _innerHeight <= _wholeHeight);
    const ObjectWeakPointer<XmlElement> inner = element->GetFirstChildElement("texture");
    Assert(inner != NULL);
    if (inner != NULL) _base = TextureFactory::Create(inner);
}

TransparentExtensionTexture::~TransparentExtensionTexture() { CheckUnused("_referenceCount == 0"); }

Rect TransparentExtensionTexture::GetRectangle() { return Rect(0, 0, _wholeWidth, _wholeHeight); }

Rect TransparentExtensionTexture::GetInnerRectangle() { return Rect(_x, _y, _innerWidth, _innerHeight); }

void TransparentExtensionTexture::DrawTriangle(float, float, float, float, float, float, float, float, float, float,
                                               float, float) {
    Assert(false);
}

void TransparentExtensionTexture::DrawColoredQuad(const ColoredPoint&, const ColoredPoint&, const ColoredPoint&,
                                                  const ColoredPoint&, const FRect&) {
    Assert(false);
}

void TransparentExtensionTexture::DrawQuad(const FPoint&, const FPoint&, const FPoint&, const FPoint&, const FRect&) {
    Assert(false);
}

void TransparentExtensionTexture::Draw(const FRect&, const FRect&) { Assert(false); }

void TransparentExtensionTexture::Draw(const Rect&, const FRect&) { Assert(false); }

void TransparentExtensionTexture::Draw(const FPoint& p) {
    if (!UsingBase()) return;
    _base->Draw(FPoint(p._x + static_cast<float>(_x), p._y + static_cast<float>(_y)));
}

void TransparentExtensionTexture::Draw(const Point& p) {
    if (!UsingBase()) return;
    _base->Draw(Point(p.x + _x, p.y + _y));
}

void TransparentExtensionTexture::DrawSilhouette(const Rect&, const FRect&) { Assert(false); }

void TransparentExtensionTexture::DrawSilhouette(const Point& p) {
    if (!UsingBase()) return;
    _base->DrawSilhouette(Point(p.x + _x, p.y + _y));
}

bool TransparentExtensionTexture::IsPointOpaque(const Point& p) {
    if (!UsingBase()) return false;
    if (!Rect(0, 0, _wholeWidth, _wholeHeight).Contains(p.x, p.y)) return false;
    if (!Rect(_x, _y, _innerWidth, _innerHeight).Contains(p.x, p.y)) return false;
    return _base->IsPointOpaque(Point(p.x - _x, p.y - _y));
}

bool TransparentExtensionTexture::IsPointTransparent(const Point& p) {
    if (!UsingBase()) return false;
    if (!Rect(0, 0, _wholeWidth, _wholeHeight).Contains(p.x, p.y)) return false;
    if (!Rect(_x, _y, _innerWidth, _innerHeight).Contains(p.x, p.y)) return true;
    return _base->IsPointTransparent(Point(p.x - _x, p.y - _y));
}
