#pragma once
// Fonts of fixed advance on the recording device for the text widget tests.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/render/RecordingBackend.h"
#include "shell/Texture.h"
#include "tests/controls/PictureTestSupport.h"

namespace widgets_test {

// "fixed": every character, the space included, 10 wide; height 20.
// "wide": every character 12 wide (1 + 10 + 1), the space 12; height 30.
// Both hold ASCII 33..126 and the bytes 192..255.
void AddTestFonts();
// A font of those bytes from a metrics file: glyphs a + b + c wide, height ascent + descent.
void AddFont(const std::string& name, int ascent, int descent, int a, int b, int c, int spaceSize);

// The logical rectangle (y up) covered by the vertices of count draws from index from.
struct Box {
    float left = 0, right = 0, bottom = 0, top = 0;
    bool empty = true;
};
Box BoxOf(const std::vector<render_layer::RecordedDraw>& draws, std::size_t from = 0,
          std::size_t count = static_cast<std::size_t>(-1));

// The recording device with the test fonts; fonts and device are gone again after each test.
class TextDeviceTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    Box DrawnBox(std::size_t from = 0) const { return BoxOf(recording->draws, from); }
    // Alpha byte of the first vertex of the draw.
    int DrawAlpha(std::size_t draw) const;

    render_layer::RecordingDevice* recording = nullptr;
};

// Text controls in a container: the picture tests' fixture with the test fonts, the widget
// classes registered and a loaded storage whose active player is "p".
class TextControlTest : public pictures_test::PictureTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Of the draws since the last DrawOnly or Frame.
    Box DrawnBox(std::size_t from = 0, std::size_t count = static_cast<std::size_t>(-1)) const {
        return BoxOf(recording->draws, from, count);
    }

private:
    std::string _savedDataFolder;
};

// A texture of fixed size that records where it is drawn.
class RecordingTexture : public Texture {
public:
    RecordingTexture(int width, int height) : _width(width), _height(height) {}
    void AddReference() override { ++uses; }
    void RemoveReference() override { --uses; }
    void Load() override {}
    void Unload() override {}
    Rect GetRectangle() override { return Rect(0, 0, _width, _height); }
    void DrawTriangle(float, float, float, float, float, float, float, float, float, float, float, float) override {}
    void DrawColoredQuad(const ColoredPoint&, const ColoredPoint&, const ColoredPoint&, const ColoredPoint&,
                         const FRect&) override {}
    void DrawQuad(const FPoint&, const FPoint&, const FPoint&, const FPoint&, const FRect&) override {}
    void Draw(const FRect&, const FRect&) override {}
    void Draw(const Rect&, const FRect&) override {}
    void Draw(const FPoint& p) override { drawnAt.push_back(p); }
    void Draw(const Point& p) override { drawnAt.push_back(FPoint(p.x, p.y)); }
    void DrawSilhouette(const Rect&, const FRect&) override {}
    void DrawSilhouette(const Point&) override {}
    bool IsPointOpaque(const Point&) override { return true; }
    bool IsPointTransparent(const Point&) override { return false; }

    int uses = 0;
    std::vector<FPoint> drawnAt;

private:
    int _width = 0;
    int _height = 0;
};

}  // namespace widgets_test
