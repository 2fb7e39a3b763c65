// The script functions reach the resource manager and the template library.
#include <gtest/gtest.h>

#include "content/ResourceManager.h"
#include "content/ResourceManagerScript.h"
#include "content/TemplateLib.h"
#include "tests/content/ContentTestSupport.h"
#include "tests/shell/ScriptTestSupport.h"

namespace {

class ResourceScriptTest : public content_test::ContentTest {};

TEST_F(ResourceScriptTest, LoadersAndGroupsFromScripts) {
    ConnectResourceScriptServices();
    content_test::WritePng(dir + "pic.png", 8, 8);
    testing_support::WriteFile(dir + "list.xml",
                               "<Resources><Strings><string name='sc_s' value='from script'/></Strings>"
                               "<Textures2D><texture2D id='sc_r' path='pic.png' upload='false' group='sc'/>"
                               "</Textures2D></Resources>");
    testing_support::WriteFile(dir + "templates.xml",
                               "<Templates><Template templateName='sc_t'><Button/></Template></Templates>");
    testing_support::LogCapture capture;
    EXPECT_EQ("", script_test::RunLua("LoadResource('list.xml') LoadTemplate('templates.xml') "
                                      "UploadResourceGroup('sc')"));
    EXPECT_EQ("from script", ResourceManager::GetString("sc_s"));
    EXPECT_TRUE(TemplateLib::HasTemplate("sc_t"));
    EXPECT_NE(nullptr, ResourceManager::GetRectangleTexture("#sc_r")->_tex);
    EXPECT_EQ("", script_test::RunLua("ReleaseResourceGroup('sc')"));
    EXPECT_EQ(nullptr, ResourceManager::GetRectangleTexture("#sc_r")->_tex);
    EXPECT_EQ(0, capture.ErrorCount()) << capture.Text();
    TemplateLib::RemoveTemplate("sc_t");
}

}  // namespace
