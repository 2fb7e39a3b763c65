#include "widgets/SliderControl.h"

#include <algorithm>

#include "core/ContentValues.h"
#include "controls/MouseEvents.h"
#include "controls/PictureTexture.h"
#include "core/Assert.h"
#include "core/Math.h"
#include "core/PermanentVariable.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"

SliderControl::SliderControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : Control(parent, xml) {
    const ObjectWeakPointer<XmlElement> textures = GetNeededChild(xml, "textures");
    if (textures != NULL) {
        _backNormalTexture = GetPictureTexture(textures->GetStringAttribute("backNormalId"));
        _backActiveTexture = GetPictureTexture(textures->GetStringAttribute("backActiveId"));
        _frontNormalTexture = GetPictureTexture(textures->GetStringAttribute("frontNormalId"));
        _frontActiveTexture = GetPictureTexture(textures->GetStringAttribute("frontActiveId"));
        _buttonNormalTexture = GetPictureTexture(textures->GetStringAttribute("buttonNormalId"));
        _buttonActiveTexture = GetPictureTexture(textures->GetStringAttribute("buttonActiveId"));
    }
    const ObjectWeakPointer<XmlElement> button = GetNeededChild(xml, "button");
    if (button != NULL) {
        _buttonMinX = CHECKED_INT(button->GetIntAttribute("minX"), -MAX_CONTENT_SIZE, MAX_CONTENT_SIZE,
                                  "-100000 <= _buttonMinX && _buttonMinX <= 100000");
        _buttonMaxX = CHECKED_INT(button->GetIntAttribute("maxX"), -MAX_CONTENT_SIZE, MAX_CONTENT_SIZE,
                                  "-100000 <= _buttonMaxX && _buttonMaxX <= 100000");
        _buttonRange = button->GetIntAttribute("range");
        _buttonDefaultDragX = button->GetIntAttribute("defaultDragX");
    }
    const ObjectWeakPointer<XmlElement> variable = GetNeededChild(xml, "variable");
    if (variable == NULL) return;
    const std::string name = variable->GetStringAttribute("name");
    const float defaultValue =
        CHECKED_FLOAT(variable->GetFloatAttribute("defaultValue"), 0.0f, 1.0f, 0.0f, "0.0f <= defaultValue && defaultValue <= 1.0f");
    _variable = ObjectSmartPointer<Variable<float>>(new PermanentGlobalLocalVariable<float>(name, defaultValue));

    const UsingPointer<Texture>* looks[] = {&_backNormalTexture,   &_backActiveTexture,   &_frontNormalTexture,
                                            &_frontActiveTexture,  &_buttonNormalTexture, &_buttonActiveTexture};
    for (const UsingPointer<Texture>* look : looks) {
        if (*look == NULL) return;  // reported by the texture lookup; the slider stays inert
    }
    // Each broken rule is reported here, once; the slider goes on with the nearest working values:
    // a button that moves at least one unit, a filled part of at least one column.
    const int buttonWidth = _buttonActiveTexture->GetRectangle().width;
    Assert(_buttonMinX < _buttonMaxX);
    _buttonRange = CHECKED_INT(_buttonRange, 0, std::max(0, buttonWidth - 1),
                               "0 <= _buttonRange && _buttonRange < _buttonActiveTexture->GetRectangle().width");
    Assert(_buttonMinX + _buttonRange > 0);
    if (_buttonMinX + _buttonRange <= 0) _buttonMinX = 1 - _buttonRange;
    if (_buttonMaxX <= _buttonMinX) _buttonMaxX = _buttonMinX + 1;
    _buttonDefaultDragX =
        CHECKED_INT(_buttonDefaultDragX, 0, std::max(0, buttonWidth - 1),
                    "0 <= _buttonDefaultDragX && _buttonDefaultDragX < _buttonActiveTexture->GetRectangle().width");
    const Rect rect = _backNormalTexture->GetRectangle();
    Assert(rect.IsEqualToHW(_backActiveTexture->GetRectangle()));
    Assert(rect.IsEqualToHW(_frontNormalTexture->GetRectangle()));
    Assert(rect.IsEqualToHW(_frontActiveTexture->GetRectangle()));
    Assert(_buttonNormalTexture->GetRectangle().height == _buttonActiveTexture->GetRectangle().height);
    _buttonY = (rect.height - _buttonNormalTexture->GetRectangle().height) / 2;
    // The active pictures cover the normal ones, the track covers its filled part; each broken
    // rule is reported once, at its first pixel.
    bool frontInBack = true, activeFrontInBack = true, normalInActive = true;
    for (int y = 0; y < rect.height; ++y) {
        for (int x = 0; x < rect.width; ++x) {
            if (frontInBack && _frontNormalTexture->IsPointOpaque(Point(x, y))) {
                frontInBack = _backNormalTexture->IsPointOpaque(Point(x, y));
                Assert(_backNormalTexture->IsPointOpaque(Point(x, y)));
            }
            if (activeFrontInBack && _frontActiveTexture->IsPointOpaque(Point(x, y))) {
                activeFrontInBack = _backActiveTexture->IsPointOpaque(Point(x, y));
                Assert(_backActiveTexture->IsPointOpaque(Point(x, y)));
            }
            if (normalInActive && _backNormalTexture->IsPointOpaque(Point(x, y))) {
                normalInActive = _backActiveTexture->IsPointOpaque(Point(x, y));
                Assert(_backActiveTexture->IsPointOpaque(Point(x, y)));
            }
        }
    }
    _backChanger = ObjectSmartPointer<SmoothTextureChanger>(
        new SmoothTextureChanger(_backNormalTexture.GetPointer(), CHANGE_TIME));
    _frontChanger = ObjectSmartPointer<SmoothTextureChanger>(
        new SmoothTextureChanger(_frontNormalTexture.GetPointer(), CHANGE_TIME));
    _buttonChanger = ObjectSmartPointer<SmoothTextureChanger>(
        new SmoothTextureChanger(_buttonNormalTexture.GetPointer(), CHANGE_TIME));
    _isComplete = true;
}

