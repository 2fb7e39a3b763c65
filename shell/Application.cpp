#include "shell/Application.h"

#include "core/Random.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "core/Assert.h"
#include "core/HtmlLog.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "core/PlayerNotice.h"
#include "core/Random.h"
#include "shell/ApplicationRoot.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"
#include "shell/ScreensaverInstall.h"
#include "shell/ScriptApi.h"
#include "shell/ScriptMap.h"
#include "shell/ScriptServices.h"
#include "shell/ShellCommands.h"
#include "shell/SoundSystem.h"
#include "shell/TimePauser.h"
#include "shell/WindowInput.h"

namespace Core {
Application* appInstance = nullptr;
}

int TimePauser::_counter = 0;

TimePauser::TimePauser() {
    Application* app = Core::appInstance;
    _loading = app ? app->_loading : false;
    Assert(_counter >= 0);
    if (_counter == 0 && !_loading && app) app->GetTimer().Pause();
    ++_counter;
    Assert(_counter > 0);
}

TimePauser::~TimePauser() {
    Application* app = Core::appInstance;
    Assert(_loading == (app ? app->_loading : false));
    Assert(_counter > 0);
    --_counter;
    if (_counter == 0 && !_loading && app) app->GetTimer().Resume();
    Assert(_counter >= 0);
}

namespace {

// The ports of the running program.
class SystemPorts : public ApplicationPorts {
public:
    explicit SystemPorts(Application& app) : _app(app) {}

    bool PeekMessage(WindowMessage& message) override {
        Window* window = WindowOf();
        return window ? window->PeekMessage(message) : false;
    }
    void WaitMessage(WindowMessage& message) override {
        Window* window = WindowOf();
        if (window) {
            window->WaitMessage(message);
        } else {
            message = WindowMessage();
            message.type = WindowMessage::QUIT;
        }
    }
    void DispatchMessage(const WindowMessage& message) override {
        Window* window = WindowOf();
        if (window) window->HandleMessage(message);
    }
    // The device answers true while the frame must be skipped.
    bool TestCooperativeLevel() override { return !Render::device.TestCooperativeLevel(); }
    bool HasPendingControllers() override {
        const auto& hook = GetContentHooks().hasPendingControllers;
        return hook ? hook() : false;
    }
    void MergeControllers() override {
        if (GetContentHooks().mergeNewControllers) GetContentHooks().mergeNewControllers();
    }
    void UpdateControllers(float dt) override {
        if (GetContentHooks().updateControllers) GetContentHooks().updateControllers(dt);
    }
    void AddEffectObserver() override {
        if (GetContentHooks().addEffectObserver) GetContentHooks().addEffectObserver();
    }
    void UpdateSound(float dt) override { Sound::soundSystem.Update(dt); }
    void PauseSound() override { Sound::soundSystem.PauseOutput(); }
    void ResumeSound() override { Sound::soundSystem.ResumeOutput(); }
    void BeginFrame() override {
        Render::device.BeginFrame();
        Render::device.SetPictureViewport();
        Render::device.Enter2DMode();
        Render::device.EnableAlphaBlend(true);
        Render::device.SetBlendMode(0);
    }
    void DrawPauseOverlay() override {
        RenderDevice& device = Render::device;
        if (device._d3dDevice) device._d3dDevice->SetTexture(0, NULL);
        device.PushColor(Color(0, 0, 0, 255));
        device.PushAlpha(0.5f);
        device.DrawRect(0, 0, 800, 600);
        device.PopAlpha();
        device.PopColor();
        if (device._d3dDevice) device._d3dDevice->SetTexture(0, device._currentTexture);
        Render::fonts.SetFont("boom");
        const auto& getString = GetContentHooks().getString;
        Render::fonts.DrawString(400, 300, getString ? getString("Paused") : std::string("Paused"), 1.0f, 2, true);
    }
    bool DrawNotice(const std::string& text, float alpha) override {
        RenderDevice& device = Render::device;
        // The content's small text font, else the pause overlay's.
        const char* font = nullptr;
        for (const char* name : {"demo", "boom"}) {
            if (font == nullptr && Render::fonts.DoesFontExist(name)) font = name;
        }
        if (font == nullptr) return false;
        // Lines of whole words within the box (a word longer than a line is cut).
        const float scale = std::string(font) == "demo" ? 1.0f : 0.5f;
        const int width = 740;
        std::vector<std::string> lines;
        std::string line;
        std::size_t at = 0;
        while (at < text.size()) {
            std::size_t end = text.find(' ', at);
            if (end == std::string::npos) end = text.size();
            std::string word = text.substr(at, end - at);
            at = end + 1;
            const std::string joined = line.empty() ? word : line + " " + word;
            if (Render::fonts.GetStringWidth(joined, font) * scale <= width) {
                line = joined;
                continue;
            }
            if (!line.empty()) lines.push_back(line);
            while (Render::fonts.GetStringWidth(word, font) * scale > width && word.size() > 1) {
                std::size_t fit = word.size() - 1;
                while (fit > 1 && Render::fonts.GetStringWidth(word.substr(0, fit), font) * scale > width) --fit;
                lines.push_back(word.substr(0, fit));
                word = word.substr(fit);
            }
            line = word;
        }
        if (!line.empty()) lines.push_back(line);
        const int lineHeight = static_cast<int>(Render::fonts.GetFontHeight(font) * scale) + 2;
        const int height = lineHeight * static_cast<int>(lines.size()) + 16;
        if (device._d3dDevice) device._d3dDevice->SetTexture(0, NULL);
        device.PushColor(Color(20, 24, 60, 255));
        device.PushAlpha(0.85f * alpha);
        device.DrawRect(20, 600 - 12 - height, 760, height);
        device.PopAlpha();
        device.PopColor();
        if (device._d3dDevice) device._d3dDevice->SetTexture(0, device._currentTexture);
        device.PushAlpha(alpha);
        Render::fonts.SetFont(font);
        int y = 600 - 12 - 8 - lineHeight / 2;
        for (const std::string& l : lines) {
            Render::fonts.DrawString(30, y, l, scale, 0, true);
            y -= lineHeight;
        }
        device.PopAlpha();
        return true;
    }
    void WidenForCursor() override {
        RenderDevice& device = Render::device;
        if (!IsFullscreen() || !(device.IsScreenWider() || device.IsScreenTaller())) return;
        float x1 = 0.0f;
        float x2 = 0.0f;
        float y1 = 0.0f;
        float y2 = 0.0f;
        device.GetScreenLogicalRect(x1, x2, y1, y2);
        device.SetOrthoProjection(x1 + x2, y1 + y2, -1000.0f, 1000.0f);
        device.MatrixTranslate(x1, y1, 0.0f);
        device.SetFullViewport();
    }
    void ApplyCursor(CursorChoice choice, bool inClient) override {
        switch (choice) {
            case CursorChoice::HIDE_SYSTEM: Cursor::HideSystemCursor(); break;
            case CursorChoice::SHOW_SYSTEM: Cursor::ShowSystemCursor(); break;
            case CursorChoice::DRAW_PICTURE:
                if (_app._cursor != NULL) _app._cursor->Draw(MouseInput::x, MouseInput::y);
                break;
            case CursorChoice::SET_SYSTEM:
                if (_app._cursor != NULL) _app._cursor->SetSystemCursor(inClient);
                break;
        }
    }
    bool IsFullscreen() override {
        Window* window = WindowOf();
        return window ? window->IsFullscreen() : false;
    }
    bool IsCursorInClient() override {
        Window* window = WindowOf();
        return window ? window->IsCursorInClient() : false;
    }
    void EndFrame() override {
        Render::device.Leave2DMode();
        if (_beforePresent) _beforePresent();
        Render::device.EndFrame();
    }
    void ResetCursorPicture() override {
        if (_app._cursor != NULL) _app._cursor->_current = &_app._cursor->_normal;
    }

