#pragma once
// The names under which the scripts see the program, bound once in ScriptMap::state.

void RegisterScriptApi();
