#include "aquarium/AquariumDispatcherControl.h"

#include "core/Assert.h"
#include "core/MessageServer.h"
#include "core/XmlElement.h"

namespace {
const char* const BLUE_PANEL_MOVER = "Main screen blue panel mover";
const char* const BOTTOM_PANEL_MOVER = "Main screen bottom panel mover";
}  // namespace

AquariumDispatcherControl::AquariumDispatcherControl(const ObjectWeakPointer<Control>& parent,
                                                     const ObjectWeakPointer<XmlElement>& xml)
    : FixedChildrenListControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> controls = xml->GetFirstChildElement("controls");
    _shopMoverName = controls->GetStringAttribute("shopMoverName");
    _buyCancelMoverName = controls->GetStringAttribute("buyCancelMoverName");
    _buyCancelTargetName = controls->GetStringAttribute("buyCancelTargetName");
    _sellMoverName = controls->GetStringAttribute("sellMoverName");
    _sellTargetName = controls->GetStringAttribute("sellTargetName");
    _buyMouseHelpName = controls->GetStringAttribute("buyMouseHelpName");
    _moveMouseHelpName = controls->GetStringAttribute("moveMouseHelpName");
}

AquariumDispatcherControl::~AquariumDispatcherControl() = default;

std::string AquariumDispatcherControl::GetDropTargetName(bool isNew) const {
    return isNew ? _buyCancelTargetName : _sellTargetName;
}

void AquariumDispatcherControl::Move(const std::string& mover, const std::string& where) {
    SendMessage(mover, "report arrival to null");
    SendMessage(mover, "set arrival message null");
    SendMessage(mover, "move to " + where);
}

void AquariumDispatcherControl::Announce(bool buy, bool isStart) {
    const bool isShopOpen = IsReceiver(_shopMoverName);
    if (!isShopOpen) {
        // Only items of the tank move while the shop is closed.
        Assert(!buy);
        buy = false;
    }
    const char* const help = isStart ? "show help" : "hide help";
    const char* const in = isStart ? "in" : "out";
    const char* const out = isStart ? "out" : "in";
    if (isShopOpen && buy) {
        Move(_shopMoverName, out);
        Move(_buyCancelMoverName, in);
        SendMessage(_buyCancelTargetName, help);
        SendMessage(_buyMouseHelpName, help);
    } else if (isShopOpen) {
        Move(_shopMoverName, out);
        Move(_sellMoverName, in);
        SendMessage(_sellTargetName, help);
        SendMessage(_moveMouseHelpName, help);
    } else {
        SendMessage(_moveMouseHelpName, help);
        Move(BLUE_PANEL_MOVER, out);
        Move(BOTTOM_PANEL_MOVER, out);
    }
}

void AquariumDispatcherControl::OnDragStart(bool isNew) { Announce(isNew, true); }

void AquariumDispatcherControl::OnDragEnd(bool isNew) { Announce(isNew, false); }
