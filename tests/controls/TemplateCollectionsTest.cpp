// Template collections: registration while they live, "foreach" instances, resource lists.
#include <gtest/gtest.h>

#include <string>

#include "controls/CommonDefinitionClasses.h"
#include "content/ResourceManager.h"
#include "controls/TemplateCollections.h"
#include "content/TemplateLib.h"
#include "controls/ControlFactory.h"
#include "tests/content/ContentTestSupport.h"
#include "tests/core/CheckReports.h"
#include "tests/support/TestSupport.h"

namespace {

using content_test::Parse;
using content_test::Text;
using testing_support::LogCapture;

ObjectSmartPointer<Definition> Build(const std::string& text) {
    RegisterControlFrameworkClasses();
    RegisterCommonDefinitionClasses();
    ObjectSmartPointer<XmlElement> xml = Parse(text);
    ObjectSmartPointer<Definition> definition = ControlFactory::CreateDefinition(xml);
    xml->CheckVisited();
    return definition;
}

const char* const FAMILY = R"(
<AbstractTemplateCollection collectionName="fishFamily">
  <base>
    <Template templateName="icon_[fish]"><Picture texture="[fish].png"/></Template>
    <Resources><Strings><string name="collectionTitle_[fish]" value="[title]"/></Strings></Resources>
  </base>
</AbstractTemplateCollection>)";

const char* const THREE_FISH = R"(
<FinalTemplateCollection>
  <base collectionName="fishFamily"/>
  <foreach>
    <changes fish="guppy" title="Guppy"/>
    <changes fish="molly" title="Molly"/>
    <changes fish="tetra" title="Tetra"/>
  </foreach>
</FinalTemplateCollection>)";

TEST(TemplateCollectionsTest, ForeachBuildsOneInstancePerEntryAndNamesLiveWithTheirHolders) {
    LogCapture capture;
    ObjectSmartPointer<Definition> family = Build(FAMILY);
    ASSERT_TRUE(family != NULL);
    EXPECT_TRUE(TemplateLib::HasTemplate("fishFamily"));
    EXPECT_FALSE(TemplateLib::HasTemplate("icon_[fish]"));  // an abstract collection builds nothing
    {
        ObjectSmartPointer<Definition> fish = Build(THREE_FISH);
        ASSERT_TRUE(fish != NULL);
        EXPECT_EQ(3u, fish.Cast<FinalTemplateCollection>()->GetDefinitions().size());
        for (const char* name : {"guppy", "molly", "tetra"}) {
            ASSERT_TRUE(TemplateLib::HasTemplate(std::string("icon_") + name)) << name;
            EXPECT_EQ("<Picture texture=\"" + std::string(name) + ".png\"/>",
                      Text(TemplateLib::GetTemplate(std::string("icon_") + name)));
        }
        EXPECT_EQ("Molly", ResourceManager::GetString("collectionTitle_molly"));
        // The registered collection itself is untouched by its instances.
        EXPECT_NE(std::string::npos, Text(TemplateLib::GetTemplate("fishFamily")).find("icon_[fish]"));
    }
    for (const char* name : {"icon_guppy", "icon_molly", "icon_tetra"}) {
        EXPECT_FALSE(TemplateLib::HasTemplate(name)) << name;
    }
    EXPECT_EQ("Tetra", ResourceManager::GetString("collectionTitle_tetra"));  // resources stay
    EXPECT_TRUE(TemplateLib::HasTemplate("fishFamily"));
    family = nullptr;
    EXPECT_FALSE(TemplateLib::HasTemplate("fishFamily"));
    EXPECT_EQ(0, capture.ErrorCount()) << capture.Text();
}

