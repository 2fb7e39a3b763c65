#pragma once
// The one list of running controllers, updated once a frame (the script global "kernel").

#include <list>

#include "content/Controller.h"

namespace Core {

class ControllerManager {
public:
    ControllerManager() = default;
    // Frees the lists; the controllers still in them are not deleted.
    ~ControllerManager() = default;
    ControllerManager(const ControllerManager&) = delete;
    ControllerManager& operator=(const ControllerManager&) = delete;

    // Deletes what had finished, updates the rest in order, deletes what finishes now.
    // Called again from inside a controller's update (a purge), it updates the other controllers
    // and leaves every deletion to the end of the outer walk.
    void Update(float dt);
    // Takes ownership; the controller is updated from the next merge on.
    void addController(IController* controller);
    // Update(0) for every new controller, then the new list joins the end of the running list.
    void MergeNewControllers();
    void UpdateAdded(float dt);
    bool IsPending() const { return _pending; }

    // Read-only views for tests and diagnostics.
    const std::list<IController*>& GetRunning() const { return _running; }
    const std::list<IController*>& GetNew() const { return _new; }

private:
    void DeleteFinished();

    std::list<IController*> _running;
    std::list<IController*> _new;
    bool _pending = false;
    int _walkDepth = 0;
};

// The one manager of the program.
ControllerManager& GetControllerManager();

}  // namespace Core
