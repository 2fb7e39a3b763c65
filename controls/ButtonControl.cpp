#include "controls/ButtonControl.h"

#include "controls/MouseEvents.h"
#include "controls/PictureTexture.h"
#include "core/MessageServer.h"
#include "core/XmlElement.h"
#include "shell/SoundSystem.h"

ButtonControl::ButtonControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : Control(parent, xml) {
    const ObjectWeakPointer<XmlElement> textures = GetNeededChild(xml, "textures");
    if (textures != NULL) {
        _normalTexture = GetPictureTexture(textures->GetStringAttribute("normalId"));
        _activeTexture = GetPictureTexture(textures->GetStringAttribute("activeId"));
        _pressedTexture = GetPictureTexture(textures->GetStringAttribute("pressedId"));
        if (textures->HasAttribute("disabledId")) {
            _disabledTexture = GetPictureTexture(textures->GetStringAttribute("disabledId"));
        }
    }
    _isComplete = _normalTexture != NULL && _activeTexture != NULL && _pressedTexture != NULL;
    const ObjectWeakPointer<XmlElement> flashing = xml != NULL ? xml->GetFirstChildElement("flashing")
                                                               : ObjectWeakPointer<XmlElement>();
    if (_isComplete) {
        _textureChanger = ObjectSmartPointer<SmoothTextureChanger>(
            new SmoothTextureChanger(_normalTexture.GetPointer(), CHANGE_TIME));
    }
    if (flashing != NULL) {
        const float period = flashing->GetFloatAttribute("period");
        const float maxAlpha = flashing->GetFloatAttribute("maxAlpha");
        if (_isComplete) {
            _textureChanger->SetFlash(_normalTexture.GetPointer(), _activeTexture.GetPointer(), period, maxAlpha);
        }
    }
    const ObjectWeakPointer<XmlElement> sounds =
        xml != NULL ? xml->GetFirstChildElement("sounds") : ObjectWeakPointer<XmlElement>();
    if (sounds != NULL) {
        _activeSound = sounds->GetStringAttribute("activeId");
        _pressedSound = sounds->GetStringAttribute("pressedId");
    } else {
        _activeSound = "button_active";
        _pressedSound = "button_pressed";
    }
}

ButtonControl::~ButtonControl() = default;

UsingPointer<Texture> ButtonControl::GetStateTexture() const {
    switch (_state) {
        case ACTIVE_STATE:
            return _activeTexture;
        case PRESSED_STATE:
            return _pressedTexture;
        case DISABLED_STATE:
            return _disabledTexture;
        default:
            return _normalTexture;
    }
}

bool ButtonControl::IsMouseIn(const UsingPointer<Texture>& texture) {
    if (texture == NULL) {
        return false;
    }
    const Point mouse = GetMousePos();
    const Point absolute = GetAbsolutePos();
    return texture->IsPointOpaque(Point(mouse.x - absolute.x, mouse.y - absolute.y));
}

bool ButtonControl::IsMouseInNormalButton() { return IsMouseIn(_normalTexture); }
bool ButtonControl::IsMouseInActiveButton() { return IsMouseIn(_activeTexture); }
bool ButtonControl::IsMouseInPressedButton() { return IsMouseIn(_pressedTexture); }
bool ButtonControl::IsMouseInDisabledButton() { return IsMouseIn(_disabledTexture); }

void ButtonControl::ChangeLook(const UsingPointer<Texture>& texture) {
    if (_textureChanger != NULL) {
        _textureChanger->ChangeTexture(texture.GetPointer());
    }
}

void ButtonControl::SetNormalState() {
    _state = NORMAL_STATE;
    ChangeLook(_normalTexture);
}

void ButtonControl::SetActiveState() {
    _state = ACTIVE_STATE;
    ChangeLook(_activeTexture);
    Sound::soundSystem.PlaySample(_activeSound);
}

void ButtonControl::SetPressedState() {
    _state = PRESSED_STATE;
    ChangeLook(_pressedTexture);
    Sound::soundSystem.PlaySample(_pressedSound);
}

void ButtonControl::SetDisabledState() {
    Assert(_disabledTexture != NULL);
    _state = DISABLED_STATE;
    if (_disabledTexture != NULL) {
        ChangeLook(_disabledTexture);
    }
}

void ButtonControl::ForgetLostCapture() {
    _isMouseCapturedByThis = false;
    if (_state == PRESSED_STATE) {
        SetNormalState();
    }
}

void ButtonControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    if (!_isComplete) {
        return;
    }
    SetMousePos(event->GetMousePos());
    _isMousePosKnown = true;
    const bool handled = event->IsMouseHandled();
    if (event->IsMouseCaptured()) {
        if (_isMouseCapturedByThis) {
            event->ConfirmCapture();
            switch (_state) {
                case NORMAL_STATE:
                    if (!handled && IsMouseInNormalButton()) {
                        SetPressedState();
                        event->SetPressedCursor();
                    }
                    break;
                case PRESSED_STATE:
                    if (handled || !IsMouseInPressedButton()) {
                        SetNormalState();
                    } else {
                        event->SetPressedCursor();
                    }
                    break;
                case DISABLED_STATE:
                    break;
                default:
                    Assert(false);
            }
            return;
        }
        switch (_state) {
            case NORMAL_STATE:
                if (!handled && IsMouseInNormalButton()) event->SetMouseHandled();
                break;
            case DISABLED_STATE:
                if (!handled && IsMouseInDisabledButton()) event->SetMouseHandled();
                break;
            default:
                Assert(false);
        }
        return;
    }
    Assert(!_isMouseCapturedByThis);
    if (_isMouseCapturedByThis || _state == PRESSED_STATE) {
        ForgetLostCapture();
    }
    switch (_state) {
        case NORMAL_STATE:
            if (!handled && IsMouseInNormalButton()) {
                event->SetMouseHandled();
                event->SetActiveCursor();
                SetActiveState();
            }
            break;
        case ACTIVE_STATE:
            if (handled || !IsMouseInActiveButton()) {
                SetNormalState();
            } else {
                event->SetMouseHandled();
                event->SetActiveCursor();
            }
            break;
        case DISABLED_STATE:
            if (!handled && IsMouseInDisabledButton()) event->SetMouseHandled();
            break;
        default:
            Assert(false);
    }
}

void ButtonControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    if (!_isComplete) {
        return;
    }
    Assert(!_isMouseCapturedByThis);
    if (event->IsMouseCaptured()) {
        return;
    }
    switch (_state) {
        case NORMAL_STATE:
            Assert(!IsMouseInNormalButton());
            break;
        case ACTIVE_STATE:
            Assert(IsMouseInActiveButton());
            event->CaptureMouse();
            _isMouseCapturedByThis = true;
            SetPressedState();
            break;
        case DISABLED_STATE:
            if (IsMouseInDisabledButton()) {
                event->CaptureMouse();
                _isMouseCapturedByThis = true;
            }
            break;
        default:
            Assert(false);
    }
}

void ButtonControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    if (!_isComplete) {
        return;
    }
    if (!event->IsMouseCaptured()) {
        Assert(!_isMouseCapturedByThis);
        if (_isMouseCapturedByThis) {
            ForgetLostCapture();
        }
        return;
    }
    if (!_isMouseCapturedByThis) {
        return;
    }
    event->ReleaseCapture();
    _isMouseCapturedByThis = false;
    switch (_state) {
        case NORMAL_STATE:
        case PRESSED_STATE:
            SetNormalState();
            break;
        case DISABLED_STATE:
            break;
        default:
            Assert(false);
    }
}

void ButtonControl::Draw() {
    if (!_isComplete) {
        return;
    }
    const Point p = GetAbsolutePos();
    _textureChanger->Draw(p.x, p.y);
}

void ButtonControl::Update(float dt) {
    if (!_isComplete) {
        return;
    }
    _textureChanger->Update(dt);
}

MessageButtonControl::MessageButtonControl(const ObjectWeakPointer<Control>& parent,
                                           const ObjectWeakPointer<XmlElement>& xml)
    : ButtonControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> message = GetNeededChild(xml, "message");
    if (message != NULL) {
        _message = message->GetStringAttribute("value");
        _receiver = message->GetStringAttribute("receiver");
        _isDoubleClickSent = message->GetBoolAttributeOrDef("doubleClick", true);
    }
}

void MessageButtonControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    const bool wasPressed = GetState() == PRESSED_STATE;
    ButtonControl::OnMouseDown(event);
    if (!wasPressed && GetState() == PRESSED_STATE) _isDoubleClickPress = event.InstanceOf<MouseDoubleClickEvent>();
}

void MessageButtonControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    const bool wasPressed = GetState() == PRESSED_STATE;
    const bool wasCaptured = event->IsMouseCaptured();
    ButtonControl::OnMouseUp(event);
    if (wasPressed && wasCaptured && IsComplete()) {
        Assert(!event->IsMouseCaptured());
        if (_isDoubleClickSent || !_isDoubleClickPress) SendMessage(_receiver, _message);
    }
    _isDoubleClickPress = false;
}
