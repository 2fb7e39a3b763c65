#include "content/ControllerManager.h"

#include "core/Assert.h"

namespace Core {

ControllerManager& GetControllerManager() {
    static ControllerManager manager;
    return manager;
}

void ControllerManager::DeleteFinished() {
    for (auto it = _running.begin(); it != _running.end();) {
        IController* controller = *it;
        if (controller->_finished) {
            it = _running.erase(it);
            delete controller;
        } else {
            ++it;
        }
    }
}

void ControllerManager::Update(float dt) {
    const bool outermost = _walkDepth == 0;
    if (outermost) DeleteFinished();
    ++_walkDepth;
    // Controllers appended to the running list during the walk (a nested merge) are visited too;
    // std::list keeps the iterators valid.
    for (IController* controller : _running) {
        if (controller->_finished || controller->_inUpdate) continue;
        if (controller->IsFinished()) {
            controller->_finished = true;
            continue;
        }
        controller->_inUpdate = true;
        controller->Update(dt);
        controller->_inUpdate = false;
        controller->_finished = false;
    }
    --_walkDepth;
    if (outermost) DeleteFinished();
}

void ControllerManager::addController(IController* controller) {
    Assert(controller != NULL);
    if (controller == nullptr) return;
    _new.push_back(controller);
    _pending = true;
}

void ControllerManager::UpdateAdded(float dt) {
    for (IController* controller : _new) {
        controller->_inUpdate = true;
        controller->Update(dt);
        controller->_inUpdate = false;
    }
}

void ControllerManager::MergeNewControllers() {
    _pending = false;
    UpdateAdded(0.0f);
    _running.splice(_running.end(), _new);
}

}  // namespace Core
