#pragma once
// The five pieces of tank equipment as they show: a compressor with steady particle flows and a
// working sound, a thermoregulator whose column and needle sway, an aqua filter with a turning
// fan, bubbles and a working sound, sunlight rays that fade in and out, and a fish feeder with a
// wobbling bubble and a time line. Buying, upgrading and the stored state are the base's.

#include <array>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "aquarium/ComfortFlare.h"
#include "aquarium/ShopComfort.h"
#include "content/CyclicFloat.h"
#include "content/EffectObserver.h"
#include "content/MotionTextures.h"
#include "content/RandomCircleMotion.h"
#include "content/Spline.h"

class Texture;

// A picture of an equipment's set and where it lies.
struct ComfortPicture {
    UsingPointer<Texture> texture;
    Point at;
};

class CompressorControl : public BaseComfortControl {
public:
    CompressorControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~CompressorControl() override;

    void Draw() override;
    void Update(float dt) override;
    void Buy() override;
    void Upgrade() override;
    // Stops the working sound and the steady effects.
    void BeforePlayerChange() override;
    void AfterPlayerChange() override;

    std::size_t GetUsualEffectCount() const { return _usualEffects.GetEffectCount(); }
    std::size_t GetUpgradedEffectCount() const { return _upgradedEffects.GetEffectCount(); }

private:
    void PlayWork();
    void StopWork();
    void DrawUsual();
    void DrawUpgraded();

    EffectOwner _usualEffects;
    EffectOwner _upgradedEffects;
    // On the screen, not relative to the control.
    Point _upgradedPosition;
    UsingPointer<Texture> _usualTexture;
    UsingPointer<Texture> _upgradedTexture;
    std::shared_ptr<FlarePosition> _buyFlare;
    std::shared_ptr<FlarePosition> _upgradeFlare;
    // The working sound plays.
    bool _isWorking = false;
};

class ThermoregulatorControl : public BaseComfortControl {
public:
    ThermoregulatorControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~ThermoregulatorControl() override;

    void Draw() override;
    void Update(float dt) override;
    void Buy() override;
    void Upgrade() override;

    RandomCircleMotion& GetSway() { return _sway; }

private:
    void DrawSet(const std::vector<ComfortPicture>& pictures);

    float _buyFlareLife = 2.0f;
    float _upgradeFlareLife = 4.0f;
    comfort::AppearanceFlare _flare;
    // Base, red column, up; the upgraded set adds the needle.
    std::vector<ComfortPicture> _usual;
    std::vector<ComfortPicture> _upgraded;
    RandomCircleMotion _sway;
    EffectOwner _effects;
    // On the screen.
    Point _effectPoint;
};

class AquaFilterControl : public BaseComfortControl {
public:
    AquaFilterControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~AquaFilterControl() override;

    void Draw() override;
    void Update(float dt) override;
    void Buy() override;
    void Upgrade() override;
    // Stops the working sound and the bubbles.
    void BeforePlayerChange() override;
    void AfterPlayerChange() override;

    // Degrees in [0, 360).
    float GetFanAngle() const { return _fanAngle._lifeCounter; }
    std::size_t GetBubbleCount() const { return _bubbles.GetEffectCount(); }

private:
    void StartWork();
    void StopWork();
    // Every picture of the set but the last (the layer).
    void DrawBody(const std::vector<ComfortPicture>& pictures);

    float _showTime = 0.0f;
    float _upgradeTime = 0.0f;
    comfort::AppearanceFlare _flare;
    // Base, fan, layer.
    std::vector<ComfortPicture> _usual;
    std::vector<ComfortPicture> _upgraded;
    EffectOwner _bubbles;
    // Wrapped into a turn, so hours of turning keep their precision.
    CyclicFloat _fanAngle{360.0f};
    float _angleSpeed = 0.0f;
    EffectOwner _effects;
    // Relative to the control.
    Point _effectPoint;
    // The working sound plays.
    bool _isWorking = false;
};

class SunlightControl : public BaseComfortControl {
public:
    struct Ray {
        float topY = 0.0f;
        SplinePath<float> x;
        SplinePath<float> scale;
        SplinePath<float> alpha;
        float life = 0.0f;
        float time = 0.0f;
        EffectOwner effects;
        // False for a ray from the mirrored side.
        bool normal = true;
    };

    SunlightControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~SunlightControl() override;

    void Draw() override;
    void Update(float dt) override;
    void Buy() override;
    void Upgrade() override;
    void AfterPlayerChange() override;

    const std::list<Ray>& GetRays() const { return _rays; }
    int GetMaxCount() const { return _currentMaxCount; }
    float GetMaxY() const { return _currentMaxY; }
    Point GetApex() const { return Point(_x0, _y0); }
    // False when the data would divide by zero: then no ray is born.
    bool IsValid() const { return _isValid; }

private:
    void AddRay();
    void DrawRay(Ray& ray);
    void CheckLimits(float a, float b);

    int _keyCountBase = 4;
    float _lifeBase = 2.5f;
    float _lifeSpread = 1.0f;
    float _peakAlpha = 0.75f;
    float _minAngle = 0.0f;
    float _maxAngle = 0.0f;
    float _minX = 0.0f;
    float _maxX = 0.0f;
    float _minY = 0.0f;
    float _usualMaxY = 0.0f;
    float _currentMaxY = 0.0f;
    float _upgradedMaxY = 0.0f;
    std::list<Ray> _rays;
    int _x0 = 0;
    int _y0 = 0;
    UsingPointer<Texture> _ray;
    UsingPointer<Texture> _hole;
    int _usualMaxCount = 0;
    int _currentMaxCount = 0;
    int _upgradedMaxCount = 0;
    std::shared_ptr<FlarePosition> _flare;
    bool _isValid = false;
};

class FeedControl : public BaseComfortControl {
public:
    FeedControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~FeedControl() override;

    void Draw() override;
    void Update(float dt) override;
    void Buy() override;
    void Upgrade() override;
    void AfterPlayerChange() override;

    TextureMesh* GetBubbleMesh() { return _bubbleMesh.get(); }
    TextureMesh* GetTimeLineMesh() { return _timeLineMesh.get(); }
    CyclicFloat& GetTimeLineCycle() { return _timeLine; }

private:
    void DrawUsual();
    void DrawUpgraded();
    void DrawBubbleAndBase(const std::vector<ComfortPicture>& pictures);
    void DrawTimeLine(const ComfortPicture& timeLine);
    static std::unique_ptr<TextureMesh> MakeMesh(const UsingPointer<Texture>& texture);

    float _buyFlareLife = 2.0f;
    float _upgradeFlareLife = 2.0f;
    comfort::AppearanceFlare _flare;
    std::unique_ptr<TextureMesh> _bubbleMesh;
    // Vertex (i, j) of the bubble mesh moves with sway [i][j].
    std::array<std::array<RandomCircleMotion, 2>, 2> _sways;
    // Bubble, base.
    std::vector<ComfortPicture> _usual;
    // Bubble, base, time line; none moved by the upgraded position but the base.
    std::vector<ComfortPicture> _upgraded;
    CyclicFloat _timeLine{10.0f};
    std::unique_ptr<TextureMesh> _timeLineMesh;
    EffectOwner _effects;
    // On the screen.
    Point _effectPoint;
};
