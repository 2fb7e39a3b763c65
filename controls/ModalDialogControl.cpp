#include "controls/ModalDialogControl.h"

#include "content/TemplateLib.h"
#include "controls/MouseEvents.h"
#include "controls/MutableChildrenListControl.h"
#include "core/Assert.h"
#include "core/Color.h"
#include "core/String.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"

ModalDialogControl::ModalDialogControl(const ObjectWeakPointer<Control>& parent,
                                       const ObjectWeakPointer<XmlElement>& xml)
    : Control(parent, xml), MessageReceiver(xml) {
    const ObjectWeakPointer<XmlElement> times = xml->GetFirstChildElement("times");
    Assert(times != NULL);
    if (times != NULL) {
        _startingTime = times->GetFloatAttribute("starting");
        _hidingTime = times->GetFloatAttribute("hiding");
    }
    Assert(_startingTime >= 0);
    Assert(_hidingTime >= 0);
    if (!(_startingTime >= 0)) _startingTime = 0.0f;
    if (!(_hidingTime >= 0)) _hidingTime = 0.0f;
    _maxBlackAlpha = xml->GetIntAttributeOrDef("maxBlackAlpha", 100);
    Assert(0 <= _maxBlackAlpha && _maxBlackAlpha <= 255);
    if (_maxBlackAlpha < 0) _maxBlackAlpha = 0;
    if (_maxBlackAlpha > 255) _maxBlackAlpha = 255;
}

ModalDialogControl::~ModalDialogControl() {
    Assert(_currentTemplate == NULL);
    _currentTemplate = nullptr;
    _rootControl = nullptr;
}

void ModalDialogControl::Show(const ObjectWeakPointer<XmlElement>& element) {
    _rootControl = TemplateCommands::BuildControl(ObjectWeakPointer<Control>(this), element);
    if (_rootControl == NULL) {
        return;
    }
    _time = 0.0f;
    _showingState = STATE_STARTING;
}

void ModalDialogControl::Vanish() {
    _time = 0.0f;
    _showingState = STATE_INVISIBLE;
    ObjectSmartPointer<Control> root = _rootControl;
    _rootControl = nullptr;
}

void ModalDialogControl::Hide() {
    switch (_showingState) {
    case STATE_STARTING:
        if (_startingTime > 0.0f) {
            Assert(0.0f <= _time && _time < _startingTime);
            _time = (1.0f - _time / _startingTime) * _hidingTime;
            _showingState = STATE_HIDING;
            if (_hidingTime > 0.0f) {
                Assert(0.0f < _time && _time <= _hidingTime);
            }
        } else {
            Assert(_startingTime == 0.0f);
            Assert(_hidingTime >= 0.0f);
            _time = _hidingTime;
            _showingState = STATE_HIDING;
        }
        break;
    case STATE_SHOWING:
        _time = 0.0f;
        _showingState = STATE_HIDING;
        break;
    default:
        Assert(false);
        return;
    }
    // Without a fade-out the dialog is gone at once.
    if (_hidingTime == 0.0f) {
        Vanish();
    }
}

void ModalDialogControl::OnMessage(std::string message) {
    if (TemplateCommands::OnTemplateCommand(message, _currentTemplate)) {
        return;
    }
    if (String::IsHeadCut(message, "instantiate ")) {
        Assert(_showingState == STATE_INVISIBLE);
        Assert(_rootControl == NULL);
        if (_showingState != STATE_INVISIBLE || _rootControl != NULL) {
            return;
        }
        Show(TemplateLib::GetTemplate(message));
    } else if (message == "create instance") {
        Assert(_showingState == STATE_INVISIBLE);
        Assert(_rootControl == NULL);
        Assert(_currentTemplate != NULL);
        if (_showingState != STATE_INVISIBLE || _rootControl != NULL || _currentTemplate == NULL) {
            return;
        }
        ObjectSmartPointer<XmlElement> copy = _currentTemplate;
        _currentTemplate = nullptr;
        Show(copy);
    } else if (message == "hide") {
        Hide();
    } else {
        MessageReceiver::OnMessage(message);
    }
}

std::string ModalDialogControl::OnMessageReply(std::string message) {
    if (message == "get state") {
        switch (_showingState) {
        case STATE_INVISIBLE: return "invisible";
        case STATE_STARTING: return "starting";
        case STATE_SHOWING: return "showing";
        case STATE_HIDING: return "hiding";
        }
    }
    return MessageReceiver::OnMessageReply(message);
}

void ModalDialogControl::Update(float dt) {
    ObjectSmartPointer<Control> root = _rootControl;
    switch (_showingState) {
    case STATE_INVISIBLE:
        Assert(_rootControl == NULL);
        return;
    case STATE_STARTING:
        _time += dt;
        Assert(_startingTime >= 0.0f);
        if (_time >= _startingTime) {
            _showingState = STATE_SHOWING;
            _time = 0.0f;
        }
        if (root != NULL) root->Update(dt);
        return;
    case STATE_SHOWING:
        if (root != NULL) root->Update(dt);
        return;
    case STATE_HIDING:
        _time += dt;
        if (_time < _hidingTime) {
            if (root != NULL) root->Update(dt);
        } else {
            Vanish();
        }
        return;
    }
}

