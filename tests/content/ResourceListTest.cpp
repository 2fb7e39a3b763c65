// The sections of resource lists, "ForEachFile" and the older picture and animation kinds.
#include <gtest/gtest.h>

#include <filesystem>

#include "content/ResourceListDirectory.h"
#include "content/ResourceManager.h"
#include "content/TemplateLib.h"
#include "shell/RenderDeviceFonts.h"
#include "tests/content/ContentTestSupport.h"
#include "tests/core/CheckReports.h"

namespace {

using check_reports::ErrorReported;
using check_reports::Reported;
using content_test::WritePng;
using testing_support::LogCapture;

class ResourceListTest : public content_test::ContentTest {};

TEST_F(ResourceListTest, FontsTexturesAndStrings) {
    std::filesystem::create_directory(dir + "fonts");
    std::filesystem::copy_file(std::string(MARIVEL_SOURCE_DIR) + "/data/fonts/demo.png", dir + "fonts/rl_font.png");
    std::filesystem::copy_file(std::string(MARIVEL_SOURCE_DIR) + "/data/fonts/demo.txt", dir + "fonts/rl_font.txt");
    WritePng(dir + "pic.png", 8, 8);
    LogCapture capture;
    LoadList("<Resources>"
             "<Fonts><font name='rl_font' track='1'/><font name='rl_alias' aliasOf='rl_font'/></Fonts>"
             "<Textures upload='refcount' storage='memory-keeping'><texture id='t' path='pic.png'/>"
             "<texture id='alias' aliasOf='t'/><texture id='vrn_logo_normal' path='nologo.png'/>"
             "<texture id='vrn_logo_active' path='pic.png'/></Textures>"
             "<Strings><string name='rl_s' value='one'/><div templateName='rl_div' a='[x]'>text</div></Strings>"
             "</Resources>");
    EXPECT_EQ(0, capture.ErrorCount()) << capture.Text();
    EXPECT_TRUE(Render::fonts.DoesFontExist("rl_font"));
    EXPECT_TRUE(Render::fonts.DoesFontExist("rl_alias"));
    EXPECT_EQ(ResourceManager::GetTexture("t").Get(), ResourceManager::GetTexture("alias").Get());
    EXPECT_TRUE(ResourceManager::HasTexture("vrn_logo_active"));
    EXPECT_FALSE(ResourceManager::HasTexture("vrn_logo_normal"));
    EXPECT_EQ("one", ResourceManager::GetString("rl_s"));
    EXPECT_EQ("<div a=\"[x]\">text</div>", content_test::Text(TemplateLib::GetTemplate("rl_div")));

    // Loaded again: every id is reported once more, the later value wins.
    LogCapture again;
    LoadList("<Resources><Textures upload='refcount' storage='memory-keeping' groups='x'>"
             "<texture id='t' path='pic.png' storage='disk-preload'/><texture id='a2' aliasOf='missing'/></Textures>"
             "<Strings><string name='rl_s' value='two'/></Strings><Stray/></Resources>");
    EXPECT_TRUE(ErrorReported(again, "Texture 't' already loaded"));
    EXPECT_TRUE(Reported(again, "!textureXml->HasAttribute(attributeName)"));
    EXPECT_TRUE(Reported(again, "textures.find(aliasOf) != textures.end()"));
    EXPECT_FALSE(ResourceManager::HasTexture("a2"));
    EXPECT_TRUE(ErrorReported(again, "String resource 'rl_s' already loaded"));
    EXPECT_EQ("two", ResourceManager::GetString("rl_s"));
    EXPECT_TRUE(Reported(again, "false"));  // the unknown section
    EXPECT_TRUE(again.Contains("not-visited-marked.xml"));
    EXPECT_NE(ResourceManager::GetTexture("t").Get(), ResourceManager::GetTexture("alias").Get());
}

TEST_F(ResourceListTest, PartialTexturesFindTheirBaseInTheList) {
    WritePng(dir + "pic.png", 16, 16);
    WritePng(dir + "other.png", 8, 8);
    LogCapture capture;
    LoadList("<Resources><Textures><texture id='base' path='pic.png' upload='refcount' storage='memory-keeping'/>"
             "<texture id='part' kind='partial' base='base' x='0' y='0' width='4' height='6'/></Textures></Resources>");
    LoadList("<Resources><Textures><texture id='base' path='other.png' upload='refcount' storage='memory-keeping'/>"
             "<texture id='part2' kind='partial' base='base' x='0' y='0' width='8' height='2'/></Textures></Resources>");
    EXPECT_EQ(1, capture.ErrorCount()) << capture.Text();  // "base" loaded twice
    UsingPointer<Texture> part(ResourceManager::GetTexture("part2"));
    EXPECT_EQ(8, part->GetRectangle().width);
    EXPECT_EQ(4, UsingPointer<Texture>(ResourceManager::GetTexture("part"))->GetRectangle().width);
}

TEST_F(ResourceListTest, ForEachFileStampsOneListPerFile) {
    std::filesystem::create_directory(dir + "pics");
    std::filesystem::create_directory(dir + "pics/sub.png");
    WritePng(dir + "pics/Shell.PNG", 4, 4);
    WritePng(dir + "pics/stone.png", 6, 6);
    WritePng(dir + "pics/.hidden.png", 2, 2);
    EXPECT_EQ((std::vector<std::string>{"Shell.PNG", "stone.png"}),
              DirectoryListing::GetFileNames(
                  "pics\\*", FileAttributesCondition(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN, 0)));
    LogCapture capture;
    LoadList("<Resources><ForEachFile directory='pics'><Resources>"
             "<Textures><texture id='fe_[name]' path='[directory]\\[name].[ext]' upload='refcount' "
             "storage='memory-keeping'/></Textures></Resources></ForEachFile></Resources>");
    EXPECT_EQ(0, capture.ErrorCount()) << capture.Text();
    UsingPointer<Texture> shell(ResourceManager::GetTexture("fe_shell"));
    ASSERT_TRUE(shell != NULL);
    EXPECT_EQ(4, shell->GetRectangle().width);
    EXPECT_TRUE(ResourceManager::HasTexture("fe_stone"));
    EXPECT_FALSE(ResourceManager::HasTexture("fe_.hidden"));

    LogCapture missing;
    LoadList("<Resources><ForEachFile directory='pics'><Resources><Strings>"
             "<string name='fe2_[name]' value='[directory]'/></Strings></Resources></ForEachFile>"
             "<ForEachFile directory='empty'><Resources/></ForEachFile></Resources>");
    EXPECT_EQ("pics", ResourceManager::GetString("fe2_stone"));
    EXPECT_TRUE(Reported(missing, "isChanged"));
    EXPECT_TRUE(Reported(missing, "files.size() != 0"));
    EXPECT_EQ(2, missing.ErrorCount()) << missing.Text();  // a fault at one place is written once
}

TEST_F(ResourceListTest, FileSequenceNames) {
    struct Case {
        int start, step, keys;
        std::vector<std::string> names;
    } cases[] = {
        {0, 1, 12, {"anim\\crab00.png", "anim\\crab01.png", "anim\\crab11.png"}},
        {0, 1, 9, {"anim\\crab0.png", "anim\\crab1.png", "anim\\crab8.png"}},
        {1, 2, 5, {"anim\\crab1.png", "anim\\crab3.png", "anim\\crab9.png"}},
    };
    for (const Case& c : cases) {
        FileSequenceAnimation animation("anim\\", "crab", "png", c.keys, c.start, c.step, false);
        EXPECT_EQ(c.names[0], animation.GetFileName(0));
        EXPECT_EQ(c.names[1], animation.GetFileName(1));
        EXPECT_EQ(c.names[2], animation.GetFileName(c.keys - 1));
    }
}

TEST_F(ResourceListTest, OlderKinds) {
    std::filesystem::create_directory(dir + "anim");
    for (int n : {1, 3, 5, 7, 9}) WritePng(dir + "anim/crab" + std::to_string(n) + ".png", 8, 4);
    WritePng(dir + "sheet.png", 64, 32);
    LogCapture capture;
    LoadList("<Resources><Textures2D><texture2D id='sheet' path='sheet.png' opacityLevel='200'/></Textures2D>"
             "<FrameAnimations><animation id='crab' path='anim\\' prefix='crab' format='png' keys='5' start='1' "
             "step='2' needTexturesInMemory='true'/></FrameAnimations>"
             "<OldAnimations><animation id='shared' texture='#sheet'><frames width='16' height='16' count='8' "
             "last='7' first='2'/><playback fps='20' play='1' loop='1' forward='0' pingpong='1'/></animation>"
             "</OldAnimations></Resources>");
    EXPECT_EQ(0, capture.ErrorCount()) << capture.Text();
    FileSequenceAnimation* crab = ResourceManager::GetFileSequenceAnimation("crab");
    ASSERT_NE(nullptr, crab);
    EXPECT_EQ(8, crab->frames[4]->_imageWidth);
    EXPECT_TRUE(crab->frames[4]->_needInMemory);
    RectangleTexture* sheet = ResourceManager::GetRectangleTexture("#sheet");
    EXPECT_EQ(200, sheet->_opacityLevel);
    OldAnimation* shared = ResourceManager::OldAnimations().Get("shared");
    ASSERT_NE(nullptr, shared);
    EXPECT_EQ(sheet, shared->texture);
    EXPECT_FALSE(shared->ownsTexture);
    EXPECT_EQ(7, shared->currentFrame);  // backward: starts at its last frame
    EXPECT_EQ(-1, shared->direction);
    EXPECT_EQ(OldAnimation::FLAG_BACKWARD | OldAnimation::FLAG_PINGPONG | OldAnimation::FLAG_LOOP, shared->flags);
    EXPECT_FLOAT_EQ(0.05f, shared->frameTime);
    EXPECT_FLOAT_EQ(0.25f, shared->frameWidth);
    EXPECT_FLOAT_EQ(0.5f, shared->frameHeight);

    LogCapture faults;
    LoadList("<Resources><Textures2D><texture2D id='sheet' path='sheet.png' opacityLevel='300'/></Textures2D>"
             "<OldAnimations><animation id='bad' texture='sheet.png'><frames width='16' height='16' count='4' "
             "last='4' first='0'/><playback fps='10' play='yes' loop='0' forward='1' pingpong='0'/></animation>"
             "</OldAnimations></Resources>");
    EXPECT_TRUE(Reported(faults, "0 <= res->_opacityLevel && res->_opacityLevel <= 256"));
    EXPECT_TRUE(Reported(faults, "_resource.find(resource.first) == _resource.end()"));
    EXPECT_TRUE(Reported(faults, "0 <= iFrame && iFrame < _iFramesCount"));
    EXPECT_EQ(200, ResourceManager::GetRectangleTexture("#sheet")->_opacityLevel);  // the first stays
    EXPECT_TRUE(ResourceManager::OldAnimations().Get("bad")->ownsTexture);
}

}  // namespace
