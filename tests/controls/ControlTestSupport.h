#pragma once
// Recording controls and trees built from XML text for the control framework tests.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/Control.h"
#include "controls/ControlContainer.h"
#include "controls/ControlFactory.h"
#include "controls/MouseEvents.h"
#include "core/MessageReceiver.h"
#include "core/MessageServer.h"
#include "core/MousePosRememberer.h"
#include "core/Rect.h"
#include "core/XmlDocument.h"
#include "core/XmlRead.h"
#include "tests/support/TestSupport.h"

namespace controls_test {

// What the recording controls saw, in order.
inline std::vector<std::string>& Trace() {
    static std::vector<std::string> trace;
    return trace;
}

inline std::string Flags(bool captured, bool handled) {
    return std::string(captured ? "C" : "-") + (handled ? "H" : "-");
}

// Takes clicks like a button: hover marks the move handled, a press over it captures, every move
// of the family is confirmed while it holds the capture, a release over it is a click.
// Element "Recorder": attributes "name", "width", "height".
class Recorder : public Control, public MousePosRememberer {
public:
    Recorder(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
        : Control(parent, xml) {
        _name = xml->GetStringAttribute("name");
        _width = xml->GetIntAttribute("width");
        _height = xml->GetIntAttribute("height");
        Trace().push_back(_name + " made");
    }
    ~Recorder() override { Trace().push_back(_name + " gone"); }

    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> e) override {
        SetMousePos(e->GetMousePos());
        std::string kind = "move";
        if (e.InstanceOf<KeyDownEvent>() && e.Cast<KeyDownEvent>() != NULL)
            kind = "key " + std::to_string(e.Cast<KeyDownEvent>()->GetKey());
        else if (e.InstanceOf<CharEvent>())
            kind = "char " + std::to_string(e.Cast<CharEvent>()->GetChar());
        else if (e.InstanceOf<MouseWheelEvent>())
            kind = std::string("wheel ") + (e.Cast<MouseWheelEvent>()->GetDirection() ? "away" : "toward");
        else if (e.InstanceOf<RightButtonDoubleEvent>())
            kind = "rdouble";
        else if (e.InstanceOf<RightButtonDownEvent>())
            kind = "rdown";
        else if (e.InstanceOf<RightButtonUpEvent>())
            kind = "rup";
        const Point p = e->GetMousePos();
        Trace().push_back(_name + " " + kind + " " + std::to_string(p.x) + "," + std::to_string(p.y) + " " +
                          Flags(e->IsMouseCaptured(), e->IsMouseHandled()));
        if (_holdsCapture && e->IsMouseCaptured() && confirms) {
            e->ConfirmCapture();
        }
        if (!e->IsMouseCaptured() && !e->IsMouseHandled() && IsOver(p)) {
            e->SetMouseHandled();
            e->SetActiveCursor();
        }
        if (onMove) onMove(e);
    }

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> e) override {
        Trace().push_back(_name + std::string(e.InstanceOf<MouseDoubleClickEvent>() ? " double " : " down ") +
                          Flags(e->IsMouseCaptured(), false));
        if (!e->IsMouseCaptured() && IsOver(GetMousePos())) {
            e->CaptureMouse();
            _holdsCapture = true;
        }
    }

    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> e) override {
        Trace().push_back(_name + " up " + Flags(e->IsMouseCaptured(), false));
        if (e->IsMouseCaptured() && _holdsCapture && releases) {
            e->ReleaseCapture();
            _holdsCapture = false;
            if (IsOver(GetMousePos())) {
                Trace().push_back(_name + " click");
                if (onClick) onClick();
            }
        }
    }

    void Draw() override { Trace().push_back(_name + " draw"); }
    void Update(float dt) override {
        Trace().push_back(_name + " update " + std::to_string(dt));
        if (onUpdate) onUpdate();
    }

    bool IsOver(const Point& p) {
        const Point a = GetAbsolutePos();
        return Rect(a.x, a.y, _width, _height).Contains(p.x, p.y);
    }

    bool holdsCapture() const { return _holdsCapture; }

    bool confirms = true;
    bool releases = true;
    std::function<void()> onClick;
    std::function<void()> onUpdate;
    std::function<void(ObjectWeakPointer<MouseMoveEvent>)> onMove;

private:
    std::string _name;
    int _width = 0;
    int _height = 0;
    bool _holdsCapture = false;
};

// A definition that reads its whole element ("name") and records its life.
class RecordingDefinition : public Definition {
public:
    explicit RecordingDefinition(const ObjectWeakPointer<XmlElement>& xml) : Definition(xml) {
        _name = xml->GetStringAttribute("name");
        Trace().push_back(_name + " defined");
    }
    ~RecordingDefinition() override { Trace().push_back(_name + " undefined"); }

private:
    std::string _name;
};

// A receiver that records the messages it gets.
class RecordingReceiver : public MessageReceiver {
public:
    explicit RecordingReceiver(const std::string& name) : MessageReceiver(name) {}
    void OnMessage(std::string message) override {
        Trace().push_back(GetReceiverName() + " < " + message);
        if (onMessage) onMessage(message);
    }
    std::function<void(const std::string&)> onMessage;
};

// Every test starts with the framework's classes and the test classes registered, an empty trace
// and no root container; it leaves no root container and no receivers behind.
class ControlsFixture : public testing::Test {
protected:
    void SetUp() override {
        RegisterControlFrameworkClasses();
        if (!ControlFactory::IsControlRegistered("Recorder")) {
            ControlFactory::RegisterControl("Recorder", ControlFactory::Make<Recorder>());
            ControlFactory::RegisterDefinition("RecordingDefinition",
                                               ControlFactory::MakeDefinition<RecordingDefinition>());
        }
        Trace().clear();
        rootContainer = nullptr;
    }
    void TearDown() override {
        rootContainer = nullptr;
        MessageServer::SetScriptCall(MessageServer::ScriptCall());
        ProcessPostedMessages();
        Trace().clear();
    }

    static ObjectSmartPointer<XmlDocument> Read(const std::string& text) {
        return ObjectSmartPointer<XmlDocument>(new XmlDocumentRead(text.data(), text.data() + text.size()));
    }

    // A container over a tree file's text, kept with its document.
    struct Tree {
        ObjectSmartPointer<XmlDocument> document;
        ObjectSmartPointer<ControlContainer> container;
    };
    static Tree Build(const std::string& text) {
        Tree tree;
        tree.document = Read(text);
        tree.container = ObjectSmartPointer<ControlContainer>(new ControlContainer(tree.document->GetRoot()));
        return tree;
    }

    static void ClearTrace() { Trace().clear(); }
};

// An element read from XML text, kept apart from its document.
inline ObjectSmartPointer<XmlElement> ParseElement(const std::string& text) {
    ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(text.data(), text.data() + text.size()));
    return ObjectSmartPointer<XmlElement>(new XmlElement(document->GetRoot()));
}

inline std::string RecorderXml(const std::string& name, int x, int y, int w, int h) {
    return "<Recorder name=\"" + name + "\" width=\"" + std::to_string(w) + "\" height=\"" + std::to_string(h) +
           "\"><position x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\"/></Recorder>";
}

inline std::string ListXml(const std::string& children, int x = 0, int y = 0) {
    return "<FixedChildrenListControl><position x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) +
           "\"/><children>" + children + "</children></FixedChildrenListControl>";
}

inline std::string TreeXml(const std::string& root) { return "<ControlContainer>" + root + "</ControlContainer>"; }

}  // namespace controls_test
