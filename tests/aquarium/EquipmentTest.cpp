// Tank equipment as it shows: the working sounds of the compressor and the filter across player
// switches, the appearance flares, the thermoregulator's column and needle, the filter's fan,
// the sunlight's rays and the limits of its data, and the feeder's bubble, time line and
// feeding point.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "aquarium/ComfortEquipment.h"
#include "content/EffectObserver.h"
#include "content/ParticleLibrary.h"
#include "core/PermanentStorage.h"
#include "core/Random.h"
#include "shell/SoundSystem.h"
#include "tests/aquarium/AquariumTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace aquarium_test;
using pictures_test::Quad;
using testing_support::LogCapture;
using Texts = std::vector<std::string>;

const char* const PIECES[] = {"Compressor", "Thermo", "Filter", "Sun", "Feeder"};
const char* const EFFECTS[] = {"Compressor", "CompressorBuy", "UpgradedCompressor", "CompressorUpgrade",
                               "BuyTermoregulator", "UpgradeTermoregulator", "FilterBubbles", "BuyFilter",
                               "UpgradeFilter", "BuySunlight", "BuyFeed", "UpgradeFeed"};

std::string Piece(const std::string& element, const std::string& name, int x, int y, const std::string& extra) {
    return "<" + element + "><messageReceiver name=\"" + name + "\"/><position x=\"" + std::to_string(x) +
           "\" y=\"" + std::to_string(y) +
           "\"/><cost usual=\"10\" upgraded=\"20\"/><sounds buy=\"eq_buy\" upgrade=\"eq_up\"/>"
           "<utility buyValue=\"1\" upgradeValue=\"2\" receiver=\"Meters\" buyHintServer=\"Hints\"/>"
           "<icon textureId=\"comp\"/><zOrderControl/><hartsAround x=\"0\" y=\"0\"/>" +
           extra + "</" + element + ">";
}

std::string CompressorXml() {
    return Piece("CompressorControl", "Compressor", 100, 50,
                 "<textures usual=\"comp\" upgraded=\"comp_up\"/><upgradedPosition x=\"300\" y=\"40\"/>");
}

std::string ThermoXml() {
    return Piece("ThermoregulatorControl", "Thermo", 100, 50,
                 "<usual base=\"t_base\" red=\"t_red\" up=\"t_up\" redX=\"5\" redY=\"6\" upX=\"7\" upY=\"8\"/>"
                 "<upgradedPosition x=\"50\" y=\"0\"/>"
                 "<upgraded base=\"t_base2\" red=\"t_red\" up=\"t_up\" arr=\"t_arr\" redX=\"5\" redY=\"6\" upX=\"7\" "
                 "upY=\"8\" arrX=\"10\" arrY=\"12\"/><EffPoint x=\"1\" y=\"2\"/>");
}

std::string FilterXml(const std::string& option = "showTime=\"1.0\" upgradeTime=\"1.0\" angleSpeed=\"90.0\"") {
    return Piece("AquaFilterControl", "Filter", 200, 50,
                 "<option " + option +
                     "/><usual base=\"f_base\" fan=\"f_fan\" layer=\"f_layer\" fanX=\"4\" fanY=\"5\" layerX=\"0\" "
                     "layerY=\"30\"/><upgradedPosition x=\"0\" y=\"0\"/>"
                     "<upgraded base=\"f_base2\" fan=\"f_fan2\" layer=\"f_layer2\" fanX=\"4\" fanY=\"5\" layerX=\"0\" "
                     "layerY=\"30\"/><EffPoint x=\"3\" y=\"4\"/><unread note=\"marked as read\"/>");
}

// Rays between x 200 and 600 from an apex far above the screen.
const char* const GOOD_RAYS = "minAngle=\"10.0\" maxAngle=\"40.0\" minX=\"200.0\" maxX=\"600.0\" minY=\"300.0\"";

std::string SunXml(const std::string& rays = GOOD_RAYS, const std::string& usualMaxY = "400.0",
                   const std::string& upgradedMaxY = "500.0") {
    return Piece("SunlightControl", "Sun", 0, 0,
                 "<rays " + rays + "><usual maxCount=\"3\" maxY=\"" + usualMaxY +
                     "\"/><upgraded maxCount=\"6\" maxY=\"" + upgradedMaxY + "\"/></rays>");
}

