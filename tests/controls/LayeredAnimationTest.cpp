// Layered animations: the scene from "mults.xml", the quads of its pictures, the control with its
// script, player and the freeing of its scene.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <unistd.h>

#include "controls/CommonDefinitionClasses.h"
#include "content/ControllerManager.h"
#include "controls/LayeredAnimation.h"
#include "content/LayeredAnimationScript.h"
#include "content/ParticleLibrary.h"
#include "content/ResourceManager.h"
#include "controls/ControlFactory.h"
#include "shell/OldTexture.h"
#include "shell/RenderDevice.h"
#include "shell/ScriptApi.h"
#include "shell/ScriptMap.h"
#include "tests/content/ContentTestSupport.h"
#include "tests/core/CheckReports.h"
#include "tests/support/TestSupport.h"

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}

namespace {

using content_test::Parse;
using testing_support::LogCapture;

// A picture of the given size in a texture of the next powers of two, not on the device.
LayerSet::TextureFound FakePicture(int width, int height) {
    auto* texture = new RectangleTexture();
    texture->_imageWidth = width;
    texture->_imageHeight = height;
    int tw = 1;
    while (tw < width) tw <<= 1;
    int th = 1;
    while (th < height) th <<= 1;
    texture->_textureWidth = tw;
    texture->_textureHeight = th;
    return LayerSet::TextureFound{texture, true};
}

LayerSet::TextureFound FishPicture(const std::string&) { return FakePicture(100, 50); }

ObjectSmartPointer<LayerSet> LoadScene(const std::string& text) {
    ObjectSmartPointer<XmlElement> xml = Parse(text);
    ObjectSmartPointer<LayerSet> set(new LayerSet(xml, &FishPicture));
    return set;
}

// Counts its updates and draws.
class CountingObject : public LayerObject {
public:
    void Draw() override { ++draws; }
    void Update(float dt) override { time += dt; }
    int draws = 0;
    float time = 0.0f;
};

TEST(LayerSetTest, ReadsLayersAndObjectsInFileOrder) {
    LogCapture capture;
    ObjectSmartPointer<LayerSet> set = LoadScene(R"(
<LayerSet name="Sea">
  <Layer name="back">
    <Texture name="rock" texture="rock.png"/>
    <Sprite name="odd"/>
    <Texture name="fish" texture="a.png"/>
    <Texture name="fish" texture="b.png"/>
  </Layer>
  <Layer name="front"/>
</LayerSet>)");
    EXPECT_TRUE(check_reports::Reported(capture, "false"));  // the unknown object, skipped
    EXPECT_EQ(1, capture.ErrorCount()) << capture.Text();
    EXPECT_EQ("Sea", set->_name);
    ASSERT_EQ(2u, set->_layers.size());
    AnimLayer* back = set->getLayer("back");
    ASSERT_EQ(set->_layers[0].Get(), back);
    EXPECT_EQ(set->_layers[1].Get(), set->getLayer("front"));
    ASSERT_EQ(3u, back->_objects.size());
    EXPECT_EQ(back->_objects[1].Get(), back->getObject("fish"));  // the first of the two
    // The picture's lower-left corner lies at the layer's origin.
    EXPECT_FLOAT_EQ(50.0f, back->_objects[0]->_x);
    EXPECT_FLOAT_EQ(25.0f, back->_objects[0]->_y);
    EXPECT_TRUE(back->_isVisible);
    EXPECT_FLOAT_EQ(1.0f, back->_scale);
}

class LayeredDrawingTest : public content_test::ContentTest {
protected:
    // The one quad drawn since the last call, in world coordinates.
    std::vector<render_layer::Vertex> LastQuad() {
        EXPECT_FALSE(recording->draws.empty());
        if (recording->draws.empty()) return {};
        const render_layer::RecordedDraw& draw = recording->draws.back();
        EXPECT_EQ(D3DPT_TRIANGLESTRIP, draw.type);
        EXPECT_EQ(2u, draw.primitiveCount);
        EXPECT_EQ(Render::VERTEX_FVF, draw.fvf);
        return draw.world;
    }

