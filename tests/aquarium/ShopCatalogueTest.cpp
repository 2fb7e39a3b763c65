// The shop catalogue: stars, background tiles and checkpoints, and the golden texts it generates.
#include <gtest/gtest.h>

#include "aquarium/ShopCatalogue.h"

namespace {

TEST(ShopCatalogueTextTest, StarsTilesAndCheckpoints) {
    ShopContentDefinition::Stars stars;
    const int bands[4] = {100, 200, 400, 800};
    for (int i = 0; i < 4; ++i) stars.band[i] = bands[i];
    EXPECT_EQ(1, stars.Of(99));
    EXPECT_EQ(2, stars.Of(100));
    EXPECT_EQ(4, stars.Of(799));
    EXPECT_EQ(5, stars.Of(800));
    const int table[][3] = {{0, 1, 1}, {3, 1, 1}, {4, 2, 1}, {7, 2, 3}, {12, 4, 8}, {16, 5, 12}, {19, 6, 15}};
    for (const auto& row : table) {
        EXPECT_EQ(row[1], ShopContentDefinition::GetPages(row[0])) << row[0];
        EXPECT_EQ(row[2], ShopContentDefinition::GetCheckpoints(row[0])) << row[0];
    }
}

TEST(ShopCatalogueTextTest, GoldenCollectionTexts) {
    EXPECT_EQ("\t\t<FinalTemplateCollection>\t\t\t<base collectionName=\"GoldTemplateCollection\"/>\t\t\t<changes>"
              "\t\t\t\t<changes playerBuyCost=\"150\"/>\t\t\t\t<changes playerSellCost=\"75\"/>"
              "\t\t\t\t<changes stars=\"2\"/>\t\t\t\t<changes utility=\"150\"/>"
              "\t\t\t\t<changes utilityMessageReceiver=\"1 Utility dispatcher\"/>\t\t\t\t<changes tankId=\"1\"/>"
              "\t\t\t</changes>\t\t</FinalTemplateCollection>",
              ShopContentDefinition::ItemCollectionText("Gold", 150, 75, 2, "1 Utility dispatcher", "1"));
    EXPECT_EQ("\t\t<FinalTemplateCollection>\t\t\t<base collectionName=\"1 PumpTemplateCollection\"/>\t\t\t<changes>"
              "\t\t\t\t<changes buyCost=\"50\"/>\t\t\t\t<changes upgradeCost=\"150\"/>"
              "\t\t\t\t<changes buyUtility=\"50\"/>\t\t\t\t<changes upgradeUtility=\"150\"/>"
              "\t\t\t\t<changes buyStars=\"1\"/>\t\t\t\t<changes upgradeStars=\"2\"/>"
              "\t\t\t\t<changes utilityMessageReceiver=\"1 Utility dispatcher\"/>"
              "\t\t\t</changes>\t\t</FinalTemplateCollection>",
              ShopContentDefinition::ComfortCollectionText("1", "Pump", 50, 150, 1, 2, "1 Utility dispatcher"));
}

TEST(ShopCatalogueTextTest, GoldenShelfText) {
    const std::string back = "\t\t\t\t<TemplateInstanceControl>\t\t\t\t\t<position x=\"0\" y=\"0\"/>"
                             "\t\t\t\t\t<base templateName=\"ScrollBackTemplate\"/>\t\t\t\t</TemplateInstanceControl>";
    EXPECT_EQ("\t\t<changes fishScrollCheckpoints=\"1\"/>\t\t<defineElement template=\"_FishScrollBackChildren_\">"
              "\t\t\t<children>" + back + "\t\t\t</children>\t\t</defineElement>"
              "\t\t<defineElement template=\"_FishScrollIconChildren_\">\t\t\t<children>"
              "\t\t\t\t<TemplateInstanceControl>\t\t\t\t\t<position x=\"0\" y=\"0\"/>"
              "\t\t\t\t\t<base templateName=\"[tankId] GoldIconTemplate\"/>\t\t\t\t</TemplateInstanceControl>"
              "\t\t\t</children>\t\t</defineElement>",
              ShopContentDefinition::ShelfText("Fish", {"Gold"}));
}

}  // namespace
