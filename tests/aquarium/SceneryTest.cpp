// Scenery controls: the decorations' state cycle and the frames it picks, the helmet's eye
// frames, crab and mill frames, caustic cross-fades, bubble columns and their emitters, the
// arrow's bob, the stars, the help panel offered once, and both cup displays.
#include <gtest/gtest.h>

#include <cmath>

#include "aquarium/SceneryCups.h"
#include "aquarium/SceneryDecorations.h"
#include "aquarium/SceneryEffects.h"
#include "aquarium/SceneryPointers.h"
#include "aquarium/TankRecords.h"
#include "content/EffectObserver.h"
#include "content/ParticleLibrary.h"
#include "content/TemplateLib.h"
#include "core/PermanentStorage.h"
#include "core/Random.h"
#include "core/XmlElement.h"
#include "tests/aquarium/AquariumTestSupport.h"
#include "tests/core/CheckReports.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace aquarium_test;
using pictures_test::Quad;
using testing_support::LogCapture;

// The root control of the container, as the class under test.
template <class T>
ObjectWeakPointer<T> Find(const ObjectSmartPointer<ControlContainer>& container) {
    const ObjectWeakPointer<Control> root = container->GetRoot();
    if (root == NULL || !root.InstanceOf<T>()) return ObjectWeakPointer<T>();
    return root.Cast<T>();
}

std::vector<int> Widths(const std::vector<Quad>& quads) {
    std::vector<int> widths;
    for (const Quad& q : quads) widths.push_back(q.width);
    return widths;
}

class SceneryTest : public AquariumTest {
protected:
    void SetUp() override {
        AquariumTest::SetUp();
        // Frame k of an animation is 10 * base + k wide, so a drawn width names its frame.
        std::string animations;
        for (const auto& a : std::vector<std::pair<std::string, int>>{{"open", 5}, {"shine", 3}, {"eyes", 10}, {"turn", 4}}) {
            const int base = a.first == "open" ? 10 : a.first == "shine" ? 20 : a.first == "eyes" ? 30 : 50;
            for (int k = 0; k < a.second; ++k) {
                WritePicture(a.first + std::to_string(k) + ".png", base + k, 8, base + k);
            }
            animations += "<TextureSetAnimation id=\"" + a.first + "\" start=\"0\" step=\"1\" count=\"" +
                          std::to_string(a.second) + "\"><texture upload=\"refcount\" storage=\"memory-keeping\" path=\"" +
                          a.first + "[frameId].png\"/></TextureSetAnimation>";
        }
        WritePicture("pic.png", 16, 16, 16);
        WritePicture("half.png", 16, 16, 8);
        WritePicture("wide.png", 40, 10, 40);
        LoadResources("<Textures upload=\"refcount\" storage=\"memory-keeping\"><texture id=\"pic\" path=\"pic.png\"/><texture id=\"half\" path=\"half.png\"/>"
                      "<texture id=\"wide\" path=\"wide.png\"/><texture id=\"hint_star_enabled\" path=\"pic.png\"/>"
                      "<texture id=\"hint_star_disabled\" path=\"wide.png\"/>"
                      "<texture id=\"direct_arrow\" path=\"wide.png\"/><texture id=\"direct_arrow_shadow\" "
                      "path=\"pic.png\"/></Textures><Animations>" +
                      animations + "</Animations>");
        testing_support::WriteFile(dir + "fx.xml",
                                   "<Effects><Effect name=\"ChestBubbles\"/><Effect name=\"HelmetBubbles\"/>"
                                   "<Effect name=\"DiverBubbles\"/><Effect name=\"CockleShellBubbles\"/></Effects>");
        GetParticleLibrary().LoadEffects(dir + "fx.xml");
    }
    void TearDown() override {
        container = nullptr;
        GetParticleLibrary().Clear();
        AquariumTest::TearDown();
    }
    void BuildOne(const std::string& element) { Build(element); }
    static std::string Frames(const std::vector<std::string>& states, float time = 1.0f) {
        std::string text = "<frames>";
        for (const std::string& s : states) {
            text += "<frame state=\"" + s + "\" minTime=\"" + std::to_string(time) + "\" maxTime=\"" +
                    std::to_string(time) + "\"/>";
        }
        return text + "</frames>";
    }
};

