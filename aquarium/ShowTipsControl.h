#pragma once
// The shop's guide tip: decided once when the shop screen is built (a special tip from the
// player's situation, else the next tip of a fixed order), shown once after a pause.

#include <string>
#include <vector>

#include "controls/Control.h"
#include "core/MessageReceiver.h"

class ShowTipsControl : public MouseTransparentControl, public MessageReceiver {
public:
    ShowTipsControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    void Draw() override {}
    void Update(float dt) override;

    // "Pause" and "Continue" freeze and resume the count-down.
    void OnMessage(std::string message) override;

    // x below half of a and below half of b.
    static bool IsBelowHalfOfBoth(float x, float a, float b);

    bool IsTipDue() const { return _pauseBeforeShow > 0.0f; }
    const std::vector<std::string>& GetLines() const { return _lines; }
    const std::string& GetCurrentTip() const { return _currentTip; }

private:
    // The special tip's text, or false when none applies.
    bool ChooseSpecialTip(std::string& text);
    // The text of the order's tip after the current one, or false when the order is used up.
    bool NextOrderTip(std::string& name, std::string& text);

    std::string _messagesFile;
    std::string _showTipsName;
    std::string _showNextName;
    float _pauseBeforeShow = 0.0f;
    int _x = 0;
    int _y = 0;
    float _visibleTime = 0.0f;
    int _textWidth = 0;
    std::vector<std::string> _lines;
    std::string _currentTip;
    bool _isPaused = false;
};
