// The demo fish tank in the game program, headless and seeded: the menu's key H opens it; the
// fish drop in, swim, turn and school, and after 6 s one fish wishes for a sea horse (a player
// who wants the tutorial keeps the bubble 10 s). Frame 600 matches its reference, and the demo's
// fish kinds are consistent with their shop entries and catalogue lines.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "core/XmlElement.h"
#include "core/XmlRead.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/ScreenCompare.h"
#include "tests/support/TestSupport.h"

namespace {

using testing_support::CompareWithReference;
using testing_support::ScreenComparison;

const char* const STORAGE = R"(<Storage>
	<Globals/>
	<Player name="Player">
		<Variable name="Want tutorial" type="bool" value="true"/>
	</Player>
	<ActivePlayer name="Player"/>
</Storage>
)";

class FishTankRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testing_support::FileExists(testing_support::ProgramPath())) {
            GTEST_SKIP() << "not built: " << testing_support::ProgramPath();
        }
        root = testing_support::MakeTempDir("fishtank");
        data = root + "data/";
        std::filesystem::copy(MARIVEL_SOURCE_DIR "/data", data, std::filesystem::copy_options::recursive);
        testing_support::WriteFile(data + "start0.lua", "dofile(\"menu.lua\")\n");
        testing_support::WriteFile(data + "start.lua", "ShowMenu()\n");
        testing_support::WriteFile(data + "Storage.xml", STORAGE);
    }
    // Frame 10: the key H on the menu; gives the screenshot of the last frame.
    std::string Run(int frames) {
        const std::string eventsPath = root + "events.txt";
        const std::string shot = root + std::to_string(frames) + ".png";
        testing_support::WriteFile(eventsPath, "10 key 72\n");
        EXPECT_EQ(0, testing_support::RunProgram(data, root,
                                                 {"--fixed-step", "20", "--seed", "5", "--frames",
                                                  std::to_string(frames), "--events", eventsPath, "--screenshot", shot}));
        return shot;
    }
    std::string Log() { return testing_support::ReadFile(root + "Tornvik Entertainment/Marivel/log.htm"); }

    std::string root;
    std::string data;
};

TEST_F(FishTankRunTest, TheSeededFishTankWithAWishMatchesItsReference) {
    const std::string shot = Run(600);
    const ScreenComparison c =
        CompareWithReference(shot, testing_support::FixturePath("aquarium/fixtures/fish-tank-600.png"), 12, 200);
    EXPECT_TRUE(c.matches) << c.report;
    EXPECT_EQ(Log().find("ERROR"), std::string::npos) << Log();
}

ObjectSmartPointer<XmlDocument> Read(const std::string& relative) {
    const std::string path = std::string(MARIVEL_SOURCE_DIR "/data/") + relative;
    return ObjectSmartPointer<XmlDocument>(new XmlDocumentRead(path));
}

// The catalogue lines name the kinds that have a shop template, a background template, a shop
// entry at the catalogue's price and its pictures.
TEST(FishDemoContentTest, EveryCatalogueKindHasItsTemplatesShopEntryAndPictures) {
    const ObjectSmartPointer<XmlDocument> catalogue = Read("screens/fish_catalogue.xml");
    const ObjectSmartPointer<XmlDocument> templates = Read("screens/fish_templates.xml");
    const ObjectSmartPointer<XmlDocument> resources = Read("screens/fish_resources.xml");
    ASSERT_TRUE(catalogue->GetRoot() != NULL && templates->GetRoot() != NULL && resources->GetRoot() != NULL);
    std::map<std::string, ObjectWeakPointer<XmlElement>> byName;
    std::map<std::string, int> prices;
    for (ObjectWeakPointer<XmlElement> t = templates->GetRoot()->GetFirstChildElement("children")->GetFirstChildElement();
         t != NULL; t = t->GetNextElement()) {
        byName[t->GetStringAttribute("templateName")] = t;
    }
    const ObjectWeakPointer<XmlElement> shop = byName["fish_demo_shop"];
    ASSERT_TRUE(shop != NULL);
    for (ObjectWeakPointer<XmlElement> e = shop->GetFirstChildElement()->GetFirstChildElement("children")->GetFirstChildElement();
         e != NULL; e = e->GetNextElement()) {
        const ObjectWeakPointer<XmlElement> fish = e->GetFirstChildElement("fish");
        EXPECT_EQ(fish->GetStringAttribute("tankFishId"), fish->GetStringAttribute("fishTemplateName"));
        prices[fish->GetStringAttribute("fishTemplateName")] = fish->GetIntAttribute("playerBuyCost");
    }
    std::set<std::string> ids;
    for (ObjectWeakPointer<XmlElement> e = resources->GetRoot()->GetFirstChildElement("Animations")->GetFirstChildElement();
         e != NULL; e = e->GetNextElement()) {
        ids.insert(e->GetStringAttribute("id"));
    }
    int kinds = 0;
    bool hasSchool = false;
    bool hasSeaHorse = false;
    for (ObjectWeakPointer<XmlElement> f = catalogue->GetRoot()->GetFirstChildElement("fish"); f != NULL;
         f = f->GetNextElement("fish")) {
        const std::string id = f->GetStringAttribute("id");
        ++kinds;
        ASSERT_TRUE(byName[id] != NULL) << id;
        const ObjectWeakPointer<XmlElement> element = byName[id]->GetFirstChildElement("FishControl");
        ASSERT_TRUE(element != NULL) << id;
        const ObjectWeakPointer<XmlElement> info = element->GetFirstChildElement("fishInfo");
        EXPECT_EQ(id, info->GetStringAttribute("templateId"));
        hasSchool = hasSchool || info->GetFloatAttribute("school") == 1.0f;
        hasSeaHorse = hasSeaHorse || info->GetBoolAttributeOrDef("hippocampus", false);
        ASSERT_TRUE(byName[id + "ControlTemplate"] != NULL) << id;
        EXPECT_EQ(id, byName[id + "ControlTemplate"]->GetFirstChildElement("base")->GetStringAttribute("templateName"));
        EXPECT_EQ(f->GetIntAttribute("cost"), prices[id]) << id;
        EXPECT_LE(f->GetIntAttribute("minInGameField"), f->GetIntAttribute("maxInGameField")) << id;
        const ObjectWeakPointer<XmlElement> animations = element->GetFirstChildElement("animations");
        for (const char* a : {"side", "front", "back"}) EXPECT_EQ(1u, ids.count(animations->GetStringAttribute(a))) << id;
    }
    EXPECT_GE(kinds, 4);
    EXPECT_TRUE(hasSchool);
    EXPECT_TRUE(hasSeaHorse);
}

}  // namespace
