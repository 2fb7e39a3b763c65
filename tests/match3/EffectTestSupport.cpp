#include "tests/match3/EffectTestSupport.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "content/EffectObserver.h"
#include "content/ParticleLibrary.h"
#include "content/ResourceManager.h"
#include "core/XmlRead.h"
#include "platform/render/PngFile.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"
#include "shell/SoundSystem.h"
#include "tests/shell/RecordingDeviceFixture.h"

namespace effects_test {

namespace {

// Registered in this order, so the fake library's handles count from 101 in it.
const char* const SAMPLES[] = {"lighting_run", "counter", "popup", "fly_text"};
const char* const FONTS[] = {"boom", "20_scores", "demo"};

std::unique_ptr<ScopedAudioBackend>& AudioScope() {
    static std::unique_ptr<ScopedAudioBackend> scope;
    return scope;
}

const char* const RESOURCES = R"(<Resources>
  <Fonts><font name="boom" track="0"/><font name="20_scores" track="0"/><font name="demo" track="0"/></Fonts>
  <Textures upload="refcount" storage="memory-keeping">
    <texture id="golden" path="golden.png"/>
    <texture id="golden_glow" path="glow.png"/>
    <texture id="lock_pieces" path="lock.png"/>
    <texture id="lock_wide" path="lock_wide.png"/>
    <texture id="splash_remover" path="strip.png" address="wrap"/>
    <texture id="splash_dot" path="dot.png"/>
  </Textures>
  <Animations>
    <OneTextureAnimation id="chip_anim0" frameWidth="42" frameHeight="42" count="1">
      <texture upload="refcount" storage="memory-keeping" path="piece.png"/>
    </OneTextureAnimation>
  </Animations>
</Resources>)";

// Systems without pictures: the tests count effects, not particles on the screen.
const char* const PARTICLES = R"(<Effects version="1">
  <Effect name="CreateBonusEffect">
    <ParticleSystem numOfParticles="4" lifeInitial="0.5" needStartDeadCounter="true" deadCountTime="0.05"/>
  </Effect>
  <Effect name="FromHere">
    <ParticleSystem numOfParticles="4" lifeInitial="0.5" needStartDeadCounter="true" deadCountTime="0.05"/>
  </Effect>
  <Effect name="EffectWay">
    <ParticleSystem numOfParticles="4" lifeInitial="0.3"/>
  </Effect>
  <Effect name="TimerBubbles">
    <ParticleSystem numOfParticles="2" lifeInitial="1.0"/>
  </Effect>
</Effects>)";

}  // namespace

void WriteTestPicture(const std::string& path, int width, int height) {
    render_layer::PngPicture picture;
    picture.width = static_cast<unsigned>(width);
    picture.height = static_cast<unsigned>(height);
    picture.pixels.assign(static_cast<std::size_t>(width) * height, 0xFF8090A0u);
    std::string error;
    ASSERT_TRUE(render_layer::WritePng(path, picture, true, &error)) << error;
}

ObjectSmartPointer<XmlElement> ParseElement(const std::string& text) {
    ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(text.data(), text.data() + text.size()));
    return ObjectSmartPointer<XmlElement>(new XmlElement(document->GetRoot()));
}

void EffectTest::SetUp() {
    StorageFixture::SetUp();
    LoadEmpty("Player");
    dir = testing_support::EnterTempDir("effects", &_previousDir);
    ASSERT_FALSE(dir.empty());
    recording = StartRecordingDevice();
    Render::device.SetBlendMode(0);
    WriteTestPicture(dir + "golden.png", 44, 44);
    WriteTestPicture(dir + "glow.png", 64, 64);
    WriteTestPicture(dir + "lock.png", 96, 64);
    WriteTestPicture(dir + "lock_wide.png", 384, 64);
    WriteTestPicture(dir + "strip.png", 64, 16);
    WriteTestPicture(dir + "dot.png", 16, 16);
    WriteTestPicture(dir + "piece.png", 42, 42);
    std::filesystem::create_directory(dir + "fonts");
    for (const char* font : FONTS) {
        for (const char* ext : {".png", ".txt"}) {
            std::filesystem::copy_file(std::string(MARIVEL_SOURCE_DIR "/data/fonts/") + font + ext,
                                       dir + "fonts/" + font + ext);
        }
    }
    ResourceManager::LoadResources(ParseElement(RESOURCES));
    testing_support::WriteFile(dir + "effects.xml", PARTICLES);
    GetParticleLibrary().LoadEffects(dir + "effects.xml");

    AudioScope() = std::make_unique<ScopedAudioBackend>(audio);
    static int window = 0;
    Sound::soundSystem.Init(&window);
    for (const char* name : SAMPLES) Sound::soundSystem.AddSample(name, std::string(name) + ".wav", 2);
    audio.ClearCalls();
}

void EffectTest::TearDown() {
    Core::GetEffectObserver().Clear();
    GetParticleLibrary().Clear();
    Sound::soundSystem.Shutdown();
    AudioScope().reset();
    ResourceManager::ReleaseAll();
    Render::fonts.ReleaseAll();
    Render::device.Release();
    ASSERT_EQ(0, chdir(_previousDir.c_str()));
    StorageFixture::TearDown();
}

std::vector<Quad> EffectTest::Draw(EffectBase& effect) {
    return DrawnQuads([&effect] { effect.Draw(); });
}

