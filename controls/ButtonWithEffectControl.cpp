#include "controls/ButtonWithEffectControl.h"

#include <algorithm>

#include "controls/MouseEvents.h"
#include "controls/PictureTexture.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"

namespace {

// Splits at the escape backslash-n; a backslash before any other character keeps that character.
std::vector<std::string> SplitTextLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            ++i;
            if (text[i] == 'n') {
                lines.emplace_back();
            } else {
                lines.back() += text[i];
            }
        } else {
            lines.back() += text[i];
        }
    }
    return lines;
}

}  // namespace

ButtonWithEffectControl::ButtonWithEffectControl(const ObjectWeakPointer<Control>& parent,
                                                 const ObjectWeakPointer<XmlElement>& xml)
    : MessageButtonControl(parent, xml) {
    _swing.addKey(0.0f, 30.0f);
    _swing.addKey(0.5f, -5.0f);
    _swing.addKey(1.0f, 0.0f);
    _swing.CalculateGradient(false);
    if (xml == NULL) {
        return;
    }
    _shift = xml->GetIntAttributeOrDef("shift", 3);
    _speed = xml->GetFloatAttributeOrDef("speed", 10.0f);
    if (ObjectWeakPointer<XmlElement> show = xml->GetFirstChildElement("show"); show != NULL) {
        _showDelay = show->GetFloatAttribute("delay");
        _showSpeed = show->GetFloatAttribute("speed");
    }
    if (ObjectWeakPointer<XmlElement> image = xml->GetFirstChildElement("image"); image != NULL) {
        _image = GetPictureTexture(image->GetStringAttribute("id"));
        _imagePosition = Point(image->GetIntAttribute("x"), image->GetIntAttribute("y"));
        if (image->GetStringAttributeOrDef("align", "") == "center" && _image != NULL) {
            const Rect rect = _image->GetRectangle();
            _imagePosition = _imagePosition - Point(rect.width / 2, rect.height / 2);
        }
    }
    if (ObjectWeakPointer<XmlElement> text = xml->GetFirstChildElement("text"); text != NULL) {
        _font = text->GetStringAttribute("font");
        _textLines = SplitTextLines(text->GetStringAttribute("value"));
        _textPosition = Point(text->GetIntAttribute("x"), text->GetIntAttribute("y"));
    }
    if (ObjectWeakPointer<XmlElement> variable = xml->GetFirstChildElement("variable"); variable != NULL) {
        _variable = ObjectSmartPointer<PermanentVariableOrDef<Local, std::string>>(
            new PermanentVariableOrDef<Local, std::string>(variable->GetStringAttribute("name"), ""));
        _overValue = variable->GetStringAttribute("onOverValue");
    }
}

ButtonWithEffectControl::~ButtonWithEffectControl() = default;

void ButtonWithEffectControl::Update(float dt) {
    if (!IsComplete()) {
        return;
    }
    if (_showDelay > 0.0f) {
        _showDelay = std::max(0.0f, _showDelay - dt);
        return;
    }
    ButtonControl::Update(dt);
    if (_appearance < 1.0f) {
        _appearance = std::min(1.0f, _appearance + dt * _showSpeed);
        return;
    }
    if (IsMousePosKnown() && !_handledBefore && IsMouseInNormalButton()) {
        _hover = std::min(1.0f, _hover + dt * _speed);
    } else {
        _hover = std::max(0.0f, _hover - dt * _speed);
    }
}

void ButtonWithEffectControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    // While appearing the button has not followed the pointer, so its look says nothing about it.
    if (_appearance < 1.0f) {
        return;
    }
    MessageButtonControl::OnMouseDown(event);
}

void ButtonWithEffectControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    if (!IsComplete() || _appearance < 1.0f) {
        return;
    }
    const bool overBefore = IsMousePosKnown() && IsMouseInNormalButton();
    _handledBefore = event->IsMouseHandled();
    _capturedBefore = event->IsMouseCaptured();
    MessageButtonControl::OnMouseMove(event);
    const bool overNow = IsMouseInNormalButton();
    if (_variable != NULL && overNow != overBefore) {
        _variable->SetValue(overNow ? _overValue : std::string());
    }
}

void ButtonWithEffectControl::DrawContent() {
    ButtonControl::Draw();
    const Point p = GetAbsolutePos();
    if (_image != NULL) {
        _image->Draw(p + _imagePosition);
    }
    if (_textLines.empty()) {
        return;
    }
    Render::fonts.SetFont(_font);
    const int h = Render::fonts.GetFontHeight(_font);
    const int n = static_cast<int>(_textLines.size());
    int y = p.y + _textPosition.y + (n * h) / 2 - h;
    for (const std::string& line : _textLines) {
        Render::fonts.DrawString(p.x + _textPosition.x, y, line, 1.0f, 2, false);
        y -= h;
    }
}

void ButtonWithEffectControl::Draw() {
    if (!IsComplete() || _showDelay > 0.0f) {
        return;
    }
    RenderDevice& device = Render::device;
    const UsingPointer<Texture> texture = GetStateTexture();
    const Point p = GetAbsolutePos();
    if (_appearance < 1.0f) {
        const Rect rect = texture != NULL ? texture->GetRectangle() : Rect();
        const float cx = static_cast<float>(p.x) + static_cast<float>(rect.width) / 2.0f;
        const float cy = static_cast<float>(p.y) + static_cast<float>(rect.height) / 2.0f;
        const float zAxis[3] = {0.0f, 0.0f, 1.0f};
        device.PushMatrix();
        device.MatrixTranslate(cx, cy, 0.0f);
        device.MatrixRotate(zAxis, GetSwingAngle(_appearance));
        device.MatrixTranslate(-cx, -cy, 0.0f);
        device.PushAlpha(_appearance);
        DrawContent();
        device.PopAlpha();
        device.PopMatrix();
        return;
    }
    if (texture != NULL) {
        device.PushAlpha(0.5f);
        device.PushColor(Color(0, 0, 0, 255));
        texture->DrawSilhouette(p);
        device.PopColor();
        device.PopAlpha();
    }
    const float lift = static_cast<float>(_shift) * _hover;
    device.PushMatrix();
    device.MatrixTranslate(-lift, lift, 0.0f);
    DrawContent();
    device.PopMatrix();
}
