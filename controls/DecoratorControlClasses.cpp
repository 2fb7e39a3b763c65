#include "controls/DecoratorControlClasses.h"

#include "controls/AlphaChangeControl.h"
#include "controls/AlphaControls.h"
#include "controls/ChildrenMaskControl.h"
#include "controls/ControlFactory.h"
#include "controls/FadeControls.h"
#include "controls/FrameControls.h"
#include "controls/GlassControls.h"
#include "controls/RaisingTextureControl.h"
#include "controls/RotationControl.h"
#include "controls/ZoomChangeControl.h"
#include "controls/ZoomControl.h"

void RegisterDecoratorControlClasses() {
    static bool isRegistered = false;
    if (isRegistered) {
        return;
    }
    isRegistered = true;
    ControlFactory::RegisterControl("ZGlassControl", ControlFactory::Make<ZGlassControl>());
    ControlFactory::RegisterControl("MaskZGlassControl", ControlFactory::Make<MaskZGlassControl>());
    ControlFactory::RegisterControl("MessageZGlassControl", ControlFactory::Make<MessageZGlassControl>());
    ControlFactory::RegisterControl("DarkeningControl", ControlFactory::Make<DarkeningControl>());
    ControlFactory::RegisterControl("BrighteningControl", ControlFactory::Make<BrighteningControl>());
    ControlFactory::RegisterControl("ZoomControl", ControlFactory::Make<ZoomControl>());
    ControlFactory::RegisterControl("XYZoomControl", ControlFactory::Make<XYZoomControl>());
    ControlFactory::RegisterControl("RotationControl", ControlFactory::Make<RotationControl>());
    ControlFactory::RegisterControl("ZeroAlphaControl", ControlFactory::Make<ZeroAlphaControl>());
    ControlFactory::RegisterControl("RectangleFrameControl", ControlFactory::Make<RectangleFrameControl>());
    ControlFactory::RegisterControl("TextureFrameControl", ControlFactory::Make<TextureFrameControl>());
    ControlFactory::RegisterControl("ColorRectangleControl", ControlFactory::Make<ColorRectangleControl>());
    ControlFactory::RegisterControl("RaisingTextureControl", ControlFactory::Make<RaisingTextureControl>());
    ControlFactory::RegisterControl("FixedAlphaControl", ControlFactory::Make<FixedAlphaControl>());
    ControlFactory::RegisterControl("RectangleChildrenMaskControl",
                                    ControlFactory::Make<RectangleChildrenMaskControl>());
    ControlFactory::RegisterControl("TextureChildrenMaskControl", ControlFactory::Make<TextureChildrenMaskControl>());
    ControlFactory::RegisterControl("ZoomChangeControl", ControlFactory::Make<ZoomChangeControl>());
    ControlFactory::RegisterControl("AlphaChangeControl", ControlFactory::Make<AlphaChangeControl>());
}
