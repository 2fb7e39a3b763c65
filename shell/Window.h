#pragma once
// The one top-level window of the game program: an SDL window with the render device on it,
// full screen or windowed, and the translation of the desktop's events into window messages.

#include <deque>
#include <memory>

#include "core/Object.h"
#include "core/Rect.h"
#include "platform/render/D3D8.h"
#include "shell/WindowMessage.h"

union SDL_Event;

extern const char* const WINDOW_CLASS_NAME;
extern const char* const WINDOW_TITLE;

class Window : public Interface {
public:
    // Creates and shows the window and the render device on it. Under an AssertThrowGuard a failed
    // check of the creation throws after the window has been destroyed again.
    Window(int showCommand, bool fullScreen);
    ~Window() override;

    bool IsFullscreen() const { return _isFullscreen; }
    void SwitchToFullscreen();
    void SwitchToWindowed();
    bool IsCursorInClient() const;
    Rect GetWindowSize(bool fullScreen) const;
    Rect GetClientSize() const;
    void UpdateWorkArea();
    HWND GetHandle() const { return _window; }

    // The window procedure.
    int HandleMessage(const WindowMessage& message);

    // The message queue: takes one message without waiting; false when there is none.
    bool PeekMessage(WindowMessage& message);
    // Waits for the next message.
    void WaitMessage(WindowMessage& message);
    // Puts a message at the end of the queue (replayed input, a quit request).
    void PostMessage(const WindowMessage& message);

    // The outer size of the windowed window for a client of 800 x 600 scaled by the DPI factor,
    // shrunk uniformly when it does not fit the work area.
    static Rect ComputeWindowedSize(float dpiScale, const Rect& workArea);

private:
    void TranslateEvents(bool wait);
    void Translate(const void* event);
    void CenterWindow();

    HWND _window = nullptr;
    bool _isFullscreen = false;
    Rect _workArea;
    bool _mouseInside = false;
    std::deque<WindowMessage> _queue;
};

// What the window procedure does with every message but the settings change (which re-reads the
// work area): activation, paint and close reach the application, input reaches MouseInput; in
// screensaver mode keys and larger mouse moves send "Screen saver done" to "post:lua:GameFunc".
// Returns the message's result.
int HandleWindowMessage(const WindowMessage& message);

// The window messages of a key going down or up on the desktop: the key's virtual-key number
// (VirtualKeyFromKey), a system key with Alt or for F10, and the control character that Enter,
// Backspace, Escape and Tab type. Keys without a number give nothing going down.
void TranslateKeyEvent(const SDL_Event& event, std::deque<WindowMessage>& queue);

// The horizontal DPI factor of the desktop against 96 DPI; 1 where the desktop reports no
// higher density.
float GetDpiScale();

// The mouse-move rule of screensaver mode: true when the move ends the screensaver (a remembered
// position exists and x or y moved more than 5 pixels); otherwise the position is remembered.
bool ScreensaverMoveEnds(int x, int y);
// Forgets the remembered position (tests).
void ResetScreensaverReference();
