#include "aquarium/AquariumClasses.h"

#include "aquarium/AquariumDispatcherControl.h"
#include "aquarium/BackGroundDefinition.h"
#include "aquarium/BasketControl.h"
#include "aquarium/FishControl.h"
#include "aquarium/OptionsDispatcherControl.h"
#include "aquarium/PlayersDispatcherControl.h"
#include "aquarium/SceneryClasses.h"
#include "aquarium/ShopClasses.h"
#include "aquarium/ShowTipsControl.h"
#include "aquarium/TankRecords.h"
#include "aquarium/ZOrderControl.h"
#include "controls/ControlFactory.h"

void RegisterAquariumClasses() {
    static bool isRegistered = false;
    if (isRegistered) {
        return;
    }
    isRegistered = true;
    ControlFactory::RegisterControl("ZOrderControl", ControlFactory::Make<ZOrderControl>());
    ControlFactory::RegisterControl("AquariumDispatcherControl", ControlFactory::Make<AquariumDispatcherControl>());
    ControlFactory::RegisterControl("BasketControl", ControlFactory::Make<BasketControl>());
    ControlFactory::RegisterControl("FishControl", ControlFactory::Make<FishControl>());
    TankItemRecords::Register("FishControl", false, &FishControl::CheckRecord);
    ControlFactory::RegisterDefinition("BackGroundDefinition", ControlFactory::MakeDefinition<BackGroundDefinition>());
    RegisterSceneryClasses();
    RegisterAquariumShopClasses();
    ControlFactory::RegisterControl("ShowTipsControl", ControlFactory::Make<ShowTipsControl>());
    ControlFactory::RegisterControl("OptionsDispatcherControl", ControlFactory::Make<OptionsDispatcherControl>());
    ControlFactory::RegisterControl("PlayersDispatcherControl", ControlFactory::Make<PlayersDispatcherControl>());
}
