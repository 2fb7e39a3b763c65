#include "content/MotionTextures.h"

#include <cmath>

#include "content/ResourceManager.h"
#include "core/Assert.h"
#include "core/Color.h"
#include "core/Math.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"
#include "shell/Texture.h"

// ---------------------------------------------------------------------------------------------
// TextureMesh

TextureMesh::TextureMesh(const ObjectWeakPointer<Texture>& texture, int columns, int rows, float uHigh, float vHigh)
    : _texture(texture), _uHigh(uHigh), _vHigh(vHigh) {
    Init(columns, rows);
}

TextureMesh::TextureMesh(const ObjectWeakPointer<Texture>& texture, int columns, int rows, float uLow, float uHigh,
                         float vLow, float vHigh)
    : _texture(texture), _uLow(uLow), _uHigh(uHigh), _vLow(vLow), _vHigh(vHigh) {
    Init(columns, rows);
}

void TextureMesh::Init(int columns, int rows) {
    Assert(columns > 0 && rows > 0);
    _columns = columns > 0 ? columns : 1;
    _rows = rows > 0 ? rows : 1;
    _vertices.assign(static_cast<std::size_t>(_columns + 1) * (_rows + 1), FPoint());
    _alphas.assign(_vertices.size(), 255);
    ResetGrid();
    const FPoint last = GetVertexPosition(_columns, _rows);
    _bounds = Rect(0, 0, static_cast<int>(last._x), static_cast<int>(last._y));
}

bool TextureMesh::CheckIndex(int i, int j) const {
    Assert(0 <= i && i <= _columns && 0 <= j && j <= _rows);
    return 0 <= i && i <= _columns && 0 <= j && j <= _rows;
}

FPoint TextureMesh::GetVertexPosition(int i, int j) {
    if (!CheckIndex(i, j)) return FPoint();
    Rect rect;
    if (_texture != NULL) rect = _texture->GetRectangle();
    return FPoint(static_cast<float>(rect.width) / _columns * (_uHigh - _uLow) * i,
                  static_cast<float>(rect.height) / _rows * (_vHigh - _vLow) * j);
}

FPoint& TextureMesh::GetVertexOffset(int i, int j) {
    if (!CheckIndex(i, j)) return _outsideVertex;
    return _vertices[Index(i, j)];
}

std::uint8_t& TextureMesh::GetVertexAlpha(int i, int j) {
    if (!CheckIndex(i, j)) return _outsideAlpha;
    return _alphas[Index(i, j)];
}

void TextureMesh::ResetGrid() {
    for (int j = 0; j <= _rows; ++j) {
        for (int i = 0; i <= _columns; ++i) _vertices[Index(i, j)] = GetVertexPosition(i, j);
    }
}

void TextureMesh::SetAllVertexAlphas(std::uint8_t alpha) {
    for (std::uint8_t& a : _alphas) a = alpha;
}

void TextureMesh::SetTexture(const ObjectWeakPointer<Texture>& texture) {
    if (_texture != NULL && texture != NULL) {
        const Rect before = _texture->GetRectangle();
        const Rect after = ObjectWeakPointer<Texture>(texture)->GetRectangle();
        Assert(before.width == after.width && before.height == after.height);
    }
    _texture = UsingPointer<Texture>(texture);
}

