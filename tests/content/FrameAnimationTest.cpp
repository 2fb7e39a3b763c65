// The five kinds of frame animation and the frame player.
#include <gtest/gtest.h>

#include "content/AnimationService.h"
#include "content/FrameAnimations.h"
#include "content/ResourceManager.h"
#include "tests/content/ContentTestSupport.h"
#include "tests/core/CheckReports.h"

namespace {

using check_reports::Reported;
using content_test::Parse;
using content_test::WritePng;
using testing_support::LogCapture;

class FrameAnimationTest : public content_test::ContentTest {
protected:
    // Eight numbered pictures 10..17 wide, a 128 x 64 sheet and a packed picture with its side file,
    // and one animation of each kind with four frames.
    void LoadKinds() {
        for (int i = 0; i < 8; ++i) WritePng(dir + "n" + std::to_string(i) + ".png", 10 + i, 4);
        WritePng(dir + "sheet.png", 128, 64);
        WritePng(dir + "packed.png", 64, 64);
        testing_support::WriteFile(
            dir + "packed.xml",
            "<packed count='4'>"
            "<frame x='0' y='0' width='10' height='20' frameWidth='32' frameHeight='32' innerX='1' innerY='2'/>"
            "<frame x='10' y='0' width='12' height='20' frameWidth='32' frameHeight='32' innerX='0' innerY='0'/>"
            "<frame x='0' y='20' width='14' height='20' frameWidth='30' frameHeight='32' innerX='3' innerY='4'/>"
            "<frame x='20' y='20' width='16' height='20' frameWidth='32' frameHeight='40' innerX='0' innerY='0'/>"
            "</packed>");
        const std::string texture = "upload='refcount' storage='memory-keeping'";
        LogCapture capture;
        LoadList("<Resources><Animations>"
                 "<TextureSetAnimation id='set' start='0' step='1' count='8'><texture " + texture +
                 " path='n[frameId].png'/></TextureSetAnimation>"
                 "<TextureSetAnimation id='set4' start='0' step='2' count='4'><texture " + texture +
                 " path='n[frameId].png'/></TextureSetAnimation>"
                 "<OneTextureAnimation id='one' frameWidth='32' frameHeight='32' count='4'><texture " + texture +
                 " path='sheet.png'/></OneTextureAnimation>"
                 "<PackedOneTextureAnimation id='packed'><texture " + texture +
                 " path='packed.png'/></PackedOneTextureAnimation>"
                 "<SubsetAnimation id='subset' base='set' start='2' count='4'/>"
                 "<CutJoinAnimation id='join'><part base='set' start='6' count='2'/><part base='set4' start='0' "
                 "count='2'/></CutJoinAnimation>"
                 "</Animations></Resources>");
        EXPECT_EQ(0, capture.ErrorCount()) << capture.Text();
    }

