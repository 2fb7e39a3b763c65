#pragma once
// Overlapping index tabs: one in front, the rest behind it in a remembered order kept per player.
// A click on a rear tab brings it to the front; an owner can ask to be told once of a change.

#include <list>
#include <string>
#include <vector>

#include "controls/Control.h"
#include "controls/OneTabControl.h"
#include "core/MessageReceiver.h"
#include "core/PlayerChangeListener.h"

class TabSetControl : public Control, public MessageReceiver, public PlayerChangeListener {
public:
    TabSetControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~TabSetControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;

    void OnMessage(std::string message) override;

    void BeforePlayerChange() override { SaveOrder(); }
    void AfterPlayerChange() override { LoadOrder(); }

    // Tab indices front to back.
    std::vector<int> GetOrder() const { return std::vector<int>(_order.begin(), _order.end()); }
    ObjectWeakPointer<OneTabControl> GetTab(int index) const;
    int GetTabCount() const { return _tabCount; }
    std::string GetOrderVariableName() const { return _orderVariableName; }

    bool IsOrderValid();
    void SetDefaultOrder();
    void LoadOrder();
    void SaveOrder();

private:
    ObjectWeakPointer<OneTabControl> Front() const;
    // The front tab shows its front look, every other tab a rear one.
    void ApplyStates();

    std::vector<ObjectSmartPointer<OneTabControl>> _tabs;
    int _tabCount = 0;
    std::list<int> _order;
    std::string _orderVariableName;
    std::string _reportTo;
    std::string _changeMessage;
};
