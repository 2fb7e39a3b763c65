#include "widgets/DelayText.h"

#include "core/Assert.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"

namespace {

int ParseAlign(const std::string& align) {
    if (align == "Left") return 0;
    if (align == "Right") return 1;
    if (align == "Center") return 2;
    Assert(false);
    return 0;
}

}  // namespace

DelayText::DelayText(const ObjectWeakPointer<XmlElement>& xml) {
    _position = Point(xml->GetIntAttribute("x"), xml->GetIntAttribute("y"));
    _font = xml->GetStringAttribute("font");
    _text = xml->GetStringAttribute("text");
    _align = ParseAlign(xml->GetStringAttributeOrDef("align", "Left"));
    _vertical = xml->GetBoolAttributeOrDef("vertical", true);
    _startTime = xml->GetFloatAttribute("startTime");
    _fadeTime = xml->GetFloatAttribute("time");
}

float DelayText::GetAlpha() const {
    if (_elapsed < _startTime) return 0.0f;
    if (!(_fadeTime > 0.0f)) return 1.0f;
    if (_elapsed <= _startTime + _fadeTime) return (_elapsed - _startTime) / _fadeTime;
    return 1.0f;
}

void DelayText::Draw() {
    const float alpha = GetAlpha();
    if (alpha == 0.0f || !_isVisible) return;
    Render::device.PushAlpha(alpha);
    for (Picture& picture : _pictures) {
        if (picture.texture != NULL) picture.texture->Draw(picture.position);
    }
    Render::fonts.SetFont(_font);
    Render::fonts.DrawString(_position.x, _position.y, _text, 1.0f, _align, _vertical);
    Render::device.PopAlpha();
}

DelayTextGroup::DelayTextGroup(const ObjectWeakPointer<XmlElement>& xml) {
    _position = Point(xml->GetIntAttribute("x"), xml->GetIntAttribute("y"));
    _startTime = xml->GetFloatAttribute("startTime");
    for (ObjectWeakPointer<XmlElement> line = xml->GetFirstChildElement("line"); line != NULL;
         line = line->GetNextElement("line")) {
        _lines.push_back(DelayText(line));
    }
}

void DelayTextGroup::Update(float dt) {
    if (_elapsed < _startTime) {
        _elapsed += dt;
        return;
    }
    for (DelayText& line : _lines) line._elapsed += dt;
}

void DelayTextGroup::Draw() {
    if (_elapsed < _startTime) return;
    Render::device.PushMatrix();
    Render::device.MatrixTranslate(static_cast<float>(_position.x), static_cast<float>(_position.y), 0.0f);
    for (DelayText& line : _lines) line.Draw();
    Render::device.PopMatrix();
}

int DelayTextGroup::Replace(const std::string& placeholder, const std::string& replacement) {
    for (std::size_t i = 0; i < _lines.size(); ++i) {
        std::string& text = _lines[i]._text;
        const std::size_t at = text.find(placeholder);
        if (at == std::string::npos) continue;
        text.replace(at, placeholder.size(), replacement);
        return static_cast<int>(i);
    }
    ReportError("Placeholder '" + placeholder + "' is in no line");
    return -1;
}
