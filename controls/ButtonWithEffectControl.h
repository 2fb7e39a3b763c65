#pragma once
// A message button that swings and fades into view after a delay, lifts towards the upper left
// over its own shadow while hovered, may carry an image and lines of text, and writes a player
// variable while the pointer rests on it.

#include <string>
#include <vector>

#include "content/Spline.h"
#include "controls/ButtonControl.h"
#include "core/PermanentVariable.h"

class ButtonWithEffectControl : public MessageButtonControl {
public:
    ButtonWithEffectControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~ButtonWithEffectControl() override;

    // Presses, like moves, are ignored until the button is fully shown.
    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;

    float GetShowDelay() const { return _showDelay; }
    float GetAppearance() const { return _appearance; }
    float GetHover() const { return _hover; }
    // The swing angle in degrees at the given appearance.
    float GetSwingAngle(float appearance) const { return _swing.getValueAt(appearance); }

private:
    void DrawContent();

    float _showDelay = 0.2f;
    float _appearance = 0.0f;
    float _showSpeed = 2.0f;
    TimedSpline _swing;
    UsingPointer<Texture> _image;
    Point _imagePosition;
    std::string _font;
    std::vector<std::string> _textLines;
    Point _textPosition;
    float _hover = 0.0f;
    int _shift = 3;
    float _speed = 10.0f;
    ObjectSmartPointer<PermanentVariableOrDef<Local, std::string>> _variable;
    std::string _overValue;
    bool _handledBefore = false;
    bool _capturedBefore = false;
};
