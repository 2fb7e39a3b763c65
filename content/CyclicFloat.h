#pragma once
// A counter that runs from 0 up to a life time and wraps: turning wheels, scrolling patterns,
// pulses that repeat.

class CyclicFloat {
public:
    CyclicFloat() = default;
    explicit CyclicFloat(float lifeTime) : _lifeTime(lifeTime) {}

    // Adds f (>= 0) and wraps the counter into [0, _lifeTime).
    void Update(float f);
    // In [0, 1).
    float GetPhase() const;

    float _lifeTime = 0.0f;
    float _lifeCounter = 0.0f;
};
