#include "widgets/CheckBoxControl.h"

#include <algorithm>

#include "controls/MouseEvents.h"
#include "controls/PictureTexture.h"
#include "core/Assert.h"
#include "core/PermanentVariable.h"
#include "core/XmlElement.h"
#include "shell/SoundSystem.h"

CheckBoxControl::CheckBoxControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : Control(parent, xml) {
    std::string start = "unchecked";
    const ObjectWeakPointer<XmlElement> textures = GetNeededChild(xml, "textures");
    if (textures != NULL) {
        _uncheckedNormalTexture = GetPictureTexture(textures->GetStringAttribute("uncheckedNormalId"));
        _uncheckedActiveTexture = GetPictureTexture(textures->GetStringAttribute("uncheckedActiveId"));
        _checkedNormalTexture = GetPictureTexture(textures->GetStringAttribute("checkedNormalId"));
        _checkedActiveTexture = GetPictureTexture(textures->GetStringAttribute("checkedActiveId"));
        start = textures->GetStringAttributeOrDef("start", "unchecked");
    }
    const ObjectWeakPointer<XmlElement> variable = GetNeededChild(xml, "variable");
    if (variable != NULL) {
        const std::string name = variable->GetStringAttribute("name");
        const std::string mode = variable->GetStringAttribute("mode");
        const bool defaultValue = variable->GetBoolAttribute("defaultValue");
        if (mode == "local") {
            _variable = ObjectSmartPointer<Variable<bool>>(new PermanentVariableOrDef<Local, bool>(name, defaultValue));
        } else if (mode == "global") {
            _variable = ObjectSmartPointer<Variable<bool>>(new PermanentVariableOrDef<Global, bool>(name, defaultValue));
        } else {
            Assert(mode == "global-local");
            _variable = ObjectSmartPointer<Variable<bool>>(new PermanentGlobalLocalVariable<bool>(name, defaultValue));
        }
    }
    const UsingPointer<Texture>* looks[] = {&_uncheckedNormalTexture, &_uncheckedActiveTexture, &_checkedNormalTexture,
                                            &_checkedActiveTexture};
    for (const UsingPointer<Texture>* look : looks) {
        if (*look == NULL) return;  // reported by the texture lookup; the box stays inert
    }
    const Rect rect = _uncheckedNormalTexture->GetRectangle();
    Assert(rect.IsEqualToHW(_uncheckedActiveTexture->GetRectangle()));
    Assert(rect.IsEqualToHW(_checkedNormalTexture->GetRectangle()));
    Assert(rect.IsEqualToHW(_checkedActiveTexture->GetRectangle()));
    int minx = rect.width, miny = rect.height, maxx = -1, maxy = -1;
    for (int y = 0; y < rect.height; ++y) {
        for (int x = 0; x < rect.width; ++x) {
            bool opaque = false;
            for (const UsingPointer<Texture>* look : looks) opaque = opaque || (*look)->IsPointOpaque(Point(x, y));
            if (!opaque) continue;
            minx = std::min(minx, x);
            miny = std::min(miny, y);
            maxx = std::max(maxx, x);
            maxy = std::max(maxy, y);
        }
    }
    Assert(minx < rect.width);
    Assert(miny < rect.height);
    Assert(maxx > -1);
    Assert(maxy > -1);
    Assert(minx <= maxx);
    Assert(miny <= maxy);
    // Without any opaque pixel the rectangle is empty and nothing is inside.
    _opaqueRect = Rect(minx, miny, std::max(0, maxx - minx + 1), std::max(0, maxy - miny + 1));
    UsingPointer<Texture> startTexture = _uncheckedNormalTexture;
    if (start == "checked") {
        startTexture = _checkedNormalTexture;
    } else if (start != "unchecked") {
        Assert(false);
    }
    _textureChanger =
        ObjectSmartPointer<SmoothTextureChanger>(new SmoothTextureChanger(startTexture.GetPointer(), CHANGE_TIME));
}

CheckBoxControl::~CheckBoxControl() = default;

bool CheckBoxControl::GetValue() { return _variable != NULL && _variable->GetValue(); }

void CheckBoxControl::SetValue(bool value) {
    if (_variable == NULL) return;
    _variable->SetValue(value);
    Sound::soundSystem.PlaySample("checkbox_change");
}

ObjectWeakPointer<Texture> CheckBoxControl::GetShownTexture() const {
    if (_textureChanger == NULL) return ObjectWeakPointer<Texture>();
    const auto& next = _textureChanger->GetNextTextures();
    return next.empty() ? _textureChanger->GetCurrentTexture() : next.back().GetPointer();
}

bool CheckBoxControl::IsMouseInside() {
    if (!_isMousePosKnown) return false;
    const Point p = GetAbsolutePos();
    return Rect(p.x + _opaqueRect.x, p.y + _opaqueRect.y, _opaqueRect.width, _opaqueRect.height)
        .Contains(GetMousePos().x, GetMousePos().y);
}

void CheckBoxControl::ChangeLook(bool value, bool active) {
    const UsingPointer<Texture>& look = value ? (active ? _checkedActiveTexture : _checkedNormalTexture)
                                              : (active ? _uncheckedActiveTexture : _uncheckedNormalTexture);
    _textureChanger->ChangeTexture(look.GetPointer());
}

void CheckBoxControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    SetMousePos(event->GetMousePos());
    _isMousePosKnown = true;
    if (!IsComplete()) return;
    const bool value = GetValue();
    const bool handled = event->IsMouseHandled();
    if (event->IsMouseCaptured()) {
        if (_isMouseCapturedByThis) {
            event->ConfirmCapture();
            if (!handled && IsMouseInside()) {
                ChangeLook(value, true);
                event->SetMouseHandled();
                event->SetPressedCursor();
            } else {
                ChangeLook(value, false);
            }
        } else if (!handled && IsMouseInside()) {
            event->SetMouseHandled();
        }
        return;
    }
    Assert(!_isMouseCapturedByThis);
    // The container dropped a capture nobody confirmed: this box no longer holds it.
    _isMouseCapturedByThis = false;
    if (!handled && IsMouseInside()) {
        ChangeLook(value, true);
        event->SetMouseHandled();
        event->SetActiveCursor();
    } else {
        ChangeLook(value, false);
    }
}

void CheckBoxControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    if (!IsComplete()) return;
    Assert(!_isMouseCapturedByThis);
    if (event->IsMouseCaptured()) return;
    if (IsMouseInside()) {
        event->CaptureMouse();
        _isMouseCapturedByThis = true;
    }
}

void CheckBoxControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    if (!IsComplete()) return;
    const bool isClickEnd = event->IsMouseCaptured() && _isMouseCapturedByThis;
    ReleaseOwnCapture(event, _isMouseCapturedByThis);
    // Leaving the box before the release cancels the click.
    if (isClickEnd && IsMouseInside()) SetValue(!GetValue());
}

void CheckBoxControl::Draw() {
    if (_textureChanger == NULL) return;
    const Point p = GetAbsolutePos();
    _textureChanger->Draw(p.x, p.y);
}

void CheckBoxControl::Update(float dt) {
    if (_textureChanger != NULL) _textureChanger->Update(dt);
}
