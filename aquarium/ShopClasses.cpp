#include "aquarium/ShopClasses.h"

#include "aquarium/ShopBuyHints.h"
#include "aquarium/ShopCatalogue.h"
#include "aquarium/ShopFishIcon.h"
#include "aquarium/ShopItemIcon.h"
#include "aquarium/ShopMoneyControls.h"
#include "aquarium/ShopTutorialGuard.h"
#include "aquarium/ShopUtilityMeters.h"
#include "controls/ControlFactory.h"

void RegisterAquariumShopClasses() {
    ControlFactory::RegisterControl("MoneyControl", ControlFactory::Make<MoneyControl>());
    ControlFactory::RegisterControl("MoneyEffectControl", ControlFactory::Make<MoneyEffectControl>());
    ControlFactory::RegisterControl("ItemIconDispatcherControl", ControlFactory::Make<ItemIconDispatcherControl>());
    ControlFactory::RegisterControl("IfMoneyControl", ControlFactory::Make<IfMoneyControl>());
    ControlFactory::RegisterDefinition("UtilityDispatcherDefinition",
                                       ControlFactory::MakeDefinition<UtilityDispatcherDefinition>());
    ControlFactory::RegisterDefinition("SamenessInfoDefinition",
                                       ControlFactory::MakeDefinition<SamenessInfoDefinition>());
    ControlFactory::RegisterDefinition("BuyHintServerDefinition",
                                       ControlFactory::MakeDefinition<BuyHintServerDefinition>());
    ControlFactory::RegisterDefinition("FishIconDispatcherDefinition",
                                       ControlFactory::MakeDefinition<FishIconDispatcherDefinition>());
    ControlFactory::RegisterDefinition("ShopContentDefinition",
                                       ControlFactory::MakeDefinition<ShopContentDefinition>());
    ControlFactory::RegisterDefinition("SkipTutorialGuard", ControlFactory::MakeDefinition<SkipTutorialGuard>());
}
