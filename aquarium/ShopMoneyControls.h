#pragma once
// The money displays: a counting money text, the rising plus and minus texts of purchases and
// sales, and a holder that shows one of two templates by whether the player can pay a cost.

#include <string>

#include "content/EffectCollection.h"
#include "content/MotionFlare.h"
#include "controls/Control.h"
#include "controls/SingleChildControl.h"
#include "core/FPoint.h"
#include "core/MessageReceiver.h"
#include "core/PermanentVariable.h"

class MoneyControl : public MouseTransparentControl {
public:
    MoneyControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~MoneyControl() override;

    void Draw() override;
    void Update(float dt) override;

    // The number drawn now.
    int GetShownNumber();
    bool IsCounting() const { return _timer != NULL; }
    bool IsFlaring() const { return _timer != NULL && !_timer->_done && _timer->IsFlaring(); }

private:
    std::string GetText(int number);

    ObjectSmartPointer<Variable<int>> _value;
    std::string _oldValueName;
    std::string _font;
    ObjectSmartPointer<FlarePosition> _timer;
    int _start = 0;
    int _shown = 0;
};

class MoneyEffectControl : public MouseTransparentControl, public MessageReceiver {
public:
    MoneyEffectControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~MoneyEffectControl() override;

    void Draw() override;
    void Update(float dt) override;
    // text "," x "," y: a rising text at (x, y), moved in so that all of it stays on the screen.
    void OnMessage(std::string message) override;

    std::size_t GetEffectCount() const { return _effects.GetCount(); }
    // Where a text that should start at the point starts so that it never leaves the screen.
    static FPoint KeepOnScreen(const std::string& text, FPoint start);

private:
    EffectCollection _effects;
};

class IfMoneyControl : public SingleChildControl {
public:
    IfMoneyControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    void Update(float dt) override;

    bool IsShowingEnough() const { return _isShowingEnough; }

private:
    void Rebuild();

    int _cost = 0;
    std::string _enoughTemplate;
    std::string _notEnoughTemplate;
    ObjectSmartPointer<Variable<int>> _money;
    bool _isShowingEnough = false;
};
