// Event flags, the decorator stacks and the reports of their misuse.

#include <gtest/gtest.h>

#include <functional>

#include "controls/MouseEvents.h"
#include "tests/support/TestSupport.h"

using testing_support::LogCapture;

namespace {

TEST(MouseEventsTest, PushedPositionRoundsHalfAwayFromZeroAndPopRestoresExactly) {
    ObjectSmartPointer<MouseMoveEvent> e(new MouseMoveEvent(7, 9, false));
    e->PushMousePos(FPoint(2.5f, -2.5f));
    EXPECT_EQ(e->GetMousePos(), Point(3, -3));
    EXPECT_EQ(e->GetFloatMousePos(), FPoint(2.5f, -2.5f));
    e->PushMousePos(FPoint(0.49f, -0.49f));
    EXPECT_EQ(e->GetMousePos(), Point(0, 0));
    e->PopMousePos();
    EXPECT_EQ(e->GetMousePos(), Point(3, -3));
    EXPECT_EQ(e->GetFloatMousePos(), FPoint(2.5f, -2.5f));
    e->PopMousePos();
    EXPECT_EQ(e->GetMousePos(), Point(7, 9));
    EXPECT_EQ(e->GetFloatMousePos(), FPoint(7.0f, 9.0f));
}

TEST(MouseEventsTest, HiddenPointerAndHiddenPressComeBack) {
    LogCapture log;
    ObjectSmartPointer<MouseMoveEvent> move(new MouseMoveEvent(0, 0, false));
    move->PushHandled();
    EXPECT_TRUE(move->IsMouseHandled());
    move->PopHandled();
    EXPECT_FALSE(move->IsMouseHandled());
    move->SetMouseHandled();
    move->PushHandled();
    move->PopHandled();
    EXPECT_TRUE(move->IsMouseHandled());

    ObjectSmartPointer<MouseDownEvent> down(new MouseDownEvent(false));
    down->PushCaptured();
    EXPECT_TRUE(down->IsMouseCaptured());
    down->PopCaptured();
    EXPECT_FALSE(down->IsMouseCaptured());
    down->CaptureMouse();
    EXPECT_TRUE(down->IsMouseCaptured());
    EXPECT_EQ(log.ErrorCount(), 0);
}

TEST(MouseEventsTest, MisuseIsReportedAndTheFlagSetAnyway) {
    struct Case {
        const char* name;
        std::function<bool()> act;  // does the misuse, tells whether the flag ended as asked
        const char* check;
    };
    const std::vector<Case> cases = {
        {"capture twice",
         [] {
             ObjectSmartPointer<MouseDownEvent> e(new MouseDownEvent(true));
             e->CaptureMouse();
             return e->IsMouseCaptured();
         },
         "!_isMouseCaptured"},
        {"confirm without capture",
         [] {
             ObjectSmartPointer<MouseMoveEvent> e(new MouseMoveEvent(0, 0, false));
             e->ConfirmCapture();
             return e->IsCaptureConfirmed();
         },
         "_isMouseCaptured"},
        {"confirm twice",
         [] {
             ObjectSmartPointer<MouseMoveEvent> e(new MouseMoveEvent(0, 0, true));
             e->ConfirmCapture();
             e->ConfirmCapture();
             return e->IsCaptureConfirmed();
         },
         "!_isCaptureConfirmed"},
        {"release without capture",
         [] {
             ObjectSmartPointer<MouseUpEvent> e(new MouseUpEvent(false));
             e->ReleaseCapture();
             return !e->IsMouseCaptured();
         },
         "_isMouseCaptured"},
        {"handled twice",
         [] {
             ObjectSmartPointer<MouseMoveEvent> e(new MouseMoveEvent(0, 0, false));
             e->SetMouseHandled();
             e->SetMouseHandled();
             return e->IsMouseHandled();
         },
         "!_isMouseHandled"},
        {"cursor twice",
         [] {
             ObjectSmartPointer<MouseMoveEvent> e(new MouseMoveEvent(0, 0, false));
             e->SetActiveCursor();
             e->SetPressedCursor();
             return true;
         },
         "!_isCursorSet"},
        {"key handled twice",
         [] {
             ObjectSmartPointer<KeyDownEvent> e(new KeyDownEvent(0, 0, false, 13));
             e->SetKeyHandled();
             e->SetKeyHandled();
             return e->IsKeyHandled();
         },
         "!_isKeyHandled"},
        {"pop handled empty",
         [] {
             ObjectSmartPointer<MouseMoveEvent> e(new MouseMoveEvent(0, 0, false));
             e->PopHandled();
             return !e->IsMouseHandled();
         },
         "!_isHandledStack.empty()"},
        {"pop position empty",
         [] {
             ObjectSmartPointer<MouseMoveEvent> e(new MouseMoveEvent(4, 5, false));
             e->PopMousePos();
             return e->GetMousePos() == Point(4, 5);
         },
         "!_mousePosStack.empty()"},
        {"pop captured empty",
         [] {
             ObjectSmartPointer<MouseDownEvent> e(new MouseDownEvent(false));
             e->PopCaptured();
             return !e->IsMouseCaptured();
         },
         "!_isCapturedStack.empty()"},
        {"event dies with a pushed position",
         [] {
             ObjectSmartPointer<MouseMoveEvent> e(new MouseMoveEvent(0, 0, false));
             e->PushMousePos(FPoint(1.0f, 1.0f));
             return true;
         },
         "_mousePosStack.empty()"},
        {"press dies with a hidden capture",
         [] {
             ObjectSmartPointer<MouseDownEvent> e(new MouseDownEvent(false));
             e->PushCaptured();
             return true;
         },
         "_isCapturedStack.empty()"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LogCapture log;
        EXPECT_TRUE(c.act());
        EXPECT_EQ(log.ErrorCount(), 1);
        EXPECT_TRUE(log.Contains(c.check));
    }
}

TEST(MouseEventsTest, EventsReadTheirValues) {
    ObjectSmartPointer<MouseMoveEvent> key(new KeyDownEvent(1, 2, true, 27));
    ObjectSmartPointer<MouseMoveEvent> wheel(new MouseWheelEvent(1, 2, false, true));
    EXPECT_TRUE(key.InstanceOf<KeyDownEvent>());
    EXPECT_FALSE(key.InstanceOf<CharEvent>());
    EXPECT_EQ(key.Cast<KeyDownEvent>()->GetKey(), 27);
    EXPECT_TRUE(key->IsMouseCaptured());
    EXPECT_TRUE(wheel.Cast<MouseWheelEvent>()->GetDirection());
    ObjectSmartPointer<MouseMoveEvent> rightDouble(new RightButtonDoubleEvent(0, 0, false));
    EXPECT_TRUE(rightDouble.InstanceOf<RightButtonDownEvent>());
    EXPECT_TRUE(rightDouble.InstanceOf<RightMouseButtonEvent>());
    EXPECT_FALSE(rightDouble.InstanceOf<RightButtonUpEvent>());
}

}  // namespace
