#include "controls/ClickAreaControl.h"
#include "controls/ContextHelpServerControl.h"
#include "controls/ControlFactory.h"
#include "controls/DefinitionContainerControl.h"
#include "controls/FixedChildrenListControl.h"
#include "controls/PlayerTimeLogger.h"
#include "controls/SimpleTimeCounter.h"
#include "controls/TimerControl.h"

void RegisterControlFrameworkClasses() {
    static bool isRegistered = false;
    if (isRegistered) {
        return;
    }
    isRegistered = true;
    ControlFactory::RegisterControl("ClickAreaControl", ControlFactory::Make<ClickAreaControl>());
    ControlFactory::RegisterControl("ContextHelpServerControl", ControlFactory::Make<ContextHelpServerControl>());
    ControlFactory::RegisterControl("DefinitionContainerControl", ControlFactory::Make<DefinitionContainerControl>());
    ControlFactory::RegisterControl("FixedChildrenListControl", ControlFactory::Make<FixedChildrenListControl>());
    ControlFactory::RegisterControl("SimpleTimeCounter", ControlFactory::Make<SimpleTimeCounter>());
    ControlFactory::RegisterControl("TimerControl", ControlFactory::Make<TimerControl>());
    ControlFactory::RegisterDefinition("PlayerTimeLogger", ControlFactory::MakeDefinition<PlayerTimeLogger>());
}
