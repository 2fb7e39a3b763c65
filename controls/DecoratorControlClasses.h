#pragma once
// Registers the glass, fade, zoom, rotation, alpha, frame, mask and raising-picture controls with
// the control factory (once; later calls do nothing).

void RegisterDecoratorControlClasses();