    static void ExpectCorner(const render_layer::Vertex& v, float x, float y, float u, float w) {
        EXPECT_NEAR(x, v.x, 1e-3f);
        EXPECT_NEAR(y, v.y, 1e-3f);
        EXPECT_FLOAT_EQ(u, v.u);
        EXPECT_FLOAT_EQ(w, v.v);
    }
};

TEST_F(LayeredDrawingTest, MirroredPictureKeepsItsPlaceAndTurnsItsTextureAround) {
    ObjectSmartPointer<LayerSet> set =
        LoadScene(R"(<LayerSet name="S"><Layer name="L"><Texture name="fish" texture="f"/></Layer></LayerSet>)");
    AnimLayer* layer = set->getLayer("L");
    layer->_x = 10.0f;
    layer->_y = 20.0f;
    layer->_scale = 2.0f;
    LayerObject* fish = layer->getObject("fish");

    set->Draw();
    std::vector<render_layer::Vertex> quad = LastQuad();
    ASSERT_EQ(4u, quad.size());
    // The 100 x 50 picture in its 128 x 64 texture, lower-left at the layer's origin, scaled 2.
    ExpectCorner(quad[0], 10.0f, 20.0f, 0.0f, 0.0f);
    ExpectCorner(quad[1], 266.0f, 20.0f, 1.0f, 0.0f);
    ExpectCorner(quad[2], 10.0f, 148.0f, 0.0f, 1.0f);
    ExpectCorner(quad[3], 266.0f, 148.0f, 1.0f, 1.0f);

    fish->Do("WrapH");
    fish->Do("WrapH");  // no further change
    set->Draw();
    quad = LastQuad();
    ASSERT_EQ(4u, quad.size());
    // u = 0 at the right edge of the picture's place, the picture's texels still over 10..210.
    ExpectCorner(quad[0], 210.0f, 20.0f, 0.0f, 0.0f);
    ExpectCorner(quad[1], -46.0f, 20.0f, 1.0f, 0.0f);
    ExpectCorner(quad[2], 210.0f, 148.0f, 0.0f, 1.0f);
    ExpectCorner(quad[3], -46.0f, 148.0f, 1.0f, 1.0f);

    fish->Do("WrapV");
    set->Draw();
    quad = LastQuad();
    ASSERT_EQ(4u, quad.size());
    ExpectCorner(quad[0], 210.0f, 120.0f, 0.0f, 0.0f);
    ExpectCorner(quad[3], -46.0f, -8.0f, 1.0f, 1.0f);
}

TEST_F(LayeredDrawingTest, RotationTurnsAroundTheOffsetCentreInTheCurrentColour) {
    ObjectSmartPointer<LayerSet> set =
        LoadScene(R"(<LayerSet name="S"><Layer name="L"><Texture name="fish" texture="f"/></Layer></LayerSet>)");
    LayerObject* fish = set->getLayer("L")->getObject("fish");
    fish->_rotX = 10.0f;
    fish->_angle = 90.0f;
    Render::device.PushColor(Color(0x10, 0x20, 0x30));
    set->Draw();
    Render::device.PopColor();
    const std::vector<render_layer::Vertex> quad = LastQuad();
    ASSERT_EQ(4u, quad.size());
    // Turned by 90 degrees about (60, 25): the picture's centre (50, 25) goes to (60, 15).
    ExpectCorner(quad[0], 85.0f, -35.0f, 0.0f, 0.0f);
    ExpectCorner(quad[1], 85.0f, 93.0f, 1.0f, 0.0f);
    const render_layer::RecordedDraw& draw = recording->draws.back();
    EXPECT_EQ(0xFF102030u, draw.vertices[0].color);
}

TEST_F(LayeredDrawingTest, HiddenLayerIsUpdatedButNotDrawn) {
    ObjectSmartPointer<LayerSet> set = LoadScene(R"(<LayerSet name="S"><Layer name="A"/><Layer name="B"/></LayerSet>)");
    ObjectSmartPointer<CountingObject> a(new CountingObject());
    ObjectSmartPointer<CountingObject> hiddenObject(new CountingObject());
    ObjectSmartPointer<CountingObject> b(new CountingObject());
    hiddenObject->_isVisible = false;
    set->getLayer("A")->_objects.push_back(a);
    set->getLayer("A")->_objects.push_back(hiddenObject);
    set->getLayer("B")->_objects.push_back(b);
    set->getLayer("B")->_isVisible = false;
    const std::size_t matrices = Render::device.GetMatrixStackSize();
    set->UpdateObjects(0.25f);
    set->Draw();
    EXPECT_EQ(1, a->draws);
    EXPECT_EQ(0, hiddenObject->draws);
    EXPECT_EQ(0, b->draws);
    EXPECT_FLOAT_EQ(0.25f, a->time);
    EXPECT_FLOAT_EQ(0.25f, hiddenObject->time);
    EXPECT_FLOAT_EQ(0.25f, b->time);
    EXPECT_EQ(matrices, Render::device.GetMatrixStackSize());
}

TEST_F(LayeredDrawingTest, EffectRunsWhileVisibleAndRestartsAtTheObjectOnReset) {
    GetParticleLibrary().Clear();
    {
        LogCapture quiet;
        ParticleEffect& prototype = GetParticleLibrary().GetEffect("bubbles");  // reported, then filled
        ParticleSystem system;
        system.lifeInitial = 1.0f;
        system.particles.resize(4);
        prototype.systems.push_back(system);
    }
    LogCapture capture;
    ObjectSmartPointer<LayerSet> set =
        LoadScene(R"(<LayerSet name="S"><Layer name="L"><Effect name="fizz" effect="bubbles"/></Layer></LayerSet>)");
    auto* fizz = dynamic_cast<LoEffect*>(set->getLayer("L")->getObject("fizz"));
    ASSERT_NE(nullptr, fizz);
    ASSERT_EQ(1u, fizz->GetEffect().systems.size());
    set->UpdateObjects(0.5f);
    EXPECT_FLOAT_EQ(0.5f, fizz->GetEffect().time);
    fizz->_isVisible = false;
    set->UpdateObjects(0.5f);
    EXPECT_FLOAT_EQ(0.5f, fizz->GetEffect().time);  // stands still while hidden
    fizz->_isVisible = true;
    fizz->_x = 30.0f;
    fizz->_y = 40.0f;
    fizz->Do("Start");  // not a command of effects
    EXPECT_FLOAT_EQ(0.5f, fizz->GetEffect().time);
    fizz->Do("Reset");
    EXPECT_FLOAT_EQ(0.0f, fizz->GetEffect().time);
    EXPECT_FLOAT_EQ(30.0f, fizz->GetEffect().systems[0].emitterX);
    EXPECT_FLOAT_EQ(40.0f, fizz->GetEffect().systems[0].emitterY);
    fizz->_x = 70.0f;
    set->Draw();
    EXPECT_FLOAT_EQ(70.0f, fizz->GetEffect().x);
    EXPECT_EQ(0, capture.ErrorCount()) << capture.Text();
    set = nullptr;
    GetParticleLibrary().Clear();
}

// A registered 2D texture ("#" + id) stays with the resource manager; a file is the scene's own.
TEST_F(LayeredDrawingTest, SceneOwnsOnlyThePicturesItLoadedFromFiles) {
    content_test::WritePng(dir + "pic.png", 20, 10);
    LoadList("<Resources><Textures2D><texture2D id='shared' path='pic.png'/></Textures2D></Resources>");
    RectangleTexture* shared = ResourceManager::GetRectangleTexture("#shared");
    ASSERT_NE(nullptr, shared);
    LogCapture capture;
    {
        ObjectSmartPointer<LayerSet> set(new LayerSet(
            Parse(R"(<LayerSet name="S"><Layer name="L"><Texture name="a" texture="#shared"/>)"
                  R"(<Texture name="b" texture="pic.png"/></Layer></LayerSet>)"),
            &LayeredAnimation::FindTexture));
        auto* a = dynamic_cast<LoTexture*>(set->getLayer("L")->getObject("a"));
        auto* b = dynamic_cast<LoTexture*>(set->getLayer("L")->getObject("b"));
        ASSERT_TRUE(a != nullptr && b != nullptr);
        EXPECT_EQ(shared, a->GetTexture());
        EXPECT_NE(shared, b->GetTexture());
        EXPECT_EQ(20, b->GetTexture()->_imageWidth);
        EXPECT_EQ(1, shared->_linearFilter);
    }
    // The registered one is still there (the manager frees it when the test ends).
    EXPECT_EQ(shared, ResourceManager::GetRectangleTexture("#shared"));
    EXPECT_EQ(20, shared->_imageWidth);
    EXPECT_EQ(0, capture.ErrorCount()) << capture.Text();
}

// The script state of the game with the layered-animation classes. Other tests of this program
// may have opened it before these classes were connected: they are registered then.
void OpenScriptState() {
    RegisterControlFrameworkClasses();
    RegisterCommonDefinitionClasses();
    if (ScriptMap::state == nullptr) {
        ScriptMap::Open();
        RegisterScriptApi();
    }
    lua_State* L = ScriptMap::state;
    lua_getglobal(L, "LayerSet");
    const bool isRegistered = !lua_isnil(L, -1);
    lua_pop(L, 1);
    if (!isRegistered) {
        RegisterLayeredAnimationScriptApi(L);
    }
}

std::string Eval(const std::string& expression) {
    lua_State* L = ScriptMap::state;
    const std::string code = "return tostring(" + expression + ")";
    if (luaL_loadstring(L, code.c_str()) != LUA_OK || lua_pcall(L, 0, 1, 0) != LUA_OK) {
        std::string error = lua_tostring(L, -1);
        lua_pop(L, 1);
        return "error: " + error;
    }
    std::string result = lua_tostring(L, -1);
    lua_pop(L, 1);
    return result;
}

void RunLuaText(const std::string& code) {
    lua_State* L = ScriptMap::state;
    if (luaL_loadstring(L, code.c_str()) != LUA_OK || lua_pcall(L, 0, 0, 0) != LUA_OK) {
        ADD_FAILURE() << lua_tostring(L, -1);
        lua_pop(L, 1);
    }
}

const char* const MULTS = R"(<Scenes>
  <LayerSet name="Pond">
    <Layer name="water">
      <Texture name="fish" texture="fish.png"/>
      <Texture name="twin" texture="fish.png"/>
      <Texture name="twin" texture="small.png"/>
    </Layer>
  </LayerSet>
</Scenes>)";