    static int Width(const UsingPointer<Texture>& texture) {
        return texture == NULL ? -1 : texture->GetRectangle().width;
    }
};

TEST_F(FrameAnimationTest, FrameNumbersOfTextureSets) {
    struct Case {
        int start, step, count;
        std::vector<std::string> ids;
    } cases[] = {
        {8, 1, 3, {"08", "09", "10"}},
        {10, -5, 3, {"10", "05", "00"}},
        {1, 1, 12, {"01", "02", "03", "04", "05", "06", "07", "08", "09", "10", "11", "12"}},
        {3, 2, 2, {"3", "5"}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.ids, TextureSetAnimation::FrameIds(c.start, c.step, c.count));
}

TEST_F(FrameAnimationTest, CellsOfOneTexture) {
    const std::vector<Rect> cells = OneTextureAnimation::Cells(256, 128, 64, 64, 6);
    ASSERT_EQ(6u, cells.size());
    const int expected[6][2] = {{0, 64}, {64, 64}, {128, 64}, {192, 64}, {0, 0}, {64, 0}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(expected[i][0], cells[i].x) << i;
        EXPECT_EQ(expected[i][1], cells[i].y) << i;
    }
    EXPECT_EQ(8u, OneTextureAnimation::Cells(256, 128, 64, 64, 20).size());
}

TEST_F(FrameAnimationTest, FramesOfEveryKind) {
    LoadKinds();
    struct Case {
        const char* id;
        std::vector<int> widths;
    } cases[] = {
        {"set", {10, 11, 12, 13, 14, 15, 16, 17}},
        {"set4", {10, 12, 14, 16}},
        {"one", {32, 32, 32, 32}},
        {"packed", {32, 32, 30, 32}},
        {"subset", {12, 13, 14, 15}},
        {"join", {16, 17, 10, 12}},
    };
    for (const Case& c : cases) {
        UsingPointer<Animation> animation = ResourceManager::UseAnimation(c.id);
        ASSERT_TRUE(animation != NULL) << c.id;
        ASSERT_EQ(static_cast<int>(c.widths.size()), animation->size()) << c.id;
        for (int i = 0; i < animation->size(); ++i) EXPECT_EQ(c.widths[i], Width(animation->GetFrame(i))) << c.id << i;
    }
    UsingPointer<Animation> packed = ResourceManager::UseAnimation("packed");
    EXPECT_EQ(40, packed->GetFrame(3)->GetRectangle().height);
    EXPECT_EQ(Rect(1, 10, 10, 20).y, packed->GetFrame(0)->GetInnerRectangle().y);
}

TEST_F(FrameAnimationTest, DerivedAnimationsKeepTheirBasesInUse) {
    LoadKinds();
    ObjectWeakPointer<Animation> set = ResourceManager::GetAnimation("set");
    {
        UsingPointer<Animation> subset = ResourceManager::UseAnimation("subset");
        EXPECT_EQ(1, set->GetReferenceCount());
        UsingPointer<Animation> join = ResourceManager::UseAnimation("join");
        // The joined frames hold their textures; the bases are let go again.
        EXPECT_EQ(1, set->GetReferenceCount());
        EXPECT_EQ(0, ResourceManager::GetAnimation("set4")->GetReferenceCount());
        EXPECT_EQ(17, Width(join->GetFrame(1)));
    }
    EXPECT_EQ(0, set->GetReferenceCount());
}

TEST_F(FrameAnimationTest, FaultsAreReported) {
    WritePng(dir + "sheet.png", 64, 64);
    LogCapture capture;
    EXPECT_TRUE(CreateAnimation(Parse("<Unknown id='x'/>")) == NULL);
    EXPECT_TRUE(Reported(capture, "false"));
    // More frames asked for than the picture has cells: sized to the frames made.
    ObjectSmartPointer<Animation> few = CreateAnimation(
        Parse("<OneTextureAnimation id='few' frameWidth='32' frameHeight='32' count='6'>"
              "<texture upload='refcount' storage='memory-keeping' path='sheet.png'/></OneTextureAnimation>"));
    EXPECT_TRUE(Reported(capture, "i == count"));
    {
        UsingPointer<Animation> use{ObjectWeakPointer<Animation>(few)};
        EXPECT_EQ(4, use->size());
    }
    CreateAnimation(Parse("<TextureSetAnimation id='s' start='0' step='0' count='1'>"
                          "<texture upload='refcount' storage='memory-keeping' path='sheet.png' junk='1'/>"
                          "</TextureSetAnimation>"));
    EXPECT_TRUE(Reported(capture, "step != 0"));
    EXPECT_TRUE(Reported(capture, "isChanged"));            // no [frameId] in the texture
    EXPECT_TRUE(capture.Contains("not-visited-marked.xml"));  // "junk" is not read by the factory
}

TEST_F(FrameAnimationTest, PlayerModes) {
    LoadKinds();
    struct Case {
        int mode;
        std::vector<int> frames;  // after each step of 0.1 s
        bool playingAtEnd;
    } cases[] = {
        {AnimationService::MODE_ONCE, {1, 2, 3, 3, 3, 3, 3}, false},
        {AnimationService::MODE_LOOP, {1, 2, 3, 0, 1, 2, 3}, true},
        {AnimationService::MODE_PINGPONG, {1, 2, 3, 2, 1, 0, 0}, false},
        {AnimationService::MODE_PINGPONG_LOOP, {1, 2, 3, 2, 1, 0, 1}, true},
    };
    for (const char* id : {"set4", "one", "packed", "subset", "join"}) {
        for (const Case& c : cases) {
            LogCapture capture;
            AnimationService player(ResourceManager::GetAnimation(id));
            player.SetFps(10.0f);
            player.Start(c.mode);
            EXPECT_EQ(0, player.GetCurrentFrame());
            for (std::size_t i = 0; i < c.frames.size(); ++i) {
                player.Update(0.1f);
                EXPECT_EQ(c.frames[i], player.GetCurrentFrame()) << id << " mode " << c.mode << " step " << i;
                UsingPointer<Animation> animation = ResourceManager::UseAnimation(id);
                EXPECT_EQ(animation->GetFrame(c.frames[i]).GetPointer().Get(), player.GetTexture().GetPointer().Get());
            }
            EXPECT_EQ(c.playingAtEnd, player.playing) << id << " mode " << c.mode;
            EXPECT_EQ(0, capture.ErrorCount()) << capture.Text();
        }
    }
}

TEST_F(FrameAnimationTest, PlayerRangeStepsAndCopies) {
    LoadKinds();
    LogCapture capture;
    AnimationService player(ResourceManager::GetAnimation("set"));
    EXPECT_EQ(1, ResourceManager::GetAnimation("set")->GetReferenceCount());
    EXPECT_EQ(7, player.GetLastFrame());
    player.SetFirstFrame(2);
    player.SetLastFrame(5);
    player.SetFps(10.0f);
    player.Start(AnimationService::MODE_LOOP);
    std::vector<int> shown{player.GetCurrentFrame()};
    for (int i = 0; i < 5; ++i) {
        player.Update(0.1f);
        shown.push_back(player.GetCurrentFrame());
    }
    EXPECT_EQ((std::vector<int>{2, 3, 4, 5, 2, 3}), shown);
    // Several steps in one update, the rest kept; a zero step is an ordinary step.
    player.Start(AnimationService::MODE_ONCE);
    player.Update(0.35f);
    EXPECT_EQ(5, player.GetCurrentFrame());
    EXPECT_NEAR(0.05f, player.GetAccumulatedTime(), 1e-5f);
    player.Update(0.0f);
    EXPECT_EQ(0, capture.ErrorCount()) << capture.Text();
    {
        AnimationService copy(player);
        EXPECT_EQ(2, ResourceManager::GetAnimation("set")->GetReferenceCount());
        EXPECT_EQ(5, copy.GetCurrentFrame());
        EXPECT_NEAR(0.05f, copy.GetAccumulatedTime(), 1e-5f);
    }
    EXPECT_EQ(1, ResourceManager::GetAnimation("set")->GetReferenceCount());
    player.Update(-1.0f);
    EXPECT_TRUE(Reported(capture, "dt >= 0"));
    player.Start(3);
    EXPECT_TRUE(Reported(capture, "false"));
    player.SetCurrentFrame(7);
    EXPECT_TRUE(Reported(capture, "_firstFrame <= _currentFrame && _currentFrame <= _lastFrame"));
}

}  // namespace
