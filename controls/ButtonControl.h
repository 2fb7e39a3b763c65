#pragma once
// The clickable picture: normal, active (hovered), pressed and an optional disabled look,
// cross-faded into each other, with a hover and a click sound and an optional flashing of the
// active look over the normal one. A button missing its normal, active or pressed texture is
// neither drawn nor updated and lets all input pass.

#include <string>

#include "content/MotionTextures.h"
#include "controls/Control.h"
#include "core/MousePosRememberer.h"
#include "shell/Texture.h"

class ButtonControl : public Control, public MousePosRememberer {
public:
    enum State { NORMAL_STATE = 0, ACTIVE_STATE = 1, PRESSED_STATE = 2, DISABLED_STATE = 3 };

    // Seconds of one cross-fade between looks.
    static constexpr float CHANGE_TIME = 1.0f / 7.0f;

    ButtonControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~ButtonControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;

    virtual bool IsMouseInNormalButton();
    virtual bool IsMouseInActiveButton();
    virtual bool IsMouseInPressedButton();
    virtual bool IsMouseInDisabledButton();
    virtual void SetNormalState();
    virtual void SetActiveState();
    virtual void SetPressedState();
    virtual void SetDisabledState();

    int GetState() const { return _state; }
    bool IsComplete() const { return _isComplete; }
    bool IsMouseCapturedByThis() const { return _isMouseCapturedByThis; }
    ObjectWeakPointer<SmoothTextureChanger> GetTextureChanger() const { return _textureChanger; }

protected:
    // The texture of the current look (empty for a disabled look without a texture).
    UsingPointer<Texture> GetStateTexture() const;
    bool IsMouseIn(const UsingPointer<Texture>& texture);
    // The mouse position has been seen since construction.
    bool IsMousePosKnown() const { return _isMousePosKnown; }

private:
    void ChangeLook(const UsingPointer<Texture>& texture);
    // A held capture that the container dropped: the flag is cleared and a pressed look goes back to normal.
    void ForgetLostCapture();

    UsingPointer<Texture> _normalTexture;
    UsingPointer<Texture> _activeTexture;
    UsingPointer<Texture> _pressedTexture;
    UsingPointer<Texture> _disabledTexture;
    int _state = NORMAL_STATE;
    bool _isMouseCapturedByThis = false;
    bool _isComplete = false;
    ObjectSmartPointer<SmoothTextureChanger> _textureChanger;
    std::string _activeSound;
    std::string _pressedSound;
    bool _isMousePosKnown = false;
};

// A button that sends its message to its receiver on every completed click. With "doubleClick"
// false the second press of a double click sends nothing: a double click is one click.
class MessageButtonControl : public ButtonControl {
public:
    // Reads the child "message" with "value", "receiver" and the optional "doubleClick" (default true).
    MessageButtonControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;

private:
    std::string _message;
    std::string _receiver;
    bool _isDoubleClickSent = true;
    bool _isDoubleClickPress = false;
};
