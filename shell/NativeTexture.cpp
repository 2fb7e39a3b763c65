#include "shell/NativeTexture.h"

#include "core/Assert.h"

NativeTexture::NativeTexture(const ObjectWeakPointer<XmlElement>& element,
                             const ObjectSmartPointer<NativeTextureLoader>& loader)
    : _loader(loader) {
    const std::string filter = element->GetStringAttributeOrDef("filter", "linear");
    if (filter == "linear" || filter == "bilinear") {
        _filter = ObjectSmartPointer<NativeTextureFilter>(new NativeTextureLinearFilter());
    } else if (filter == "point" || filter == "nearest") {
        _filter = ObjectSmartPointer<NativeTextureFilter>(new NativeTexturePointFilter());
    } else {
        Assert(false);
    }
    const std::string address = element->GetStringAttributeOrDef("address", "clamp");
    bool wrap = false;
    if (address == "clamp") {
        _address = ObjectSmartPointer<NativeTextureAddress>(new NativeTextureClampAddress());
    } else if (address == "repeat" || address == "wrap") {
        _address = ObjectSmartPointer<NativeTextureAddress>(new NativeTextureWrapAddress());
        wrap = true;
    } else {
        Assert(false);
    }
    const std::string colorOp = element->GetStringAttributeOrDef("colorOp", "modulate");
    if (colorOp == "modulate") {
        _colorOp = ObjectSmartPointer<NativeTextureColorOp>(new NativeTextureModulateColorOp());
    } else if (colorOp == "add") {
        _colorOp = ObjectSmartPointer<NativeTextureColorOp>(new NativeTextureAddColorOp());
    } else if (colorOp == "noalpha") {
        _colorOp = ObjectSmartPointer<NativeTextureColorOp>(new NativeTextureNoAlphaColorOp());
    } else {
        Assert(false);
    }
    const std::string storage = element->GetStringAttribute("storage");
    if (storage == "memory-reverse") {
        _storage = ObjectSmartPointer<NativeTextureStorage>(new NativeTextureReverseMemoryStorage(element, _loader, wrap));
    } else if (storage == "memory-keeping") {
        _storage = ObjectSmartPointer<NativeTextureStorage>(new NativeTextureKeepingMemoryStorage(element, _loader, wrap));
    } else if (storage == "disk-preload") {
        _storage = ObjectSmartPointer<NativeTextureStorage>(new NativeTexturePreloadDiskStorage(element, _loader, wrap));
    } else if (storage == "disk-onquery") {
        _storage = ObjectSmartPointer<NativeTextureStorage>(new NativeTextureOnQueryDiskStorage(element, _loader, wrap));
    } else {
        Assert(false);
    }
}

void NativeTexture::Load() {
    if (_storage != NULL) _storage->Load();
}

void NativeTexture::Unload() {
    if (_storage != NULL) _storage->Unload();
}

Rect NativeTexture::GetRectangle() {
    if (_storage == NULL) return Rect(0, 0, 0, 0);
    return _storage->GetRectangle();
}

bool NativeTexture::IsPointOpaque(const Point& p) {
    return _storage != NULL && _storage->IsPointOpaque(p.x, p.y);
}

bool NativeTexture::IsPointTransparent(const Point& p) {
    return _storage != NULL && _storage->IsPointTransparent(p.x, p.y);
}

bool NativeTexture::Begin(bool silhouette) {
    // An unloaded texture draws nothing (an untextured quad would show instead).
    if (_loader == NULL || !_loader->HasTexture()) return false;
    if (silhouette) {
        _loader->BindSilhouette();
    } else {
        _loader->Bind();
    }
    if (_filter != NULL) _filter->Apply();
    if (_address != NULL) _address->Apply();
    if (_colorOp != NULL) _colorOp->Apply();
    return true;
}

void NativeTexture::End() { _loader->Unbind(); }

void NativeTexture::CheckSource(const FRect& src) {
    if (_address == NULL) return;
    _address->CheckUV(src.xStart, src.yStart);
    _address->CheckUV(src.xEnd, src.yEnd);
}

void NativeTexture::EmitQuad(const FPoint& p1, const FPoint& p2, const FPoint& p3, const FPoint& p4, const FRect& src,
                             const D3DCOLOR* colors) {
    float su = 1.0f;
    float sv = 1.0f;
    GetUVScale(su, sv);
    const D3DCOLOR current = TextureDevice::CurrentColor();
    TextureVertex v[4];
    const FPoint* corners[4] = {&p1, &p2, &p3, &p4};
    const float us[4] = {src.xStart, src.xEnd, src.xStart, src.xEnd};
    const float vs[4] = {src.yStart, src.yStart, src.yEnd, src.yEnd};
    for (int i = 0; i < 4; ++i) {
        v[i].x = corners[i]->_x;
        v[i].y = corners[i]->_y;
        v[i].z = 0.0f;
        v[i].color = colors ? colors[i] : current;
        v[i].u = us[i] * su;
        v[i].v = vs[i] * sv;
    }
    IDirect3DDevice8* device = *TextureDevice::DeviceAddress();
    if (device == nullptr) return;
    device->SetVertexShader(TEXTURE_VERTEX_FVF);
    device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(TextureVertex));
}

