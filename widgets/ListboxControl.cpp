#include "widgets/ListboxControl.h"

#include <iterator>

#include "content/TemplateLib.h"
#include "core/ContentValues.h"
#include "controls/MouseEvents.h"
#include "controls/PictureTexture.h"
#include "core/Assert.h"
#include "core/Int.h"
#include "core/MessageServer.h"
#include "core/String.h"
#include "core/XmlElement.h"

namespace {
const int VK_PRIOR = 0x21;
const int VK_NEXT = 0x22;
const int VK_END = 0x23;
const int VK_HOME = 0x24;
const int VK_UP = 0x26;
const int VK_DOWN = 0x28;
}  // namespace

ListboxControl::ListboxControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : SingleChildControl(parent, xml), MessageReceiver(xml) {
    _scrollPanelName = GetReceiverName() + " vScroll";
    _mutableListName = GetReceiverName() + " mutable";
    const ObjectWeakPointer<XmlElement> templates = GetNeededChild(xml, "templates");
    if (templates != NULL) {
        _activeItemTemplate = templates->GetStringAttribute("activeItemTemplate");
        _normalItemTemplate = templates->GetStringAttribute("normalItemTemplate");
        _scrollTemplate = templates->GetStringAttribute("scrollTemplate");
    }
    const ObjectWeakPointer<XmlElement> dimensions = GetNeededChild(xml, "dimensions");
    if (dimensions != NULL) {
        // Rows far beyond the screen are reported and brought back, so no row offset overflows.
        _itemDistance = CHECKED_INT(dimensions->GetIntAttribute("itemDistance"), -MAX_CONTENT_SIZE, MAX_CONTENT_SIZE,
                                    "-100000 <= _itemDistance && _itemDistance <= 100000");
        _minActiveIndex = CHECKED_INT(dimensions->GetIntAttribute("minActiveIndex"), 0, 1000,
                                      "0 <= _minActiveIndex && _minActiveIndex <= 1000");
        _maxActiveIndex = CHECKED_INT(dimensions->GetIntAttribute("maxActiveIndex"), 0, 1000,
                                      "0 <= _maxActiveIndex && _maxActiveIndex <= 1000");
    }
    Assert(_minActiveIndex <= _maxActiveIndex);
    Assert(_itemDistance < 0);
    // Keeps the row arithmetic sound after a reported bad size.
    if (_maxActiveIndex < _minActiveIndex) _maxActiveIndex = _minActiveIndex;
    if (_itemDistance >= 0) _itemDistance = -1;
    const ObjectWeakPointer<XmlElement> doubleClick = GetNeededChild(xml, "doubleClickMessage");
    if (doubleClick != NULL) {
        _doubleClickMessage = doubleClick->GetStringAttribute("value");
        _doubleClickReceiver = doubleClick->GetStringAttribute("receiver");
    }
    CreateEmptyScroll();
}

ListboxControl::~ListboxControl() = default;

void ListboxControl::CreateScroll(const std::string& difference, int amount, int scrollY) {
    const ObjectSmartPointer<XmlElement> element = TemplateLib::CopyTemplate(_scrollTemplate);
    if (element == NULL) return;  // reported by the registry
    TemplateLib::DefineText(element, "[vScrollName]", _scrollPanelName);
    TemplateLib::DefineText(element, "[mutableListName]", _mutableListName);
    TemplateLib::DefineText(element, "[difference]", difference);
    TemplateLib::DefineText(element, "[amount]", Int::ToString(amount));
    TemplateLib::DefineText(element, "[scrollY]", Int::ToString(scrollY));
    TemplateLib::CheckFullyInstantiated(element);
    CreateChild(element);
}

void ListboxControl::CreateEmptyScroll() { CreateScroll(Int::ToString(_itemDistance), 1, 0); }

int ListboxControl::IndexOfActive() const {
    const std::set<std::string>::const_iterator i = _values.find(_activeValue);
    Assert(i != _values.end());
    if (i == _values.end()) return -1;
    return static_cast<int>(std::distance(_values.begin(), i));
}

