#include "aquarium/SpecialMessageSettings.h"

#include "content/TemplateLib.h"
#include "core/Assert.h"
#include "core/Float.h"
#include "core/Int.h"
#include "core/Math.h"
#include "core/MessageServer.h"
#include "core/XmlElement.h"
#include "core/XmlRead.h"
#include "shell/RenderDeviceFonts.h"
#include "shell/SoundSystem.h"
#include "widgets/TextCuter.h"

namespace {
const char* const PANEL_TEMPLATE = "nemb-template";
const char* const TEXT_TEMPLATE = "nemb-template-text";

// The line as element text.
std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string LinesXml(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += "\t<line>" + Escaped(line) + "</line>";
    return out;
}

ObjectSmartPointer<XmlElement> Parse(const std::string& text) {
    ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(text.data(), text.data() + text.size()));
    const ObjectWeakPointer<XmlElement> root = document->GetRoot();
    if (root == NULL) return ObjectSmartPointer<XmlElement>();
    root->MarkVisitedTree();
    return ObjectSmartPointer<XmlElement>(new XmlElement(root));
}
}  // namespace

bool TipMessages::GetSpecial(const std::string& fileName, const std::string& key, std::string& text) {
    XmlDocumentRead document(fileName);
    const ObjectWeakPointer<XmlElement> root = document.GetRoot();
    Assert(root != NULL);
    if (root == NULL) return false;
    const ObjectWeakPointer<XmlElement> special = root->GetFirstChildElement("Special");
    Assert(special != NULL);
    if (special == NULL) return false;
    const ObjectWeakPointer<XmlElement> element = special->GetFirstChildElement(key);
    if (element == NULL) {
        ReportError("No special message \"" + key + "\" in " + fileName);
        return false;
    }
    text = element->GetText();
    root->MarkVisitedTree();
    return true;
}

std::string TipPanel::GetTemplateFont(const std::string& templateName) {
    if (!TemplateLib::HasTemplate(templateName)) return std::string();
    const ObjectSmartPointer<XmlElement> copy = TemplateLib::CopyTemplate(templateName);
    copy->MarkVisitedTree();
    ObjectWeakPointer<XmlElement> e = copy->GetFirstChildElement("children");
    if (e != NULL) e = e->GetFirstChildElement("StaticTextControl");
    if (e != NULL) e = e->GetFirstChildElement("div");
    if (e == NULL || !e->HasAttribute("fontName")) return std::string();
    return e->GetStringAttribute("fontName");
}

bool TipPanel::Show() const {
    if (!TemplateLib::HasTemplate(templateName)) {
        ReportError("No template \"" + templateName + "\" for the tip panel");
        return false;
    }
    const ObjectSmartPointer<XmlElement> copy = TemplateLib::CopyTemplate(templateName);
    const std::string font = GetTemplateFont(templateName);
    Assert(!font.empty());
    const int lineCount = static_cast<int>(lines.size());
    const int h = font.empty() || lineCount == 0
                      ? 0
                      : Math::round(static_cast<float>(Render::fonts.GetFontHeight(font)) *
                                    static_cast<float>(lineCount - 1));
    std::string div;
    if (isTip) {
        const ObjectSmartPointer<XmlElement> text = Parse("<div>" + LinesXml(lines) + "\t</div>");
        if (TemplateLib::HasTemplate(TEXT_TEMPLATE)) TemplateLib::RemoveTemplate(TEXT_TEMPLATE);
        if (text != NULL) TemplateLib::AddTemplate(text, TEXT_TEMPLATE);
        div = std::string("<div resourceName=\"") + TEXT_TEMPLATE + "\"/>";
    } else {
        div = "<div>" + LinesXml(lines) + "\t</div>";
    }
    const std::string changesText = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\t<changes textX=\"123\" textY=\"" +
                                    Int::ToString(h + 85) + "\">\t<defineElement template=\"_text_\">\t" + div +
                                    "\t</defineElement>\t</changes>";
    const ObjectSmartPointer<XmlElement> changes = Parse(changesText);
    Assert(changes != NULL);
    if (changes != NULL) {
        TemplateLib::ApplyChanges(copy, changes);
        changes->MarkVisitedTree();
    }
    if (TemplateLib::HasTemplate(PANEL_TEMPLATE)) TemplateLib::RemoveTemplate(PANEL_TEMPLATE);
    TemplateLib::AddTemplate(copy, PANEL_TEMPLATE);

    SendMessage(receiver, std::string("template ") + PANEL_TEMPLATE);
    SendMessage(receiver, "defineText [height] " + Int::ToString(h + 123));
    SendMessage(receiver, "defineText [welcomeHeight] " + Int::ToString(h + 113));
    SendMessage(receiver, "defineText [x] " + Int::ToString(x));
    SendMessage(receiver, "defineText [y] " + Int::ToString(y));
    SendMessage(receiver, "defineText [visibleTime] " + Float::ToString(visibleTime));
    SendMessage(receiver, "defineText [parent] " + parentText);
    SendMessage(receiver, "create top instance");
    return true;
}

SpecialMessageSettings::SpecialMessageSettings(const ObjectWeakPointer<XmlElement>& xml) {
    messagesFileName = xml->GetStringAttribute("messagesFileName");
    textWidth = xml->GetIntAttribute("textWidth");
    x = xml->GetIntAttribute("x");
    y = xml->GetIntAttribute("y");
    visibleTime = xml->GetFloatAttribute("visibleTime");
}

void SpecialMessageSettings::Show(const std::string& key, int yOffset) const {
    if (IsReceiver("SpecialMessage")) return;  // one is on screen
    std::string text;
    if (!TipMessages::GetSpecial(messagesFileName, key, text)) return;
    TipPanel panel;
    panel.templateName = "SpecialMessageTemplate";
    panel.receiver = "ShopTipsScreen2";
    panel.parentText = "ShopTipsScreen2";
    panel.isTip = false;
    panel.x = x;
    panel.y = y + yOffset;
    panel.visibleTime = visibleTime;
    const std::string font = TipPanel::GetTemplateFont(panel.templateName);
    if (!font.empty()) TextCuter::CutText(textWidth, font, text, panel.lines);
    if (!panel.Show()) return;
    SendMessage("SpecialMessage", "show");
    Sound::soundSystem.PlaySample("tip_show");
    TemplateLib::RemoveTemplate(PANEL_TEMPLATE);
}
