#pragma once
// The mouse record shared by the window, the main loop and the control tree's input road, and
// the conversions of raw input: window pixels to logical coordinates, keys to the virtual-key
// numbers the content knows, typed text to single Windows-1251 bytes.

#include <cstdint>
#include <string>
#include <vector>

#include "core/CodePage.h"
#include "shell/WindowMessage.h"

class MouseInput {
public:
    // Last mouse position in logical coordinates (origin bottom-left, y up).
    static int x;
    static int y;
    static bool leftButtonDown;
    static bool rightButtonDown;
    // Wheel units not yet handed on as whole steps (120 units a step).
    static int wheelRemainder;

    // Window pixels to logical coordinates through the render device's picture rectangle; stores
    // them and moves the pointer in the control tree.
    static void SetPosition(int windowX, int windowY);
    // "KeyPress" with the decimal code: negative for a key going down, 0..255 for a character.
    static void KeyPress(int code);
    // Adds the delta; every whole 120 units forward gives "MouseWheel" "true", backward "false".
    static void MouseWheel(int delta);

    // Button marks: each press reaches the tree once, at the last kept position.
    static void MouseDown();
    static void MouseUp();
    static void MouseDoubleClick();
    static void RightButtonDown();
    static void RightButtonUp();
    static void RightButtonDouble();

    // Back to the state at start (tests).
    static void Reset();
};

// The logical position of a window pixel for a picture rectangle with the columns left..right
// and the rows top..bottom (top < bottom, rows counted downwards) of the back buffer.
void WindowToLogical(int windowX, int windowY, float left, float right, float top, float bottom, int& logicalX,
                     int& logicalY);

// Virtual-key number for a physical key (an SDL scancode) by its place on a US keyboard; 0 for
// keys without one.
int VirtualKeyFromScancode(int scancode);
// Virtual-key number for a key of the current layout (SDL key code and scancode): a Latin letter
// by its label, wherever the layout puts it; a sign on a US letter place (the comma of AZERTY) by
// the sign; every other key (digits, editing and function keys, the letters of layouts without
// Latin ones) by its place. 0 for keys without one.
int VirtualKeyFromKey(int keycode, int scancode);
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_ESCAPE = 0x1B;

// The character messages of typed UTF-8 text: one Windows-1251 byte each (core/CodePage.h).
std::vector<WindowMessage> CharMessagesFromUtf8(const std::string& text);
