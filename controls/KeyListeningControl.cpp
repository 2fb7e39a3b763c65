#include "controls/KeyListeningControl.h"

#include "controls/MouseEvents.h"
#include "core/Assert.h"
#include "core/Int.h"
#include "core/XmlElement.h"

namespace {

std::map<std::string, int> MakeKeyNames() {
    std::map<std::string, int> map = {
        {"VK_BACK", 0x08},     {"VK_TAB", 0x09},      {"VK_RETURN", 0x0D},    {"VK_SHIFT", 0x10},
        {"VK_CONTROL", 0x11},  {"VK_MENU", 0x12},     {"VK_PAUSE", 0x13},     {"VK_CAPITAL", 0x14},
        {"VK_ESCAPE", 0x1B},   {"VK_SPACE", 0x20},    {"VK_PRIOR", 0x21},     {"VK_NEXT", 0x22},
        {"VK_END", 0x23},      {"VK_HOME", 0x24},     {"VK_LEFT", 0x25},      {"VK_UP", 0x26},
        {"VK_RIGHT", 0x27},    {"VK_DOWN", 0x28},     {"VK_INSERT", 0x2D},    {"VK_DELETE", 0x2E},
        {"VK_LWIN", 0x5B},     {"VK_RWIN", 0x5C},     {"VK_APPS", 0x5D},      {"VK_MULTIPLY", 0x6A},
        {"VK_ADD", 0x6B},      {"VK_SEPARATOR", 0x6C}, {"VK_SUBTRACT", 0x6D}, {"VK_DECIMAL", 0x6E},
        {"VK_DIVIDE", 0x6F},   {"VK_NUMLOCK", 0x90},  {"VK_SCROLL", 0x91},
    };
    for (int i = 0; i <= 9; ++i) {
        map["VK_" + std::to_string(i)] = 0x30 + i;
        map["VK_NUMPAD" + std::to_string(i)] = 0x60 + i;
    }
    for (char c = 'A'; c <= 'Z'; ++c) {
        map[std::string("VK_") + c] = 0x41 + (c - 'A');
    }
    for (int i = 1; i <= 12; ++i) {
        map["VK_F" + std::to_string(i)] = 0x70 + i - 1;
    }
    return map;
}

}  // namespace

int KeyListeningControl::GetKeyCode(const std::string& image) {
    static const std::map<std::string, int> map = MakeKeyNames();
    const auto i = map.find(image);
    Assert(map.find(image) != map.end());
    return i == map.end() ? 0 : i->second;
}

KeyListeningControl::KeyListeningControl(const ObjectWeakPointer<Control>& parent,
                                         const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> keys = xml->GetFirstChildElement("keys");
    const ObjectWeakPointer<XmlElement> oneKeyXml = keys == NULL ? keys : keys->GetFirstChildElement();
    Assert(oneKeyXml != NULL);
    for (ObjectWeakPointer<XmlElement> key = oneKeyXml; key != NULL; key = key->GetNextElement()) {
        Assert(key->GetName() == "key");
        const std::string value = key->GetStringAttribute("value");
        const int iValue = value.compare(0, 3, "VK_") == 0 ? GetKeyCode(value) : Int::Parse(value);
        Assert(_map.find(iValue) == _map.end());
        _map[iValue] = ObjectSmartPointer<ReceiverAndMessage>(new ReceiverAndMessage(key));
    }
}

void KeyListeningControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    if (!event.InstanceOf<KeyDownEvent>() || event == NULL) {
        return;
    }
    const ObjectWeakPointer<KeyDownEvent> key = event.Cast<KeyDownEvent>();
    if (key->IsKeyHandled()) {
        return;
    }
    const auto i = _map.find(key->GetKey());
    if (i == _map.end()) {
        return;
    }
    // Kept for the length of the send: the receiver may rebuild the tree.
    const ObjectSmartPointer<ReceiverAndMessage> entry = i->second;
    entry->Send();
    key->SetKeyHandled();
}
