#pragma once
// The slider: a track with a filled part and a button, bound to one stored float in [0, 1] kept
// globally and for the active player. The button is dragged, or jumps to a click on the track; the
// stored value always lies on the grid of whole button positions.

#include "content/MotionTextures.h"
#include "controls/Control.h"
#include "core/MousePosRememberer.h"
#include "core/Variable.h"
#include "shell/Texture.h"

class SliderControl : public Control, public MousePosRememberer {
public:
    // Seconds of one cross-fade between looks.
    static constexpr float CHANGE_TIME = 1.0f / 7.0f;

    SliderControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~SliderControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;

    // The button's left edge relative to the position, from the stored value.
    int GetButtonX();
    // Stores the value of a button position, unless the stored value puts the button there already.
    void SetButtonX(int x);

    bool IsActive() const { return _isActive; }
    bool IsComplete() const { return _isComplete; }

private:
    bool IsMouseInNormal(int buttonX);
    bool IsMouseInActive(int buttonX);
    bool IsMouseOnButton(int buttonX);
    bool IsMouseIn(const UsingPointer<Texture>& back, const UsingPointer<Texture>& button, int buttonX);
    void SetActive();
    void SetNormal();
    int ClampButtonX(int x) const;
    // The button's left edge for a value, the value taken into [0, 1].
    int ButtonXOf(float rate) const;

    UsingPointer<Texture> _backNormalTexture;
    UsingPointer<Texture> _backActiveTexture;
    UsingPointer<Texture> _frontNormalTexture;
    UsingPointer<Texture> _frontActiveTexture;
    UsingPointer<Texture> _buttonNormalTexture;
    UsingPointer<Texture> _buttonActiveTexture;
    int _buttonMinX = 0;
    int _buttonMaxX = 0;
    int _buttonRange = 0;
    int _buttonDefaultDragX = 0;
    int _dragOffsetX = 0;
    bool _isMouseCapturedByThis = false;
    bool _isActive = false;
    ObjectSmartPointer<SmoothTextureChanger> _backChanger;
    ObjectSmartPointer<SmoothTextureChanger> _frontChanger;
    ObjectSmartPointer<SmoothTextureChanger> _buttonChanger;
    ObjectSmartPointer<Variable<float>> _variable;
    int _buttonY = 0;
    bool _isComplete = false;
    bool _isMousePosKnown = false;
};
