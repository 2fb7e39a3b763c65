#include "controls/PictureControlClasses.h"

#include "controls/BlinkingTextureControl.h"
#include "controls/ButtonControl.h"
#include "controls/ButtonWithEffectControl.h"
#include "controls/ClickToStartControl.h"
#include "controls/ControlFactory.h"
#include "controls/ExpandingTextureControl.h"
#include "controls/FlashingStringControl.h"
#include "controls/McMovableTextureControl.h"
#include "controls/McStaticTextureControl.h"
#include "controls/MouseHandledSensorControl.h"
#include "controls/MovableTextureControl.h"
#include "controls/PositionControl.h"
#include "controls/StaticTextureControl.h"
#include "controls/StretchBackgroundControl.h"

void RegisterPictureControlClasses() {
    static bool isRegistered = false;
    if (isRegistered) {
        return;
    }
    isRegistered = true;
    ControlFactory::RegisterControl("ExpandingTextureControl", ControlFactory::Make<ExpandingTextureControl>());
    ControlFactory::RegisterControl("McStaticTextureControl", ControlFactory::Make<McStaticTextureControl>());
    ControlFactory::RegisterControl("McMovableTextureControl", ControlFactory::Make<McMovableTextureControl>());
    ControlFactory::RegisterControl("MouseHandledSensorControl", ControlFactory::Make<MouseHandledSensorControl>());
    ControlFactory::RegisterControl("StaticTextureControl", ControlFactory::Make<StaticTextureControl>());
    ControlFactory::RegisterControl("MovableTextureControl", ControlFactory::Make<MovableTextureControl>());
    ControlFactory::RegisterControl("ClickToStartControl", ControlFactory::Make<ClickToStartControl>());
    ControlFactory::RegisterControl("PositionControl", ControlFactory::Make<PositionControl>());
    ControlFactory::RegisterControl("FlashingStringControl", ControlFactory::Make<FlashingStringControl>());
    ControlFactory::RegisterControl("BlinkingTextureControl", ControlFactory::Make<BlinkingTextureControl>());
    ControlFactory::RegisterControl("ButtonControl", ControlFactory::Make<ButtonControl>());
    ControlFactory::RegisterControl("MessageButtonControl", ControlFactory::Make<MessageButtonControl>());
    ControlFactory::RegisterControl("ButtonWithEffectControl", ControlFactory::Make<ButtonWithEffectControl>());
    ControlFactory::RegisterControl("StretchBackgroundControl", ControlFactory::Make<StretchBackgroundControl>());
}
