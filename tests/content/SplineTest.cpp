#include <gtest/gtest.h>

#include <cstdlib>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
#include <lualib.h>
}
#include <luabind/luabind.hpp>

#include "content/Spline.h"
#include "content/SplineScript.h"
#include "core/XmlElement.h"
#include "tests/core/CheckReports.h"
#include "tests/support/TestSupport.h"

namespace {

SplinePath<float> Path(std::initializer_list<float> values, bool cyclic) {
    SplinePath<float> path;
    for (float v : values) path.addKey(v);
    path.CalculateGradient(cyclic);
    return path;
}

TEST(SplinePathTest, GradientsAndValues) {
    SplinePath<float> path = Path({0, 10, 20}, false);
    ASSERT_EQ(3u, path.keys.size());
    for (const auto& key : path.keys) EXPECT_FLOAT_EQ(10.0f, key.gradient);
    EXPECT_FLOAT_EQ(5.0f, path.getGlobalFrame(0.25f));
    EXPECT_FLOAT_EQ(20.0f, path.getGlobalFrame(1.0f));
    EXPECT_FLOAT_EQ(0.0f, path.getGlobalFrame(0.0f));
    EXPECT_EQ(2, path.getSectors());
    EXPECT_FLOAT_EQ(10.0f, path.getGradient(1, 0.5f));

    SplinePath<float> cyclic;
    for (float v : {0.0f, 10.0f, 20.0f}) cyclic.addKey(v);
    EXPECT_EQ(3, cyclic.CalculateGradient(true));
    ASSERT_EQ(4u, cyclic.keys.size());
    EXPECT_FLOAT_EQ(0.0f, cyclic.keys[3].value);
    EXPECT_FLOAT_EQ(-5.0f, cyclic.keys[0].gradient);
    EXPECT_FLOAT_EQ(-5.0f, cyclic.keys[3].gradient);
    EXPECT_FLOAT_EQ(10.0f, cyclic.keys[1].gradient);
    EXPECT_FLOAT_EQ(-5.0f, cyclic.keys[2].gradient);

    cyclic.Clear();
    EXPECT_TRUE(cyclic.keys.empty());
}

TEST(SplinePathTest, HermiteSegmentTable) {
    // Keys 0, 4 and 2 with gradients 4, 1, -2: values and slopes of sector 0 and 1.
    SplinePath<float> path = Path({0, 4, 2}, false);
    struct Case { int sector; float t; float value; float slope; };
    const Case cases[] = {
        {0, 0.0f, 0.0f, 4.0f}, {0, 0.5f, 2.375f, 4.75f}, {0, 1.0f, 4.0f, 1.0f},
        {1, 0.25f, 3.921875f, -1.4375f}, {1, 1.0f, 2.0f, -2.0f},
    };
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(c.value, path.getFrame(c.sector, c.t)) << c.sector << " " << c.t;
        EXPECT_FLOAT_EQ(c.slope, path.getGradient(c.sector, c.t)) << c.sector << " " << c.t;
    }
    EXPECT_FLOAT_EQ(path.getFrame(1, 0.5f), path.getGlobalFrame(0.75f));
}

TEST(SplinePathTest, FewKeysGiveZeroOrAConstant) {
    SplinePath<float> empty;
    EXPECT_EQ(-1, empty.CalculateGradient(false));
    EXPECT_FLOAT_EQ(0.0f, empty.getGlobalFrame(0.5f));
    EXPECT_FLOAT_EQ(0.0f, empty.getFrame(0, 0.5f));
    SplinePath<float> one = Path({7}, false);
    EXPECT_FLOAT_EQ(7.0f, one.getGlobalFrame(0.0f));
    EXPECT_FLOAT_EQ(7.0f, one.getGlobalFrame(0.6f));
    EXPECT_FLOAT_EQ(7.0f, one.getFrame(0, 0.3f));
    EXPECT_FLOAT_EQ(0.0f, one.getGradient(0, 0.3f));
}

