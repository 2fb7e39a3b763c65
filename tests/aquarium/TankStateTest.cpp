// The tank's contents in each player's storage: saved around player changes and commits, rebuilt
// from the record or from the default layout, and a record read back saved byte for byte.
#include <gtest/gtest.h>

#include "content/TemplateLib.h"
#include "core/DataFolder.h"
#include "core/PermanentStorage.h"
#include "core/XmlElement.h"
#include "core/XmlRead.h"
#include "tests/aquarium/AquariumTestSupport.h"
#include "tests/aquarium/FishTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace aquarium_test;
using testing_support::LogCapture;
using Names = std::vector<std::string>;

class TankStateTest : public AquariumTest {
protected:
    Point PositionOf(const std::string& name) {
        const ObjectWeakPointer<TestTankItem> item = Item(name);
        return item != NULL ? item->GetInParentPos() : Point(-1, -1);
    }
};

TEST_F(TankStateTest, SwitchingPlayersSavesAndRebuildsChildrenInTheirDrawnOrder) {
    BuildScreen(DispatcherXml(TankXml("")));
    ASSERT_TRUE(tank != NULL);
    EXPECT_TRUE(ChildNames().empty());
    // A player without a record gets an empty one.
    EXPECT_EQ(PermanentStorage::GetLocalXml(ScreenNames::tank)->GetName(), "ZOrderControlState");

    AddTemplate("Goldfish", TankItemXml("gold", "Goldfish", 100, 50, 0.2f));
    AddTemplate("Guppy", TankItemXml("guppy", "Guppy", 300, 70, 0.8f));
    AddTemplate("Tetra", TankItemXml("tetra", "Tetra", 500, 90, 0.5f));
    Send("add Goldfish");
    Send("add Guppy");
    Send("add Tetra");
    EXPECT_EQ(ChildNames(), (Names{"gold", "guppy", "tetra"}));
    DrawOnly();  // nearest first
    EXPECT_EQ(ChildNames(), (Names{"guppy", "tetra", "gold"}));

    PermanentStorage::SetActivePlayer("Bob");
    EXPECT_TRUE(ChildNames().empty());
    ASSERT_TRUE(PermanentStorage::IsLocalNameDefined(ScreenNames::tank));
    EXPECT_TRUE(PermanentStorage::GetLocalXml(ScreenNames::tank)->GetFirstChildElement() == NULL);

    Trace().clear();
    PermanentStorage::SetActivePlayer("Ann");
    EXPECT_EQ(ChildNames(), (Names{"guppy", "tetra", "gold"}));
    EXPECT_EQ(PositionOf("guppy"), Point(300, 70));
    EXPECT_EQ(PositionOf("tetra"), Point(500, 90));
    EXPECT_EQ(PositionOf("gold"), Point(100, 50));
    EXPECT_EQ(tank->GetFishMap().at("Guppy").size(), 1u);
    EXPECT_EQ(TraceOf("gold made").size(), 1u);
}

TEST_F(TankStateTest, WithoutStorageEveryLoadRebuildsTheDefaultLayoutAndNothingIsSaved) {
    BuildScreen(DispatcherXml(TankXml("useStorage=\"false\"", "<defaultLayout>" +
                                                                   TankItemXml("a", "Clown", 100, 50, 0.5f) +
                                                                   TankItemXml("b", "Clown", 200, 50, 0.4f) +
                                                                   "</defaultLayout>")));
    ASSERT_TRUE(tank != NULL);
    EXPECT_EQ(ChildNames(), (Names{"a", "b"}));
    AddTemplate("Goldfish", TankItemXml("gold", "Goldfish", 100, 50, 0.2f));
    Send("add Goldfish");
    EXPECT_EQ(ChildNames(), (Names{"a", "b", "gold"}));

    PermanentStorage::SetActivePlayer("Bob");
    EXPECT_EQ(ChildNames(), (Names{"a", "b"}));
    EXPECT_FALSE(PermanentStorage::IsLocalNameDefined(ScreenNames::tank));
    PermanentStorage::SetActivePlayer("Ann");
    EXPECT_EQ(ChildNames(), (Names{"a", "b"}));
    EXPECT_FALSE(PermanentStorage::IsLocalNameDefined(ScreenNames::tank));
    EXPECT_EQ(tank->GetFishMap().at("Clown").size(), 2u);
}

