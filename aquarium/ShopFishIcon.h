#pragma once
// The logic behind one fish kind's shop icon: buys a fish into the tank, sells one through a
// confirmation dialog, previews the fish meter while hovered and answers the purchase hints.

#include <string>

#include "content/Definition.h"
#include "core/MessageReceiver.h"
#include "core/PermanentVariable.h"

class ReceiverAndMessage;
class ShopSpecialMessage;

class FishIconDispatcherDefinition : public Definition, public MessageReceiver {
public:
    explicit FishIconDispatcherDefinition(const ObjectWeakPointer<XmlElement>& xml);
    ~FishIconDispatcherDefinition() override;

    void OnMessage(std::string message) override;
    std::string OnMessageReply(std::string message) override;

    // The fish utility of one more fish when n are owned, as decimal text.
    std::string GetUtility(int n);
    bool IsIndicatorHintVisible() const { return _isIndicatorHintSensor1Active || _isIndicatorHintSensor2Active; }

private:
    // The count owned, mended when the stored one is out of range.
    int Amount();
    void Buy();
    void RequestSell();
    void Sell();
    void SensorShow(bool& sensor, bool other);
    void SensorHide(bool& sensor, bool other);
    void ShowHint();
    void HideHint();

    ObjectSmartPointer<ShopSpecialMessage> _specialMessage;
    std::string _tankId;
    std::string _tankFishId;
    int _playerBuyCost = 0;
    int _playerSellCost = 0;
    std::string _fishTemplateName;
    std::string _wishTextureId;
    std::string _okMessage;
    std::string _cancelMessage;
    int _utilityValue = 0;
    std::string _utilityReceiver;
    std::string _buyHintServer;
    ObjectSmartPointer<ReceiverAndMessage> _tutorialPurchase;
    ObjectSmartPointer<Variable<int>> _money;
    ObjectSmartPointer<Variable<int>> _amount;
    bool _isIndicatorHintSensor1Active = false;
    bool _isIndicatorHintSensor2Active = false;
};
