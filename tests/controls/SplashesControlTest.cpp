// The splash: pictures of "..\qzdata" in reverse listing order, the timing of each, skipping, and
// the end of the splash loop.

#include <sys/stat.h>
#include <unistd.h>

#include "controls/SplashesControl.h"
#include "tests/controls/FlowTestSupport.h"

using testing_support::LogCapture;

namespace flow_test {
namespace {

class SplashesControlTest : public FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        ASSERT_EQ(0, ::mkdir((dir + "run").c_str(), 0755));
        ASSERT_EQ(0, ::chdir((dir + "run").c_str()));
        GetFlowApplicationHooks().endSplashes = [this] { ++_ends; };
    }
    // a.jpg is 16 wide, b.jpg 8 and c.jpg 4.
    void Pictures() {
        ASSERT_EQ(0, ::mkdir((dir + "qzdata").c_str(), 0755));
        for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
            testing_support::WriteFile(dir + "qzdata/" + name,
                                       testing_support::ReadFile(testing_support::FixturePath(std::string("controls/fixtures/splash/") + name)));
        }
        testing_support::WriteFile(dir + "qzdata/notes.txt", "not a picture");
    }
    ObjectWeakPointer<SplashesControl> Splash() { return Root<SplashesControl>(); }
    std::vector<pictures_test::Quad> Pictures(const std::vector<pictures_test::Quad>& quads) {
        std::vector<pictures_test::Quad> pictures;
        for (const auto& q : quads) {
            if (q.width < 800) pictures.push_back(q);
        }
        return pictures;
    }
    void Start() { Build("<SplashesControl>" + Pos(0, 0) + "</SplashesControl>"); }

    int _ends = 0;
};

TEST_F(SplashesControlTest, PicturesShowInReverseListingOrderFortyFramesEach) {
    LogCapture log;
    Pictures();
    Start();
    ASSERT_EQ(Splash()->GetPictureCount(), 3u);
    const auto first = Pictures(DrawOnly());
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].width, 4);
    int frames = 0;
    std::vector<int> widths;
    while (_ends == 0 && frames < 200) {
        const int current = Splash()->GetCurrent();
        container->Update(0.1f);
        ++frames;
        if (Splash()->GetCurrent() != current || frames == 1) {
            const auto quads = Pictures(DrawOnly());
            if (!quads.empty()) widths.push_back(quads[0].width);
        }
    }
    EXPECT_EQ(frames, 120);
    EXPECT_EQ(widths, (std::vector<int>{4, 8, 16}));
    // The screen stays black on the last picture.
    container->Update(0.1f);
    EXPECT_EQ(Splash()->GetCurrent(), 2);
    DrawOnly();
    EXPECT_EQ(VeilAlphas(), (std::vector<int>{255}));
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(SplashesControlTest, AClickSkipsToTheFadeOutFromTheDarknessReached) {
    Pictures();
    Start();
    container->Update(0.25f);
    container->MouseDown(10, 10);
    EXPECT_EQ(Splash()->GetState(), SplashesControl::STATE_FADING_OUT);
    EXPECT_FLOAT_EQ(Splash()->GetTime(), 0.75f);
    container->MouseUp(10, 10);
    DrawOnly();
    EXPECT_EQ(VeilAlphas(), (std::vector<int>{191}));

    // While fading out a click changes nothing.
    container->MouseDown(10, 10);
    container->MouseUp(10, 10);
    EXPECT_FLOAT_EQ(Splash()->GetTime(), 0.75f);
    container->Update(0.25f);
    EXPECT_EQ(Splash()->GetCurrent(), 1);
    EXPECT_EQ(Splash()->GetState(), SplashesControl::STATE_FADING_IN);
    container->Update(1.0f);
    container->MouseDown(10, 10);
    container->MouseUp(10, 10);
    EXPECT_EQ(Splash()->GetState(), SplashesControl::STATE_FADING_OUT);
    EXPECT_FLOAT_EQ(Splash()->GetTime(), 0.0f);
}

TEST_F(SplashesControlTest, WithoutTheFolderTheFirstUpdateEndsTheSplash) {
    LogCapture log;
    Start();
    EXPECT_TRUE(DrawOnly().empty());
    container->Update(0.01f);
    EXPECT_EQ(_ends, 1);
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

}  // namespace
}  // namespace flow_test
