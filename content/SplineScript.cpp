#include "content/SplineScript.h"

#include <luabind/luabind.hpp>

#include "content/Spline.h"

namespace {

using FloatSpline = SplinePath<float>;

void AddKey(FloatSpline& spline, float value) { spline.addKey(value); }
float GetFrame(const FloatSpline& spline, int sector, float t) { return spline.getFrame(sector, t); }
float GetGradient(const FloatSpline& spline, int sector, float t) { return spline.getGradient(sector, t); }
float GetGlobalFrame(const FloatSpline& spline, float p) { return spline.getGlobalFrame(p); }
int GetSectors(const FloatSpline& spline) { return spline.getSectors(); }
void Clear(FloatSpline& spline) { spline.Clear(); }
// The number of sectors is not handed to the script.
void CalculateGradient(FloatSpline& spline, bool cyclic) { spline.CalculateGradient(cyclic); }

}  // namespace

void RegisterSplineScriptClass(lua_State* L) {
    luabind::module(L)[luabind::class_<FloatSpline>("Spline")
                           .def(luabind::constructor<>())
                           .def("addKey", &AddKey)
                           .def("getFrame", &GetFrame)
                           .def("getGlobalFrame", &GetGlobalFrame)
                           .def("getGradient", &GetGradient)
                           .def("getSectors", &GetSectors)
                           .def("Clear", &Clear)
                           .def("CalculateGradient", &CalculateGradient)];
}

void RegisterEaseScriptFunction(lua_State* L) { luabind::module(L)[luabind::def("ease", &ease)]; }
