#include "widgets/AnimatedWidgetClasses.h"

#include "controls/ControlFactory.h"
#include "widgets/DiagnosticControls.h"
#include "widgets/DynamicTextControl.h"
#include "widgets/ExpandingControl.h"
#include "widgets/FrameChangerControl.h"
#include "widgets/GameLogoControl.h"
#include "widgets/LinkWatcherControl.h"

void RegisterAnimatedWidgetClasses() {
    static bool isRegistered = false;
    if (isRegistered) return;
    isRegistered = true;
    ControlFactory::RegisterControl("DynamicTextControl", ControlFactory::Make<DynamicTextControl>());
    ControlFactory::RegisterControl("FpsControl", ControlFactory::Make<FpsControl>());
    ControlFactory::RegisterControl("TimeScaleControl", ControlFactory::Make<TimeScaleControl>());
    ControlFactory::RegisterControl("StartupProgressControl", ControlFactory::Make<StartupProgressControl>());
    ControlFactory::RegisterControl("FrameChangerControl", ControlFactory::Make<FrameChangerControl>());
    ControlFactory::RegisterControl("LinkWatcherControl", ControlFactory::Make<LinkWatcherControl>());
    ControlFactory::RegisterControl("GameLogoControl", ControlFactory::Make<GameLogoControl>());
    ControlFactory::RegisterControl("ExpandingControl", ControlFactory::Make<ExpandingControl>());
}
