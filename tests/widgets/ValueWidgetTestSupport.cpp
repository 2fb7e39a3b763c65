#include "tests/widgets/ValueWidgetTestSupport.h"

#include <sys/stat.h>

#include <algorithm>

#include "core/DataFolder.h"
#include "core/Message.h"
#include "core/PermanentStorage.h"
#include "platform/render/PngFile.h"
#include "shell/BitmapFont.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"
#include "tests/support/TestSupport.h"
#include "widgets/ValueWidgetClasses.h"

namespace value_widgets_test {

namespace {

void AddEditFont(const std::string& dir) {
    std::string metrics = "ascent = 10\ndescent = 3\nheight = 13\nxOffset = 0\nyOffset = 0\n";
    std::string glyphs;
    int count = 0;
    for (int code = 33; code < 256; ++code) {
        if (code >= 127 && code < 192) continue;  // Latin letters, digits, signs and the Cyrillic letters
        glyphs += "char = " + std::to_string(code) + "; A = 1; B = 8; C = 1; x = 0; y = 20; \n";
        ++count;
    }
    testing_support::WriteFile(dir + "edit.txt", metrics + "numChars = " + std::to_string(count) + "\n" + glyphs);
    BitmapFont font = BitmapFont::WithoutPicture("edit", 0, 5);
    font.GetInfo().texture->image.width = 256;
    font.GetInfo().texture->image.height = 64;
    font.ReadMetrics(dir + "edit.txt", 256, 64);
    Render::fonts.AddFont(font);
}

}  // namespace

void ValueWidgetTest::SetUp() {
    PictureTest::SetUp();
    RegisterValueWidgetClasses();
    AddEditFont(dir);
    _savedDataFolder = dataFolder;
    dataFolder = dir;
    testing_support::WriteFile(dataFolder + "Storage.xml", "<Storage><Globals/><ActivePlayer name=\"p\"/></Storage>");
    PermanentStorage::Load();
    PermanentStorage::CreatePlayer("q");
    PermanentStorage::SetActivePlayer("p");
}

void ValueWidgetTest::TearDown() {
    container = nullptr;
    if (PermanentStorage::IsLoaded()) PermanentStorage::Discard();
    dataFolder = _savedDataFolder;
    PictureTest::TearDown();
    Render::fonts.ReleaseAll();
}

void ValueWidgetTest::WritePixels(const std::string& file, int width, int height,
                                  const std::function<std::uint32_t(int x, int y)>& pixel) {
    render_layer::PngPicture picture;
    picture.width = static_cast<unsigned>(width);
    picture.height = static_cast<unsigned>(height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) picture.pixels.push_back(pixel(x, y));
    }
    std::string error;
    ASSERT_TRUE(render_layer::WritePng(dir + file, picture, true, &error)) << error;
}

void ValueWidgetTest::LoadTextures(const std::vector<std::string>& ids) {
    std::string entries;
    for (const std::string& id : ids) entries += "<texture id='" + id + "' path='" + id + ".png'/>";
    LoadResources("<Textures upload='refcount' storage='memory-keeping'>" + entries + "</Textures>");
}

void ValueWidgetTest::BuildOne(const std::string& control) {
    container = nullptr;  // a rebuilt receiver takes the name of the one it replaces
    Build("<FixedChildrenListControl>" + Pos(0, 0) + "<children>" + control + "</children></FixedChildrenListControl>");
}

void ValueWidgetTest::DrawLogical() {
    Render::device.Enter2DMode();
    DrawOnly();
    Render::device.Leave2DMode();
}

void ValueWidgetTest::ClippedColumns(const render_layer::RecordedDraw& draw, float* left, float* right) {
    *left = 1e9f;
    *right = -1e9f;
    for (const auto& polygon : draw.clipped) {
        for (const auto& v : polygon) {
            // Screen pixels sit half a unit left of the logical grid (pixel centres).
            *left = std::min(*left, v.x + 0.5f);
            *right = std::max(*right, v.x + 0.5f);
        }
    }
}

void ValueWidgetTest::Forget(const std::string& name) {
    if (PermanentStorage::IsGlobalNameDefined(name)) PermanentStorage::UndefGlobalName(name);
    if (PermanentStorage::IsLocalNameDefined(name)) PermanentStorage::UndefLocalName(name);
}

void ValueWidgetTest::Key(int code) { container->AcceptMessage(Message("KeyPress", std::to_string(-code))); }

void ValueWidgetTest::Char(int code) { container->AcceptMessage(Message("KeyPress", std::to_string(code))); }

void ValueWidgetTest::Type(const std::string& text) {
    for (unsigned char c : text) Char(c);
}

}  // namespace value_widgets_test
