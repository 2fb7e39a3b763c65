// STAND-INS: see ScriptStandIns.h.
#include "shell/ScriptStandIns.h"

#include "core/Assert.h"
#include "core/XmlElement.h"
#include "shell/ScriptServices.h"

namespace ScriptStandIn {

namespace {
const char* const STORAGE = "the persistent storage is";
const char* const SPLINES = "splines are";
const char* const CONTROLLERS = "controllers are";
}  // namespace

std::string GetStringAttribute(const ObjectWeakPointer<XmlElement>& element, const std::string& name) {
    ObjectWeakPointer<XmlAttribute> attribute = element->GetAttribute(name);
    Assert(attribute != NULL);
    return attribute != NULL ? attribute->GetValue() : std::string();
}

#define STORAGE_SETTER(NAME, TYPE) \
    void PermanentStorage::NAME(const std::string&, TYPE) { ReportNotLoaded(#NAME, STORAGE); }
#define STORAGE_GETTER(NAME, TYPE)                      \
    TYPE PermanentStorage::NAME(const std::string&) {   \
        ReportNotLoaded(#NAME, STORAGE);                \
        return TYPE();                                  \
    }
#define STORAGE_GETTER_OR_DEF(NAME, TYPE)                           \
    TYPE PermanentStorage::NAME(const std::string&, TYPE value) {   \
        ReportNotLoaded(#NAME, STORAGE);                            \
        return value;                                               \
    }
#define STORAGE_SCOPE(SCOPE)                                                          \
    STORAGE_SETTER(Set##SCOPE##Int, int)                                              \
    STORAGE_SETTER(Set##SCOPE##Bool, bool)                                            \
    STORAGE_SETTER(Set##SCOPE##Float, float)                                          \
    STORAGE_SETTER(Set##SCOPE##String, const std::string&)                            \
    STORAGE_GETTER(Get##SCOPE##Int, int)                                              \
    STORAGE_GETTER(Get##SCOPE##Bool, bool)                                            \
    STORAGE_GETTER(Get##SCOPE##Float, float)                                          \
    STORAGE_GETTER(Get##SCOPE##String, std::string)                                   \
    STORAGE_GETTER_OR_DEF(Get##SCOPE##IntOrDef, int)                                  \
    STORAGE_GETTER_OR_DEF(Get##SCOPE##BoolOrDef, bool)                                \
    STORAGE_GETTER_OR_DEF(Get##SCOPE##FloatOrDef, float)                              \
    STORAGE_GETTER(Is##SCOPE##NameDefined, bool)                                      \
    void PermanentStorage::Undef##SCOPE##Name(const std::string&) {                   \
        ReportNotLoaded("Undef" #SCOPE "Name", STORAGE);                              \
    }                                                                                 \
    std::string PermanentStorage::Get##SCOPE##StringOrDef(const std::string&,         \
                                                          const std::string& value) { \
        ReportNotLoaded("Get" #SCOPE "StringOrDef", STORAGE);                         \
        return value;                                                                 \
    }

STORAGE_SCOPE(Global)
STORAGE_SCOPE(Local)

std::string PermanentStorage::GetActivePlayerName() {
    ReportNotLoaded("GetActivePlayerName", STORAGE);
    return std::string();
}
STORAGE_GETTER(DoesPlayerExist, bool)
void PermanentStorage::SetActivePlayer(const std::string&) { ReportNotLoaded("SetActivePlayer", STORAGE); }
void PermanentStorage::BackupActivePlayer(const std::string&) {
    ReportNotLoaded("BackupActivePlayer", STORAGE);
}
void PermanentStorage::Commit() { ReportNotLoaded("Commit", STORAGE); }
void PermanentStorage::CreatePlayer(const std::string&) { ReportNotLoaded("CreatePlayer", STORAGE); }
void PermanentStorage::RenamePlayer(const std::string&, const std::string&) {
    ReportNotLoaded("RenamePlayer", STORAGE);
}
void PermanentStorage::DeleteInactivePlayers() { ReportNotLoaded("DeleteInactivePlayers", STORAGE); }

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
