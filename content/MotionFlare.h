#pragma once
// A timer for periodic flares: waiting, flaring for _flareLife seconds, pausing a random time.

#include <string>

#include "core/Object.h"
#include "core/ObjectSmartPointer.h"

class XmlElement;

class FlarePosition : public Interface {
public:
    // The first flare starts after beforeFirstFlare seconds.
    FlarePosition(float flareLife, bool flareOnce, float minFlarePause, float maxFlarePause, float beforeFirstFlare);
    // "flareLife", "flareOnce", "minFlarePause", "maxFlarePause", "beforeFirstFlare"; here the first
    // flare ends after beforeFirstFlare seconds.
    explicit FlarePosition(const ObjectWeakPointer<XmlElement>& xe);

    void Update(float dt);
    // Writes the five attributes read above, with "beforeFirstFlare" the remaining time, so a
    // timer read back goes on where this one stands.
    void SaveTo(const ObjectWeakPointer<XmlElement>& xe) const;
    // 0 <= remaining <= _flareLife.
    bool IsFlaring() const;
    // 1 - remaining / _flareLife while flaring (and _flareLife > 0), else 1.
    float GetProgress() const;

    float _minFlarePause = 0.0f;
    float _maxFlarePause = 0.0f;
    float _flareLife = 0.0f;
    float _remaining = 0.0f;
    bool _flareOnce = false;
    bool _done = false;
    std::string _sound;
    float _overshoot = 0.0f;
};
