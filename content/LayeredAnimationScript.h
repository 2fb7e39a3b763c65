#pragma once
// Script side of the layered animations: the classes "LayerSet", "AnimLayer" and "LayerObject",
// and the tables through which a script reaches a scene as set.layerName.objectName.

#include <string>

struct lua_State;
class LayerSet;

// Registers the three classes; called by the script API registration.
void RegisterLayeredAnimationScriptApi(lua_State* L);

namespace LayeredAnimationScript {

// Sets the global named like the set to a new table: per layer a table holding the layer under
// "layer" and every object under its name. Returns a reference to the table (0 without a state).
int Publish(lua_State* L, LayerSet& set);
// Makes the global named like the set refer to the published table again.
void Republish(lua_State* L, const std::string& setName, int table);
// Clears the global when it still refers to the table, and lets the table go.
void Unpublish(lua_State* L, const std::string& setName, int table);

}  // namespace LayeredAnimationScript
