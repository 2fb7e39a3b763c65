#pragma once
// The check box: a picture bound to one stored bool, toggled by a click (press and release inside
// the bounding box of its opaque pixels), with a hovered look and the sound "checkbox_change".

#include <string>

#include "content/MotionTextures.h"
#include "controls/Control.h"
#include "core/MousePosRememberer.h"
#include "core/Rect.h"
#include "core/Variable.h"
#include "shell/Texture.h"

class CheckBoxControl : public Control, public MousePosRememberer {
public:
    // Seconds of one cross-fade between looks.
    static constexpr float CHANGE_TIME = 1.0f / 7.0f;

    CheckBoxControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~CheckBoxControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;

    bool GetValue();
    // Stores the value and plays the change sound.
    void SetValue(bool value);

    // The look being shown or faded to.
    ObjectWeakPointer<Texture> GetShownTexture() const;
    Rect GetOpaqueRect() const { return _opaqueRect; }
    bool IsComplete() const { return _textureChanger != NULL && _variable != NULL; }

private:
    bool IsMouseInside();
    void ChangeLook(bool value, bool active);

    UsingPointer<Texture> _uncheckedNormalTexture;
    UsingPointer<Texture> _uncheckedActiveTexture;
    UsingPointer<Texture> _checkedNormalTexture;
    UsingPointer<Texture> _checkedActiveTexture;
    bool _isMouseCapturedByThis = false;
    ObjectSmartPointer<SmoothTextureChanger> _textureChanger;
    Rect _opaqueRect;
    ObjectSmartPointer<Variable<bool>> _variable;
    bool _isMousePosKnown = false;
};
