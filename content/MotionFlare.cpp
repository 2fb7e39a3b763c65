#include "content/MotionFlare.h"

#include <algorithm>

#include "core/Random.h"
#include "core/XmlElement.h"
#include "shell/SoundSystem.h"

namespace {
// The pan that keeps the sample's own.
constexpr int OWN_PAN = -101;
}

FlarePosition::FlarePosition(float flareLife, bool flareOnce, float minFlarePause, float maxFlarePause,
                             float beforeFirstFlare)
    : _minFlarePause(minFlarePause),
      _maxFlarePause(std::max(minFlarePause, maxFlarePause)),
      _flareLife(flareLife),
      _remaining(beforeFirstFlare + flareLife),
      _flareOnce(flareOnce) {
    Assert(flareLife >= 0 && minFlarePause >=0 && maxFlarePause >=0);
}

FlarePosition::FlarePosition(const ObjectWeakPointer<XmlElement>& xe) {
    _flareLife = xe->GetFloatAttribute("flareLife");
    _flareOnce = xe->GetBoolAttribute("flareOnce");
    _minFlarePause = xe->GetFloatAttribute("minFlarePause");
    _maxFlarePause = std::max(_minFlarePause, xe->GetFloatAttribute("maxFlarePause"));
    _remaining = xe->GetFloatAttribute("beforeFirstFlare");
    Assert(_flareLife >= 0 && _minFlarePause >=0 && _maxFlarePause >=0);
}

bool FlarePosition::IsFlaring() const { return 0.0f <= _remaining && _remaining <= _flareLife; }

float FlarePosition::GetProgress() const {
    if (IsFlaring() && _flareLife > 0.0f) return 1.0f - _remaining / _flareLife;
    return 1.0f;
}

void FlarePosition::Update(float dt) {
    if (_flareOnce && _done && _remaining <= 0.0f) return;
    Assert(_flareLife > 0);
    const bool notBegun = _remaining >= _flareLife;
    _remaining -= dt;
    if (notBegun && _remaining < _flareLife && !_sound.empty()) {
        Sound::soundSystem.PlaySampleEx(_sound, OWN_PAN, false);
    }
    if (_remaining <= 0.0f) {
        _overshoot = _remaining;
        _done = true;
        if (!_flareOnce) _remaining += RandomFloatRange(_minFlarePause, _maxFlarePause) + _flareLife;
    } else {
        _overshoot = 0.0f;
    }
}

void FlarePosition::SaveTo(const ObjectWeakPointer<XmlElement>& xe) const {
    xe->SetFloatAttribute("flareLife", _flareLife);
    xe->SetBoolAttribute("flareOnce", _flareOnce);
    xe->SetFloatAttribute("minFlarePause", _minFlarePause);
    xe->SetFloatAttribute("maxFlarePause", _maxFlarePause);
    xe->SetFloatAttribute("beforeFirstFlare", _remaining);
}
