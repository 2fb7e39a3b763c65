#include "aquarium/ShopItemIcon.h"

#include <algorithm>

#include "aquarium/ShopBuyHints.h"
#include "aquarium/ShopCommon.h"
#include "content/TemplateLib.h"
#include "controls/MouseEvents.h"
#include "core/Assert.h"
#include "core/Math.h"
#include "core/Bool.h"
#include "core/Int.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "core/ReceiverAndMessage.h"
#include "core/XmlElement.h"
#include "shell/SoundSystem.h"

namespace {
constexpr int OWN_PAN = -101;
}  // namespace

ItemIconDispatcherControl::ItemIconDispatcherControl(const ObjectWeakPointer<Control>& parent,
                                                     const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml), MessageReceiver(xml) {
    _specialMessage =
        ObjectSmartPointer<ShopSpecialMessage>(new ShopSpecialMessage(xml->GetFirstChildElement("SpecialMessage")));
    const ObjectWeakPointer<XmlElement> item = xml->GetFirstChildElement("item");
    _tankId = item->GetStringAttribute("tankId");
    _shopItemId = item->GetStringAttribute("tankItemId");
    _iconTextureId = item->GetStringAttribute("iconTextureId");
    _playerBuyCost = item->GetIntAttribute("playerBuyCost");
    _playerSellCost = item->GetIntAttribute("playerSellCost");
    _itemTemplateName = item->GetStringAttribute("itemTemplateName");
    Assert(_playerBuyCost > 0);
    Assert(_playerSellCost > 0);
    _cancelMessage = xml->GetFirstChildElement("sellDialog")->GetStringAttribute("cancelMessage");
    const ObjectWeakPointer<XmlElement> utility = xml->GetFirstChildElement("utility");
    _utilityValue = utility->GetIntAttribute("value");
    _utilityReceiver = utility->GetStringAttribute("receiver");
    _buyHintServer = utility->GetStringAttribute("buyHintServer");
    Assert(_utilityValue > 0);
    const ObjectWeakPointer<XmlElement> tutorial = xml->GetFirstChildElement("TutorialPurchase");
    const auto notification = [&](const char* name) {
        return ObjectSmartPointer<ReceiverAndMessage>(new ReceiverAndMessage(tutorial->GetFirstChildElement(name)));
    };
    _started = notification("started");
    _onSand = notification("onSand");
    _cancelled = notification("cancelled");
    _complete = notification("complete");
    _money = ObjectSmartPointer<Variable<int>>(new PermanentVariable<Local, int>("Money"));
    _amount = ObjectSmartPointer<Variable<int>>(new PermanentVariableOrDef<Local, int>(_shopItemId + " amount", 0));
    SendMessage(_buyHintServer, "register beauty " + GetReceiverName());
}

ItemIconDispatcherControl::~ItemIconDispatcherControl() {
    if (IsIndicatorHintVisible()) HideHint();
    const int amount = GetAmount();
    _amount = nullptr;
    if (amount == 0 && PermanentStorage::IsLoaded()) PermanentStorage::UndefLocalName(_shopItemId + " amount");
    UnregisterFromBuyHints(_buyHintServer, GetReceiverName());
}

void ItemIconDispatcherControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    SetMousePos(event->GetMousePos());
}

int ItemIconDispatcherControl::GetAmount() {
    return Shop::CheckedCount(*_amount, _shopItemId + " amount");
}

std::string ItemIconDispatcherControl::GetUtility(int n) {
    Assert(n >= 0 && "amount >= 0");
    const int utilityPercent = Int::Parse(SendMessageReply("Beauty sameness info", Int::ToString(n < 0 ? 0 : n)));
    Assert(0 < utilityPercent && utilityPercent <= 100);
    if (utilityPercent <= 0 || utilityPercent > 100) return "0";
    Assert(_utilityValue < Int::MAX_VALUE / utilityPercent);
    return Int::ToString(static_cast<int>(static_cast<long long>(_utilityValue) * utilityPercent / 100));
}

void ItemIconDispatcherControl::Notify(const ObjectSmartPointer<ReceiverAndMessage>& notification) {
    if (Shop::IsTutorialWanted()) notification->Send();
}

void ItemIconDispatcherControl::ShowHint() {
    SendMessage(_utilityReceiver, "beauty hint add " + GetUtility(GetAmount()) + "/" + _shopItemId);
}

