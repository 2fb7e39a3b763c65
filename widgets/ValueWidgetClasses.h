#pragma once
// Registers the entry and value widgets with the control factory: the edit box, the check box,
// the slider and the progress bar.

void RegisterValueWidgetClasses();
