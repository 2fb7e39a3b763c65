#include "widgets/ListWidgetClasses.h"

#include "controls/ControlFactory.h"
#include "controls/OneTabControl.h"
#include "widgets/ListboxControl.h"
#include "widgets/ScrollPanelControls.h"
#include "widgets/TabSetControl.h"

void RegisterListWidgetClasses() {
    static bool isRegistered = false;
    if (isRegistered) return;
    isRegistered = true;
    ControlFactory::RegisterControl("HScrollPanelControl", ControlFactory::Make<HScrollPanelControl>());
    ControlFactory::RegisterControl("VScrollPanelControl", ControlFactory::Make<VScrollPanelControl>());
    ControlFactory::RegisterControl("MinScrollButtonControl", ControlFactory::Make<MinScrollButtonControl>());
    ControlFactory::RegisterControl("MaxScrollButtonControl", ControlFactory::Make<MaxScrollButtonControl>());
    ControlFactory::RegisterControl("ScrollDispatcherControl", ControlFactory::Make<ScrollDispatcherControl>());
    ControlFactory::RegisterControl("ListboxControl", ControlFactory::Make<ListboxControl>());
    ControlFactory::RegisterControl("OneTabControl", ControlFactory::Make<OneTabControl>());
    ControlFactory::RegisterControl("TabSetControl", ControlFactory::Make<TabSetControl>());
}
