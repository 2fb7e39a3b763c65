#include "content/ParticleLibrary.h"

#include <tinyxml.h>

#include <cstdio>

#include "core/Assert.h"
#include "platform/FilePort.h"

namespace {

// What a message box of the content would say; logged, never blocking.
void ReportContentError(const std::string& text) { ::ReportFailure("Error!", text, __FILE__, __LINE__); }

// Reads the file through the path normaliser; a missing or broken file is reported with its name.
bool LoadDocument(TiXmlDocument& document, const std::string& path, const char* kind) {
    std::FILE* file = FilePort::Open(path, "rb");
    if (file == nullptr) {
        ReportError(std::string("Cannot open ") + kind + " file " + path);
        return false;
    }
    const bool loaded = document.LoadFile(file);
    std::fclose(file);
    if (!loaded || document.RootElement() == nullptr) {
        ReportError(std::string("Cannot read ") + kind + " file " + path + ": " + document.ErrorDesc() + " (row " +
                    std::to_string(document.ErrorRow()) + ", column " + std::to_string(document.ErrorCol()) + ")");
        return false;
    }
    return true;
}

void ReadEffectAttributes(const TiXmlElement* xe, ParticleSystem& system) {
    ParticleXml::ReadBool(xe, "needStartDeadCounter", system.needStartDeadCounter);
    ParticleXml::ReadFloat(xe, "deadCountTime", system.deadCountTime);
    ParticleXml::ReadFloat(xe, "bornTime", system.bornTime);
}

}  // namespace

ParticleLibrary& GetParticleLibrary() {
    static ParticleLibrary library;
    return library;
}

void ParticleLibrary::LoadParticles(const std::string& path) {
    TiXmlDocument document;
    if (!LoadDocument(document, path, "particle")) return;
    for (const TiXmlElement* xe = document.RootElement()->FirstChildElement("ParticleSystem"); xe;
         xe = xe->NextSiblingElement("ParticleSystem")) {
        const char* name = xe->Attribute("name");
        if (name == nullptr) continue;
        if (_systems.count(name) != 0) ReportContentError(std::string("Particle system ") + name + " already exist!");
        _systems[name].Load(xe, name);
    }
}

void ParticleLibrary::LoadEffects(const std::string& path) {
    TiXmlDocument document;
    if (!LoadDocument(document, path, "effect")) return;
    const TiXmlElement* root = document.RootElement();
    const bool versioned = root->Attribute("version") != nullptr;
    for (const TiXmlElement* xe = root->FirstChildElement("Effect"); xe; xe = xe->NextSiblingElement("Effect")) {
        const char* name = xe->Attribute("name");
        if (name == nullptr) continue;
        if (versioned && _effects.count(name) != 0) ReportContentError(std::string("Effect ") + name + " already exist!");
        ParticleEffect& effect = _effects[name];
        for (const TiXmlElement* s = xe->FirstChildElement("ParticleSystem"); s; s = s->NextSiblingElement("ParticleSystem")) {
            effect.systems.emplace_back();
            if (versioned) {
                effect.systems.back().Load(s, std::string(name) + "/" + std::to_string(effect.systems.size()));
            } else if (const char* systemName = s->Attribute("name")) {
                // Looked up before the reference is taken: the lookup may add to the systems map only.
                const ParticleSystem& prototype = GetSystem(systemName);
                effect.systems.back() = prototype;
            }
            ReadEffectAttributes(s, effect.systems.back());
        }
    }
}

ParticleSystem& ParticleLibrary::GetSystem(const std::string& name) {
    auto found = _systems.find(name);
    if (found != _systems.end()) return found->second;
    ReportContentError("System " + name + " not found!");
    return _systems[name];
}

ParticleEffect& ParticleLibrary::GetEffect(const std::string& name) {
    auto found = _effects.find(name);
    if (found != _effects.end()) return found->second;
    ReportContentError("Effect " + name + " not found!");
    return _effects[name];
}

void ParticleLibrary::Clear() {
    _systems.clear();
    _effects.clear();
}
