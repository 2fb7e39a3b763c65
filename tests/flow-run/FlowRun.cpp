// The game program with the resource and animation services, the control framework, the picture
// controls and the screen-flow controls connected, for headless runs of the screen-flow demo.
#include <clocale>

#include "content/CommonDefinitionClasses.h"
#include "content/ControllerScript.h"
#include "content/ResourceManager.h"
#include "content/ResourceManagerScript.h"
#include "controls/ControlFramework.h"
#include "controls/FlowControlClasses.h"
#include "controls/PictureControlClasses.h"
#include "shell/ApplicationRoot.h"
#include "shell/Entry.h"

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C");
    ConnectResourceScriptServices();
    ConnectAnimationScriptServices();
    GetContentHooks().releaseAllResources = [] { ResourceManager::ReleaseAll(); };
    StartControlFramework();
    RegisterCommonDefinitionClasses();
    RegisterPictureControlClasses();
    RegisterFlowControlClasses();
    return EntryMain(argc, argv);
}
