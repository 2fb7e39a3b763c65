#pragma once
// The top container of an aquarium screen: knows the panels and help texts that move while the
// player drags a floor item, and names the drop target of new and of owned items.

#include <string>

#include "controls/FixedChildrenListControl.h"

class AquariumDispatcherControl : public FixedChildrenListControl {
public:
    // The receiver names come from the child "controls".
    AquariumDispatcherControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~AquariumDispatcherControl() override;

    // The buy-cancel target for a newly bought item, the sell basket for an item of the tank.
    std::string GetDropTargetName(bool isNew) const;
    void OnDragStart(bool isNew);
    void OnDragEnd(bool isNew);

private:
    // Tells a mover to go, with no report of an arrival it may still owe.
    static void Move(const std::string& mover, const std::string& where);
    void Announce(bool buy, bool isStart);

    std::string _shopMoverName;
    std::string _buyCancelMoverName;
    std::string _buyCancelTargetName;
    std::string _sellMoverName;
    std::string _sellTargetName;
    std::string _buyMouseHelpName;
    std::string _moveMouseHelpName;
};