TEST_F(TankStateTest, ARecordReadBackIsSavedByteForByte) {
    const std::string golden =
        testing_support::ReadFile(testing_support::FixturePath("aquarium/fixtures/tank-storage.xml"));
    ASSERT_FALSE(golden.empty());
    PermanentStorage::Discard();
    testing_support::WriteFile(dataFolder + "Storage.xml", golden);
    PermanentStorage::Load();
    LogCapture log;
    BuildScreen(DispatcherXml(TankXml("")));
    ASSERT_TRUE(tank != NULL);
    EXPECT_EQ(ChildNames(), (Names{"nemo", "dory", "fern"}));
    PermanentStorage::Commit();
    EXPECT_EQ(testing_support::ReadFile(dataFolder + "Storage.xml"), golden);
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

// A record of another class is never built: it moves, whole, into the player's value beside the
// tank's own, with one report naming it.
TEST_F(TankStateTest, RecordsOfOtherClassesAreSetAsideUnreadPartsReportedAndTheRestLoads) {
    PermanentStorage::SetLocalXml(
        ScreenNames::tank,
        [] {
            const std::string text = "<ZOrderControlState>" + TankItemXml("a", "Clown", 100, 50, 0.5f) +
                                     "<FixedChildrenListControl><position x=\"0\" y=\"0\"/></FixedChildrenListControl>" +
                                     "<TestTankItem name=\"b\" kind=\"Clown\" z=\"0.5\" width=\"1\" height=\"1\" "
                                     "wish=\"false\" colour=\"red\"><position x=\"1\" y=\"1\"/></TestTankItem>"
                                     "</ZOrderControlState>";
            ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(text.data(), text.data() + text.size()));
            return ObjectSmartPointer<XmlElement>(new XmlElement(document->GetRoot()));
        }());
    LogCapture log;
    BuildScreen(DispatcherXml(TankXml("")));
    ASSERT_TRUE(tank != NULL);
    EXPECT_EQ(ChildNames(), (Names{"a", "b"}));
    EXPECT_TRUE(log.Contains("record 2 ") && log.Contains("FixedChildrenListControl") && log.Contains("is no tank item") &&
                log.Contains("set aside under '1 Aquarium bottom broken'"))
        << log.Text();
    EXPECT_TRUE(log.Contains("not-visited-marked.xml")) << log.Text();
    EXPECT_EQ(log.ErrorCount(), 2) << log.Text();
    const ObjectWeakPointer<XmlElement> aside = PermanentStorage::GetLocalXml("1 Aquarium bottom broken");
    ASSERT_TRUE(aside != NULL);
    EXPECT_EQ("<BrokenTankRecords>\n\t<FixedChildrenListControl>\n\t\t<position x=\"0\" y=\"0\"/>\n\t"
              "</FixedChildrenListControl>\n</BrokenTankRecords>",
              ElementText(aside));
    EXPECT_EQ(std::string::npos, StoredState().find("FixedChildrenListControl"));
}

TEST_F(TankStateTest, EveryLoadSetsTheFlagsOfWishesAndLove) {
    PermanentStorage::SetLocalBool("FishWishVisible", true);
    BuildScreen(DispatcherXml(TankXml("gameMode=\"true\"")));
    EXPECT_FALSE(PermanentStorage::GetLocalBool("FishWishVisible"));
    EXPECT_TRUE(PermanentStorage::GetLocalBool("inLove"));
    container = nullptr;
    BuildScreen(DispatcherXml(TankXml("")));
    EXPECT_FALSE(PermanentStorage::GetLocalBool("inLove"));
}

}  // namespace
