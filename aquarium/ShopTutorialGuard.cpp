#include "aquarium/ShopTutorialGuard.h"

#include "core/PermanentStorage.h"

SkipTutorialGuard::~SkipTutorialGuard() {
    if (PermanentStorage::IsLoaded() && PermanentStorage::IsLocalNameDefined("Want tutorial")) {
        PermanentStorage::SetLocalBool("Want tutorial", false);
    }
}
