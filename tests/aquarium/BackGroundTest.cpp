// The background tank's stocking: which kinds it keeps, how many fish of each, the fixed layouts
// in turn, and the catalogues it looks for.
#include <gtest/gtest.h>

#include <set>

#include "aquarium/BackGroundDefinition.h"
#include "content/TemplateLib.h"
#include "core/PermanentStorage.h"
#include "core/Random.h"
#include "core/XmlElement.h"
#include "core/XmlRead.h"
#include "tests/aquarium/AquariumTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace aquarium_test;
using testing_support::LogCapture;
using Catalogue = BackGroundDefinition::Catalogue;
using Names = std::vector<std::string>;

Catalogue Fish(std::initializer_list<std::pair<std::string, std::pair<int, int>>> ranges) {
    Catalogue catalogue;
    for (const auto& r : ranges) catalogue[r.first] = ShopContentDefinition::FishRange{r.second.first, r.second.second};
    return catalogue;
}

class BackGroundTest : public AquariumTest {
protected:
    void SetUp() override {
        AquariumTest::SetUp();
        for (const char* kind : {"A", "B", "C", "D", "E", "F", "G", "H", "Zero"}) {
            AddTemplate(std::string(kind) + "ControlTemplate", std::string("<FishControl kind=\"") + kind + "\"/>");
        }
        AddTemplate("BackGround1Template", "<Layout><Rock name=\"one\"/></Layout>");
        AddTemplate("BackGround3Template", "<Layout><Rock name=\"three\"/><Weed name=\"three\"/></Layout>");
    }
    // Runs the stocking of the element text and gives the record's children as "kind" or "name".
    Names Stock(const std::string& text, const std::vector<Catalogue>& catalogues) {
        ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(text.data(), text.data() + text.size()));
        BackGroundDefinition::Stock(document->GetRoot(), catalogues);
        Names names;
        const ObjectWeakPointer<XmlElement> record = PermanentStorage::GetLocalXml("Back tank");
        for (ObjectWeakPointer<XmlElement> e = record->GetFirstChildElement(); e != NULL; e = e->GetNextElement()) {
            names.push_back(e->HasAttribute("kind") ? e->GetStringAttribute("kind") : e->GetName() + " " + e->GetStringAttribute("name"));
        }
        return names;
    }
    static std::string Element(const std::string& options, const std::string& minimum = "<minimum/>",
                               const std::string& order = "") {
        return "<BackGroundDefinition><variables zOrder=\"Back tank\"" + order + "/><options " + options + "/>" +
               minimum + "</BackGroundDefinition>";
    }
    static void Hold(int tank, const std::string& kind, int n) {
        PermanentStorage::SetLocalInt(std::to_string(tank) + " " + kind + " amount", n);
    }
    static std::set<std::string> Kinds(const Names& names) { return std::set<std::string>(names.begin(), names.end()); }
};

TEST_F(BackGroundTest, ThreeHeldKindsKeepTwoAndEightKeepFourToSeven) {
    const Catalogue all = Fish({{"A", {1, 1}}, {"B", {1, 1}}, {"C", {1, 1}}, {"D", {1, 1}}, {"E", {1, 1}},
                                {"F", {1, 1}}, {"G", {1, 1}}, {"H", {1, 1}}});
    for (const char* kind : {"A", "B", "C"}) Hold(1, kind, 1);
    for (int seed = 0; seed < 30; ++seed) {
        Random::Seed(seed);
        EXPECT_EQ(2u, Stock(Element("fishKindMin=\"0\" fishKindMax=\"10\""), {all, {}, {}}).size()) << seed;
    }
    for (const char* kind : {"D", "E", "F", "G", "H"}) Hold(1, kind, 2);
    std::set<std::size_t> counts;
    Random::Seed(77);
    for (int run = 0; run < 200; ++run) {
        const Names names = Stock(Element("fishKindMin=\"0\" fishKindMax=\"10\""), {all, {}, {}});
        EXPECT_EQ(names.size(), Kinds(names).size());
        counts.insert(names.size());
    }
    EXPECT_EQ((std::set<std::size_t>{4, 5, 6, 7}), counts);
    // At most fishKindMax before the reduction: two stay two.
    Random::Seed(1);
    EXPECT_EQ(2u, Stock(Element("fishKindMin=\"0\" fishKindMax=\"2\""), {all, {}, {}}).size());
}

