#pragma once
// The Lua host: the one interpreter state of the process, script files and calls of global
// script functions by name, and the script functions that load content.

#include <stdexcept>
#include <string>

struct lua_State;

// Thrown by a script function to end the running script with a script error. The binding turns
// it into a Lua error once the C++ frames of the call are gone, so no longjmp crosses them.
class ScriptError : public std::runtime_error {
public:
    explicit ScriptError(const std::string& text) : std::runtime_error(text) {}
};

class ScriptMap {
public:
    // Created by Open, never closed.
    static lua_State* state;

    static void Open();
    // Runs a script file; false (reported) when it cannot be read or compiled. An error while it
    // runs is reported too, but the script counts as run.
    static bool RunScript(const std::string& fileName);
    static void CallFunction(const std::string& name);
    static void CallFunctionWithString(const std::string& name, const std::string& text);
    static void CallFunctionWithFloat(const std::string& name, float value);
    // The number the function returns; 0.0 when the call fails or gives no number.
    static float CallFloatFunction(const std::string& name, float value);

    // Script functions.
    static void LoadControlTree(const std::string& fileName);
    static void LoadTemplate(const std::string& fileName);
    static void LoadResource(const std::string& fileName);
    static void LoadParticles(const std::string& fileName);
    static void LoadEffects(const std::string& fileName);
    static float lerp(float a, float b, float t);
    static float getPeriod(float value, float period);
    static void WriteToLog(const std::string& text);
    static void WriteToLogColor(const std::string& text, const std::string& color);
};
