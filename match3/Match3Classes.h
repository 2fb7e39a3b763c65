#pragma once
// Registers the match-three controls with the control factory (once; later calls do nothing).

void RegisterMatch3Classes();
