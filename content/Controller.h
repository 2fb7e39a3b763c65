#pragma once
// Something advanced once a frame by the controller manager until it reports that it has finished.

#include <string>

namespace Core {
class ControllerManager;
}

class IController {
public:
    explicit IController(const std::string& name = "noname") : _name(name) {}
    virtual ~IController() = default;
    IController(const IController&) = delete;
    IController& operator=(const IController&) = delete;

    virtual void Update(float dt) = 0;
    virtual bool IsFinished() = 0;

    const std::string& GetName() const { return _name; }
    bool GetFinishedFlag() const { return _finished; }

private:
    friend class Core::ControllerManager;

    std::string _name;
    bool _finished = false;  // written only by the manager
    bool _inUpdate = false;  // the manager is inside this controller's Update
};
