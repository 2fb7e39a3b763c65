#include "controls/CommonDefinitionClasses.h"

#include "content/CommonDefinitions.h"
#include "controls/LayeredAnimation.h"
#include "content/LayeredAnimationScript.h"
#include "controls/ControlFactory.h"
#include "shell/ScriptServices.h"

void RegisterCommonDefinitionClasses() {
    GetScriptServices().registerLayeredAnimations = &RegisterLayeredAnimationScriptApi;
    static bool isRegistered = false;
    if (isRegistered) {
        return;
    }
    isRegistered = true;
    const char* const names[] = {"Template",
                                 "AbstractTemplateCollection",
                                 "FinalTemplateCollection",
                                 "CreationMessageDefinition",
                                 "PlaySampleDefinition",
                                 "UndefVariableDefinition",
                                 "DefUndefVariableDefinition"};
    for (const char* name : names) {
        ControlFactory::RegisterDefinition(name, &CreateCommonDefinition);
    }
    ControlFactory::RegisterControl("LayeredAnimation", ControlFactory::Make<LayeredAnimation>());
}
