#pragma once
// A pool of at most 300 particles with one texture and one set of parameter definitions, drawn as
// rotated, coloured squares in one draw call through the shared particle vertex batch.

#include <string>
#include <vector>

#include "content/Spline.h"
#include "shell/OldTexture.h"

class TiXmlElement;

// One key of a parameter curve, as read from the file, with its current random value.
struct ParamKey {
    float value = 0.0f;
    float time = 0.0f;
    float initial = 0.0f;
    float variation = 0.0f;
    bool offset = false;
};

// One animated particle property: an initial value with a spread and a rate, or a curve over life.
struct ParticleParam {
    float value = 0.0f;
    float initial = 0.0f;
    float variation = 0.0f;
    float scale = 1.0f;
    float rate = 0.0f;
    float rateInitial = 0.0f;
    float rateVariation = 0.0f;
    bool curve = false;
    std::vector<ParamKey> keys;
    TimedSpline spline;

    // Reads a "Param" element over this parameter.
    void Load(const TiXmlElement* xe);
    // A new value and rate; for a curve, new key values (offset keys add to the key before).
    void Randomize();
    void Update(float dt, float relTime);
    // Slope of the curve at relTime, or the rate without a curve.
    float GetMotion(float relTime) const;

private:
    void DrawKeyValues();
};

enum ParticleParamIndex {
    PARAM_X,
    PARAM_Y,
    PARAM_SIZE,
    PARAM_ANGLE,
    PARAM_V,
    PARAM_SPIN,
    PARAM_RED,
    PARAM_GREEN,
    PARAM_BLUE,
    PARAM_ALPHA,
    PARAM_COUNT
};

struct Particle {
    float life = 0.0f;
    float age = 0.0f;  // negative while waiting to be born
    float offset[2] = {0.0f, 0.0f};
    float origin[2] = {0.0f, 0.0f};
    float travelled[2] = {0.0f, 0.0f};
    float direction = 0.0f;
    bool alive = true;
    ParticleParam params[PARAM_COUNT];

    // Life time share 0..1; 0 for a particle without a positive life.
    float RelTime() const { return life > 0.0f ? age / life : 0.0f; }
};

enum EmitterType { EMITTER_POINT = 0, EMITTER_LINE = 1, EMITTER_RECT = 2, EMITTER_ELLIPSE = 3 };

class ParticleSystem {
public:
    static constexpr int MAX_PARTICLES = 300;
    static constexpr float DEGREE = 0.017453292f;

    // Fills this default system from a "ParticleSystem" element; name is used in reports.
    void Load(const TiXmlElement* xe, const std::string& name);
    void Reset();
    void Update(float dt);
    void Draw();

    int GetParticleCount() const { return static_cast<int>(particles.size()); }

    std::vector<Particle> particles;
    float lifeInitial = 0.0f;
    float lifeVariation = 0.0f;
    float time = 0.0f;
    float startTime = 0.0f;
    OldTexture texture;
    bool hasTexture = false;
    bool emitting = true;
    bool stopping = false;
    int deadCount = 0;
    bool additive = true;
    int emitterType = EMITTER_POINT;
    float emitterAngle = 0.0f;
    float emitterRange = 0.0f;
    float emitterOrientation = 0.0f;
    float emitterSizes[3] = {0.0f, 0.0f, 0.0f};
    ParticleParam params[PARAM_COUNT];
    float emitterX = 0.0f;
    float emitterY = 0.0f;
    bool linkedParticles = false;
    bool orientParticles = false;
    bool isVelocity = false;
    bool isEqual = false;

    // Kept by the effect's copy of the system.
    float bornTime = 0.0f;
    bool needStartDeadCounter = false;
    float deadCountTime = 0.0f;
    bool waiting = true;
    bool dead = false;

private:
    float DrawLife() const;
    void ResetParticle(Particle& particle);
    void Birth(int index);
};

// The particle texture cache: a path is read and uploaded once; systems hold copies.
namespace ParticleTextures {
// True when the picture could be read; texture then shares the cached device texture.
bool Get(const std::string& path, OldTexture& texture);
// Gives every cached device texture back and empties the cache (before the device goes).
void ReleaseAll();
}  // namespace ParticleTextures

// Reads XML attributes the way particle files are read: floats "%f", ints "%d", bools "true" or "1".
namespace ParticleXml {
bool ReadFloat(const TiXmlElement* xe, const char* name, float& value);
bool ReadInt(const TiXmlElement* xe, const char* name, int& value);
bool ReadBool(const TiXmlElement* xe, const char* name, bool& value);
}  // namespace ParticleXml
