#include "widgets/CreditsControl.h"

#include "content/ResourceManager.h"
#include "content/TemplateLib.h"
#include "core/ContentValues.h"
#include "controls/PictureTexture.h"
#include "core/Int.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"

namespace {

// "blank" followed by one or more digits.
bool IsBlankName(const std::string& name, std::string& digits) {
    const std::string head = "blank";
    if (name.size() <= head.size() || name.compare(0, head.size(), head) != 0) return false;
    digits = name.substr(head.size());
    return digits.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

CreditsControl::CreditsControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> text = GetNeededChild(xml, "text");
    if (text == NULL) return;
    const float heightFactor = CHECKED_FLOAT(text->GetFloatAttributeOrDef("height", 1.0f), 0.0f, 16.0f, 1.0f,
                                             "0.0f <= height && height <= 16.0f");
    _speed = CHECKED_FLOAT(text->GetFloatAttributeOrDef("speed", 1.0f), -MAX_CONTENT_SIZE, MAX_CONTENT_SIZE, 1.0f,
                           "-100000.0f <= _speed && _speed <= 100000.0f");
    ObjectWeakPointer<XmlElement> source = text;
    if (text->HasAttribute("resourceName")) {
        source = TemplateLib::GetTemplate(text->GetStringAttribute("resourceName"));
        if (source == NULL) return;
        TemplateLib::CheckFullyInstantiated(source);
    }
    for (ObjectWeakPointer<XmlElement> line = source->GetFirstChildElement(); line != NULL;
         line = line->GetNextElement()) {
        ReadLine(line, heightFactor);
    }
}

CreditsControl::~CreditsControl() { _lines.clear(); }

void CreditsControl::ReadLine(const ObjectWeakPointer<XmlElement>& xml, float heightFactor) {
    const std::string name = xml->GetName();
    CreditLine line;
    std::string digits;
    if (IsBlankName(name, digits)) {
        line._height = static_cast<float>(
            CHECKED_INT(Int::Parse(digits), 0, MAX_CONTENT_SIZE, "0 <= blank && blank <= 100000"));
    } else if (name == "image") {
        line._texture = ResourceManager::GetTextureOrFrame(xml->GetStringAttribute("texture"));
        if (line._texture != NULL) line._height = static_cast<float>(line._texture->GetRectangle().height);
    } else if (name == "line") {
        line._font = xml->GetStringAttribute("font");
        line._text = xml->GetText();
        line._height = static_cast<float>(Render::fonts.GetFontHeight(line._font)) * heightFactor;
        // An unknown font is reported once, here; the line keeps its place and shows nothing.
        if (!Render::fonts.DoesFontExist(line._font)) line._text.clear();
    } else {
        Assert(false);
        return;
    }
    _lines.push_back(line);
}

float CreditsControl::GetTotalHeight() const {
    float total = 0.0f;
    for (const CreditLine& line : _lines) total += line._height;
    return total;
}

void CreditsControl::Update(float dt) {
    _offset += dt * _speed;
    // Scrolling down for ever (a negative speed) starts again once the lines are far below.
    if (!(-GetTotalHeight() - MAX_CONTENT_SIZE <= _offset)) _offset = 0.0f;
}

void CreditsControl::Draw() {
    const Point position = GetAbsolutePos();
    Render::device.PushMatrix();
    Render::device.MatrixTranslate(static_cast<float>(position.x), static_cast<float>(position.y) + _offset, 0.0f);
    float y = 0.0f;
    for (CreditLine& line : _lines) {
        y -= line._height;
        if (line._texture != NULL) {
            const float width = static_cast<float>(line._texture->GetRectangle().width);
            line._texture->Draw(FPoint(width / -2.0f, y));
        } else if (!line._text.empty()) {
            Render::fonts.SetFont(line._font);
            Render::fonts.DrawString(0, static_cast<int>(y), line._text, 1.0f, 2, false);
        }
    }
    Render::device.PopMatrix();
    // Once the last line's bottom has risen above the position, the credits start again.
    if (y + _offset > 0.0f) _offset = 0.0f;
}