SliderControl::~SliderControl() = default;

int SliderControl::ClampButtonX(int x) const { return Math::max(_buttonMinX, Math::min(x, _buttonMaxX)); }

int SliderControl::ButtonXOf(float rate) const {
    // A value stored out of range (a script, an edited file) is used as the nearer end.
    if (!(rate >= 0.0f)) rate = 0.0f;
    if (rate > 1.0f) rate = 1.0f;
    return _buttonMinX + Math::round(static_cast<float>(_buttonMaxX - _buttonMinX) * rate);
}

int SliderControl::GetButtonX() {
    const float rate = _variable != NULL ? _variable->GetValue() : 0.0f;
    Assert(0.0f <= rate && rate <= 1.0f);
    const int buttonX = ButtonXOf(rate);
    Assert(_buttonMinX <= buttonX && buttonX <= _buttonMaxX);
    return buttonX;
}

void SliderControl::SetButtonX(int x) {
    Assert(_buttonMinX <= x && x <= _buttonMaxX);
    Assert(_buttonMinX < _buttonMaxX);
    if (_variable == NULL || _buttonMaxX <= _buttonMinX) return;
    // A button where the stored value puts it keeps that value: only a move of the button
    // stores a value of its own.
    const float stored = _variable->GetValue();
    if (0.0f <= stored && stored <= 1.0f && ClampButtonX(x) == ButtonXOf(stored)) return;
    const float rate = static_cast<float>(ClampButtonX(x) - _buttonMinX) / static_cast<float>(_buttonMaxX - _buttonMinX);
    Assert(0.0f <= rate && rate <= 1.0f);
    _variable->SetValue(rate);
}

bool SliderControl::IsMouseIn(const UsingPointer<Texture>& back, const UsingPointer<Texture>& button, int buttonX) {
    if (!_isMousePosKnown) return false;
    const Point p = GetAbsolutePos();
    const Point m = GetMousePos();
    if (back != NULL && back->IsPointOpaque(Point(m.x - p.x, m.y - p.y))) return true;
    return button != NULL && button->IsPointOpaque(Point(m.x - p.x - buttonX, m.y - p.y - _buttonY));
}

