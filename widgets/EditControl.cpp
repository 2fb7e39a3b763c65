#include "widgets/EditControl.h"

#include <cmath>
#include <vector>

#include "controls/MouseEvents.h"
#include "controls/PictureTexture.h"
#include "core/ContentValues.h"
#include "core/Assert.h"
#include "core/Math.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"

namespace {

// Virtual-key codes of the editing keys.
const int KEY_BACK = 8;
const int KEY_END = 35;
const int KEY_HOME = 36;
const int KEY_LEFT = 37;
const int KEY_RIGHT = 39;
const int KEY_DELETE = 46;

}  // namespace

EditControl::EditControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : Control(parent, xml), MessageReceiver(xml) {
    const ObjectWeakPointer<XmlElement> width = GetNeededChild(xml, "width");
    if (width != NULL) _width = width->GetIntAttribute("value");
    _width = CHECKED_INT(_width, 0, MAX_CONTENT_SIZE, "0 <= _width && _width <= 100000");
    const ObjectWeakPointer<XmlElement> font = GetNeededChild(xml, "font");
    if (font != NULL) _fontName = font->GetStringAttribute("name");
    _hasFont = Render::fonts.DoesFontExist(_fontName);
    Assert(Render::fonts.DoesFontExist(_fontName));
    const ObjectWeakPointer<XmlElement> cursor = GetNeededChild(xml, "cursor");
    if (cursor != NULL) {
        _cursorWidth =
            CHECKED_INT(cursor->GetIntAttribute("width"), 0, MAX_CONTENT_SIZE, "0 <= _cursorWidth && _cursorWidth <= 100000");
        _cursorColor = cursor->GetColorAttribute("color");
    }
    const ObjectWeakPointer<XmlElement> disallowed = GetNeededChild(xml, "disallowedSymbols");
    if (disallowed != NULL) {
        // Template parameters, rich-text markup, file-name characters, then the box's own.
        if (disallowed->GetBoolAttribute("template")) _disallowedSymbols += "[]";
        if (disallowed->GetBoolAttribute("textFormat")) _disallowedSymbols += "#{}";
        if (disallowed->GetBoolAttribute("dos")) _disallowedSymbols += "\\/:*?\"<>|";
        _disallowedSymbols += disallowed->GetStringAttributeOrDef("extra", "");
    }
}

EditControl::~EditControl() = default;

int EditControl::TextWidth(const std::string& text) const {
    return _hasFont ? Render::fonts.GetStringWidth(text, _fontName) : 0;
}

int EditControl::FontHeight() const { return _hasFont ? Render::fonts.GetFontHeight(_fontName) : 0; }

void EditControl::CheckCursor() const {
    if (_cursorPos > _value.length()) {
        ReportFailure("Assertion failed", "0 <= _cursorPos && _cursorPos <= _value.length()", __FILE__, __LINE__);
    }
}

float EditControl::GetCursorAlpha() const {
    float a = 2.0f * _cursorTime;
    if (a > 1.0f) a = 2.0f - a;
    return a;
}

bool EditControl::IsMouseInside() {
    if (!_isMousePosKnown) return false;
    const Point p = GetAbsolutePos();
    const Point m = GetMousePos();
    const int left = p.x - _width / 2;
    return left <= m.x && m.x < left + _width && p.y <= m.y && m.y < p.y + FontHeight();
}

void EditControl::SetCursorByMouse() {
    const Point p = GetAbsolutePos();
    // The width of every leading part of the text, measured in one pass.
    std::vector<int> widths;
    if (_hasFont) {
        Render::fonts.GetPrefixWidths(_value, _fontName, widths);
    } else {
        widths.assign(_value.length() + 1, 0);
    }
    const int x = GetMousePos().x - p.x + widths.back() / 2;
    std::string::size_type bestPos = std::string::npos;
    int bestDistance = 0;
    for (std::string::size_type i = 0; i <= _value.length(); ++i) {
        const int d = Math::abs(widths[i] - x);
        // Only a strictly closer boundary replaces the first one found.
        if (bestPos == std::string::npos || d < bestDistance) {
            bestPos = i;
            bestDistance = d;
        }
    }
    Assert(bestPos != std::string::npos);
    if (bestPos != std::string::npos) _cursorPos = static_cast<unsigned int>(bestPos);
    CheckCursor();
}

void EditControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    Assert(!_isMouseCapturedByThis);
    if (event->IsMouseCaptured()) return;
    if (IsMouseInside()) {
        event->CaptureMouse();
        _isMouseCapturedByThis = true;
    }
}

void EditControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) { ReleaseOwnCapture(event, _isMouseCapturedByThis); }

void EditControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    SetMousePos(event->GetMousePos());
    _isMousePosKnown = true;
    if (event->IsMouseCaptured()) {
        if (_isMouseCapturedByThis) {
            event->ConfirmCapture();
            SetCursorByMouse();
            event->SetPressedCursor();
        } else if (!event->IsMouseHandled() && IsMouseInside()) {
            event->SetMouseHandled();
        }
    } else {
        Assert(!_isMouseCapturedByThis);
        // The container dropped a capture nobody confirmed: this box no longer holds it.
        _isMouseCapturedByThis = false;
        if (!event->IsMouseHandled() && IsMouseInside()) {
            event->SetMouseHandled();
            event->SetActiveCursor();
        }
    }
    if (event.InstanceOf<KeyDownEvent>()) {
        OnKeyDown(ObjectWeakPointer<KeyDownEvent>(event.Cast<KeyDownEvent>()));
    } else if (event.InstanceOf<CharEvent>()) {
        OnChar(ObjectWeakPointer<CharEvent>(event.Cast<CharEvent>()));
    }
}

void EditControl::OnKeyDown(const ObjectWeakPointer<KeyDownEvent>& event) {
    if (event->IsKeyHandled()) return;
    switch (event->GetKey()) {
        case KEY_BACK:
            if (_cursorPos > 0) {
                _value.erase(_cursorPos - 1, 1);
                --_cursorPos;
            }
            break;
        case KEY_DELETE:
            if (_cursorPos < _value.length()) _value.erase(_cursorPos, 1);
            break;
        case KEY_LEFT:
            if (_cursorPos > 0) --_cursorPos;
            break;
        case KEY_RIGHT:
            if (_cursorPos < _value.length()) ++_cursorPos;
            break;
        case KEY_HOME:
            _cursorPos = 0;
            break;
        case KEY_END:
            _cursorPos = static_cast<unsigned int>(_value.length());
            break;
        default:
            return;  // Enter, Escape, Tab, the arrows up and down... are for other controls
    }
    CheckCursor();
    event->SetKeyHandled();
}

void EditControl::OnChar(const ObjectWeakPointer<CharEvent>& event) {
    if (event->IsCharHandled()) return;
    const int code = event->GetChar();
    if (code < 0 || code > 255) return;
    const char c = static_cast<char>(code);
    if (_disallowedSymbols.find(c) != std::string::npos) return;
    if (c == ' ' && _value.empty()) return;
    if (c == '|') return;
    if (_cursorPos > _value.length()) {
        ReportFailure("Assertion failed", "0 <= _cursorPos && _cursorPos <= newValue.length()", __FILE__, __LINE__);
        return;
    }
    std::string newValue = _value;
    newValue.insert(_cursorPos, 1, c);
    const int newWidth = TextWidth(newValue);
    // A character the font cannot draw (Enter, Backspace...) adds no width.
    if (newWidth == TextWidth(_value)) return;
    if (newWidth > _width) {
        event->SetCharHandled();
        return;
    }
    _value = newValue;
    ++_cursorPos;
    CheckCursor();
    event->SetCharHandled();
}

void EditControl::Draw() {
    CheckCursor();
    if (!_hasFont) return;
    const Point p = GetAbsolutePos();
    const int textWidth = TextWidth(_value);
    const int left = p.x - textWidth / 2;
    Render::fonts.SetFont(_fontName);
    Render::fonts.DrawString(left, p.y, _value, 1.0f, 0, false);
    if (!_isCursorEnabled) return;
    const int cursorX = left + TextWidth(_value.substr(0, _cursorPos));
    RenderDevice& device = Render::device;
    device.PushAlpha(GetCursorAlpha());
    device.PushColor(_cursorColor);
    device.EnableTexture(false);
    device.DrawRect(cursorX, p.y, _cursorWidth, FontHeight());
    device.EnableTexture(true);
    device.PopColor();
    device.PopAlpha();
}

void EditControl::Update(float dt) {
    Assert(dt > 0.0f);
    _cursorTime += dt / _blinkPeriod;
    Assert(_cursorTime > 0.0f);
    _cursorTime = _cursorTime - std::floor(_cursorTime);
    Assert(0.0f <= _cursorTime && _cursorTime < 1.0f);
}

void EditControl::OnMessage(std::string message) {
    static const std::string SET_VALUE = "set value ";
    if (message.compare(0, SET_VALUE.length(), SET_VALUE) == 0) {
        _value = message.substr(SET_VALUE.length());
        _cursorPos = static_cast<unsigned int>(_value.length());
        CheckCursor();
    } else if (message == "disable cursor") {
        Assert(_isCursorEnabled);
        _isCursorEnabled = false;
    } else if (message == "enable cursor") {
        Assert(!_isCursorEnabled);
        _isCursorEnabled = true;
    } else {
        MessageReceiver::OnMessage(message);
    }
}

std::string EditControl::OnMessageReply(std::string message) {
    if (message == "get value") return _value;
    return MessageReceiver::OnMessageReply(message);
}
