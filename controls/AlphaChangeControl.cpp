#include "controls/AlphaChangeControl.h"

#include <algorithm>

#include "controls/PictureTexture.h"
#include "core/Assert.h"
#include "core/Float.h"
#include "core/String.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"

AlphaChangeControl::AlphaChangeControl(const ObjectWeakPointer<Control>& parent,
                                       const ObjectWeakPointer<XmlElement>& xml)
    : FixedChildrenListControl(parent, xml), MessageReceiver(xml) {
    if (xml != NULL) {
        _currentAlpha = xml->GetFloatAttributeOrDef("start", 0.0f);
    }
    Assert(_currentAlpha == 0.0f || _currentAlpha == 1.0f);
    _destinationAlpha = _currentAlpha;
    const ObjectWeakPointer<XmlElement> speed = GetNeededChild(xml, "speed");
    if (speed != NULL) {
        _speed = speed->GetFloatAttribute("value");
    }
    Assert(_speed >= 0.0f);
}

AlphaChangeControl::~AlphaChangeControl() = default;

void AlphaChangeControl::OnMessage(std::string message) {
    std::string value = message;
    if (String::IsHeadCut(value, "change alpha to ")) {
        _destinationAlpha = Float::Parse(value);
        if (_speed == 0.0f) {
            _currentAlpha = _destinationAlpha;
        }
        return;
    }
    MessageReceiver::OnMessage(message);
}

void AlphaChangeControl::Update(float dt) {
    if (_currentAlpha < _destinationAlpha) {
        _currentAlpha = std::min(_currentAlpha + dt * _speed, _destinationAlpha);
    } else if (_currentAlpha > _destinationAlpha) {
        _currentAlpha = std::max(_currentAlpha - dt * _speed, _destinationAlpha);
    } else {
        Assert(_currentAlpha == _destinationAlpha);
    }
    FixedChildrenListControl::Update(dt);
}

void AlphaChangeControl::Draw() {
    Render::device.PushAlpha(_currentAlpha);
    FixedChildrenListControl::Draw();
    Render::device.PopAlpha();
}
