// Fish wishes: what the hint server's answer shows, who never wishes, how long a bubble stays,
// the tank's wish road, and the fish's picture on the device.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "aquarium/FishControl.h"
#include "content/ResourceManager.h"
#include "core/Math.h"
#include "core/PermanentStorage.h"
#include "core/Random.h"
#include "shell/RenderDevice.h"
#include "tests/aquarium/FishTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace aquarium_test;
using testing_support::LogCapture;

// Answers "get hint icon" with its text and counts the questions.
class HintServer : public MessageReceiver {
public:
    explicit HintServer(const std::string& name) : MessageReceiver(name) {}
    std::string OnMessageReply(std::string message) override {
        if (message != "get hint icon") return MessageReceiver::OnMessageReply(message);
        ++asked;
        return answer;
    }
    std::string answer;
    int asked = 0;
};

class FishWishTest : public FishTest {
protected:
    void SetUp() override {
        FishTest::SetUp();
        hints = ObjectSmartPointer<HintServer>(new HintServer("Hints"));
    }
    void TearDown() override {
        hints = nullptr;
        FishTest::TearDown();
    }
    // A swimming fish of the kind in a tank that asks "Hints".
    void BuildSwimmer(const Attributes& info = {}) {
        BuildTank(FishElementXml("Guppy", info, FishStateXml(At(400, 200, 150), At(100, 220, 150), At(700, 190, 150))),
                  false, "buyHintServer=\"Hints\"");
    }
    // Seconds of fish updates until its bubble is gone, at most the limit.
    float SecondsUntilTheBubbleGoes(FishControl& fish, float limit) {
        float t = 0.0f;
        while (fish.GetWishes() != NULL && t < limit) {
            fish.Update(0.02f);
            t += 0.02f;
        }
        return t;
    }
    std::vector<Texture*> CloudTextures(FishControl& fish) {
        std::vector<Texture*> textures;
        for (const FishWishes::Cloud& cloud : fish.GetWishes()->GetClouds()) textures.push_back(cloud.texture.GetPointer().Get());
        return textures;
    }
    static Texture* Named(const std::string& id) { return ResourceManager::GetTextureOrFrame(id).GetPointer().Get(); }

    ObjectSmartPointer<HintServer> hints;
};

TEST_F(FishWishTest, TheHintsAnswerChoosesTheCloudColourAroundTheIcon) {
    const struct {
        const char* answer;
        const char* colour;
    } cases[] = {{"fish gold_wish", "red"}, {"beauty gold_wish", "green"}, {"comfort gold_wish", "purple"}};
    for (const auto& c : cases) {
        BuildSwimmer();
        hints->answer = c.answer;
        FishControl& fish = *FirstFish();
        EXPECT_TRUE(fish.MakeWish()) << c.answer;
        const std::string colour = c.colour;
        EXPECT_EQ((std::vector<Texture*>{Named("cloud_" + colour + "_2"), Named("cloud_" + colour + "_1"),
                                         Named("cloud_" + colour), Named("gold_wish")}),
                  CloudTextures(fish))
            << c.answer;
        container = nullptr;
        tank = nullptr;
    }
}

TEST_F(FishWishTest, NoAnswerNoServerAndFishThatNeverWish) {
    BuildSwimmer();
    EXPECT_FALSE(FirstFish()->MakeWish());  // the server has nothing to suggest
    EXPECT_TRUE(FirstFish()->GetWishes() == NULL);
    hints->answer = "fish gold_wish";
    const int asked = hints->asked;

    // Entering, sold, school and a sea horse in its flare: no question asked.
    BuildTank(FishElementXml("Guppy"), false, "buyHintServer=\"Hints\"");
    EXPECT_FALSE(FirstFish()->MakeWish());
    BuildTank(FishElementXml("Neon", {{"school", "1.0"}}), true, "buyHintServer=\"Hints\"");
    EXPECT_FALSE(FirstFish()->MakeWish());
    EXPECT_FALSE(FirstFish()->GetMembers().front()->MakeWish());
    BuildTank(FishElementXml("Horse", {{"hippocampus", "true"}}), true, "buyHintServer=\"Hints\"");
    EXPECT_FALSE(FirstFish()->MakeWish());
    BuildTank(FishElementXml("Guppy"), true, "buyHintServer=\"Hints\"");
    Send("sub Guppy");
    EXPECT_FALSE(FirstFish()->MakeWish());
    EXPECT_EQ(asked, hints->asked);
    // A tank without a server.
    BuildTank(FishElementXml("Guppy"), true);
    EXPECT_FALSE(FirstFish()->MakeWish());
    EXPECT_EQ(asked, hints->asked);
}