std::string FeederXml() {
    return Piece("FeedControl", "Feeder", 100, 50,
                 "<usual bubble=\"fd_bubble\" base=\"fd_base\" bubbleX=\"2\" bubbleY=\"20\"/>"
                 "<upgraded bubble=\"fd_bubble\" base=\"fd_base2\" timeLine=\"fd_line\" bubbleX=\"3\" bubbleY=\"21\" "
                 "timeLineX=\"30\" timeLineY=\"4\"/><upgradedPosition x=\"100\" y=\"0\"/><EffPoint x=\"5\" y=\"6\"/>");
}

std::string Together(const std::string& children) {
    return "<FixedChildrenListControl><position x=\"0\" y=\"0\"/><children>" + children +
           "</children></FixedChildrenListControl>";
}

std::vector<int> Alphas(const std::vector<Quad>& quads, int width) {
    std::vector<int> alphas;
    for (const Quad& q : quads) {
        if (q.width == width) alphas.push_back(q.alpha);
    }
    return alphas;
}

const Quad* Find(const std::vector<Quad>& quads, int width, int height) {
    for (const Quad& q : quads) {
        if (q.width == width && q.height == height) return &q;
    }
    return nullptr;
}

struct Box {
    float left = 1e9f;
    float right = -1e9f;
    float bottom = 1e9f;
    float top = -1e9f;
    int Width() const { return static_cast<int>(std::lround(right - left)); }
    int Height() const { return static_cast<int>(std::lround(top - bottom)); }
};


template <class Vertices>
void Extend(Box& box, const Vertices& vertices) {
    for (const auto& v : vertices) {
        box.left = std::min(box.left, v.x);
        box.right = std::max(box.right, v.x);
        box.bottom = std::min(box.bottom, v.y);
        box.top = std::max(box.top, v.y);
    }
}

// What the clip planes leave of the draw, in the units of its world box.
Box ClippedBox(const render_layer::RecordedDraw& draw) {
    Box world;
    Extend(world, draw.world);
    Box screen;
    Extend(screen, draw.screen);
    Box clipped;
    for (const auto& polygon : draw.clipped) Extend(clipped, polygon);
    if (clipped.right < clipped.left) return clipped;
    const float kx = (world.right - world.left) / std::max(screen.right - screen.left, 1e-6f);
    const float ky = (world.top - world.bottom) / std::max(std::fabs(screen.top - screen.bottom), 1e-6f);
    Box box;
    box.left = world.left + (clipped.left - screen.left) * kx;
    box.right = world.left + (clipped.right - screen.left) * kx;
    box.bottom = 0.0f;
    box.top = (clipped.top - clipped.bottom) * ky;
    return box;
}

