#include "tests/controls/PictureTestSupport.h"

#include <unistd.h>

#include <cmath>
#include <map>

#include "controls/FlowControlClasses.h"
#include "content/ResourceManager.h"
#include "controls/ControlFactory.h"
#include "controls/PictureControlClasses.h"
#include "core/MessageServer.h"
#include "core/XmlRead.h"
#include "platform/render/PngFile.h"
#include "shell/RenderDevice.h"
#include "shell/SoundSystem.h"
#include "tests/shell/RecordingDeviceFixture.h"
#include "tests/support/TestSupport.h"

namespace pictures_test {

namespace {

const char* const SAMPLES[] = {"button_active", "button_pressed", "beauty_take", "hover", "press", "checkbox_change",
                               "tab_change", "tip_show"};

// Sample handles in registration order, from the first the fake library gives.
std::map<std::string, std::string>& SampleByHandle() {
    static std::map<std::string, std::string> byHandle;
    return byHandle;
}

void StartSound() {
    static bool started = false;
    if (started) return;
    started = true;
    static ScopedAudioBackend scope(Audio());
    static int window = 0;
    Sound::soundSystem.Init(&window);
    int handle = 101;
    for (const char* name : SAMPLES) {
        Sound::soundSystem.AddSample(name, std::string(name) + ".wav", 4);
        SampleByHandle()[std::to_string(handle++)] = name;
    }
}

ObjectSmartPointer<XmlElement> Parse(const std::string& text) {
    ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(text.data(), text.data() + text.size()));
    ObjectWeakPointer<XmlElement> root = document->GetRoot();
    EXPECT_TRUE(root != NULL) << text;
    if (root == NULL) return ObjectSmartPointer<XmlElement>();
    return ObjectSmartPointer<XmlElement>(new XmlElement(root));
}

}  // namespace

FakeAudioBackend& Audio() {
    static FakeAudioBackend fake;
    return fake;
}

void PictureTest::SetUp() {
    dir = testing_support::EnterTempDir("pictures", &_previousDir);
    ASSERT_FALSE(dir.empty());
    recording = StartRecordingDevice();
    RegisterControlFrameworkClasses();
    RegisterPictureControlClasses();
    RegisterFlowControlClasses();  // the demo screens listen for keys
    StartSound();
    Played();
}

void PictureTest::TearDown() {
    container = nullptr;
    ProcessPostedMessages();
    ResourceManager::ReleaseAll();
    Render::device.Release();
    ASSERT_EQ(0, chdir(_previousDir.c_str()));
}

void PictureTest::WritePicture(const std::string& file, int width, int height, int opaqueWidth) {
    render_layer::PngPicture picture;
    picture.width = static_cast<unsigned>(width);
    picture.height = static_cast<unsigned>(height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.pixels.push_back(x < opaqueWidth ? 0xFF4080C0u : 0x00000000u);
        }
    }
    std::string error;
    ASSERT_TRUE(render_layer::WritePng(dir + file, picture, true, &error)) << error;
}

void PictureTest::LoadResources(const std::string& sections) {
    ObjectSmartPointer<XmlElement> root = Parse("<Resources>" + sections + "</Resources>");
    ResourceManager::LoadResources(root);
}

void PictureTest::Build(const std::string& rootControl) {
    ObjectSmartPointer<XmlElement> root = Parse("<ControlContainer>" + rootControl + "</ControlContainer>");
    container = ObjectSmartPointer<ControlContainer>(new ControlContainer(root));
    root->CheckVisited();
}

std::vector<Quad> PictureTest::DrawOnly() {
    recording->draws.clear();
    container->Draw();
    return RecordedQuads();
}

std::vector<Quad> PictureTest::RecordedQuads() {
    std::vector<Quad> quads;
    for (const render_layer::RecordedDraw& draw : recording->draws) {
        if (draw.world.size() < 4) continue;
        float xMin = draw.world[0].x, xMax = xMin, yMin = draw.world[0].y, yMax = yMin;
        for (const auto& v : draw.world) {
            xMin = std::min(xMin, v.x);
            xMax = std::max(xMax, v.x);
            yMin = std::min(yMin, v.y);
            yMax = std::max(yMax, v.y);
        }
        Quad q;
        q.x = static_cast<int>(std::lround(xMin));
        q.y = static_cast<int>(std::lround(yMin));
        q.width = static_cast<int>(std::lround(xMax - xMin));
        q.height = static_cast<int>(std::lround(yMax - yMin));
        q.alpha = static_cast<int>(draw.world[0].color >> 24);
        quads.push_back(q);
    }
    return quads;
}

std::vector<Quad> PictureTest::Frame(float dt) {
    container->Update(dt);
    return DrawOnly();
}

std::vector<std::string> PictureTest::Played() {
    std::vector<std::string> names;
    for (const std::string& call : Audio().CallsOf("BASS_SamplePlayEx")) {
        // "BASS_SamplePlayEx(<handle>, ..."
        const std::size_t open = call.find('(');
        const std::size_t comma = call.find(',', open);
        names.push_back(SampleByHandle()[call.substr(open + 1, comma - open - 1)]);
    }
    Audio().ClearCalls();
    return names;
}

}  // namespace pictures_test