const char* const MULT_LUA = R"(
resets = 0; inits = 0; steps = 0
function AnimationReset() resets = resets + 1 end
function AnimationInit()
  inits = inits + 1
  Pond.water.fish.x = 10
  tableTwinX = Pond.water.twin.x
  firstTwinX = Pond.water.layer:getObject("twin").x
end
function AnimationDo(dt)
  steps = steps + 1
  local fish = Pond.water.fish
  fish.x = fish.x + 100 * dt
  if fish.x > 60 and not turned then
    fish:Do("WrapH")
    turned = true
  end
  Pond.water.layer.y = 5
end
)";

class LayeredAnimationControlTest : public content_test::ContentTest {
protected:
    void SetUp() override {
        content_test::ContentTest::SetUp();
        OpenScriptState();
        content_test::WritePng(dir + "fish.png", 100, 50);
        content_test::WritePng(dir + "small.png", 40, 20);
        testing_support::WriteFile(dir + "mults.xml", MULTS);
        testing_support::WriteFile(dir + "mult.lua", MULT_LUA);
    }

    ObjectSmartPointer<Control> MakeControl() {
        ObjectSmartPointer<XmlElement> xml = Parse(R"(<LayeredAnimation><position x="100" y="50"/></LayeredAnimation>)");
        ObjectSmartPointer<Control> control = ControlFactory::CreateControl(ObjectWeakPointer<Control>(), xml);
        xml->CheckVisited();
        return control;
    }

