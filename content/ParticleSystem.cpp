#include "content/ParticleSystem.h"

#include <tinyxml.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>

#include "content/ParticleVertices.h"
#include "core/Assert.h"
#include "core/Random.h"
#include "shell/ImageLoader.h"
#include "shell/RenderDevice.h"

namespace ParticleXml {

bool ReadFloat(const TiXmlElement* xe, const char* name, float& value) {
    const char* text = xe->Attribute(name);
    if (text == nullptr) return false;
    float read = 0.0f;
    if (std::sscanf(text, "%f", &read) == 1) value = read;
    return true;
}

bool ReadInt(const TiXmlElement* xe, const char* name, int& value) {
    const char* text = xe->Attribute(name);
    if (text == nullptr) return false;
    int read = 0;
    if (std::sscanf(text, "%d", &read) == 1) value = read;
    return true;
}

bool ReadBool(const TiXmlElement* xe, const char* name, bool& value) {
    const char* text = xe->Attribute(name);
    if (text == nullptr) return false;
    value = std::strcmp(text, "true") == 0 || std::strcmp(text, "1") == 0;
    return true;
}

}  // namespace ParticleXml

using ParticleXml::ReadBool;
using ParticleXml::ReadFloat;
using ParticleXml::ReadInt;

// ---------------------------------------------------------------------------------------------
// Parameters

void ParticleParam::Load(const TiXmlElement* xe) {
    value = initial = variation = 0.0f;
    rate = rateInitial = rateVariation = 0.0f;
    curve = false;
    ReadFloat(xe, "initial", initial);
    ReadFloat(xe, "variation", variation);
    ReadFloat(xe, "d", rateInitial);
    ReadFloat(xe, "dVariation", rateVariation);
    value = RandomFloatRange(scale * initial - scale * variation, scale * (initial + variation));
    rate = RandomFloatRange(scale * rateInitial - scale * rateVariation, scale * (rateInitial + rateVariation));

    const TiXmlElement* splineElement = xe->FirstChildElement("spline");
    if (splineElement == nullptr) return;
    curve = true;
    keys.clear();
    spline.Clear();
    int count = 0;
    for (const TiXmlElement* k = splineElement->FirstChildElement("key"); k; k = k->NextSiblingElement("key")) ++count;
    const TiXmlElement* first = splineElement->FirstChildElement("key");
    const bool timed = first != nullptr && first->Attribute("time") != nullptr;
    const float step = count > 1 ? 1.0f / static_cast<float>(count - 1) : 0.0f;
    float time = 0.0f;
    int index = 0;
    for (const TiXmlElement* k = first; k; k = k->NextSiblingElement("key"), ++index) {
        ParamKey key;
        ReadFloat(k, "initial", key.initial);
        ReadFloat(k, "variation", key.variation);
        ReadBool(k, "offset", key.offset);
        if (timed) {
            ReadFloat(k, "time", key.time);
        } else {
            key.time = index == count - 1 ? 1.0f : time;
            time += step;
        }
        keys.push_back(key);
    }
    // Keys in time order, so that key i is curve key i after the curve sorts its keys.
    for (std::size_t i = 1; i < keys.size(); ++i) {
        for (std::size_t j = i; j > 0 && keys[j].time < keys[j - 1].time; --j) std::swap(keys[j], keys[j - 1]);
    }
    for (const ParamKey& key : keys) spline.addKey(key.time, 0.0f);
    DrawKeyValues();
}

void ParticleParam::DrawKeyValues() {
    for (std::size_t i = 0; i < keys.size(); ++i) {
        ParamKey& key = keys[i];
        key.value = RandomFloatRange(scale * (key.initial - key.variation), scale * (key.initial + key.variation));
        if (key.offset && i > 0) key.value += keys[i - 1].value;
        spline.keys[i].value = key.value;
        spline.keys[i].value2 = key.value;
    }
    spline.CalculateGradient(false);
}

void ParticleParam::Randomize() {
    value = RandomFloatRange(scale * (initial - variation), scale * (initial + variation));
    rate = RandomFloatRange(scale * (rateInitial - rateVariation), scale * (rateInitial + rateVariation));
    if (curve) {
        DrawKeyValues();
        if (!keys.empty()) value = keys[0].value;
    }
}

