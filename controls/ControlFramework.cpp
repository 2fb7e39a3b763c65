#include "controls/ControlFramework.h"

#include "controls/ControlContainer.h"
#include "controls/ControlFactory.h"
#include "controls/MouseEvents.h"
#include "shell/Application.h"
#include "shell/ApplicationRoot.h"
#include "shell/ScriptServices.h"

namespace {

void SetCursorShape(CursorShape shape) {
    if (Core::appInstance == nullptr || Core::appInstance->_cursor == NULL) {
        return;
    }
    Cursor& cursor = *Core::appInstance->_cursor;
    switch (shape) {
        case CursorShape::Normal:
            cursor._current = &cursor._normal;
            break;
        case CursorShape::Active:
            cursor._current = &cursor._active;
            break;
        case CursorShape::Pressed:
            cursor._current = &cursor._pressed;
            break;
    }
}

}  // namespace

void StartControlFramework() {
    RegisterControlFrameworkClasses();
    GetScriptServices().setRootContainer = &SetRootContainerFromXml;
    ApplicationRoot::Connect([]() -> RootContainerPort* { return rootContainer.Get(); },
                             [] { SetRootContainer(ObjectSmartPointer<ControlContainer>()); });
    EventCursor::Connect(&SetCursorShape);
}
