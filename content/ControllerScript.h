#pragma once
// Script side of the controllers: the classes "IController" and "ControllerManager" and the global
// "kernel" bound to the program's controller manager.

struct lua_State;

// "IController" (no members) and "ControllerManager" with "addController", which hands the
// controller over to the manager.
void RegisterControllerScriptClasses(lua_State* L);
// The global "kernel": Core::GetControllerManager().
void SetKernelScriptGlobal(lua_State* L);

// Hands the script registrations and functions of splines, effects and controllers ("Spline",
// "ease", "Effect", "IController", "ControllerManager", "kernel", "LoadParticles", "LoadEffects")
// to the script host; call before the script API is registered.
void ConnectAnimationScriptServices();
