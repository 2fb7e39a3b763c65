#pragma once
// A float of the active player in [0, 1] shown as a bar that fills from the left through the
// transparent window of its frame picture. Changes are swept over one flash period and settle with
// one more flash; a hinted value shows as a flashing band ahead of the fill; a frozen bar shows a
// fixed value. Takes no input; driven by messages ("hint value ", "no hint", "freeze ", "unfreeze").

#include "controls/Control.h"
#include "core/Color.h"
#include "core/MessageReceiver.h"
#include "core/Variable.h"
#include "shell/Texture.h"

class ProgressBarControl : public MouseTransparentControl, public MessageReceiver {
public:
    enum State { IDLE = 0, CHANGE_SWEEP = 1, SETTLE_FLASH = 2, HINT = 3 };

    ProgressBarControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~ProgressBarControl() override;

    void Draw() override;
    void Update(float dt) override;
    void OnMessage(std::string message) override;

    // The frozen value while frozen, else the variable's.
    float GetValue();
    // The frame column of a value: 0 maps onto the window's first column, 1 just past its last.
    int ValueToX(float value) const;

    int GetState() const { return _state; }
    float GetTime() const { return _time; }
    float GetShownValue() const { return _shownValue; }
    float GetHintFront() const { return _hintFront; }
    int GetMinTransparentX() const { return _minTransparentX; }
    int GetMaxTransparentX() const { return _maxTransparentX; }

private:
    // t: time in flash periods.
    void Advance(float dt);
    void DrawBar(int staticX, int flashX, float flashTime);
    bool HasHint() const { return _newHintValue != -1.0f; }

    UsingPointer<Texture> _backgroundTexture;
    UsingPointer<Texture> _fillingTexture;
    UsingPointer<Texture> _shadowTexture;
    UsingPointer<Texture> _maskTexture;
    UsingPointer<Texture> _frameTexture;
    ObjectSmartPointer<Variable<float>> _variable;
    int _minTransparentX = 0;
    int _maxTransparentX = 0;
    Color _flashColor;
    float _flashPeriod = 1.0f;
    float _flashMaxAlpha = 0.0f;
    float _time = 0.0f;
    int _state = IDLE;
    float _newHintValue = -1.0f;
    float _hintTarget = 0.0f;
    float _hintFront = 0.0f;
    float _shownValue = 0.0f;
    float _previousValue = 0.0f;
    float _noHintTime = 0.0f;
    float _changeSpeed = 0.0f;
    float _noHintDelay = 0.0f;
    float _freezeValue = -1.0f;
    UsingPointer<Texture> _verticalLineTexture;
    int _verticalLineStartOffset = 0;
    int _verticalLineFlashOffset = 0;
    bool _isComplete = false;
};
