#include "controls/FadeControls.h"

#include <algorithm>

#include "controls/PictureTexture.h"
#include "core/Assert.h"
#include "core/MessageServer.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"

void DrawVeil(const Point& corner, float alpha) {
    RenderDevice& device = Render::device;
    device.EnableTexture(false);
    device.PushAlpha(alpha);
    device.PushColor(Color(0, 0, 0, 255));
    device.DrawRect(corner.x, corner.y, RenderDevice::LOGICAL_WIDTH, RenderDevice::LOGICAL_HEIGHT);
    device.PopColor();
    device.PopAlpha();
    device.EnableTexture(true);
}

DarkeningControl::DarkeningControl(const ObjectWeakPointer<Control>& parent,
                                   const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> message = GetNeededChild(xml, "message");
    if (message != NULL) {
        _message = message->GetStringAttribute("value");
        _receiver = message->GetStringAttribute("receiver");
    }
}

DarkeningControl::~DarkeningControl() = default;

float DarkeningControl::GetAlpha() const { return CHANGE_TIME != 0.0f ? _time / CHANGE_TIME : 1.0f; }

void DarkeningControl::Draw() {
    Assert(0.0f <= _time && _time <= CHANGE_TIME);
    Assert(CHANGE_TIME != 0.0f);
    DrawVeil(GetAbsolutePos(), GetAlpha());
}

void DarkeningControl::Update(float dt) {
    Assert(dt > 0.0f);
    const float old = _time;
    _time = std::min(_time + dt, CHANGE_TIME);
    if (old < CHANGE_TIME && _time >= CHANGE_TIME) {
        SendMessage(_receiver, _message);
    }
}

BrighteningControl::BrighteningControl(const ObjectWeakPointer<Control>& parent,
                                       const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {}

BrighteningControl::~BrighteningControl() = default;

float BrighteningControl::GetAlpha() const { return CHANGE_TIME != 0.0f ? 1.0f - _time / CHANGE_TIME : 0.0f; }

void BrighteningControl::Draw() {
    Assert(0.0f <= _time && _time <= CHANGE_TIME);
    Assert(CHANGE_TIME != 0.0f);
    DrawVeil(GetAbsolutePos(), GetAlpha());
}

void BrighteningControl::Update(float dt) {
    Assert(dt > 0.0f);
    _time = std::min(_time + dt, CHANGE_TIME);
}
