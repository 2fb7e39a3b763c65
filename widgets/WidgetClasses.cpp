#include "widgets/WidgetClasses.h"

#include "controls/ControlFactory.h"
#include "widgets/CreditsControl.h"
#include "widgets/StaticTextControl.h"

void RegisterWidgetClasses() {
    static bool isRegistered = false;
    if (isRegistered) {
        return;
    }
    isRegistered = true;
    ControlFactory::RegisterControl("StaticTextControl", ControlFactory::Make<StaticTextControl>());
    ControlFactory::RegisterControl("CreditsControl", ControlFactory::Make<CreditsControl>());
}