bool SliderControl::IsMouseInNormal(int buttonX) { return IsMouseIn(_backNormalTexture, _buttonNormalTexture, buttonX); }

bool SliderControl::IsMouseInActive(int buttonX) { return IsMouseIn(_backActiveTexture, _buttonActiveTexture, buttonX); }

bool SliderControl::IsMouseOnButton(int buttonX) {
    return IsMouseIn(UsingPointer<Texture>(), _buttonActiveTexture, buttonX);
}

void SliderControl::SetActive() {
    Assert(!_isActive);
    _isActive = true;
    _backChanger->ChangeTexture(_backActiveTexture.GetPointer());
    _frontChanger->ChangeTexture(_frontActiveTexture.GetPointer());
    _buttonChanger->ChangeTexture(_buttonActiveTexture.GetPointer());
}

void SliderControl::SetNormal() {
    Assert(_isActive);
    _isActive = false;
    _backChanger->ChangeTexture(_backNormalTexture.GetPointer());
    _frontChanger->ChangeTexture(_frontNormalTexture.GetPointer());
    _buttonChanger->ChangeTexture(_buttonNormalTexture.GetPointer());
}

void SliderControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    SetMousePos(event->GetMousePos());
    _isMousePosKnown = true;
    if (!_isComplete) return;
    int buttonX = GetButtonX();
    const bool handled = event->IsMouseHandled();
    if (event->IsMouseCaptured()) {
        if (_isMouseCapturedByThis) {
            event->ConfirmCapture();
            buttonX = ClampButtonX(GetMousePos().x - _dragOffsetX - GetAbsolutePos().x);
            Assert(_isActive);
            event->SetPressedCursor();
        } else {
            Assert(!_isActive);
            if (!handled && IsMouseInNormal(buttonX)) event->SetMouseHandled();
        }
    } else {
        Assert(!_isMouseCapturedByThis);
        // The container dropped a capture nobody confirmed: this slider no longer holds it.
        _isMouseCapturedByThis = false;
        if (_isActive) {
            if (!handled && IsMouseInActive(buttonX)) {
                event->SetMouseHandled();
                event->SetActiveCursor();
            } else {
                SetNormal();
            }
        } else if (!handled && IsMouseInNormal(buttonX)) {
            event->SetMouseHandled();
            event->SetActiveCursor();
            SetActive();
        }
    }
    SetButtonX(buttonX);
}

void SliderControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    if (!_isComplete) return;
    int buttonX = GetButtonX();
    Assert(!_isMouseCapturedByThis);
    if (!event->IsMouseCaptured()) {
        if (_isActive) {
            Assert(IsMouseInActive(buttonX));
            event->CaptureMouse();
            _isMouseCapturedByThis = true;
            const int mouseX = GetMousePos().x - GetAbsolutePos().x;
            // A press on the track puts the button's drag point under the mouse.
            if (!IsMouseOnButton(buttonX)) buttonX = ClampButtonX(mouseX - _buttonDefaultDragX);
            _dragOffsetX = mouseX - buttonX;
        } else {
            Assert(!IsMouseInNormal(buttonX));
        }
    }
    SetButtonX(buttonX);
}

void SliderControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    if (!_isComplete) return;
    ReleaseOwnCapture(event, _isMouseCapturedByThis);
}

void SliderControl::Draw() {
    if (!_isComplete) return;
    const int buttonX = GetButtonX();
    const Point p = GetAbsolutePos();
    _backChanger->Draw(p.x, p.y);
    const Rect frontRect(p.x, p.y, _buttonRange + buttonX, _frontNormalTexture->GetRectangle().height);
    Assert(frontRect.width > 0);
    if (frontRect.width > 0) {
        Render::device.PushClipRect(frontRect, CLIP_ALL);
        _frontChanger->Draw(p.x, p.y);
        Render::device.PopClipRect();
    }
    _buttonChanger->Draw(p.x + buttonX, p.y + _buttonY);
    SetButtonX(buttonX);
}

void SliderControl::Update(float dt) {
    if (!_isComplete) return;
    _backChanger->Update(dt);
    _frontChanger->Update(dt);
    _buttonChanger->Update(dt);
}
