#pragma once
// One tank's shop catalogue: from a list of goods with prices it writes the item collections,
// the shop screen template with its three shelves, and the tank's utility meters.

#include <map>
#include <string>
#include <vector>

#include "content/Definition.h"
#include "core/MessageReceiver.h"

class ShopContentDefinition : public Definition, public MessageReceiver {
public:
    struct FishRange {
        int minInGameField = 0;
        int maxInGameField = 0;
    };
    struct Stars {
        int band[4] = {0, 0, 0, 0};  // lowest prices of 2, 3, 4 and 5 stars
        int Of(int price) const;
    };

    explicit ShopContentDefinition(const ObjectWeakPointer<XmlElement>& xml);
    ~ShopContentDefinition() override;

    std::map<std::string, FishRange> GetAllFish() const { return _allFish; }

    // The generated texts (tabs between elements, no line breaks).
    static std::string ItemCollectionText(const std::string& id, int price, int salePrice, int stars,
                                          const std::string& receiver, const std::string& tankId);
    static std::string ComfortCollectionText(const std::string& tankId, const std::string& id, int buyCost,
                                             int upgradeCost, int buyStars, int upgradeStars,
                                             const std::string& receiver);
    // A shelf of the screen template: checkpoints, background tiles and icons of the ids.
    static std::string ShelfText(const std::string& name, const std::vector<std::string>& ids);
    static int GetPages(int count) { return (count * 92 + 8) / 350 + 1; }
    static int GetCheckpoints(int count) { return count - 4 > 1 ? count - 4 : 1; }

private:
    void AddDefinition(const std::string& text);

    std::vector<ObjectSmartPointer<Definition>> _created;
    std::map<std::string, FishRange> _allFish;
};
