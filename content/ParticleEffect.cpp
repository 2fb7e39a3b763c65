#include "content/ParticleEffect.h"

void ParticleEffect::Reset() {
    time = 0.0f;
    finished = false;
    for (ParticleSystem& system : systems) {
        system.dead = false;
        system.waiting = true;
        system.emitterX = x;
        system.emitterY = y;
        system.Reset();
    }
}

void ParticleEffect::Update(float dt) {
    if (paused) return;
    time += dt;
    bool allDead = true;
    for (ParticleSystem& system : systems) {
        if (!system.dead) allDead = false;
        if (time >= system.bornTime && !system.dead) {
            if (system.waiting) system.Update(time - system.bornTime);
            system.waiting = false;
        }
        if (system.waiting) continue;
        system.Update(dt);
        if (system.needStartDeadCounter && system.time >= system.deadCountTime) {
            system.stopping = true;
            system.emitting = false;
        }
        if (system.deadCount == system.GetParticleCount()) {
            system.waiting = true;
            system.dead = true;
        }
    }
    if (allDead) finished = true;
}

void ParticleEffect::Finish() {
    for (ParticleSystem& system : systems) {
        if (system.waiting) {
            system.dead = true;
        } else {
            system.stopping = true;
            system.emitting = false;
        }
    }
}

void ParticleEffect::Draw() {
    for (ParticleSystem& system : systems) {
        if (system.waiting) continue;
        system.emitterX = x;
        system.emitterY = y;
        system.Draw();
    }
}
