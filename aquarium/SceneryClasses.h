#pragma once
// The tank's scenery controls: plants, decorations, ambient effects, pointers, equipment and
// cups, registered with the control factory by their element names.

void RegisterSceneryClasses();
