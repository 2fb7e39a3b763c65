#include "controls/ControlContainer.h"

#include <vector>

#include "controls/ControlFactory.h"
#include "controls/MouseEvents.h"
#include "core/Assert.h"
#include "core/Bool.h"
#include "core/Int.h"
#include "core/MessageServer.h"
#include "core/XmlElement.h"

ObjectSmartPointer<ControlContainer> rootContainer;

namespace {

// Entries under way (posted-message step included) and dispatches under way (the guarded part).
int entryDepth = 0;
int dispatchDepth = 0;

// A root replacement asked for while a dispatch ran.
bool hasPendingRoot = false;
ObjectSmartPointer<ControlContainer>& PendingRoot() {
    static ObjectSmartPointer<ControlContainer> pending;
    return pending;
}

// Containers replaced while one of their entries may still be running.
std::vector<ObjectSmartPointer<ControlContainer>>& Retired() {
    static std::vector<ObjectSmartPointer<ControlContainer>> retired;
    return retired;
}

void ReplaceRoot(const ObjectSmartPointer<ControlContainer>& container) {
    ObjectSmartPointer<ControlContainer> previous = rootContainer;
    rootContainer = container;
    if (entryDepth > 0 && previous != NULL) {
        // No dispatch runs here: its controls go at once, so that a tree built next may take
        // their receiver names; the container itself waits for its entry to return.
        previous->ReleaseTree();
        Retired().push_back(previous);
    }
    // Otherwise the previous tree goes here.
}

void InstallPendingRoot() {
    if (!hasPendingRoot) {
        return;
    }
    hasPendingRoot = false;
    ObjectSmartPointer<ControlContainer> pending = PendingRoot();
    PendingRoot() = nullptr;
    ReplaceRoot(pending);
}

}  // namespace

// Around a whole entry: retired containers go once the outermost entry has returned.
class ControlContainer::EntryScope {
public:
    EntryScope() { ++entryDepth; }
    ~EntryScope() {
        if (--entryDepth > 0 || Retired().empty()) {
            return;
        }
        std::vector<ObjectSmartPointer<ControlContainer>> retired;
        retired.swap(Retired());
        try {
            retired.clear();
        } catch (const AssertionFailedException&) {
            // Reported where it failed; the rest of the tree is left to the exit check.
        }
    }
    EntryScope(const EntryScope&) = delete;
    EntryScope& operator=(const EntryScope&) = delete;
};

// The guarded part of an entry.
class ControlContainer::DispatchScope {
public:
    explicit DispatchScope(ControlContainer& container)
        : _container(container), _wasInside(container._isControlFlowInside) {
        bool& _isControlFlowInside = _container._isControlFlowInside;
        Assert(!_isControlFlowInside);
        _isControlFlowInside = true;
        ++dispatchDepth;
    }
    ~DispatchScope() {
        _container._isControlFlowInside = _wasInside;
        if (--dispatchDepth == 0) {
            InstallPendingRoot();
        }
    }
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;

private:
    ControlContainer& _container;
    bool _wasInside = false;
};

ControlContainer::ControlContainer(const ObjectWeakPointer<XmlElement>& xml) {
    Assert(xml != NULL);
    if (xml == NULL) {
        return;
    }
    _root = ControlFactory::CreateControl(ObjectWeakPointer<Control>(), xml->GetFirstChildElement());
}

ControlContainer::~ControlContainer() = default;

bool ControlContainer::IsDispatching() { return dispatchDepth > 0; }

void ControlContainer::ReleaseTree() {
    Assert(dispatchDepth == 0);
    _root = nullptr;
}

void ControlContainer::MoveDispatch(int x, int y) {
    _mouseX = x;
    _mouseY = y;
    DispatchMoveFamily(ObjectSmartPointer<MouseMoveEvent>(new MouseMoveEvent(x, y, _isMouseCaptured)));
}

void ControlContainer::DispatchMoveFamily(const ObjectSmartPointer<MouseMoveEvent>& event) {
    if (_root != NULL) {
        _root->OnMouseMove(ObjectWeakPointer<MouseMoveEvent>(event));
    }
    if (_isMouseCaptured && !event->IsCaptureConfirmed()) {
        _isMouseCaptured = false;
    }
}

void ControlContainer::MouseMove(int x, int y) {
    EntryScope entry;
    {
        DispatchScope dispatch(*this);
        MoveDispatch(x, y);
    }
    ProcessPostedMessages();
}

