#include "shell/Window.h"

#include <SDL.h>

#include <cstdlib>

#include "core/Assert.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "platform/render/DriverLeaks.h"
#include "platform/shell/Desktop.h"
#include "platform/shell/StopRequest.h"
#include "shell/Application.h"
#include "shell/RenderDevice.h"
#include "shell/WindowInput.h"

const char* const WINDOW_CLASS_NAME = "MarivelWindow";
const char* const WINDOW_TITLE = "Marivel";

namespace {

bool hasReference = false;
int referenceX = 0;
int referenceY = 0;

bool IsScreensaverMode() {
    return PermanentStorage::IsLoaded() && PermanentStorage::GetGlobalBoolOrDef("temp:ScreensaverMode", false);
}

void SendScreensaverEnd() { SendMessage("post:lua:GameFunc", "Screen saver done"); }

}  // namespace

bool ScreensaverMoveEnds(int x, int y) {
    if (hasReference && (std::abs(x - referenceX) > 5 || std::abs(y - referenceY) > 5)) return true;
    hasReference = true;
    referenceX = x;
    referenceY = y;
    return false;
}

void ResetScreensaverReference() { hasReference = false; }

float GetDpiScale() {
    float horizontal = 0.0f;
    if (SDL_GetDisplayDPI(0, nullptr, &horizontal, nullptr) != 0) return 1.0f;
    // Desktops report the physical density; only a clearly denser screen scales the window.
    if (horizontal < 120.0f) return 1.0f;
    return horizontal * 0.010416667f;
}

Rect Window::ComputeWindowedSize(float dpiScale, const Rect& workArea) {
    // The desktop draws the frame around the client area: the outer size is the client size.
    const int w = static_cast<int>(800 * dpiScale);
    const int h = static_cast<int>(600 * dpiScale);
    const int W = workArea.width;
    const int H = workArea.height;
    if (W <= 0 || H <= 0 || (w <= W && h <= H)) return Rect(0, 0, w, h);
    const float rx = static_cast<float>(W) / static_cast<float>(w);
    const float ry = static_cast<float>(H) / static_cast<float>(h);
    if (rx < ry) return Rect(0, 0, W, static_cast<int>(static_cast<float>(h) * rx));
    return Rect(0, 0, static_cast<int>(static_cast<float>(w) * ry), H);
}

Window::Window(int showCommand, bool fullScreen) : _isFullscreen(fullScreen) {
    (void)showCommand;
    {
        render_layer::DriverLeakScope driver;
        SDL_InitSubSystem(SDL_INIT_VIDEO);
    }
    UpdateWorkArea();
    const Rect size = GetWindowSize(fullScreen);
    _window = CreateDeviceWindow(WINDOW_TITLE, size.width, size.height, fullScreen, false);
    Assert(_window != NULL);
    if (_window == nullptr) return;
    SDL_SetWindowData(_window, "class", const_cast<char*>(WINDOW_CLASS_NAME));
    if (!fullScreen) CenterWindow();
    const Rect client = GetClientSize();
    try {
        Render::device.CreateDevice(_window, fullScreen, client.width, client.height);
    } catch (...) {
        render_layer::DriverLeakScope driver;
        SDL_DestroyWindow(_window);
        _window = nullptr;
        throw;
    }
    // Headless, nobody moves a pointer: it starts in the middle of the picture.
    if (Desktop::IsHeadless()) {
        WindowMessage move;
        move.type = WindowMessage::MOUSEMOVE;
        move.x = client.width / 2;
        move.y = client.height / 2;
        _queue.push_back(move);
        _mouseInside = true;
    }
}

Window::~Window() {
    render_layer::DriverLeakScope driver;
    if (_window) SDL_DestroyWindow(_window);
    _window = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void Window::UpdateWorkArea() {
    SDL_Rect area{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &area) != 0) {
        SDL_DisplayMode mode;
        if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
            area.w = mode.w;
            area.h = mode.h;
        }
    }
    _workArea = Rect(0, 0, area.w, area.h);
}

Rect Window::GetWindowSize(bool fullScreen) const {
    if (fullScreen) return Render::device.GetFullScreenRect(800, 600);
    return ComputeWindowedSize(GetDpiScale(), _workArea);
}

Rect Window::GetClientSize() const {
    int w = 0;
    int h = 0;
    if (_window) SDL_GL_GetDrawableSize(_window, &w, &h);
    return Rect(0, 0, w, h);
}

void Window::CenterWindow() {
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(_window, &w, &h);
    SDL_Rect area{0, 0, _workArea.width, _workArea.height};
    SDL_GetDisplayUsableBounds(0, &area);
    int left = (area.x + area.x + area.w) / 2 - w / 2;
    int top = (area.y + area.y + area.h) / 2 - h / 2;
    if (left < area.x) {
        left = area.x;
    } else if (left + w > area.x + area.w) {
        left = area.x + area.w - w;
    }
    if (top < area.y) {
        top = area.y;
    } else if (top + h > area.y + area.h) {
        top = area.y + area.h - h;
    }
    SDL_SetWindowPosition(_window, left, top);
}