TEST_F(FishWishTest, AnAnswerOfNoKindShowsTheIconAloneAndVanishesSafely) {
    LogCapture log;
    BuildSwimmer();
    hints->answer = "gold_wish";
    FishControl& fish = *FirstFish();
    EXPECT_TRUE(fish.MakeWish());
    EXPECT_TRUE(log.Contains("Assertion failed: false")) << log.Text();
    EXPECT_EQ(std::vector<Texture*>{Named("gold_wish")}, CloudTextures(fish));
    for (int i = 0; i < 20; ++i) fish.Draw();
    // The icon vanishes first in line, without the larger clouds' delay.
    EXPECT_NEAR(4.3f, SecondsUntilTheBubbleGoes(fish, 20.0f), 0.05f);
}

TEST_F(FishWishTest, ABubbleStaysFourSecondsOrTenWithTheTutorialAndIsGoneHalfASecondLater) {
    const struct {
        bool isTutorial;
        float gone;
    } cases[] = {{false, 4.5f}, {true, 10.5f}};
    for (const auto& c : cases) {
        if (c.isTutorial) PermanentStorage::SetLocalBool("Want tutorial", true);
        BuildSwimmer();
        hints->answer = "fish gold_wish";
        FishControl& fish = *FirstFish();
        ASSERT_TRUE(fish.MakeWish());
        PermanentStorage::SetLocalBool("FishWishVisible", true);
        EXPECT_NEAR(c.gone, SecondsUntilTheBubbleGoes(fish, 20.0f), 0.05f) << c.isTutorial;
        EXPECT_FALSE(PermanentStorage::GetLocalBool("FishWishVisible"));
        container = nullptr;
        tank = nullptr;
    }
}

TEST_F(FishWishTest, TheTankLetsTheFishWishAndSellingItClearsTheMark) {
    Random::Seed(12);
    BuildSwimmer();
    hints->answer = "fish gold_wish";
    Run(299, 0.02f);
    EXPECT_FALSE(PermanentStorage::GetLocalBool("FishWishVisible"));
    Run(2, 0.02f);  // NEXT_WISH_TIME + 1 s
    EXPECT_TRUE(PermanentStorage::GetLocalBool("FishWishVisible"));
    EXPECT_TRUE(FirstFish()->GetWishes() != NULL);
    Send("sub Guppy");
    EXPECT_TRUE(FirstFish()->GetWishes() == NULL);
    EXPECT_FALSE(PermanentStorage::GetLocalBool("FishWishVisible"));
}

