#include "aquarium/ShopCatalogue.h"

#include "content/TemplateLib.h"
#include "controls/ControlFactory.h"
#include "core/Assert.h"
#include "core/Int.h"
#include "core/XmlElement.h"
#include "core/XmlRead.h"

namespace {

std::string ToLowerFirst(std::string text) {
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z') text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
}

std::string Tabs(int n) { return std::string(static_cast<std::size_t>(n), '\t'); }

std::string Change(const std::string& name, int value) {
    return Tabs(4) + "<changes " + name + "=\"" + Int::ToString(value) + "\"/>";
}

std::string Change(const std::string& name, const std::string& value) {
    return Tabs(4) + "<changes " + name + "=\"" + value + "\"/>";
}

std::string Collection(const std::string& collectionName, const std::string& changes) {
    return Tabs(2) + "<FinalTemplateCollection>" + Tabs(3) + "<base collectionName=\"" + collectionName + "\"/>" +
           Tabs(3) + "<changes>" + changes + Tabs(3) + "</changes>" + Tabs(2) + "</FinalTemplateCollection>";
}

std::string InstanceEntry(const std::string& templateName) {
    return Tabs(4) + "<TemplateInstanceControl>" + Tabs(5) + "<position x=\"0\" y=\"0\"/>" + Tabs(5) +
           "<base templateName=\"" + templateName + "\"/>" + Tabs(4) + "</TemplateInstanceControl>";
}

std::string DefineChildren(const std::string& templateName, const std::string& entries) {
    return Tabs(2) + "<defineElement template=\"" + templateName + "\">" + Tabs(3) + "<children>" + entries +
           Tabs(3) + "</children>" + Tabs(2) + "</defineElement>";
}

// A sale price (price * mul + add) / div; a div of 0 is reported and sells at 0.
int SalePrice(int price, int mul, int add, int div) {
    if (div == 0) {
        ReportError("A sale with div 0 sells at 0");
        return 0;
    }
    return static_cast<int>((static_cast<long long>(price) * mul + add) / div);
}

}  // namespace

int ShopContentDefinition::Stars::Of(int price) const {
    for (int stars = 5; stars >= 2; --stars) {
        if (price >= band[stars - 2]) return stars;
    }
    return 1;
}

std::string ShopContentDefinition::ItemCollectionText(const std::string& id, int price, int salePrice, int stars,
                                                      const std::string& receiver, const std::string& tankId) {
    return Collection(id + "TemplateCollection", Change("playerBuyCost", price) + Change("playerSellCost", salePrice) +
                                                     Change("stars", stars) + Change("utility", price) +
                                                     Change("utilityMessageReceiver", receiver) +
                                                     Change("tankId", tankId));
}

std::string ShopContentDefinition::ComfortCollectionText(const std::string& tankId, const std::string& id, int buyCost,
                                                         int upgradeCost, int buyStars, int upgradeStars,
                                                         const std::string& receiver) {
    return Collection(tankId + " " + id + "TemplateCollection",
                      Change("buyCost", buyCost) + Change("upgradeCost", upgradeCost) + Change("buyUtility", buyCost) +
                          Change("upgradeUtility", upgradeCost) + Change("buyStars", buyStars) +
                          Change("upgradeStars", upgradeStars) + Change("utilityMessageReceiver", receiver));
}

std::string ShopContentDefinition::ShelfText(const std::string& name, const std::vector<std::string>& ids) {
    const int count = static_cast<int>(ids.size());
    std::string text = Tabs(2) + "<changes " + ToLowerFirst(name) + "ScrollCheckpoints=\"" +
                       Int::ToString(GetCheckpoints(count)) + "\"/>";
    std::string backs;
    for (int i = 0; i < GetPages(count); ++i) backs += InstanceEntry("ScrollBackTemplate");
    text += DefineChildren("_" + name + "ScrollBackChildren_", backs);
    std::string icons;
    for (const std::string& id : ids) icons += InstanceEntry("[tankId] " + id + "IconTemplate");
    return text + DefineChildren("_" + name + "ScrollIconChildren_", icons);
}

