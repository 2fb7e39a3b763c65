#include "controls/FlashingStringControl.h"

#include <cmath>

#include "content/ResourceManager.h"
#include "controls/PictureTexture.h"
#include "core/Math.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"

FlashingStringControl::FlashingStringControl(const ObjectWeakPointer<Control>& parent,
                                             const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml), MessageReceiver(xml) {
    const ObjectWeakPointer<XmlElement> line = GetNeededChild(xml, "line");
    if (line != NULL) {
        _fontName = line->GetStringAttribute("fontName");
        const std::string align = line->GetStringAttribute("align");
        if (align == "left") {
            _align = 0;
        } else if (align == "right") {
            _align = 1;
        } else {
            Assert(align == "center");
            _align = 2;
        }
        _text = ResourceManager::GetString(line->GetStringAttribute("resourceName"));
    }
    const ObjectWeakPointer<XmlElement> flash = GetNeededChild(xml, "flash");
    if (flash != NULL) {
        _flashColor = flash->GetColorAttribute("color");
        _period = flash->GetFloatAttribute("period");
        _maxAlpha = flash->GetFloatAttribute("maxAlpha");
    }
    Assert(_period > 0.0f);
    Assert(_maxAlpha > 0.0f);
}

FlashingStringControl::~FlashingStringControl() = default;

void FlashingStringControl::OnMessage(std::string message) {
    if (message != "flash") {
        MessageReceiver::OnMessage(message);
        return;
    }
    if (!_flashing) {
        _flashing = true;
        _flashTime = 0.0f;
    }
}

void FlashingStringControl::Update(float dt) {
    if (!_flashing) {
        return;
    }
    // A period that is not positive was reported at construction; it ends the flash at once.
    _flashTime += _period > 0.0f ? dt / _period : 1.0f;
    if (_flashTime >= 1.0f) {
        _flashTime = 0.0f;
        _flashing = false;
    }
}

float FlashingStringControl::GetFlashAlpha() const {
    return _maxAlpha * (1.0f - std::cos(2.0f * Math::PI * _flashTime)) / 2.0f;
}

void FlashingStringControl::Draw() {
    Render::fonts.SetFont(_fontName);
    const Point p = GetAbsolutePos();
    Render::fonts.DrawString(p.x, p.y, _text, 1.0f, _align, false);
    if (!_flashing) {
        return;
    }
    const float value = GetFlashAlpha();
    Assert(0.0f <= value && value <= 1.0f);
    Render::device.PushAlpha(value);
    Render::device.PushColor(_flashColor);
    Render::fonts.DrawString(p.x, p.y, _text, 1.0f, _align, false);
    Render::device.PopColor();
    Render::device.PopAlpha();
}