    std::function<void()> _beforePresent;

private:
    Window* WindowOf() { return _app._mainWindow == NULL ? nullptr : _app._mainWindow.Get(); }
    Application& _app;
};

ObjectSmartPointer<Variable<bool>> MakeUseSingleCore() {
    return ObjectSmartPointer<Variable<bool>>(new PermanentVariableOrDef<Global, bool>("useSingleCore", false));
}

void ConnectScriptServices() {
    ScriptServices& services = GetScriptServices();
    services.runPaused = [](const std::function<void()>& work) {
        TimePauser pauser;
        work();
    };
    services.closeApplication = &CloseApplication;
    services.runExecutable = &RunExecutable;
    services.shellExecuteOpen = &ShellExecuteOpen;
    services.isScreensaverEnabled = &IsScreensaverEnabled;
    services.installScreensaver = &InstallScreensaver;
    services.uninstallScreensaver = &UninstallScreensaver;
}

}  // namespace

void CloseApplication() {
    if (Core::appInstance) Core::appInstance->Stop();
}

void Application::CreateVariables() {
    _screensaverMode = ObjectSmartPointer<Variable<bool>>(new PermanentVariable<Global, bool>("temp:ScreensaverMode"));
    _isCursorCustom = ObjectSmartPointer<Variable<bool>>(new PermanentGlobalLocalVariable<bool>("isCursorCustom", true));
    _timeScale = ObjectSmartPointer<Variable<float>>(new PermanentVariableOrDef<Global, float>("temp:Time scale", 1.0f));
    _updateLoadScreenCallsVariable = ObjectSmartPointer<Variable<int>>(
        new PermanentVariableOrDef<Global, int>("Number of UpdateLoadScreen calls", 1));
}

