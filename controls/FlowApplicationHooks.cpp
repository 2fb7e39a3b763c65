#include "controls/FlowApplicationHooks.h"

FlowApplicationHooks& GetFlowApplicationHooks() {
    static FlowApplicationHooks hooks;
    return hooks;
}

bool IsApplicationRunning() {
    const FlowApplicationHooks& hooks = GetFlowApplicationHooks();
    return hooks.isRunning ? hooks.isRunning() : true;
}

void EndSplashLoop() {
    const FlowApplicationHooks& hooks = GetFlowApplicationHooks();
    if (hooks.endSplashes) hooks.endSplashes();
}