TEST(SplinePathTest, PointPathEvaluatesEachAxis) {
    SplinePath<FPoint> path;
    path.addKey(FPoint(0.0f, 0.0f));
    path.addKey(FPoint(10.0f, 100.0f));
    path.addKey(FPoint(20.0f, 0.0f));
    path.CalculateGradient(false);
    const FPoint half = path.getGlobalFrame(0.25f);
    EXPECT_FLOAT_EQ(5.0f, half._x);
    EXPECT_FLOAT_EQ(62.5f, half._y);
    EXPECT_EQ(FPoint(20.0f, 0.0f), path.getGlobalFrame(1.0f));
}

TEST(TimedSplineTest, KeysSortedAndEvaluated) {
    TimedSpline spline;
    spline.addKey(1.0f, 10.0f);
    spline.addKey(0.0f, 0.0f);
    spline.addKey(0.5f, 4.0f);
    EXPECT_EQ(2, spline.CalculateGradient(false));
    ASSERT_EQ(3u, spline.keys.size());
    EXPECT_FLOAT_EQ(0.0f, spline.keys[0].time);
    EXPECT_FLOAT_EQ(1.0f, spline.keys[2].time);
    // End tangents: half the value difference times the duration; inner: the share of the spans.
    EXPECT_FLOAT_EQ(1.0f, spline.keys[0].outTangent);
    EXPECT_FLOAT_EQ(1.5f, spline.keys[2].inTangent);
    EXPECT_FLOAT_EQ(5.0f, spline.keys[1].inTangent);
    EXPECT_FLOAT_EQ(5.0f, spline.keys[1].outTangent);

    struct Case { float t; float value; };
    const Case cases[] = {{0.0f, 0.0f}, {0.5f, 4.0f}, {1.0f, 10.0f}, {0.25f, 1.5f}, {0.75f, 7.4375f}};
    for (const Case& c : cases) EXPECT_FLOAT_EQ(c.value, spline.getValueAt(c.t)) << c.t;
    // Outside the keys the first segment is extended.
    EXPECT_FLOAT_EQ(spline.getValueAt(0.0f), 0.0f);
    EXPECT_NE(spline.getValueAt(1.5f), 10.0f);
    EXPECT_FLOAT_EQ(1.0f, spline.getGradientAt(0.0f));
}

TEST(TimedSplineTest, FewKeysAndLoading) {
    TimedSpline spline;
    EXPECT_FLOAT_EQ(0.0f, spline.getValueAt(0.3f));
    spline.addKey(0.2f, 3.0f);
    spline.CalculateGradient(false);
    EXPECT_FLOAT_EQ(3.0f, spline.getValueAt(0.9f));
    EXPECT_FLOAT_EQ(0.0f, spline.getGradientAt(0.9f));

    ObjectSmartPointer<XmlElement> root(new XmlElement("curve"));
    for (auto kv : {std::make_pair("1.0", "2.0"), std::make_pair("0.0", "1.0")}) {
        ObjectSmartPointer<XmlElement> key(new XmlElement("key"));
        key->SetStringAttribute("time", kv.first);
        key->SetStringAttribute("value", kv.second);
        root->AppendChild(key);
    }
    spline.Load(root);
    ASSERT_EQ(2u, spline.keys.size());
    EXPECT_FLOAT_EQ(1.0f, spline.getValueAt(0.0f));
    EXPECT_FLOAT_EQ(2.0f, spline.getValueAt(1.0f));
}

