#include "match3/Match3Classes.h"

#include "controls/ControlFactory.h"
#include "match3/EffectsDemoControl.h"

void RegisterMatch3Classes() {
    static bool isRegistered = false;
    if (isRegistered) return;
    isRegistered = true;
    ControlFactory::RegisterControl("Match3EffectsDemoControl", ControlFactory::Make<Match3EffectsDemoControl>());
}
