#pragma once
// Owns one child that a derived class creates and may replace while the program runs.

#include "controls/Control.h"

class SingleChildControl : public Control {
public:
    SingleChildControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~SingleChildControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;

    // Replaces the child by one built from the element; asked for while a call is being forwarded
    // to the child, the replacement is reported and made once that call has returned.
    void CreateChild(const ObjectWeakPointer<XmlElement>& element);
    // Adopts an existing control; deferred the same way.
    void SetChild(const ObjectSmartPointer<Control>& child);

    ObjectWeakPointer<Control> GetChild() const { return _child; }

protected:
    ObjectSmartPointer<Control> _child;
    bool _isControlFlowInside = false;

private:
    class ForwardScope;
    void BuildChild(const ObjectWeakPointer<XmlElement>& element);
    void ApplyPending();

    // A replacement asked for during forwarding: an element copy to build, or a control to adopt.
    ObjectSmartPointer<XmlElement> _pendingElement;
    ObjectSmartPointer<Control> _pendingChild;
    bool _hasPendingChild = false;
};
