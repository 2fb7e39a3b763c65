#include "match3/FieldHintMessage.h"

#include <algorithm>

#include "content/TemplateLib.h"
#include "core/Assert.h"
#include "core/Float.h"
#include "core/Math.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "core/XmlDocument.h"
#include "core/XmlElement.h"
#include "core/XmlNode.h"
#include "core/XmlRead.h"
#include "match3/board/BoardFiles.h"
#include "shell/RenderDeviceFonts.h"
#include "shell/SoundSystem.h"
#include "widgets/TextCuter.h"

namespace {

const char* const HINT_TEMPLATE = "GameFieldHintTemplate";
const char* const HINT_COPY = "nemb-template";
const char* const HINT_SCREEN = "GameFieldScreen";

ObjectSmartPointer<XmlElement> Element(const std::string& name) {
    return ObjectSmartPointer<XmlElement>(new XmlElement(name));
}

}  // namespace

FieldHintMessage::FieldHintMessage() { LoadHints("local\\FieldHints.xml"); }

void FieldHintMessage::LoadHints(const std::string& fileName) {
    _hintOpen = false;
    _hintsMap.clear();
    // The texts of the last reading, used again while the file and the font are unchanged: a long
    // file costs one reading, not one at every level.
    static struct {
        FileStamp stamp;
        int fontHeight = 0;
        std::map<std::string, std::vector<std::string>> hints;
    } last;
    const FileStamp stamp = StampOf(fileName);
    const int fontHeight = Render::fonts.GetFontHeight("white_text_14");
    if (stamp.found && stamp == last.stamp && fontHeight == last.fontHeight) {
        _hintsMap = last.hints;
        return;
    }
    last = {};
    ObjectSmartPointer<XmlDocument> doc = LoadXmlDocument(fileName);
    if (doc.Get() == nullptr || doc->GetRoot().Get() == nullptr) return;
    doc->GetRoot()->MarkVisitedTree();
    const int maxLines = MaxHintLines(fontHeight);
    int cut = 0;
    std::string first;
    for (ObjectWeakPointer<XmlElement> e = doc->GetRoot()->GetFirstChildElement(); e.Get() != nullptr;
         e = e->GetNextElement()) {
        std::vector<std::string> lines;
        if (e->HasChildNodes()) {
            // A text longer than a box can show is cut: the rest could never be seen.
            std::string text = e->GetText();
            const std::size_t length = text.size();
            if (length > MAX_HINT_TEXT) text.resize(MAX_HINT_TEXT);
            TextCuter::CutText(240, "white_text_14", text, lines);
            if (length > MAX_HINT_TEXT || static_cast<int>(lines.size()) > maxLines) {
                if (cut++ == 0) first = e->GetName() + " (" + std::to_string(length) + " characters)";
                if (static_cast<int>(lines.size()) > maxLines) lines.resize(static_cast<std::size_t>(maxLines));
            }
        }
        _hintsMap[e->GetName()] = lines;
    }
    if (cut > 0) {
        ReportError(fileName + ": " + std::to_string(cut) + " hint text" + (cut > 1 ? "s" : "") +
                    " longer than a box can show (" + std::to_string(maxLines) + " lines) cut; the first: " + first);
    }
    last.stamp = stamp;
    last.fontHeight = fontHeight;
    last.hints = _hintsMap;
}

int FieldHintMessage::MaxHintLines(int fontHeight) {
    constexpr int SCREEN_HEIGHT = 600;
    if (fontHeight <= 0) return 8;
    return std::max(1, 1 + (SCREEN_HEIGHT - BOX_Y - HintHeight(fontHeight, 1)) / fontHeight);
}

void FieldHintMessage::ReportHintOnce(const std::string& key, const std::string& text) {
    if (_reportedHints.insert(key).second) ReportError(text);
}

int FieldHintMessage::HintTextY(int fontHeight, int lines) {
    return Math::round(static_cast<float>(fontHeight) * static_cast<float>(lines - 1)) + 100;
}

