#pragma once
// An invisible rectangle that takes left clicks and sends a message on each completed click.
// Element "ClickAreaControl": "position", "size" ("width", "height"), "message" ("receiver", "message").

#include "controls/Control.h"
#include "core/MousePosRememberer.h"
#include "core/ReceiverAndMessage.h"
#include "core/Rect.h"

class ClickAreaControl : public Control, public MousePosRememberer {
public:
    ClickAreaControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override {}
    void Update(float) override {}

private:
    bool IsOver(const Point& p);

    int _width = 0;
    int _height = 0;
    ObjectSmartPointer<ReceiverAndMessage> _message;
    bool _isMouseCapturedByThis = false;
};
