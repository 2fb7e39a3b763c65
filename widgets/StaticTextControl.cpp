#include "widgets/StaticTextControl.h"

#include "content/ResourceManager.h"
#include "content/TemplateLib.h"
#include "controls/MouseEvents.h"
#include "core/Float.h"
#include "core/XmlElement.h"
#include "shell/CheckText.h"

namespace {

const char* const TEXT_RESOURCE = "textResource:";
const char* const HACK = "hack:";

// Applies a nested block's or a line's own font name, font scale and height scale, in that order.
ObjectSmartPointer<TextFormat> Override(const ObjectWeakPointer<XmlElement>& xml,
                                        const ObjectSmartPointer<TextFormat>& parentFormat) {
    ObjectSmartPointer<TextFormat> format = parentFormat;
    if (xml->HasAttribute("fontName")) format = format->CopyWithFontName(xml->GetStringAttribute("fontName"));
    if (xml->HasAttribute("fontScale")) format = format->CopyWithFontScale(xml->GetFloatAttribute("fontScale"));
    if (xml->HasAttribute("heightScale")) format = format->CopyWithHeightScale(xml->GetFloatAttribute("heightScale"));
    return format;
}

bool StartsWith(const std::string& text, const std::string& head) { return text.compare(0, head.size(), head) == 0; }

}  // namespace

// Line.

StaticTextLine::StaticTextLine(const ObjectWeakPointer<XmlElement>& xml,
                               const ObjectSmartPointer<TextFormat>& parentFormat) {
    Assert(xml->GetName() == "line");
    _format = Override(xml, parentFormat);
    const ObjectWeakPointer<XmlNode> node = xml->GetFirstChildNode();
    if (node != NULL) {
        if (!node.InstanceOf<XmlText>()) {
            CHECK_TEXT(false, "p.InstanceOf<XmlText>()");
            return;
        }
        const std::string line = node.Cast<XmlText>()->GetValue();
        Assert(line.length() > 0);
        Parse(line);
    } else if (xml->HasAttribute("resourceName")) {
        Parse(ResourceManager::GetString(xml->GetStringAttribute("resourceName")));
    }
}

StaticTextLine::StaticTextLine(const std::string& markup, const ObjectSmartPointer<TextFormat>& format)
    : _format(format) {
    Parse(markup);
}

void StaticTextLine::AddRun(const std::string& tag, const std::string& text, const std::string& attributes) {
    if (!StaticTextSpanOrLink::IsRunText(text, true)) return;
    if (tag == "link") {
        _runs.push_back(ObjectSmartPointer<StaticTextSpanOrLink>(new StaticTextLink(text, attributes, _format)));
    } else if (tag == "image") {
        _runs.push_back(ObjectSmartPointer<StaticTextSpanOrLink>(new StaticTextImage(text, attributes, _format)));
    } else {
        _runs.push_back(ObjectSmartPointer<StaticTextSpanOrLink>(new StaticTextSpan(text, attributes, _format)));
    }
}

void StaticTextLine::AddLiteral(const std::string& text) {
    if (StaticTextSpanOrLink::IsRunText(text, false)) {
        _runs.push_back(ObjectSmartPointer<StaticTextSpanOrLink>(StaticTextSpan::Literal(text, _format)));
    }
}

void StaticTextLine::Parse(const std::string& markup) {
    const std::size_t end = markup.size();
    std::size_t pos = 0;
    // A fault is reported once; from the faulty piece on the line shows its text without markup.
    auto fail = [this, &markup](const char* check, std::size_t from) {
        CHECK_TEXT(false, check);
        AddLiteral(WithoutMarkup(markup.substr(from)));
    };
    while (pos < end) {
        std::size_t openBracePos = markup.find('{', pos);
        std::size_t closeBracePos = markup.find('}', pos);
        if (openBracePos == std::string::npos) {
            if (closeBracePos != std::string::npos) return fail("closeBracePos == std::string::npos", pos);
            AddRun("span", markup.substr(pos), "");
            return;
        }
        if (closeBracePos == std::string::npos) return fail("closeBracePos != std::string::npos", pos);
        if (!(openBracePos < closeBracePos)) return fail("openBracePos < closeBracePos", pos);
        if (openBracePos > pos) {
            AddRun("span", markup.substr(pos, openBracePos - pos), "");
            pos = openBracePos;
            continue;
        }
        std::string tag;
        for (const char* name : {"span", "link", "image"}) {
            if (markup.compare(pos, std::string(name).size() + 1, std::string("{") + name) == 0) tag = name;
        }
        if (tag.empty()) return fail("false", pos);
        const std::size_t piece = pos;
        const std::string attributes = markup.substr(pos + 1 + tag.size(), closeBracePos - pos - 1 - tag.size());
        pos = closeBracePos + 1;

        openBracePos = markup.find('{', pos);
        closeBracePos = markup.find('}', pos);
        if (openBracePos == std::string::npos) return fail("openBracePos != std::string::npos", piece);
        if (closeBracePos == std::string::npos) return fail("closeBracePos != std::string::npos", piece);
        if (!(openBracePos < closeBracePos)) return fail("openBracePos < closeBracePos", piece);
        const std::string closingTag = "{/" + tag + "}";
        if (markup.compare(openBracePos, closingTag.size(), closingTag) != 0) {
            return fail("line.substr(openBracePos, closingTag.length()) == closingTag", piece);
        }
        std::string text = markup.substr(pos, openBracePos - pos);
        pos = openBracePos + closingTag.size();
        if (StartsWith(text, TEXT_RESOURCE)) text = ResourceManager::GetString(text.substr(std::string(TEXT_RESOURCE).size()));
        AddRun(tag, text, attributes);
    }
}

