// Lookups, "animation_frame:" references, load groups and the release at shutdown.
#include <gtest/gtest.h>

#include "content/ResourceManager.h"
#include "content/TemplateLib.h"
#include "shell/TextureKinds.h"
#include "tests/content/ContentTestSupport.h"
#include "tests/core/CheckReports.h"

namespace {

using check_reports::ErrorReported;
using check_reports::Reported;
using content_test::WritePng;
using testing_support::LogCapture;

using GroupTexture = ReferenceCountingTexture<AsIsNativeTexture>;

class ResourceManagerTest : public content_test::ContentTest {};

TEST_F(ResourceManagerTest, AnimationFrameReferences) {
    // Frames 0..3 of "anim" are pictures 10..13 pixels wide.
    for (int i = 0; i < 4; ++i) WritePng(dir + "f" + std::to_string(i) + ".png", 10 + i, 8);
    WritePng(dir + "plain.png", 5, 5);
    LoadList("<Resources><Textures upload='refcount' storage='memory-keeping'>"
             "<texture id='plain' path='plain.png'/><texture id='Plain' path='f0.png'/></Textures>"
             "<Animations><TextureSetAnimation id='anim' start='0' step='1' count='4'>"
             "<texture upload='refcount' storage='memory-keeping' path='f[frameId].png'/>"
             "</TextureSetAnimation></Animations></Resources>");
    struct Case {
        const char* id;
        int width;           // 0: empty result
        const char* report;  // expected report, nullptr for none
    } cases[] = {
        {"animation_frame:anim/0", 10, nullptr},
        {"animation_frame:anim/3", 13, nullptr},
        {"animation_frame:anim/-1", 13, nullptr},
        {"animation_frame:anim/-2", 12, nullptr},
        {"plain", 5, nullptr},
        {"Plain", 10, nullptr},  // ids are case-sensitive
        {"animation_frame:anim/07", 0, "Assertion failed"},
        {"animation_frame:anim", 0, "Assertion failed: semicolonPos != std::string::npos"},
        {"animation_frame:anim/4", 0, "Assertion failed"},
        {"animation_frame:none/0", 0, "Error: Animation 'none' not found"},
        {"PLAIN", 0, "Error: Texture 'PLAIN' not found"},
    };
    for (const Case& c : cases) {
        LogCapture capture;
        UsingPointer<Texture> texture = ResourceManager::GetTextureOrFrame(c.id);
        if (c.width == 0) {
            EXPECT_TRUE(texture == NULL) << c.id;
        } else {
            ASSERT_TRUE(texture != NULL) << c.id;
            EXPECT_EQ(c.width, texture->GetRectangle().width) << c.id;
        }
        if (c.report) {
            EXPECT_TRUE(capture.Contains(c.report)) << c.id << capture.Text();
        } else {
            EXPECT_EQ(0, capture.ErrorCount()) << c.id << capture.Text();
        }
    }
    // The reference keeps only its frame in use; the animation is let go when the call returns.
    UsingPointer<Texture> held = ResourceManager::GetTextureOrFrame("animation_frame:anim/1");
    EXPECT_EQ(0, ResourceManager::GetAnimation("anim")->GetReferenceCount());
    EXPECT_EQ(1, dynamic_cast<GroupTexture*>(held.GetPointer().Get())->GetReferenceCount());
}

TEST_F(ResourceManagerTest, LookupsReportMissingNames) {
    LogCapture capture;
    EXPECT_TRUE(ResourceManager::GetTexture("nothing") == NULL);
    EXPECT_TRUE(ResourceManager::GetAnimation("nothing") == NULL);
    EXPECT_EQ("", ResourceManager::GetString("nothing"));
    EXPECT_EQ(nullptr, ResourceManager::GetRectangleTexture("#nothing"));
    EXPECT_EQ(nullptr, ResourceManager::GetFileSequenceAnimation("nothing"));
    EXPECT_TRUE(ErrorReported(capture, "Texture 'nothing' not found"));
    EXPECT_TRUE(ErrorReported(capture, "Animation 'nothing' not found"));
    EXPECT_TRUE(ErrorReported(capture, "String resource 'nothing' not found"));
    EXPECT_TRUE(ErrorReported(capture, "Resource 'nothing' not found"));
    EXPECT_EQ(4, capture.ErrorCount());  // the two "Resource" lookups fail at one place: written once
}

TEST_F(ResourceManagerTest, GroupUploadAndReleaseCounts) {
    WritePng(dir + "a.png", 16, 16);
    WritePng(dir + "b.png", 20, 10);
    for (int i = 0; i < 3; ++i) WritePng(dir + "seq" + std::to_string(i) + ".png", 8, 8);
    LoadList("<Resources>"
             "<Textures upload='manual' storage='disk-preload'>"
             "<texture id='a' path='a.png' groups='g1;g2'/><texture id='b' path='b.png' groups='g1'/></Textures>"
             "<Textures2D><texture2D id='r' path='b.png' upload='false' group='g1'/>"
             "<texture2D id='common' path='a.png' upload='false'/>"
             "<texture2D id='only2d' path='a.png' group='g3'/></Textures2D>"
             "<FrameAnimations><animation id='seq' path='' prefix='seq' format='png' keys='3' start='0' step='1' "
             "upload='false' group='g1'/></FrameAnimations>"
             "</Resources>");
    auto a = dynamic_cast<GroupTexture*>(ResourceManager::GetTexture("a").Get());
    auto b = dynamic_cast<GroupTexture*>(ResourceManager::GetTexture("b").Get());
    ASSERT_NE(nullptr, a);
    ASSERT_NE(nullptr, b);
    RectangleTexture* r = ResourceManager::GetRectangleTexture("#r");
    FileSequenceAnimation* seq = ResourceManager::GetFileSequenceAnimation("seq");
    ASSERT_NE(nullptr, r);
    ASSERT_NE(nullptr, seq);
    EXPECT_EQ(nullptr, r->_tex);  // registered, not read
    EXPECT_EQ(nullptr, seq->frames[0]->_tex);

    LogCapture capture;
    ResourceManager::UploadGroup("g1");
    EXPECT_EQ(1, a->GetReferenceCount());
    EXPECT_EQ(1, b->GetReferenceCount());
    EXPECT_NE(nullptr, r->_tex);
    EXPECT_NE(nullptr, seq->frames[2]->_tex);
    ResourceManager::UploadGroup("g2");
    EXPECT_EQ(2, a->GetReferenceCount());
    EXPECT_EQ(0, capture.ErrorCount()) << capture.Text();

    // A repeated upload and a release of a group not uploaded are reported and change nothing.
    ResourceManager::UploadGroup("g1");
    EXPECT_TRUE(Reported(capture, "_loadedGroups.find(groupName) == _loadedGroups.end()"));
    EXPECT_EQ(1, b->GetReferenceCount());
    ResourceManager::ReleaseGroup("g2");
    ResourceManager::ReleaseGroup("g2");
    EXPECT_TRUE(Reported(capture, "_loadedGroups.find(groupName) != _loadedGroups.end()"));
    EXPECT_EQ(1, a->GetReferenceCount());

    ResourceManager::ReleaseGroup("g1");
    EXPECT_EQ(0, a->GetReferenceCount());
    EXPECT_EQ(0, b->GetReferenceCount());
    EXPECT_EQ(nullptr, r->_tex);
    EXPECT_EQ(nullptr, seq->frames[1]->_tex);
    ResourceManager::UploadGroup("g1");
    ResourceManager::ReleaseGroup("g1");
    ResourceManager::UploadGroup("g1");
    EXPECT_EQ(1, b->GetReferenceCount());
    EXPECT_NE(nullptr, r->_tex);  // read again from its file

    // A group of 2D textures only, the default group, and a group nobody has.
    LogCapture groups;
    ResourceManager::ReleaseGroup("g3");
    ResourceManager::UploadGroup("g3");
    EXPECT_EQ(nullptr, ResourceManager::GetRectangleTexture("#common")->_tex);
    ResourceManager::UploadGroup("Common");
    EXPECT_NE(nullptr, ResourceManager::GetRectangleTexture("#common")->_tex);
    EXPECT_EQ(0, groups.ErrorCount()) << groups.Text();
    ResourceManager::UploadGroup("nobody");
    EXPECT_TRUE(Reported(groups, "_groupMembers.find(groupName) != _groupMembers.end()"));
    ResourceManager::ReleaseGroup("g1");
}

TEST_F(ResourceManagerTest, RectangleTexturesByNameOrFile) {
    WritePng(dir + "pic.png", 20, 10);
    LoadList("<Resources><Textures2D><texture2D id='pic' path='pic.png'/></Textures2D></Resources>");
    RectangleTexture* shared = ResourceManager::GetRectangleTexture("#pic");
    EXPECT_EQ(shared, ResourceManager::GetRectangleTexture("#pic"));
    EXPECT_EQ(20, shared->_imageWidth);
    RectangleTexture* own1 = ResourceManager::GetRectangleTexture("pic.png");
    RectangleTexture* own2 = ResourceManager::GetRectangleTexture("pic.png");
    EXPECT_NE(own1, own2);
    EXPECT_NE(nullptr, own1->_tex);
    for (RectangleTexture* own : {own1, own2}) {
        own->Release();
        delete own;
    }
}

TEST_F(ResourceManagerTest, ReleaseAllEmptiesTheRegistries) {
    WritePng(dir + "pic.png", 16, 16);
    LoadList("<Resources><Textures upload='refcount' storage='memory-keeping'><texture id='t' path='pic.png'/>"
             "<texture id='t2' aliasOf='t'/></Textures>"
             "<Textures2D><texture2D id='r' path='pic.png'/></Textures2D>"
             "<OldAnimations><animation id='o' texture='pic.png'><frames width='8' height='8' count='4' last='3' "
             "first='0'/><playback fps='10' play='1' loop='1' forward='1' pingpong='0'/></animation></OldAnimations>"
             "<Strings><string name='rm_kept' value='v'/><div templateName='rm_div'><b/></div></Strings>"
             "</Resources>");
    RectangleTexture* r = ResourceManager::GetRectangleTexture("#r");
    EXPECT_NE(nullptr, r->_tex);
    EXPECT_NE(nullptr, ResourceManager::OldAnimations().Get("o")->texture->_tex);
    EXPECT_TRUE(TemplateLib::HasTemplate("rm_div"));
    LogCapture capture;
    ResourceManager::ReleaseAll();
    EXPECT_FALSE(ResourceManager::HasTexture("t"));
    EXPECT_FALSE(ResourceManager::HasTexture("t2"));
    EXPECT_EQ(0u, ResourceManager::RectangleTextures().size());
    EXPECT_EQ(0u, ResourceManager::OldAnimations().size());
    EXPECT_FALSE(TemplateLib::HasTemplate("rm_div"));
    EXPECT_EQ("v", ResourceManager::GetString("rm_kept"));
    EXPECT_EQ(0, capture.ErrorCount()) << capture.Text();
}

}  // namespace