TEST_F(BackGroundTest, TheMinimumListFillsUpAndKindsHeldTwiceDrawTwice) {
    const Catalogue one = Fish({{"A", {1, 1}}, {"B", {1, 1}}, {"C", {1, 1}}});
    Hold(1, "A", 3);
    const std::string minimum = "<minimum fish1=\"A\" fish2=\"B\" fish4=\"C\"/>";
    EXPECT_EQ((Names{"A", "B"}), Stock(Element("fishKindMin=\"2\" fishKindMax=\"5\"", minimum), {one, {}, {}}));
    EXPECT_EQ((Names{"A"}), Stock(Element("fishKindMin=\"1\" fishKindMax=\"5\"", minimum), {one, {}, {}}));
    // fish3 is missing, so C is never read.
    EXPECT_EQ((Names{"A", "B"}), Stock(Element("fishKindMin=\"9\" fishKindMax=\"5\"", minimum), {one, {}, {}}));
    Hold(2, "A", 1);
    EXPECT_EQ((Names{"A", "A"}), Stock(Element("fishKindMin=\"0\" fishKindMax=\"5\""), {one, one, {}}));
}

TEST_F(BackGroundTest, EachKindGetsANumberFromItsRangeAndAZeroRangeNone) {
    Hold(1, "A", 1);
    Hold(1, "Zero", 1);
    std::set<std::size_t> counts;
    Random::Seed(78);
    for (int run = 0; run < 100; ++run) {
        const Names names = Stock(Element("fishKindMin=\"0\" fishKindMax=\"5\""),
                                  {Fish({{"A", {2, 5}}, {"Zero", {0, 0}}}), {}, {}});
        for (const std::string& n : names) EXPECT_EQ("A", n);
        counts.insert(names.size());
    }
    EXPECT_EQ((std::set<std::size_t>{2, 3, 4, 5}), counts);
}

TEST_F(BackGroundTest, OnlyGivesExactlyOneFishOfItsKindAndTheLayoutStillFollows) {
    Hold(1, "A", 1);
    PermanentStorage::SetLocalString("Back layout", "1");
    const std::string order = " order=\"Back layout\" amount=\"3\"";
    EXPECT_EQ((Names{"B", "Rock one"}),
              Stock(Element("fishKindMin=\"3\" fishKindMax=\"5\" only=\"B\"", "", order),
                    {Fish({{"A", {1, 1}}}), Fish({{"B", {4, 6}}}), Fish({{"B", {0, 0}}})}));
    // A kind no catalogue lists is reported and gets no fish.
    LogCapture log;
    EXPECT_EQ((Names{}), Stock(Element("fishKindMin=\"0\" fishKindMax=\"5\" only=\"Q\""), {{}, {}, {}}));
    EXPECT_TRUE(log.Contains("Assertion failed: false")) << log.Text();
}

TEST_F(BackGroundTest, TheLayoutCounterWrapsAndNullAddsNoLayout) {
    PermanentStorage::SetLocalString("Back layout", "3");
    const std::string order = " order=\"Back layout\" amount=\"3\"";
    // A player without fish and without a minimum list: the old record goes, the layout comes.
    PermanentStorage::SetLocalXml("Back tank", ObjectSmartPointer<XmlElement>(new XmlElement("ZOrderControlState")));
    PermanentStorage::GetLocalXml("Back tank")->AppendChild(ObjectSmartPointer<XmlElement>(new XmlElement("Old")));
    EXPECT_EQ((Names{"Rock three", "Weed three"}), Stock(Element("fishKindMin=\"0\" fishKindMax=\"5\"", "<minimum/>", order), {{}, {}, {}}));
    EXPECT_EQ("1", PermanentStorage::GetLocalString("Back layout"));
    EXPECT_EQ((Names{"Rock one"}), Stock(Element("fishKindMin=\"0\" fishKindMax=\"5\"", "<minimum/>", order), {{}, {}, {}}));
    EXPECT_EQ("2", PermanentStorage::GetLocalString("Back layout"));
    EXPECT_EQ((Names{}), Stock(Element("fishKindMin=\"0\" fishKindMax=\"5\""), {{}, {}, {}}));
    EXPECT_EQ("2", PermanentStorage::GetLocalString("Back layout"));
}

TEST_F(BackGroundTest, TheDefinitionLooksForTheThreeCatalogues) {
    LogCapture log;
    const std::string text = Element("fishKindMin=\"0\" fishKindMax=\"5\"");
    ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(text.data(), text.data() + text.size()));
    { BackGroundDefinition definition(document->GetRoot()); }
    for (const char* name : {"1 Fish Database", "2 Fish Database", "3 Fish Database"}) {
        EXPECT_TRUE(log.Contains(std::string("Message receiver '") + name + "' not found")) << name;
    }
    EXPECT_TRUE(document->GetRoot()->IsVisitedTree());
    EXPECT_TRUE(PermanentStorage::GetLocalXml("Back tank")->GetFirstChildElement() == NULL);
}

}  // namespace
