#pragma once
// STAND-INS for the script classes of the content subsystem, registered while it has not
// connected its own registrations (ScriptServices). The script names and signatures are the real
// ones; every method reports that its kind of content is not loaded.

#include <string>

namespace ScriptStandIn {

// "Spline", "Effect", "IController", "ControllerManager" and the object "kernel".
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
