#include "controls/FlowApplicationHooks.h"

#include "shell/Application.h"

FlowApplicationHooks& GetFlowApplicationHooks() {
    static FlowApplicationHooks hooks;
    return hooks;
}

bool IsApplicationRunning() {
    const FlowApplicationHooks& hooks = GetFlowApplicationHooks();
    if (hooks.isRunning) return hooks.isRunning();
    return Core::appInstance == nullptr || Core::appInstance->_isRunning;
}

void EndSplashLoop() {
    const FlowApplicationHooks& hooks = GetFlowApplicationHooks();
    if (hooks.endSplashes) {
        hooks.endSplashes();
    } else if (Core::appInstance != nullptr) {
        Core::appInstance->_isShowingSplashes = false;
    }
}