Application::Application(std::unique_ptr<ApplicationPorts> ports, const ApplicationOptions& options)
    : _useSingleCore(MakeUseSingleCore()), _timer(_useSingleCore), _ports(std::move(ports)), _options(options) {
    CreateVariables();
    Core::appInstance = this;
    _timer.Start();
}

Application::Application(int showCommand, bool fullScreen, const ApplicationOptions& options)
    : _useSingleCore(MakeUseSingleCore()), _timer(_useSingleCore), _options(options) {
    auto ports = std::make_unique<SystemPorts>(*this);
    SystemPorts* system = ports.get();
    _ports = std::move(ports);
    system->_beforePresent = [this] {
        if (_options.beforePresent) _options.beforePresent(_frameCount, _options.frames > 0 && _frameCount >= _options.frames);
    };

    CreateVariables();
    if (_options.seed >= 0) {
        Random::Seed(static_cast<std::uint32_t>(_options.seed));
    } else {
        _timer.SeedRandom();
    }
    HtmlLog::WriteLineColor("Application start!", "Green");
    ScriptMap::Open();
    ConnectScriptServices();
    RegisterScriptApi();
    Core::appInstance = this;
    _timer.Start();

    CreateMainWindow(showCommand, fullScreen);

    PermanentStorage::SetGlobalBool("temp:splashes", false);
    ScriptMap::RunScript("start0.lua");

    _cursor = ObjectSmartPointer<Cursor>(new Cursor());
    Sound::soundSystem.Init(_mainWindow == NULL ? nullptr : _mainWindow->GetHandle());

    if (_screensaverMode->GetValue()) {
        Cursor::HideSystemCursor();
        DrawScreensaverFrame();
    } else {
        Cursor::ShowSystemCursor();
        PermanentStorage::SetGlobalBool("temp:splashes", true);
        while (_isRunning && _isShowingSplashes) Tick(true, true);
        PermanentStorage::SetGlobalBool("temp:splashes", false);
    }

    if (_isRunning) {
        Assert(!_loading);
        _loading = true;
        _startScriptRan = ScriptMap::RunScript("start.lua");
        Assert(_loading);
        _loading = false;
        _updateLoadScreenCallsVariable->SetValue(_updateLoadScreenCalls);
    }
}

Application::~Application() {
    if (Core::appInstance == this) Core::appInstance = nullptr;
}

void Application::CreateMainWindow(int showCommand, bool fullScreen) {
    if (fullScreen) {
        try {
            AssertThrowGuard guard;
            _mainWindow = ObjectSmartPointer<Window>(new Window(showCommand, true));
            return;
        } catch (const AssertionFailedException&) {
            _mainWindow = ObjectSmartPointer<Window>();
            PermanentStorage::SetLocalBool("isFullScreen", false);
        }
    }
    _mainWindow = ObjectSmartPointer<Window>(new Window(showCommand, false));
}

void Application::DrawScreensaverFrame() {
    _ports->BeginFrame();
    ApplicationRoot::Get().Draw();
    _ports->EndFrame();
}

void Application::Run() {
    _ports->MergeControllers();
    _ports->AddEffectObserver();
    while (_isRunning) Tick(false, false);
    _mainWindow = ObjectSmartPointer<Window>();
    Cursor::ShowSystemCursor();
}

float Application::NextStep(bool scaled) {
    float dt = _timer.Stop();
    _timer.Start();
    if (_options.fixedStep > 0.0f) dt = _options.fixedStep;
    return scaled ? dt * _timeScale->GetValue() : dt;
}

void Application::Tick(bool splash, bool splashCursor) {
    if (_options.beforeTick) _options.beforeTick(_frameCount + 1);
    if (!_isRepaintRequested) {
        WindowMessage message;
        bool taken = false;
        if (_isInactive && !splash && _options.neverWait) {
            taken = _ports->PeekMessage(message);
            if (!taken) {
                Frame(splash, splashCursor, true);
                return;
            }
        } else if (_isInactive && !splash) {
            TimePauser pauser;
            _ports->WaitMessage(message);
            taken = true;
        } else {
            taken = _ports->PeekMessage(message);
        }
        if (taken) {
            _ports->ResetCursorPicture();
            if (message.type == WindowMessage::QUIT) {
                _isRunning = false;
            } else {
                _ports->DispatchMessage(message);
            }
            return;
        }
    }
    Frame(splash, splashCursor);
}

namespace {
// How long a notice stays; it fades out over its last second.
constexpr float NOTICE_SECONDS = 15.0f;
}  // namespace

