#include "widgets/WidgetClasses.h"

#include "controls/ControlFactory.h"
#include "widgets/ContextHelpClientControl.h"
#include "widgets/CreditsControl.h"
#include "widgets/StaticTextControl.h"
#include "widgets/ToolTipControl.h"

void RegisterWidgetClasses() {
    static bool isRegistered = false;
    if (isRegistered) {
        return;
    }
    isRegistered = true;
    ControlFactory::RegisterControl("StaticTextControl", ControlFactory::Make<StaticTextControl>());
    ControlFactory::RegisterControl("CreditsControl", ControlFactory::Make<CreditsControl>());
    ControlFactory::RegisterControl("ToolTipControl", ControlFactory::Make<ToolTipControl>());
    ControlFactory::RegisterControl("ContextHelpClientControl", ControlFactory::Make<ContextHelpClientControl>());
    ControlFactory::RegisterControl("MRContextHelpClientControl", ControlFactory::Make<MRContextHelpClientControl>());
}
