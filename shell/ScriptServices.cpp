#include "shell/ScriptServices.h"

#include "core/Assert.h"

ScriptServices& GetScriptServices() {
    static ScriptServices services;
    return services;
}

void ReportNotLoaded(const std::string& function, const std::string& kind) {
    ReportError("Script function '" + function + "': " + kind + " not loaded");
}
