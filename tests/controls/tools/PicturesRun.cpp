// The game program with the control framework, the resource lists and the picture and button controls.
#include <clocale>

#include "content/ResourceManager.h"
#include "content/ResourceManagerScript.h"
#include "controls/ControlContainer.h"
#include "controls/ControlFramework.h"
#include "controls/PictureControlClasses.h"
#include "shell/ApplicationRoot.h"
#include "shell/Entry.h"

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C");
    StartControlFramework();
    RegisterPictureControlClasses();
    ConnectResourceScriptServices();
    // At shutdown the resources go after the tree that uses them.
    ApplicationRoot::Connect([]() -> RootContainerPort* { return rootContainer.Get(); },
                             [] {
                                 SetRootContainer(ObjectSmartPointer<ControlContainer>());
                                 ResourceManager::ReleaseAll();
                             });
    return EntryMain(argc, argv);
}
