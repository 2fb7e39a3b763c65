#include "aquarium/ShopFishIcon.h"

#include "aquarium/ShopBuyHints.h"
#include "aquarium/ShopCommon.h"
#include "core/Assert.h"
#include "core/Math.h"
#include "core/Bool.h"
#include "core/Int.h"
#include "core/MessageServer.h"
#include "core/ReceiverAndMessage.h"
#include "core/XmlElement.h"
#include "shell/SoundSystem.h"

namespace {
constexpr int OWN_PAN = -101;
}  // namespace

FishIconDispatcherDefinition::FishIconDispatcherDefinition(const ObjectWeakPointer<XmlElement>& xml)
    : Definition(xml), MessageReceiver(xml) {
    _specialMessage =
        ObjectSmartPointer<ShopSpecialMessage>(new ShopSpecialMessage(xml->GetFirstChildElement("SpecialMessage")));
    const ObjectWeakPointer<XmlElement> fish = xml->GetFirstChildElement("fish");
    _tankId = fish->GetStringAttribute("tankId");
    _tankFishId = fish->GetStringAttribute("tankFishId");
    _playerBuyCost = fish->GetIntAttribute("playerBuyCost");
    _playerSellCost = fish->GetIntAttribute("playerSellCost");
    _fishTemplateName = fish->GetStringAttribute("fishTemplateName");
    _wishTextureId = fish->GetStringAttribute("wishTextureId");
    Assert(_playerBuyCost > 0);
    Assert(_playerSellCost > 0);
    const ObjectWeakPointer<XmlElement> sellDialog = xml->GetFirstChildElement("sellDialog");
    _okMessage = sellDialog->GetStringAttribute("okMessage");
    _cancelMessage = sellDialog->GetStringAttribute("cancelMessage");
    const ObjectWeakPointer<XmlElement> utility = xml->GetFirstChildElement("utility");
    _utilityValue = utility->GetIntAttribute("value");
    _utilityReceiver = utility->GetStringAttribute("receiver");
    _buyHintServer = utility->GetStringAttribute("buyHintServer");
    Assert(_utilityValue > 0);
    _tutorialPurchase =
        ObjectSmartPointer<ReceiverAndMessage>(new ReceiverAndMessage(xml->GetFirstChildElement("tutorialPurchase")));
    _money = ObjectSmartPointer<Variable<int>>(new PermanentVariable<Local, int>("Money"));
    _amount = ObjectSmartPointer<Variable<int>>(new PermanentVariableOrDef<Local, int>(_tankFishId + " amount", 0));
    Assert(_tankFishId + " dispatcher" == GetReceiverName());
    SendMessage(_buyHintServer, "register fish " + GetReceiverName());
}

FishIconDispatcherDefinition::~FishIconDispatcherDefinition() {
    Assert(!IsIndicatorHintVisible());
    UnregisterFromBuyHints(_buyHintServer, GetReceiverName());
}

int FishIconDispatcherDefinition::Amount() { return Shop::CheckedCount(*_amount, _tankFishId + " amount"); }

std::string FishIconDispatcherDefinition::GetUtility(int n) {
    Assert(n >= 0 && "amount >= 0");
    const int utilityPercent = Int::Parse(SendMessageReply("Fish sameness info", Int::ToString(n < 0 ? 0 : n)));
    Assert(0 < utilityPercent && utilityPercent <= 100);
    if (utilityPercent <= 0 || utilityPercent > 100) return "0";
    Assert(_utilityValue < Int::MAX_VALUE / utilityPercent);
    return Int::ToString(static_cast<int>(static_cast<long long>(_utilityValue) * utilityPercent / 100));
}

void FishIconDispatcherDefinition::Buy() {
    if (Shop::IsTutorialWanted()) _tutorialPurchase->Send();
    int money = _money->GetValue();
    Assert(money >= 0);
    const int amount = Amount();
    Assert(amount >= 0);
    if (money < _playerBuyCost) {
        SendMessage("not enough money", "show");
        return;
    }
    // Charged only once the fish is in the tank.
    if (!Shop::AddToTank(_tankId, _fishTemplateName)) {
        Shop::TellPurchaseFailed();
        return;
    }
    if (Shop::CountSameBuying(_tankFishId)) _specialMessage->ShowNeedDifferent();
    SendMessage("Money effect",
                Shop::MoneyText("-", _playerBuyCost) + "," + SendMessageReply(_tankFishId + " icon position", "get screen pos"));
    Assert(money == _money->GetValue());
    money -= _playerBuyCost;
    Assert(money >= 0);
    _money->SetValue(money);
    SendMessage(_utilityReceiver, "fish add " + GetUtility(amount));
    _amount->SetValue(amount + 1);
    if (IsIndicatorHintVisible()) {
        HideHint();
        ShowHint();
    }
    SendMessage(_buyHintServer, "update");
    SendMessage(_tankFishId + " context help", "hide help");
    Shop::SaveChange(_tankId);
}

