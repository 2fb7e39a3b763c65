#pragma once
// Pieces the shop entries share: the money texts, the tutorial switch, the run of same purchases
// with its "needDifferent" tip, and the save that follows every change of the player's money.

#include <string>

#include "aquarium/SpecialMessageSettings.h"
#include "core/ObjectSmartPointer.h"
#include "core/Variable.h"

class XmlElement;

namespace Shop {

// sign + " " + MoneyPrefix + amount + MoneySuffix.
std::string MoneyText(const std::string& sign, int amount);
// "Want tutorial" of the active player, false when the player has none.
bool IsTutorialWanted();
// Writes the store after a purchase, sale or upgrade; reports a failed write. The tank of the
// given id (none when empty) puts its contents into the store first, so that the one write holds
// both the money and what it bought.
void SaveChange(const std::string& tankId = std::string());
// Puts the goods into the tank of the given id: true when they are there. Every purchase asks
// this before it charges anything; on false it charges nothing and tells the buyer
// (TellPurchaseFailed).
bool AddToTank(const std::string& tankId, const std::string& templateName);
// The shop's notice that the goods could not go into the tank and nothing was paid.
void TellPurchaseFailed();
// More of one kind of goods than any player owns.
constexpr int MAX_COUNT = 10000;
// The stored count of goods: one below 0 or above MAX_COUNT is reported, kept aside under its name
// + " broken" and mended to the nearer bound, so that a later purchase or sale never overflows.
int CheckedCount(Variable<int>& count, const std::string& name);
// Counts a purchase of the item in the current tank's run of same purchases: true on the
// purchase that should show the "needDifferent" tip (the fifth in a row, and so on).
bool CountSameBuying(const std::string& itemId);

}  // namespace Shop

// The shop icons' short tips ("SpecialMessage" element: messages file, text width, position,
// visible time), put up in the tip panel (SpecialMessageSettings).
class ShopSpecialMessage : public Interface {
public:
    explicit ShopSpecialMessage(const ObjectWeakPointer<XmlElement>& xml);

    // Nothing while a special message is on screen (receiver "SpecialMessage").
    void Show(const std::string& key, int yOffset);
    // The -100 offset when the shop tips are on screen.
    void ShowNeedDifferent();

private:
    SpecialMessageSettings _settings;
};