void ParticleParam::Update(float dt, float relTime) {
    if (curve) {
        value = spline.getValueAt(relTime);
    } else {
        value += rate * dt;
    }
}

float ParticleParam::GetMotion(float relTime) const { return curve ? spline.getGradientAt(relTime) : rate; }

// ---------------------------------------------------------------------------------------------
// Texture cache

namespace ParticleTextures {

namespace {
std::map<std::string, OldTexture>& Cache() {
    static std::map<std::string, OldTexture> cache;
    return cache;
}
}  // namespace

bool Get(const std::string& path, OldTexture& texture) {
    auto found = Cache().find(path);
    if (found != Cache().end()) {
        texture = found->second;
        return true;
    }
    OldTexture loaded;
    ImageLoader::Load(loaded.image, path);
    if (loaded.image.width <= 0 || loaded.image.height <= 0) return false;
    loaded._linearFilter = 1;
    loaded.Upload();
    Cache()[path] = loaded;
    texture = loaded;
    return true;
}

void ReleaseAll() {
    for (auto& entry : Cache()) entry.second.Release();
    Cache().clear();
}

}  // namespace ParticleTextures

// ---------------------------------------------------------------------------------------------
// System

namespace {

const char* const PARAM_NAMES[PARAM_COUNT] = {"x", "y", "size", "angle", "v", "spin", "red", "green", "blue", "alpha"};

int ParamIndex(const char* name) {
    if (name == nullptr) return -1;
    for (int i = 0; i < PARAM_COUNT; ++i) {
        if (std::strcmp(name, PARAM_NAMES[i]) == 0) return i;
    }
    return -1;
}

constexpr float HALF_PI = 1.5707964f;
constexpr float TWO_PI = 6.2831855f;

unsigned char ColorByte(float value) {
    const int v = static_cast<int>(value);
    return static_cast<unsigned char>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

}  // namespace

float ParticleSystem::DrawLife() const {
    return RandomFloatRange(lifeInitial - lifeVariation, lifeInitial + lifeVariation);
}

void ParticleSystem::Load(const TiXmlElement* xe, const std::string& name) {
    params[PARAM_ANGLE].scale = DEGREE;
    params[PARAM_SPIN].scale = DEGREE;
    for (const TiXmlElement* p = xe->FirstChildElement("Param"); p; p = p->NextSiblingElement("Param")) {
        const int index = ParamIndex(p->Attribute("name"));
        if (index >= 0) params[index].Load(p);
    }

    std::string texturePath;
    if (const char* text = xe->Attribute("texture")) {
        texturePath = text;
        if (texturePath.compare(0, 8, "textures") != 0) texturePath = "textures\\Particles\\" + texturePath;
    }

    additive = true;
    ReadFloat(xe, "lifeInitial", lifeInitial);
    ReadFloat(xe, "lifeVariation", lifeVariation);
    ReadFloat(xe, "startTime", startTime);
    ReadBool(xe, "linkedParticles", linkedParticles);
    ReadBool(xe, "additive", additive);
    ReadBool(xe, "orientParticles", orientParticles);
    ReadBool(xe, "isVelocity", isVelocity);
    ReadBool(xe, "isEqual", isEqual);
    const char* type = xe->Attribute("emitterType");
    emitterType = EMITTER_POINT;
    if (type != nullptr) {
        if (std::strcmp(type, "line") == 0) emitterType = EMITTER_LINE;
        if (std::strcmp(type, "rect") == 0) emitterType = EMITTER_RECT;
        if (std::strcmp(type, "ellipse") == 0) emitterType = EMITTER_ELLIPSE;
    }
    ReadFloat(xe, "emitterAngle", emitterAngle);
    ReadFloat(xe, "emitterRange", emitterRange);
    ReadFloat(xe, "emitterOrientation", emitterOrientation);
    emitterAngle *= DEGREE;
    emitterRange *= DEGREE;
    emitterOrientation *= DEGREE;
    switch (emitterType) {
        case EMITTER_ELLIPSE:
            ReadFloat(xe, "ellipseRHor", emitterSizes[0]);
            ReadFloat(xe, "ellipseRVert", emitterSizes[1]);
            ReadFloat(xe, "ellipseThickness", emitterSizes[2]);
            break;
        case EMITTER_LINE: ReadFloat(xe, "lineLength", emitterSizes[0]); break;
        case EMITTER_RECT:
            ReadFloat(xe, "rectWidth", emitterSizes[0]);
            ReadFloat(xe, "rectHeight", emitterSizes[1]);
            break;
        default: break;
    }

    if (!texturePath.empty()) hasTexture = ParticleTextures::Get(texturePath, texture);

    int count = 0;
    if (!ReadInt(xe, "numOfParticles", count)) {
        ReportError("Particle system " + name + " has no numOfParticles");
        count = 0;
    } else if (count < 0) {
        ReportError("Particle system " + name + " has a negative numOfParticles");
        count = 0;
    }
    if (count > MAX_PARTICLES) count = MAX_PARTICLES;
    particles.resize(static_cast<std::size_t>(count));
    for (Particle& particle : particles) {
        particle.age = -RandomFloatRange(0.0f, startTime);
        particle.life = DrawLife();
        for (int k = 0; k < PARAM_COUNT; ++k) particle.params[k] = params[k];
        ResetParticle(particle);
    }
}

void ParticleSystem::ResetParticle(Particle& particle) {
    particle.travelled[0] = particle.travelled[1] = 0.0f;
    particle.direction = 0.0f;
    for (ParticleParam& param : particle.params) param.Randomize();
}

void ParticleSystem::Birth(int index) {
    Particle& particle = particles[static_cast<std::size_t>(index)];
    particle.origin[0] = emitterX;
    particle.origin[1] = emitterY;
    particle.offset[0] = particle.offset[1] = 0.0f;
    float baseHeading = 0.0f;
    const float c = std::cos(emitterOrientation);
    const float s = std::sin(emitterOrientation);
    if (emitterType == EMITTER_LINE) {
        const float t = RandomFloatRange(-emitterSizes[0] / 2.0f, emitterSizes[0] / 2.0f);
        particle.offset[0] = t * c;
        particle.offset[1] = t * s;
        baseHeading = emitterOrientation + HALF_PI;
    } else if (emitterType == EMITTER_ELLIPSE) {
        const float a = RandomFloatRange(0.0f, TWO_PI);
        const float ex = std::cos(a) * emitterSizes[0];
        const float ey = std::sin(a) * emitterSizes[1];
        particle.offset[0] = ex * c - ey * s;
        particle.offset[1] = ex * s + ey * c;
        baseHeading = a + emitterOrientation;
    }
    ResetParticle(particle);
    const float low = emitterAngle - emitterRange / 2.0f;
    if (isEqual) {
        particle.direction = baseHeading + low + emitterRange * static_cast<float>(index) / static_cast<float>(particles.size());
    } else {
        particle.direction = baseHeading + RandomFloatRange(low, emitterAngle + emitterRange / 2.0f);
    }
}

void ParticleSystem::Reset() {
    time = 0.0f;
    stopping = false;
    deadCount = 0;
    emitting = true;
    for (std::size_t i = 0; i < particles.size(); ++i) {
        Particle& particle = particles[i];
        particle.age = -RandomFloatRange(0.0f, startTime);
        particle.life = DrawLife();
        particle.alive = true;
        for (int k = 0; k < PARAM_COUNT; ++k) particle.params[k] = params[k];
        Birth(static_cast<int>(i));
    }
}

void ParticleSystem::Update(float dt) {
    time += dt;
    for (std::size_t i = 0; i < particles.size(); ++i) {
        Particle& p = particles[i];
        if (p.age < 0.0f) {
            p.origin[0] = emitterX;
            p.origin[1] = emitterY;
        }
        p.age += dt;
        if (p.age >= p.life && p.life > 0.0f) {
            if (stopping && p.alive) ++deadCount;
            p.age = 0.0f;
            if (emitting) {
                p.life = DrawLife();
                Birth(static_cast<int>(i));
            } else {
                p.alive = false;
            }
        }
        if (p.age < 0.0f || !p.alive) continue;
        const float relTime = p.RelTime();
        ParticleParam* q = p.params;
        if (isVelocity) {
            q[PARAM_SIZE].Update(dt, relTime);
            q[PARAM_ANGLE].Update(dt, relTime);
            q[PARAM_RED].Update(dt, relTime);
            q[PARAM_GREEN].Update(dt, relTime);
            q[PARAM_BLUE].Update(dt, relTime);
            q[PARAM_ALPHA].Update(dt, relTime);
            const float heading = p.direction + q[PARAM_SPIN].value;
            p.travelled[0] += dt * q[PARAM_V].value * std::cos(heading);
            p.travelled[1] += dt * q[PARAM_V].value * std::sin(heading);
            q[PARAM_V].Update(dt, relTime);
            q[PARAM_SPIN].Update(dt, relTime);
        } else {
            q[PARAM_X].Update(dt, relTime);
            q[PARAM_Y].Update(dt, relTime);
            q[PARAM_SIZE].Update(dt, relTime);
            q[PARAM_ANGLE].Update(dt, relTime);
            q[PARAM_RED].Update(dt, relTime);
            q[PARAM_GREEN].Update(dt, relTime);
            q[PARAM_BLUE].Update(dt, relTime);
            q[PARAM_ALPHA].Update(dt, relTime);
        }
    }
}

void ParticleSystem::Draw() {
    IDirect3DDevice8* device = Render::device._d3dDevice;
    if (device == nullptr) return;
    if (hasTexture) {
        texture.Bind();
    } else {
        device->SetTexture(0, nullptr);
        Render::device._currentTexture = nullptr;
    }
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, additive ? D3DBLEND_ONE : D3DBLEND_INVSRCALPHA);

