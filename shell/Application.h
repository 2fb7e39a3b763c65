#pragma once
// The one application object: owns the window, the cursor and the frame timer, runs the start-up
// scripts and drives the program frame by frame.

#include <functional>
#include <memory>
#include <string>

#include "core/ObjectSmartPointer.h"
#include "core/PermanentVariable.h"
#include "core/Timer.h"
#include "shell/Cursor.h"
#include "shell/Window.h"
#include "shell/WindowMessage.h"

class Application;

namespace Core {
extern Application* appInstance;
}

// Everything a tick reaches outside the application object. The real ports drive the window, the
// render device, the controllers and the sound system; tests record the calls.
class ApplicationPorts {
public:
    virtual ~ApplicationPorts() = default;
    virtual bool PeekMessage(WindowMessage& message) = 0;
    virtual void WaitMessage(WindowMessage& message) = 0;
    virtual void DispatchMessage(const WindowMessage& message) = 0;
    // False while the device is lost (a device that can be reset is reset).
    virtual bool TestCooperativeLevel() = 0;
    virtual bool HasPendingControllers() = 0;
    virtual void MergeControllers() = 0;
    virtual void UpdateControllers(float dt) = 0;
    virtual void AddEffectObserver() = 0;
    virtual void UpdateSound(float dt) = 0;
    virtual void PauseSound() = 0;
    virtual void ResumeSound() = 0;
    // Begin frame, 4:3 viewport, 2D mode, alpha blending.
    virtual void BeginFrame() = 0;
    virtual void DrawPauseOverlay() = 0;
    // A notice for the player over the picture (opacity 0..1). False when no font can show it yet.
    virtual bool DrawNotice(const std::string& /*text*/, float /*alpha*/) { return true; }
    // Full screen of another shape than 4:3: the drawing space is widened over the bars.
    virtual void WidenForCursor() = 0;
    virtual void ApplyCursor(CursorChoice choice, bool inClient) = 0;
    virtual bool IsFullscreen() = 0;
    virtual bool IsCursorInClient() = 0;
    // Leave 2D mode, end the frame and present.
    virtual void EndFrame() = 0;
    // The cursor's current picture back to the normal one.
    virtual void ResetCursorPicture() = 0;
};

// Options for people and tests, outside the program's command line.
struct ApplicationOptions {
    // Frames to draw before the run closes as if the window were closed; 0 = no limit.
    int frames = 0;
    // Fixed time step in seconds instead of the clock; 0 = the clock.
    float fixedStep = 0.0f;
    // Seed of the random draws; negative = from the clock.
    long seed = -1;
    // Called before each frame is presented (frame number from 1) with whether it is the last.
    std::function<void(int frame, bool last)> beforePresent;
    // Called at the start of each tick with the number of the next frame (replayed input).
    std::function<void(int nextFrame)> beforeTick;
    // Replayed input: while the window is inactive, a tick without a message draws a paused frame
    // (nothing updated, no time passing) instead of waiting for the desktop, so that the frames
    // count on and later events still arrive.
    bool neverWait = false;
};

class Application : public Interface {
public:
    // The whole start-up.
    Application(int showCommand, bool fullScreen, const ApplicationOptions& options = ApplicationOptions());
    // Only the variables and the timer, with the given ports (tests drive Tick through it).
    explicit Application(std::unique_ptr<ApplicationPorts> ports, const ApplicationOptions& options = ApplicationOptions());
    ~Application() override;

    void Run();
    void Tick(bool splash, bool splashCursor);
    void UpdateLoadScreen();
    void OnActivate();
    void OnDeactivate();
    void Shutdown();

    ObjectWeakPointer<Window> GetWindow() const { return ObjectWeakPointer<Window>(_mainWindow); }
    ObjectWeakPointer<Cursor> GetCursor() const { return ObjectWeakPointer<Cursor>(_cursor); }
    Timer& GetTimer() { return _timer; }
    int GetFrameCount() const { return _frameCount; }
    // False when "start.lua" could not be read or compiled.
    bool StartScriptRan() const { return _startScriptRan; }

    // What the window procedure sets.
    void RequestRepaint() { _isRepaintRequested = true; }
    void Stop() { _isRunning = false; }

    ObjectSmartPointer<Window> _mainWindow;
    bool _isRunning = true;
    bool _isRepaintRequested = false;
    ObjectSmartPointer<Variable<bool>> _screensaverMode;
    ObjectSmartPointer<Cursor> _cursor;
    bool _loading = false;
    ObjectSmartPointer<Variable<int>> _updateLoadScreenCallsVariable;
    int _updateLoadScreenCalls = 0;
    bool _isShowingSplashes = true;
    bool _isInactive = false;
    ObjectSmartPointer<Variable<bool>> _isCursorCustom;

private:
    void CreateVariables();
    void CreateMainWindow(int showCommand, bool fullScreen);
    void DrawScreensaverFrame();
    // A paused frame is only drawn: nothing is updated, no time passes.
    void Frame(bool splash, bool splashCursor, bool paused = false);
    float NextStep(bool scaled);
    void InterruptLoading(const std::string& line);
    // The player's notices (PlayerNotice), one after another, each for NOTICE_SECONDS of frames.
    void DrawNotice(float dt);

    ObjectSmartPointer<Variable<bool>> _useSingleCore;
    Timer _timer;
    ObjectSmartPointer<Variable<float>> _timeScale;

    std::unique_ptr<ApplicationPorts> _ports;
    ApplicationOptions _options;
    int _frameCount = 0;
    bool _startScriptRan = true;
    bool _hasLoadScreenMouse = false;
    int _loadScreenMouseX = 0;
    int _loadScreenMouseY = 0;
    std::string _notice;
    float _noticeShown = 0.0f;
};

// "CloseApplication": ends the main loop after the current tick.
void CloseApplication();