    Core::ControllerManager& manager = Core::GetControllerManager();
};

TEST_F(LayeredAnimationControlTest, ScriptMovesTheSceneAndTheControlFreesItWhenItGoes) {
    LogCapture capture;
    ObjectSmartPointer<Control> control = MakeControl();
    ASSERT_TRUE(control.Cast<LayeredAnimation>() != NULL);
    LayeredAnimation& animation = *control.Cast<LayeredAnimation>();
    EXPECT_EQ("1", Eval("resets"));
    EXPECT_EQ("1", Eval("inits"));
    EXPECT_EQ("0", Eval("steps"));
    // The table holds the last object of a name, getObject the first.
    EXPECT_EQ("20", Eval("tableTwinX"));
    EXPECT_EQ("50", Eval("firstTwinX"));

    const std::size_t running = manager.GetRunning().size();
    manager.MergeNewControllers();  // one step with 0
    ASSERT_EQ(running + 1, manager.GetRunning().size());
    EXPECT_EQ("1", Eval("steps"));
    manager.Update(0.25f);
    manager.Update(0.25f);
    EXPECT_EQ("3", Eval("steps"));
    AnimLayer* water = animation.GetLayerSet()->getLayer("water");
    auto* fish = dynamic_cast<LoTexture*>(water->getObject("fish"));
    ASSERT_NE(nullptr, fish);
    EXPECT_FLOAT_EQ(60.0f, fish->_x);
    EXPECT_FALSE(fish->IsWrappedH());
    manager.Update(0.125f);
    EXPECT_FLOAT_EQ(72.5f, fish->_x);
    EXPECT_TRUE(fish->IsWrappedH());
    EXPECT_FLOAT_EQ(5.0f, water->_y);

    // Drawn inside the 300 x 250 box at the control's position.
    fish->_x = 280.0f;  // the picture reaches past the box's right edge
    recording->draws.clear();
    Render::device.Enter2DMode();
    control->Draw();
    Render::device.Leave2DMode();
    EXPECT_EQ(0, Render::device.GetClipPlaneCount());
    ASSERT_EQ(3u, recording->draws.size());
    const render_layer::RecordedDraw& drawn = recording->draws[0];
    ASSERT_FALSE(drawn.clipped.empty());
    float right = 0.0f;
    for (const auto& polygon : drawn.clipped) {
        for (const auto& v : polygon) right = std::max(right, v.x);
    }
    EXPECT_NEAR(400.0f, right, 1.0f);
    EXPECT_EQ(0, capture.ErrorCount()) << capture.Text();

    // Gone: the script's table is cleared, the player ends and is deleted on the next update.
    control = nullptr;
    EXPECT_EQ("nil", Eval("Pond"));
    manager.Update(0.1f);
    EXPECT_EQ(running, manager.GetRunning().size());
    EXPECT_EQ("4", Eval("steps"));
    EXPECT_EQ(0, capture.ErrorCount()) << capture.Text();
}

