#pragma once
// Ambient tank effects that only show: a crab that plays now and then, a turning mill, the light
// caustics of the water surface, and columns of rising, swaying bubbles.

#include <cstdint>
#include <memory>
#include <vector>

#include "content/Animation.h"
#include "content/CyclicFloat.h"
#include "content/MotionFlare.h"
#include "content/MotionTextures.h"
#include "content/Spline.h"
#include "controls/Control.h"

class Texture;

class CrabControl : public MouseTransparentControl {
public:
    CrabControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    void Draw() override;
    void Update(float dt) override;
    // The animation frame shown now.
    int GetFrame() const;

private:
    UsingPointer<Texture> _background;
    UsingPointer<Animation> _animation;
    Point _animationPos;
    std::shared_ptr<FlarePosition> _playTimer;
};

class MillControl : public MouseTransparentControl {
public:
    MillControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    void Draw() override;
    void Update(float dt) override;
    int GetFrame() const;

private:
    UsingPointer<Animation> _animation;
    CyclicFloat _turn;
    // False for a turn time of 0 or less: frame 0 stands.
    bool _isTurning = false;
};

class CausticControl : public MouseTransparentControl {
public:
    CausticControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~CausticControl() override;
    void Draw() override;
    void Update(float dt) override;

    int GetFloorFrame() const { return _floorFrame; }
    int GetRaysFrame() const { return _raysFrame; }
    TextureMesh& GetFloorMesh() { return *_floorMesh; }
    TextureMesh& GetRaysMesh() { return *_raysMesh; }

private:
    // Cross-fades frame and frame + 1 over the mesh, lighting the given vertices.
    void DrawPasses(TextureMesh& mesh, int frame, float t, std::uint8_t light,
                    const std::vector<std::pair<int, int>>& lit);

    float _floorFrameTime = 0.15f;
    float _raysFrameTime = 0.225f;
    float _floorScrollPeriod = 15.0f;
    float _raysScrollPeriod = 10.0f;
    float _floorFrameTimer = 0.0f;
    int _floorFrame = 0;
    float _raysFrameTimer = 0.0f;
    int _raysFrame = 0;
    CyclicFloat _raysScroll;
    CyclicFloat _floorScroll;
    std::unique_ptr<TextureMesh> _floorMesh;
    std::unique_ptr<TextureMesh> _raysMesh;
    UsingPointer<Animation> _animation;
    std::uint8_t _raysLight = 0;
    std::uint8_t _floorLight = 0;
};

class BubblesBackGround : public MouseTransparentControl {
public:
    // Prefilled columns hold at most this many bubbles each.
    static constexpr std::size_t MAX_PREFILL = 256;

    BubblesBackGround(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    void Draw() override;
    void Update(float dt) override;

    // The x of emitter i relative to the control.
    float EmitterX(std::size_t i) const;
    const std::vector<std::vector<float>>& GetHeights() const { return _heights; }
    const std::vector<float>& GetPauses() const { return _pauses; }

private:
    void AddBubble(std::size_t emitter, float y, float speed);
    SplinePath<float> MakeSizeCurve() const;

    UsingPointer<Texture> _texture;
    int _width = 0;
    int _height = 0;
    float _minPause = 0.0f;
    float _maxPause = 0.0f;
    float _minSpeed = 0.0f;
    float _maxSpeed = 0.0f;
    float _amplitude = 0.0f;
    float _period = 0.0f;
    std::vector<float> _pauses;
    std::vector<std::vector<float>> _speeds;
    std::vector<std::vector<float>> _heights;
    std::vector<std::vector<SplinePath<float>>> _scaleCurves;
    std::vector<std::pair<float, float>> _scaleRanges;
    int _blendMode = 0;
};
