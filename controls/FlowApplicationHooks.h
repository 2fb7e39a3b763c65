#pragma once
// What the screen-flow controls need of the application object: whether it still runs (pending
// arrival reports go out only then) and the end of the splash loop. The program connects both;
// unconnected, the application counts as running and ending the splashes does nothing.

#include <functional>

struct FlowApplicationHooks {
    std::function<bool()> isRunning;
    std::function<void()> endSplashes;
};

FlowApplicationHooks& GetFlowApplicationHooks();

bool IsApplicationRunning();
void EndSplashLoop();
