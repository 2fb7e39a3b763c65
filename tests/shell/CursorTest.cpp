// The picture cursor: where each of its four pictures lies against the mouse position, and the
// system cursor's show and hide.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "platform/render/PngFile.h"
#include "shell/Cursor.h"
#include "tests/shell/RecordingDeviceFixture.h"
#include "tests/support/TestSupport.h"

namespace {

struct Picture {
    const char* file;
    unsigned width;
    unsigned height;
};

// Pictures of four different sizes, so that a picture drawn with another's offset shows.
const Picture PICTURES[] = {
    {"cursor_normal.png", 12, 20}, {"cursor_active.png", 16, 24}, {"cursor_pressed.png", 18, 22},
    {"cursor_forbidden.png", 30, 28}};

class CursorTest : public RecordingDeviceTest {
protected:
    void SetUp() override {
        RecordingDeviceTest::SetUp();
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_VIDEO)) << SDL_GetError();
        previous = std::filesystem::current_path();
        const std::string dir = testing_support::MakeTempDir("cursor");
        std::filesystem::create_directories(dir + "textures");
        for (const Picture& p : PICTURES) {
            render_layer::PngPicture png;
            png.width = p.width;
            png.height = p.height;
            png.pixels.assign(static_cast<size_t>(p.width) * p.height, 0xFFFFFFFFu);
            std::string error;
            ASSERT_TRUE(render_layer::WritePng(dir + "textures/" + p.file, png, true, &error)) << error;
        }
        std::filesystem::current_path(dir);
    }
    void TearDown() override {
        std::filesystem::current_path(previous);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        RecordingDeviceTest::TearDown();
    }

    std::filesystem::path previous;
};

// The bottom-left corner and the size of a recorded quad, in logical units.
struct Quad {
    float left, bottom, width, height;
};

Quad Bounds(const render_layer::RecordedDraw& draw) {
    float left = 1e9f, right = -1e9f, bottom = 1e9f, top = -1e9f;
    for (const auto& v : draw.vertices) {
        left = std::min(left, v.x);
        right = std::max(right, v.x);
        bottom = std::min(bottom, v.y);
        top = std::max(top, v.y);
    }
    return {left, bottom, right - left, top - bottom};
}

}  // namespace

TEST_F(CursorTest, EachPictureLiesAtItsOwnOffsetFromTheMouse) {
    Cursor cursor;
    struct Case {
        RectangleTexture* picture;
        const Picture& file;
        int dx;
        int dy;
    } cases[] = {
        {&cursor._normal, PICTURES[0], -4, 1},
        {&cursor._active, PICTURES[1], -7, 1},
        {&cursor._pressed, PICTURES[2], -7, 1},
        {&cursor._forbidden, PICTURES[3], -15, 15},
    };
    EXPECT_EQ(&cursor._normal, cursor._current);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.file);
        for (const int x : {400, 3}) {
            const int y = x == 400 ? 300 : 590;
            cursor._current = c.picture;
            recording->draws.clear();
            cursor.Draw(x, y);
            ASSERT_EQ(1u, recording->draws.size());
            const Quad q = Bounds(recording->draws[0]);
            // Bottom-left corner at (x + dx, y - height + dy), the picture at its own size.
            EXPECT_FLOAT_EQ(static_cast<float>(x + c.dx), q.left);
            EXPECT_FLOAT_EQ(static_cast<float>(y - static_cast<int>(c.file.height) + c.dy), q.bottom);
            EXPECT_FLOAT_EQ(static_cast<float>(c.file.width), q.width);
            EXPECT_FLOAT_EQ(static_cast<float>(c.file.height), q.height);
            EXPECT_NE(nullptr, recording->draws[0].texture);
        }
    }
    cursor.ReleaseTextures();
}

TEST_F(CursorTest, DrawingHidesTheSystemCursorAndOneShowOrHideSettlesItsState) {
    Cursor cursor;
    Cursor::ShowSystemCursor();
    ASSERT_EQ(SDL_ENABLE, SDL_ShowCursor(SDL_QUERY));
    cursor.Draw(100, 100);
    EXPECT_EQ(SDL_DISABLE, SDL_ShowCursor(SDL_QUERY));
    // However often either runs, the last one decides.
    for (int i = 0; i < 3; ++i) Cursor::ShowSystemCursor();
    EXPECT_EQ(SDL_ENABLE, SDL_ShowCursor(SDL_QUERY));
    Cursor::HideSystemCursor();
    EXPECT_EQ(SDL_DISABLE, SDL_ShowCursor(SDL_QUERY));
    for (int i = 0; i < 3; ++i) Cursor::HideSystemCursor();
    Cursor::ShowSystemCursor();
    EXPECT_EQ(SDL_ENABLE, SDL_ShowCursor(SDL_QUERY));
    // Setting the system cursor's shape shows it again.
    Cursor::HideSystemCursor();
    cursor.SetSystemCursor(true);
    EXPECT_EQ(SDL_ENABLE, SDL_ShowCursor(SDL_QUERY));
    cursor.ReleaseTextures();
}