void ControlContainer::LeftPress(int x, int y, bool isDoubleClick) {
    EntryScope entry;
    {
        DispatchScope dispatch(*this);
        MoveDispatch(x, y);
        if (!_isLeftButtonDown) {
            _isLeftButtonDown = true;
            // Made after the move, which may have dropped a capture nobody holds any more.
            ObjectSmartPointer<MouseDownEvent> event(isDoubleClick ? new MouseDoubleClickEvent(_isMouseCaptured)
                                                                   : new MouseDownEvent(_isMouseCaptured));
            if (_root != NULL) {
                _root->OnMouseDown(ObjectWeakPointer<MouseDownEvent>(event));
            }
            _isMouseCaptured = event->IsMouseCaptured();
            event = nullptr;
            MoveDispatch(x, y);
        }
    }
    ProcessPostedMessages();
}

void ControlContainer::MouseDown(int x, int y) { LeftPress(x, y, false); }

void ControlContainer::MouseDoubleClick(int x, int y) { LeftPress(x, y, true); }

void ControlContainer::MouseUp(int x, int y) {
    EntryScope entry;
    {
        DispatchScope dispatch(*this);
        MoveDispatch(x, y);
        if (_isLeftButtonDown) {
            _isLeftButtonDown = false;
            ObjectSmartPointer<MouseUpEvent> event(new MouseUpEvent(_isMouseCaptured));
            if (_root != NULL) {
                _root->OnMouseUp(ObjectWeakPointer<MouseUpEvent>(event));
            }
            _isMouseCaptured = event->IsMouseCaptured();
            event = nullptr;
            MoveDispatch(x, y);
        }
    }
    ProcessPostedMessages();
}

template <class Event>
void ControlContainer::RightButton() {
    EntryScope entry;
    {
        DispatchScope dispatch(*this);
        DispatchMoveFamily(ObjectSmartPointer<MouseMoveEvent>(new Event(_mouseX, _mouseY, _isMouseCaptured)));
    }
    ProcessPostedMessages();
}

void ControlContainer::RightButtonDown(int, int) { RightButton<RightButtonDownEvent>(); }

void ControlContainer::RightButtonUp(int, int) { RightButton<RightButtonUpEvent>(); }

void ControlContainer::RightButtonDouble(int, int) { RightButton<RightButtonDoubleEvent>(); }

void ControlContainer::Draw() {
    EntryScope entry;
    {
        DispatchScope dispatch(*this);
        MoveDispatch(_mouseX, _mouseY);
        if (_root != NULL) {
            _root->Draw();
        }
    }
    ProcessPostedMessages();
}

void ControlContainer::Update(float dt) {
    EntryScope entry;
    {
        DispatchScope dispatch(*this);
        if (dt > 1.0f) {
            dt = 1.0f;
        }
        Assert(dt > 0);
        if (_root != NULL) {
            _root->Update(dt);
        }
    }
    ProcessPostedMessages();
}

void ControlContainer::AcceptMessage(const Message& message) {
    EntryScope entry;
    {
        DispatchScope dispatch(*this);
        if (message.GetName() == "KeyPress") {
            int code = Int::Parse(message.GetParameter());
            if (code < 0) {
                code = -code;
                Assert(1 <= code && code <= 255);
                DispatchMoveFamily(
                    ObjectSmartPointer<MouseMoveEvent>(new KeyDownEvent(_mouseX, _mouseY, _isMouseCaptured, code)));
            } else {
                Assert(0 <= code && code <= 255);
                DispatchMoveFamily(
                    ObjectSmartPointer<MouseMoveEvent>(new CharEvent(_mouseX, _mouseY, _isMouseCaptured, code)));
            }
        } else if (message.GetName() == "MouseWheel") {
            const bool direction = Bool::Parse(message.GetParameter());
            DispatchMoveFamily(
                ObjectSmartPointer<MouseMoveEvent>(new MouseWheelEvent(_mouseX, _mouseY, _isMouseCaptured, direction)));
        }
    }
    ProcessPostedMessages();
}

void SetRootContainer(const ObjectSmartPointer<ControlContainer>& container) {
    if (dispatchDepth > 0) {
        // A tree is never changed from inside its own dispatch: this one waits for its end.
        hasPendingRoot = true;
        PendingRoot() = container;
        return;
    }
    ReplaceRoot(container);
}

void SetRootContainerFromXml(const ObjectWeakPointer<XmlElement>& root) {
    SetRootContainer(ObjectSmartPointer<ControlContainer>(new ControlContainer(root)));
}
