#pragma once
// Registers the list widgets with the control factory: the list box, the scroll panels with their
// buttons and dispatcher, the tab set and its tabs.

void RegisterListWidgetClasses();