std::string StaticTextLine::WithoutMarkup(const std::string& text) {
    std::string plain;
    plain.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == '{') {
            // A tag goes whole; one that never closes takes the rest with it.
            const std::size_t close = text.find('}', pos);
            if (close == std::string::npos) break;
            pos = close + 1;
            continue;
        }
        if (c != '}') plain += c;
        ++pos;
    }
    return plain;
}

int StaticTextLine::PrepareRuns(int& total) {
    total = 0;
    for (const ObjectSmartPointer<StaticTextSpanOrLink>& run : _runs) run->PrepareDraw(total);
    if (_format->GetAlign() == "left") return 0;
    if (_format->GetAlign() == "right") return total;
    // Any other alignment was reported with the format and counts as "center".
    return total / 2;
}

void StaticTextLine::Draw(Point& pen) {
    int total = 0;
    const int shift = PrepareRuns(total);
    pen.x -= shift;
    pen.y -= _format->GetHeight();
    for (const ObjectSmartPointer<StaticTextSpanOrLink>& run : _runs) run->Draw(pen);
    pen.x += shift - total;
}

void StaticTextLine::AddBoundingPoints(std::vector<FPoint>& points, Point& pen) {
    int total = 0;
    const int shift = PrepareRuns(total);
    pen.x -= shift;
    pen.y -= _format->GetHeight();
    for (const ObjectSmartPointer<StaticTextSpanOrLink>& run : _runs) run->AddBoundingPoints(points, pen);
    pen.x += shift - total;
}

void StaticTextLine::OnMouseMove(Point& pen, ObjectWeakPointer<MouseMoveEvent> event) {
    int total = 0;
    const int shift = PrepareRuns(total);
    const int entryX = pen.x;
    pen.x += total - shift;
    pen.y -= _format->GetHeight();
    for (auto run = _runs.rbegin(); run != _runs.rend(); ++run) {
        bool isUnderMouse = false;
        (*run)->OnMouseMove(pen, event, isUnderMouse);
    }
    pen.x = entryX;
}

void StaticTextLine::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    for (auto run = _runs.rbegin(); run != _runs.rend(); ++run) (*run)->OnMouseDown(event);
}

void StaticTextLine::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    for (auto run = _runs.rbegin(); run != _runs.rend(); ++run) (*run)->OnMouseUp(event);
}

// Block.

StaticTextDiv::StaticTextDiv(const ObjectWeakPointer<XmlElement>& xml) {
    Assert(xml->GetName() == "div");
    _format = ObjectSmartPointer<TextFormat>(new TextFormat(
        xml->GetStringAttribute("fontName"), xml->GetFloatAttributeOrDef("fontScale", 1.0f),
        xml->GetFloatAttributeOrDef("heightScale", 1.0f), xml->GetStringAttributeOrDef("align", "center"),
        xml->GetStringAttributeOrDef("valign", "bottom")));
    ReadContent(xml);
}

StaticTextDiv::StaticTextDiv(const ObjectWeakPointer<XmlElement>& xml, const ObjectSmartPointer<TextFormat>& parentFormat) {
    Assert(xml->GetName() == "div");
    _format = Override(xml, parentFormat);
    ReadContent(xml);
}

void StaticTextDiv::ReadContent(const ObjectWeakPointer<XmlElement>& xml) {
    if (xml->HasAttribute("resourceName")) {
        const std::string resourceName = xml->GetStringAttribute("resourceName");
        if (StartsWith(resourceName, HACK)) {
            _lines.push_back(ObjectSmartPointer<StaticTextDivOrLine>(
                new StaticTextLine(resourceName.substr(std::string(HACK).size()), _format)));
        } else {
            ObjectWeakPointer<XmlElement> element = TemplateLib::GetTemplate(resourceName);
            ObjectSmartPointer<XmlElement> copy;
            if (element != NULL && xml->HasAttribute("fontName")) {
                // The referring block's font replaces the template's own.
                copy = ObjectSmartPointer<XmlElement>(new XmlElement(element));
                copy->SetStringAttribute("fontName", xml->GetStringAttribute("fontName"));
                element = copy;
            }
            if (element != NULL) {
                _lines.push_back(ObjectSmartPointer<StaticTextDivOrLine>(new StaticTextDiv(element, _format)));
            }
        }
    } else {
        for (ObjectWeakPointer<XmlElement> child = xml->GetFirstChildElement(); child != NULL;
             child = child->GetNextElement()) {
            const std::string name = child->GetName();
            if (name == "line") {
                _lines.push_back(ObjectSmartPointer<StaticTextDivOrLine>(new StaticTextLine(child, _format)));
            } else if (name == "div") {
                _lines.push_back(ObjectSmartPointer<StaticTextDivOrLine>(new StaticTextDiv(child, _format)));
            } else {
                Assert(false);
            }
        }
    }
    Assert(_lines.size() > 0);
    for (const ObjectSmartPointer<StaticTextDivOrLine>& line : _lines) _height += line->GetHeight();
    _penDrop = GetOffset() - _height;
    for (const ObjectSmartPointer<StaticTextDivOrLine>& line : _lines) _penDrop += line->GetPenDrop();
}

