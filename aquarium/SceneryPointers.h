#pragma once
// Help pointers: a bobbing arrow beside a point of interest, a pulsing arrow with a shadow for
// hint panels, a row of five rating stars, and a help panel offered once per player.

#include <string>

#include "content/CyclicFloat.h"
#include "controls/Control.h"
#include "core/MessageReceiver.h"
#include "core/PermanentVariable.h"
#include "widgets/DirectArrow.h"

class Texture;

class ArrowControl : public MouseTransparentControl {
public:
    ArrowControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    void Draw() override;
    void Update(float dt) override;
    float GetPhase() const { return _phase; }

private:
    UsingPointer<Texture> _texture;
    float _amplitude = 0.0f;
    float _period = 0.0f;
    float _phase = 0.5f;
    float _kx = 0.0f;
    float _ky = 0.0f;
};

class FiveStarsControl : public MouseTransparentControl {
public:
    FiveStarsControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    void Draw() override;
    void Update(float dt) override;

private:
    int _enabledStarsAmount = 1;
    int _starSpacing = 25;
    UsingPointer<Texture> _enabledStar;
    UsingPointer<Texture> _disabledStar;
    int _offsetX = 0;
    int _offsetY = 0;
};

class MouseHelpControl : public MouseTransparentControl, public MessageReceiver {
public:
    MouseHelpControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    void Draw() override {}
    void Update(float dt) override;
    // "show help", "hide help".
    void OnMessage(std::string message) override;

private:
    void SendMover(const std::string& where);

    std::string _moverName;
    ObjectSmartPointer<PermanentVariableOrDef<Local, bool>> _wasShown;
    bool _isHideRequested = false;
    float _minShowTime = 0.0f;
    float _timeLeft = 0.0f;
};
