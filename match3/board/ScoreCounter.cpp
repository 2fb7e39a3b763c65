#include "match3/board/ScoreCounter.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/Assert.h"

void ScoreCounter::Add(int value) {
    // The total stops at the ends of the int range instead of wrapping.
    const long long total = static_cast<long long>(_realScore) + value;
    _realScore = static_cast<int>(std::max<long long>(std::min<long long>(total, std::numeric_limits<int>::max()),
                                                      std::numeric_limits<int>::min()));
    _lastAdded = value;
    _startScore = _score;
    _lifeTime = 0.0f;
}

bool ScoreCounter::Update(float dt) {
    if (_lifeTime >= MAX_LIFE_TIME) return false;
    _lifeTime += dt;
    if (_lifeTime > MAX_LIFE_TIME) _lifeTime = MAX_LIFE_TIME;
    const double span = static_cast<double>(_realScore) - static_cast<double>(_startScore);
    _score = static_cast<int>(static_cast<double>(_startScore) +
                              std::trunc(span * static_cast<double>(_lifeTime / MAX_LIFE_TIME)));
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wparentheses"
    Assert(_lifeTime < MAX_LIFE_TIME && _startScore <= _score && _score <= _realScore ||
           _lifeTime == MAX_LIFE_TIME && _score == _realScore);
#pragma GCC diagnostic pop
    return true;
}

void ScoreCounter::Reset() {
    _realScore = 0;
    _lastAdded = 0;
    _score = 0;
    _startScore = 0;
    _lifeTime = MAX_LIFE_TIME;
}

void ScoreCounter::SetAtRest(int value) {
    Reset();
    _realScore = value;
    _score = value;
}
