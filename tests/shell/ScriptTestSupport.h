#pragma once
// The script state shared by the script tests: opened and registered once per process, as in the game.

#include <string>

#include "shell/LuaSupport.h"
#include "shell/ScriptApi.h"
#include "shell/ScriptMap.h"

namespace script_test {

inline lua_State* State() {
    if (ScriptMap::state == nullptr) {
        ScriptMap::Open();
        RegisterScriptApi();
    }
    return ScriptMap::state;
}

// Runs Lua text; the empty text on success, else the error message.
inline std::string RunLua(const std::string& code) {
    lua_State* L = State();
    if (luaL_loadstring(L, code.c_str()) != LUA_OK || lua_pcall(L, 0, 0, 0) != LUA_OK) {
        return LuaSupport::PopErrorText(L);
    }
    return std::string();
}

// The value of a Lua expression as text ("nil", numbers with %.14g, strings as they are).
inline std::string Eval(const std::string& expression) {
    lua_State* L = State();
    const std::string code = "return tostring(" + expression + ")";
    if (luaL_loadstring(L, code.c_str()) != LUA_OK || lua_pcall(L, 0, 1, 0) != LUA_OK) {
        return "error: " + LuaSupport::PopErrorText(L);
    }
    std::string result = lua_tostring(L, -1);
    lua_pop(L, 1);
    return result;
}

inline std::string Fixture(const std::string& name) {
    return std::string(MARIVEL_SOURCE_DIR) + "/tests/shell/fixtures/lua/" + name;
}

}  // namespace script_test
