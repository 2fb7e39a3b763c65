#pragma once
// Script side of the spline code: the class "Spline" (a SplinePath of floats) and the function "ease".

struct lua_State;

// Registers the class "Spline" with addKey, getFrame, getGlobalFrame, getGradient, getSectors,
// Clear and CalculateGradient.
void RegisterSplineScriptClass(lua_State* L);
// Registers the global function "ease" (t, a, b).
void RegisterEaseScriptFunction(lua_State* L);
