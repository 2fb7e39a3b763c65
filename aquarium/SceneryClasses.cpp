#include "aquarium/SceneryClasses.h"

#include "aquarium/ComfortEquipment.h"
#include "aquarium/ExtendedWaterPlantControl.h"
#include "aquarium/SceneryCups.h"
#include "aquarium/SceneryDecorations.h"
#include "aquarium/SceneryEffects.h"
#include "aquarium/SceneryPointers.h"
#include "aquarium/TankRecords.h"
#include "controls/ControlFactory.h"

void RegisterSceneryClasses() {
    ControlFactory::RegisterControl("ExtendedWaterPlantControl", ControlFactory::Make<ExtendedWaterPlantControl>());
    TankItemRecords::Register("ExtendedWaterPlantControl", true, &ExtendedWaterPlantControl::CheckRecord);
    ControlFactory::RegisterControl("ChestControl", ControlFactory::Make<ChestControl>());
    ControlFactory::RegisterControl("HelmetControl", ControlFactory::Make<HelmetControl>());
    ControlFactory::RegisterControl("DiverControl", ControlFactory::Make<DiverControl>());
    ControlFactory::RegisterControl("CockleShellControl", ControlFactory::Make<CockleShellControl>());
    ControlFactory::RegisterControl("CrabControl", ControlFactory::Make<CrabControl>());
    ControlFactory::RegisterControl("MillControl", ControlFactory::Make<MillControl>());
    ControlFactory::RegisterControl("CausticControl", ControlFactory::Make<CausticControl>());
    ControlFactory::RegisterControl("BubblesBackGround", ControlFactory::Make<BubblesBackGround>());
    ControlFactory::RegisterControl("ArrowControl", ControlFactory::Make<ArrowControl>());
    ControlFactory::RegisterControl("FiveStarsControl", ControlFactory::Make<FiveStarsControl>());
    ControlFactory::RegisterControl("MouseHelpControl", ControlFactory::Make<MouseHelpControl>());
    ControlFactory::RegisterControl("CupRenderControl", ControlFactory::Make<CupRenderControl>());
    ControlFactory::RegisterControl("CupAnimationControl", ControlFactory::Make<CupAnimationControl>());
    ControlFactory::RegisterControl("CompressorControl", ControlFactory::Make<CompressorControl>());
    ControlFactory::RegisterControl("ThermoregulatorControl", ControlFactory::Make<ThermoregulatorControl>());
    ControlFactory::RegisterControl("AquaFilterControl", ControlFactory::Make<AquaFilterControl>());
    ControlFactory::RegisterControl("SunlightControl", ControlFactory::Make<SunlightControl>());
    ControlFactory::RegisterControl("FeedControl", ControlFactory::Make<FeedControl>());
}
