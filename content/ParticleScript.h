#pragma once
// Script side of the particle library: the class "Effect" and the functions "LoadParticles" and
// "LoadEffects" (file names passed unchanged to the program's library).

#include <string>

struct lua_State;

void RegisterEffectScriptClass(lua_State* L);
void LoadParticlesForScript(const std::string& fileName);
void LoadEffectsForScript(const std::string& fileName);
// Registers "LoadParticles" and "LoadEffects" directly (for hosts without their own functions).
void RegisterParticleScriptFunctions(lua_State* L);
