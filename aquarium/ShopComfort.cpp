#include "aquarium/ShopComfort.h"

#include "aquarium/ShopBuyHints.h"
#include "aquarium/ShopCommon.h"
#include "controls/MouseEvents.h"
#include "core/Assert.h"
#include "core/Float.h"
#include "core/Int.h"
#include "core/MessageServer.h"
#include "core/XmlElement.h"

namespace {
constexpr int VK_F5 = 0x74;
}  // namespace

BaseComfortControl::BaseComfortControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml), MessageReceiver(xml) {
    _name = GetReceiverName();
    const ObjectWeakPointer<XmlElement> cost = xml->GetFirstChildElement("cost");
    _usualCost = cost->GetIntAttribute("usual");
    _upgradeCost = cost->GetIntAttribute("upgraded");
    const ObjectWeakPointer<XmlElement> sounds = xml->GetFirstChildElement("sounds");
    _buySound = sounds->GetStringAttribute("buy");
    _upgradeSound = sounds->GetStringAttribute("upgrade");
    const ObjectWeakPointer<XmlElement> utility = xml->GetFirstChildElement("utility");
    _buyUtilityValue = utility->GetIntAttribute("buyValue");
    _upgradeUtilityValue = utility->GetIntAttribute("upgradeValue");
    Assert(_buyUtilityValue > 0);
    Assert(_upgradeUtilityValue > 0);
    _receiver = utility->GetStringAttribute("receiver");
    _buyHintServer = utility->GetStringAttribute("buyHintServer");
    _iconTextureId = xml->GetFirstChildElement("icon")->GetStringAttribute("textureId");
    _zOrderControl = xml->GetFirstChildElement("zOrderControl")->GetStringAttributeOrDef("name", "");
    const ObjectWeakPointer<XmlElement> harts = xml->GetFirstChildElement("hartsAround");
    _hartsAround = Point(harts->GetIntAttribute("x"), harts->GetIntAttribute("y"));
    _money = ObjectSmartPointer<Variable<int>>(new PermanentVariable<Local, int>("Money"));
    _dev = ObjectSmartPointer<Variable<bool>>(new PermanentVariableOrDef<Global, bool>("dev", true));
    _state = ObjectSmartPointer<Variable<std::string>>(new PermanentVariableOrDef<Local, std::string>(_name, "None"));
    LoadState();
    SendMessage(_buyHintServer, "register comfort " + _name);
}

BaseComfortControl::~BaseComfortControl() { UnregisterFromBuyHints(_buyHintServer, _name); }

void BaseComfortControl::LoadState() {
    const std::string state = _state->GetValue();
    if (state == "Bought") {
        _isBought = true;
        _upgrade = 0;
    } else if (state == "Upgraded") {
        _isBought = true;
        _upgrade = 1;
    } else {
        Assert(state == "None");
        _isBought = false;
        _upgrade = 0;
    }
}

void BaseComfortControl::AfterPlayerChange() { LoadState(); }

void BaseComfortControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    if (!event.InstanceOf<KeyDownEvent>()) return;
    if (event.Cast<KeyDownEvent>()->GetKey() == VK_F5 && _dev->GetValue()) _state->SetValue("None");
}

void BaseComfortControl::Buy() {
    Assert(!_isBought && _state->GetValue() == "None");
    _isBought = true;
    _state->SetValue("Bought");
    if (!_zOrderControl.empty()) {
        SendMessage(_zOrderControl, "comfort " + Int::ToString(_hartsAround.x) + "," + Int::ToString(_hartsAround.y));
    }
    SendMessage(_name + " context help", "hide help");
}

void BaseComfortControl::Upgrade() {
    Assert(_isBought && _upgrade == 0 && _state->GetValue() == "Bought");
    _upgrade = 1;
    _state->SetValue("Upgraded");
    SendMessage(_name + " context help", "hide help");
}

void BaseComfortControl::Purchase(int cost, bool isUpgrade, int utility, const std::string& sound) {
    // The stored state decides, so a repeated or late command cannot charge twice.
    const std::string state = _state->GetValue();
    const std::string needed = isUpgrade ? "Bought" : "None";
    if (state != needed) {
        ReportError(std::string(isUpgrade ? "Upgrade" : "Buy") + " of " + _name + " in the state " + state +
                    " is ignored");
        return;
    }
    LoadState();
    const int money = _money->GetValue();
    if (cost > money) {
        SendMessage("not enough money", "show");
        return;
    }
    if (isUpgrade) {
        Upgrade();
    } else {
        Buy();
    }
    _money->SetValue(money - cost);
    SendMessage(_receiver, "comfort add " + Int::ToString(utility) + "/sound " + sound);
    SendMessage(_buyHintServer, "update");
    const std::string position = SendMessageReply(_name + " icon position", "get screen pos");
    SendMessage("Money effect", Shop::MoneyText("-", cost) + "," + position);
    Shop::SaveChange();
}

void BaseComfortControl::OnMessage(std::string message) {
    if (message == "Buy") {
        Purchase(_usualCost, false, _buyUtilityValue, _buySound);
    } else if (message == "Upgrade") {
        Purchase(_upgradeCost, true, _upgradeUtilityValue, _upgradeSound);
    } else if (message == "first hint visible") {
        SendMessage(_receiver, "comfort hint add " + Int::ToString(_buyUtilityValue) + "/" + _name);
    } else if (message == "first hint invisible" || message == "bought hint invisible") {
        SendMessage(_receiver, "no comfort hint " + _name);
    } else if (message == "bought hint visible") {
        SendMessage(_receiver, "comfort hint add " + Int::ToString(_upgradeUtilityValue) + "/" + _name);
    } else {
        MessageReceiver::OnMessage(message);
    }
}

std::string BaseComfortControl::OnMessageReply(std::string message) {
    if (message == "get cost") {
        if (!_isBought) return Int::ToString(_usualCost);
        return Int::ToString(_upgrade == 0 ? _upgradeCost : Int::MAX_VALUE);
    }
    if (message == "get utility") {
        if (!_isBought) return SendMessageReply(_receiver, "get new comfort level " + Int::ToString(_buyUtilityValue));
        if (_upgrade == 0) {
            return SendMessageReply(_receiver, "get new comfort level " + Int::ToString(_upgradeUtilityValue));
        }
        return Float::ToString(0.0f);
    }
    if (message == "get icon") return _iconTextureId;
    if (message == "amount 0?") return _state->GetValue() == "None" ? "true" : "false";
    return MessageReceiver::OnMessageReply(message);
}
