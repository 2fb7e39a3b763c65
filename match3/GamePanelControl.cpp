#include "match3/GamePanelControl.h"

#include "content/ResourceManager.h"
#include "core/Assert.h"
#include "core/Int.h"
#include "core/PermanentStorage.h"
#include "core/Rect.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"

GamePanelControl::GamePanelControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml), MessageReceiver(xml) {
    const ObjectWeakPointer<XmlElement> items = xml->GetFirstChildElement("items");
    if (items == NULL) return;
    for (ObjectWeakPointer<XmlElement> e = items->GetFirstChildElement("item"); e != NULL;
         e = e->GetNextElement("item")) {
        Item item;
        item.position = Point(e->GetIntAttribute("x"), e->GetIntAttribute("y"));
        item.effectX = e->GetIntAttributeOrDef("effectX", 0);
        item.effectY = e->GetIntAttributeOrDef("effectY", 0);
        if (e->HasAttribute("variable") && e->HasAttribute("type")) {
            const std::string name = e->GetStringAttribute("variable");
            const std::string type = e->GetStringAttribute("type");
            item.type = type == "int" ? ValueType::Int : type == "string" ? ValueType::String : ValueType::None;
            if (item.type != ValueType::None) {
                item.variable = name;
                item.text = ReadValue(item);
                item.font = e->GetStringAttribute("font");
            }
        }
        const std::string textureId = e->GetStringAttributeOrDef("textureId", "");
        if (!textureId.empty()) item.picture = ResourceManager::GetTextureOrFrame(textureId);
        _items.push_back(item);
    }
    const ObjectWeakPointer<XmlElement> modes = xml->GetFirstChildElement("modes");
    if (modes != NULL) {
        _silverOnly = modes->GetStringAttribute("silverOnly");
        _both = modes->GetStringAttribute("both");
    }
}

std::string GamePanelControl::ReadValue(const Item& item) {
    const bool stored = PermanentStorage::IsLoaded() && PermanentStorage::IsLocalNameDefined(item.variable);
    if (item.type == ValueType::Int) return Int::ToString(stored ? PermanentStorage::GetLocalIntOrDef(item.variable, 0) : 0);
    return stored ? PermanentStorage::GetLocalStringOrDef(item.variable, "") : std::string();
}

void GamePanelControl::Update(float dt) {
    _effects.Update(dt);
    for (Item& item : _items) {
        if (item.type != ValueType::None) item.text = ReadValue(item);
    }
}

void GamePanelControl::Draw() {
    RenderDevice& device = Render::device;
    const Point a = GetAbsolutePos();
    device.PushMatrix();
    device.MatrixTranslate(static_cast<float>(a.x), static_cast<float>(a.y), 0.0f);
    for (Item& item : _items) {
        if (!item.shown) continue;
        const bool looksEmpty = item.text.empty() || item.text == "0" || item.text == "x0";
        if (looksEmpty && item.picture != NULL) {
            const Rect box = item.picture->GetRectangle();
            item.picture->Draw(Point(item.position.x - box.width / 2, item.position.y - box.height / 2));
        } else if (!item.font.empty()) {
            Render::fonts.SetFont(item.font);
            Render::fonts.DrawString(item.position.x, item.position.y, item.text, 1.0f, 2, true);
        }
    }
    _effects.Draw(1);
    device.PopMatrix();
}

void GamePanelControl::OnMessage(std::string message) {
    for (Item& item : _items) item.shown = false;
    if (message == "Silver only") {
        ShowList(_silverOnly);
    } else if (message == "Both") {
        ShowList(_both);
    } else {
        MessageReceiver::OnMessage(message);
    }
}

void GamePanelControl::ShowList(std::string list) {
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string part = list.substr(0, comma);
        list = comma == std::string::npos ? std::string() : list.substr(comma + 1);
        // A malformed entry and an index beyond the items are reported and skipped.
        const bool digits = !part.empty() && part.size() < 10 &&
                            part.find_first_not_of("0123456789") == std::string::npos &&
                            (part == "0" || part[0] != '0');
        const int index = digits ? Int::Parse(part) : -1;
        if (index < 0 || index >= static_cast<int>(_items.size())) {
            ReportError("Game panel: no item " + part);
            continue;
        }
        _items[static_cast<std::size_t>(index)].shown = true;
    }
}
