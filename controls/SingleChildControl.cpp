#include "controls/SingleChildControl.h"

#include "controls/ControlFactory.h"
#include "controls/MouseEvents.h"
#include "core/XmlElement.h"

// Marks the forwarding and holds the child for the length of the call.
class SingleChildControl::ForwardScope {
public:
    explicit ForwardScope(SingleChildControl& control)
        : _control(control), _child(control._child), _wasInside(control._isControlFlowInside) {
        _control._isControlFlowInside = true;
    }
    ~ForwardScope() { _control._isControlFlowInside = _wasInside; }
    ForwardScope(const ForwardScope&) = delete;
    ForwardScope& operator=(const ForwardScope&) = delete;

    Control* Child() const { return _child.Get(); }
    // After the call: a replacement asked for during it is made now, outside every forwarding.
    void Finish() {
        _control._isControlFlowInside = _wasInside;
        _child = nullptr;
        if (!_wasInside) {
            _control.ApplyPending();
        }
    }

private:
    SingleChildControl& _control;
    ObjectSmartPointer<Control> _child;
    bool _wasInside = false;
};

SingleChildControl::SingleChildControl(const ObjectWeakPointer<Control>& parent,
                                       const ObjectWeakPointer<XmlElement>& xml)
    : Control(parent, xml) {}

SingleChildControl::~SingleChildControl() = default;

void SingleChildControl::CreateChild(const ObjectWeakPointer<XmlElement>& element) {
    Assert(!_isControlFlowInside);
    if (_isControlFlowInside) {
        // The running child must outlive its call: build from a copy afterwards.
        _pendingElement = element == NULL ? ObjectSmartPointer<XmlElement>()
                                          : ObjectSmartPointer<XmlElement>(new XmlElement(element));
        _pendingChild = nullptr;
        _hasPendingChild = true;
        return;
    }
    BuildChild(element);
}

void SingleChildControl::SetChild(const ObjectSmartPointer<Control>& child) {
    Assert(!_isControlFlowInside);
    if (_isControlFlowInside) {
        _pendingElement = nullptr;
        _pendingChild = child;
        _hasPendingChild = true;
        return;
    }
    _child = child;
}

void SingleChildControl::BuildChild(const ObjectWeakPointer<XmlElement>& element) {
    // The old child goes before the new one exists.
    _child = nullptr;
    Assert(element != NULL);
    if (element == NULL) {
        return;
    }
    element->ResetVisited();
    _child = ControlFactory::CreateControl(ObjectWeakPointer<Control>(this), element);
    element->CheckVisited();
}

void SingleChildControl::ApplyPending() {
    if (!_hasPendingChild) {
        return;
    }
    _hasPendingChild = false;
    ObjectSmartPointer<XmlElement> element = _pendingElement;
    ObjectSmartPointer<Control> child = _pendingChild;
    _pendingElement = nullptr;
    _pendingChild = nullptr;
    if (element != NULL) {
        BuildChild(element);
    } else {
        _child = child;
    }
}

void SingleChildControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    ForwardScope scope(*this);
    if (scope.Child() != nullptr) {
        scope.Child()->OnMouseDown(event);
    }
    scope.Finish();
}

void SingleChildControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    ForwardScope scope(*this);
    if (scope.Child() != nullptr) {
        scope.Child()->OnMouseUp(event);
    }
    scope.Finish();
}

void SingleChildControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    ForwardScope scope(*this);
    if (scope.Child() != nullptr) {
        scope.Child()->OnMouseMove(event);
    }
    scope.Finish();
}

void SingleChildControl::Draw() {
    ForwardScope scope(*this);
    if (scope.Child() != nullptr) {
        scope.Child()->Draw();
    }
    scope.Finish();
}

void SingleChildControl::Update(float dt) {
    ForwardScope scope(*this);
    if (scope.Child() != nullptr) {
        scope.Child()->Update(dt);
    }
    scope.Finish();
}
