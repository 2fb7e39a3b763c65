#include "aquarium/ShopCommon.h"

#include "content/ResourceManager.h"
#include "core/Assert.h"
#include "core/Int.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "core/XmlElement.h"

namespace Shop {

std::string MoneyText(const std::string& sign, int amount) {
    const auto text = [](const char* name) {
        return ResourceManager::HasString(name) ? ResourceManager::GetString(name) : std::string();
    };
    return sign + " " + text("MoneyPrefix") + Int::ToString(amount) + text("MoneySuffix");
}

bool IsTutorialWanted() {
    return PermanentStorage::IsLocalNameDefined("Want tutorial") && PermanentStorage::GetLocalBool("Want tutorial");
}

void SaveChange(const std::string& tankId) {
    if (!tankId.empty()) SendMessage(tankId + " Aquarium bottom", "save state");
    if (!PermanentStorage::Save()) ReportError("The purchase could not be saved");
}

bool AddToTank(const std::string& tankId, const std::string& templateName) {
    return SendMessageReply(tankId + " Aquarium bottom", "add " + templateName) == "true";
}

void TellPurchaseFailed() {
    // The screen's notice; a screen without one leaves the tank's report in the log alone.
    if (IsReceiver("purchase failed")) SendMessage("purchase failed", "show");
}

int CheckedCount(Variable<int>& count, const std::string& name) {
    const int stored = count.GetValue();
    if (0 <= stored && stored <= MAX_COUNT) return stored;
    const int mended = stored < 0 ? 0 : MAX_COUNT;
    const std::string aside = name + " broken";
    if (!PermanentStorage::IsLocalNameDefined(aside)) PermanentStorage::SetLocalInt(aside, stored);
    ReportError("Stored count '" + name + "' is " + Int::ToString(stored) + ": kept as '" + aside + "', mended to " +
                Int::ToString(mended));
    count.SetValue(mended);
    return mended;
}

bool CountSameBuying(const std::string& itemId) {
    const std::string tank = PermanentStorage::GetLocalStringOrDef("Current Tank", "1");
    const std::string lastName = tank + " LastBuying";
    const std::string sameName = tank + " SameBuying";
    if (PermanentStorage::GetLocalStringOrDef(lastName, "") == itemId) {
        const int same = PermanentStorage::GetLocalIntOrDef(sameName, 0) + 1;
        if (same >= 5) {
            PermanentStorage::SetLocalInt(sameName, 0);
            return true;
        }
        PermanentStorage::SetLocalInt(sameName, same);
        return false;
    }
    PermanentStorage::SetLocalInt(sameName, 1);
    PermanentStorage::SetLocalString(lastName, itemId);
    return false;
}

}  // namespace Shop

ShopSpecialMessage::ShopSpecialMessage(const ObjectWeakPointer<XmlElement>& xml) : _settings(xml) {}

void ShopSpecialMessage::Show(const std::string& key, int yOffset) {
    if (!IsReceiver("ShopTipsScreen2")) return;
    _settings.Show(key, yOffset);
}

void ShopSpecialMessage::ShowNeedDifferent() { Show("needDifferent", IsReceiver("ShopTips") ? -100 : 0); }
