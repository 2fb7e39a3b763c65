#include "content/ParticleScript.h"

#include <luabind/luabind.hpp>

#include "content/ParticleLibrary.h"

void RegisterEffectScriptClass(lua_State* L) { luabind::module(L)[luabind::class_<ParticleEffect>("Effect")]; }

void LoadParticlesForScript(const std::string& fileName) { GetParticleLibrary().LoadParticles(fileName); }

void LoadEffectsForScript(const std::string& fileName) { GetParticleLibrary().LoadEffects(fileName); }

void RegisterParticleScriptFunctions(lua_State* L) {
    luabind::module(L)[luabind::def("LoadParticles", &LoadParticlesForScript),
                       luabind::def("LoadEffects", &LoadEffectsForScript)];
}