void ItemIconDispatcherControl::HideHint() { SendMessage(_utilityReceiver, "no beauty hint " + _shopItemId); }

void ItemIconDispatcherControl::HideHintIfInvisible() {
    if (!IsIndicatorHintVisible()) HideHint();
}

void ItemIconDispatcherControl::MouseDown() {
    const int money = _money->GetValue();
    Assert(money >= 0);
    if (_isPlacing) {
        ReportError("A purchase of " + _shopItemId + " is under way; the press is ignored");
    } else if (money >= _playerBuyCost) {
        SendMessage(_shopItemId + " icon", "hide");
        SendMessage("Shop drag sensor", "on " + GetReceiverName() + "/drag over");
        SendMessage("Shop dragger", "show " + _iconTextureId);
        SendMessage("Shop dragger", "reply to " + GetReceiverName());
        const bool wasVisible = IsIndicatorHintVisible();
        _isPlacing = true;
        if (!wasVisible) ShowHint();
    } else {
        SendMessage("not enough money", "show");
    }
    Notify(_started);
}

void ItemIconDispatcherControl::DragOver() {
    Assert(_isPlacing);
    if (!_isPlacing) return;
    SendMessage("Shop dragger", "hide");
    // The plant is made under the mouse and bought when it is placed; one that cannot be made so
    // is neither made nor charged.
    bool isMade = false;
    const ObjectWeakPointer<XmlElement> templ = TemplateLib::GetTemplate(_itemTemplateName);
    if (templ != NULL) {
        const ObjectWeakPointer<XmlElement> dragging = templ->GetFirstChildElement("createInDragging");
        if (dragging == NULL) {
            ReportError("Plant template '" + _itemTemplateName + "' has no createInDragging: " + _shopItemId +
                        " cannot be bought");
        } else {
            dragging->SetStringAttribute("replyTo", GetReceiverName());
            const Point mouse = GetMousePos();
            dragging->SetIntAttribute("x", mouse.x);
            dragging->SetIntAttribute("y", mouse.y);
            isMade = Shop::AddToTank(_tankId, _itemTemplateName);
        }
    }
    if (!isMade) {
        EndPlacing();
        SendMessage(_shopItemId + " icon", "show");
        Shop::TellPurchaseFailed();
        Notify(_cancelled);
        return;
    }
    Notify(_onSand);
}

void ItemIconDispatcherControl::EndPlacing() {
    _isPlacing = false;
    HideHintIfInvisible();
}

void ItemIconDispatcherControl::Placed() {
    if (!_isPlacing) {
        ReportError("A placing of " + _shopItemId + " without a purchase under way is ignored");
        return;
    }
    EndPlacing();
    if (Shop::CountSameBuying(_shopItemId)) _specialMessage->ShowNeedDifferent();
    const Point mouse = GetMousePos();
    SendMessage("Money effect", Shop::MoneyText("-", _playerBuyCost) + "," + Int::ToString(mouse.x) + "," +
                                    Int::ToString(mouse.y + 50));
    const int n = GetAmount();
    const int m = _money->GetValue();
    Assert(m >= 0 && m >= _playerBuyCost);
    _money->SetValue(std::max(m - _playerBuyCost, 0));
    SendMessage(_shopItemId + " icon", "show");
    SendMessage(_utilityReceiver, "beauty add " + GetUtility(n));
    _amount->SetValue(n + 1);
    SendMessage(_buyHintServer, "update");
    Notify(_complete);
    Shop::SaveChange(_tankId);
}

void ItemIconDispatcherControl::Remove() {
    SendMessage(_tankId + " Aquarium bottom", "remove the chosen one");
    const int n = GetAmount();
    if (n <= 0) {
        ReportError("No " + _shopItemId + " to sell: the sale is ignored");
        return;
    }
    const int money = _money->GetValue();
    Assert(money >= 0);
    _money->SetValue(Math::AddClamped(money, _playerSellCost));
    SendMessage(_utilityReceiver, "beauty sub " + GetUtility(n - 1));
    _amount->SetValue(n - 1);
    SendMessage(_buyHintServer, "update");
    Shop::SaveChange(_tankId);
}

