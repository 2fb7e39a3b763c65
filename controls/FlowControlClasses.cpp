#include "controls/FlowControlClasses.h"

#include "controls/ControlFactory.h"
#include "controls/KeyListeningControl.h"
#include "controls/LongLifeStorageControl.h"
#include "controls/ModalDialogControl.h"
#include "controls/MovingControl.h"
#include "controls/MutableChildrenListControl.h"
#include "controls/ReminderControl.h"
#include "controls/SequentialControls.h"
#include "controls/SplashesControl.h"
#include "controls/TemplateInstanceControl.h"
#include "controls/VariableDrivenSwitchControl.h"

void RegisterFlowControlClasses() {
    static bool isRegistered = false;
    if (isRegistered) {
        return;
    }
    isRegistered = true;
    ControlFactory::RegisterControl("InOutMovingControl", ControlFactory::Make<InOutMovingControl>());
    ControlFactory::RegisterControl("MovingControl", ControlFactory::Make<MovingControl>());
    ControlFactory::RegisterControl("SequentialParentControl", ControlFactory::Make<SequentialParentControl>());
    ControlFactory::RegisterControl("SequentialChildControl", ControlFactory::Make<SequentialChildControl>());
    ControlFactory::RegisterControl("MutableChildrenListControl", ControlFactory::Make<MutableChildrenListControl>());
    ControlFactory::RegisterControl("ModalDialogControl", ControlFactory::Make<ModalDialogControl>());
    ControlFactory::RegisterControl("TemplateInstanceControl", ControlFactory::Make<TemplateInstanceControl>());
    ControlFactory::RegisterControl("XmlFileControl", ControlFactory::Make<XmlFileControl>());
    ControlFactory::RegisterControl("VariableDrivenSwitchControl", &CreateVariableDrivenSwitchControl);
    ControlFactory::RegisterControl("KeyListeningControl", ControlFactory::Make<KeyListeningControl>());
    ControlFactory::RegisterControl("ReminderControl", ControlFactory::Make<ReminderControl>());
    ControlFactory::RegisterControl("DragSensorControl", ControlFactory::Make<DragSensorControl>());
    ControlFactory::RegisterControl("EffectShowingControl", ControlFactory::Make<EffectShowingControl>());
    ControlFactory::RegisterControl("LongLifeStorageControl", ControlFactory::Make<LongLifeStorageControl>());
    ControlFactory::RegisterControl("LongLifeParentControl", ControlFactory::Make<LongLifeParentControl>());
    ControlFactory::RegisterControl("SingletonAdapterControl", ControlFactory::Make<SingletonAdapterControl>());
    ControlFactory::RegisterControl("SplashesControl", ControlFactory::Make<SplashesControl>());
}
