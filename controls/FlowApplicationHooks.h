#pragma once
// What the screen-flow controls need of the application object: whether it still runs (pending
// arrival reports go out only then) and the end of the splash loop. Unless a hook is set, both go
// to the application object; without one, the application counts as running and ending the
// splashes does nothing. Tests set the hooks.

#include <functional>

struct FlowApplicationHooks {
    std::function<bool()> isRunning;
    std::function<void()> endSplashes;
};

FlowApplicationHooks& GetFlowApplicationHooks();

bool IsApplicationRunning();
void EndSplashLoop();
