#pragma once
// Connects the subsystems built on the shell to it: the script functions and services of the
// content subsystem, and what the main loop and the shutdown reach of it.

void ConnectSubsystems();
