#include "content/CyclicFloat.h"

#include <cmath>

#include "core/Assert.h"

void CyclicFloat::Update(float f) {
    Assert(f >= 0);
    Assert(_lifeTime > 0);
    if (!(f >= 0) || !(_lifeTime > 0)) return;
    _lifeCounter = std::fmod(_lifeCounter + f, _lifeTime);
    // fmod of a sum that rounds up to the life time.
    if (_lifeCounter >= _lifeTime || _lifeCounter < 0.0f) _lifeCounter = 0.0f;
}

float CyclicFloat::GetPhase() const {
    Assert(_lifeCounter < _lifeTime);
    if (!(_lifeTime > 0) || !(_lifeCounter < _lifeTime)) return 0.0f;
    return _lifeCounter / _lifeTime;
}
