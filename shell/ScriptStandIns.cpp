// STAND-INS: see ScriptStandIns.h.
#include "shell/ScriptStandIns.h"

#include "shell/ScriptServices.h"

namespace ScriptStandIn {

namespace {
const char* const SPLINES = "splines are";
const char* const CONTROLLERS = "controllers are";
}  // namespace

void Spline::addKey(float) { ReportNotLoaded("addKey", SPLINES); }
float Spline::getFrame(int, float) {
    ReportNotLoaded("getFrame", SPLINES);
    return 0.0f;
}
float Spline::getGlobalFrame(float) {
    ReportNotLoaded("getGlobalFrame", SPLINES);
    return 0.0f;
}
float Spline::getGradient(int, float) {
    ReportNotLoaded("getGradient", SPLINES);
    return 0.0f;
}
int Spline::getSectors() {
    ReportNotLoaded("getSectors", SPLINES);
    return 0;
}
void Spline::Clear() { ReportNotLoaded("Clear", SPLINES); }
void Spline::CalculateGradient(bool) { ReportNotLoaded("CalculateGradient", SPLINES); }

void ControllerManager::addController(IController&) { ReportNotLoaded("addController", CONTROLLERS); }

ControllerManager& GetControllerManager() {
    static ControllerManager manager;
    return manager;
}

}  // namespace ScriptStandIn
