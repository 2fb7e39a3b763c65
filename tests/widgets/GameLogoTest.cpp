// The game logo: the stagger of the bubbles over the appearance and its clamp, the switch to the
// shown state, the letter's place, the sways, and bubbles without a base picture.
#include <gtest/gtest.h>

#include "tests/core/CheckReports.h"
#include "tests/widgets/AnimatedWidgetTestSupport.h"
#include "widgets/GameLogoControl.h"

namespace animated_widgets_test {
namespace {

using testing_support::LogCapture;

std::string Bubble(int x, const std::string& extra = "bottom='ball'") {
    return "<bubble " + extra + " radius='3.0' x='" + std::to_string(x) + "' y='300'/>";
}

class GameLogoTest : public AnimatedWidgetTest {
protected:
    void SetUp() override {
        AnimatedWidgetTest::SetUp();
        WritePixels("ball.png", 40, 40, [](int, int) { return 0xFF2080FFu; });
        WritePixels("glass.png", 40, 40, [](int, int) { return 0x80FFFFFFu; });
        WritePixels("letter.png", 10, 10, [](int, int) { return 0xFFFFFFFFu; });
        LoadTextures({"ball", "glass", "letter"});
    }
    void BuildLogo(const std::string& bubbles, const std::string& options = "delta='0.5' showTime='2.0'") {
        BuildOne("<GameLogoControl>" + Pos(100, 0) + "<options " + options + "/>" + bubbles + "</GameLogoControl>");
    }
    ObjectWeakPointer<GameLogoControl> Logo() { return Only<GameLogoControl>(); }
    // The alpha of every bubble (four mesh cells each, only a bottom picture).
    std::vector<int> BubbleAlphas() {
        DrawOnly();
        std::vector<int> alphas;
        for (std::size_t d = 0; d + 3 < recording->draws.size(); d += 4) alphas.push_back(Alpha(d));
        return alphas;
    }
    void ExpectAlphas(const std::vector<int>& expected) {
        const std::vector<int> alphas = BubbleAlphas();
        ASSERT_EQ(expected.size(), alphas.size());
        for (std::size_t i = 0; i < alphas.size(); ++i) EXPECT_NEAR(expected[i], alphas[i], 1) << i;
    }
};

TEST_F(GameLogoTest, BubblesAppearOneAfterAnotherAndAreClampedAtBothEnds) {
    BuildLogo(Bubble(0) + Bubble(50) + Bubble(100));
    // t(p) = (1 + 3 x 0.5) p - 0.5 i
    EXPECT_NEAR(-1.0f, Logo()->BubbleTime(2, 0.0f), 1e-6f);
    EXPECT_NEAR(1.0f, Logo()->BubbleTime(2, 0.8f), 1e-6f);
    EXPECT_NEAR(0.0f, Logo()->BubbleTime(1, 0.2f), 1e-6f);
    ExpectAlphas({0, 0, 0});
    Run(10, 0.1f);  // p = 0.5: t = 1.25, 0.75, 0.25
    const std::vector<int> half = BubbleAlphas();
    ASSERT_EQ(3u, half.size());
    EXPECT_NEAR(255, half[0], 1);
    EXPECT_NEAR(191, half[1], 3);
    EXPECT_NEAR(64, half[2], 3);
    // A full bubble stands at full size on its centre; one at t = 0.75 is smaller.
    const widgets_test::Box full = widgets_test::BoxOf(recording->draws, 0, 4);
    const widgets_test::Box growing = widgets_test::BoxOf(recording->draws, 4, 4);
    // The left column sways by up to the radius, 3.
    EXPECT_NEAR(40.0f, full.right - full.left, 3.5f);
    EXPECT_NEAR(0.875f * 40.0f, growing.right - growing.left, 3.5f);
    EXPECT_NEAR(100.0f, CentreX(full), 4.0f);
    EXPECT_EQ(0, Logo()->GetShowState());
    Run(10, 0.1f);
    ExpectAlphas({255, 255, 255});
    container->Update(0.1f);
    EXPECT_EQ(1, Logo()->GetShowState());
    ExpectAlphas({255, 255, 255});
}

TEST_F(GameLogoTest, WithoutStaggerAllBubblesRiseTogether) {
    BuildLogo(Bubble(0) + Bubble(50), "delta='0.0' showTime='2.0'");
    Run(10, 0.1f);
    const std::vector<int> alphas = BubbleAlphas();
    ASSERT_EQ(2u, alphas.size());
    EXPECT_NEAR(128, alphas[0], 3);
    EXPECT_NEAR(alphas[0], alphas[1], 1);
}

TEST_F(GameLogoTest, TheLetterIsCentredOnTheBubbleMovedByItsOffset) {
    BuildLogo(Bubble(0, "bottom='ball' letter='letter' letterX='4' letterY='-2'") +
              "<other up='glass' radius='2.0' x='60' y='300'/>");
    ASSERT_EQ(2u, Logo()->GetBubbles().size());
    const GameLogoControl::Bubble& first = Logo()->GetBubbles()[0];
    EXPECT_EQ(20, first._halfWidth);
    EXPECT_EQ(19, first._letterPos.x);
    EXPECT_EQ(13, first._letterPos.y);
    EXPECT_EQ(Point(20, 20), Logo()->GetBubbles()[1]._letterPos);
}

TEST_F(GameLogoTest, LongStepsDoNotMoveTheSwaysAndShortOnesOnlyTheInnerVertices) {
    BuildLogo(Bubble(0));
    TextureMesh* mesh = Logo()->GetBubbles()[0]._mesh.Get();
    container->Update(0.05f);
    const FPoint before = mesh->GetVertexOffset(0, 0);
    container->Update(0.5f);
    EXPECT_EQ(before, mesh->GetVertexOffset(0, 0));
    Run(5, 0.05f);
    EXPECT_NE(mesh->GetVertexPosition(0, 0), mesh->GetVertexOffset(0, 0));
    EXPECT_EQ(mesh->GetVertexPosition(2, 1), mesh->GetVertexOffset(2, 1));
    EXPECT_EQ(mesh->GetVertexPosition(1, 2), mesh->GetVertexOffset(1, 2));
}

TEST_F(GameLogoTest, ABubbleWithoutABasePictureIsReportedAndLeftOut) {
    LogCapture log;
    BuildLogo(Bubble(0) + Bubble(50, "letter='letter' letterX='0' letterY='0'"));
    EXPECT_TRUE(check_reports::Reported(log, "base != NULL"));
    EXPECT_EQ(1u, Logo()->GetBubbles().size());
    Run(30, 0.1f);
    ExpectAlphas({255});

    BuildLogo("");
    Run(30, 0.1f);
    EXPECT_TRUE(DrawOnly().empty());
}

}  // namespace
}  // namespace animated_widgets_test