std::vector<Quad> EffectTest::DrawnQuads(const std::function<void()>& draw) {
    recording->draws.clear();
    const std::size_t matrices = Render::device.GetMatrixStackSize();
    const std::size_t alphas = Render::device.GetAlphaStackSize();
    draw();
    std::vector<Quad> quads;
    for (const render_layer::RecordedDraw& draw : recording->draws) {
        if (draw.world.empty()) continue;
        Quad q;
        q.left = q.right = draw.world[0].x;
        q.bottom = q.top = draw.world[0].y;
        q.uLeft = q.uRight = draw.world[0].u;
        q.vBottom = q.vTop = draw.world[0].v;
        for (const auto& v : draw.world) {
            q.left = std::min(q.left, v.x);
            q.right = std::max(q.right, v.x);
            q.bottom = std::min(q.bottom, v.y);
            q.top = std::max(q.top, v.y);
            q.uLeft = std::min(q.uLeft, v.u);
            q.uRight = std::max(q.uRight, v.u);
            q.vBottom = std::min(q.vBottom, v.v);
            q.vTop = std::max(q.vTop, v.v);
        }
        // Glyphs come as six vertices each, pictures as four: each group must have two x values
        // and two y values to be upright.
        const std::size_t group = draw.world.size() % 6 == 0 ? 6 : 4;
        for (std::size_t first = 0; first + group <= draw.world.size(); first += group) {
            const auto& w = draw.world;
            for (std::size_t i = first; i < first + group; ++i) {
                int sameX = 0, sameY = 0;
                for (std::size_t j = first; j < first + group; ++j) {
                    if (std::fabs(w[i].x - w[j].x) < 0.01f) ++sameX;
                    if (std::fabs(w[i].y - w[j].y) < 0.01f) ++sameY;
                }
                if (sameX < 2 || sameY < 2) q.upright = false;
            }
        }
        q.alpha = static_cast<int>(draw.world[0].color >> 24);
        q.color = draw.world[0].color;
        const auto byX = std::minmax_element(draw.world.begin(), draw.world.end(),
                                             [](const auto& a, const auto& b) { return a.x < b.x; });
        q.mirrored = byX.first->u > byX.second->u;
        q.additive = draw.renderStates[D3DRS_DESTBLEND] == D3DBLEND_ONE;
        q.silhouette = draw.stage0[D3DTSS_COLORARG1] == D3DTA_DIFFUSE;
        q.textured = draw.texture != nullptr;
        quads.push_back(q);
    }
    EXPECT_EQ(matrices, Render::device.GetMatrixStackSize());
    EXPECT_EQ(alphas, Render::device.GetAlphaStackSize());
    EXPECT_EQ(D3DBLEND_INVSRCALPHA, recording->RenderStateValue(D3DRS_DESTBLEND));
    return quads;
}

namespace {

// Draws a control in place of an effect.
class ControlDrawing : public EffectBase {
public:
    explicit ControlDrawing(Control& control) : _control(control) {}
    void Draw() override { _control.Draw(); }
    void Update(float) override {}
    bool IsFinished() override { return false; }

private:
    Control& _control;
};

}  // namespace

std::vector<Quad> EffectTest::Draw(Control& control) {
    ObjectSmartPointer<ControlDrawing> drawing(new ControlDrawing(control));
    return Draw(*drawing);
}

std::vector<std::string> EffectTest::Sounds() {
    std::vector<std::string> sounds;
    for (const std::string& call : audio.Calls()) {
        // "BASS_SamplePlayEx(<handle>, ..., <loop>)" or "BASS_SampleStop(<handle>)"
        const bool play = call.rfind("BASS_SamplePlayEx(", 0) == 0;
        if (!play && call.rfind("BASS_SampleStop(", 0) != 0) continue;
        const std::size_t open = call.find('(');
        const std::size_t end = call.find_first_of(",)", open);
        const int index = std::stoi(call.substr(open + 1, end - open - 1)) - 101;
        std::string text = std::string(play ? "play " : "stop ") + (index >= 0 && index < 4 ? SAMPLES[index] : "?");
        if (play && call.find("TRUE)") != std::string::npos) text += " loop";
        sounds.push_back(text);
    }
    audio.ClearCalls();
    return sounds;
}

void EffectTest::AddPictures(const std::vector<TestPicture>& pictures) {
    std::string resources = "<Resources><Textures upload=\"refcount\" storage=\"memory-keeping\">";
    for (const TestPicture& p : pictures) {
        WriteTestPicture(dir + p.id + ".png", p.width, p.height);
        resources += std::string("<texture id=\"") + p.id + "\" path=\"" + p.id + ".png\"/>";
    }
    ResourceManager::LoadResources(ParseElement(resources + "</Textures></Resources>"));
}

int EffectTest::SamplePlays(int handle) {
    const std::string head = "BASS_SamplePlayEx(" + std::to_string(handle) + ",";
    int plays = 0;
    for (const std::string& call : audio.Calls()) plays += call.rfind(head, 0) == 0 ? 1 : 0;
    audio.ClearCalls();
    return plays;
}

ObjectSmartPointer<AnimationService> EffectTest::Piece() {
    return ObjectSmartPointer<AnimationService>(new AnimationService(ResourceManager::GetAnimation("chip_anim0")));
}

void EffectTest::RunParticles(float dt) { Core::GetEffectObserver().Update(dt); }

std::size_t EffectTest::RunningParticleEffects() { return Core::GetEffectObserver().GetEffectCount(); }

}  // namespace effects_test
