#include "shell/main/ContentConnection.h"

#include <memory>
#include <vector>

#include "content/ResourceManager.h"
#include "content/ResourceManagerScript.h"
#include "content/ResourceManagerServices.h"
#include "shell/Application.h"
#include "shell/ApplicationRoot.h"
#include "shell/TimePauser.h"

namespace {
// The pausers of the content loaders' pause and resume calls, innermost last.
std::vector<std::unique_ptr<TimePauser>>& Pausers() {
    static std::vector<std::unique_ptr<TimePauser>> pausers;
    return pausers;
}
}  // namespace

void ConnectSubsystems() {
    ConnectResourceScriptServices();
    ResourceManagerServices& loading = GetResourceManagerServices();
    loading.updateLoadScreen = [] {
        if (Core::appInstance) Core::appInstance->UpdateLoadScreen();
    };
    loading.pauseTimer = [] { Pausers().push_back(std::make_unique<TimePauser>()); };
    loading.resumeTimer = [] {
        if (!Pausers().empty()) Pausers().pop_back();
    };
    ContentHooks& content = GetContentHooks();
    content.releaseAllResources = [] { ResourceManager::ReleaseAll(); };
    content.getString = [](const std::string& name) { return ResourceManager::GetString(name); };
}
