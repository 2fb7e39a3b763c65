#include "aquarium/SceneryCups.h"

#include "aquarium/SceneryDrawing.h"
#include "content/ResourceManager.h"
#include "controls/MouseEvents.h"
#include "core/Assert.h"
#include "core/PermanentStorage.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"
#include "shell/Texture.h"

// The cup of the tank.

CupRenderControl::CupRenderControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : Control(parent, xml), MessageReceiver(xml) {
    _flagName = PermanentStorage::GetLocalStringOrDef("Current Tank", "1") + " " + xml->GetStringAttribute("variable");
    _flag = ObjectSmartPointer<PermanentVariableOrDef<Local, bool>>(
        new PermanentVariableOrDef<Local, bool>(_flagName, false));
    _pictures[0] = PositionedTexture(scenery::Child(xml, "first"));
    _pictures[1] = PositionedTexture(scenery::Child(xml, "second"));
}

void CupRenderControl::OnMessage(std::string message) {
    if (message != "EffectShow") {
        MessageReceiver::OnMessage(message);
        return;
    }
    if (_flag->GetValue()) _reveal = std::make_shared<FlarePosition>(1.5f, true, 0.0f, 0.0f, 1.5f);
}

void CupRenderControl::Update(float dt) {
    if (_reveal != nullptr) _reveal->Update(dt);
}

void CupRenderControl::DrawPicture(const PositionedTexture& picture, float alpha) {
    if (picture.texture == NULL) return;
    Render::device.PushAlpha(alpha);
    picture.texture->Draw(picture.position);
    Render::device.PopAlpha();
}

void CupRenderControl::Draw() {
    RenderDevice& device = Render::device;
    const Point a = GetAbsolutePos();
    device.PushMatrix();
    device.MatrixTranslate(static_cast<float>(a.x), static_cast<float>(a.y), 0.0f);
    const bool flag = _flag->GetValue();
    if (!flag && _reveal != nullptr && _reveal->IsFlaring()) {
        const float p = _reveal->GetProgress();
        float glow = 0.0f;
        if (p < 0.5f) {
            const float q = 2.0f * p;
            DrawPicture(_pictures[0], 1.0f - q);
            DrawPicture(_pictures[1], q);
            glow = q;
        } else {
            DrawPicture(_pictures[1], 1.0f);
            glow = 1.0f - 2.0f * (p - 0.5f);
        }
        device.SetBlendMode(2);
        DrawPicture(_pictures[1], glow);
        scenery::NormalBlend();
    } else if (flag) {
        DrawPicture(_pictures[0], 1.0f);
    } else {
        const bool waiting = _reveal != nullptr && !_reveal->_done;
        DrawPicture(_pictures[waiting ? 0 : 1], 1.0f);
    }
    device.PopMatrix();
}

bool CupRenderControl::IsHit() {
    const PositionedTexture& second = _pictures[1];
    if (second.texture == NULL) return false;
    return second.texture->IsPointOpaque(GetMousePos() - GetAbsolutePos() - second.position);
}

void CupRenderControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    if (event->IsMouseCaptured()) return;
    Assert(!_isMouseCapturedByThis);
    if (IsHit()) {
        event->CaptureMouse();
        _isMouseCapturedByThis = true;
    }
}

void CupRenderControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    if (event->IsMouseCaptured()) {
        if (_isMouseCapturedByThis) {
            event->ReleaseCapture();
            _isMouseCapturedByThis = false;
        }
    } else {
        Assert(!_isMouseCapturedByThis);
    }
}

void CupRenderControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    SetMousePos(event->GetMousePos());
    if (event->IsMouseCaptured()) {
        if (_isMouseCapturedByThis) {
            event->ConfirmCapture();
            return;
        }
    } else {
        Assert(!_isMouseCapturedByThis);
    }
    if (!event->IsMouseHandled() && IsHit()) event->SetMouseHandled();
}

// The row of cups.

CupAnimationControl::CupAnimationControl(const ObjectWeakPointer<Control>& parent,
                                         const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {
    _stateChangeTime = xml->GetFloatAttribute("stateChangeTime");
    if (!(_stateChangeTime > 0.0f)) {
        // Refused: the row stays dark instead of stepping without end.
        ReportFailure("Assertion failed", "_stateChangeTime > 0.0f", __FILE__, __LINE__);
    }
    _activeScreenPos = scenery::ReadPoint(xml, "activeScreenPos");
    for (ObjectWeakPointer<XmlElement> frame = xml->GetFirstChildElement("frame"); frame != NULL;
         frame = frame->GetNextElement("frame")) {
        Frame f;
        f.position = Point(frame->GetIntAttribute("x"), frame->GetIntAttribute("y"));
        f.normal = ResourceManager::GetTextureOrFrame(frame->GetStringAttribute("normalTextureId"));
        f.active = ResourceManager::GetTextureOrFrame(frame->GetStringAttribute("activeTextureId"));
        f.changer = std::make_shared<SmoothTextureChanger>(f.normal.GetPointer(),
                                                           frame->GetFloatAttribute("textureChangeTime"));
        _frames.push_back(f);
    }
}

void CupAnimationControl::Update(float dt) {
    _time += dt;
    if (GetAbsolutePos() != _activeScreenPos) {
        _state = 0;
        _time = 0.0f;
        for (Frame& f : _frames) f.changer->ChangeTexture(f.normal.GetPointer());
    } else if (_stateChangeTime > 0.0f) {
        while (_time > _stateChangeTime) {
            _time -= _stateChangeTime;
            if (_state == static_cast<int>(_frames.size())) {
                for (Frame& f : _frames) f.changer->ChangeTexture(f.normal.GetPointer());
                _state = 0;
            } else {
                Assert(_state < static_cast<int>(_frames.size()));
                _frames[static_cast<std::size_t>(_state)].changer->ChangeTexture(
                    _frames[static_cast<std::size_t>(_state)].active.GetPointer());
                ++_state;
            }
        }
    }
    if (dt > 0.0f) {
        for (Frame& f : _frames) f.changer->Update(dt);
    }
}

void CupAnimationControl::Draw() {
    const Point a = GetAbsolutePos();
    for (Frame& f : _frames) f.changer->Draw(a.x + f.position.x, a.y + f.position.y);
}
