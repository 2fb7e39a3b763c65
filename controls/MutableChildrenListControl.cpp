#include "controls/MutableChildrenListControl.h"

#include "content/ResourceManagerServices.h"
#include "content/TemplateLib.h"
#include "controls/ControlFactory.h"
#include "controls/MouseEvents.h"
#include "core/Assert.h"
#include "core/Int.h"
#include "core/String.h"
#include "core/XmlElement.h"

namespace TemplateCommands {

bool ParseDefineText(const std::string& argument, std::string& key, std::string& value) {
    const std::size_t openPos = argument.find('[');
    const std::size_t closePos = argument.find(']');
    Assert(openPos == 0);
    Assert(closePos != std::string::npos);
    if (openPos != 0 || closePos == std::string::npos) {
        return false;
    }
    Assert(openPos + 1 < closePos);
    const std::size_t spacePos = argument.find(' ', closePos);
    Assert(spacePos == closePos + 1);
    if (!(openPos + 1 < closePos) || spacePos != closePos + 1) {
        return false;
    }
    key = argument.substr(0, closePos + 1);
    value = argument.substr(spacePos + 1);
    return true;
}

bool OnTemplateCommand(std::string message, ObjectSmartPointer<XmlElement>& _currentTemplate) {
    if (String::IsHeadCut(message, "template ")) {
        Assert(_currentTemplate == NULL);
        Assert(!message.empty());
        if (_currentTemplate != NULL || message.empty()) {
            return true;
        }
        _currentTemplate = TemplateLib::CopyTemplate(message);
        Assert(_currentTemplate != NULL);
        return true;
    }
    if (String::IsHeadCut(message, "defineText ")) {
        Assert(_currentTemplate != NULL);
        std::string key, value;
        if (!ParseDefineText(message, key, value) || _currentTemplate == NULL) {
            return true;
        }
        TemplateLib::DefineText(_currentTemplate, key, value);
        return true;
    }
    return false;
}

ObjectSmartPointer<Control> BuildControl(const ObjectWeakPointer<Control>& parent,
                                         const ObjectWeakPointer<XmlElement>& element) {
    if (element == NULL) {
        return ObjectSmartPointer<Control>();
    }
    TemplateLib::CheckFullyInstantiated(element);
    element->ResetVisited();
    ObjectSmartPointer<Control> control = ControlFactory::CreateControl(parent, element);
    element->CheckVisited();
    return control;
}

}  // namespace TemplateCommands

// Marks the forwarding; a call that arrives while another is forwarded keeps the outer mark.
class MutableChildrenListControl::FlowScope {
public:
    explicit FlowScope(MutableChildrenListControl& list) : _list(list), _wasInside(list._isControlFlowInside) {
        Assert(!_list._isControlFlowInside);
        _list._isControlFlowInside = true;
    }
    ~FlowScope() { _list._isControlFlowInside = _wasInside; }
    FlowScope(const FlowScope&) = delete;
    FlowScope& operator=(const FlowScope&) = delete;

private:
    MutableChildrenListControl& _list;
    bool _wasInside = false;
};

MutableChildrenListControl::MutableChildrenListControl(const ObjectWeakPointer<Control>& parent,
                                                       const ObjectWeakPointer<XmlElement>& xml)
    : Control(parent, xml), MessageReceiver(xml) {}

MutableChildrenListControl::~MutableChildrenListControl() {
    Assert(_currentTemplate == NULL);
    _currentTemplate = nullptr;
    _children.clear();
}

// The loops run over a copy of the list: children added meanwhile wait for the next call, and
// every child stays alive for the length of its own call.
void MutableChildrenListControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    FlowScope scope(*this);
    const std::vector<ObjectSmartPointer<Control>> children = _children;
    for (auto i = children.rbegin(); i != children.rend(); ++i) {
        if (*i != NULL) (*i)->OnMouseDown(event);
    }
}

void MutableChildrenListControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    FlowScope scope(*this);
    const std::vector<ObjectSmartPointer<Control>> children = _children;
    for (auto i = children.rbegin(); i != children.rend(); ++i) {
        if (*i != NULL) (*i)->OnMouseUp(event);
    }
}

void MutableChildrenListControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    FlowScope scope(*this);
    const std::vector<ObjectSmartPointer<Control>> children = _children;
    for (auto i = children.rbegin(); i != children.rend(); ++i) {
        if (*i != NULL) (*i)->OnMouseMove(event);
    }
}

