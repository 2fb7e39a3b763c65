#pragma once
// Connects the definitions and the layered animations of this folder to the control factory and
// to the script API. Call once before control trees are built and before the script API is
// registered; later calls only connect the script classes again.

void RegisterCommonDefinitionClasses();