TEST_F(LayeredAnimationControlTest, TwoAnimationsEachMoveTheirOwnScene) {
    LogCapture capture;
    ObjectSmartPointer<Control> first = MakeControl();
    ObjectSmartPointer<Control> second = MakeControl();
    manager.MergeNewControllers();
    manager.Update(0.25f);
    LayerObject* firstFish = first.Cast<LayeredAnimation>()->GetLayerSet()->getLayer("water")->getObject("fish");
    LayerObject* secondFish = second.Cast<LayeredAnimation>()->GetLayerSet()->getLayer("water")->getObject("fish");
    // Each "AnimationInit" set its own fish; each player then moved only its own.
    EXPECT_FLOAT_EQ(35.0f, firstFish->_x);
    EXPECT_FLOAT_EQ(35.0f, secondFish->_x);

    // The newer one goes first; the older one keeps running on its own scene.
    second = nullptr;
    manager.Update(0.25f);
    EXPECT_FLOAT_EQ(60.0f, firstFish->_x);
    first = nullptr;
    manager.Update(0.1f);
    EXPECT_EQ(0, capture.ErrorCount()) << capture.Text();
}


TEST_F(LayeredAnimationControlTest, MissingSceneAndScriptAreReportedAndNothingMoves) {
    std::remove((dir + "mults.xml").c_str());
    std::remove((dir + "mult.lua").c_str());
    RunLuaText("AnimationReset = nil AnimationInit = nil AnimationDo = nil");
    LogCapture capture;
    ObjectSmartPointer<Control> control = MakeControl();
    ASSERT_TRUE(control.Cast<LayeredAnimation>() != NULL);
    EXPECT_GT(capture.ErrorCount(), 0);
    EXPECT_TRUE(control.Cast<LayeredAnimation>()->GetLayerSet()->_layers.empty());
    manager.MergeNewControllers();
    manager.Update(0.1f);
    recording->draws.clear();
    control->Draw();
    EXPECT_TRUE(recording->draws.empty());
    control = nullptr;
    manager.Update(0.1f);
}

// The demo content: the fish swims right, turns at the right side and swims back left; the
// pictures it loaded go with the control.
TEST_F(LayeredAnimationControlTest, DemoFishSwimsAcrossAndTurns) {
    ASSERT_EQ(0, chdir(MARIVEL_SOURCE_DIR "/data"));
    LogCapture capture;
    ObjectSmartPointer<Control> control = MakeControl();
    ASSERT_TRUE(control.Cast<LayeredAnimation>() != NULL);
    AnimLayer* fish = control.Cast<LayeredAnimation>()->GetLayerSet()->getLayer("fish");
    auto* right = dynamic_cast<LoTexture*>(fish->getObject("right"));
    auto* left = dynamic_cast<LoTexture*>(fish->getObject("left"));
    ASSERT_TRUE(right != nullptr && left != nullptr);
    EXPECT_EQ(100, right->GetTexture()->_imageWidth);
    EXPECT_TRUE(left->IsWrappedH());
    EXPECT_FALSE(right->IsWrappedH());

    manager.MergeNewControllers();
    Render::device.Enter2DMode();
    const float dt = 1.0f / 30.0f;
    auto run = [&](int frames) {
        for (int i = 0; i < frames; ++i) {
            manager.Update(dt);
            control->Draw();
        }
    };
    run(60);  // 2 s: swimming right
    EXPECT_TRUE(right->_isVisible);
    EXPECT_FALSE(left->_isVisible);
    EXPECT_NEAR(180.0f, right->_x, 1.0f);
    run(60);  // turned at the right side after 3 s and swam back for 1 s
    EXPECT_FALSE(right->_isVisible);
    EXPECT_TRUE(left->_isVisible);
    EXPECT_NEAR(180.0f, left->_x, 3.0f);
    Render::device.Leave2DMode();

    control = nullptr;
    for (int i = 0; i < 10; ++i) manager.Update(dt);
    EXPECT_EQ(0, capture.ErrorCount()) << capture.Text();
}

}  // namespace
