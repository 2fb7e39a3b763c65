#include "game/ContentConnection.h"

#include <memory>
#include <vector>

#include "aquarium/AquariumClasses.h"
#include "controls/CommonDefinitionClasses.h"
#include "content/ControllerManager.h"
#include "content/ControllerScript.h"
#include "controls/EffectControls.h"
#include "content/EffectObserver.h"
#include "content/ParticleSystem.h"
#include "content/ResourceManager.h"
#include "content/ResourceManagerScript.h"
#include "content/ResourceManagerServices.h"
#include "content/TemplateLib.h"
#include "controls/ControlFramework.h"
#include "controls/DecoratorControlClasses.h"
#include "controls/FlowControlClasses.h"
#include "controls/PictureControlClasses.h"
#include "match3/Match3Classes.h"
#include "shell/Application.h"
#include "shell/ApplicationRoot.h"
#include "shell/TimePauser.h"
#include "widgets/AnimatedWidgetClasses.h"
#include "widgets/ListWidgetClasses.h"
#include "widgets/ValueWidgetClasses.h"
#include "widgets/WidgetClasses.h"

namespace {
// The pausers of the content loaders' pause and resume calls, innermost last.
std::vector<std::unique_ptr<TimePauser>>& Pausers() {
    static std::vector<std::unique_ptr<TimePauser>> pausers;
    return pausers;
}
}  // namespace

void ConnectSubsystems() {
    // Content: resource lists, templates, definitions, controllers, particles and effects.
    ConnectResourceScriptServices();
    ConnectAnimationScriptServices();
    RegisterCommonDefinitionClasses();
    RegisterEffectControls();
    ResourceManagerServices& loading = GetResourceManagerServices();
    loading.updateLoadScreen = [] {
        if (Core::appInstance) Core::appInstance->UpdateLoadScreen();
    };
    loading.pauseTimer = [] { Pausers().push_back(std::make_unique<TimePauser>()); };
    loading.resumeTimer = [] {
        if (!Pausers().empty()) Pausers().pop_back();
    };
    ContentHooks& content = GetContentHooks();
    content.hasPendingControllers = [] { return Core::GetControllerManager().IsPending(); };
    content.mergeNewControllers = [] { Core::GetControllerManager().MergeNewControllers(); };
    content.updateControllers = [](float dt) { Core::GetControllerManager().Update(dt); };
    content.addEffectObserver = [] { Core::GetControllerManager().addController(&Core::GetEffectObserver()); };
    content.releaseAllResources = [] {
        ResourceManager::ReleaseAll();
        ParticleTextures::ReleaseAll();
        TemplateLib::RemoveAllTemplates();
    };
    content.getString = [](const std::string& name) { return ResourceManager::GetString(name); };

    // Controls: the root container, the tree's input road and the control classes.
    StartControlFramework();
    RegisterPictureControlClasses();
    RegisterDecoratorControlClasses();
    RegisterFlowControlClasses();

    // Widgets.
    RegisterWidgetClasses();
    RegisterValueWidgetClasses();
    RegisterListWidgetClasses();
    RegisterAnimatedWidgetClasses();

    // Match-three game.
    RegisterMatch3Classes();

    // The aquarium: the tank, its screen dispatcher and the sell basket.
    RegisterAquariumClasses();
}
