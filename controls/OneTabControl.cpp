#include "controls/OneTabControl.h"

#include "controls/MouseEvents.h"
#include "controls/PictureTexture.h"
#include "core/Assert.h"
#include "core/ContentValues.h"
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
        case REAR_STATE:
            return _rearTexture;
        case ACTIVE_STATE:
            return _activeTexture;
        default:
            Assert(false);
            return UsingPointer<Texture>();
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
    _isMousePosKnown = true;
    FixedChildrenListControl::OnMouseMove(event);
    const bool handled = event->IsMouseHandled();
    if (event->IsMouseCaptured()) {
        if (_isMouseCapturedByThis) {
            event->ConfirmCapture();
            return;
        }
        if (handled) return;
        switch (_state) {
            case FRONT_STATE:
                if (IsMouseInFrontTexture()) event->SetMouseHandled();
                break;
            case REAR_STATE:
                if (IsMouseInRearTexture()) event->SetMouseHandled();
                break;
            default:
                // A tab cannot stay active while another control holds the mouse.
                Assert(false);
        }
        return;
    }
    Assert(!_isMouseCapturedByThis);
    // The container dropped a capture nobody confirmed: this tab no longer holds it.
    _isMouseCapturedByThis = false;
    switch (_state) {
        case FRONT_STATE:
            if (!handled && IsMouseInFrontTexture()) event->SetMouseHandled();
            break;
        case REAR_STATE:
            if (!handled && IsMouseInRearTexture()) {
                event->SetMouseHandled();
                event->SetActiveCursor();
                _state = ACTIVE_STATE;
            }
            break;
        case ACTIVE_STATE:
            if (!handled && IsMouseInActiveTexture()) {
                event->SetMouseHandled();
                event->SetActiveCursor();
            } else {
                _state = REAR_STATE;
            }
            break;
        default:
            Assert(false);
    }
}

void OneTabControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    FixedChildrenListControl::OnMouseDown(event);
    if (event->IsMouseCaptured()) return;
    Assert(!_isMouseCapturedByThis);
    bool captures = false;
    switch (_state) {
        case FRONT_STATE:
            captures = IsMouseInFrontTexture();
            break;
        case REAR_STATE:
            // The pointer makes a rear tab active before it can be pressed.
            Assert(!IsMouseInRearTexture());
            break;
        case ACTIVE_STATE:
            Assert(IsMouseInActiveTexture());
            captures = true;
            break;
        default:
            Assert(false);
    }
    if (!captures) return;
    event->CaptureMouse();
    _isMouseCapturedByThis = true;
}

void OneTabControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    FixedChildrenListControl::OnMouseUp(event);
    ReleaseOwnCapture(event, _isMouseCapturedByThis);
}

void OneTabControl::Draw() {
    const UsingPointer<Texture> currentTexture = GetStateTexture();
    // A missing picture was reported by the lookup too: told once, not on every frame.
    CHECK_ONCE(currentTexture != NULL, "currentTexture != NULL");
    if (currentTexture != NULL) currentTexture->Draw(GetAbsolutePos());
    FixedChildrenListControl::Draw();
}