ShopContentDefinition::ShopContentDefinition(const ObjectWeakPointer<XmlElement>& xml)
    : Definition(xml), MessageReceiver(xml) {
    const std::string tankId = xml->GetStringAttribute("tankId");
    const std::string receiver = tankId + " Utility dispatcher";
    const ObjectSmartPointer<XmlElement> meters = TemplateLib::CopyTemplate("UtilityDispatcherTemplate");
    if (meters != NULL) {
        TemplateLib::DefineText(meters, "[utilityMessageReceiver]", receiver);
        TemplateLib::DefineText(meters, "[tankId]", tankId);
    }
    const char* sections[3] = {"Comfort", "Beauty", "Fish"};
    const char* lower[3] = {"comfort", "beauty", "fish"};
    const char* goods[3] = {"comfort", "item", "fish"};
    std::string shelves[3];
    for (int s = 0; s < 3; ++s) {
        const ObjectWeakPointer<XmlElement> section = xml->GetFirstChildElement(sections[s]);
        const ObjectWeakPointer<XmlElement> cup = section->GetFirstChildElement("cupUtility");
        for (const char* level : {"Bronze", "Silver", "Gold"}) {
            const int value = cup->GetIntAttribute(ToLowerFirst(level));
            if (meters != NULL) {
                TemplateLib::DefineText(meters, "[" + std::string(lower[s]) + level + "CupLevel]", Int::ToString(value));
            }
        }
        Stars stars;
        const ObjectWeakPointer<XmlElement> starsPrice = section->GetFirstChildElement("starsPrice");
        for (int i = 0; i < 4; ++i) stars.band[i] = starsPrice->GetIntAttribute("_" + Int::ToString(i + 2));
        int mul = 1;
        int add = 0;
        int div = 1;
        if (s != 0) {
            const ObjectWeakPointer<XmlElement> sale = section->GetFirstChildElement("sale");
            mul = sale->GetIntAttribute("mul");
            add = sale->GetIntAttribute("add");
            div = sale->GetIntAttribute("div");
        }
        std::vector<std::string> ids;
        for (ObjectWeakPointer<XmlElement> e = section->GetFirstChildElement(goods[s]); e != NULL;
             e = e->GetNextElement(goods[s])) {
            const std::string id = e->GetStringAttribute("id");
            ids.push_back(id);
            if (s == 0) {
                const int buyCost = e->GetIntAttribute("buyCost");
                const int upgradeCost = e->GetIntAttribute("upgradeCost");
                Assert(buyCost >= 1);
                Assert(upgradeCost > buyCost);
                AddDefinition(ComfortCollectionText(tankId, id, buyCost, upgradeCost, stars.Of(buyCost),
                                                    stars.Of(upgradeCost), receiver));
                continue;
            }
            const int cost = e->GetIntAttribute("cost");
            Assert(cost >= 2);
            if (s == 2) {
                Assert(_allFish.find(id) == _allFish.end());
                FishRange& range = _allFish[id];
                range.minInGameField = e->GetIntAttribute("minInGameField");
                range.maxInGameField = e->GetIntAttribute("maxInGameField");
            }
            AddDefinition(ItemCollectionText(id, cost, SalePrice(cost, mul, add, div), stars.Of(cost), receiver, tankId));
        }
        shelves[s] = ShelfText(sections[s], ids);
    }
    const std::string screen = "<Template templateName=\"Aquarium" + tankId + "Template\">" + Tabs(1) +
             "<base templateName=\"AnyShopTemplate\"/>" + Tabs(1) + "<changes>" + shelves[0] + shelves[1] +
             shelves[2] + Tabs(2) + "<changes tankId=\"" + tankId + "\"/>" + Tabs(1) + "</changes></Template>";
    AddDefinition(screen);
    if (meters != NULL) {
        TemplateLib::CheckFullyInstantiated(meters);
        meters->ResetVisitedTree();
        _created.push_back(ControlFactory::CreateDefinition(meters));
        meters->CheckVisited();
    }
}

ShopContentDefinition::~ShopContentDefinition() {
    while (!_created.empty()) _created.pop_back();
}

void ShopContentDefinition::AddDefinition(const std::string& text) {
    ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(text.data(), text.data() + text.size()));
    _created.push_back(ControlFactory::CreateDefinition(document->GetRoot()));
}
