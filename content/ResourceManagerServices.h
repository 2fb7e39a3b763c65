#pragma once
// What the content loaders use of the application, connected by the application at start-up.
// Unconnected, the load screen takes no step and loading runs with the timer running.

#include <functional>

#include "core/ObjectSmartPointer.h"
#include "core/XmlElement.h"

struct ResourceManagerServices {
    // One step of the load screen (after each font, texture, animation and template).
    std::function<void()> updateLoadScreen;
    // Pause and resume the game timer around group uploads and releases.
    std::function<void()> pauseTimer;
    std::function<void()> resumeTimer;
    // Told of every section and entry element before it is read (the content checker's locator).
    std::function<void(const ObjectWeakPointer<XmlElement>&)> entryStarted;
};

ResourceManagerServices& GetResourceManagerServices();

namespace ContentLoad {
void Step();
void EntryStarted(const ObjectWeakPointer<XmlElement>& element);

// Keeps the game timer paused for its lifetime.
class TimePauser {
public:
    TimePauser();
    ~TimePauser();
    TimePauser(const TimePauser&) = delete;
    TimePauser& operator=(const TimePauser&) = delete;
};
}  // namespace ContentLoad