class EquipmentTest : public AquariumTest {
protected:
    void SetUp() override {
        AquariumTest::SetUp();
        const std::vector<std::tuple<std::string, int, int>> pictures = {
            {"comp", 20, 10},    {"comp_up", 22, 10},  {"t_base", 30, 40},  {"t_base2", 31, 40}, {"t_red", 4, 20},
            {"t_up", 6, 6},      {"t_arr", 2, 12},     {"f_base", 40, 30},  {"f_base2", 44, 30}, {"f_fan", 12, 12},
            {"f_fan2", 14, 14},  {"f_layer", 41, 5},   {"f_layer2", 45, 5}, {"ray", 10, 100},    {"hole", 8, 8},
            {"fd_bubble", 16, 16}, {"fd_base", 24, 10}, {"fd_base2", 26, 10}, {"fd_line", 50, 6}};
        std::string textures;
        for (const auto& p : pictures) {
            const std::string& id = std::get<0>(p);
            WritePicture(id + ".png", std::get<1>(p), std::get<2>(p), std::get<1>(p));
            textures += "<texture id=\"" + id + "\" path=\"" + id + ".png\"/>";
        }
        LoadResources("<Textures upload=\"refcount\" storage=\"memory-keeping\">" + textures + "</Textures>");
        // Effects that last until they are finished and draw nothing until they are advanced.
        std::string effects = "<Effects>";
        for (const char* name : EFFECTS) {
            effects += std::string("<Effect name=\"") + name +
                       "\"><ParticleSystem numOfParticles=\"1\" lifeInitial=\"100.0\"/></Effect>";
        }
        testing_support::WriteFile(dir + "fx.xml", effects + "</Effects>");
        GetParticleLibrary().LoadEffects(dir + "fx.xml");
        static bool areSamplesAdded = false;
        if (!areSamplesAdded) {
            areSamplesAdded = true;
            for (const char* sample : {"compressor_work", "filter_work"}) {
                Sound::soundSystem.AddSample(sample, std::string(sample) + ".wav", 4);
            }
        }
        for (const char* name : {"Meters", "Hints", "Money effect"}) AddReceiver(name);
        for (const char* piece : PIECES) {
            AddReceiver(std::string(piece) + " context help");
            answering.push_back(ObjectSmartPointer<Answering>(new Answering(std::string(piece) + " icon position")));
            answering.back()->answers = {{"get screen pos", "1,2"}};
        }
        PermanentStorage::SetLocalInt("Money", 1000);
        SoundLog();
    }
    void TearDown() override {
        container = nullptr;
        tank = nullptr;
        answering.clear();
        Core::GetEffectObserver().Clear();
        GetParticleLibrary().Clear();
        AquariumTest::TearDown();
    }

    // What is left after clipping of the one draw of a picture of that size; -1 when none is drawn.
    Box Clipped(int width, int height) {
        recording->draws.clear();
        container->Draw();
        Box found;
        for (const render_layer::RecordedDraw& draw : recording->draws) {
            Box world;
            Extend(world, draw.world);
            if (draw.world.size() >= 4 && world.Width() == width && world.Height() == height) found = ClippedBox(draw);
        }
        return found;
    }
    // The working sounds started and stopped since the last call; keeps the loops now playing.
    Texts SoundLog() {
        std::map<std::string, std::string> names;
        for (const char* sample : {"compressor_work", "filter_work"}) {
            names[std::to_string(Sound::soundSystem.FindSample(sample)->handle)] = sample;
        }
        Texts log;
        for (const std::string& call : pictures_test::Audio().Calls()) {
            const std::size_t open = call.find('(');
            const std::size_t end = call.find_first_of(",)", open);
            const std::string function = call.substr(0, open);
            const auto name = names.find(call.substr(open + 1, end - open - 1));
            if (name == names.end()) continue;
            if (function == "BASS_SamplePlayEx") {
                const bool loop = call.find("TRUE)") != std::string::npos;
                log.push_back("play " + name->second + (loop ? " loop" : ""));
                if (loop) ++loops[name->second];
            } else if (function == "BASS_SampleStop") {
                log.push_back("stop " + name->second);
                loops[name->second] = 0;
            }
        }
        pictures_test::Audio().ClearCalls();
        return log;
    }
    template <class T>
    static ObjectWeakPointer<T> Get(const std::string& name) {
        return MessageServer::GetReceiver(name).Cast<T>();
    }
    void Step(float seconds, float dt = 0.02f) {
        for (float t = 0.0f; t < seconds - 1e-4f; t += dt) container->Update(dt);
    }

    std::vector<ObjectSmartPointer<Answering>> answering;
    std::map<std::string, int> loops;
};

