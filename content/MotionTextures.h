#pragma once
// A picture drawn as a deformable grid with per-vertex alpha, and a picture holder that cross-fades
// to queued pictures and makes one picture flash.

#include <cstdint>
#include <list>
#include <vector>

#include "core/FPoint.h"
#include "core/Object.h"
#include "core/ObjectSmartPointer.h"
#include "core/Point.h"
#include "core/Rect.h"

class XmlElement;

class Texture;

class TextureMesh : public Interface {
public:
    // Covers (0 .. uHigh, 0 .. vHigh) of the texture.
    TextureMesh(const ObjectWeakPointer<Texture>& texture, int columns, int rows, float uHigh, float vHigh);
    TextureMesh(const ObjectWeakPointer<Texture>& texture, int columns, int rows, float uLow, float uHigh, float vLow,
                float vHigh);

    // Undisplaced position of vertex (i, j), in pixels.
    FPoint GetVertexPosition(int i, int j);
    // The current position, for owners to move.
    FPoint& GetVertexOffset(int i, int j);
    std::uint8_t& GetVertexAlpha(int i, int j);
    ObjectWeakPointer<Texture> GetTexture() const { return _texture.GetPointer(); }
    void ResetGrid();
    void SetAllVertexAlphas(std::uint8_t alpha);
    // The new texture must have the same size.
    void SetTexture(const ObjectWeakPointer<Texture>& texture);
    // One coloured quad per cell.
    void Draw();
    Rect GetBounds() const { return _bounds; }

    int _columns = 1;
    int _rows = 1;

private:
    void Init(int columns, int rows);
    bool CheckIndex(int i, int j) const;
    std::size_t Index(int i, int j) const { return static_cast<std::size_t>(j) * (_columns + 1) + i; }

    UsingPointer<Texture> _texture;
    float _uLow = 0.0f;
    float _uHigh = 1.0f;
    float _vLow = 0.0f;
    float _vHigh = 1.0f;
    std::vector<FPoint> _vertices;
    std::vector<std::uint8_t> _alphas;
    Rect _bounds;
    FPoint _outsideVertex;
    std::uint8_t _outsideAlpha = 0;
};

class SmoothTextureChanger : public Interface {
public:
    // period: seconds of one cross-fade.
    SmoothTextureChanger(const ObjectWeakPointer<Texture>& startTexture, float period);

    void SetFlash(const ObjectWeakPointer<Texture>& base, const ObjectWeakPointer<Texture>& extra, float period,
                  float maxAlpha);
    void ChangeTexture(const ObjectWeakPointer<Texture>& newTexture);
    void Update(float dt);
    void Draw(int x, int y);
    float GetFlashAlpha() const;

    ObjectWeakPointer<Texture> GetCurrentTexture() const { return _currentTexture.GetPointer(); }
    const std::list<UsingPointer<Texture>>& GetNextTextures() const { return _nextTextures; }

    float _changeSpeed = 1.0f;
    float _currentTextureShare = 1.0f;
    float _flashPeriod = 1.0f;
    float _maxAlpha = 0.0f;
    float _flashTime = 0.0f;
    float _flashPhase = 0.0f;

private:
    bool IsCurrent(const ObjectWeakPointer<Texture>& texture) const;
    bool IsFlashBase(const UsingPointer<Texture>& texture) const;

    UsingPointer<Texture> _currentTexture;
    std::list<UsingPointer<Texture>> _nextTextures;
    UsingPointer<Texture> _flashBase;
    UsingPointer<Texture> _flashExtra;
};

// A picture with a position read from XML: int "x" and "y", and "textureId" (also
// "animation_frame:" ids), held in use while the record lives.
struct PositionedTexture {
    PositionedTexture() = default;
    explicit PositionedTexture(const ObjectWeakPointer<XmlElement>& xe);

    Point position;
    UsingPointer<Texture> texture;
};
