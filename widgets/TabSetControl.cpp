#include "widgets/TabSetControl.h"

#include "controls/ControlFactory.h"
#include "controls/MouseEvents.h"
#include "controls/PictureTexture.h"
#include "controls/TabOrder.h"
#include "core/Assert.h"
#include "core/Int.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "core/String.h"
#include "core/XmlElement.h"
#include "shell/SoundSystem.h"

TabSetControl::TabSetControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : Control(parent, xml), MessageReceiver(xml) {
    _orderVariableName = GetReceiverName() + " tab order";
    const ObjectWeakPointer<XmlElement> tabs = GetNeededChild(xml, "tabs");
    ObjectWeakPointer<XmlElement> oneTabXml = tabs != NULL ? tabs->GetFirstChildElement() : ObjectWeakPointer<XmlElement>();
    Assert(oneTabXml != NULL);
    for (; oneTabXml != NULL; oneTabXml = oneTabXml->GetNextElement()) {
        const ObjectSmartPointer<Control> control = ControlFactory::CreateControl(ObjectWeakPointer<Control>(this), oneTabXml);
        const ObjectSmartPointer<OneTabControl> tab = control.Cast<OneTabControl>();
        Assert(tab != NULL);
        if (tab != NULL) _tabs.push_back(tab);
    }
    _tabCount = static_cast<int>(_tabs.size());
    Assert(_tabCount > 0);
    LoadOrder();
}

TabSetControl::~TabSetControl() { AllowDestructor(); }

ObjectWeakPointer<OneTabControl> TabSetControl::GetTab(int index) const {
    Assert(0 <= index && index < _tabCount);
    if (index < 0 || index >= _tabCount) return ObjectWeakPointer<OneTabControl>();
    return ObjectWeakPointer<OneTabControl>(_tabs[static_cast<std::size_t>(index)]);
}

ObjectWeakPointer<OneTabControl> TabSetControl::Front() const {
    if (_order.empty()) return ObjectWeakPointer<OneTabControl>();
    return GetTab(_order.front());
}

bool TabSetControl::IsOrderValid() { return IsTabOrderValid(_order, _tabCount); }

void TabSetControl::SetDefaultOrder() {
    _order = DefaultTabOrder(_tabCount);
    Assert(IsOrderValid());
}

void TabSetControl::ApplyStates() {
    bool isFront = true;
    for (int index : _order) {
        const ObjectWeakPointer<OneTabControl> tab = GetTab(index);
        if (isFront) {
            tab->SetState(OneTabControl::FRONT_STATE);
        } else if (tab->GetState() == OneTabControl::FRONT_STATE) {
            tab->SetState(OneTabControl::REAR_STATE);
        }
        isFront = false;
    }
}

void TabSetControl::LoadOrder() {
    if (_tabCount <= 0) return;
    if (!PermanentStorage::IsLocalNameDefined(_orderVariableName)) {
        SetDefaultOrder();
        ApplyStates();
        return;
    }
    const std::string order = PermanentStorage::GetLocalString(_orderVariableName) + " ";
    _order.clear();
    std::size_t beginPos = 0;
    while (beginPos < order.length()) {
        const std::size_t endPos = order.find(' ', beginPos);
        Assert(endPos != std::string::npos);
        Assert(endPos < order.length());
        Assert(endPos >= beginPos);
        if (endPos == std::string::npos) break;
        _order.push_back(Int::Parse(order.substr(beginPos, endPos - beginPos)));
        beginPos = endPos + 1;
    }
    if (!IsOrderValid()) SetDefaultOrder();
    ApplyStates();
}

void TabSetControl::SaveOrder() {
    Assert(IsOrderValid());
    if (!IsOrderValid()) return;
    std::string order;
    for (int index : _order) order += " " + Int::ToString(index);
    Assert(order.length() > 0);
    PermanentStorage::SetLocalString(_orderVariableName, order.substr(1));
}

void TabSetControl::OnMessage(std::string message) {
    if (String::IsHeadCut(message, "report tab change to ")) {
        Assert(_reportTo.empty());
        Assert(!message.empty());
        if (_reportTo.empty() && !message.empty()) _reportTo = message;
    } else if (String::IsHeadCut(message, "set change message ")) {
        Assert(!_reportTo.empty());
        Assert(_changeMessage.empty());
        Assert(!message.empty());
        if (!_reportTo.empty() && _changeMessage.empty() && !message.empty()) _changeMessage = message;
    } else {
        MessageReceiver::OnMessage(message);
    }
}

void TabSetControl::Draw() {
    if (_order.empty()) return;
    Front()->SetState(OneTabControl::FRONT_STATE);
    for (std::list<int>::const_reverse_iterator i = _order.rbegin(); i != _order.rend(); ++i) GetTab(*i)->Draw();
}

void TabSetControl::Update(float dt) {
    const std::vector<int> order = GetOrder();
    for (int index : order) GetTab(index)->Update(dt);
}

void TabSetControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    if (_order.empty()) return;
    Front()->SetState(OneTabControl::FRONT_STATE);
    const std::vector<int> order = GetOrder();
    for (int index : order) GetTab(index)->OnMouseUp(event);
}

void TabSetControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    if (_order.empty()) return;
    Front()->SetState(OneTabControl::FRONT_STATE);
    const std::vector<int> order = GetOrder();
    for (int index : order) GetTab(index)->OnMouseMove(event);
}

void TabSetControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    if (_order.empty()) return;
    Front()->SetState(OneTabControl::FRONT_STATE);
    // The walk goes over the order as it stood; a tab brought forward keeps its turn.
    const std::vector<int> order = GetOrder();
    for (int index : order) {
        const bool wasCaptured = event->IsMouseCaptured();
        const ObjectWeakPointer<OneTabControl> tab = GetTab(index);
        tab->OnMouseDown(event);
        if (wasCaptured || !event->IsMouseCaptured() || index == _order.front()) continue;
        Front()->SetState(OneTabControl::REAR_STATE);
        _order.remove(index);
        _order.push_front(index);
        tab->SetState(OneTabControl::FRONT_STATE);
        Sound::soundSystem.PlaySample("tab_change");
        if (!_changeMessage.empty()) {
            const std::string receiver = _reportTo;
            const std::string text = _changeMessage;
            _reportTo.clear();
            _changeMessage.clear();
            SendMessage(receiver, text);
        }
    }
}