TEST_F(EquipmentTest, OneCompressorLoopAndOneFilterLoopAcrossPlayerSwitches) {
    PermanentStorage::SetActivePlayer("Bob");
    PermanentStorage::SetLocalInt("Money", 1000);
    PermanentStorage::SetActivePlayer("Ann");
    Build(Together(CompressorXml() + FilterXml()));
    const ObjectWeakPointer<CompressorControl> compressor = Get<CompressorControl>("Compressor");
    const ObjectWeakPointer<AquaFilterControl> filter = Get<AquaFilterControl>("Filter");
    EXPECT_TRUE(SoundLog().empty());

    SendMessage("Compressor", "Buy");
    SendMessage("Filter", "Buy");
    EXPECT_EQ(SoundLog(), (Texts{"play compressor_work loop", "play filter_work loop"}));
    SendMessage("Compressor", "Upgrade");
    SendMessage("Filter", "Upgrade");
    EXPECT_TRUE(SoundLog().empty());  // the work goes on
    EXPECT_EQ(compressor->GetUsualEffectCount(), 2u);  // steady and burst
    EXPECT_EQ(compressor->GetUpgradedEffectCount(), 2u);

    PermanentStorage::SetActivePlayer("Bob");
    EXPECT_EQ(SoundLog().size(), 2u);
    EXPECT_EQ(loops, (std::map<std::string, int>{{"compressor_work", 0}, {"filter_work", 0}}));
    EXPECT_EQ(compressor->GetUsualEffectCount() + compressor->GetUpgradedEffectCount(), 0u);
    EXPECT_EQ(filter->GetBubbleCount(), 0u);

    SendMessage("Compressor", "Buy");  // Bob has the compressor only
    EXPECT_EQ(SoundLog(), (Texts{"play compressor_work loop"}));

    PermanentStorage::SetActivePlayer("Ann");
    Texts log = SoundLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), "stop compressor_work"), 1) << testing::PrintToString(log);
    EXPECT_EQ(std::count(log.begin(), log.end(), "play compressor_work loop"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "play filter_work loop"), 1);
    EXPECT_EQ(loops, (std::map<std::string, int>{{"compressor_work", 1}, {"filter_work", 1}}));
    EXPECT_EQ(compressor->GetUsualEffectCount(), 1u);  // the steady flows only
    EXPECT_EQ(compressor->GetUpgradedEffectCount(), 1u);
    EXPECT_EQ(filter->GetBubbleCount(), 1u);

    PermanentStorage::SetActivePlayer("Ann");  // the same player again
    SoundLog();
    EXPECT_EQ(loops, (std::map<std::string, int>{{"compressor_work", 1}, {"filter_work", 1}}));

    // Reset by the developer key and bought again, the compressor still plays once.
    PermanentStorage::SetLocalString("Compressor", "None");
    SendMessage("Compressor", "Buy");
    EXPECT_EQ(SoundLog(), (Texts{"stop compressor_work", "play compressor_work loop"}));
    EXPECT_EQ(loops["compressor_work"], 1);
    EXPECT_EQ(compressor->GetUsualEffectCount(), 2u);
    EXPECT_EQ(compressor->GetUpgradedEffectCount(), 0u);

    container = nullptr;
    SoundLog();
    EXPECT_EQ(loops, (std::map<std::string, int>{{"compressor_work", 0}, {"filter_work", 0}}));
}

TEST_F(EquipmentTest, APreRunAdvancesAStartedEffectTwentyTimes) {
    EffectOwner owner;
    const EffectHandle effect = owner.StartEffect("Compressor");
    comfort::PreRun(effect);
    EXPECT_NEAR(effect->time, 2.0f, 1e-4f);
}