void NativeTexture::DrawTriangle(float x1, float y1, float x2, float y2, float x3, float y3, float u1, float v1,
                                 float u2, float v2, float u3, float v3) {
    if (!Begin(false)) return;
    if (_address != NULL) {
        _address->CheckUV(u1, v1);
        _address->CheckUV(u2, v2);
        _address->CheckUV(u3, v3);
    }
    float su = 1.0f;
    float sv = 1.0f;
    GetUVScale(su, sv);
    const D3DCOLOR color = TextureDevice::CurrentColor();
    TextureVertex v[3];
    const float xs[3] = {x1, x2, x3};
    const float ys[3] = {y1, y2, y3};
    const float us[3] = {u1, u2, u3};
    const float vs[3] = {v1, v2, v3};
    for (int i = 0; i < 3; ++i) {
        v[i].x = xs[i];
        v[i].y = ys[i];
        v[i].color = color;
        v[i].u = us[i] * su;
        v[i].v = vs[i] * sv;
    }
    IDirect3DDevice8* device = *TextureDevice::DeviceAddress();
    if (device != nullptr) {
        device->SetVertexShader(TEXTURE_VERTEX_FVF);
        device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 1, v, sizeof(TextureVertex));
    }
    End();
}

void NativeTexture::DrawColoredQuad(const ColoredPoint& p1, const ColoredPoint& p2, const ColoredPoint& p3,
                                    const ColoredPoint& p4, const FRect& src) {
    if (!Begin(false)) return;
    CheckSource(src);
    const unsigned currentAlpha = TextureDevice::CurrentColor() >> 24;
    const ColoredPoint* corners[4] = {&p1, &p2, &p3, &p4};
    D3DCOLOR colors[4];
    for (int i = 0; i < 4; ++i) {
        const Color& c = corners[i]->color;
        colors[i] = D3DCOLOR_ARGB(c.alpha * currentAlpha / 256, c.red, c.green, c.blue);
    }
    EmitQuad(FPoint(p1.x, p1.y), FPoint(p2.x, p2.y), FPoint(p3.x, p3.y), FPoint(p4.x, p4.y), src, colors);
    End();
}

void NativeTexture::DrawQuad(const FPoint& p1, const FPoint& p2, const FPoint& p3, const FPoint& p4, const FRect& src) {
    if (!Begin(false)) return;
    CheckSource(src);
    EmitQuad(p1, p2, p3, p4, src, nullptr);
    End();
}

void NativeTexture::Draw(const FRect& dst, const FRect& src) {
    if (!Begin(false)) return;
    CheckSource(src);
    EmitQuad(FPoint(dst.xStart, dst.yStart), FPoint(dst.xEnd, dst.yStart), FPoint(dst.xStart, dst.yEnd),
             FPoint(dst.xEnd, dst.yEnd), src, nullptr);
    End();
}

void NativeTexture::Draw(const Rect& dst, const FRect& src) {
    if (!Begin(false)) return;
    CheckSource(src);
    const float x = static_cast<float>(dst.x);
    const float y = static_cast<float>(dst.y);
    const float r = static_cast<float>(dst.x + dst.width);
    const float t = static_cast<float>(dst.y + dst.height);
    EmitQuad(FPoint(x, y), FPoint(r, y), FPoint(x, t), FPoint(r, t), src, nullptr);
    End();
}

void NativeTexture::DrawWhole(float x, float y, bool silhouette) {
    if (!Begin(silhouette)) return;
    const Rect rect = GetRectangle();
    const float r = x + static_cast<float>(rect.width);
    const float t = y + static_cast<float>(rect.height);
    EmitQuad(FPoint(x, y), FPoint(r, y), FPoint(x, t), FPoint(r, t), FRect(0.0f, 1.0f, 0.0f, 1.0f), nullptr);
    End();
}

void NativeTexture::Draw(const FPoint& p) { DrawWhole(p._x, p._y, false); }

void NativeTexture::Draw(const Point& p) { DrawWhole(static_cast<float>(p.x), static_cast<float>(p.y), false); }

void NativeTexture::DrawSilhouette(const Rect& dst, const FRect& src) {
    if (!Begin(true)) return;
    CheckSource(src);
    const float x = static_cast<float>(dst.x);
    const float y = static_cast<float>(dst.y);
    const float r = static_cast<float>(dst.x + dst.width);
    const float t = static_cast<float>(dst.y + dst.height);
    EmitQuad(FPoint(x, y), FPoint(r, y), FPoint(x, t), FPoint(r, t), src, nullptr);
    End();
}

void NativeTexture::DrawSilhouette(const Point& p) {
    DrawWhole(static_cast<float>(p.x), static_cast<float>(p.y), true);
}

Pow2NativeTexture::Pow2NativeTexture(const ObjectWeakPointer<XmlElement>& element)
    : NativeTexture(element, ObjectSmartPointer<NativeTextureLoader>(
                                 new NativeTexturePower2Loader(TextureDevice::DeviceAddress()))) {}

void Pow2NativeTexture::GetUVScale(float& scaleU, float& scaleV) { GetLoader()->GetFactors(scaleU, scaleV); }

AsIsNativeTexture::AsIsNativeTexture(const ObjectWeakPointer<XmlElement>& element)
    : NativeTexture(element, ObjectSmartPointer<NativeTextureLoader>(
                                 new NativeTextureIdentityLoader(TextureDevice::DeviceAddress()))) {}

void AsIsNativeTexture::GetUVScale(float& scaleU, float& scaleV) {
    scaleU = 1.0f;
    scaleV = 1.0f;
}
