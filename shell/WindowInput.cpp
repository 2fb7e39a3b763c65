#include "shell/WindowInput.h"

#include <SDL_scancode.h>

#include <cmath>

#include "core/Message.h"
#include "shell/ApplicationRoot.h"
#include "shell/RenderDevice.h"

int MouseInput::x = 0;
int MouseInput::y = 0;
bool MouseInput::leftButtonDown = false;
bool MouseInput::rightButtonDown = false;
int MouseInput::wheelRemainder = 0;

void WindowToLogical(int windowX, int windowY, float left, float right, float top, float bottom, int& logicalX,
                     int& logicalY) {
    const float l = std::trunc(left);
    logicalX = static_cast<int>(std::trunc(800.0f * (static_cast<float>(windowX) - l) / (right - left)));
    const float flipped = std::trunc((bottom - top - 1.0f) - (static_cast<float>(windowY) - top));
    logicalY = static_cast<int>(std::trunc(600.0f * flipped / (bottom - top)));
}

void MouseInput::SetPosition(int windowX, int windowY) {
    float left = 0.0f;
    float right = 0.0f;
    float top = 0.0f;
    float bottom = 0.0f;
    Render::device.GetPictureRect(left, right, top, bottom);
    if (right - left <= 0.0f || bottom - top <= 0.0f) return;  // no device yet
    WindowToLogical(windowX, windowY, left, right, top, bottom, x, y);
    ApplicationRoot::Get().MouseMove(x, y);
}

void MouseInput::KeyPress(int code) { ApplicationRoot::Get().AcceptMessage(Message("KeyPress", std::to_string(code))); }

void MouseInput::MouseWheel(int delta) {
    wheelRemainder += delta;
    while (wheelRemainder >= 120) {
        ApplicationRoot::Get().AcceptMessage(Message("MouseWheel", "true"));
        wheelRemainder -= 120;
    }
    while (wheelRemainder <= -120) {
        ApplicationRoot::Get().AcceptMessage(Message("MouseWheel", "false"));
        wheelRemainder += 120;
    }
}

void MouseInput::MouseDown() {
    if (leftButtonDown) return;
    leftButtonDown = true;
    ApplicationRoot::Get().MouseDown(x, y);
}

void MouseInput::MouseDoubleClick() {
    if (leftButtonDown) return;
    leftButtonDown = true;
    ApplicationRoot::Get().MouseDoubleClick(x, y);
}

void MouseInput::MouseUp() {
    if (!leftButtonDown) return;
    leftButtonDown = false;
    ApplicationRoot::Get().MouseUp(x, y);
}

void MouseInput::RightButtonDown() {
    if (rightButtonDown) return;
    rightButtonDown = true;
    ApplicationRoot::Get().RightButtonDown(x, y);
}

void MouseInput::RightButtonDouble() {
    if (rightButtonDown) return;
    rightButtonDown = true;
    ApplicationRoot::Get().RightButtonDouble(x, y);
}

void MouseInput::RightButtonUp() {
    if (!rightButtonDown) return;
    rightButtonDown = false;
    ApplicationRoot::Get().RightButtonUp(x, y);
}

void MouseInput::Reset() {
    x = 0;
    y = 0;
    leftButtonDown = false;
    rightButtonDown = false;
    wheelRemainder = 0;
}

