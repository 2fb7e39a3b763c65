#include "tests/widgets/WidgetTestSupport.h"

#include <algorithm>

#include "core/DataFolder.h"
#include "core/PermanentStorage.h"
#include "shell/BitmapFont.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"
#include "tests/shell/RecordingDeviceFixture.h"
#include "tests/support/TestSupport.h"
#include "widgets/WidgetClasses.h"

namespace widgets_test {

void AddFont(const std::string& name, int ascent, int descent, int a, int b, int c, int spaceSize) {
    const int height = ascent + descent;
    std::string text = "ascent = " + std::to_string(ascent) + "\ndescent = " + std::to_string(descent) +
                       "\nheight = " + std::to_string(height) + "\nxOffset = 0\nyOffset = 0\n";
    std::vector<int> codes;
    for (int code = 33; code <= 126; ++code) codes.push_back(code);
    for (int code = 192; code <= 255; ++code) codes.push_back(code);
    text += "numChars = " + std::to_string(codes.size()) + "\n";
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const int x = static_cast<int>(i % 20) * (b + 2);
        const int y = height + 10 + static_cast<int>(i / 20) * (height + 2);
        text += "char = " + std::to_string(codes[i]) + "; A = " + std::to_string(a) + "; B = " + std::to_string(b) +
                "; C = " + std::to_string(c) + "; x = " + std::to_string(x) + "; y = " + std::to_string(y) + "; \n";
    }
    const std::string path = testing_support::MakeTempDir("font") + name + ".txt";
    testing_support::WriteFile(path, text);
    BitmapFont font = BitmapFont::WithoutPicture(name, 0, spaceSize);
    font.GetInfo().texture->image.width = 512;
    font.GetInfo().texture->image.height = 512;
    font.ReadMetrics(path, 512, 512);
    Render::fonts.AddFont(font);
}

void AddTestFonts() {
    if (!Render::fonts.DoesFontExist("fixed")) AddFont("fixed", 16, 4, 0, 10, 0, 10);
    if (!Render::fonts.DoesFontExist("wide")) AddFont("wide", 24, 6, 1, 10, 1, 12);
}

void TextDeviceTest::SetUp() {
    recording = StartRecordingDevice(false);
    ASSERT_NE(nullptr, recording);
    Render::fonts.ReleaseAll();
    AddTestFonts();
}

void TextDeviceTest::TearDown() {
    Render::fonts.ReleaseAll();
    Render::device.Release();
}

Box BoxOf(const std::vector<render_layer::RecordedDraw>& draws, std::size_t from, std::size_t count) {
    Box box;
    for (std::size_t d = from; d < draws.size() && d - from < count; ++d) {
        for (const render_layer::Vertex& v : draws[d].world) {
            if (box.empty) {
                box = Box{v.x, v.x, v.y, v.y, false};
                continue;
            }
            box.left = std::min(box.left, v.x);
            box.right = std::max(box.right, v.x);
            box.bottom = std::min(box.bottom, v.y);
            box.top = std::max(box.top, v.y);
        }
    }
    return box;
}

void TextControlTest::SetUp() {
    PictureTest::SetUp();
    Render::fonts.ReleaseAll();
    AddTestFonts();
    RegisterWidgetClasses();
    _savedDataFolder = dataFolder;
    dataFolder = dir;
    testing_support::WriteFile(dir + "Storage.xml", "<Storage><Globals/><ActivePlayer name=\"p\"/></Storage>");
    PermanentStorage::Load();
}

void TextControlTest::TearDown() {
    container = nullptr;
    if (PermanentStorage::IsLoaded()) PermanentStorage::Discard();
    dataFolder = _savedDataFolder;
    Render::fonts.ReleaseAll();
    PictureTest::TearDown();
}

int TextDeviceTest::DrawAlpha(std::size_t draw) const {
    return static_cast<int>(recording->draws.at(draw).vertices.at(0).color >> 24);
}

}  // namespace widgets_test