int StaticTextDiv::GetOffset() const {
    const int h = GetHeight();
    if (_format->GetValign() == "top") return 0;
    if (_format->GetValign() == "bottom") return h;
    // Any other alignment was reported with the format and counts as "middle".
    return h / 2;
}

void StaticTextDiv::Draw(Point& pen) {
    pen.y += GetHeight() - GetOffset();
    for (const ObjectSmartPointer<StaticTextDivOrLine>& line : _lines) line->Draw(pen);
}

void StaticTextDiv::AddBoundingPoints(std::vector<FPoint>& points, Point& pen) {
    pen.y += GetHeight() - GetOffset();
    for (const ObjectSmartPointer<StaticTextDivOrLine>& line : _lines) line->AddBoundingPoints(points, pen);
}

void StaticTextDiv::OnMouseMove(Point& pen, ObjectWeakPointer<MouseMoveEvent> event) {
    // Each child where drawing puts it (a nested block need not lower the pen by its height),
    // then the children last first.
    std::vector<int> entries;
    entries.reserve(_lines.size());
    int y = pen.y + GetHeight() - GetOffset();
    for (const ObjectSmartPointer<StaticTextDivOrLine>& line : _lines) {
        entries.push_back(y);
        y -= line->GetPenDrop();
    }
    for (std::size_t i = _lines.size(); i-- > 0;) {
        Point childPen(pen.x, entries[i]);
        _lines[i]->OnMouseMove(childPen, event);
    }
    pen.y = y;
}

void StaticTextDiv::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    for (auto line = _lines.rbegin(); line != _lines.rend(); ++line) (*line)->OnMouseDown(event);
}

void StaticTextDiv::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    for (auto line = _lines.rbegin(); line != _lines.rend(); ++line) (*line)->OnMouseUp(event);
}

// Control.

StaticTextControl::StaticTextControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : InscribableControl(parent, xml) {
    _centerVertically = xml->GetBoolAttributeOrDef("valign", false);
    ObjectWeakPointer<XmlElement> divXml = xml->GetFirstChildElement("div");
    CHECK_TEXT(divXml != NULL, "divXml != NULL");
    for (; divXml != NULL; divXml = divXml->GetNextElement("div")) {
        _divs.push_back(ObjectSmartPointer<StaticTextDiv>(new StaticTextDiv(divXml)));
    }
    for (const ObjectSmartPointer<StaticTextDiv>& div : _divs) _totalHeight += div->GetHeight();
}

std::vector<Point> StaticTextControl::BlockPens() {
    std::vector<Point> pens;
    Point pen = GetAbsolutePos();
    if (_centerVertically) pen.y += _totalHeight / 2;
    for (const ObjectSmartPointer<StaticTextDiv>& div : _divs) {
        pens.push_back(pen);
        pen.y -= div->GetPenDrop();
    }
    return pens;
}

void StaticTextControl::Draw() {
    Point pen = GetAbsolutePos();
    if (_centerVertically) pen.y += _totalHeight / 2;
    for (const ObjectSmartPointer<StaticTextDiv>& div : _divs) div->Draw(pen);
}

void StaticTextControl::AddBoundingPoints(std::vector<FPoint>& points) {
    Point pen = GetAbsolutePos();
    if (_centerVertically) pen.y += _totalHeight / 2;
    for (const ObjectSmartPointer<StaticTextDiv>& div : _divs) div->AddBoundingPoints(points, pen);
}

void StaticTextControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    const std::vector<Point> pens = BlockPens();
    for (std::size_t i = _divs.size(); i-- > 0;) {
        Point pen = pens[i];
        _divs[i]->OnMouseMove(pen, event);
    }
}

void StaticTextControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    for (auto div = _divs.rbegin(); div != _divs.rend(); ++div) (*div)->OnMouseDown(event);
}

void StaticTextControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    for (auto div = _divs.rbegin(); div != _divs.rend(); ++div) (*div)->OnMouseUp(event);
}

void StaticTextControl::Update(float) {}