void ItemIconDispatcherControl::ShowSellDialog(const std::string& okMessage) {
    const int n = GetAmount();
    if (n <= 0) {
        ReportError("No " + _shopItemId + " to sell: the sell request is ignored");
        return;
    }
    const bool falls =
        Bool::Parse(SendMessageReply(_utilityReceiver, "will beauty level become negative " + GetUtility(n - 1)));
    SendMessage("Shop modal dialog",
                "template " + _shopItemId + (falls ? "SellDialogMinusTemplate" : "SellDialogTemplate"));
    SendMessage("Shop modal dialog", "defineText [okMessage] " + okMessage);
    SendMessage("Shop modal dialog", "create instance");
}

void ItemIconDispatcherControl::OnMessage(std::string message) {
    if (message == "mouse down") {
        MouseDown();
    } else if (message == "drag over") {
        DragOver();
    } else if (message == "mouse up") {
        if (!_isPlacing) return;
        EndPlacing();
        SendMessage("Shop drag sensor", "off " + GetReceiverName());
        SendMessage(_shopItemId + " icon", "show");
        Notify(_cancelled);
    } else if (message == "placed") {
        Placed();
    } else if (message == "misplaced") {
        Assert(_isPlacing);
        EndPlacing();
        Sound::soundSystem.PlaySampleEx("beauty_cancel", OWN_PAN, false);
        SendMessage(_shopItemId + " icon", "show");
        Notify(_cancelled);
    } else if (message == "cancelled") {
        Assert(_isPlacing);
        Sound::soundSystem.PlaySampleEx("beauty_cancel", OWN_PAN, false);
        SendMessage("Screen", "template ZGlassTemplate");
        SendMessage("Screen", "create top instance");
        SendMessage("Buy cancel target", "play animation then " + GetReceiverName() + "/cancel animation played");
        Notify(_cancelled);
    } else if (message == "cancel animation played") {
        SendMessage("post:Screen", "erase top child");
        Assert(_isPlacing);
        EndPlacing();
        SendMessage(_tankId + " Aquarium bottom", "remove the chosen one");
        SendMessage(_shopItemId + " icon", "show");
    } else if (message == "show sell dialog on basket") {
        ShowSellDialog("basket sell ok");
    } else if (message == "show sell dialog on right click") {
        ShowSellDialog("right click sell ok");
    } else if (message == _cancelMessage) {
        SendMessage("Shop modal dialog", "hide");
        SendMessage(_tankId + " Aquarium bottom", "restore the chosen one");
    } else if (message == "basket sell ok") {
        if (GetAmount() <= 0) {
            ReportError("No " + _shopItemId + " to sell: the sale is ignored");
            SendMessage("Shop modal dialog", "hide");
            return;
        }
        Sound::soundSystem.PlaySampleEx("beauty_sell", OWN_PAN, false);
        SendMessage("Shop modal dialog", "hide");
        SendMessage("Screen", "template ZGlassTemplate");
        SendMessage("Screen", "create top instance");
        SendMessage("Money effect", Shop::MoneyText("+", _playerSellCost) + ",750,110");
        SendMessage("Sell target", "play animation then " + GetReceiverName() + "/sell animation played");
    } else if (message == "right click sell ok") {
        Sound::soundSystem.PlaySampleEx("beauty_sell", OWN_PAN, false);
        SendMessage("Shop modal dialog", "hide");
        Remove();
    } else if (message == "sell animation played") {
        SendMessage("post:Screen", "erase top child");
        Remove();
    } else if (message == "remove") {
        Remove();
    } else if (message == "beauty hint invisible") {
    } else if (message == "sensor show indicator hint") {
        Assert(!_isIndicatorHintSensorActive);
        const bool wasVisible = IsIndicatorHintVisible();
        _isIndicatorHintSensorActive = true;
        if (!wasVisible) ShowHint();
    } else if (message == "sensor hide indicator hint") {
        Assert(_isIndicatorHintSensorActive);
        _isIndicatorHintSensorActive = false;
        HideHintIfInvisible();
    } else {
        MessageReceiver::OnMessage(message);
    }
}

std::string ItemIconDispatcherControl::OnMessageReply(std::string message) {
    if (message == "get cost") return Int::ToString(_playerBuyCost);
    if (message == "get utility") {
        return SendMessageReply(_utilityReceiver, "get new beauty level " + GetUtility(GetAmount()));
    }
    if (message == "get icon") return _iconTextureId;
    if (message == "amount 0?") return Bool::ToString(GetAmount() == 0);
    return MessageReceiver::OnMessageReply(message);
}
