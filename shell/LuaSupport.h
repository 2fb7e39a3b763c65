#pragma once
// Lua state plumbing of the script host: the state itself, its libraries and protected calls of
// global functions.
//
// Lua is the C build that the binding library links against, so a Lua error is a longjmp. Code
// here and in the script functions never raises one over C++ objects: script functions throw a
// C++ exception that the binding turns into a Lua error after their frames are gone, and the
// functions below that Lua may longjmp through hold no object with a destructor.

extern "C" {
#include <lauxlib.h>
#include <lua.h>
#include <lualib.h>
}

#include <cstddef>
#include <string>

namespace LuaSupport {

// A state whose userdata blocks meet the strictest alignment of the platform (the binding keeps
// objects of 16-byte alignment in them); errors outside protected calls are logged before Lua aborts.
lua_State* NewState();

// How many instructions one call into the scripts (a script file, or a global function called by
// the program, with everything it calls) may run before it is stopped with a script error naming
// the script and the line. Generous: the game's scripts run a few thousand a call.
constexpr long long DEFAULT_INSTRUCTION_LIMIT = 200000000;
void SetInstructionLimit(long long limit);

// lua_pcall under the instruction limit: the count starts at the outermost call.
int ProtectedCall(lua_State* L, int arguments, int results);

// Base, coroutine, string and math; table, io, os, debug and package stay closed.
void OpenLibraries(lua_State* L);

// The one argument of a call by name.
struct CallArgument {
    enum class Kind { None, String, Number };
    Kind kind = Kind::None;
    const char* text = nullptr;
    std::size_t length = 0;
    double number = 0.0;
};

inline CallArgument NoArgument() { return CallArgument(); }
CallArgument StringArgument(const std::string& text);
CallArgument NumberArgument(float value);

// Looks the global up and calls it, all in protected mode. True with the results on the stack;
// false with the error text in *error and the stack as before.
bool CallGlobal(lua_State* L, const std::string& name, const CallArgument& argument, int results,
                std::string* error);

// The error object on top of the stack as text, removed.
std::string PopErrorText(lua_State* L);

// A script number as single precision; values beyond the float range are cut to its ends.
float ToFloat(double value);

}  // namespace LuaSupport