bool Window::IsCursorInClient() const {
    if (_window == nullptr) return false;
    if (Desktop::IsHeadless()) return _mouseInside;
    if (SDL_GetMouseFocus() != _window) return false;
    int x = 0;
    int y = 0;
    SDL_GetMouseState(&x, &y);
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(_window, &w, &h);
    return x >= 0 && y >= 0 && x < w && y < h;
}

void Window::SwitchToFullscreen() {
    if (_isFullscreen || _window == nullptr) return;
    _isFullscreen = true;
    const Rect size = GetWindowSize(true);
    SDL_SetWindowSize(_window, size.width, size.height);
    SDL_SetWindowPosition(_window, 0, 0);
    const Rect client = GetClientSize();
    SDL_RaiseWindow(_window);
    Render::device.Reset(0, client.width, client.height);
}

void Window::SwitchToWindowed() {
    if (!_isFullscreen || _window == nullptr) return;
    _isFullscreen = false;
    const Rect size = GetWindowSize(false);
    {
        render_layer::DriverLeakScope driver;
        SDL_SetWindowFullscreen(_window, 0);
    }
    SDL_SetWindowSize(_window, size.width, size.height);
    const Rect client = GetClientSize();
    SDL_ShowWindow(_window);
    SDL_RaiseWindow(_window);
    Render::device.Reset(1, size.width, size.height);
    (void)client;
    CenterWindow();
}

int Window::HandleMessage(const WindowMessage& message) {
    if (message.type == WindowMessage::SETTINGCHANGE) {
        UpdateWorkArea();
        return 0;
    }
    return HandleWindowMessage(message);
}

int HandleWindowMessage(const WindowMessage& message) {
    Application* app = Core::appInstance;
    switch (message.type) {
        case WindowMessage::ACTIVATE:
            if ((message.code == WA_ACTIVE || message.code == WA_CLICKACTIVE)) {
                if (!message.minimized && app) app->OnActivate();
            } else if (message.code == WA_INACTIVE) {
                if (app) app->OnDeactivate();
            } else {
                ReportError("Invalid WM_ACTIVATE parameter " + std::to_string(message.code));
            }
            return 0;
        case WindowMessage::PAINT:
            if (app) app->RequestRepaint();
            return 0;
        case WindowMessage::CLOSE:
            if (app) app->Stop();
            return 0;
        case WindowMessage::KEYDOWN: {
            if (IsScreensaverMode()) {
                SendScreensaverEnd();
                return 0;
            }
            const int key = message.code;
            Assert(key > 0);
            MouseInput::KeyPress(-key);
            return 0;
        }
        case WindowMessage::KEYUP:
            return 0;
        case WindowMessage::CHAR: {
            const int key = message.code;
            Assert(key >= 0);
            if (key < 256) MouseInput::KeyPress(key);
            return 0;
        }
        case WindowMessage::SYSKEYDOWN:
            if (IsScreensaverMode()) {
                SendScreensaverEnd();
            } else if (message.code == VK_RETURN) {
                PermanentStorage::SetLocalBool("isFullScreen",
                                               !PermanentStorage::GetLocalBoolOrDef("isFullScreen", false));
            }
            return 0;
        case WindowMessage::MOUSEMOVE:
            if (IsScreensaverMode() && ScreensaverMoveEnds(message.x, message.y)) {
                SendScreensaverEnd();
                return 0;
            }
            MouseInput::SetPosition(message.x, message.y);
            return 0;
        case WindowMessage::LBUTTONDOWN: MouseInput::MouseDown(); return 0;
        case WindowMessage::LBUTTONUP: MouseInput::MouseUp(); return 0;
        case WindowMessage::LBUTTONDBLCLK: MouseInput::MouseDoubleClick(); return 0;
        case WindowMessage::RBUTTONDOWN: MouseInput::RightButtonDown(); return 0;
        case WindowMessage::RBUTTONUP: MouseInput::RightButtonUp(); return 0;
        case WindowMessage::RBUTTONDBLCLK: MouseInput::RightButtonDouble(); return 0;
        case WindowMessage::MOUSEWHEEL:
            if (message.shiftOrControl) return 1;
            MouseInput::MouseWheel(message.code);
            return 0;
        default:
            return 0;
    }
}

void TranslateKeyEvent(const SDL_Event& event, std::deque<WindowMessage>& queue) {
    if (event.type != SDL_KEYDOWN && event.type != SDL_KEYUP) return;
    const int key = VirtualKeyFromKey(event.key.keysym.sym, event.key.keysym.scancode);
    WindowMessage m;
    if (event.type == SDL_KEYUP) {
        m.type = WindowMessage::KEYUP;
        m.code = key;
        queue.push_back(m);
        return;
    }
    if (key == 0) return;
    const bool alt = (event.key.keysym.mod & KMOD_ALT) != 0;
    m.type = alt || key == 0x79 ? WindowMessage::SYSKEYDOWN : WindowMessage::KEYDOWN;
    m.code = key;
    queue.push_back(m);
    // Keys that type a control character.
    const bool ctrl = (event.key.keysym.mod & KMOD_CTRL) != 0;
    if (!alt && !ctrl && (key == VK_RETURN || key == VK_BACK || key == VK_ESCAPE || key == VK_TAB)) {
        WindowMessage c;
        c.type = WindowMessage::CHAR;
        c.code = key;
        queue.push_back(c);
    }
}

