#include "shell/ApplicationRoot.h"

#include "core/Message.h"
#include "core/MessageServer.h"
#include "shell/Application.h"

namespace {

// No tree: every entry only delivers the posted messages, as a container's would; with no splash
// control to end the splash loop, the first update ends it.
class NullRoot : public RootContainerPort {
public:
    void Update(float) override {
        if (Core::appInstance) Core::appInstance->_isShowingSplashes = false;
        ProcessPostedMessages();
    }
    void Draw() override { ProcessPostedMessages(); }
    void MouseMove(int, int) override { ProcessPostedMessages(); }
    void MouseDown(int, int) override { ProcessPostedMessages(); }
    void MouseUp(int, int) override { ProcessPostedMessages(); }
    void MouseDoubleClick(int, int) override { ProcessPostedMessages(); }
    void RightButtonDown(int, int) override { ProcessPostedMessages(); }
    void RightButtonUp(int, int) override { ProcessPostedMessages(); }
    void RightButtonDouble(int, int) override { ProcessPostedMessages(); }
    void AcceptMessage(const Message&) override { ProcessPostedMessages(); }
};

struct Connection {
    std::function<RootContainerPort*()> get;
    std::function<void()> release;
};

Connection& Current() {
    static Connection connection;
    return connection;
}

}  // namespace

namespace ApplicationRoot {

void Connect(std::function<RootContainerPort*()> get, std::function<void()> release) {
    Current().get = std::move(get);
    Current().release = std::move(release);
}

bool IsConnected() { return static_cast<bool>(Current().get); }

RootContainerPort& Get() {
    static NullRoot nullRoot;
    RootContainerPort* root = Current().get ? Current().get() : nullptr;
    return root ? *root : nullRoot;
}

void Release() {
    if (Current().release) Current().release();
}

}  // namespace ApplicationRoot

ContentHooks& GetContentHooks() {
    static ContentHooks hooks;
    return hooks;
}
