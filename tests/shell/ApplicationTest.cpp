// The main loop's tick and frame, activation, the load screen and the time pauser, driven through
// recording ports.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

#include "core/PermanentStorage.h"
#include "core/PlayerNotice.h"
#include "core/Timer.h"
#include "shell/Application.h"
#include "shell/ScriptMap.h"
#include "shell/TimePauser.h"
#include "tests/shell/AppShellSupport.h"

namespace {

class RecordingPorts : public ApplicationPorts {
public:
    explicit RecordingPorts(std::vector<std::string>& calls) : _calls(calls) {}

    bool PeekMessage(WindowMessage& message) override {
        if (queue.empty()) return false;
        message = queue.front();
        queue.pop_front();
        return true;
    }
    void WaitMessage(WindowMessage& message) override {
        _calls.push_back(std::string("wait, timer ") + (Core::appInstance->GetTimer().IsPaused() ? "paused" : "running"));
        message = queue.front();
        queue.pop_front();
    }
    void DispatchMessage(const WindowMessage& message) override {
        _calls.push_back("dispatch " + std::to_string(message.type));
    }
    bool TestCooperativeLevel() override {
        _calls.push_back("test device");
        return deviceUsable;
    }
    bool HasPendingControllers() override { return false; }
    void MergeControllers() override { _calls.push_back("merge"); }
    void UpdateControllers(float dt) override { _calls.push_back("controllers " + RecordingRoot::Seconds(dt)); }
    void AddEffectObserver() override { _calls.push_back("effect observer"); }
    void UpdateSound(float dt) override { _calls.push_back("sound " + RecordingRoot::Seconds(dt)); }
    void PauseSound() override { _calls.push_back("pause sound"); }
    void ResumeSound() override { _calls.push_back("resume sound"); }
    void BeginFrame() override { _calls.push_back("begin"); }
    void DrawPauseOverlay() override { _calls.push_back("overlay"); }
    bool DrawNotice(const std::string& text, float alpha) override {
        _calls.push_back("notice " + text + " " + RecordingRoot::Seconds(alpha));
        return true;
    }
    void WidenForCursor() override { _calls.push_back("widen"); }
    void ApplyCursor(CursorChoice choice, bool) override {
        _calls.push_back("cursor " + std::to_string(static_cast<int>(choice)));
    }
    bool IsFullscreen() override { return false; }
    bool IsCursorInClient() override { return true; }
    void EndFrame() override { _calls.push_back("end"); }
    void ResetCursorPicture() override { _calls.push_back("normal cursor"); }

    std::deque<WindowMessage> queue;
    bool deviceUsable = true;

private:
    std::vector<std::string>& _calls;
};

WindowMessage Msg(WindowMessage::Type type, int x = 0, int y = 0) {
    WindowMessage m;
    m.type = type;
    m.x = x;
    m.y = y;
    return m;
}

class ApplicationTest : public AppShellStore {
protected:
    void SetUp() override {
        AppShellStore::SetUp();
        Timer::ResetCallCount();
    }
    std::unique_ptr<Application> Make(float fixedStep = 0.25f, ApplicationOptions options = ApplicationOptions()) {
        auto ports = std::make_unique<RecordingPorts>(connected.root.calls);
        this->ports = ports.get();
        options.fixedStep = fixedStep;
        return std::make_unique<Application>(std::move(ports), options);
    }
    std::vector<std::string>& Calls() { return connected.root.calls; }

    ConnectedRoot connected;
    RecordingPorts* ports = nullptr;
};

}  // namespace

TEST_F(ApplicationTest, FrameRunsItsStepsInOrderWithTheScaledStep) {
    PermanentStorage::SetGlobalFloat("temp:Time scale", 2.0f);
    auto app = Make(0.25f);
    app->_isShowingSplashes = false;
    app->Tick(false, false);
    const std::vector<std::string> expected = {"test device", "controllers 0.500", "sound 0.500", "root update 0.500",
                                               "begin",       "root draw",         "widen",       "cursor 2",
                                               "end"};
    EXPECT_EQ(expected, Calls());
    EXPECT_EQ(1, app->GetFrameCount());
}

// A notice for the player is drawn over the picture for fifteen seconds of frames, fading over
// the last one; the next one follows; the screensaver keeps them back.
TEST_F(ApplicationTest, NoticesAreShownOneAfterAnotherForFifteenSeconds) {
    PlayerNotice::Clear();
    PlayerNotice::Post("first");
    PlayerNotice::Post("second");
    auto app = Make(0.5f);
    std::vector<std::string> notices;
    for (int frame = 0; frame < 62; ++frame) {
        Calls().clear();
        app->Tick(false, false);
        for (const std::string& call : Calls()) {
            if (call.compare(0, 7, "notice ") == 0) notices.push_back(call);
        }
        if (frame == 0) {
            // Drawn after the tree, before the cursor.
            const auto at = std::find(Calls().begin(), Calls().end(), "notice first 1.000");
            ASSERT_NE(at, Calls().end());
            EXPECT_EQ(*(at - 1), "root draw");
        }
    }
    ASSERT_EQ(60u, notices.size());
    EXPECT_EQ("notice first 1.000", notices[0]);
    EXPECT_EQ("notice first 0.500", notices[29]);
    EXPECT_EQ("notice second 1.000", notices[30]);
    PlayerNotice::Post("held");
    PermanentStorage::SetGlobalBool("temp:ScreensaverMode", true);
    Calls().clear();
    app->Tick(false, false);
    EXPECT_EQ(Calls().end(), std::find(Calls().begin(), Calls().end(), "notice held 1.000"));
    PermanentStorage::SetGlobalBool("temp:ScreensaverMode", false);
    PlayerNotice::Clear();
}