void Window::PostMessage(const WindowMessage& message) { _queue.push_back(message); }

bool Window::PeekMessage(WindowMessage& message) {
    if (_queue.empty()) TranslateEvents(false);
    if (_queue.empty()) return false;
    message = _queue.front();
    _queue.pop_front();
    return true;
}

void Window::WaitMessage(WindowMessage& message) {
    while (_queue.empty()) TranslateEvents(true);
    message = _queue.front();
    _queue.pop_front();
}

void Window::TranslateEvents(bool wait) {
    if (StopRequest::RequestedSignal() != 0 && !_isStopQueued) {
        // Ends the loop as the system's quit request does.
        _isStopQueued = true;
        WindowMessage quit;
        quit.type = WindowMessage::QUIT;
        _queue.push_back(quit);
        return;
    }
    if (SingleInstanceLock::TakeRaiseRequest() && _window) {
        SDL_ShowWindow(_window);
        SDL_RestoreWindow(_window);
        SDL_RaiseWindow(_window);
    }
    SDL_Event event;
    if (wait) {
        // Wake up now and then to look at raise requests of a later start.
        if (SDL_WaitEventTimeout(&event, 250) == 0) return;
        Translate(&event);
    }
    while (_queue.empty() && SDL_PollEvent(&event)) Translate(&event);
}

void Window::Translate(const void* data) {
    const SDL_Event& event = *static_cast<const SDL_Event*>(data);
    WindowMessage m;
    const Uint32 ownId = _window ? SDL_GetWindowID(_window) : 0;
    auto toPixels = [this](int& x, int& y) {
        int w = 0;
        int h = 0;
        SDL_GetWindowSize(_window, &w, &h);
        const Rect client = GetClientSize();
        if (w > 0 && h > 0 && (client.width != w || client.height != h)) {
            x = x * client.width / w;
            y = y * client.height / h;
        }
    };
    switch (event.type) {
        case SDL_QUIT:
            m.type = WindowMessage::QUIT;
            break;
        case SDL_DISPLAYEVENT:
            m.type = WindowMessage::SETTINGCHANGE;
            break;
        case SDL_WINDOWEVENT:
            if (event.window.windowID != ownId) return;
            switch (event.window.event) {
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    m.type = WindowMessage::ACTIVATE;
                    m.code = WA_ACTIVE;
                    m.minimized = (SDL_GetWindowFlags(_window) & SDL_WINDOW_MINIMIZED) != 0;
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                case SDL_WINDOWEVENT_MINIMIZED:
                    m.type = WindowMessage::ACTIVATE;
                    m.code = WA_INACTIVE;
                    break;
                case SDL_WINDOWEVENT_EXPOSED:
                    m.type = WindowMessage::PAINT;
                    break;
                case SDL_WINDOWEVENT_CLOSE:
                    m.type = WindowMessage::CLOSE;
                    break;
                case SDL_WINDOWEVENT_ENTER:
                    _mouseInside = true;
                    return;
                case SDL_WINDOWEVENT_LEAVE:
                    _mouseInside = false;
                    return;
                default:
                    return;
            }
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            TranslateKeyEvent(event, _queue);
            return;
        case SDL_TEXTINPUT:
            for (const WindowMessage& c : CharMessagesFromUtf8(event.text.text)) _queue.push_back(c);
            return;
        case SDL_MOUSEMOTION:
            if (event.motion.windowID != ownId) return;
            _mouseInside = true;
            m.type = WindowMessage::MOUSEMOVE;
            m.x = event.motion.x;
            m.y = event.motion.y;
            toPixels(m.x, m.y);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            if (event.button.windowID != ownId) return;
            const bool down = event.type == SDL_MOUSEBUTTONDOWN;
            const bool twice = event.button.clicks >= 2 && event.button.clicks % 2 == 0;
            if (event.button.button == SDL_BUTTON_LEFT) {
                m.type = !down ? WindowMessage::LBUTTONUP : twice ? WindowMessage::LBUTTONDBLCLK
                                                                  : WindowMessage::LBUTTONDOWN;
            } else if (event.button.button == SDL_BUTTON_RIGHT) {
                m.type = !down ? WindowMessage::RBUTTONUP : twice ? WindowMessage::RBUTTONDBLCLK
                                                                  : WindowMessage::RBUTTONDOWN;
            } else {
                return;
            }
            m.x = event.button.x;
            m.y = event.button.y;
            break;
        }
        case SDL_MOUSEWHEEL: {
            if (event.wheel.windowID != ownId) return;
            int steps = event.wheel.y;
            if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) steps = -steps;
            if (steps == 0) return;
            m.type = WindowMessage::MOUSEWHEEL;
            m.code = steps * 120;
            m.shiftOrControl = (SDL_GetModState() & (KMOD_SHIFT | KMOD_CTRL)) != 0;
            break;
        }
        default:
            return;
    }
    _queue.push_back(m);
}