int FieldHintMessage::HintHeight(int fontHeight, int lines) { return HintTextY(fontHeight, lines) + 29; }

bool FieldHintMessage::ShowHint(int x, int y, const std::string& name, int arrowX, int arrowY, float angle) {
    if (_hintOpen || !PermanentStorage::GetLocalBoolOrDef("Show game field hints", true)) return false;
    const auto found = _hintsMap.find(name);
    if (found == _hintsMap.end()) {
        ReportHintOnce(name, "Hint '" + name + "' not found");
        return false;
    }
    const std::vector<std::string>& message = found->second;
    if (message.empty()) {
        ReportHintOnce(name, "Hint '" + name + "' has no text");
        return false;
    }
    if (!TemplateLib::HasTemplate(HINT_TEMPLATE)) {
        ReportHintOnce(std::string("template ") + HINT_TEMPLATE, std::string("Template ") + HINT_TEMPLATE + " not found");
        return false;
    }
    SendMessage(HINT_SCREEN, "clear children list");
    ObjectSmartPointer<XmlElement> t = TemplateLib::CopyTemplate(HINT_TEMPLATE);
    std::string fontName;
    ObjectWeakPointer<XmlElement> children = t->GetFirstChildElement("children");
    ObjectWeakPointer<XmlElement> text =
        children.Get() != nullptr ? children->GetFirstChildElement("StaticTextControl") : ObjectWeakPointer<XmlElement>();
    ObjectWeakPointer<XmlElement> div =
        text.Get() != nullptr ? text->GetFirstChildElement("div") : ObjectWeakPointer<XmlElement>();
    if (div.Get() != nullptr) fontName = div->GetStringAttribute("fontName");
    const int lines = static_cast<int>(message.size());
    const int fontHeight = fontName.empty() ? 0 : Render::fonts.GetFontHeight(fontName);
    const int textY = HintTextY(fontHeight, lines);

    // The change document, built through the element model so the texts are escaped on output.
    ObjectSmartPointer<XmlElement> changes = Element("changes");
    changes->SetIntAttribute("textX", 136);
    changes->SetIntAttribute("textY", textY);
    ObjectSmartPointer<XmlElement> define = Element("defineElement");
    define->SetStringAttribute("template", "_text_");
    ObjectSmartPointer<XmlElement> block = Element("div");
    for (const std::string& line : message) {
        ObjectSmartPointer<XmlElement> lineElement = Element("line");
        lineElement->AppendChild(ObjectSmartPointer<XmlNode>(new XmlText(line)));
        block->AppendChild(lineElement);
    }
    define->AppendChild(block);
    changes->AppendChild(define);
    TemplateLib::ApplyChanges(t, changes);
    TemplateLib::AddTemplate(t, HINT_COPY);

    SendMessage(HINT_SCREEN, std::string("template ") + HINT_COPY);
    SendMessage(HINT_SCREEN, "defineText [height] " + std::to_string(textY + 29));
    SendMessage(HINT_SCREEN, "defineText [x] " + std::to_string(x));
    SendMessage(HINT_SCREEN, "defineText [y] " + std::to_string(y));
    SendMessage(HINT_SCREEN, "defineText [arrowX] " + std::to_string(arrowX));
    SendMessage(HINT_SCREEN, "defineText [arrowY] " + std::to_string(arrowY));
    SendMessage(HINT_SCREEN, "defineText [angle] " + Float::ToString(angle));
    SendMessage(HINT_SCREEN, "create top instance");
    _shownHint = ShownHint{name, arrowX, arrowY, angle};
    SendMessage("GameFieldHint", "show");
    Sound::soundSystem.PlaySample("hint_show");
    PermanentStorage::SetLocalInt(name + "_hint", 1);
    TemplateLib::RemoveTemplate(HINT_COPY);
    PermanentStorage::SetLocalBool(name + "_hint", true);
    return true;
}
