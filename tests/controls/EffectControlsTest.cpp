#include <gtest/gtest.h>

#include <string>

#include "controls/EffectControls.h"
#include "content/ParticleLibrary.h"
#include "controls/ControlFactory.h"
#include "core/Random.h"
#include "core/XmlRead.h"
#include "tests/shell/RecordingDeviceFixture.h"
#include "tests/support/TestSupport.h"

namespace {

// An effect of one still particle (a square of half side 2 at the effect's place) that never ends.
class EffectControlsTest : public RecordingDeviceTest {
protected:
    void SetUp() override {
        RecordingDeviceTest::SetUp();
        RegisterControlFrameworkClasses();
        RegisterEffectControls();
        Core::GetEffectObserver().Clear();
        GetParticleLibrary().Clear();
        ParticleSystem system;
        system.particles.resize(1);
        system.params[PARAM_SIZE].initial = 2.0f;
        system.params[PARAM_ALPHA].initial = 255.0f;
        ParticleEffect effect;
        effect.systems.push_back(system);
        dot = effect;
        const std::string path = testing_support::MakeTempDir("effects") + "e.xml";
        testing_support::WriteFile(path, "<E><Effect name='dot'/></E>");
        GetParticleLibrary().LoadEffects(path);
        GetParticleLibrary().GetEffect("dot") = dot;
    }
    void TearDown() override {
        Core::GetEffectObserver().Clear();
        GetParticleLibrary().Clear();
        RecordingDeviceTest::TearDown();
    }

    ObjectSmartPointer<Control> Build(const std::string& text) {
        document = ObjectSmartPointer<XmlDocument>(new XmlDocumentRead(text.data(), text.data() + text.size()));
        return ControlFactory::CreateControl(ObjectWeakPointer<Control>(), document->GetRoot());
    }

    // The centres of the squares drawn, in world coordinates.
    std::vector<std::pair<float, float>> DrawnCentres(Control& control) {
        recording->draws.clear();
        Core::GetEffectObserver().Update(0.01f);
        control.Draw();
        std::vector<std::pair<float, float>> centres;
        for (const auto& draw : recording->draws) {
            for (std::size_t i = 0; i + 5 < draw.world.size(); i += 6) {
                centres.emplace_back((draw.world[i].x + draw.world[i + 5].x) / 2, (draw.world[i].y + draw.world[i + 5].y) / 2);
            }
        }
        return centres;
    }

    ParticleEffect dot;
    ObjectSmartPointer<XmlDocument> document;
};

TEST_F(EffectControlsTest, ShowEffectAtTheParentOriginPlusItsOwnPosition) {
    ObjectSmartPointer<Control> tree = Build(
        "<FixedChildrenListControl><position x='100' y='50'/><children>"
        "<ShowEffectControl effect='dot'><position x='20' y='30'/></ShowEffectControl>"
        "</children></FixedChildrenListControl>");
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(1u, Core::GetEffectObserver().GetEffectCount());
    const auto centres = DrawnCentres(*tree);
    ASSERT_EQ(1u, centres.size());
    EXPECT_NEAR(120.0f, centres[0].first, 0.01f);
    EXPECT_NEAR(80.0f, centres[0].second, 0.01f);
    tree = nullptr;  // the control's end ends its effect at once
    EXPECT_EQ(0u, Core::GetEffectObserver().GetEffectCount());
}

TEST_F(EffectControlsTest, FireworksFireInTheirRectangleAfterTheirPauses) {
    ObjectSmartPointer<Control> tree = Build(
        "<FireWorkControl effect='dot' width='1' heigth='1' minPause='1.0' maxPause='2.0'>"
        "<position x='40' y='60'/><sound soundId='pop'/></FireWorkControl>");
    ASSERT_NE(tree, nullptr);
    auto* fireworks = dynamic_cast<FireWorkControl*>(tree.Get());
    ASSERT_NE(fireworks, nullptr);
    Random::Seed(3);
    fireworks->Update(0.01f);  // the first goes off at the first update
    EXPECT_EQ(1u, fireworks->GetEffectOwner().GetEffectCount());
    const auto centres = DrawnCentres(*tree);
    ASSERT_EQ(1u, centres.size());
    EXPECT_NEAR(40.0f, centres[0].first, 0.01f);  // width 1, height 1: exactly at its own place
    EXPECT_NEAR(60.0f, centres[0].second, 0.01f);
    for (int i = 0; i < 50; ++i) {
        const float pause = fireworks->GetTimer();
        EXPECT_GE(pause, 1.0f);
        EXPECT_LT(pause, 2.0f);
        const std::size_t before = fireworks->GetEffectOwner().GetEffectCount();
        fireworks->Update(pause - 0.001f);
        EXPECT_EQ(before, fireworks->GetEffectOwner().GetEffectCount());
        fireworks->Update(0.002f);
        EXPECT_EQ(before + 1, fireworks->GetEffectOwner().GetEffectCount());
    }
    // A step longer than any pause still fires once.
    const std::size_t before = fireworks->GetEffectOwner().GetEffectCount();
    fireworks->Update(10.0f);
    EXPECT_EQ(before + 1, fireworks->GetEffectOwner().GetEffectCount());
}

TEST_F(EffectControlsTest, AMissingEffectIsReportedOnceAndNothingShows) {
    testing_support::LogCapture capture;
    ObjectSmartPointer<Control> tree = Build(
        "<FireWorkControl effect='nothing' width='10' heigth='10' minPause='0.5' maxPause='0.6'>"
        "<position x='0' y='0'/><sound soundId='null'/></FireWorkControl>");
    for (int i = 0; i < 5; ++i) tree->Update(1.0f);
    EXPECT_EQ(1, capture.ErrorCount());
    EXPECT_TRUE(capture.Contains("Effect nothing not found!"));
    EXPECT_TRUE(DrawnCentres(*tree).empty());
}

}  // namespace
