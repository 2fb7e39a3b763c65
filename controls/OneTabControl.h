#pragma once
// One tab of a tab set: a front, a rear and a hovered-rear picture, with children drawn over it
// that see input first. The set decides which tab is in front; a rear tab lights up under the
// mouse on its own, and the front or a lit tab captures a press.

#include "controls/FixedChildrenListControl.h"
#include "core/MousePosRememberer.h"
#include "shell/Texture.h"

class OneTabControl : public FixedChildrenListControl, public MousePosRememberer {
public:
    enum State { FRONT_STATE = 0, REAR_STATE = 1, ACTIVE_STATE = 2 };

    // Reads the child "textures" with "frontId", "rearId" and "activeId", and "children".
    OneTabControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~OneTabControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;

    int GetState() const { return _state; }
    void SetState(int state);

    // The remembered mouse position over an opaque pixel of one of the three pictures.
    bool IsMouseInFrontTexture() { return IsMouseIn(_frontTexture); }
    bool IsMouseInRearTexture() { return IsMouseIn(_rearTexture); }
    bool IsMouseInActiveTexture() { return IsMouseIn(_activeTexture); }

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
