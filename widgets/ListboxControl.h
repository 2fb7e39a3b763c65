#pragma once
// A selectable vertical list of sorted text values with at most one active value, shown as item
// instances inside a vertical scroll panel; filled and queried by messages, driven by the keys.

#include <set>
#include <string>

#include "controls/SingleChildControl.h"
#include "core/MessageReceiver.h"

class KeyDownEvent;

class ListboxControl : public SingleChildControl, public MessageReceiver {
public:
    ListboxControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~ListboxControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    // Also the keys.
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Update(float dt) override;

    void OnMessage(std::string message) override;
    std::string OnMessageReply(std::string message) override;

    std::string GetActiveValue() const { return _activeValue; }
    const std::set<std::string>& GetValues() const { return _values; }

private:
    void CreateEmptyScroll();
    void FillItems();
    void ShowActive();
    void OnKeyDown(KeyDownEvent* event);
    // Builds the scroll template with its parameters as the single child.
    void CreateScroll(const std::string& difference, int amount, int scrollY);
    int IndexOfActive() const;
    int GetScrollY();
    // Moves the active value by up to count places (negative: back); stops at the ends.
    void MoveActive(int count);

    std::string _activeItemTemplate;
    std::string _normalItemTemplate;
    std::string _scrollTemplate;
    std::string _scrollPanelName;
    std::string _mutableListName;
    int _itemDistance = -1;
    int _minActiveIndex = 0;
    int _maxActiveIndex = 0;
    std::set<std::string> _values;
    std::string _activeValue;
    std::string _newActiveValue;
    bool _isDoubleClick = false;
    std::string _doubleClickMessage;
    std::string _doubleClickReceiver;
};
