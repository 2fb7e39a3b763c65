#pragma once
// Owns the controls listed under its "children" element. Input and frames go to the children
// first to last, drawing last to first, so the first child lies on top and sees input first.

#include <vector>

#include "controls/Control.h"

class FixedChildrenListControl : public Control {
public:
    FixedChildrenListControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~FixedChildrenListControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;

    const std::vector<ObjectSmartPointer<Control>>& GetChildren() const { return _children; }

protected:
    std::vector<ObjectSmartPointer<Control>> _children;
};
