#pragma once
// A number shown counting up to its total over a fixed time.

class ScoreCounter {
public:
    static constexpr float MAX_LIFE_TIME = 1.0f;

    // _realScore += value; the shown value counts from where it is now.
    void Add(int value);
    // Advances a running count; true when the shown value was recomputed.
    bool Update(float dt);
    // Total 0, shown 0, at rest.
    void Reset();
    // Total and shown value, at rest (no counting).
    void SetAtRest(int value);

    int GetRealScore() const { return _realScore; }
    int GetLastAdded() const { return _lastAdded; }
    int GetScore() const { return _score; }
    bool IsCounting() const { return _lifeTime < MAX_LIFE_TIME; }

private:
    int _realScore = 0;
    int _lastAdded = 0;
    int _score = 0;
    int _startScore = 0;
    float _lifeTime = MAX_LIFE_TIME;
};
