#pragma once
// STAND-INS: script-facing pieces whose real classes are being built elsewhere. Each block names
// what replaces it; the script names and signatures stay, only the bound type or call changes.

#include <string>

#include "core/ObjectSmartPointer.h"

class XmlElement;

namespace ScriptStandIn {

// Until the typed attribute access: XmlElement::GetStringAttribute (a missing attribute is a
// failed check and gives the empty text).
std::string GetStringAttribute(const ObjectWeakPointer<XmlElement>& element, const std::string& name);

// Until the persistent storage: the functions of the table "PermanentStorage".
struct PermanentStorage {
    static void SetGlobalInt(const std::string& name, int value);
    static void SetGlobalBool(const std::string& name, bool value);
    static void SetGlobalFloat(const std::string& name, float value);
    static void SetGlobalString(const std::string& name, const std::string& value);
    static int GetGlobalInt(const std::string& name);
    static bool GetGlobalBool(const std::string& name);
    static float GetGlobalFloat(const std::string& name);
    static std::string GetGlobalString(const std::string& name);
    static int GetGlobalIntOrDef(const std::string& name, int value);
    static bool GetGlobalBoolOrDef(const std::string& name, bool value);
    static float GetGlobalFloatOrDef(const std::string& name, float value);
    static std::string GetGlobalStringOrDef(const std::string& name, const std::string& value);
    static bool IsGlobalNameDefined(const std::string& name);
    static void UndefGlobalName(const std::string& name);
    static void SetLocalInt(const std::string& name, int value);
    static void SetLocalBool(const std::string& name, bool value);
    static void SetLocalFloat(const std::string& name, float value);
    static void SetLocalString(const std::string& name, const std::string& value);
    static int GetLocalInt(const std::string& name);
    static bool GetLocalBool(const std::string& name);
    static float GetLocalFloat(const std::string& name);
    static std::string GetLocalString(const std::string& name);
    static int GetLocalIntOrDef(const std::string& name, int value);
    static bool GetLocalBoolOrDef(const std::string& name, bool value);
    static float GetLocalFloatOrDef(const std::string& name, float value);
    static std::string GetLocalStringOrDef(const std::string& name, const std::string& value);
    static bool IsLocalNameDefined(const std::string& name);
    static void UndefLocalName(const std::string& name);
    static std::string GetActivePlayerName();
    static bool DoesPlayerExist(const std::string& name);
    static void SetActivePlayer(const std::string& name);
    static void BackupActivePlayer(const std::string& suffix);
    static void Commit();
    static void CreatePlayer(const std::string& name);
    static void RenamePlayer(const std::string& oldName, const std::string& newName);
    static void DeleteInactivePlayers();
};

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
