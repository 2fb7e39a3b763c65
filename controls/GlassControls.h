#pragma once
// Invisible panes that keep input from the controls behind them (later in the parent's list).
// ZGlassControl takes every press nobody in front took, marks every move handled and swallows
// keys and characters; MaskZGlassControl lets input through the transparent pixels of a mask
// picture; MessageZGlassControl also sends its message for such a press and for a key press.

#include <string>

#include "controls/Control.h"
#include "core/MousePosRememberer.h"
#include "shell/Texture.h"

class ZGlassControl : public Control {
public:
    ZGlassControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~ZGlassControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;

    // Called for every move of the family that no control has marked handled.
    virtual void BlockMouseMove(ObjectWeakPointer<MouseMoveEvent> event);

    bool IsMouseCapturedByThis() const { return _isMouseCapturedByThis; }

protected:
    bool _isMouseCapturedByThis = false;
};

class MaskZGlassControl : public ZGlassControl, public MousePosRememberer {
public:
    // Reads the child "texture" with its attribute "textureId": the hit map.
    MaskZGlassControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~MaskZGlassControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void BlockMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;

private:
    // Over a transparent pixel of the mask at the remembered position.
    bool IsMouseInHole();

    UsingPointer<Texture> _mask;
};

class MessageZGlassControl : public ZGlassControl {
public:
    // Reads the child "message" with its attributes "value" and "receiver".
    MessageZGlassControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~MessageZGlassControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;

private:
    std::string _receiver;
    std::string _message;
};