void TextureMesh::Draw() {
    if (_texture == NULL) return;
    const float du = (_uHigh - _uLow) / _columns;
    const float dv = (_vHigh - _vLow) / _rows;
    for (int j = 0; j < _rows; ++j) {
        for (int i = 0; i < _columns; ++i) {
            auto corner = [&](int ci, int cj) {
                const FPoint& p = _vertices[Index(ci, cj)];
                return ColoredPoint(p._x, p._y, Color(255, 255, 255, _alphas[Index(ci, cj)]));
            };
            const FRect src(_uLow + du * i, _uLow + du * (i + 1), _vLow + dv * j, _vLow + dv * (j + 1));
            _texture->DrawColoredQuad(corner(i, j), corner(i + 1, j), corner(i, j + 1), corner(i + 1, j + 1), src);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// SmoothTextureChanger

SmoothTextureChanger::SmoothTextureChanger(const ObjectWeakPointer<Texture>& startTexture, float period)
    : _changeSpeed(period > 0.0f ? 1.0f / period : 1.0f), _currentTexture(startTexture) {
    Assert(startTexture != NULL);
    Assert(_nextTextures.size() == 0);
}

bool SmoothTextureChanger::IsCurrent(const ObjectWeakPointer<Texture>& texture) const {
    return _currentTexture.GetPointer().AsObjectAddress() == texture.AsObjectAddress();
}

bool SmoothTextureChanger::IsFlashBase(const UsingPointer<Texture>& texture) const {
    return _flashBase != NULL && texture.GetPointer().AsObjectAddress() == _flashBase.GetPointer().AsObjectAddress();
}

void SmoothTextureChanger::SetFlash(const ObjectWeakPointer<Texture>& base, const ObjectWeakPointer<Texture>& extra,
                                    float period, float maxAlpha) {
    Assert(base != NULL);
    Assert(extra != NULL);
    Assert(base.AsObjectAddress() != extra.AsObjectAddress());
    Assert(period > 0.0f);
    Assert(0.0f < maxAlpha && maxAlpha < 1.0f);
    _flashBase = UsingPointer<Texture>(base);
    _flashExtra = UsingPointer<Texture>(extra);
    _flashPeriod = period;
    _maxAlpha = maxAlpha;
}

float SmoothTextureChanger::GetFlashAlpha() const {
    return (1.0f - std::cos(2.0f * Math::PI * _flashTime)) * _maxAlpha / 2.0f;
}

void SmoothTextureChanger::Update(float dt) {
    bool wrapped = false;
    if (_flashBase != NULL && _flashPeriod > 0.0f) {
        _flashPhase += dt / _flashPeriod;
        while (_flashPhase >= 1.0f) {
            _flashPhase -= 1.0f;
            wrapped = true;
        }
    }
    if (_nextTextures.empty()) {
        Assert(_currentTextureShare == 1.0f);
        if (IsFlashBase(_currentTexture)) {
            if (_flashTime > 0.0f || wrapped) {
                _flashTime += dt / _flashPeriod;
            } else {
                Assert(_flashTime == 0.0f);
            }
        }
        return;
    }
    _flashTime = 0.0f;
    Assert(dt > 0);
    _currentTextureShare -= dt * _changeSpeed;
    if (_currentTextureShare <= 0.0f) {
        _currentTexture = _nextTextures.front();
        _nextTextures.pop_front();
        _currentTextureShare = 1.0f;
    }
}

void SmoothTextureChanger::Draw(int x, int y) {
    const Point at(x, y);
    if (_nextTextures.empty()) {
        if (_currentTexture == NULL) return;
        _currentTexture->Draw(at);
        if (IsFlashBase(_currentTexture) && _flashExtra != NULL) {
            Render::device.PushAlpha(GetFlashAlpha());
            _flashExtra->Draw(at);
            Render::device.PopAlpha();
        }
        return;
    }
    Assert(_nextTextures.size() >= 1);
    const UsingPointer<Texture>& next = _nextTextures.front();
    if (_currentTextureShare >= 0.5f) {
        _currentTexture->Draw(at);
        Render::device.PushAlpha(1.0f - _currentTextureShare);
        next->Draw(at);
        Render::device.PopAlpha();
    } else {
        next->Draw(at);
        Render::device.PushAlpha(_currentTextureShare);
        _currentTexture->Draw(at);
        Render::device.PopAlpha();
    }
}

void SmoothTextureChanger::ChangeTexture(const ObjectWeakPointer<Texture>& newTexture) {
    Assert(newTexture != NULL);
    if (newTexture == NULL) return;
    if (_nextTextures.empty()) {
        if (IsCurrent(newTexture)) return;
        if (IsFlashBase(_currentTexture) && _flashExtra != NULL) {
            // The flash turns into a fade from the flash picture back through the base.
            const float share = GetFlashAlpha();
            _nextTextures.push_back(_currentTexture);
            _currentTexture = _flashExtra;
            _currentTextureShare = share;
            _flashTime = 0.0f;
        }
    }
    for (auto it = _nextTextures.begin(); it != _nextTextures.end(); ++it) {
        if (it->GetPointer().AsObjectAddress() == newTexture.AsObjectAddress()) {
            _nextTextures.erase(it, _nextTextures.end());
            break;
        }
    }
    _nextTextures.push_back(UsingPointer<Texture>(newTexture));
}

// ---------------------------------------------------------------------------------------------
// PositionedTexture

PositionedTexture::PositionedTexture(const ObjectWeakPointer<XmlElement>& xe)
    : position(xe->GetIntAttribute("x"), xe->GetIntAttribute("y")),
      texture(ResourceManager::GetTextureOrFrame(xe->GetStringAttribute("textureId"))) {}
