#pragma once
// Effect tests: a scratch folder with generated pictures and the demo fonts, the render device on
// the recording backend, the sound system on a fake audio library, the particle effects the
// effects start, and a player to hold the values they read.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "content/AnimationService.h"
#include "content/EffectBase.h"
#include "controls/Control.h"
#include "platform/audio/FakeAudioBackend.h"
#include "platform/render/RecordingBackend.h"
#include "tests/core/StorageFixture.h"

namespace effects_test {

// One recorded draw as a box on the logical screen, with how it was drawn.
struct Quad {
    float left = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
    float top = 0.0f;
    float uLeft = 0.0f;
    float uRight = 0.0f;
    float vBottom = 0.0f;
    float vTop = 0.0f;
    int alpha = 0;  // of the first vertex, 0..255
    D3DCOLOR color = 0;  // of the first vertex
    // The picture runs right to left (turned about the vertical axis).
    bool mirrored = false;
    bool additive = false;
    bool silhouette = false;
    bool textured = true;
    // False when the box's sides are not along the axes (turned).
    bool upright = true;

    float Width() const { return right - left; }
    float Height() const { return top - bottom; }
    float CentreX() const { return (left + right) / 2.0f; }
    float CentreY() const { return (bottom + top) / 2.0f; }
};

// An opaque picture of that size, written as a PNG file.
void WriteTestPicture(const std::string& path, int width, int height);
// The root element of an XML text, kept alive on its own.
ObjectSmartPointer<XmlElement> ParseElement(const std::string& text);
// A plain picture of a test: its texture id and size.
struct TestPicture {
    const char* id;
    int width;
    int height;
};

class EffectTest : public StorageFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Clears the record, draws the effect and gives its draws in order.
    std::vector<Quad> Draw(EffectBase& effect);
    // The same for a control.
    std::vector<Quad> Draw(Control& control);
    // The same for any drawing; it must leave the stacks and the blending as it found them.
    std::vector<Quad> DrawnQuads(const std::function<void()>& draw);
    // Samples played and stopped since the last call, in order: "play name", "play name loop",
    // "stop name".
    std::vector<std::string> Sounds();
    // Writes plain pictures of these sizes into the scratch folder and registers them as textures.
    void AddPictures(const std::vector<TestPicture>& pictures);
    // Plays of the sample with that handle since the last call (handles count from 101 in the
    // order the samples were added).
    int SamplePlays(int handle);
    // A copy of the 42 x 42 piece animation's player.
    static ObjectSmartPointer<AnimationService> Piece();
    // Runs the particle runner (the controller the frame loop updates).
    static void RunParticles(float dt);
    static std::size_t RunningParticleEffects();

    std::string dir;
    render_layer::RecordingDevice* recording = nullptr;
    FakeAudioBackend audio;

private:
    std::string _previousDir;
};

}  // namespace effects_test
