#pragma once
// The one store of particle-system and effect prototypes by name, read from particle and effect files.

#include <map>
#include <string>

#include "content/ParticleEffect.h"
#include "content/ParticleSystem.h"

class ParticleLibrary {
public:
    // A particle file: every "ParticleSystem" child of the root with a "name".
    void LoadParticles(const std::string& path);
    // An effect file: "Effect" children by "name"; inline systems when the root has "version",
    // otherwise systems of the library by name.
    void LoadEffects(const std::string& path);
    // A missing name is reported once and answered with an empty prototype kept under that name.
    ParticleSystem& GetSystem(const std::string& name);
    ParticleEffect& GetEffect(const std::string& name);

    bool HasSystem(const std::string& name) const { return _systems.count(name) != 0; }
    bool HasEffect(const std::string& name) const { return _effects.count(name) != 0; }
    // Empties both maps.
    void Clear();

private:
    std::map<std::string, ParticleSystem> _systems;
    std::map<std::string, ParticleEffect> _effects;
};

// The one library of the program.
ParticleLibrary& GetParticleLibrary();
