// The use counting of the animation interface.
#include <gtest/gtest.h>

#include "content/Animation.h"
#include "shell/Texture.h"
#include "tests/core/CheckReports.h"
#include "tests/support/TestSupport.h"

namespace {

class CountingAnimation : public Animation {
public:
    void StartUsing() override { ++starts; }
    void StopUsing() override { ++stops; }
    UsingPointer<Texture> GetFrame(int) override { return UsingPointer<Texture>(); }
    int size() override { return 1; }
    int starts = 0;
    int stops = 0;
};


TEST(AnimationInterfaceTest, FramesAreUsedExactlyWhileHeld) {
    testing_support::LogCapture capture;
    ObjectSmartPointer<CountingAnimation> animation(new CountingAnimation());
    {
        UsingPointer<CountingAnimation> first(animation);
        EXPECT_EQ(1, animation->starts);
        {
            UsingPointer<CountingAnimation> second(first);
            EXPECT_EQ(2, animation->GetReferenceCount());
            EXPECT_EQ(1, animation->starts);
        }
        EXPECT_EQ(0, animation->stops);
    }
    EXPECT_EQ(1, animation->stops);
    EXPECT_EQ(0, animation->GetReferenceCount());
    // A second round starts again.
    { UsingPointer<CountingAnimation> again(animation); }
    EXPECT_EQ(2, animation->starts);
    EXPECT_EQ(2, animation->stops);
    EXPECT_EQ(0, capture.ErrorCount());
}

TEST(AnimationInterfaceTest, MisuseIsReported) {
    testing_support::LogCapture capture;
    ObjectSmartPointer<CountingAnimation> animation(new CountingAnimation());
    animation->RemoveReference();
    EXPECT_TRUE(check_reports::Reported(capture, "_referenceCount > 0"));
    EXPECT_EQ(0, animation->GetReferenceCount());
    EXPECT_EQ(0, animation->stops);
    animation->AddReference();
    animation = nullptr;  // destroyed in use
    EXPECT_TRUE(check_reports::Reported(capture, "_referenceCount == 0"));
}

}  // namespace
