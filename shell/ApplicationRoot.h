#pragma once
// The root of the control tree as the shell drives it: the main loop updates and draws it, the
// window hands it every input event. The control framework's root container implements
// RootContainerPort and connects it here; until then the shell uses a root that does nothing.

#include <functional>
#include <string>

class Message;

class RootContainerPort {
public:
    virtual ~RootContainerPort() = default;
    virtual void Update(float dt) = 0;
    virtual void Draw() = 0;
    virtual void MouseMove(int x, int y) = 0;
    virtual void MouseDown(int x, int y) = 0;
    virtual void MouseUp(int x, int y) = 0;
    virtual void MouseDoubleClick(int x, int y) = 0;
    virtual void RightButtonDown(int x, int y) = 0;
    virtual void RightButtonUp(int x, int y) = 0;
    virtual void RightButtonDouble(int x, int y) = 0;
    virtual void AcceptMessage(const Message& message) = 0;
};

namespace ApplicationRoot {

// get: the current root (null while there is none); release: drops the whole tree (shutdown).
void Connect(std::function<RootContainerPort*()> get, std::function<void()> release);
bool IsConnected();
// The connected root, or the root that does nothing.
RootContainerPort& Get();
void Release();

}  // namespace ApplicationRoot

// Services of the content subsystem that the main loop and the shutdown reach: the controller
// manager, the resource manager's release and its text resources. The content subsystem connects
// them; unconnected, there are no controllers, nothing to release and a text is its own name.
struct ContentHooks {
    std::function<bool()> hasPendingControllers;
    std::function<void()> mergeNewControllers;
    std::function<void(float)> updateControllers;
    // Appends the effect observer to the newly added controllers and sets the pending flag.
    std::function<void()> addEffectObserver;
    std::function<void()> releaseAllResources;
    std::function<std::string(const std::string&)> getString;
};
ContentHooks& GetContentHooks();
