#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/EffectCollection.h"

namespace {

using Texts = std::vector<std::string>;

// Writes its draws and updates to a shared trace; finished once its time is used up.
class Probe : public EffectBase {
public:
    Probe(const std::string& name, float life, Texts& trace, int& alive)
        : _name(name), _life(life), _trace(trace), _alive(alive) {
        ++_alive;
    }
    ~Probe() override { --_alive; }

    void Draw() override { _trace.push_back("draw " + _name); }
    void Update(float dt) override {
        _trace.push_back("update " + _name);
        _life -= dt;
    }
    bool IsFinished() override { return _life <= 0.0f; }

private:
    std::string _name;
    float _life = 0.0f;
    Texts& _trace;
    int& _alive;
};

class EffectCollectionTest : public testing::Test {
protected:
    ObjectSmartPointer<EffectBase> Make(const std::string& name, float life) {
        return ObjectSmartPointer<EffectBase>(new Probe(name, life, trace, alive));
    }
    Texts trace;
    int alive = 0;
};

TEST_F(EffectCollectionTest, DrawingALayerDrawsOnlyItsEffectsInTheOrderAdded) {
    EffectCollection effects;
    effects.Add(1, Make("a", 1.0f));
    effects.Add(-1, Make("b", 1.0f));
    effects.Add(2, Make("c", 1.0f));
    effects.Add(1, Make("d", 1.0f));
    effects.Draw(1);
    EXPECT_EQ((Texts{"draw a", "draw d"}), trace);
    trace.clear();
    effects.Draw(-1);
    effects.Draw(2);
    effects.Draw(0);
    EXPECT_EQ((Texts{"draw b", "draw c"}), trace);
}

TEST_F(EffectCollectionTest, FinishedEffectsGoBeforeTheirUpdateAndTheOthersAdvanceInOrder) {
    EffectCollection effects;
    effects.Add(1, Make("first", 1.0f));
    effects.Add(1, Make("done", 0.0f));
    effects.Add(2, Make("third", 0.05f));
    effects.Update(0.1f);
    EXPECT_EQ((Texts{"update first", "update third"}), trace);
    EXPECT_EQ(2, alive);
    // "third" finished inside its update: it is still drawn once, then dropped unupdated.
    trace.clear();
    effects.Draw(2);
    effects.Update(0.1f);
    EXPECT_EQ((Texts{"draw third", "update first"}), trace);
    EXPECT_EQ(1, alive);
    EXPECT_EQ(1u, effects.GetCount());
}

TEST_F(EffectCollectionTest, TheOwnerGoingDestroysEveryEffectEvenThoseThatNeverFinish) {
    {
        EffectCollection effects;
        effects.Add(1, Make("forever", 1e30f));
        effects.Add(-1, Make("short", 0.1f));
        effects.Update(0.01f);
        EXPECT_EQ(2, alive);
    }
    EXPECT_EQ(0, alive);
    EffectCollection cleared;
    cleared.Add(1, Make("x", 1.0f));
    cleared.Clear();
    EXPECT_EQ(0, alive);
    EXPECT_TRUE(cleared.IsEmpty());
}

}  // namespace