TEST(DecorationStateCycleTest, RunsItsStatesInOrderAndLeavesEachAFrameAfterItsTime) {
    DecorationStateCycle cycle;
    EXPECT_EQ(cycle.GetStateIndex(), -1);
    EXPECT_FLOAT_EQ(cycle.GetProgress(), 1.0f);
    cycle.Update(0.25f);  // nothing to run
    cycle.AddState(0, 1.0f, 1.0f);
    cycle.AddState(1, 0.5f, 0.2f);  // the longest time is raised to the shortest
    cycle.AddState(2, 0.0f, 0.0f);
    struct Step {
        int index;
        float progress;
    } steps[] = {{0, 0.25f}, {0, 0.5f}, {0, 0.75f}, {0, 1.0f}, {1, 0.0f}, {1, 0.5f}, {1, 1.0f}, {2, 1.0f}, {0, 0.0f},
                 {0, 0.25f}};
    for (const Step& s : steps) {
        cycle.Update(0.25f);
        EXPECT_EQ(cycle.GetStateIndex(), s.index);
        EXPECT_NEAR(cycle.GetProgress(), s.progress, 2e-3f);
    }
}

TEST_F(SceneryTest, ChestOpensShinesClosesAndLetsBubblesOutOnlyWhenOpening) {
    LogCapture log;
    BuildOne("<ChestControl><position x=\"100\" y=\"50\"/><animation openAnimationId=\"open\" flareAnimationId=\"shine\"/>"
             "<flarePos x=\"5\" y=\"6\"/><bubblesPos x=\"1\" y=\"2\"/>" +
             Frames({"idle", "open", "keep_open", "flare", "close"}) + "</ChestControl>");
    // Open frames are 10..14 wide, shine frames 20..22.
    // Each state of 1 s is drawn at progress 0, 0.25, 0.5, 0.75 and 1.
    const std::vector<std::vector<int>> expected = {
        {10}, {10}, {10}, {10}, {10},                              // idle
        {10}, {11}, {12}, {13}, {14},                              // open: trunc(p * 4)
        {14}, {14}, {14}, {14}, {14},                              // keep_open
        {14, 20}, {14, 20}, {14, 21}, {14, 21}, {14, 22},          // flare: trunc(p * 2)
        {14}, {12}, {11}, {10}, {10},                              // close: p lies just past the marks
        {10},                                                      // idle again
    };
    const std::size_t before = Core::GetEffectObserver().GetEffectCount();
    std::vector<std::size_t> effects;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(Widths(DrawOnly()), expected[i]) << i;
        container->Update(0.25f);
        effects.push_back(Core::GetEffectObserver().GetEffectCount() - before);
    }
    // One start at the idle-to-open change.
    EXPECT_EQ(effects[3], 0u);
    EXPECT_EQ(effects[4], 1u);
    EXPECT_EQ(effects.back(), 1u);
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(SceneryTest, ChestBubblesComeOnlyWhenOpenFollowsIdle) {
    LogCapture log;
    // Opening after another state, or another state after idle, lets no bubbles out.
    BuildOne("<ChestControl><position x=\"100\" y=\"50\"/><animation openAnimationId=\"open\" flareAnimationId=\"shine\"/>"
             "<flarePos x=\"5\" y=\"6\"/><bubblesPos x=\"1\" y=\"2\"/>" +
             Frames({"idle", "keep_open", "open", "close", "open"}) + "</ChestControl>");
    const std::size_t before = Core::GetEffectObserver().GetEffectCount();
    for (int i = 0; i < 40; ++i) container->Update(0.25f);
    EXPECT_EQ(Core::GetEffectObserver().GetEffectCount(), before);
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(SceneryTest, ChestWithoutStatesShowsItsFirstFrameAndUnknownStatesAreRefused) {
    LogCapture log;
    BuildOne("<ChestControl><position x=\"0\" y=\"0\"/><animation openAnimationId=\"open\" flareAnimationId=\"shine\"/>"
             "<flarePos x=\"5\" y=\"6\"/><bubblesPos x=\"1\" y=\"2\"/>" + Frames({"dance"}) + "</ChestControl>");
    for (int i = 0; i < 5; ++i) EXPECT_EQ(Widths(Frame(0.5f)), std::vector<int>{10});
    EXPECT_TRUE(check_reports::Reported(log, "false"));
}

TEST_F(SceneryTest, HelmetEyeFramesSplitByTheEyeTimesAndClampWithoutThem) {
    // Ten eye frames; show 1 s, look 2 s, hide 1 s: show ends at 4, hide starts at 4.
    BuildOne("<HelmetControl><position x=\"0\" y=\"0\"/><animation openAnimationId=\"open\" eyesAnimationId=\"eyes\"/>"
             "<eyesPosition x=\"3\" y=\"4\"/><eyesMoving x=\"10\" y=\"0\"/><bubblesPos x=\"0\" y=\"0\"/>"
             "<eyeDistance x=\"20\" y=\"0\"/><helmetRingPos x=\"0\" y=\"0\"/><frames helmetRingId=\"pic\">"
             "<frame state=\"eyes_show\" minTime=\"1.0\" maxTime=\"1.0\"/><frame state=\"eyes\" minTime=\"2.0\" maxTime=\"2.0\"/>"
             "<frame state=\"eyes_hide\" minTime=\"1.0\" maxTime=\"1.0\"/></frames></HelmetControl>");
    const ObjectWeakPointer<HelmetControl> helmet = Find<HelmetControl>(container);
    ASSERT_TRUE(helmet != NULL);
    EXPECT_EQ(helmet->_eyesShowEndFrame, 4);
    EXPECT_EQ(helmet->_eyesHideStartFrame, 4);
    struct Case {
        int state;
        float p;
        int frame;
    } cases[] = {{3, 0.0f, 0}, {3, 0.5f, 2}, {3, 1.0f, 4}, {4, 0.5f, 4}, {5, 0.0f, 4}, {5, 0.5f, 6}, {5, 1.0f, 9}};
    for (const Case& c : cases) EXPECT_EQ(helmet->EyeFrame(c.state, c.p), c.frame) << c.state << " " << c.p;
    // While showing: the open helmet, both eyes (frame 0, 30 wide) and the ring on top.
    const std::vector<Quad> quads = DrawOnly();
    ASSERT_EQ(quads.size(), 4u);
    EXPECT_EQ(quads[1].width, 30);
    EXPECT_EQ(quads[2].x - quads[1].x, 20);
    container = nullptr;

    LogCapture log;
    BuildOne("<HelmetControl><position x=\"0\" y=\"0\"/><animation openAnimationId=\"open\" eyesAnimationId=\"eyes\"/>"
             "<eyesPosition x=\"3\" y=\"4\"/><eyesMoving x=\"10\" y=\"0\"/><bubblesPos x=\"0\" y=\"0\"/>"
             "<eyeDistance x=\"20\" y=\"0\"/><helmetRingPos x=\"0\" y=\"0\"/><frames helmetRingId=\"pic\">"
             "<frame state=\"eyes_show\" minTime=\"1.0\" maxTime=\"1.0\"/><frame state=\"eyes\" minTime=\"0.0\" maxTime=\"0.0\"/>"
             "</frames></HelmetControl>");
    const ObjectWeakPointer<HelmetControl> odd = Find<HelmetControl>(container);
    for (const Case& c : cases) {
        const int k = odd->EyeFrame(c.state, c.p);
        EXPECT_GE(k, 0);
        EXPECT_LE(k, 9);
    }
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(SceneryTest, DiverBubblesFollowThePathOnlyWhileMoving) {
    BuildOne("<DiverControl><position x=\"100\" y=\"200\"/><animation openAnimationId=\"open\"/><bubblesPath>"
             "<point x=\"40\" y=\"50\" time=\"1.0\"/><point x=\"0\" y=\"10\" time=\"0.0\"/></bubblesPath>" +
             Frames({"idle", "move"}) + "</DiverControl>");
    const ObjectWeakPointer<DiverControl> diver = Find<DiverControl>(container);
    ASSERT_TRUE(diver != NULL && diver->GetBubbles());
    EXPECT_FLOAT_EQ(diver->GetBubbles()->x, 100.0f);
    EXPECT_FLOAT_EQ(diver->GetBubbles()->y, 210.0f);
    for (int i = 0; i < 3; ++i) Frame(0.25f);  // idle
    EXPECT_FLOAT_EQ(diver->GetBubbles()->x, 100.0f);
    Frame(0.25f);  // idle at its end
    Frame(0.25f);  // move at 0
    Frame(1.0f);   // move at its end
    EXPECT_FLOAT_EQ(diver->GetBubbles()->x, 140.0f);
    EXPECT_FLOAT_EQ(diver->GetBubbles()->y, 250.0f);
}

TEST_F(SceneryTest, CrabRestsOnItsLastFrameAndMillLoopsItsFrames) {
    LogCapture log;
    std::vector<int> crab;
    std::vector<int> mill;
    std::vector<int> stopped;
    BuildOne("<CrabControl><position x=\"0\" y=\"0\"/><animation animationId=\"turn\" staticFonId=\"pic\" "
             "time=\"1.0\" minPause=\"2.0\" maxPause=\"2.0\" firstPlay=\"0.5\"/><animationPos x=\"0\" y=\"0\"/>"
             "</CrabControl>");
    for (int i = 0; i < 10; ++i) {
        crab.push_back(Find<CrabControl>(container)->GetFrame());
        container->Update(0.25f);
    }
    BuildOne("<MillControl><position x=\"0\" y=\"0\"/><animation animationId=\"open\" time=\"2.0\"/></MillControl>");
    for (int i = 0; i < 10; ++i) {
        mill.push_back(Find<MillControl>(container)->GetFrame());
        container->Update(0.25f);
    }
    BuildOne("<MillControl><position x=\"0\" y=\"0\"/><animation animationId=\"open\" time=\"0.0\"/></MillControl>");
    for (int i = 0; i < 10; ++i) {
        stopped.push_back(Find<MillControl>(container)->GetFrame());
        container->Update(0.25f);
    }
    // Crab: rests (3) for 0.5 s, plays 0..3 over 1 s, rests.
    EXPECT_EQ(crab, (std::vector<int>{3, 3, 0, 0, 1, 2, 3, 3, 3, 3}));
    // Mill: 5 frames over 2 s, each 0.4 s.
    EXPECT_EQ(mill, (std::vector<int>{0, 0, 1, 1, 2, 3, 3, 4, 0, 0}));
    EXPECT_EQ(stopped, std::vector<int>(10, 0));
    EXPECT_EQ(log.ErrorCount(), 1) << log.Text();
}

TEST_F(SceneryTest, CausticCrossFadesEachFrameIntoTheNext) {
    BuildOne("<CausticControl><position x=\"0\" y=\"0\"/><animation animationId=\"turn\"/>"
             "<causticBottom widthBottom=\"400\" height=\"100.0\" light=\"200\"/>"
             "<causticTop offset=\"100\" widthTop=\"300\" widthBottom=\"150\" height=\"250.0\" light=\"120\"/>"
             "</CausticControl>");
    const ObjectWeakPointer<CausticControl> caustic = Find<CausticControl>(container);
    ASSERT_TRUE(caustic != NULL);
    EXPECT_FLOAT_EQ(caustic->GetFloorMesh().GetVertexOffset(0, 0)._x, 200.0f);
    EXPECT_FLOAT_EQ(caustic->GetFloorMesh().GetVertexOffset(1, 1)._x, 800.0f);
    EXPECT_FLOAT_EQ(caustic->GetRaysMesh().GetVertexOffset(3, 1)._x, 400.0f);
    EXPECT_FLOAT_EQ(caustic->GetRaysMesh().GetVertexOffset(0, 0)._x, 175.0f);
    EXPECT_FLOAT_EQ(caustic->GetRaysMesh().GetVertexOffset(0, 0)._y, 350.0f);
    // Rays first (3 cells, two passes), then the floor (one cell, two passes).
    std::vector<Quad> quads = DrawOnly();
    ASSERT_EQ(quads.size(), 8u);
    Frame(0.1f);
    EXPECT_EQ(caustic->GetFloorFrame(), 0);
    Frame(0.1f);  // 0.2 > 0.15: the floor moves on
    EXPECT_EQ(caustic->GetFloorFrame(), 1);
    EXPECT_EQ(caustic->GetRaysFrame(), 0);
    // At the moment of the advance the floor's new frame is at full light.
    EXPECT_EQ(caustic->GetFloorMesh().GetVertexAlpha(0, 0), 0);  // the second pass drew last, t = 0
    EXPECT_EQ(caustic->GetFloorMesh().GetVertexAlpha(0, 1), 0);
}

TEST_F(SceneryTest, BubbleColumnsSitEvenlyRiseAndAreBornAfterOvershoot) {
    Random::Seed(3);
    const auto xml = [](int emitters, const std::string& speeds) {
        return "<BubblesBackGround><position x=\"100\" y=\"0\"/><description textureId=\"pic\" width=\"300\" "
               "height=\"200\" minPause=\"0.5\" maxPause=\"1.0\" " +
               speeds + " amplitude=\"0.0\" period=\"10.0\" blendMode=\"add\" emitters=\"" +
               std::to_string(emitters) +
               "\"/><scale><range min=\"1.0\" max=\"1.0\"/><range min=\"1.0\" max=\"1.0\"/></scale>"
               "</BubblesBackGround>";
    };
    struct Case {
        int emitters;
        std::vector<float> xs;
    } cases[] = {{3, {0.0f, 150.0f, 300.0f}}, {1, {150.0f}}, {0, {}}};
    for (const Case& c : cases) {
        LogCapture log;
        BuildOne(xml(c.emitters, "minSpeed=\"50.0\" maxSpeed=\"100.0\""));
        const ObjectWeakPointer<BubblesBackGround> bubbles = Find<BubblesBackGround>(container);
        ASSERT_EQ(bubbles->GetPauses().size(), c.xs.size());
        for (std::size_t i = 0; i < c.xs.size(); ++i) {
            EXPECT_FLOAT_EQ(bubbles->EmitterX(i), c.xs[i]);
            // Prefilled as if running: bubbles all the way up (a fast one may have passed the top).
            ASSERT_GE(bubbles->GetHeights()[i].size(), 2u);
        }
        std::size_t drawn = 0;
        for (const auto& column : bubbles->GetHeights()) drawn += column.size();
        const std::vector<Quad> quads = DrawOnly();
        EXPECT_EQ(quads.size(), drawn);
        for (const Quad& q : quads) {
            bool onAnEmitter = false;
            for (float x : c.xs) onAnEmitter = onAnEmitter || q.x == static_cast<int>(100 + x - 8);
            EXPECT_TRUE(onAnEmitter) << q.x;
        }
        // A long frame counts as 0.1 s; a new bubble starts above 0 by its overshoot.
        if (!c.xs.empty()) {
            const float pause = bubbles->GetPauses()[0];
            const std::vector<float> before = bubbles->GetHeights()[0];
            container->Update(5.0f);
            const std::vector<float>& after = bubbles->GetHeights()[0];
            if (pause < 0.1f) {
                ASSERT_FALSE(after.empty());
                EXPECT_GT(after.back(), 0.0f);
            }
            for (std::size_t k = 0; k < after.size() && k < before.size(); ++k) {
                EXPECT_LE(after[k] - before[k], 100.0f * 0.1f + 1e-3f);
            }
        }
        EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
        container = nullptr;
    }
    // Speeds or pauses that are not above 0 would never fill a column: refused, no bubbles.
    const std::string zeroPause = [&xml] {
        std::string text = xml(2, "minSpeed=\"50.0\" maxSpeed=\"100.0\"");
        return text.replace(text.find("minPause=\"0.5\""), 14, "minPause=\"0.0\"");
    }();
    for (const std::string& refused : {xml(2, "minSpeed=\"0.0\" maxSpeed=\"100.0\""),
                                       xml(2, "minSpeed=\"50.0\" maxSpeed=\"-1.0\""), zeroPause}) {
        LogCapture log;
        BuildOne(refused);
        EXPECT_TRUE(Find<BubblesBackGround>(container)->GetPauses().empty()) << refused;
        EXPECT_TRUE(DrawOnly().empty()) << refused;
        EXPECT_EQ(log.ErrorCount(), 1) << refused;
        container = nullptr;
    }
    // A million columns are cut to the limit, with one report.
    {
        LogCapture cut;
        BuildOne(xml(1000000, "minSpeed=\"50.0\" maxSpeed=\"100.0\""));
        EXPECT_EQ(static_cast<std::size_t>(TankLimits::MAX_BUBBLE_EMITTERS), Find<BubblesBackGround>(container)->GetPauses().size());
        EXPECT_EQ(cut.ErrorCount(), 1) << cut.Text();
        container = nullptr;
    }
    // A slow bubble in a tall column: the prefill stops at its cap.
    LogCapture log;
    BuildOne(xml(1, "minSpeed=\"0.001\" maxSpeed=\"0.001\""));
    EXPECT_EQ(Find<BubblesBackGround>(container)->GetHeights()[0].size(), BubblesBackGround::MAX_PREFILL);
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(SceneryTest, ArrowBobsBesideItsPointByItsSelector) {
    // The picture is 40 x 10; amplitude 20.
    struct Case {
        const char* selector;
        float dt;
        Quad expected;  // x, y, width, height relative to P (100, 100)
    } cases[] = {
        // Phase 0.5 at the start: scale 1.1 along, 0.9 across, 20 away.
        {"kx=\"1\" ky=\"0\"", 0.0f, {-66, -4, 44, 9, 255}},
        {"kx=\"-0.001\" ky=\"0\"", 0.0f, {22, -4, 44, 9, 255}},
        {"kx=\"-3\" ky=\"0\"", 0.0f, {22, -4, 44, 9, 255}},
        {"kx=\"0\" ky=\"1\"", 0.0f, {-18, -33, 36, 11, 255}},
        {"kx=\"0\" ky=\"-1\"", 0.0f, {-18, 22, 36, 11, 255}},
        // A half period later, phase 0: scale 0.9 along, 10 away.
        {"kx=\"1\" ky=\"0\"", 1.0f, {-45, -5, 36, 11, 255}},
    };
    for (const Case& c : cases) {
        BuildOne(std::string("<ArrowControl><position x=\"100\" y=\"100\"/><texture textureId=\"wide\"/>"
                             "<parameters amplitude=\"20.0\" period=\"2.0\" ") +
                 c.selector + "/></ArrowControl>");
        const std::vector<Quad> quads = Frame(c.dt);
        ASSERT_EQ(quads.size(), 1u) << c.selector;
        EXPECT_EQ(quads[0].x - 100, c.expected.x) << c.selector << " " << c.dt;
        EXPECT_EQ(quads[0].y - 100, c.expected.y) << c.selector << " " << c.dt;
        EXPECT_EQ(quads[0].width, c.expected.width) << c.selector << " " << c.dt;
        EXPECT_EQ(quads[0].height, c.expected.height) << c.selector << " " << c.dt;
        container = nullptr;
    }
}

TEST_F(SceneryTest, DirectArrowPulsesOnceASecondWithItsShadowBeside) {
    ObjectSmartPointer<XmlElement> xml(new XmlElement("directArrow"));
    xml->SetIntAttribute("x", 200);
    xml->SetIntAttribute("y", 300);
    xml->SetFloatAttribute("angle", 0.0f);
    DirectArrow arrow(xml);
    struct Case {
        float dt;
        Quad shadow, body;
    } cases[] = {
        // Phase 0: scale 0.9 along, 1.1 across; origins at -h - 15 and -h / 2 of each picture.
        {0.0f, {177, 286, 14, 18, 255}, {178, 295, 36, 11, 255}},
        // Phase 0.5: scale 1.1, 30 away.
        {0.5f, {200 + 5 - 51, 288, 18, 14, 255}, {200 - 44, 296, 44, 9, 255}},
    };
    for (const Case& c : cases) {
        arrow.Update(c.dt);
        recording->draws.clear();
        arrow.Draw();
        const std::vector<Quad> quads = RecordedQuads();
        ASSERT_EQ(quads.size(), 2u);
        EXPECT_EQ(quads[0].x, c.shadow.x) << c.dt;
        EXPECT_EQ(quads[0].y, c.shadow.y) << c.dt;
        EXPECT_EQ(quads[0].width, c.shadow.width) << c.dt;
        EXPECT_EQ(quads[1].x, c.body.x) << c.dt;
        EXPECT_EQ(quads[1].y, c.body.y) << c.dt;
        EXPECT_EQ(quads[1].width, c.body.width) << c.dt;
    }
}

TEST_F(SceneryTest, FiveStarsLightTheFirstFewCentredOnTheirPoint) {
    BuildOne("<FiveStarsControl enabledStarsAmount=\"3\"><position x=\"400\" y=\"100\"/></FiveStarsControl>");
    const std::vector<Quad> quads = DrawOnly();
    ASSERT_EQ(quads.size(), 5u);
    // offsetX = (40 + 100) / 2 = 70.
    const std::vector<int> widths = {16, 16, 16, 40, 40};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(quads[i].x, 330 + 25 * i);
        EXPECT_EQ(quads[i].width, widths[i]);
    }
}

TEST_F(SceneryTest, HelpIsOfferedOncePerPlayerAndStaysItsMinimumTime) {
    Receiver& mover = AddReceiver("Help mover");
    (void)mover;
    BuildOne("<MouseHelpControl time=\"3.0\"><position x=\"0\" y=\"0\"/><messageReceiver name=\"Drag help\"/>"
             "<mover name=\"Help mover\"/></MouseHelpControl>");
    const std::vector<std::string> in = {"Help mover < set arrival message null", "Help mover < report arrival to null",
                                         "Help mover < move to in"};
    const std::vector<std::string> out = {"Help mover < set arrival message null",
                                          "Help mover < report arrival to null", "Help mover < move to out"};
    SendMessage("Drag help", "show help");
    EXPECT_EQ(TraceOf("Help mover"), in);
    Trace().clear();
    container->Update(1.0f);
    SendMessage("Drag help", "hide help");
    container->Update(1.0f);
    EXPECT_TRUE(TraceOf("Help mover").empty());
    container->Update(1.0f);
    EXPECT_EQ(TraceOf("Help mover"), out);
    Trace().clear();
    SendMessage("Drag help", "show help");
    EXPECT_TRUE(TraceOf("Help mover").empty());
    EXPECT_TRUE(PermanentStorage::GetLocalBool("Drag help shown"));

    PermanentStorage::SetActivePlayer("Bob");
    PermanentStorage::SetLocalBool("Want tutorial", true);
    SendMessage("Drag help", "show help");
    EXPECT_TRUE(TraceOf("Help mover").empty());
    PermanentStorage::SetLocalBool("Want tutorial", false);
    SendMessage("Drag help", "show help");
    EXPECT_EQ(TraceOf("Help mover"), in);
}

TEST_F(SceneryTest, CupRevealCrossFadesAfterItsDelayOnceTheFlagIsFalse) {
    PermanentStorage::SetLocalString("Current Tank", "2");
    PermanentStorage::SetLocalBool("2 Gold", true);
    BuildOne("<CupRenderControl variable=\"Gold\"><position x=\"0\" y=\"0\"/><messageReceiver name=\"Cup\"/>"
             "<first x=\"0\" y=\"0\" textureId=\"pic\"/><second x=\"10\" y=\"0\" textureId=\"wide\"/></CupRenderControl>");
    const ObjectWeakPointer<CupRenderControl> cup = Find<CupRenderControl>(container);
    EXPECT_EQ(cup->GetFlagName(), "2 Gold");
    EXPECT_EQ(Widths(DrawOnly()), std::vector<int>{16});  // the flag is true: the first picture
    SendMessage("Cup", "EffectShow");
    PermanentStorage::SetLocalBool("2 Gold", false);
    struct Step {
        float dt;
        std::vector<int> widths;
        std::vector<int> alphas;
    } steps[] = {
        {1.0f, {16}, {255}},                 // the delay: the first picture stays
        {0.875f, {16, 40, 40}, {127, 127, 127}},  // p = 0.25: cross-fade and glow
        {0.375f, {40, 40}, {255, 255}},       // p = 0.5: the glow peaks
        {1.0f, {40}, {255}},                  // done: the second picture
    };
    for (const Step& s : steps) {
        const std::vector<Quad> quads = Frame(s.dt);
        EXPECT_EQ(Widths(quads), s.widths) << s.dt;
        for (std::size_t i = 0; i < quads.size() && i < s.alphas.size(); ++i) {
            EXPECT_NEAR(quads[i].alpha, s.alphas[i], 2) << s.dt;
        }
    }
}

TEST_F(SceneryTest, CupTakesPressesOnlyOnTheSecondPicturesOpaquePixels) {
    BuildOne("<CupRenderControl variable=\"Gold\"><position x=\"100\" y=\"100\"/><messageReceiver name=\"Cup\"/>"
             "<first x=\"0\" y=\"0\" textureId=\"wide\"/><second x=\"10\" y=\"0\" textureId=\"half\"/></CupRenderControl>");
    const ObjectWeakPointer<CupRenderControl> cup = Find<CupRenderControl>(container);
    struct Case {
        int x;
        bool hit;
    } cases[] = {{105, false}, {112, true}, {117, true}, {119, false}, {130, false}};
    for (const Case& c : cases) {
        Move(c.x, 105);
        EXPECT_EQ(cup->IsHit(), c.hit) << c.x;
    }
}

TEST_F(SceneryTest, CupRowLightsOneFramePerStepAndGoesDarkAwayFromItsPlace) {
    BuildOne("<CupAnimationControl stateChangeTime=\"1.0\"><position x=\"50\" y=\"60\"/><activeScreenPos x=\"50\" "
             "y=\"60\"/><frame x=\"0\" y=\"0\" normalTextureId=\"pic\" activeTextureId=\"wide\" textureChangeTime=\"0.1\"/>"
             "<frame x=\"30\" y=\"0\" normalTextureId=\"pic\" activeTextureId=\"wide\" textureChangeTime=\"0.1\"/>"
             "<frame x=\"60\" y=\"0\" normalTextureId=\"pic\" activeTextureId=\"wide\" textureChangeTime=\"0.1\"/>"
             "</CupAnimationControl>");
    const ObjectWeakPointer<CupAnimationControl> row = Find<CupAnimationControl>(container);
    struct Step {
        float dt;
        int state;
    } steps[] = {{1.0f, 0}, {0.5f, 1}, {1.0f, 2}, {1.0f, 3}, {1.0f, 0}, {2.5f, 1}};
    for (const Step& s : steps) {
        container->Update(s.dt);
        EXPECT_EQ(row->GetState(), s.state) << s.dt;
    }
    container->Update(0.5f);
    container->Update(0.3f);  // the cross-fade ends
    EXPECT_EQ(Widths(DrawOnly()), (std::vector<int>{40, 40, 16}));
    row->SetAbsolutePos(Point(51, 60));
    container->Update(0.5f);
    EXPECT_EQ(row->GetState(), 0);
    EXPECT_EQ(Widths(DrawOnly()), (std::vector<int>{16, 16, 16}));

    LogCapture log;
    BuildOne("<CupAnimationControl stateChangeTime=\"0.0\"><position x=\"0\" y=\"0\"/><activeScreenPos x=\"0\" y=\"0\"/>"
             "<frame x=\"0\" y=\"0\" normalTextureId=\"pic\" activeTextureId=\"wide\" textureChangeTime=\"0.1\"/>"
             "</CupAnimationControl>");
    container->Update(1.0f);
    EXPECT_EQ(Find<CupAnimationControl>(container)->GetState(), 0);
    EXPECT_TRUE(check_reports::Reported(log, "_stateChangeTime > 0.0f"));
}

}  // namespace
