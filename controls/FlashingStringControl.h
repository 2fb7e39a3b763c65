#pragma once
// A text line that flashes once in a colour on the message "flash".

#include <string>

#include "controls/Control.h"
#include "core/Color.h"
#include "core/MessageReceiver.h"

class FlashingStringControl : public MouseTransparentControl, public MessageReceiver {
public:
    FlashingStringControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~FlashingStringControl() override;

    void Draw() override;
    void Update(float dt) override;

    void OnMessage(std::string message) override;

    bool IsFlashing() const { return _flashing; }
    // The opacity of the flash colour over the text now.
    float GetFlashAlpha() const;

private:
    std::string _fontName;
    int _align = 2;
    std::string _text;
    Color _flashColor;
    float _flashTime = 0.0f;
    bool _flashing = false;
    float _period = 0.0f;
    float _maxAlpha = 0.0f;
};
