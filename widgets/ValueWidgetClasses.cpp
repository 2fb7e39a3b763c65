#include "widgets/ValueWidgetClasses.h"

#include "controls/ControlFactory.h"
#include "widgets/CheckBoxControl.h"
#include "widgets/EditControl.h"
#include "widgets/ProgressBarControl.h"
#include "widgets/SliderControl.h"

void RegisterValueWidgetClasses() {
    static bool isRegistered = false;
    if (isRegistered) return;
    isRegistered = true;
    ControlFactory::RegisterControl("EditControl", ControlFactory::Make<EditControl>());
    ControlFactory::RegisterControl("CheckBoxControl", ControlFactory::Make<CheckBoxControl>());
    ControlFactory::RegisterControl("SliderControl", ControlFactory::Make<SliderControl>());
    ControlFactory::RegisterControl("ProgressBarControl", ControlFactory::Make<ProgressBarControl>());
}
