#pragma once
// The invisible controller behind one buyable floor item in the shop: checks the money, arms the
// drag into the tank, charges on placing, sells through a dialog and previews the beauty meter.

#include <string>

#include "controls/Control.h"
#include "core/MessageReceiver.h"
#include "core/MousePosRememberer.h"
#include "core/PermanentVariable.h"

class ReceiverAndMessage;
class ShopSpecialMessage;

class ItemIconDispatcherControl : public MouseTransparentControl, public MessageReceiver, public MousePosRememberer {
public:
    ItemIconDispatcherControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~ItemIconDispatcherControl() override;

    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override {}
    void Update(float) override {}

    void OnMessage(std::string message) override;
    std::string OnMessageReply(std::string message) override;

    bool IsIndicatorHintVisible() const { return _isIndicatorHintSensorActive || _isPlacing; }
    bool IsPlacing() const { return _isPlacing; }
    // The beauty of one more unit when n are owned, as decimal text.
    std::string GetUtility(int n);

private:
    void MouseDown();
    void DragOver();
    void EndPlacing();
    void Placed();
    void Remove();
    void ShowSellDialog(const std::string& okMessage);
    void ShowHint();
    void HideHint();
    void HideHintIfInvisible();
    void Notify(const ObjectSmartPointer<ReceiverAndMessage>& notification);
    int GetAmount();

    ObjectSmartPointer<ShopSpecialMessage> _specialMessage;
    std::string _tankId;
    std::string _shopItemId;
    std::string _iconTextureId;
    int _playerBuyCost = 0;
    int _playerSellCost = 0;
    std::string _itemTemplateName;
    std::string _cancelMessage;
    int _utilityValue = 0;
    std::string _utilityReceiver;
    std::string _buyHintServer;
    bool _isPlacing = false;
    bool _isIndicatorHintSensorActive = false;
    ObjectSmartPointer<Variable<int>> _money;
    ObjectSmartPointer<Variable<int>> _amount;
    ObjectSmartPointer<ReceiverAndMessage> _started;
    ObjectSmartPointer<ReceiverAndMessage> _onSand;
    ObjectSmartPointer<ReceiverAndMessage> _cancelled;
    ObjectSmartPointer<ReceiverAndMessage> _complete;
};
