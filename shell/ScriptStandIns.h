#pragma once
// STAND-INS: script-facing pieces whose real classes are being built elsewhere. Each block names
// what replaces it; the script names and signatures stay, only the bound type or call changes.

#include <string>

namespace ScriptStandIn {

// Until the content subsystem connects its classes (ScriptServices): "Spline", "Effect",
// "IController", "ControllerManager" and the object "kernel".
class Spline {
public:
    void addKey(float value);
    float getFrame(int sector, float t);
    float getGlobalFrame(float p);
    float getGradient(int sector, float t);
    int getSectors();
    void Clear();
    void CalculateGradient(bool cyclic);
};

class Effect {};
class IController {};

class ControllerManager {
public:
    void addController(IController& controller);
};
ControllerManager& GetControllerManager();

}  // namespace ScriptStandIn
