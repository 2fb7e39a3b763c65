#pragma once
// Registers the aquarium's controls (the tank, the screen dispatcher, the sell basket) with the
// control factory (once; later calls do nothing).

void RegisterAquariumClasses();