// The quads of the textures drawn, by the device's world coordinates.
TEST_F(FishWishTest, TheFishIsDrawnMirroredAtItsDepthUnderFogByHeightWithItsShadow) {
    BuildTank(FishElementXml("Guppy", {}, FishStateXml(At(400, 200, 140), At(700, 220, 140), At(100, 190, 140))), true);
    FishControl& fish = *FirstFish();
    RenderDevice& device = Render::device;
    const Color fog = device.GetFogColor();
    const std::size_t matrices = device.GetMatrixStackSize();
    recording->draws.clear();
    fish.Draw();
    ASSERT_EQ(2u, recording->draws.size());
    const render_layer::RecordedDraw& picture = recording->draws[0];
    // Depth 0.7: scale 0.85, drawn 100 above the tank's floor at (0, 100).
    const float s = 0.85f;
    // The restored height follows the leg's easing.
    const float height = fish.GetPosition().y;
    const float y = 100.0f + fish.Project(height, 0.7f);
    float left = 1e9f, right = -1e9f, bottom = 1e9f, top = -1e9f, uRight = 0.0f;
    for (const auto& v : picture.world) {
        left = std::min(left, v.x);
        bottom = std::min(bottom, v.y);
        top = std::max(top, v.y);
        if (v.x > right) {
            right = v.x;
            uRight = v.u;
        }
    }
    EXPECT_NEAR(400.0f - 32.0f * s, left, 1e-2f);
    EXPECT_NEAR(400.0f + 32.0f * s, right, 1e-2f);
    EXPECT_NEAR(y, bottom, 1e-2f);
    EXPECT_NEAR(y + 32.0f * s, top, 1e-2f);
    // Mirrored: the picture's left edge (u 0, its opaque half) lies on the right.
    EXPECT_EQ(0.0f, uRight);
    EXPECT_EQ((DWORD)TRUE, picture.renderStates[D3DRS_FOGENABLE]);
    // About half way up the tank: about half way from the scene's fog to the surface colour.
    const Color tint = math::lerp(fog, Color(127, 200, 200, 255), height / 400.0f);
    EXPECT_EQ(D3DCOLOR_ARGB(tint.alpha, tint.red, tint.green, tint.blue), picture.renderStates[D3DRS_FOGCOLOR]);
    EXPECT_NEAR(0.5f, height / 400.0f, 0.05f);
    // f = 0.09, d = 0.072 along the view axis of -1000..1000.
    EXPECT_NEAR(0.072f * 1999.8f - 999.9f, picture.world[0].z, 1e-2f);
    // The shadow on the floor line of its depth, faded by the height above the floor.
    const render_layer::RecordedDraw& shadow = recording->draws[1];
    float shadowLeft = 1e9f, shadowBottom = 1e9f;
    for (const auto& v : shadow.world) {
        shadowLeft = std::min(shadowLeft, v.x);
        shadowBottom = std::min(shadowBottom, v.y);
    }
    EXPECT_NEAR(400.0f - 4.0f * s, shadowLeft, 1e-2f);
    EXPECT_NEAR(100.0f + 60.0f, shadowBottom, 1e-2f);
    EXPECT_EQ(0u, shadow.world[0].color >> 24);  // 200 above the floor: gone
    EXPECT_EQ(fog, device.GetFogColor());
    EXPECT_EQ((DWORD)FALSE, recording->RenderStateValue(D3DRS_FOGENABLE));
    EXPECT_EQ(matrices, device.GetMatrixStackSize());
}

TEST_F(FishWishTest, EveryStateDrawsAndLeavesTheDeviceAsItFoundIt) {
    Random::Seed(6);
    hints->answer = "fish gold_wish";
    BuildTank(FishElementXml("Guppy") + FishElementXml("Neon", {{"school", "1.0"}}) +
                  FishElementXml("Horse", {{"hippocampus", "true"}}) +
                  FishElementXml("Turner", {}, FishStateXml(At(400, 200, 140), At(100, 220, 160), At(400, 190, 140),
                                                            0.2f, FishStates::TURN)),
              false, "buyHintServer=\"Hints\"");
    RenderDevice& device = Render::device;
    const Color fog = device.GetFogColor();
    const std::size_t matrices = device.GetMatrixStackSize();
    const std::size_t alphas = device.GetAlphaStackSize();
    device.SetBlendMode(0);
    LogCapture log;
    for (int i = 0; i < 600; ++i) {
        tank->Update(0.02f);
        if (i == 100) FirstFish()->MakeWish();
        if (i == 400) Send("sub Neon");
        recording->draws.clear();
        tank->Draw();
        ASSERT_FALSE(recording->draws.empty());
        ASSERT_EQ(matrices, device.GetMatrixStackSize()) << i;
        ASSERT_EQ(alphas, device.GetAlphaStackSize()) << i;
        ASSERT_EQ(fog, device.GetFogColor()) << i;
        ASSERT_EQ((DWORD)FALSE, recording->RenderStateValue(D3DRS_FOGENABLE)) << i;
        ASSERT_EQ((DWORD)D3DBLEND_INVSRCALPHA, recording->RenderStateValue(D3DRS_DESTBLEND)) << i;
    }
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

}  // namespace
