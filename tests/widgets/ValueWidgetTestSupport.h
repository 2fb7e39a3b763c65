#pragma once
// Value widget tests: the picture tests' scratch folder, recording device and sound, plus the
// value widget classes, a persistent storage with the players "p" (active) and "q", pictures drawn
// from a pixel rule and a font "edit" whose every glyph is 10 units wide (a space 5), 13 high.

#include <cstdint>
#include <functional>
#include <string>

#include "controls/FixedChildrenListControl.h"
#include "controls/MouseEvents.h"
#include "tests/controls/PictureTestSupport.h"

namespace value_widgets_test {

// The element "position" of a control.
inline std::string Pos(int x, int y) {
    return "<position x='" + std::to_string(x) + "' y='" + std::to_string(y) + "'/>";
}

class ValueWidgetTest : public pictures_test::PictureTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A PNG in the scratch folder; pixel(x, y) gives 0xAARRGGBB, y counted from the top row.
    void WritePixels(const std::string& file, int width, int height,
                     const std::function<std::uint32_t(int x, int y)>& pixel);
    // Loads memory-keeping textures, each id from the file "<id>.png".
    void LoadTextures(const std::vector<std::string>& ids);
    // Builds a tree of one list at (0, 0) holding the control.
    void BuildOne(const std::string& control);

    // The first control of the list built by BuildOne.
    template <class T>
    ObjectWeakPointer<T> Only() {
        auto list = container->GetRoot().Cast<FixedChildrenListControl>();
        return ObjectWeakPointer<T>(list->GetChildren()[0].template Cast<T>());
    }

    // Draws the tree in the logical 800 x 600 space, so the recorded screen coordinates are
    // logical ones (y from the top).
    void DrawLogical();
    // The columns a recorded draw covers after its clip planes.
    static void ClippedColumns(const render_layer::RecordedDraw& draw, float* left, float* right);

    // Removes the name from the Global scope and the active player's values where it is stored.
    static void Forget(const std::string& name);

    // Key-down (virtual-key code) and character events through the container.
    void Key(int code);
    void Char(int code);
    void Type(const std::string& text);

private:
    std::string _savedDataFolder;
};

}  // namespace value_widgets_test
