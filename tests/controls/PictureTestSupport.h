#pragma once
// Picture and button tests: a scratch folder with generated pictures, the render device on the
// recording backend, the sound system on a fake audio library, trees built from XML text and
// driven through a real container, and a receiver that records what it is sent.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/ControlContainer.h"
#include "core/MessageReceiver.h"
#include "platform/audio/FakeAudioBackend.h"
#include "platform/render/RecordingBackend.h"

namespace pictures_test {

// Records every message; answers nothing.
class Listener : public MessageReceiver {
public:
    explicit Listener(const std::string& name) : MessageReceiver(name) {}
    void OnMessage(std::string message) override { messages.push_back(message); }
    std::vector<std::string> messages;
};

// One draw of a textured quad: its size and place on the logical screen and its opacity.
struct Quad {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int alpha = 0;  // 0..255
};

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A PNG in the scratch folder: opaque where x < opaqueWidth, transparent to the right.
    void WritePicture(const std::string& file, int width, int height, int opaqueWidth);
    // Loads a resource list; "<Textures>" entries get refcount upload and memory-keeping storage.
    void LoadResources(const std::string& sections);
    // Builds the tree of a "ControlContainer" document.
    void Build(const std::string& rootControl);

    void Move(int x, int y) { container->MouseMove(x, y); }
    void Down(int x, int y) { container->MouseDown(x, y); }
    void Up(int x, int y) { container->MouseUp(x, y); }
    void Click(int x, int y) {
        Move(x, y);
        Down(x, y);
        Up(x, y);
    }
    // One frame: update by dt, then draw; gives the quads drawn.
    std::vector<Quad> Frame(float dt);
    std::vector<Quad> DrawOnly();
    // The quads drawn since the recording was last cleared.
    std::vector<Quad> RecordedQuads();

    // The sample names played since the last call, in order.
    std::vector<std::string> Played();

    std::string dir;
    render_layer::RecordingDevice* recording = nullptr;
    ObjectSmartPointer<ControlContainer> container;

private:
    std::string _previousDir;
};

// The shared fake audio library; the program's sound system plays into it.
FakeAudioBackend& Audio();

}  // namespace pictures_test
