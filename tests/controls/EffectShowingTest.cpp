// Effect showing: the effect waits paused until "start", "restart" starts it anew, the sound plays
// on both, and it is drawn at the control's place.

#include "content/EffectObserver.h"
#include "content/ParticleLibrary.h"
#include "controls/ReminderControl.h"
#include "tests/controls/FlowTestSupport.h"

using testing_support::LogCapture;

namespace flow_test {
namespace {

// One still particle (a square of half side 2) that never ends.
class EffectShowingTest : public FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        Core::GetEffectObserver().Clear();
        GetParticleLibrary().Clear();
        ParticleSystem system;
        system.particles.resize(1);
        system.params[PARAM_SIZE].initial = 2.0f;
        system.params[PARAM_ALPHA].initial = 255.0f;
        ParticleEffect effect;
        effect.systems.push_back(system);
        const std::string path = dir + "e.xml";
        testing_support::WriteFile(path, "<E><Effect name='dot'/></E>");
        GetParticleLibrary().LoadEffects(path);
        GetParticleLibrary().GetEffect("dot") = effect;
    }
    void TearDown() override {
        container = nullptr;
        Core::GetEffectObserver().Clear();
        GetParticleLibrary().Clear();
        FlowTest::TearDown();
    }
    ObjectWeakPointer<EffectShowingControl> Shower() {
        return container->GetRoot().Cast<FixedChildrenListControl>()->GetChildren()[0].Cast<EffectShowingControl>();
    }
};

TEST_F(EffectShowingTest, StartRestartSoundAndPlace) {
    LogCapture log;
    Build(controls_test::ListXml("<EffectShowingControl soundId=\"panel_moving\">" + Pos(20, 30) +
                                     Receiver("shower") + "<effect name=\"dot\"/></EffectShowingControl>",
                                 100, 50));
    EXPECT_EQ(Shower()->GetEffectCount(), 1u);
    EXPECT_FALSE(Shower()->IsStarted());
    SendMessage("shower", "start");
    EXPECT_TRUE(Shower()->IsStarted());
    EXPECT_EQ(SamplesPlayed(), 1u);
    SendMessage("shower", "restart");
    SendMessage("shower", "restart");
    EXPECT_EQ(SamplesPlayed(), 2u);
    Core::GetEffectObserver().Update(0.01f);
    EXPECT_EQ(Core::GetEffectObserver().GetEffectCount(), 1u);

    recording->draws.clear();
    container->Draw();
    bool found = false;
    for (const auto& draw : recording->draws) {
        for (std::size_t i = 0; i + 5 < draw.world.size(); i += 6) {
            const float x = (draw.world[i].x + draw.world[i + 5].x) / 2;
            const float y = (draw.world[i].y + draw.world[i + 5].y) / 2;
            found = found || (std::abs(x - 120.0f) < 0.01f && std::abs(y - 80.0f) < 0.01f);
        }
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();

    SendMessage("shower", "start");
    EXPECT_TRUE(log.Contains("!_isStarted"));
    container = nullptr;
    EXPECT_EQ(Core::GetEffectObserver().GetEffectCount(), 0u);
}

}  // namespace
}  // namespace flow_test
