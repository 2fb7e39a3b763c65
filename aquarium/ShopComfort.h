#pragma once
// The purchase side of a piece of tank equipment: bought once and upgraded once for money, each
// step adding comfort; the state is kept per player. Subclasses draw and animate the equipment.

#include <string>

#include "controls/Control.h"
#include "core/MessageReceiver.h"
#include "core/PermanentVariable.h"
#include "core/PlayerChangeListener.h"
#include "core/Point.h"

class BaseComfortControl : public MouseTransparentControl, public MessageReceiver, public PlayerChangeListener {
public:
    BaseComfortControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    // Subclass destructors call AllowDestructor first.
    ~BaseComfortControl() override;

    // F5 in developer mode resets the stored state.
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;

    // Subclasses extend both and call the base first.
    virtual void Buy();
    virtual void Upgrade();

    void OnMessage(std::string message) override;
    std::string OnMessageReply(std::string message) override;
    void BeforePlayerChange() override {}
    void AfterPlayerChange() override;

    bool IsBought() const { return _isBought; }
    int GetUpgrade() const { return _upgrade; }

private:
    // The money, state, comfort, hints and money text of one step.
    void Purchase(int cost, bool isUpgrade, int utility, const std::string& sound);
    void LoadState();

protected:
    bool _isBought = false;
    int _upgrade = 0;
    int _usualCost = 0;
    int _upgradeCost = 0;
    int _buyUtilityValue = 0;
    int _upgradeUtilityValue = 0;
    std::string _receiver;
    std::string _buyHintServer;
    std::string _iconTextureId;
    std::string _buySound;
    std::string _upgradeSound;
    ObjectSmartPointer<Variable<int>> _money;
    ObjectSmartPointer<Variable<bool>> _dev;
    ObjectSmartPointer<Variable<std::string>> _state;
    std::string _name;
    std::string _zOrderControl;
    Point _hartsAround;
};