int ListboxControl::GetScrollY() { return Int::Parse(SendMessageReply(_scrollPanelName, "get Y")); }

void ListboxControl::FillItems() {
    SendMessage(_mutableListName, "clear children list");
    bool wasFound = false;
    int index = 0;
    for (const std::string& v : _values) {
        const bool isActive = v == _activeValue;
        if (isActive) {
            Assert(!wasFound);
            wasFound = true;
        }
        SendMessage(_mutableListName, "template " + (isActive ? _activeItemTemplate : _normalItemTemplate));
        SendMessage(_mutableListName, "defineText [y] " + Int::ToString(_itemDistance * index));
        SendMessage(_mutableListName, "defineText [value] " + v);
        SendMessage(_mutableListName, "defineText [listboxId] " + GetReceiverName());
        SendMessage(_mutableListName, "create top instance");
        ++index;
    }
    Assert(wasFound);
}

void ListboxControl::ShowActive() {
    const int i = IndexOfActive();
    if (i < 0) return;
    const int n = static_cast<int>(_values.size());
    const int mid = (_minActiveIndex + _maxActiveIndex) / 2;
    int row = mid;
    if (_maxActiveIndex - mid > n - 1 - i) row = _maxActiveIndex - (n - 1 - i);
    if (row - _minActiveIndex > i) row = _minActiveIndex + i;
    const int scrollY = (row - i) * _itemDistance;
    const int amount = n - _maxActiveIndex + _minActiveIndex;
    CreateScroll(Int::ToString(-_itemDistance), amount > 1 ? amount : 1, scrollY);
    FillItems();
}

void ListboxControl::OnMessage(std::string message) {
    if (message == "clear") {
        _values.clear();
        _activeValue.clear();
        CreateEmptyScroll();
    } else if (String::IsHeadCut(message, "add normal ")) {
        const std::string& newValue = message;
        Assert(!newValue.empty());
        Assert(_activeValue.empty());
        Assert(_values.find(newValue) == _values.end());
        if (!newValue.empty()) _values.insert(newValue);
    } else if (message == "remove active") {
        Assert(!_activeValue.empty());
        Assert(_values.size() > 1);
        const std::set<std::string>::iterator i = _values.find(_activeValue);
        Assert(i != _values.end());
        // The last value stays: a list box without an active value shows nothing.
        if (_activeValue.empty() || _values.size() <= 1 || i == _values.end()) return;
        std::set<std::string>::iterator next = _values.erase(i);
        if (next == _values.end()) next = std::prev(_values.end());
        _activeValue = *next;
        ShowActive();
    } else if (String::IsHeadCut(message, "set active ")) {
        const std::string& newActiveValue = message;
        Assert(!newActiveValue.empty());
        Assert(_values.find(newActiveValue) != _values.end());
        if (newActiveValue.empty() || _values.find(newActiveValue) == _values.end()) return;
        _activeValue = newActiveValue;
        ShowActive();
    } else if (String::IsHeadCut(message, "click on ")) {
        Assert(_newActiveValue.empty());
        Assert(!message.empty());
        Assert(_values.find(message) != _values.end());
        if (message.empty() || _values.find(message) == _values.end()) return;
        _newActiveValue = message;
    } else {
        MessageReceiver::OnMessage(message);
    }
}

std::string ListboxControl::OnMessageReply(std::string message) {
    if (message == "get active") {
        Assert(!_activeValue.empty());
        return _activeValue;
    }
    if (message == "is empty") return _values.empty() ? "true" : "false";
    return MessageReceiver::OnMessageReply(message);
}

