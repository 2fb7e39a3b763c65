#pragma once
// A group of particle systems that start at set times, may stop emitting after a set time, and
// end when all of them have died out. Copies are independent.

#include <vector>

#include "content/ParticleSystem.h"

class ParticleEffect {
public:
    // Restarts every system at the effect's position; all wait for their start time.
    void Reset();
    void Update(float dt);
    // Ends gracefully: waiting systems never start, the others stop emitting.
    void Finish();
    void Draw();

    float x = 0.0f;
    float y = 0.0f;
    float time = 0.0f;
    bool finished = false;
    bool paused = false;
    std::vector<ParticleSystem> systems;
};
