#pragma once
// Start-up of the control framework: its classes enter the factories, the script function
// "LoadControlTree" builds real trees, the shell drives the root container, and the events set
// the application cursor's shape. Called once, before the application is made.

void StartControlFramework();
