#pragma once
// Registers the screen-flow controls with the control factory (once; later calls do nothing):
// movers, sequential layouts, run-time lists, modal dialogs, template and file controls, the
// variable-driven switch, key listeners, reminders, drag sensors, effect showing, long-life
// storage, the singleton adapter and the splash.

void RegisterFlowControlClasses();
