#include "controls/ExpandingTextureControl.h"

#include "controls/MouseEvents.h"
#include "shell/RenderDevice.h"

ExpandingTextureControl::ExpandingTextureControl(const ObjectWeakPointer<Control>& parent,
                                                 const ObjectWeakPointer<XmlElement>& xml)
    : SingleTextureControl(parent, xml), MessageReceiver(xml) {
    Assert(_expandingStartTime < _expandingFinishTime);
    Assert(_expandingFinishTime < _shrinkingStartTime);
    Assert(_shrinkingStartTime < _shrinkingFinishTime);
    _time = _shrinkingFinishTime;
    _scale.addKey(0.0f);
    _scale.addKey(1.0f);
    _scale.addKey(1.0f);
    _scale.CalculateGradient(false);
}

ExpandingTextureControl::~ExpandingTextureControl() = default;

void ExpandingTextureControl::Update(float dt) {
    _time += dt;
    SingleTextureControl::Update(dt);
}

bool ExpandingTextureControl::GetLook(float& alpha, float& scale) const {
    if (_expandingStartTime <= _time && _time < _expandingFinishTime) {
        alpha = _time / (_expandingFinishTime - _expandingStartTime);
        scale = _scale.getGlobalFrame(alpha);
        return true;
    }
    if (_expandingFinishTime <= _time && _time <= _shrinkingStartTime) {
        alpha = 1.0f;
        scale = 1.0f;
        return true;
    }
    if (_shrinkingStartTime < _time && _time < _shrinkingFinishTime) {
        alpha = (_shrinkingFinishTime - _time) / (_shrinkingFinishTime - _shrinkingStartTime);
        scale = _scale.getGlobalFrame(alpha);
        return true;
    }
    return false;
}

void ExpandingTextureControl::Draw() {
    float alpha = 0.0f;
    float scale = 0.0f;
    if (!GetLook(alpha, scale)) {
        Assert(_time >= _shrinkingFinishTime);
        return;
    }
    RenderDevice& device = Render::device;
    device.PushAlpha(alpha);
    const Point absolute = GetAbsolutePos();
    const Rect rect = GetTextureRectangle();
    const float cx = static_cast<float>(absolute.x) + static_cast<float>(rect.width) / 2.0f;
    const float cy = static_cast<float>(absolute.y) + static_cast<float>(rect.height) / 2.0f;
    device.PushMatrix();
    device.MatrixTranslate(cx, cy, 0.0f);
    device.MatrixScale(scale, scale, 1.0f);
    device.MatrixTranslate(-cx, -cy, 0.0f);
    DrawTexture();
    SingleTextureControl::Draw();
    device.PopMatrix();
    device.PopAlpha();
}

void ExpandingTextureControl::OnMessage(std::string message) {
    if (message != "show") {
        MessageReceiver::OnMessage(message);
        return;
    }
    if (_expandingStartTime <= _time && _time < _expandingFinishTime) {
        return;
    }
    if (_expandingFinishTime <= _time && _time <= _shrinkingStartTime) {
        _time = _expandingFinishTime;
    } else if (_shrinkingStartTime < _time && _time < _shrinkingFinishTime) {
        _time = (_shrinkingFinishTime - _time) / (_shrinkingFinishTime - _shrinkingStartTime) *
                    (_expandingFinishTime - _expandingStartTime) +
                _expandingStartTime;
    } else {
        Assert(_time >= _shrinkingFinishTime);
        _time = _expandingStartTime;
    }
}

void ExpandingTextureControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    if (event->IsMouseCaptured()) {
        return;
    }
    if (_expandingStartTime <= _time && _time <= _expandingFinishTime) {
        return;
    }
    if (_expandingFinishTime < _time && _time < _shrinkingStartTime) {
        _time = _shrinkingStartTime;
        return;
    }
    Assert(_time >= _shrinkingStartTime);
}

void ExpandingTextureControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent>) {}

void ExpandingTextureControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent>) {}
