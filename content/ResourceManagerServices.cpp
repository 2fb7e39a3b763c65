#include "content/ResourceManagerServices.h"

ResourceManagerServices& GetResourceManagerServices() {
    static ResourceManagerServices services;
    return services;
}

namespace ContentLoad {

void Step() {
    const auto& step = GetResourceManagerServices().updateLoadScreen;
    if (step) step();
}

void EntryStarted(const ObjectWeakPointer<XmlElement>& element) {
    const auto& observer = GetResourceManagerServices().entryStarted;
    if (observer) observer(element);
}

TimePauser::TimePauser() {
    const auto& pause = GetResourceManagerServices().pauseTimer;
    if (pause) pause();
}

TimePauser::~TimePauser() {
    const auto& resume = GetResourceManagerServices().resumeTimer;
    if (resume) resume();
}

}  // namespace ContentLoad
