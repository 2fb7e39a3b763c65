#include "content/LayeredAnimationScript.h"

#include <luabind/luabind.hpp>

#include "content/LayeredAnimationScene.h"
#include "shell/LuaSupport.h"

void RegisterLayeredAnimationScriptApi(lua_State* L) {
    using namespace luabind;
    module(L)[class_<LayerSet>("LayerSet").def("getLayer", &LayerSet::getLayer),
              class_<AnimLayer>("AnimLayer")
                  .def_readwrite("isVisible", &AnimLayer::_isVisible)
                  .def_readwrite("x", &AnimLayer::_x)
                  .def_readwrite("y", &AnimLayer::_y)
                  .def_readwrite("scale", &AnimLayer::_scale)
                  .def("getObject", &AnimLayer::getObject),
              class_<LayerObject>("LayerObject")
                  .def_readwrite("x", &LayerObject::_x)
                  .def_readwrite("y", &LayerObject::_y)
                  .def_readwrite("scale", &LayerObject::_scale)
                  .def_readwrite("angle", &LayerObject::_angle)
                  .def_readwrite("rotX", &LayerObject::_rotX)
                  .def_readwrite("rotY", &LayerObject::_rotY)
                  .def_readwrite("isVisible", &LayerObject::_isVisible)
                  .def_readwrite("color", &LayerObject::_color)
                  .def("Do", &LayerObject::Do)];
}

namespace LayeredAnimationScript {

int Publish(lua_State* L, LayerSet& set) {
    if (L == nullptr) {
        return 0;
    }
    luabind::object setTable = luabind::newtable(L);
    for (const ObjectSmartPointer<AnimLayer>& layer : set._layers) {
        luabind::object layerTable = luabind::newtable(L);
        layerTable["layer"] = layer.Get();
        for (const ObjectSmartPointer<LayerObject>& object : layer->_objects) {
            layerTable[object->_name] = object.Get();
        }
        setTable[layer->_name] = layerTable;
    }
    luabind::globals(L)[set._name] = setTable;
    setTable.push(L);
    return luaL_ref(L, LUA_REGISTRYINDEX);
}

void Republish(lua_State* L, const std::string& setName, int table) {
    if (L == nullptr || table == 0) {
        return;
    }
    lua_rawgeti(L, LUA_REGISTRYINDEX, table);
    lua_setglobal(L, setName.c_str());
}

void Unpublish(lua_State* L, const std::string& setName, int table) {
    if (L == nullptr || table == 0) {
        return;
    }
    lua_getglobal(L, setName.c_str());
    lua_rawgeti(L, LUA_REGISTRYINDEX, table);
    const bool isOurs = lua_rawequal(L, -1, -2) != 0;
    lua_pop(L, 2);
    if (isOurs) {
        lua_pushnil(L);
        lua_setglobal(L, setName.c_str());
    }
    luaL_unref(L, LUA_REGISTRYINDEX, table);
}

}  // namespace LayeredAnimationScript
