#pragma once
// STAND-IN for the control framework's root container while it is not connected: the first
// screen of the demo content. "LoadControlTree" builds it from a "ControlContainer" element whose
// first child "StandInScreen" names a background picture ("background"), a font ("font", also
// made the font "boom" of the pause overlay) and a line of text ("text" at "textX", "textY").

// Makes "LoadControlTree" build the stand-in and connects it as the root.
void ConnectStandInRoot();
// Drops the stand-in and gives its pictures back to the device.
void ReleaseStandInRoot();
