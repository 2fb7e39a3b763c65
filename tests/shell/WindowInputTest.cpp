// Window pixels to logical coordinates, the wheel remainder, the button marks, keys and typed
// characters, and the window procedure's screensaver rules.
#include <SDL.h>
#include <gtest/gtest.h>

#include <deque>

#include "core/MessageServer.h"
#include "platform/render/RecordingBackend.h"
#include "shell/RenderDevice.h"
#include "shell/Window.h"
#include "shell/WindowInput.h"
#include "tests/shell/AppShellSupport.h"

namespace {

struct Mapping {
    int windowX, windowY, logicalX, logicalY;
};

// Puts the device on the recording backend at a size and mode and maps each case.
void ExpectMapping(int width, int height, bool fullScreen, const std::vector<Mapping>& cases) {
    auto* d3d = new render_layer::RecordingDirect3D();
    Render::device.UseDirect3D(d3d);
    Render::device.CreateDevice(nullptr, false, 800, 600);
    Render::device.Reset(fullScreen ? 0 : 1, width, height);
    ConnectedRoot connected;
    MouseInput::Reset();
    for (const Mapping& m : cases) {
        connected.root.calls.clear();
        MouseInput::SetPosition(m.windowX, m.windowY);
        EXPECT_EQ(m.logicalX, MouseInput::x) << width << "x" << height << " " << m.windowX << "," << m.windowY;
        EXPECT_EQ(m.logicalY, MouseInput::y) << width << "x" << height << " " << m.windowX << "," << m.windowY;
        EXPECT_EQ(std::vector<std::string>{RecordingRoot::At("move", m.logicalX, m.logicalY)}, connected.root.calls);
    }
    Render::device.Release();
}

WindowMessage Msg(WindowMessage::Type type, int code = 0, int x = 0, int y = 0) {
    WindowMessage m;
    m.type = type;
    m.code = code;
    m.x = x;
    m.y = y;
    return m;
}

}  // namespace

TEST(MouseMappingTest, Windowed800x600) {
    ExpectMapping(800, 600, false, {{0, 0, 0, 599}, {799, 599, 799, 0}, {400, 300, 400, 299}, {0, 599, 0, 0}});
}

TEST(MouseMappingTest, FullScreen1280x1024HasBarsAboveAndBelow) {
    // The 4:3 picture is 1280 x 960 from row 32 to row 991.
    ExpectMapping(1280, 1024, true,
                  {{0, 991, 0, 0}, {1279, 32, 799, 599}, {640, 512, 400, 299}, {10, 5, 6, 616}, {10, 1020, 6, -18}});
}

TEST(MouseMappingTest, FullScreen1920x1080HasBarsLeftAndRight) {
    // The 4:3 picture is 1440 x 1080 from column 240 to column 1679.
    ExpectMapping(1920, 1080, true,
                  {{240, 1079, 0, 0}, {1679, 0, 799, 599}, {960, 540, 400, 299}, {100, 540, -77, 299},
                   {1900, 540, 922, 299}});
}

TEST(MouseInputTest, WheelKeepsItsRemainder) {
    ConnectedRoot connected;
    MouseInput::Reset();
    for (int i = 0; i < 3; ++i) MouseInput::MouseWheel(40);
    EXPECT_EQ(std::vector<std::string>{"MouseWheel true"}, connected.root.calls);
    EXPECT_EQ(0, MouseInput::wheelRemainder);
    connected.root.calls.clear();
    MouseInput::MouseWheel(-240);
    EXPECT_EQ((std::vector<std::string>{"MouseWheel false", "MouseWheel false"}), connected.root.calls);
    connected.root.calls.clear();
    MouseInput::MouseWheel(-100);
    MouseInput::MouseWheel(50);
    EXPECT_TRUE(connected.root.calls.empty());
    EXPECT_EQ(-50, MouseInput::wheelRemainder);
}