int VirtualKeyFromScancode(int scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return 'A' + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return '1' + (scancode - SDL_SCANCODE_1);
    if (scancode == SDL_SCANCODE_0) return '0';
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) return 0x70 + (scancode - SDL_SCANCODE_F1);
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9) return 0x61 + (scancode - SDL_SCANCODE_KP_1);
    switch (scancode) {
        case SDL_SCANCODE_BACKSPACE: return VK_BACK;
        case SDL_SCANCODE_TAB: return VK_TAB;
        case SDL_SCANCODE_RETURN: return VK_RETURN;
        case SDL_SCANCODE_KP_ENTER: return VK_RETURN;
        case SDL_SCANCODE_LSHIFT: case SDL_SCANCODE_RSHIFT: return 0x10;
        case SDL_SCANCODE_LCTRL: case SDL_SCANCODE_RCTRL: return 0x11;
        case SDL_SCANCODE_LALT: case SDL_SCANCODE_RALT: return 0x12;
        case SDL_SCANCODE_PAUSE: return 0x13;
        case SDL_SCANCODE_CAPSLOCK: return 0x14;
        case SDL_SCANCODE_ESCAPE: return VK_ESCAPE;
        case SDL_SCANCODE_SPACE: return 0x20;
        case SDL_SCANCODE_PAGEUP: return 0x21;
        case SDL_SCANCODE_PAGEDOWN: return 0x22;
        case SDL_SCANCODE_END: return 0x23;
        case SDL_SCANCODE_HOME: return 0x24;
        case SDL_SCANCODE_LEFT: return 0x25;
        case SDL_SCANCODE_UP: return 0x26;
        case SDL_SCANCODE_RIGHT: return 0x27;
        case SDL_SCANCODE_DOWN: return 0x28;
        case SDL_SCANCODE_PRINTSCREEN: return 0x2C;
        case SDL_SCANCODE_INSERT: return 0x2D;
        case SDL_SCANCODE_DELETE: return 0x2E;
        case SDL_SCANCODE_LGUI: return 0x5B;
        case SDL_SCANCODE_RGUI: return 0x5C;
        case SDL_SCANCODE_APPLICATION: return 0x5D;
        case SDL_SCANCODE_KP_0: return 0x60;
        case SDL_SCANCODE_KP_MULTIPLY: return 0x6A;
        case SDL_SCANCODE_KP_PLUS: return 0x6B;
        case SDL_SCANCODE_KP_MINUS: return 0x6D;
        case SDL_SCANCODE_KP_PERIOD: return 0x6E;
        case SDL_SCANCODE_KP_DIVIDE: return 0x6F;
        case SDL_SCANCODE_NUMLOCKCLEAR: return 0x90;
        case SDL_SCANCODE_SCROLLLOCK: return 0x91;
        case SDL_SCANCODE_SEMICOLON: return 0xBA;
        case SDL_SCANCODE_EQUALS: return 0xBB;
        case SDL_SCANCODE_COMMA: return 0xBC;
        case SDL_SCANCODE_MINUS: return 0xBD;
        case SDL_SCANCODE_PERIOD: return 0xBE;
        case SDL_SCANCODE_SLASH: return 0xBF;
        case SDL_SCANCODE_GRAVE: return 0xC0;
        case SDL_SCANCODE_LEFTBRACKET: return 0xDB;
        case SDL_SCANCODE_BACKSLASH: return 0xDC;
        case SDL_SCANCODE_RIGHTBRACKET: return 0xDD;
        case SDL_SCANCODE_APOSTROPHE: return 0xDE;
        default: return 0;
    }
}

namespace {
// The US keys of the signs that some layouts put on letter places.
int VirtualKeyFromSign(int sign) {
    switch (sign) {
        case ';': return 0xBA;
        case '=': return 0xBB;
        case ',': return 0xBC;
        case '-': return 0xBD;
        case '.': return 0xBE;
        case '/': return 0xBF;
        case '`': return 0xC0;
        case '[': return 0xDB;
        case '\\': return 0xDC;
        case ']': return 0xDD;
        case '\'': return 0xDE;
        default: return 0;
    }
}
}  // namespace

int VirtualKeyFromKey(int keycode, int scancode) {
    if (keycode >= 'a' && keycode <= 'z') return 'A' + (keycode - 'a');
    const bool letterPlace = scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z;
    if (letterPlace && keycode > ' ' && keycode < 0x7F) return VirtualKeyFromSign(keycode);
    return VirtualKeyFromScancode(scancode);
}

std::vector<WindowMessage> CharMessagesFromUtf8(const std::string& text) {
    std::vector<WindowMessage> messages;
    for (int byte : Windows1251FromUtf8(text)) {
        WindowMessage c;
        c.type = WindowMessage::CHAR;
        c.code = byte;
        messages.push_back(c);
    }
    return messages;
}