    ParticleVertexBatch& batch = GetParticleVertexBatch();
    const std::size_t capacity = batch.vertices.size() / 6;
    std::size_t n = 0;
    for (Particle& p : particles) {
        if (p.age < 0.0f || !p.alive) continue;
        if (n >= capacity) break;
        const ParticleParam* q = p.params;
        float alpha = q[PARAM_ALPHA].value;
        alpha = alpha < 0.0f ? 0.0f : (alpha > 255.0f ? 255.0f : alpha);
        const D3DCOLOR color = (static_cast<D3DCOLOR>(static_cast<int>(alpha)) << 24) |
                               (static_cast<D3DCOLOR>(ColorByte(q[PARAM_RED].value)) << 16) |
                               (static_cast<D3DCOLOR>(ColorByte(q[PARAM_GREEN].value)) << 8) |
                               static_cast<D3DCOLOR>(ColorByte(q[PARAM_BLUE].value));
        if (linkedParticles) {
            p.origin[0] = emitterX;
            p.origin[1] = emitterY;
        }
        float rotation = 0.0f;
        if (orientParticles) {
            if (isVelocity) {
                rotation = p.direction + q[PARAM_SPIN].value;
            } else {
                const float relTime = p.RelTime();
                const float dx = q[PARAM_X].GetMotion(relTime);
                const float dy = q[PARAM_Y].GetMotion(relTime);
                // A particle at rest keeps its square unturned.
                if (dx != 0.0f || dy != 0.0f) {
                    rotation = std::atan2(dy, dx);
                    if (rotation < 0.0f) rotation += TWO_PI;
                }
            }
        }
        float cx, cy;
        if (isVelocity) {
            cx = p.travelled[0] + p.origin[0] + p.offset[0];
            cy = p.travelled[1] + p.origin[1] + p.offset[1];
        } else {
            cx = q[PARAM_X].value + p.origin[0] + p.offset[0];
            cy = q[PARAM_Y].value + p.origin[1] + p.offset[1];
        }
        const float half = q[PARAM_SIZE].value;  // the side is twice the size
        rotation += q[PARAM_ANGLE].value;
        WriteParticleSquare(&batch.vertices[n * 6], cx, cy, half, half, rotation, color);
        ++n;
    }
    if (n > 0) {
        batch.vertexCount = static_cast<int>(n * 6);
        Render::device.FillVertexBuffer(batch);
        Render::device.DrawVertexBuffer(batch);
    }
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
}
