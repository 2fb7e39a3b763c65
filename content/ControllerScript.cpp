#include "content/ControllerScript.h"

#include <luabind/adopt_policy.hpp>
#include <luabind/luabind.hpp>

#include "content/ControllerManager.h"
#include "content/ParticleScript.h"
#include "content/Spline.h"
#include "content/SplineScript.h"
#include "shell/ScriptServices.h"

void RegisterControllerScriptClasses(lua_State* L) {
    using Core::ControllerManager;
    luabind::module(L)[luabind::class_<IController>("IController"),
                       luabind::class_<ControllerManager>("ControllerManager")
                           .def("addController", &ControllerManager::addController, luabind::adopt(_2))];
}

void SetKernelScriptGlobal(lua_State* L) { luabind::globals(L)["kernel"] = &Core::GetControllerManager(); }

void ConnectAnimationScriptServices() {
    ScriptServices& services = GetScriptServices();
    services.registerSpline = &RegisterSplineScriptClass;
    services.ease = &ease;
    services.registerEffect = &RegisterEffectScriptClass;
    services.registerControllers = &RegisterControllerScriptClasses;
    services.setKernel = &SetKernelScriptGlobal;
    services.loadParticles = &LoadParticlesForScript;
    services.loadEffects = &LoadEffectsForScript;
}