TEST(EaseTest, Table) {
    struct Case { float t, a, b, expected; };
    const Case cases[] = {
        {0.5f, 0.2f, 0.2f, 0.5f}, {0.1f, 0.2f, 0.2f, 0.03125f}, {1.0f, 0.2f, 0.2f, 1.0f},
        {1.0f, 0.0f, 0.0f, 1.0f}, {1.0f, 0.5f, 0.5f, 1.0f}, {0.0f, 0.3f, 0.1f, 0.0f},
        {0.95f, 0.2f, 0.2f, 0.9921875f}, {0.5f, 0.0f, 0.0f, 0.5f},
    };
    for (const Case& c : cases) EXPECT_FLOAT_EQ(c.expected, ease(c.t, c.a, c.b)) << c.t << " " << c.a << " " << c.b;
    // Continuous at the joints.
    EXPECT_NEAR(ease(0.2f - 1e-5f, 0.2f, 0.3f), ease(0.2f, 0.2f, 0.3f), 1e-4f);
    EXPECT_NEAR(ease(0.7f + 1e-5f, 0.2f, 0.3f), ease(0.7f, 0.2f, 0.3f), 1e-4f);

    testing_support::LogCapture capture;
    ease(0.5f, 0.7f, 0.7f);
    EXPECT_TRUE(check_reports::Reported(capture, "a + b <= 1.0f"));
    ease(1.5f, 0.2f, 0.2f);
    EXPECT_TRUE(check_reports::Reported(capture, "0.0f <= t && t <= 1.0f"));
}

// Lua keeps a userdata's payload behind its header; the binding wants it 16-byte aligned.
std::size_t shift = 0;
void* AlignedAlloc(void*, void* block, std::size_t, std::size_t size) {
    char* base = block ? static_cast<char*>(block) - shift : nullptr;
    if (size == 0) {
        std::free(base);
        return nullptr;
    }
    char* result = static_cast<char*>(std::realloc(base, size + shift));
    return result ? result + shift : nullptr;
}

lua_State* NewAlignedState() {
    shift = 0;
    lua_State* probe = lua_newstate(&AlignedAlloc, nullptr);
    const auto payload = reinterpret_cast<std::uintptr_t>(lua_newuserdata(probe, 1));
    lua_close(probe);
    shift = (16 - payload % 16) % 16;
    return lua_newstate(&AlignedAlloc, nullptr);
}

TEST(SplineScriptTest, SameValuesThroughAScript) {
    lua_State* L = NewAlignedState();
    luaL_openlibs(L);
    luabind::open(L);
    RegisterSplineScriptClass(L);
    RegisterEaseScriptFunction(L);
    const char* script =
        "s = Spline()\n"
        "s:addKey(0) s:addKey(10) s:addKey(20)\n"
        "s:CalculateGradient(false)\n"
        "r1 = s:getGlobalFrame(0.25)\n"
        "r2 = s:getGlobalFrame(1)\n"
        "r3 = s:getSectors()\n"
        "r4 = s:getFrame(1, 0.5)\n"
        "r5 = s:getGradient(0, 0.5)\n"
        "c = Spline() c:addKey(0) c:addKey(10) c:addKey(20) c:CalculateGradient(true)\n"
        "r6 = c:getSectors()\n"
        "s:Clear() r7 = s:getSectors()\n"
        "e1 = ease(0.1, 0.2, 0.2) e2 = ease(0.5, 0.2, 0.2) e3 = ease(1, 0.3, 0.4)\n";
    ASSERT_EQ(0, luaL_dostring(L, script)) << lua_tostring(L, -1);
    auto number = [L](const char* name) {
        lua_getglobal(L, name);
        const double value = lua_tonumber(L, -1);
        lua_pop(L, 1);
        return static_cast<float>(value);
    };
    EXPECT_FLOAT_EQ(5.0f, number("r1"));
    EXPECT_FLOAT_EQ(20.0f, number("r2"));
    EXPECT_FLOAT_EQ(2.0f, number("r3"));
    EXPECT_FLOAT_EQ(15.0f, number("r4"));
    EXPECT_FLOAT_EQ(10.0f, number("r5"));
    EXPECT_FLOAT_EQ(3.0f, number("r6"));
    EXPECT_FLOAT_EQ(-1.0f, number("r7"));
    EXPECT_FLOAT_EQ(0.03125f, number("e1"));
    EXPECT_FLOAT_EQ(0.5f, number("e2"));
    EXPECT_FLOAT_EQ(1.0f, number("e3"));
    lua_close(L);
}

}  // namespace