void ModalDialogControl::Draw() {
    if (_showingState == STATE_INVISIBLE || _rootControl == NULL) {
        return;
    }
    float rate = 1.0f;
    if (_showingState == STATE_STARTING) {
        if (_startingTime > 0.0f) {
            rate = _time / _startingTime;
        } else {
            Assert(_startingTime == 0.0f);
            rate = 1.0f;
        }
    } else if (_showingState == STATE_HIDING) {
        Assert(0.0f <= _time && _time <= _hidingTime);
        rate = _hidingTime > 0.0f ? 1.0f - _time / _hidingTime : 0.0f;
    }
    Assert(0.0f <= rate && rate <= 1.0f);
    if (rate < 0.0f) rate = 0.0f;
    if (rate > 1.0f) rate = 1.0f;

    RenderDevice& device = Render::device;
    device.PushAlpha(static_cast<float>(_maxBlackAlpha) * rate / 255.0f);
    device.PushColor(Color(0, 0, 0, 255));
    device.EnableTexture(false);
    const Point p = GetAbsolutePos();
    device.DrawRect(p.x, p.y, RenderDevice::LOGICAL_WIDTH, RenderDevice::LOGICAL_HEIGHT);
    device.EnableTexture(true);
    device.PopColor();
    device.PopAlpha();

    ObjectSmartPointer<Control> root = _rootControl;
    device.PushAlpha(rate);
    root->Draw();
    device.PopAlpha();
}

void ModalDialogControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    ObjectSmartPointer<Control> root = _rootControl;
    if (_mouseState == MOUSE_CAPTURED_BY_THIS) {
        Assert(false);
        return;
    }
    switch (_showingState) {
    case STATE_INVISIBLE:
        if (_mouseState == MOUSE_CAPTURED_BY_A_CHILD) {
            Assert(_rootControl == NULL);
            Assert(event->IsMouseCaptured());
            _mouseState = MOUSE_CAPTURED_BY_THIS;
        }
        return;
    case STATE_STARTING:
    case STATE_SHOWING:
        if (_mouseState == MOUSE_FREE) {
            const bool wasCaptured = event->IsMouseCaptured();
            if (root != NULL) root->OnMouseDown(event);
            if (!event->IsMouseCaptured()) {
                event->CaptureMouse();
                _mouseState = MOUSE_CAPTURED_BY_THIS;
            } else if (!wasCaptured) {
                _mouseState = MOUSE_CAPTURED_BY_A_CHILD;
            }
            Assert(event->IsMouseCaptured());
        } else {
            Assert(event->IsMouseCaptured());
            if (root != NULL) root->OnMouseDown(event);
            Assert(event->IsMouseCaptured());
        }
        return;
    case STATE_HIDING:
        if (_mouseState == MOUSE_FREE) {
            if (!event->IsMouseCaptured()) {
                event->CaptureMouse();
                _mouseState = MOUSE_CAPTURED_BY_THIS;
            }
            Assert(event->IsMouseCaptured());
        } else {
            Assert(event->IsMouseCaptured());
            if (root != NULL) root->OnMouseDown(event);
            Assert(event->IsMouseCaptured());
        }
        return;
    }
}

void ModalDialogControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    ObjectSmartPointer<Control> root = _rootControl;
    if (_mouseState == MOUSE_FREE) {
        return;
    }
    switch (_showingState) {
    case STATE_INVISIBLE:
        if (_mouseState == MOUSE_CAPTURED_BY_A_CHILD) {
            Assert(_rootControl == NULL);
        }
        Assert(event->IsMouseCaptured());
        event->ReleaseCapture();
        _mouseState = MOUSE_FREE;
        return;
    case STATE_STARTING:
    case STATE_SHOWING:
        if (_mouseState == MOUSE_CAPTURED_BY_THIS) {
            Assert(event->IsMouseCaptured());
            if (root != NULL) root->OnMouseUp(event);
            Assert(event->IsMouseCaptured());
            event->ReleaseCapture();
            _mouseState = MOUSE_FREE;
        } else {
            if (root != NULL) root->OnMouseUp(event);
            if (!event->IsMouseCaptured()) {
                _mouseState = MOUSE_FREE;
            } else {
                Assert(_mouseState == MOUSE_CAPTURED_BY_A_CHILD);
            }
        }
        return;
    case STATE_HIDING:
        if (_mouseState == MOUSE_CAPTURED_BY_THIS) {
            Assert(event->IsMouseCaptured());
            event->ReleaseCapture();
            _mouseState = MOUSE_FREE;
        } else {
            Assert(false);
        }
        return;
    }
}

void ModalDialogControl::MarkHandled(const ObjectWeakPointer<MouseMoveEvent>& event) {
    if (!event->IsMouseHandled()) {
        event->SetMouseHandled();
    }
    if (event.InstanceOf<KeyDownEvent>()) {
        const ObjectWeakPointer<KeyDownEvent> key = event.Cast<KeyDownEvent>();
        if (!key->IsKeyHandled()) key->SetKeyHandled();
    }
    if (event.InstanceOf<CharEvent>()) {
        const ObjectWeakPointer<CharEvent> character = event.Cast<CharEvent>();
        if (!character->IsCharHandled()) character->SetCharHandled();
    }
}

void ModalDialogControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    ObjectSmartPointer<Control> root = _rootControl;
    switch (_showingState) {
    case STATE_INVISIBLE:
        _mouseState = MOUSE_FREE;
        return;
    case STATE_STARTING:
    case STATE_SHOWING:
        if (_mouseState == MOUSE_CAPTURED_BY_THIS) {
            event->ConfirmCapture();
        }
        if (root != NULL) root->OnMouseMove(event);
        MarkHandled(event);
        return;
    case STATE_HIDING:
        if (_mouseState == MOUSE_CAPTURED_BY_A_CHILD) {
            _mouseState = MOUSE_CAPTURED_BY_THIS;
        }
        if (_mouseState == MOUSE_CAPTURED_BY_THIS) {
            event->ConfirmCapture();
        }
        MarkHandled(event);
        return;
    }
}
