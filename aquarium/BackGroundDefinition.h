#pragma once
// Stocks a background tank: chooses fish kinds from the three tanks' catalogues and the player's
// stock, writes the tank's state record with a random number of fish of each kind and adds the
// next of a cycle of fixed layouts. All of it happens in the constructor.

#include <map>
#include <string>
#include <vector>

#include "aquarium/ShopCatalogue.h"
#include "content/Definition.h"

class BackGroundDefinition : public Definition {
public:
    // Fish kind id to the range of fish a background tank shows of it.
    using Catalogue = std::map<std::string, ShopContentDefinition::FishRange>;

    // Takes the fish of the catalogues "1 Fish Database" to "3 Fish Database".
    explicit BackGroundDefinition(const ObjectWeakPointer<XmlElement>& xml);
    ~BackGroundDefinition() override;

    // The work of the constructor on the three tanks' catalogues, in tank order.
    static void Stock(const ObjectWeakPointer<XmlElement>& xml, std::vector<Catalogue> catalogues);

    // Drops random entries (the last one moves into the dropped one's place) until at most
    // count remain.
    static void ReduceTo(std::vector<std::string>& kinds, std::size_t count);
};
