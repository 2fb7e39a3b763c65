#include "match3/Match3Classes.h"

#include "controls/ControlFactory.h"
#include "match3/EffectsDemoControl.h"
#include "match3/GamePanelControl.h"
#include "match3/GameTimeCounter.h"
#include "match3/ZovGameFieldControl.h"
#include "match3/ZovGameFieldStatistic.h"

void RegisterMatch3Classes() {
    static bool isRegistered = false;
    if (isRegistered) return;
    isRegistered = true;
    ControlFactory::RegisterControl("Match3EffectsDemoControl", ControlFactory::Make<Match3EffectsDemoControl>());
    ControlFactory::RegisterControl("ZovGameFieldControl", ControlFactory::Make<ZovGameFieldControl>());
    ControlFactory::RegisterControl("GameTimeCounter", ControlFactory::Make<GameTimeCounter>());
    ControlFactory::RegisterControl("GamePanelControl", ControlFactory::Make<GamePanelControl>());
    ControlFactory::RegisterControl("ZovGameFieldStatistic", ControlFactory::Make<ZovGameFieldStatistic>());
}
