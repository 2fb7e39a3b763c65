#pragma once
// Registers the text and widget controls with the control factory (once; later calls do nothing).

void RegisterWidgetClasses();
