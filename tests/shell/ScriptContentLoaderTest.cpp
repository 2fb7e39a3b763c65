#include <gtest/gtest.h>

#include <vector>

#include "core/XmlElement.h"
#include "shell/ScriptMap.h"
#include "tests/shell/ScriptTestSupport.h"
#include "shell/ScriptServices.h"
#include "tests/support/TestSupport.h"

using testing_support::LogCapture;

namespace {

std::string XmlFixture(const std::string& name) {
    return std::string(MARIVEL_SOURCE_DIR) + "/tests/shell/fixtures/script/" + name;
}

class ScriptContentLoaderTest : public testing::Test {
protected:
    void TearDown() override { GetScriptServices() = ScriptServices(); }
};

}  // namespace

TEST_F(ScriptContentLoaderTest, ControlTreeRootGoesToTheContainerAndUnreadPartsAreReported) {
    std::vector<std::string> roots;
    GetScriptServices().setRootContainer = [&](const ObjectWeakPointer<XmlElement>& root) {
        roots.push_back(root->NameRef());
        ObjectWeakPointer<XmlElement> child = root->GetFirstChildElement();
        ASSERT_TRUE(child != NULL);
        child->GetAttribute("name");
    };
    {
        LogCapture log;
        ScriptMap::LoadControlTree(XmlFixture("tree.xml"));
        ASSERT_EQ(roots, std::vector<std::string>{"ControlContainer"});
        // The unread attribute "extra" is reported by the visit check.
        EXPECT_GE(log.ErrorCount(), 1) << log.Text();
        EXPECT_FALSE(log.Contains("root->GetName() == \"ControlContainer\""));
    }
    {
        LogCapture log;
        ScriptMap::LoadControlTree(XmlFixture("wrongroot.xml"));
        EXPECT_EQ(log.ErrorCount(), 1) << log.Text();
        EXPECT_TRUE(log.Contains("root->GetName() == \"ControlContainer\""));
        EXPECT_EQ(roots.size(), 2u);  // built all the same
    }
    {
        LogCapture log;
        ScriptMap::LoadControlTree(XmlFixture("missing.xml"));
        EXPECT_GE(log.ErrorCount(), 1);
        EXPECT_EQ(roots.size(), 2u);
    }
}

TEST_F(ScriptContentLoaderTest, TemplatesRegisterDeepCopiesOfTheirFirstElement) {
    std::vector<std::string> registered;
    std::vector<ObjectSmartPointer<XmlElement>> copies;
    GetScriptServices().addTemplate = [&](const std::string& name, const ObjectSmartPointer<XmlElement>& element) {
        registered.push_back(name + ":" + element->NameRef());
        copies.push_back(element);
    };
    LogCapture log;
    ScriptMap::LoadTemplate(XmlFixture("templates.xml"));
    // The misnamed element is a failed check and registers all the same; the one without an
    // element is a failed check and registers nothing.
    const std::vector<std::string> expected = {"button:Button", "panel:Panel"};
    EXPECT_EQ(registered, expected);
    EXPECT_EQ(log.ErrorCount(), 2) << log.Text();
    EXPECT_TRUE(log.Contains("child->GetName() == \"Template\""));
    EXPECT_TRUE(log.Contains("body != NULL"));
    // The copies outlive the document and keep their attributes.
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_TRUE(copies[0]->HasAttribute("text"));
}

TEST_F(ScriptContentLoaderTest, ResourceListRootGoesToTheResourceLoader) {
    std::vector<std::string> roots;
    GetScriptServices().loadResources = [&](const ObjectWeakPointer<XmlElement>& root) {
        roots.push_back(root->NameRef());
        root->MarkVisitedTree();
    };
    LogCapture log;
    ScriptMap::LoadResource(XmlFixture("resources.xml"));
    EXPECT_EQ(roots, std::vector<std::string>{"Resources"});
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(ScriptContentLoaderTest, ScriptErrorFromALoaderEndsTheScriptAndReleasesTheDocument) {
    ObjectWeakPointer<XmlElement> seen;
    GetScriptServices().loadResources = [&](const ObjectWeakPointer<XmlElement>& root) {
        seen = root;
        throw ScriptError("window closed");
    };
    script_test::State();
    const std::string code = "LoadResource('" + XmlFixture("resources.xml") + "') loaderAfter = 1";
    EXPECT_EQ(script_test::RunLua(code), "window closed");
    EXPECT_EQ(script_test::Eval("loaderAfter"), "nil");
    // The document was released on the way out.
    ASSERT_TRUE(seen.GetLinkInfo() != nullptr);
    EXPECT_LT(seen.GetLinkInfo()->_hardLinkCount, 0);
}