void MutableChildrenListControl::Draw() {
    FlowScope scope(*this);
    const std::vector<ObjectSmartPointer<Control>> children = _children;
    for (const ObjectSmartPointer<Control>& child : children) {
        if (child != NULL) child->Draw();
    }
}

void MutableChildrenListControl::Update(float dt) {
    FlowScope scope(*this);
    const std::vector<ObjectSmartPointer<Control>> children = _children;
    for (const ObjectSmartPointer<Control>& child : children) {
        if (child != NULL) child->Update(dt);
    }
}

bool MutableChildrenListControl::ParseIndex(const std::string& text, bool isEndIncluded, std::size_t& place) {
    const int index = Int::Parse(text);
    if (Int::ToString(index) != text) {
        return false;  // reported by the parser
    }
    Assert(index >= 0);
    if (isEndIncluded) {
        Assert(index <= (int)_children.size());
    } else {
        Assert(index < (int)_children.size());
    }
    if (index < 0) {
        return false;
    }
    // The walk from the bottom child.
    auto i = _children.begin();
    for (int n = 0; n < index; ++n) {
        Assert(i != _children.end());
        if (i == _children.end()) {
            return false;
        }
        ++i;
    }
    if (!isEndIncluded) {
        Assert(i != _children.end());
        if (i == _children.end()) {
            return false;
        }
    }
    place = static_cast<std::size_t>(i - _children.begin());
    return true;
}

void MutableChildrenListControl::CreateInstanceAt(std::size_t index) {
    Assert(_currentTemplate != NULL);
    if (_currentTemplate == NULL) {
        return;
    }
    ObjectSmartPointer<XmlElement> copy = _currentTemplate;
    _currentTemplate = nullptr;
    ObjectSmartPointer<Control> child = TemplateCommands::BuildControl(ObjectWeakPointer<Control>(this), copy);
    if (child == NULL) {
        return;
    }
    if (index > _children.size()) {
        index = _children.size();
    }
    _children.insert(_children.begin() + static_cast<std::ptrdiff_t>(index), child);
}

void MutableChildrenListControl::OnMessage(std::string message) {
    if (TemplateCommands::OnTemplateCommand(message, _currentTemplate)) {
        return;
    }
    if (message == "clear children list") {
        Assert(_currentTemplate == NULL);
        Assert(!_isControlFlowInside);
        if (_currentTemplate != NULL || _isControlFlowInside) {
            return;
        }
        ContentLoad::TimePauser pause;
        std::vector<ObjectSmartPointer<Control>> children;
        children.swap(_children);
        children.clear();
    } else if (message == "create top instance") {
        CreateInstanceAt(_children.size());
    } else if (message == "create bottom instance") {
        CreateInstanceAt(0);
    } else if (String::IsHeadCut(message, "create instance before ")) {
        std::size_t index = 0;
        if (!ParseIndex(message, true, index)) {
            return;
        }
        CreateInstanceAt(index);
    } else if (message == "erase top child") {
        Assert(!_isControlFlowInside);
        Assert(_children.size() > 0);
        if (_isControlFlowInside || _children.empty()) {
            return;
        }
        ObjectSmartPointer<Control> child = _children.back();
        _children.pop_back();
    } else if (message == "erase bottom child") {
        Assert(!_isControlFlowInside);
        Assert(_children.size() > 0);
        if (_isControlFlowInside || _children.empty()) {
            return;
        }
        ObjectSmartPointer<Control> child = _children.front();
        _children.erase(_children.begin());
    } else if (String::IsHeadCut(message, "erase child at ")) {
        Assert(!_isControlFlowInside);
        std::size_t index = 0;
        if (!ParseIndex(message, false, index) || _isControlFlowInside) {
            return;
        }
        ObjectSmartPointer<Control> child = _children[index];
        _children.erase(_children.begin() + static_cast<std::ptrdiff_t>(index));
    } else if (String::IsHeadCut(message, "create instance replacing ")) {
        Assert(!_isControlFlowInside);
        std::size_t index = 0;
        if (!ParseIndex(message, false, index) || _isControlFlowInside) {
            return;
        }
        Assert(_children[index] != NULL);
        Assert(_currentTemplate != NULL);
        if (_currentTemplate == NULL) {
            return;
        }
        // The old child goes before the new one is built.
        _children.erase(_children.begin() + static_cast<std::ptrdiff_t>(index));
        CreateInstanceAt(index);
    } else {
        MessageReceiver::OnMessage(message);
    }
}