TEST_F(ApplicationTest, TreeStepIsCutToOneSecond) {
    PermanentStorage::SetGlobalFloat("temp:Time scale", 2.0f);
    auto app = Make(0.75f);
    app->Tick(false, false);
    EXPECT_EQ("controllers 1.500", Calls()[1]);
    EXPECT_EQ("sound 1.500", Calls()[2]);
    EXPECT_EQ("root update 1.000", Calls()[3]);
}

TEST_F(ApplicationTest, LostDeviceSkipsTheFrame) {
    auto app = Make();
    ports->deviceUsable = false;
    app->Tick(false, false);
    EXPECT_EQ(std::vector<std::string>{"test device"}, Calls());
}

TEST_F(ApplicationTest, MessageTickHandlesOneMessageAndDrawsNothing) {
    auto app = Make();
    ports->queue.push_back(Msg(WindowMessage::MOUSEMOVE));
    ports->queue.push_back(Msg(WindowMessage::QUIT));
    app->Tick(false, false);
    EXPECT_EQ((std::vector<std::string>{"normal cursor", "dispatch " + std::to_string(WindowMessage::MOUSEMOVE)}),
              Calls());
    EXPECT_TRUE(app->_isRunning);
    app->Tick(false, false);
    EXPECT_FALSE(app->_isRunning);
}

TEST_F(ApplicationTest, InactiveWindowWaitsPausedAndDrawsTheOverlayOnRepaint) {
    auto app = Make();
    app->OnDeactivate();  // during the splashes: ignored
    EXPECT_FALSE(app->_isInactive);
    app->_isShowingSplashes = false;
    app->OnDeactivate();
    EXPECT_TRUE(app->_isInactive);
    ports->queue.push_back(Msg(WindowMessage::PAINT));
    app->Tick(false, false);
    EXPECT_EQ("wait, timer paused", Calls()[1]);
    EXPECT_FALSE(app->GetTimer().IsPaused());
    app->RequestRepaint();
    Calls().clear();
    app->Tick(false, false);
    EXPECT_EQ("overlay", Calls()[6]);
    // The splash loop never waits and never dims.
    Calls().clear();
    app->Tick(true, true);
    EXPECT_EQ("test device", Calls()[0]);
    EXPECT_EQ(Calls().end(), std::find(Calls().begin(), Calls().end(), "overlay"));
    // A quit while waiting ends the loop.
    ports->queue.push_back(Msg(WindowMessage::QUIT));
    app->Tick(false, false);
    EXPECT_FALSE(app->_isRunning);
    app->OnActivate();
    EXPECT_EQ("resume sound", Calls().back());
}

TEST_F(ApplicationTest, ReplayedInputKeepsArrivingWhileTheWindowIsPaused) {
    // A script with a key for frame 5, which comes after the window went inactive.
    ApplicationOptions options;
    options.neverWait = true;
    RecordingPorts** recording = &ports;
    bool keyPosted = false;
    options.beforeTick = [recording, &keyPosted](int nextFrame) {
        if (nextFrame == 5 && !keyPosted) {
            (*recording)->queue.push_back(Msg(WindowMessage::KEYDOWN));
            keyPosted = true;
        }
    };
    auto app = Make(0.25f, options);
    app->_isShowingSplashes = false;
    app->Tick(false, false);
    app->OnDeactivate();
    Calls().clear();
    for (int i = 0; i < 8; ++i) app->Tick(false, false);
    // Never a wait: each tick without a message draws a dimmed frame and updates nothing.
    const std::vector<std::string>& calls = Calls();
    auto count = [&](const std::string& call) { return std::count(calls.begin(), calls.end(), call); };
    EXPECT_EQ(0, std::count_if(calls.begin(), calls.end(), [](const std::string& c) { return c.rfind("wait", 0) == 0; }));
    EXPECT_EQ(1, count("dispatch " + std::to_string(WindowMessage::KEYDOWN)));
    EXPECT_EQ(7, count("overlay"));
    EXPECT_EQ(0, std::count_if(calls.begin(), calls.end(),
                               [](const std::string& c) { return c.rfind("controllers", 0) == 0; }));
    EXPECT_EQ(0, std::count_if(calls.begin(), calls.end(),
                               [](const std::string& c) { return c.rfind("root update", 0) == 0; }));
    EXPECT_EQ(7, count("root draw"));
    EXPECT_EQ(8, app->GetFrameCount());
    EXPECT_TRUE(app->_isInactive);
}

