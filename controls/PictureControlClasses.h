#pragma once
// Registers the picture, button and small timed controls with the control factory (once; later
// calls do nothing).

void RegisterPictureControlClasses();
