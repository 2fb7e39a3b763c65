#include <gtest/gtest.h>

#include <string>

#include "content/ControllerManager.h"
#include "content/ControllerScript.h"
#include "content/ParticleLibrary.h"
#include "tests/shell/ScriptTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

// The script host with the connected splines, effects and controllers, as the game registers them.
class AnimationScriptTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ConnectAnimationScriptServices();
        script_test::State();
    }
};

TEST_F(AnimationScriptTest, SplineAndEaseGiveTheTableValues) {
    ASSERT_EQ("", script_test::RunLua("s = Spline() s:addKey(0) s:addKey(10) s:addKey(20) s:CalculateGradient(false)"));
    EXPECT_EQ("5", script_test::Eval("s:getGlobalFrame(0.25)"));
    EXPECT_EQ("20", script_test::Eval("s:getGlobalFrame(1)"));
    EXPECT_EQ("2", script_test::Eval("s:getSectors()"));
    EXPECT_EQ("15", script_test::Eval("s:getFrame(1, 0.5)"));
    EXPECT_EQ("10", script_test::Eval("s:getGradient(0, 0.5)"));
    EXPECT_EQ("0", script_test::Eval("select('#', s:CalculateGradient(true))"));  // the count is not handed over
    EXPECT_EQ("3", script_test::Eval("s:getSectors()"));
    ASSERT_EQ("", script_test::RunLua("s:Clear()"));
    EXPECT_EQ("-1", script_test::Eval("s:getSectors()"));
    // Single precision, compared as such.
    EXPECT_EQ("true", script_test::Eval("math.abs(ease(0.1, 0.2, 0.2) - 0.03125) < 1e-6"));
    EXPECT_EQ("true", script_test::Eval("math.abs(ease(0.5, 0.2, 0.2) - 0.5) < 1e-6"));
    EXPECT_EQ("1", script_test::Eval("ease(1, 0.3, 0.4)"));
}

TEST_F(AnimationScriptTest, KernelAndLoadersReachTheProgram) {
    EXPECT_EQ("function", script_test::Eval("type(kernel.addController)"));
    const std::string dir = testing_support::MakeTempDir("script-particles");
    testing_support::WriteFile(dir + "p.xml", "<P><ParticleSystem name='scripted' numOfParticles='3'/></P>");
    testing_support::WriteFile(dir + "e.xml", "<E><Effect name='scriptedEffect'><ParticleSystem name='scripted'/></Effect></E>");
    GetParticleLibrary().Clear();
    ASSERT_EQ("", script_test::RunLua("LoadParticles('" + dir + "p.xml') LoadEffects('" + dir + "e.xml')"));
    ASSERT_TRUE(GetParticleLibrary().HasEffect("scriptedEffect"));
    EXPECT_EQ(3, GetParticleLibrary().GetEffect("scriptedEffect").systems.at(0).GetParticleCount());
    GetParticleLibrary().Clear();
}

}  // namespace