void Application::DrawNotice(float dt) {
    // The screensaver is looked at, not played: its notices wait for the game.
    if (_screensaverMode->GetValue()) return;
    if (_notice.empty() && !PlayerNotice::Take(&_notice)) return;
    const float left = NOTICE_SECONDS - _noticeShown;
    if (!_ports->DrawNotice(_notice, left < 1.0f ? left : 1.0f)) return;
    _noticeShown += dt;
    if (_noticeShown >= NOTICE_SECONDS) {
        _notice.clear();
        _noticeShown = 0.0f;
    }
}

void Application::Frame(bool splash, bool splashCursor, bool paused) {
    _isRepaintRequested = false;
    if (!_ports->TestCooperativeLevel()) return;
    if (_ports->HasPendingControllers()) _ports->MergeControllers();

    const float dt = NextStep(true);
    if (!paused) {
        _ports->UpdateControllers(dt);
        _ports->UpdateSound(dt);
        ApplicationRoot::Get().Update(dt > 1.0f ? 1.0f : dt);
        if (_ports->HasPendingControllers()) _ports->MergeControllers();
    }

    _ports->BeginFrame();
    ApplicationRoot::Get().Draw();
    DrawNotice(paused ? 0.0f : dt);
    if (_isInactive && !splash) _ports->DrawPauseOverlay();
    _ports->WidenForCursor();

    const bool fullScreen = _ports->IsFullscreen();
    const bool screensaver = _screensaverMode->GetValue();
    bool custom = false;
    bool inClient = false;
    if (!screensaver && !splashCursor) {
        custom = _isCursorCustom->GetValue();
        inClient = _ports->IsCursorInClient();
    }
    const CursorChoice choice = ChooseCursor(screensaver, splashCursor, fullScreen, custom, inClient);
    _ports->ApplyCursor(choice, inClient);

    ++_frameCount;
    _ports->EndFrame();
    if (_ports->HasPendingControllers()) _ports->MergeControllers();

    if (_options.frames > 0 && _frameCount == _options.frames) {
        WindowMessage close;
        close.type = WindowMessage::CLOSE;
        if (_mainWindow != NULL) {
            _mainWindow->PostMessage(close);
        } else {
            _isRunning = false;
        }
    }
}

void Application::InterruptLoading(const std::string& line) {
    HtmlLog::WriteLine(line);
    _isRunning = false;
    throw ScriptError("Interruption of loading");
}

void Application::UpdateLoadScreen() {
    if (!_loading) return;
    Assert(_updateLoadScreenCalls >= 0);
    ++_updateLoadScreenCalls;
    Assert(_updateLoadScreenCalls > 0);
    WindowMessage message;
    if (!_ports->PeekMessage(message)) {
        const float dt = NextStep(false);
        ApplicationRoot::Get().Update(dt > 1.0f ? 1.0f : dt);
        _ports->BeginFrame();
        ApplicationRoot::Get().Draw();
        _ports->EndFrame();
        return;
    }
    if (message.type == WindowMessage::QUIT || message.type == WindowMessage::CLOSE) {
        InterruptLoading("Ignore next line error - Interruption of loading WM_CLOSE or WM_QUIT message");
    }
    const bool screensaver = _screensaverMode->GetValue();
    if (screensaver &&
        (message.type == WindowMessage::LBUTTONDOWN || message.type == WindowMessage::RBUTTONDOWN)) {
        InterruptLoading("Ignore next line error - Interruption of loading WM_LBUTTONDOWN or WM_RBUTTONDOWN message");
    }
    _ports->DispatchMessage(message);
    if (screensaver && message.type == WindowMessage::MOUSEMOVE) {
        if (_hasLoadScreenMouse && (std::abs(message.x - _loadScreenMouseX) > 5 ||
                                    std::abs(message.y - _loadScreenMouseY) > 5)) {
            InterruptLoading("Ignore next line error - Interruption of loading - WM_MOUSEMOVE message");
        }
        _hasLoadScreenMouse = true;
        _loadScreenMouseX = message.x;
        _loadScreenMouseY = message.y;
    }
}

void Application::OnDeactivate() {
    if (_isInactive || _isShowingSplashes) return;
    _ports->PauseSound();
    _isInactive = true;
}

void Application::OnActivate() {
    if (!_isInactive) return;
    _ports->ResumeSound();
    _isInactive = false;
}

void Application::Shutdown() {
    ApplicationRoot::Release();
    if (GetContentHooks().releaseAllResources) GetContentHooks().releaseAllResources();
    // Pictures the shell itself keeps on the device go before it.
    if (_cursor != NULL) _cursor->ReleaseTextures();
    Render::fonts.ReleaseAll();
    Render::device.Release();
    Sound::soundSystem.Shutdown();
    MessageServer::CheckNoReceivers();
}