TEST_F(EquipmentTest, EveryPieceTakesAZeroStepAndDrawsNothingUntilBought) {
    LogCapture log;
    Build(Together(CompressorXml() + ThermoXml() + FilterXml() + SunXml() + FeederXml()));
    EXPECT_TRUE(Frame(0.02f).empty());
    for (const char* piece : PIECES) SendMessage(piece, "Buy");
    container->GetRoot()->Update(0.0f);
    for (const char* piece : PIECES) SendMessage(piece, "Upgrade");
    for (int i = 0; i < 3; ++i) container->GetRoot()->Update(0.0f);
    EXPECT_FALSE(Frame(0.02f).empty());
    EXPECT_EQ(PermanentStorage::GetLocalInt("Money"), 1000 - 5 * 30);
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(EquipmentTest, CompressorFadesInWithoutGlowAndKeepsItsUpgradedPictureOnTheScreen) {
    Build(CompressorXml());
    SendMessage("Compressor", "Buy");
    struct Row {
        float step;
        std::vector<int> usual;     // alphas of the usual picture drawn
        std::vector<int> upgraded;  // alphas of the upgraded picture drawn
    } const buying[] = {{0.5f, {127}, {}}, {0.5f, {255}, {}}, {1.0f, {255}, {}}};  // runs out exactly at 0
    for (const Row& row : buying) {
        const std::vector<Quad> quads = Frame(row.step);
        EXPECT_EQ(Alphas(quads, 20), row.usual) << row.step;
        EXPECT_EQ(Alphas(quads, 22), row.upgraded) << row.step;
    }
    SendMessage("Compressor", "Upgrade");
    const Row upgrading[] = {{0.5f, {255}, {127}}, {1.0f, {255}, {255}}, {1.0f, {255}, {255}}};
    for (const Row& row : upgrading) {
        const std::vector<Quad> quads = Frame(row.step);
        EXPECT_EQ(Alphas(quads, 20), row.usual) << row.step;
        EXPECT_EQ(Alphas(quads, 22), row.upgraded) << row.step;
    }
    container->GetRoot()->SetAbsolutePos(Point(10, 20));
    const std::vector<Quad> quads = DrawOnly();
    ASSERT_TRUE(Find(quads, 20, 10) != nullptr && Find(quads, 22, 10) != nullptr);
    EXPECT_EQ(Find(quads, 20, 10)->x, 10);
    EXPECT_EQ(Find(quads, 22, 10)->x, 300);
    EXPECT_EQ(Find(quads, 22, 10)->y, 40);
}

TEST_F(EquipmentTest, ThermoregulatorCrossFadesOverHalfItsUpgradeAndGlowsAtTheMiddle) {
    Build(ThermoXml());
    SendMessage("Thermo", "Buy");
    const std::vector<Quad> first = Frame(0.5f);  // p = 0.25 of 2 s: fading in, glowing at 0.75
    EXPECT_EQ(Alphas(first, 30), (std::vector<int>{127, 191}));
    Frame(1.0f);
    Frame(1.0f);
    EXPECT_EQ(Alphas(DrawOnly(), 30), (std::vector<int>{255}));
    SendMessage("Thermo", "Upgrade");
    struct Row {
        float step;
        std::vector<int> usualBase;
        std::vector<int> upgradedBase;  // the set, then its glow
    } const rows[] = {{1.0f, {127}, {127, 191}},
                      {1.0f, {}, {255, 255}},
                      {1.0f, {}, {255, 191}},
                      {1.0f, {}, {255}}};  // run out exactly at 0, the flare no longer counts
    for (const Row& row : rows) {
        const std::vector<Quad> quads = Frame(row.step);
        EXPECT_EQ(Alphas(quads, 30), row.usualBase) << row.step;
        EXPECT_EQ(Alphas(quads, 31), row.upgradedBase) << row.step;
    }
}

TEST_F(EquipmentTest, ThermoregulatorColumnAndNeedleFollowTheSway) {
    Build(ThermoXml());
    const ObjectWeakPointer<ThermoregulatorControl> thermo = Get<ThermoregulatorControl>("Thermo");
    SendMessage("Thermo", "Buy");
    SendMessage("Thermo", "Upgrade");
    Step(5.0f, 0.5f);
    struct Row {
        float sway;
        int columnHeight;  // of 20
        int needleWidth;
        int needleHeight;
    } const rows[] = {{-3.0f, 14, 2, 12}, {3.0f, 20, 12, 2}, {0.5f, 17, -1, -1}};
    for (const Row& row : rows) {
        thermo->GetSway().offsetY = row.sway;
        const int height = Clipped(4, 20).Height();
        EXPECT_EQ(height, row.columnHeight) << row.sway;
        if (row.needleWidth < 0) continue;
        const std::vector<Quad> quads = RecordedQuads();
        EXPECT_TRUE(Find(quads, row.needleWidth, row.needleHeight) != nullptr) << row.sway;
    }
}

TEST_F(EquipmentTest, ThermoregulatorSwaysAtTheSlowerSpeedOfItsPart) {
    Build(ThermoXml());
    const ObjectWeakPointer<ThermoregulatorControl> thermo = Get<ThermoregulatorControl>("Thermo");
    SendMessage("Thermo", "Buy");
    // A step of 0.15 s turns the sway as one of 0.078 s would: the speed drawn for the step,
    // times 0.52 of the step (a full step of 0.15 s would be a long frame and not turn at all).
    for (const std::uint32_t seed : {3u, 9u}) {
        thermo->GetSway().angle = 1.0f;
        Random::Seed(seed);
        thermo->Update(0.15f);
        const float turned = thermo->GetSway().angle - 1.0f;
        Random::Seed(seed);
        const float speed = RandomFloatRange(comfort::PI / 6.0f, comfort::PI / 2.0f);
        EXPECT_NEAR(speed * 0.15f * 0.52f, turned, 1e-5f) << seed;
    }
}

TEST_F(EquipmentTest, FilterFanTurnsWithinOneTurnEitherWayAndItsLayerNeverFades) {
    struct Row {
        const char* speed;
        float seconds;
        float angle;
    } const rows[] = {{"90.0", 5.0f, 90.0f}, {"-90.0", 1.0f, 270.0f}, {"-450.0", 1.0f, 270.0f}, {"0.0", 3.0f, 0.0f}};
    for (const Row& row : rows) {
        PermanentStorage::SetLocalString("Filter", "None");
        Build(FilterXml(std::string("showTime=\"1.0\" upgradeTime=\"1.0\" angleSpeed=\"") + row.speed + "\""));
        SendMessage("Filter", "Buy");
        const ObjectWeakPointer<AquaFilterControl> filter = Get<AquaFilterControl>("Filter");
        Step(row.seconds, 0.25f);
        EXPECT_NEAR(filter->GetFanAngle(), row.angle, 1e-3f) << row.speed;
        container = nullptr;
    }
    PermanentStorage::SetLocalString("Filter", "None");
    Build(FilterXml(std::string("showTime=\"1.0\" upgradeTime=\"1.0\" angleSpeed=\"1000.3\"")));
    const ObjectWeakPointer<AquaFilterControl> filter = Get<AquaFilterControl>("Filter");
    SendMessage("Filter", "Buy");
    const std::vector<Quad> quads = Frame(0.25f);  // p = 0.25
    EXPECT_EQ(Alphas(quads, 40), (std::vector<int>{127, 191}));  // the body fades in and glows
    EXPECT_EQ(Alphas(quads, 41), (std::vector<int>{255}));       // the layer does not
    for (int i = 0; i < 20000; ++i) container->Update(0.37f);     // hours of turning
    EXPECT_GE(filter->GetFanAngle(), 0.0f);
    EXPECT_LT(filter->GetFanAngle(), 360.0f);
}

TEST_F(EquipmentTest, FilterWithoutFlareTimesIsReportedOnceAndShowsAtOnce) {
    LogCapture log;
    Build(FilterXml("showTime=\"0.0\" upgradeTime=\"1.0\" angleSpeed=\"10.0\""));
    EXPECT_EQ(log.ErrorCount(), 1) << log.Text();
    SendMessage("Filter", "Buy");
    EXPECT_EQ(Alphas(Frame(0.1f), 40), (std::vector<int>{255}));
    EXPECT_EQ(log.ErrorCount(), 1) << log.Text();
}

TEST_F(EquipmentTest, SunlightDataThatWouldDivideByZeroIsRefusedOnceAndDrawsNoRays) {
    struct Case {
        const char* what;
        std::string rays;
        const char* usualMaxY;
        const char* upgradedMaxY;
    } const cases[] = {
        {"equal angles", "minAngle=\"30.0\" maxAngle=\"30.0\" minX=\"200.0\" maxX=\"600.0\" minY=\"300.0\"", "400.0", "500.0"},
        {"top not above the bottom", GOOD_RAYS, "300.0", "300.0"},
        {"band over the apex", "minAngle=\"-20.0\" maxAngle=\"20.0\" minX=\"200.0\" maxX=\"600.0\" minY=\"300.0\"", "400.0", "500.0"},
    };
    for (const Case& c : cases) {
        PermanentStorage::SetLocalString("Sun", "None");
        LogCapture log;
        Build(SunXml(c.rays, c.usualMaxY, c.upgradedMaxY));
        const ObjectWeakPointer<SunlightControl> sun = Get<SunlightControl>("Sun");
        EXPECT_FALSE(sun->IsValid()) << c.what;
        EXPECT_EQ(log.ErrorCount(), 1) << c.what << log.Text();
        SendMessage("Sun", "Buy");
        SendMessage("Sun", "Upgrade");
        for (int i = 0; i < 10; ++i) EXPECT_TRUE(Frame(0.05f).empty()) << c.what;
        EXPECT_TRUE(sun->GetRays().empty()) << c.what;
        EXPECT_EQ(log.ErrorCount(), 1) << c.what << log.Text();
        container = nullptr;
    }
    Build(SunXml());
    EXPECT_TRUE(Get<SunlightControl>("Sun")->IsValid());
    EXPECT_EQ(Get<SunlightControl>("Sun")->GetApex(), Point(-178, 2743));
}

TEST_F(EquipmentTest, SunlightRaysAreBornOneAFrameAndOnlyMirroredOnesSparkleAfterTheUpgrade) {
    Random::Seed(7);
    Build(SunXml());
    const ObjectWeakPointer<SunlightControl> sun = Get<SunlightControl>("Sun");
    SendMessage("Sun", "Buy");
    EXPECT_TRUE(sun->GetRays().empty());  // the purchase itself adds none
    for (std::size_t n = 1; n <= 5; ++n) {
        container->Update(0.02f);
        EXPECT_EQ(sun->GetRays().size(), std::min<std::size_t>(n, 3));
    }
    for (const SunlightControl::Ray& ray : sun->GetRays()) {
        EXPECT_TRUE(ray.normal);
        EXPECT_EQ(ray.effects.GetEffectCount(), 1u);
        EXPECT_GE(ray.life, 1.5f);
        EXPECT_LE(ray.life, 2.25f);
        EXPECT_GE(ray.topY, 300.0f);
        EXPECT_LE(ray.topY, 400.0f);
    }
    Step(2.5f);
    SendMessage("Sun", "Upgrade");
    EXPECT_EQ(sun->GetMaxCount(), 6);
    int mirrored = 0;
    int born = 0;
    for (int i = 0; i < 90; ++i) {  // while the flare runs
        container->Update(0.02f);
        if (sun->GetRays().back().time != 0.0f) continue;  // none was born
        const SunlightControl::Ray& ray = sun->GetRays().back();
        ++born;
        if (!ray.normal) ++mirrored;
        EXPECT_EQ(ray.effects.GetEffectCount(), ray.normal ? 0u : 1u) << i;
    }
    EXPECT_GE(born, 6);
    Step(0.5f);
    // Later about half of the new rays come from the mirrored side, none sparkling.
    born = 0;
    mirrored = 0;
    for (int i = 0; i < 2000; ++i) {
        container->Update(0.02f);
        const SunlightControl::Ray& ray = sun->GetRays().back();
        if (ray.time != 0.0f) continue;
        ++born;
        if (!ray.normal) ++mirrored;
        EXPECT_EQ(ray.effects.GetEffectCount(), 0u);
        EXPECT_GE(sun->GetRays().size(), 5u);
        EXPECT_LE(sun->GetRays().size(), 6u);
    }
    EXPECT_GT(born, 100);
    EXPECT_NEAR(static_cast<float>(mirrored) / static_cast<float>(born), 0.5f, 0.15f);
}

TEST_F(EquipmentTest, SunlightLimitsFollowEachPlayersState) {
    PermanentStorage::SetActivePlayer("Bob");
    PermanentStorage::SetLocalString("Sun", "Bought");
    PermanentStorage::SetActivePlayer("Ann");
    Build(SunXml());
    const ObjectWeakPointer<SunlightControl> sun = Get<SunlightControl>("Sun");
    EXPECT_EQ(sun->GetMaxCount(), 0);
    SendMessage("Sun", "Buy");
    SendMessage("Sun", "Upgrade");
    Step(0.5f);
    EXPECT_EQ(sun->GetMaxCount(), 6);
    EXPECT_FLOAT_EQ(sun->GetMaxY(), 500.0f);
    PermanentStorage::SetActivePlayer("Bob");
    EXPECT_EQ(sun->GetMaxCount(), 3);
    EXPECT_FLOAT_EQ(sun->GetMaxY(), 400.0f);
    EXPECT_EQ(sun->GetRays().size(), 6u);  // Ann's live on, above Bob's limit
    PermanentStorage::SetActivePlayer("Ann");
    EXPECT_EQ(sun->GetMaxCount(), 6);
    EXPECT_FLOAT_EQ(sun->GetMaxY(), 500.0f);
}

TEST_F(EquipmentTest, FeederTimeLineFadesInFromTheBottomThenShrinks) {
    Build(FeederXml());
    const ObjectWeakPointer<FeedControl> feeder = Get<FeedControl>("Feeder");
    SendMessage("Feeder", "Buy");
    SendMessage("Feeder", "Upgrade");
    Step(3.0f);
    struct Row {
        float phase;
        std::vector<int> rowAlphas;  // of vertex rows 0, 1, 2 when the mesh shows
        int width;                   // of the clipped bar, else -1
    } const rows[] = {{0.0f, {0, 0, 255}, -1},
                      {1.0f / 22.0f, {255, 0, 255}, -1},
                      {0.2f, {}, 44},
                      {0.5f, {}, 28},
                      {0.999f, {}, -1}};
    for (const Row& row : rows) {
        feeder->GetTimeLineCycle()._lifeCounter = row.phase * 10.0f;
        const Box bar = Clipped(50, 6);
        const int width = bar.right < bar.left ? -1 : bar.Width();
        EXPECT_EQ(width, row.width) << row.phase;
        if (row.rowAlphas.empty()) continue;
        TextureMesh& mesh = *feeder->GetTimeLineMesh();
        for (int j = 0; j <= 2; ++j) {
            for (int k = 0; k <= 2; ++k) EXPECT_EQ(mesh.GetVertexAlpha(k, j), row.rowAlphas[j]) << row.phase;
        }
    }
}

TEST_F(EquipmentTest, FeederBubbleWobblesAtItsLowerLeftAndTheUpgradeMovesOnlyItsBase) {
    Build(FeederXml());
    const ObjectWeakPointer<FeedControl> feeder = Get<FeedControl>("Feeder");
    SendMessage("Feeder", "Buy");
    SendMessage("Feeder", "Upgrade");
    Step(3.0f);
    TextureMesh& mesh = *feeder->GetBubbleMesh();
    for (int j = 0; j <= 2; ++j) {
        for (int i = 0; i <= 2; ++i) {
            const FPoint rest = mesh.GetVertexPosition(i, j);
            const FPoint now = mesh.GetVertexOffset(i, j);
            const float moved = std::hypot(now._x - rest._x, now._y - rest._y);
            EXPECT_NEAR(moved, i < 2 && j < 2 ? 3.0f : 0.0f, 1e-3f) << i << "," << j;
        }
    }
    feeder->GetTimeLineCycle()._lifeCounter = 5.0f;
    const std::vector<Quad> quads = DrawOnly();
    ASSERT_TRUE(Find(quads, 26, 10) != nullptr);
    EXPECT_EQ(Find(quads, 26, 10)->x, 200);  // the base at the upgraded position
    EXPECT_EQ(Find(quads, 50, 6)->x, 130);   // the time line beside the control, not moved
}

TEST_F(EquipmentTest, BuyingTheFeederGivesTheTankAFeedingPointAtItsNextGathering) {
    AddScreenReceivers(false);
    BuildScreen(DispatcherXml(FeederXml() + TankXml("useStorage=\"false\"", "<defaultLayout/>")));
    ASSERT_TRUE(tank != NULL);
    EXPECT_TRUE(tank->GetPlantPoints().empty());
    SendMessage("Feeder", "Buy");
    EXPECT_TRUE(PermanentStorage::GetLocalBool("Fish feeder bought"));
    Move(400, 300);
    Down(400, 300);
    Up(400, 300);
    ASSERT_EQ(tank->GetPlantPoints().size(), 1u);
    EXPECT_FLOAT_EQ(tank->GetPlantPoints()[0].x, -70.0f);
    PermanentStorage::SetActivePlayer("Bob");
    EXPECT_FALSE(PermanentStorage::GetLocalBoolOrDef("Fish feeder bought", false));
}

}  // namespace
