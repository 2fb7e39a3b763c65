#pragma once
// One tab of a tab set: a front, a rear and a hovered-rear picture. The set decides which tab is
// in front; a rear tab lights up under the mouse on its own and captures a press on it.

#include "controls/Control.h"
#include "core/MousePosRememberer.h"
#include "shell/Texture.h"

class OneTabControl : public Control, public MousePosRememberer {
public:
    enum State { FRONT_STATE = 0, REAR_STATE = 1, ACTIVE_STATE = 2 };

    // Reads the child "textures" with "frontId", "rearId" and "activeId".
    OneTabControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~OneTabControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float) override {}

    int GetState() const { return _state; }
    void SetState(int state);

private:
    bool IsMouseIn(const UsingPointer<Texture>& texture);
    UsingPointer<Texture> GetStateTexture() const;

    UsingPointer<Texture> _frontTexture;
    UsingPointer<Texture> _rearTexture;
    UsingPointer<Texture> _activeTexture;
    int _state = REAR_STATE;
    bool _isMouseCapturedByThis = false;
    bool _isMousePosKnown = false;
};
