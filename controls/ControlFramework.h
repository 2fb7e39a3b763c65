#pragma once
// Start-up of the control framework: its classes enter the factories and the script function
// "LoadControlTree" builds real trees into the root container.

void StartControlFramework();