TEST_F(ApplicationTest, NestedTimePausersPauseOnceAndNotWhileLoading) {
    auto app = Make();
    {
        TimePauser outer;
        EXPECT_TRUE(app->GetTimer().IsPaused());
        {
            TimePauser inner;
            EXPECT_EQ(2, TimePauser::GetCounter());
        }
        EXPECT_TRUE(app->GetTimer().IsPaused());
    }
    EXPECT_FALSE(app->GetTimer().IsPaused());
    app->_loading = true;
    {
        TimePauser loading;
        EXPECT_FALSE(app->GetTimer().IsPaused());
    }
    testing_support::LogCapture log;
    {
        TimePauser outlivesLoading;
        app->_loading = false;
    }
    EXPECT_TRUE(log.Contains("_loading == "));
    EXPECT_EQ(0, TimePauser::GetCounter());
}

TEST_F(ApplicationTest, LoadScreenDrawsWithoutTimeScaleAndStopsOnClose) {
    PermanentStorage::SetGlobalFloat("temp:Time scale", 2.0f);
    auto app = Make(0.25f);
    app->UpdateLoadScreen();  // not loading: nothing
    EXPECT_TRUE(Calls().empty());
    app->_loading = true;
    app->UpdateLoadScreen();
    EXPECT_EQ((std::vector<std::string>{"root update 0.250", "begin", "root draw", "end"}), Calls());
    ports->queue.push_back(Msg(WindowMessage::CLOSE));
    testing_support::LogCapture log;
    EXPECT_THROW(app->UpdateLoadScreen(), ScriptError);
    EXPECT_TRUE(log.Contains("Ignore next line error - Interruption of loading WM_CLOSE or WM_QUIT message"));
    EXPECT_FALSE(app->_isRunning);
    EXPECT_EQ(2, app->_updateLoadScreenCalls);
}

TEST_F(ApplicationTest, ScreensaverLoadScreenEndsOnClicksAndLargeMoves) {
    PermanentStorage::SetGlobalBool("temp:ScreensaverMode", true);
    auto app = Make();
    app->_loading = true;
    ports->queue = {Msg(WindowMessage::MOUSEMOVE, 100, 100), Msg(WindowMessage::MOUSEMOVE, 105, 95),
                    Msg(WindowMessage::MOUSEMOVE, 111, 95)};
    app->UpdateLoadScreen();
    app->UpdateLoadScreen();
    testing_support::LogCapture log;
    EXPECT_THROW(app->UpdateLoadScreen(), ScriptError);
    EXPECT_TRUE(log.Contains("Ignore next line error - Interruption of loading - WM_MOUSEMOVE message"));
    app->_isRunning = true;
    ports->queue = {Msg(WindowMessage::RBUTTONDOWN)};
    EXPECT_THROW(app->UpdateLoadScreen(), ScriptError);
    EXPECT_TRUE(log.Contains("Interruption of loading WM_LBUTTONDOWN or WM_RBUTTONDOWN message"));
}

TEST(CursorChoiceTest, Table) {
    using C = CursorChoice;
    struct Case {
        bool screensaver, splash, fullScreen, custom, inClient;
        CursorChoice choice;
    } cases[] = {
        {true, false, true, true, true, C::HIDE_SYSTEM},   {true, true, false, false, false, C::HIDE_SYSTEM},
        {false, true, true, true, true, C::HIDE_SYSTEM},   {false, true, false, true, true, C::SHOW_SYSTEM},
        {false, false, true, true, false, C::DRAW_PICTURE}, {false, false, false, true, true, C::DRAW_PICTURE},
        {false, false, false, true, false, C::SET_SYSTEM}, {false, false, true, false, true, C::SET_SYSTEM},
        {false, false, false, false, true, C::SET_SYSTEM},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.choice, ChooseCursor(c.screensaver, c.splash, c.fullScreen, c.custom, c.inClient))
            << c.screensaver << c.splash << c.fullScreen << c.custom << c.inClient;
    }
}

TEST_F(ApplicationTest, WindowProcedureReachesTheApplication) {
    auto app = Make();
    app->_isShowingSplashes = false;
    WindowMessage activate = Msg(WindowMessage::ACTIVATE);
    activate.code = WA_INACTIVE;
    HandleWindowMessage(activate);
    EXPECT_TRUE(app->_isInactive);
    activate.code = WA_CLICKACTIVE;
    activate.minimized = true;
    HandleWindowMessage(activate);
    EXPECT_TRUE(app->_isInactive);
    activate.minimized = false;
    HandleWindowMessage(activate);
    EXPECT_FALSE(app->_isInactive);
    testing_support::LogCapture log;
    activate.code = 7;
    HandleWindowMessage(activate);
    EXPECT_TRUE(log.Contains("Invalid WM_ACTIVATE parameter 7"));
    HandleWindowMessage(Msg(WindowMessage::PAINT));
    EXPECT_TRUE(app->_isRepaintRequested);
    HandleWindowMessage(Msg(WindowMessage::CLOSE));
    EXPECT_FALSE(app->_isRunning);
    EXPECT_EQ((std::vector<std::string>{"pause sound", "resume sound"}), Calls());
}