TEST(TemplateCollectionsTest, InlineBaseWithChangesBuildsNestedCollectionsOnce) {
    LogCapture capture;
    ObjectSmartPointer<Definition> outer = Build(R"(
<FinalTemplateCollection>
  <base>
    <Template templateName="[prefix]_button"><Button text="[prefix]"/></Template>
    <AbstractTemplateCollection collectionName="[prefix]_family">
      <base><Template templateName="x"><X/></Template></base>
    </AbstractTemplateCollection>
  </base>
  <changes prefix="shop"/>
</FinalTemplateCollection>)");
    EXPECT_EQ("<Button text=\"shop\"/>", Text(TemplateLib::GetTemplate("shop_button")));
    EXPECT_TRUE(TemplateLib::HasTemplate("shop_family"));
    outer = nullptr;
    EXPECT_FALSE(TemplateLib::HasTemplate("shop_button"));
    EXPECT_FALSE(TemplateLib::HasTemplate("shop_family"));
    EXPECT_EQ(0, capture.ErrorCount()) << capture.Text();
}

// A collection whose name another one took over leaves the name to that one when it goes, and
// a name already gone is not removed again.
TEST(TemplateCollectionsTest, DestructorRemovesTheNameOnlyWhileTheRegistryHoldsItsOwnTree) {
    const char* const first = R"(<AbstractTemplateCollection collectionName="dup"><base><A/></base></AbstractTemplateCollection>)";
    const char* const second = R"(<AbstractTemplateCollection collectionName="dup"><base><B/></base></AbstractTemplateCollection>)";
    for (bool firstGoesFirst : {true, false}) {
        ObjectSmartPointer<Definition> a = Build(first);
        ObjectSmartPointer<Definition> b;
        {
            LogCapture capture;
            b = Build(second);
            EXPECT_TRUE(check_reports::Reported(capture, "_allTemplates.find(templateName) == _allTemplates.end()"));
        }
        LogCapture capture;
        if (firstGoesFirst) {
            a = nullptr;
            ASSERT_TRUE(TemplateLib::HasTemplate("dup"));  // the second one's tree
            EXPECT_NE(std::string::npos, Text(TemplateLib::GetTemplate("dup")).find("<B"));
            b = nullptr;
        } else {
            b = nullptr;
            EXPECT_FALSE(TemplateLib::HasTemplate("dup"));
            a = nullptr;  // its tree went when the second one replaced it
        }
        EXPECT_FALSE(TemplateLib::HasTemplate("dup"));
        EXPECT_EQ(0, capture.ErrorCount()) << capture.Text();
    }
}

TEST(TemplateCollectionsTest, FaultsAreReportedAndTheRestIsBuilt) {
    {
        LogCapture capture;
        ObjectSmartPointer<Definition> odd = Build(R"(
<FinalTemplateCollection>
  <base><Template templateName="kept"><K/></Template><Unknown/></base>
</FinalTemplateCollection>)");
        EXPECT_TRUE(check_reports::Reported(capture, "false"));
        EXPECT_TRUE(TemplateLib::HasTemplate("kept"));
    }
    {
        LogCapture capture;
        ObjectSmartPointer<Definition> empty = Build(R"(<FinalTemplateCollection><base/></FinalTemplateCollection>)");
        EXPECT_TRUE(check_reports::Reported(capture, "childXml != NULL"));
    }
    {
        LogCapture capture;
        ObjectSmartPointer<Definition> wrong = Build(R"(
<FinalTemplateCollection>
  <base><Template templateName="w_[n]"><W/></Template></base>
  <foreach><change n="1"/><changes n="2"/></foreach>
</FinalTemplateCollection>)");
        EXPECT_TRUE(check_reports::Reported(capture, "changesXml->GetName() == \"changes\""));
        EXPECT_TRUE(TemplateLib::HasTemplate("w_1"));  // applied as changes all the same
        EXPECT_TRUE(TemplateLib::HasTemplate("w_2"));
    }
    {
        LogCapture capture;
        ObjectSmartPointer<Definition> missing =
            Build(R"(<FinalTemplateCollection><base collectionName="noSuchCollection"/></FinalTemplateCollection>)");
        EXPECT_TRUE(check_reports::ErrorReported(capture, "Template noSuchCollection not found"));
    }
    EXPECT_FALSE(TemplateLib::HasTemplate("kept"));
    EXPECT_FALSE(TemplateLib::HasTemplate("w_1"));
}

}  // namespace
