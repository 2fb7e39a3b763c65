// The template registry, parameters, changes and the full-instantiation check.
#include <gtest/gtest.h>

#include <memory>

#include "content/ResourceManager.h"
#include "content/Template.h"
#include "content/TemplateLib.h"
#include "core/DataFolder.h"
#include "tests/content/ContentTestSupport.h"
#include "tests/core/CheckReports.h"

namespace {

using content_test::Parse;
using content_test::Text;
using check_reports::Reported;
using testing_support::LogCapture;

// The dump lands in the data folder, never in the working folder.
std::string Dump() { return dataFolder + "not-fully-instantiated.xml"; }

class TemplateLibTest : public content_test::ContentTest {
protected:
    void Register(const std::string& name, const std::string& text) { TemplateLib::AddTemplate(Parse(text), name); }
    void TearDown() override {
        for (const char* name : {"T", "U", "icon", "base"}) {
            if (TemplateLib::HasTemplate(name)) TemplateLib::RemoveTemplate(name);
        }
        ContentTest::TearDown();
    }
};

TEST_F(TemplateLibTest, WorkedExampleOfChanges) {
    Register("T", "<Button text='[title] - Buy'><_icon_/></Button>");
    for (bool textFirst : {false, true}) {
        LogCapture capture;
        std::remove(Dump().c_str());
        ObjectSmartPointer<XmlElement> copy = TemplateLib::CopyTemplate("T");
        const std::string defineElement =
            "<defineElement template='_icon_'><Picture textureId='[icon]'/></defineElement>";
        const std::string defineText = "<defineText template='[icon]' instance='shell_icon'/>";
        ObjectSmartPointer<XmlElement> changes = Parse("<changes title='Shells'>" +
                                                       (textFirst ? defineText + defineElement
                                                                  : defineElement + defineText) +
                                                       "</changes>");
        TemplateLib::ApplyChanges(copy, changes);
        TemplateLib::CheckFullyInstantiated(copy);
        if (!textFirst) {
            EXPECT_EQ("<Button text=\"Shells - Buy\"><Picture textureId=\"shell_icon\"/></Button>", Text(copy));
            EXPECT_EQ(0, capture.ErrorCount()) << capture.Text();
            EXPECT_FALSE(testing_support::FileExists(Dump()));
        } else {
            EXPECT_TRUE(Reported(capture, "isChanged"));
            EXPECT_TRUE(Reported(capture, "substr == \"[frameId]\""));
            EXPECT_TRUE(testing_support::FileExists(Dump()));
            EXPECT_FALSE(testing_support::FileExists("not-fully-instantiated.xml"));
            EXPECT_NE(std::string::npos, testing_support::ReadFile(Dump()).find("[icon]"));
        }
    }
    // The registered template is never changed by instancing.
    EXPECT_EQ("<Button text=\"[title] - Buy\"><_icon_/></Button>", Text(TemplateLib::GetTemplate("T")));
}

TEST_F(TemplateLibTest, DefineTextCases) {
    struct Case {
        const char* tree;
        const char* what;
        const char* value;
        const char* result;
        const char* report;  // nullptr: none
    } cases[] = {
        {"<a v='x[a]y'/>", "[a]", "1[a]2", "<a v=\"x1[a]2y\"/>", nullptr},
        {"<a v='[a][b]'/>", "[a]", "1", "<a v=\"1[b]\"/>", nullptr},
        {"<a><b>t [a]</b></a>", "[a]", "z", "<a><b>t z</b></a>", nullptr},
        {"<a><defineText template='[a]' instance='[a]'/></a>", "[a]", "q",
         "<a><defineText template=\"[a]\" instance=\"q\"/></a>", nullptr},
        {"<a v='[b]'/>", "[a]", "1", "<a v=\"[b]\"/>", "isChanged"},
        {"<a v='[a]'/>", "a]", "1", "<a v=\"[a]\"/>", "openPos == 0"},
        {"<a v='[a]'/>", "[a][b]", "1", "<a v=\"[a]\"/>", "closePos == name.length() - 1"},
    };
    for (const Case& c : cases) {
        LogCapture capture;
        ObjectSmartPointer<XmlElement> tree = Parse(c.tree);
        TemplateLib::DefineText(tree, c.what, c.value);
        EXPECT_EQ(c.result, Text(tree)) << c.tree;
        if (c.report) {
            EXPECT_TRUE(Reported(capture, c.report)) << c.tree << capture.Text();
        } else {
            EXPECT_EQ(0, capture.ErrorCount()) << c.tree << capture.Text();
        }
    }
}

TEST_F(TemplateLibTest, ElementParameters) {
    LogCapture capture;
    ObjectSmartPointer<XmlElement> tree = Parse("<a><_p_/><b><_p_/><c/></b></a>");
    ObjectSmartPointer<XmlElement> value = Parse("<v k='1'><w/></v>");
    TemplateLib::DefineElement(tree, "_p_", value);
    EXPECT_EQ("<a><v k=\"1\"><w/></v><b><v k=\"1\"><w/></v><c/></b></a>", Text(tree));
    tree = Parse("<a><_p_/><b><_p_/><c/></b></a>");
    TemplateLib::RemoveElement(tree, "_p_");
    EXPECT_EQ("<a><b><c/></b></a>", Text(tree));
    EXPECT_EQ(0, capture.ErrorCount()) << capture.Text();
    TemplateLib::RemoveElement(tree, "_p_");
    EXPECT_TRUE(Reported(capture, "isChanged"));
    // Names with '_' at one end only are taken for malformed parameters.
    EXPECT_TRUE(TemplateLib::IsElementParameter("_x"));
    EXPECT_TRUE(Reported(capture, "name.length() >= 3"));
    EXPECT_FALSE(TemplateLib::IsElementParameter("plain"));
}

TEST_F(TemplateLibTest, RegistryReportsFaults) {
    LogCapture capture;
    Register("T", "<one/>");
    Register("T", "<two/>");
    EXPECT_TRUE(Reported(capture, "_allTemplates.find(templateName) == _allTemplates.end()"));
    EXPECT_EQ("<two/>", Text(TemplateLib::GetTemplate("T")));
    Register("U[", "<x/>");
    EXPECT_TRUE(Reported(capture, "templateName.find('[') == std::string::npos"));
    TemplateLib::RemoveTemplate("U[");
    Register("U", "<x><_bad_ a='1'/><y v='[]'/></x>");
    EXPECT_TRUE(Reported(capture, "xe->GetFirstAttribute() == NULL"));
    EXPECT_TRUE(Reported(capture, "param.length() >= 3"));
    EXPECT_TRUE(TemplateLib::CopyTemplate("missing") == NULL);
    EXPECT_TRUE(check_reports::ErrorReported(capture, "Template missing not found"));
    // Removed and registered again.
    TemplateLib::RemoveTemplate("T");
    EXPECT_FALSE(TemplateLib::HasTemplate("T"));
    Register("T", "<three/>");
    EXPECT_EQ("<three/>", Text(TemplateLib::GetTemplate("T")));
}

TEST_F(TemplateLibTest, FullInstantiationDumpOnlyForLeftovers) {
    struct Case {
        const char* tree;
        bool clean;
    } cases[] = {
        {"<a t='[frameId]'><b>text</b><!-- [c] --></a>", true},
        {"<a><defineText template='[p]' instance='v'/></a>", true},
        {"<a t='x[frameId]y'/>", true},
        {"<a t='[left]'/>", false},
        {"<a><b>[left]</b></a>", false},
        {"<a><_left_/></a>", false},
    };
    for (const Case& c : cases) {
        std::remove(Dump().c_str());
        LogCapture capture;
        ObjectSmartPointer<XmlElement> tree = Parse(c.tree);
        TemplateLib::CheckFullyInstantiated(tree);
        EXPECT_EQ(!c.clean, testing_support::FileExists(Dump())) << c.tree;
        EXPECT_EQ(c.clean ? 0 : 2, capture.ErrorCount()) << c.tree << capture.Text();
        tree->MarkVisitedTree();
    }
}

TEST_F(TemplateLibTest, ChangesFromResourcesAndTemplates) {
    LogCapture capture;
    ResourceManager::LoadResources(Parse("<Resources><Strings><string name='tl_greeting' value='Hello'/>"
                                         "</Strings></Resources>"));
    Register("icon", "<Picture id='i'/>");
    ObjectSmartPointer<XmlElement> tree = Parse("<a t='[g]'><_x_/><_y_/></a>");
    TemplateLib::ApplyChanges(
        tree, Parse("<changes><defineText template='[g]' instanceResourceName='tl_greeting'/>"
                    "<changes><defineElement template='_x_' instanceTemplateName='icon'/></changes>"
                    "<defineElement template='_y_' remove='true'/></changes>"));
    EXPECT_EQ("<a t=\"Hello\"><Picture id=\"i\"/></a>", Text(tree));
    TemplateLib::ApplyChanges(tree, Parse("<changes/>"));
    TemplateLib::ApplyChanges(tree, ObjectWeakPointer<XmlElement>());
    EXPECT_EQ("<a t=\"Hello\"><Picture id=\"i\"/></a>", Text(tree));
    EXPECT_EQ(0, capture.ErrorCount()) << capture.Text();
}

TEST_F(TemplateLibTest, TemplateFileAndDefinitions) {
    testing_support::WriteFile(dir + "templates.xml",
                               "<Templates>\n"
                               "  <Template templateName='T'><Button text='[t]'/><Extra/></Template>\n"
                               "  <Templat templateName='U'><Panel/></Templat>\n"
                               "</Templates>\n");
    LogCapture capture;
    TemplateLib::LoadTemplateFile("templates.xml");
    EXPECT_EQ("<Button text=\"[t]\"/>", Text(TemplateLib::GetTemplate("T")));
    EXPECT_EQ("<Panel/>", Text(TemplateLib::GetTemplate("U")));
    EXPECT_TRUE(Reported(capture, "child->GetName() == \"Template\""));
    EXPECT_TRUE(capture.Contains("not-visited-marked.xml"));  // the second child of T

    // A Template definition from a base with changes, alive as long as the definition.
    LogCapture second;
    {
        ObjectSmartPointer<Template> derived(new Template(
            Parse("<Template templateName='base'><base templateName='T'/><changes t='ok'/></Template>")));
        EXPECT_EQ("<Button text=\"ok\"/>", Text(TemplateLib::GetTemplate("base")));
    }
    EXPECT_FALSE(TemplateLib::HasTemplate("base"));
    EXPECT_EQ("<Button text=\"[t]\"/>", Text(TemplateLib::GetTemplate("T")));
    EXPECT_EQ(0, second.ErrorCount()) << second.Text();
}

TEST_F(TemplateLibTest, DefinitionLeavesANameTakenOverByALaterOne) {
    LogCapture capture;
    auto first = std::make_unique<ObjectSmartPointer<Template>>(
        new Template(Parse("<Template templateName='N'><One/></Template>")));
    ObjectSmartPointer<Template> later(new Template(Parse("<Template templateName='N'><Two/></Template>")));
    EXPECT_EQ(1, capture.ErrorCount());  // the name was not new
    first.reset();
    ASSERT_TRUE(TemplateLib::HasTemplate("N"));
    EXPECT_EQ("<Two/>", Text(TemplateLib::GetTemplate("N")));
    later = nullptr;
    EXPECT_FALSE(TemplateLib::HasTemplate("N"));
}

TEST_F(TemplateLibTest, ShutdownEmptiesTheRegistry) {
    Register("Kept", "<A><B/></A>");
    ObjectWeakPointer<XmlElement> kept = TemplateLib::GetTemplate("Kept");
    TemplateLib::RemoveAllTemplates();
    EXPECT_FALSE(TemplateLib::HasTemplate("Kept"));
    EXPECT_EQ(-1, kept.GetLinkInfo()->_hardLinkCount);  // the element is gone
}

}  // namespace
