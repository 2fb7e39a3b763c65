#include "aquarium/SceneryPointers.h"

#include <algorithm>
#include <cmath>

#include "aquarium/SceneryDrawing.h"
#include "content/ResourceManager.h"
#include "core/Assert.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"
#include "shell/Texture.h"

namespace {
const float Z_AXIS[3] = {0.0f, 0.0f, 1.0f};

Rect Size(const UsingPointer<Texture>& texture) { return texture != NULL ? texture->GetRectangle() : Rect(); }
}  // namespace

// Arrow.

ArrowControl::ArrowControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {
    _texture = ResourceManager::GetTextureOrFrame(scenery::Child(xml, "texture")->GetStringAttribute("textureId"));
    const ObjectWeakPointer<XmlElement> parameters = scenery::Child(xml, "parameters");
    _amplitude = parameters->GetFloatAttribute("amplitude");
    _period = parameters->GetFloatAttribute("period");
    _kx = parameters->GetFloatAttribute("kx");
    _ky = parameters->GetFloatAttribute("ky");
    Assert(_amplitude > 0);
    Assert(_period > 0);
    Assert((_kx == 0) != (_ky == 0));
}

void ArrowControl::Update(float dt) {
    // A zero step (a paused frame) changes nothing.
    if (dt == 0.0f) return;
    Assert(dt > 0);
    if (!(dt > 0) || !(_period > 0)) return;
    _phase += dt / _period;
    _phase -= std::floor(_phase);
}

void ArrowControl::Draw() {
    if (_texture == NULL) return;
    const float b = std::sin(scenery::PI * _phase);
    const float s = 0.9f + 0.2f * b;
    const Rect r = _texture->GetRectangle();
    const float w = static_cast<float>(r.width);
    const float h = static_cast<float>(r.height);
    const float gap = _amplitude * (1.0f + b) / 2.0f;
    RenderDevice& device = Render::device;
    const Point a = GetAbsolutePos();
    device.PushMatrix();
    device.MatrixTranslate(static_cast<float>(a.x), static_cast<float>(a.y), 0.0f);
    if (_kx != 0.0f && _ky == 0.0f) {
        device.MatrixScale(s, 2.0f - s, 1.0f);
        _texture->Draw(FPoint(_kx > 0 ? -w - gap : gap, -h / 2.0f));
    } else if (_ky != 0.0f && _kx == 0.0f) {
        device.MatrixScale(2.0f - s, s, 1.0f);
        _texture->Draw(FPoint(-w / 2.0f, _ky > 0 ? -h - gap : gap));
    } else {
        Assert(false);
    }
    device.PopMatrix();
}

// Five stars.

FiveStarsControl::FiveStarsControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {
    _enabledStarsAmount = xml->GetIntAttribute("enabledStarsAmount");
    Assert(1 <= _enabledStarsAmount && _enabledStarsAmount <= 5);
    _enabledStar = ResourceManager::GetTextureOrFrame("hint_star_enabled");
    _disabledStar = ResourceManager::GetTextureOrFrame("hint_star_disabled");
    _offsetX = (std::max(Size(_enabledStar).width, Size(_disabledStar).width) + 4 * _starSpacing) / 2;
    _offsetY = 0;
}

void FiveStarsControl::Update(float) {}

void FiveStarsControl::Draw() {
    const Point a = GetAbsolutePos();
    for (int i = 0; i < 5; ++i) {
        const UsingPointer<Texture>& star = i < _enabledStarsAmount ? _enabledStar : _disabledStar;
        if (star != NULL) star->Draw(Point(a.x - _offsetX + _starSpacing * i, a.y - _offsetY));
    }
}

// Mouse help.

MouseHelpControl::MouseHelpControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml), MessageReceiver(xml) {
    _minShowTime = xml->GetFloatAttribute("time");
    _moverName = scenery::Child(xml, "mover")->GetStringAttribute("name");
    _wasShown = ObjectSmartPointer<PermanentVariableOrDef<Local, bool>>(
        new PermanentVariableOrDef<Local, bool>(GetReceiverName() + " shown", false));
}

void MouseHelpControl::SendMover(const std::string& where) {
    SendMessage(_moverName, "set arrival message null");
    SendMessage(_moverName, "report arrival to null");
    SendMessage(_moverName, "move to " + where);
}

void MouseHelpControl::OnMessage(std::string message) {
    if (message == "show help") {
        if (!_wasShown->GetValue() && !PermanentStorage::GetLocalBoolOrDef("Want tutorial", false)) {
            _timeLeft = _minShowTime;
            _wasShown->SetValue(true);
            SendMover("in");
        }
    } else if (message == "hide help") {
        _isHideRequested = true;
    } else {
        MessageReceiver::OnMessage(message);
    }
}

void MouseHelpControl::Update(float dt) {
    _timeLeft = std::max(_timeLeft - dt, 0.0f);
    if (_timeLeft == 0.0f && _isHideRequested) {
        _isHideRequested = false;
        SendMover("out");
    }
}
