#include "content/ControllerScript.h"

#include <luabind/adopt_policy.hpp>
#include <luabind/luabind.hpp>

#include "content/ControllerManager.h"

void RegisterControllerScriptClasses(lua_State* L) {
    using Core::ControllerManager;
    luabind::module(L)[luabind::class_<IController>("IController"),
                       luabind::class_<ControllerManager>("ControllerManager")
                           .def("addController", &ControllerManager::addController, luabind::adopt(_2))];
}

void SetKernelScriptGlobal(lua_State* L) { luabind::globals(L)["kernel"] = &Core::GetControllerManager(); }