void ListboxControl::Update(float dt) {
    SingleChildControl::Update(dt);
    if (_activeValue.empty()) return;
    std::set<std::string>::const_iterator i = _values.find(_activeValue);
    Assert(i != _values.end());
    if (i == _values.end()) return;
    int activeSetIndex = static_cast<int>(std::distance(_values.begin(), i));
    const int d = -_itemDistance;
    const int inParentY = GetScrollY();
    bool isMoved = false;
    // The selection is dragged along with the rows, never past the first or last value.
    while (activeSetIndex * d - inParentY <= (_minActiveIndex - 1) * d) {
        const std::set<std::string>::const_iterator next = std::next(i);
        if (next == _values.end()) {
            ReportFailure("Assertion failed", "i != _values.end()", __FILE__, __LINE__);
            break;
        }
        i = next;
        ++activeSetIndex;
        isMoved = true;
    }
    while (activeSetIndex * d - inParentY >= (_maxActiveIndex + 1) * d) {
        if (i == _values.begin()) {
            ReportFailure("Assertion failed", "i != _values.begin()", __FILE__, __LINE__);
            break;
        }
        --i;
        --activeSetIndex;
        isMoved = true;
    }
    if (!isMoved) return;
    _activeValue = *i;
    FillItems();
}

void ListboxControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    _isDoubleClick = dynamic_cast<MouseDoubleClickEvent*>(event.Get()) != nullptr;
    SingleChildControl::OnMouseDown(event);
}

void ListboxControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    Assert(_newActiveValue.empty());
    _newActiveValue.clear();
    SingleChildControl::OnMouseUp(event);
    if (_newActiveValue.empty()) return;
    Assert(_values.find(_newActiveValue) != _values.end());
    _activeValue = _newActiveValue;
    _newActiveValue.clear();
    FillItems();
    if (_isDoubleClick) SendMessage(_doubleClickReceiver, _doubleClickMessage);
}

void ListboxControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    SingleChildControl::OnMouseMove(event);
    KeyDownEvent* key = dynamic_cast<KeyDownEvent*>(event.Get());
    if (key != nullptr) OnKeyDown(key);
}

void ListboxControl::MoveActive(int count) {
    std::set<std::string>::const_iterator i = _values.find(_activeValue);
    Assert(i != _values.end());
    if (i == _values.end()) return;
    for (; count > 0 && std::next(i) != _values.end(); --count) ++i;
    for (; count < 0 && i != _values.begin(); ++count) --i;
    _activeValue = *i;
}

void ListboxControl::OnKeyDown(KeyDownEvent* event) {
    if (event->IsKeyHandled() || _activeValue.empty()) return;
    const int i = IndexOfActive();
    if (i < 0) return;
    const int d = -_itemDistance;
    const int v = _maxActiveIndex - _minActiveIndex;
    const int h = (v + 1) / 2;
    const int last = static_cast<int>(_values.size()) - 1;
    switch (event->GetKey()) {
        case VK_DOWN:
            if (i < last) {
                MoveActive(1);
                FillItems();
                const int y = GetScrollY();
                if ((i + 1) * d - y > _maxActiveIndex * d) {
                    SendMessage(_scrollPanelName, "min pressed");
                    SendMessage(_scrollPanelName, "min not pressed");
                    SendMessage(_scrollPanelName, "set Y " + Int::ToString(y + 1));
                }
            }
            event->SetKeyHandled();
            break;
        case VK_UP:
            if (i > 0) {
                MoveActive(-1);
                FillItems();
                const int y = GetScrollY();
                if ((i - 1) * d - y < _minActiveIndex * d) {
                    SendMessage(_scrollPanelName, "max pressed");
                    SendMessage(_scrollPanelName, "max not pressed");
                    SendMessage(_scrollPanelName, "set Y " + Int::ToString(y - 1));
                }
            }
            event->SetKeyHandled();
            break;
        case VK_HOME:
            _activeValue = *_values.begin();
            ShowActive();
            event->SetKeyHandled();
            break;
        case VK_END:
            _activeValue = *_values.rbegin();
            ShowActive();
            event->SetKeyHandled();
            break;
        case VK_NEXT:
            MoveActive(v - h);
            ShowActive();
            MoveActive(h);
            FillItems();
            break;
        case VK_PRIOR:
            MoveActive(-h);
            ShowActive();
            MoveActive(-(v - h));
            FillItems();
            break;
        default:
            break;
    }
}
