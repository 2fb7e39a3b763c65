#include "controls/OneTabControl.h"

#include "controls/MouseEvents.h"
#include "controls/PictureTexture.h"
#include "core/Assert.h"
#include "core/XmlElement.h"

OneTabControl::OneTabControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : FixedChildrenListControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> textures = GetNeededChild(xml, "textures");
    if (textures != NULL) {
        _frontTexture = GetPictureTexture(textures->GetStringAttribute("frontId"));
        _rearTexture = GetPictureTexture(textures->GetStringAttribute("rearId"));
        _activeTexture = GetPictureTexture(textures->GetStringAttribute("activeId"));
    }
}

OneTabControl::~OneTabControl() = default;

void OneTabControl::SetState(int state) {
    Assert(FRONT_STATE <= state && state <= ACTIVE_STATE);
    if (FRONT_STATE <= state && state <= ACTIVE_STATE) _state = state;
}

UsingPointer<Texture> OneTabControl::GetStateTexture() const {
    switch (_state) {
        case FRONT_STATE:
            return _frontTexture;
        case ACTIVE_STATE:
            return _activeTexture;
        default:
            return _rearTexture;
    }
}

bool OneTabControl::IsMouseIn(const UsingPointer<Texture>& texture) {
    if (texture == NULL || !_isMousePosKnown) return false;
    const Point mouse = GetMousePos();
    const Point absolute = GetAbsolutePos();
    return texture->IsPointOpaque(Point(mouse.x - absolute.x, mouse.y - absolute.y));
}

void OneTabControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    SetMousePos(event->GetMousePos());
    FixedChildrenListControl::OnMouseMove(event);
    _isMousePosKnown = true;
    const bool handled = event->IsMouseHandled();
    if (event->IsMouseCaptured()) {
        if (_isMouseCapturedByThis) event->ConfirmCapture();
        return;
    }
    // The container dropped a capture nobody confirmed: this tab no longer holds it.
    _isMouseCapturedByThis = false;
    switch (_state) {
        case FRONT_STATE:
            if (!handled && IsMouseIn(_frontTexture)) event->SetMouseHandled();
            break;
        case REAR_STATE:
            if (!handled && IsMouseIn(_rearTexture)) {
                _state = ACTIVE_STATE;
                event->SetMouseHandled();
                event->SetActiveCursor();
            }
            break;
        case ACTIVE_STATE:
            if (handled || !IsMouseIn(_activeTexture)) {
                _state = REAR_STATE;
            } else {
                event->SetMouseHandled();
                event->SetActiveCursor();
            }
            break;
        default:
            Assert(false);
    }
}

void OneTabControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    FixedChildrenListControl::OnMouseDown(event);
    if (event->IsMouseCaptured()) return;
    const bool isOnTab = (_state == FRONT_STATE && IsMouseIn(_frontTexture)) ||
                         (_state == ACTIVE_STATE && IsMouseIn(_activeTexture));
    if (!isOnTab) return;
    event->CaptureMouse();
    _isMouseCapturedByThis = true;
}

void OneTabControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    FixedChildrenListControl::OnMouseUp(event);
    ReleaseOwnCapture(event, _isMouseCapturedByThis);
}

void OneTabControl::Draw() {
    const UsingPointer<Texture> texture = GetStateTexture();
    if (texture != NULL) texture->Draw(GetAbsolutePos());
    FixedChildrenListControl::Draw();
}
