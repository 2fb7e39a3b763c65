#include "shell/LuaSupport.h"

#include <cfloat>
#include <cstdint>
#include <cstdlib>

#include "core/Assert.h"

namespace LuaSupport {

namespace {

constexpr std::uintptr_t ALIGNMENT = 16;

// Distance of every block from a block that malloc would return, chosen so that the payload of a
// userdata, which follows Lua's header, lands on an ALIGNMENT boundary.
std::size_t blockShift = 0;

void* ShiftedAlloc(void*, void* block, std::size_t, std::size_t newSize) {
    char* base = block ? static_cast<char*>(block) - blockShift : nullptr;
    if (newSize == 0) {
        std::free(base);
        return nullptr;
    }
    char* result = static_cast<char*>(std::realloc(base, newSize + blockShift));
    return result ? result + blockShift : nullptr;
}

std::size_t MeasureShift() {
    blockShift = 0;
    lua_State* probe = lua_newstate(&ShiftedAlloc, nullptr);
    if (probe == nullptr) {
        return 0;
    }
    const auto payload = reinterpret_cast<std::uintptr_t>(lua_newuserdata(probe, 1));
    lua_close(probe);
    // malloc's blocks lie on ALIGNMENT boundaries, so the payload's offset is its remainder.
    return static_cast<std::size_t>((ALIGNMENT - payload % ALIGNMENT) % ALIGNMENT);
}

// Instructions are counted in steps of this many; the hook costs nothing between them.
constexpr int HOOK_STEP = 10000;
long long instructionLimit = DEFAULT_INSTRUCTION_LIMIT;
long long instructionsRun = 0;
int callDepth = 0;

// Runs inside the interpreter: holds no object with a destructor, as lua_error leaves by longjmp.
void CountInstructions(lua_State* L, lua_Debug* ar) {
    if (callDepth == 0) return;  // not a call of the program's (a test's own)
    instructionsRun += lua_gethookcount(L);
    if (instructionsRun <= instructionLimit) {
        // A coroutine stopped in an earlier call counts in steps again.
        if (lua_gethookcount(L) != HOOK_STEP) lua_sethook(L, &CountInstructions, LUA_MASKCOUNT, HOOK_STEP);
        return;
    }
    // From now on every instruction raises it again, so a script that catches it with pcall still
    // ends: the instruction after the pcall raises it in the caller.
    lua_sethook(L, &CountInstructions, LUA_MASKCOUNT, 1);
    lua_getinfo(L, "Sl", ar);
    lua_pushfstring(L, "%s:%d: the script ran past its limit of %d instructions and is stopped", ar->short_src,
                    ar->currentline, static_cast<int>(instructionLimit));
    lua_error(L);
}

int Panic(lua_State* L) {
    const char* message = lua_tostring(L, -1);
    ReportError(std::string("Unprotected script error: ") + (message ? message : "?"));
    return 0;
}

// Runs inside lua_pcall: arguments 1 = the call record. Holds no object with a destructor.
struct CallRecord {
    const char* name = nullptr;
    const CallArgument* argument = nullptr;
    int results = 0;
};

int CallGlobalBody(lua_State* L) {
    const auto* call = static_cast<const CallRecord*>(lua_touserdata(L, 1));
    lua_settop(L, 0);
    lua_getglobal(L, call->name);
    int arguments = 0;
    switch (call->argument->kind) {
        case CallArgument::Kind::String:
            lua_pushlstring(L, call->argument->text, call->argument->length);
            arguments = 1;
            break;
        case CallArgument::Kind::Number:
            lua_pushnumber(L, call->argument->number);
            arguments = 1;
            break;
        case CallArgument::Kind::None:
            break;
    }
    lua_call(L, arguments, call->results);
    return call->results;
}

}  // namespace

lua_State* NewState() {
    static const std::size_t shift = MeasureShift();
    blockShift = shift;
    lua_State* L = lua_newstate(&ShiftedAlloc, nullptr);
    Assert(L != NULL);
    if (L != nullptr) {
        lua_atpanic(L, &Panic);
        lua_sethook(L, &CountInstructions, LUA_MASKCOUNT, HOOK_STEP);
    }
    return L;
}

void SetInstructionLimit(long long limit) { instructionLimit = limit; }

int ProtectedCall(lua_State* L, int arguments, int results) {
    if (callDepth == 0) {
        instructionsRun = 0;
        lua_sethook(L, &CountInstructions, LUA_MASKCOUNT, HOOK_STEP);
    }
    ++callDepth;
    const int status = lua_pcall(L, arguments, results, 0);
    --callDepth;
    return status;
}

void OpenLibraries(lua_State* L) {
    static const luaL_Reg libraries[] = {
        {"_G", luaopen_base},
        {LUA_COLIBNAME, luaopen_coroutine},
        {LUA_STRLIBNAME, luaopen_string},
        {LUA_MATHLIBNAME, luaopen_math},
    };
    for (const luaL_Reg& library : libraries) {
        luaL_requiref(L, library.name, library.func, 1);
        lua_pop(L, 1);
    }
}

CallArgument StringArgument(const std::string& text) {
    CallArgument argument;
    argument.kind = CallArgument::Kind::String;
    argument.text = text.data();
    argument.length = text.size();
    return argument;
}

CallArgument NumberArgument(float value) {
    CallArgument argument;
    argument.kind = CallArgument::Kind::Number;
    argument.number = value;
    return argument;
}

bool CallGlobal(lua_State* L, const std::string& name, const CallArgument& argument, int results,
                std::string* error) {
    CallRecord call;
    call.name = name.c_str();
    call.argument = &argument;
    call.results = results;
    if (!lua_checkstack(L, 2 + results)) {
        *error = "stack overflow";
        return false;
    }
    lua_pushcfunction(L, &CallGlobalBody);
    lua_pushlightuserdata(L, &call);
    if (ProtectedCall(L, 1, results) != LUA_OK) {
        *error = PopErrorText(L);
        return false;
    }
    return true;
}

std::string PopErrorText(lua_State* L) {
    std::string text;
    if (const char* message = lua_tostring(L, -1)) {
        text = message;
    } else {
        text = std::string("(error object is a ") + luaL_typename(L, -1) + " value)";
    }
    lua_pop(L, 1);
    return text;
}

float ToFloat(double value) {
    if (value > FLT_MAX) return FLT_MAX;
    if (value < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(value);
}

}  // namespace LuaSupport