TEST(MouseInputTest, ButtonsReachTheTreeOncePerPressAtTheKeptPosition) {
    ConnectedRoot connected;
    MouseInput::Reset();
    MouseInput::x = 12;
    MouseInput::y = 34;
    MouseInput::MouseDown();
    MouseInput::MouseDown();
    MouseInput::MouseDoubleClick();
    MouseInput::MouseUp();
    MouseInput::MouseUp();
    MouseInput::MouseDoubleClick();
    MouseInput::RightButtonUp();
    MouseInput::RightButtonDown();
    MouseInput::RightButtonUp();
    const std::vector<std::string> expected = {"down 12 34", "up 12 34", "double 12 34", "rdown 12 34", "rup 12 34"};
    EXPECT_EQ(expected, connected.root.calls);
}

TEST(KeyMappingTest, ScancodesGiveTheVirtualKeyNumbers) {
    const std::pair<int, int> cases[] = {
        {SDL_SCANCODE_A, 0x41},      {SDL_SCANCODE_Z, 0x5A},       {SDL_SCANCODE_0, 0x30},
        {SDL_SCANCODE_9, 0x39},      {SDL_SCANCODE_F1, 0x70},      {SDL_SCANCODE_F12, 0x7B},
        {SDL_SCANCODE_RETURN, 0x0D}, {SDL_SCANCODE_ESCAPE, 0x1B},  {SDL_SCANCODE_BACKSPACE, 0x08},
        {SDL_SCANCODE_SPACE, 0x20},  {SDL_SCANCODE_LEFT, 0x25},    {SDL_SCANCODE_DOWN, 0x28},
        {SDL_SCANCODE_DELETE, 0x2E}, {SDL_SCANCODE_KP_0, 0x60},    {SDL_SCANCODE_KP_9, 0x69},
        {SDL_SCANCODE_RSHIFT, 0x10}, {SDL_SCANCODE_LCTRL, 0x11},   {SDL_SCANCODE_MINUS, 0xBD},
        {SDL_SCANCODE_GRAVE, 0xC0},  {SDL_SCANCODE_MUTE, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(c.second, VirtualKeyFromScancode(c.first)) << c.first;
}

TEST(KeyMappingTest, LetterKeysFollowTheLayoutsLabelsAndOtherKeysTheirPlace) {
    struct Case {
        const char* layout;
        SDL_Scancode place;
        SDL_Keycode label;
        int vk;
    };
    const Case cases[] = {
        {"AZERTY", SDL_SCANCODE_Q, SDLK_a, 'A'},
        {"AZERTY", SDL_SCANCODE_A, SDLK_q, 'Q'},
        {"AZERTY", SDL_SCANCODE_W, SDLK_z, 'Z'},
        {"AZERTY", SDL_SCANCODE_SEMICOLON, SDLK_m, 'M'},
        {"AZERTY", SDL_SCANCODE_M, SDLK_COMMA, 0xBC},
        {"AZERTY", SDL_SCANCODE_1, SDLK_AMPERSAND, '1'},
        {"AZERTY", SDL_SCANCODE_2, 0xE9, '2'},
        {"QWERTZ", SDL_SCANCODE_Y, SDLK_z, 'Z'},
        {"QWERTZ", SDL_SCANCODE_Z, SDLK_y, 'Y'},
        {"QWERTZ", SDL_SCANCODE_LEFTBRACKET, 0xFC, 0xDB},
        {"Dvorak", SDL_SCANCODE_Q, SDLK_QUOTE, 0xDE},
        {"Dvorak", SDL_SCANCODE_E, SDLK_PERIOD, 0xBE},
        {"Russian", SDL_SCANCODE_F, 0x430, 'F'},
        {"US", SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 0x1B},
        {"US", SDL_SCANCODE_F10, SDLK_F10, 0x79},
        {"US", SDL_SCANCODE_KP_5, SDLK_KP_5, 0x65},
        {"US", SDL_SCANCODE_MUTE, SDLK_MUTE, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.layout) + " " + SDL_GetScancodeName(c.place));
        SDL_Event down{};
        down.type = SDL_KEYDOWN;
        down.key.state = SDL_PRESSED;
        down.key.keysym.scancode = c.place;
        down.key.keysym.sym = c.label;
        SDL_Event up = down;
        up.type = SDL_KEYUP;
        up.key.state = SDL_RELEASED;
        std::deque<WindowMessage> queue;
        TranslateKeyEvent(down, queue);
        TranslateKeyEvent(up, queue);
        if (c.vk == 0) {
            ASSERT_EQ(1u, queue.size());
            EXPECT_EQ(WindowMessage::KEYUP, queue.back().type);
            continue;
        }
        ASSERT_GE(queue.size(), 2u);
        EXPECT_EQ(c.vk == 0x79 ? WindowMessage::SYSKEYDOWN : WindowMessage::KEYDOWN, queue.front().type);
        EXPECT_EQ(c.vk, queue.front().code);
        EXPECT_EQ(WindowMessage::KEYUP, queue.back().type);
        EXPECT_EQ(c.vk, queue.back().code);
    }
    // Escape also types its control character; with Alt a letter is a system key.
    SDL_Event escape{};
    escape.type = SDL_KEYDOWN;
    escape.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
    escape.key.keysym.sym = SDLK_ESCAPE;
    SDL_Event altA = escape;
    altA.key.keysym.scancode = SDL_SCANCODE_Q;
    altA.key.keysym.sym = SDLK_a;
    altA.key.keysym.mod = KMOD_LALT;
    std::deque<WindowMessage> queue;
    TranslateKeyEvent(escape, queue);
    TranslateKeyEvent(altA, queue);
    ASSERT_EQ(3u, queue.size());
    EXPECT_EQ(WindowMessage::CHAR, queue[1].type);
    EXPECT_EQ(0x1B, queue[1].code);
    EXPECT_EQ(WindowMessage::SYSKEYDOWN, queue[2].type);
    EXPECT_EQ('A', queue[2].code);
}

TEST(KeyMappingTest, TypedTextBecomesWindows1251BytesAndWhatItCannotHoldAVisibleReplacement) {
    // "Aб", "Ё", "ё", "№", euro sign, a Chinese character and a broken sequence (each replaced).
    const std::vector<int> expected = {0x41, 0xE1, 0xA8, 0xB8, 0xB9, 0x88, '_', '_'};
    EXPECT_EQ(expected, Windows1251FromUtf8("A\xD0\xB1\xD0\x81\xD1\x91\xE2\x84\x96\xE2\x82\xAC\xE4\xB8\xAD\xD0"));
    EXPECT_EQ(0xC0, Windows1251FromCodePoint(0x0410));
    EXPECT_EQ(0xFF, Windows1251FromCodePoint(0x044F));
    EXPECT_EQ(-1, Windows1251FromCodePoint(0x00E9));
}

class WindowProcedureTest : public AppShellStore {
protected:
    void SetUp() override {
        AppShellStore::SetUp();
        MouseInput::Reset();
        ResetScreensaverReference();
        MessageServer::SetScriptCall([this](const std::string& function, const std::string& text) {
            scriptCalls.push_back(function + "(" + text + ")");
        });
        // A device of 800 x 600 so that moves map one to one.
        Render::device.UseDirect3D(new render_layer::RecordingDirect3D());
        Render::device.CreateDevice(nullptr, false, 800, 600);
    }
    void TearDown() override {
        Render::device.Release();
        MessageServer::SetScriptCall(nullptr);
        AppShellStore::TearDown();
    }
    // The posted messages reach the script as the container would deliver them.
    std::vector<std::string> Delivered() {
        ProcessPostedMessages();
        return scriptCalls;
    }

    ConnectedRoot connected;
    std::vector<std::string> scriptCalls;
};

TEST_F(WindowProcedureTest, KeysCharactersAndWheelOutsideScreensaverMode) {
    EXPECT_EQ(0, HandleWindowMessage(Msg(WindowMessage::KEYDOWN, 27)));
    EXPECT_EQ(0, HandleWindowMessage(Msg(WindowMessage::CHAR, 0xE1)));
    EXPECT_EQ(0, HandleWindowMessage(Msg(WindowMessage::CHAR, 300)));
    WindowMessage ctrlWheel = Msg(WindowMessage::MOUSEWHEEL, 120);
    ctrlWheel.shiftOrControl = true;
    EXPECT_EQ(1, HandleWindowMessage(ctrlWheel));
    EXPECT_EQ(0, HandleWindowMessage(Msg(WindowMessage::MOUSEWHEEL, 120)));
    EXPECT_EQ((std::vector<std::string>{"KeyPress -27", "KeyPress 225", "MouseWheel true"}), connected.root.calls);
    // Alt+Enter flips the player's full-screen value and nothing else.
    HandleWindowMessage(Msg(WindowMessage::SYSKEYDOWN, 0x0D));
    EXPECT_TRUE(PermanentStorage::GetLocalBool("isFullScreen"));
    HandleWindowMessage(Msg(WindowMessage::SYSKEYDOWN, 0x0D));
    EXPECT_FALSE(PermanentStorage::GetLocalBool("isFullScreen"));
    EXPECT_TRUE(Delivered().empty());
}

TEST_F(WindowProcedureTest, ScreensaverModeEndsOnKeysAndMovesOfMoreThanFivePixels) {
    PermanentStorage::SetGlobalBool("temp:ScreensaverMode", true);
    HandleWindowMessage(Msg(WindowMessage::MOUSEMOVE, 0, 100, 100));
    HandleWindowMessage(Msg(WindowMessage::MOUSEMOVE, 0, 105, 95));
    HandleWindowMessage(Msg(WindowMessage::MOUSEMOVE, 0, 110, 90));  // the reference follows
    HandleWindowMessage(Msg(WindowMessage::LBUTTONDOWN));
    HandleWindowMessage(Msg(WindowMessage::CHAR, 65));
    EXPECT_TRUE(Delivered().empty());
    EXPECT_EQ((std::vector<std::string>{"move 100 499", "move 105 504", "move 110 509"}),
              std::vector<std::string>(connected.root.calls.begin(), connected.root.calls.begin() + 3));
    connected.root.calls.clear();
    HandleWindowMessage(Msg(WindowMessage::MOUSEMOVE, 0, 116, 90));
    EXPECT_TRUE(connected.root.calls.empty());  // the move that ends it goes nowhere else
    EXPECT_EQ(std::vector<std::string>{"GameFunc(Screen saver done)"}, Delivered());
    HandleWindowMessage(Msg(WindowMessage::KEYDOWN, 32));
    HandleWindowMessage(Msg(WindowMessage::SYSKEYDOWN, 0x73));
    EXPECT_EQ(3u, Delivered().size());
    EXPECT_TRUE(connected.root.calls.empty());
}

TEST(WindowSizeTest, WindowedSizeScalesByDpiAndShrinksIntoTheWorkArea) {
    struct Case {
        float scale;
        int workWidth, workHeight;
        int width, height;
    } cases[] = {
        {1.0f, 1920, 1040, 800, 600},  {1.25f, 1920, 1040, 1000, 750}, {1.25f, 1024, 700, 933, 700},
        {1.5f, 1100, 1000, 1100, 825}, {1.0f, 800, 600, 800, 600},
    };
    for (const Case& c : cases) {
        const Rect size = Window::ComputeWindowedSize(c.scale, Rect(0, 0, c.workWidth, c.workHeight));
        EXPECT_EQ(c.width, size.width) << c.scale << " " << c.workWidth << "x" << c.workHeight;
        EXPECT_EQ(c.height, size.height) << c.scale << " " << c.workWidth << "x" << c.workHeight;
    }
}
