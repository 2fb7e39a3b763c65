#pragma once
// What the window procedure receives: the window messages the program handles, made from the
// desktop's events (or replayed from a file).

struct WindowMessage {
    enum Type {
        NONE,
        ACTIVATE,       // code: WA_INACTIVE, WA_ACTIVE or WA_CLICKACTIVE; minimized
        PAINT,
        CLOSE,
        QUIT,
        SETTINGCHANGE,
        KEYDOWN,        // code: virtual key
        KEYUP,
        SYSKEYDOWN,     // code: virtual key (a key with Alt held)
        CHAR,           // code: character
        MOUSEMOVE,      // x, y: window pixels
        LBUTTONDOWN,
        LBUTTONUP,
        LBUTTONDBLCLK,
        RBUTTONDOWN,
        RBUTTONUP,
        RBUTTONDBLCLK,
        MOUSEWHEEL,     // code: signed delta (120 a step); shiftOrControl
    };
    Type type = NONE;
    int x = 0;
    int y = 0;
    int code = 0;
    bool minimized = false;
    bool shiftOrControl = false;
};

constexpr int WA_INACTIVE = 0;
constexpr int WA_ACTIVE = 1;
constexpr int WA_CLICKACTIVE = 2;
