#include "match3/board/ScoreCounter.h"

#include "core/Assert.h"

void ScoreCounter::Add(int value) {
    _realScore += value;
    _lastAdded = value;
    _startScore = _score;
    _lifeTime = 0.0f;
}

bool ScoreCounter::Update(float dt) {
    if (_lifeTime >= MAX_LIFE_TIME) return false;
    _lifeTime += dt;
    if (_lifeTime > MAX_LIFE_TIME) _lifeTime = MAX_LIFE_TIME;
    _score = _startScore +
             static_cast<int>(static_cast<float>(_realScore - _startScore) * (_lifeTime / MAX_LIFE_TIME));
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
