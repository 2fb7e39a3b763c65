#include "widgets/FrameChangerControl.h"

#include <algorithm>

#include "core/ContentValues.h"
#include "controls/MouseEvents.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"

namespace {
constexpr float SKIP_STEP = 0.05f;
}

FrameChangerControl::FrameChangerControl(const ObjectWeakPointer<Control>& parent,
                                         const ObjectWeakPointer<XmlElement>& xml)
    : Control(parent, xml) {
    _replaceTime = CHECKED_FLOAT(xml->GetFloatAttributeOrDef("replaceTime", 0.0f), 0.0f, MAX_CONTENT_SECONDS, 0.0f,
                                 "0.0f <= _replaceTime && _replaceTime <= 3600.0f");
    _stayLastFrame = xml->GetBoolAttributeOrDef("stayLastFrame", false);
    const ObjectWeakPointer<Control> self(this);
    for (ObjectWeakPointer<XmlElement> frame = xml->GetFirstChildElement("frame"); frame != NULL;
         frame = frame->GetNextElement()) {
        FrameParameters parameters;
        parameters.skippable = frame->GetBoolAttributeOrDef("skiped", false);
        // A skipped frame runs on in steps of a twentieth of a second: its time must be a number
        // and come to an end.
        parameters.pause = CHECKED_FLOAT(frame->GetFloatAttribute("pause"), -MAX_CONTENT_SECONDS, MAX_CONTENT_SECONDS,
                                         0.0f, "pause <= 3600.0f");
        _parameters.push_back(parameters);
        _frames.push_back(ObjectSmartPointer<FixedChildrenListControl>(new FixedChildrenListControl(self, frame)));
    }
}

FrameChangerControl::~FrameChangerControl() = default;

void FrameChangerControl::AdvanceFrame(int frame, float dt) {
    _frames[static_cast<std::size_t>(frame)]->Update(dt);
    _parameters[static_cast<std::size_t>(frame)].pause -= dt;
}

void FrameChangerControl::Update(float dt) {
    _changed = false;
    if (IsStayingOnLast()) {
        AdvanceFrame(_current, dt);
        return;
    }
    if (_current >= GetFrameCount()) return;
    if (GetPause(_current) <= _replaceTime && _current + 1 < GetFrameCount()) AdvanceFrame(_current + 1, dt);
    AdvanceFrame(_current, dt);
    if (GetPause(_current) < 0.0f) {
        ++_current;
        _changed = true;
    }
}

void FrameChangerControl::Draw() {
    if (_current >= GetFrameCount()) return;
    const float pause = GetPause(_current);
    if (pause > _replaceTime || IsStayingOnLast() || _replaceTime <= 0.0f) {
        _frames[static_cast<std::size_t>(_current)]->Draw();
        return;
    }
    if (_current + 1 < GetFrameCount()) _frames[static_cast<std::size_t>(_current + 1)]->Draw();
    Render::device.PushAlpha(std::max(0.0f, pause) / _replaceTime);
    _frames[static_cast<std::size_t>(_current)]->Draw();
    Render::device.PopAlpha();
}

void FrameChangerControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    if (_current >= GetFrameCount()) return;
    if (_parameters[static_cast<std::size_t>(_current)].skippable) {
        _changed = false;
        while (_current < GetFrameCount() - 1 && !_changed) Update(SKIP_STEP);
    }
    const bool running = _current < GetFrameCount() && GetPause(_current) > 0.0f;
    if ((_changed || running) && event != NULL && !event->IsMouseCaptured()) event->CaptureMouse();
    _changed = false;
}

void FrameChangerControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent>) {}
void FrameChangerControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent>) {}