void FishIconDispatcherDefinition::RequestSell() {
    const int amount = Amount();
    if (amount <= 0) {
        ReportError("No " + _tankFishId + " to sell: the sell request is ignored");
        return;
    }
    const bool falls =
        Bool::Parse(SendMessageReply(_utilityReceiver, "will fish level become negative " + GetUtility(amount - 1)));
    SendMessage("Shop modal dialog",
                "instantiate " + _tankFishId + (falls ? "SellDialogMinusTemplate" : "SellDialogTemplate"));
}

void FishIconDispatcherDefinition::Sell() {
    int amount = Amount();
    if (amount <= 0) {
        ReportError("No " + _tankFishId + " to sell: the sale is ignored");
        SendMessage("Shop modal dialog", "hide");
        return;
    }
    Sound::soundSystem.PlaySampleEx("fish_sell", OWN_PAN, false);
    SendMessage("Money effect", Shop::MoneyText("+", _playerSellCost) + "," +
                                    SendMessageReply(_tankFishId + " icon position", "get screen pos"));
    SendMessage("Shop modal dialog", "hide");
    int money = _money->GetValue();
    Assert(money >= 0);
    money = Math::AddClamped(money, _playerSellCost);
    Assert(money > 0);
    amount -= 1;
    _money->SetValue(money);
    _amount->SetValue(amount);
    SendMessage(_tankId + " Aquarium bottom", "sub " + _fishTemplateName);
    SendMessage(_utilityReceiver, "fish sub " + GetUtility(amount));
    SendMessage(_buyHintServer, "update");
    Shop::SaveChange(_tankId);
}

void FishIconDispatcherDefinition::ShowHint() {
    SendMessage(_utilityReceiver, "fish hint add " + GetUtility(Amount()) + "/" + _tankFishId);
}

void FishIconDispatcherDefinition::HideHint() { SendMessage(_utilityReceiver, "no fish hint " + _tankFishId); }

void FishIconDispatcherDefinition::SensorShow(bool& sensor, bool other) {
    Assert(!sensor);
    if (sensor) return;
    sensor = true;
    if (!other) ShowHint();
}

void FishIconDispatcherDefinition::SensorHide(bool& sensor, bool other) {
    Assert(sensor);
    if (!sensor) return;
    sensor = false;
    if (!other) HideHint();
}

void FishIconDispatcherDefinition::OnMessage(std::string message) {
    if (message == _tankFishId + " plus pressed") {
        Buy();
    } else if (message == _tankFishId + " minus pressed") {
        RequestSell();
    } else if (message == _okMessage) {
        Sell();
    } else if (message == _cancelMessage) {
        SendMessage("Shop modal dialog", "hide");
    } else if (message == "sensor1 show indicator hint") {
        SensorShow(_isIndicatorHintSensor1Active, _isIndicatorHintSensor2Active);
    } else if (message == "sensor2 show indicator hint") {
        SensorShow(_isIndicatorHintSensor2Active, _isIndicatorHintSensor1Active);
    } else if (message == "sensor1 hide indicator hint") {
        SensorHide(_isIndicatorHintSensor1Active, _isIndicatorHintSensor2Active);
    } else if (message == "sensor2 hide indicator hint") {
        SensorHide(_isIndicatorHintSensor2Active, _isIndicatorHintSensor1Active);
    } else {
        MessageReceiver::OnMessage(message);
    }
}

std::string FishIconDispatcherDefinition::OnMessageReply(std::string message) {
    if (message == "get cost") return Int::ToString(_playerBuyCost);
    if (message == "get utility") {
        return SendMessageReply(_utilityReceiver, "get new fish level " + GetUtility(Amount()));
    }
    if (message == "get icon") return _wishTextureId;
    if (message == "amount 0?") return Bool::ToString(Amount() == 0);
    return MessageReceiver::OnMessageReply(message);
}
