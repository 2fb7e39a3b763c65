#pragma once
// Registers the animated and diagnostic widgets with the control factory: animated text, the
// overlays, the frame changer, the link watcher, the game logo and the sliding hint panel.

void RegisterAnimatedWidgetClasses();
