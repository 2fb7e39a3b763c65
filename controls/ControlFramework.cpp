#include "controls/ControlFramework.h"

#include "controls/ControlContainer.h"
#include "controls/ControlFactory.h"
#include "shell/ScriptServices.h"

void StartControlFramework() {
    RegisterControlFrameworkClasses();
    GetScriptServices().setRootContainer = &SetRootContainerFromXml;
}
