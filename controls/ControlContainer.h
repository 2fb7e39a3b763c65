#pragma once
// The root of one control tree and the single door of input, frames and messages into it; the
// shell drives the current one through its root port.

#include <string>

#include "controls/Control.h"
#include "core/Message.h"
#include "core/ObjectSmartPointer.h"
#include "shell/ApplicationRoot.h"

class XmlElement;

class ControlContainer : public Interface, public RootContainerPort {
public:
    // xml: the element "ControlContainer"; its first child element becomes the root control.
    explicit ControlContainer(const ObjectWeakPointer<XmlElement>& xml);
    ~ControlContainer() override;

    void MouseMove(int x, int y) override;
    void Draw() override;
    void Update(float dt) override;
    void AcceptMessage(const Message& message) override;

    void MouseDown(int x, int y) override;
    void MouseUp(int x, int y) override;
    void MouseDoubleClick(int x, int y) override;
    // The right-button entries use the stored position; their arguments are not used.
    void RightButtonDown(int x, int y) override;
    void RightButtonUp(int x, int y) override;
    void RightButtonDouble(int x, int y) override;

    ObjectWeakPointer<Control> GetRoot() const { return _root; }
    bool IsLeftButtonDown() const { return _isLeftButtonDown; }
    bool IsMouseCaptured() const { return _isMouseCaptured; }
    Point GetMousePos() const { return Point(_mouseX, _mouseY); }

    // Drops the whole tree; only while no dispatch runs (a container that was replaced).
    void ReleaseTree();

    // True while any container forwards a call into its tree.
    static bool IsDispatching();

private:
    class EntryScope;
    class DispatchScope;

    void LeftPress(int x, int y, bool isDoubleClick);
    void MoveDispatch(int x, int y);
    // Passes an event of the move family to the root, then drops a capture nobody confirmed.
    void DispatchMoveFamily(const ObjectSmartPointer<MouseMoveEvent>& event);
    template <class Event>
    void RightButton();

    bool _isLeftButtonDown = false;
    bool _isMouseCaptured = false;
    int _mouseX = 0;
    int _mouseY = 0;
    ObjectSmartPointer<Control> _root;
    bool _isControlFlowInside = false;
};

// The current root container: the main loop, the window's input and the scripts reach the tree
// through it. Replace it through SetRootContainer.
extern ObjectSmartPointer<ControlContainer> rootContainer;

// Makes the container the root. While a dispatch runs, the replacement waits for its end; the
// previous tree goes at once, and a container whose entry is still running is kept alive (empty)
// until that entry returns.
void SetRootContainer(const ObjectSmartPointer<ControlContainer>& container);

// Builds a container from a "ControlContainer" element and makes it the root.
void SetRootContainerFromXml(const ObjectWeakPointer<XmlElement>& root);
