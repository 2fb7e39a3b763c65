#pragma once
// A broken lock: the lock picture bursts into square shards that fly apart, spin, wobble, fall
// under gravity and fade. Each shard is a WaterTransporter.

#include <vector>

#include "content/EffectBase.h"
#include "core/Object.h"
#include "core/ObjectSmartPointer.h"
#include "core/Point.h"
#include "shell/Texture.h"

// A small thrown body with quadratic drag, gravity, a spin that dies out within 0.6 s, a wobble
// and a fade. vy is positive downwards; angles are degrees, the wobble amplitude radians.
class WaterTransporter : public Interface {
public:
    WaterTransporter(float x, float y, float spinReference, float floor, float startAlpha, float endAlpha,
                     float fadeTime, float vx, float vy, float wobbleAmplitude);

    void Update(float dt);
    // Resting on the floor, or faded below 0.001.
    bool IsFinished() const;

    float _drag = 0.05f;
    float _spinTime = 0.6f;
    float _wobbleAmplitude = 0.0f;
    float _startX = 0.0f;
    // Its sign sets the direction of the spin.
    float _spinReference = 0.0f;
    float _startY = 0.0f;
    // The lowest y the shard reaches.
    float _floor = 0.0f;
    float _x = 0.0f;
    float _y = 0.0f;
    float _vx = 0.0f;
    float _vy = 0.0f;
    float _fadeTime = 0.0f;
    float _age = 0.0f;
    float _wobbleAngle = 0.0f;
    float _startAlpha = 0.0f;
    float _endAlpha = 0.0f;
    float _alpha = 0.0f;
    // +1 or -1, drawn at construction.
    float _wobbleDirection = 1.0f;
    float _spinClock = 0.0f;
    float _spinFraction = 0.0f;
    float _spinAngle = 0.0f;
};

class BreakingUpEffect : public EffectBase {
public:
    // One shard per offset, shard i showing tile i of the picture (row by row from its top left);
    // speeds scale the throw, mirrored shows the shards mirrored about the centre (a double lock).
    BreakingUpEffect(float centreX, float centreY, float speedX, float speedY, const UsingPointer<Texture>& picture,
                     int tileSize, const std::vector<Point>& offsets, float wobbleAmplitude, bool mirrored);

    void Draw() override;
    void Update(float dt) override;
    // No shard left moving; an effect without shards is finished at once.
    bool IsFinished() override;

    UsingPointer<Texture> _picture;
    int _tileSize = 0;
    std::vector<ObjectSmartPointer<WaterTransporter>> _shards;
    bool _mirrored = false;
    float _centreX = 0.0f;
    float _centreY = 0.0f;
};
