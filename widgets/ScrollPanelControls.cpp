#include "widgets/ScrollPanelControls.h"

#include "content/TemplateLib.h"
#include "controls/PictureTexture.h"
#include "core/Assert.h"
#include "core/Int.h"
#include "core/MessageServer.h"
#include "core/String.h"
#include "core/XmlElement.h"

HScrollPanelControl::HScrollPanelControl(const ObjectWeakPointer<Control>& parent,
                                         const ObjectWeakPointer<XmlElement>& xml)
    : CommonScrollPanelControl(parent, xml) {
    CreatePosVariable(_position.x);
}

void HScrollPanelControl::SetPosition(int pos) { _position.x = pos; }

VScrollPanelControl::VScrollPanelControl(const ObjectWeakPointer<Control>& parent,
                                         const ObjectWeakPointer<XmlElement>& xml)
    : CommonScrollPanelControl(parent, xml) {
    CreatePosVariable(_position.y);
}

void VScrollPanelControl::SetPosition(int pos) { _position.y = pos; }

void VScrollPanelControl::OnMessage(std::string message) {
    if (String::IsHeadCut(message, "set Y ")) {
        SetPosition(Int::Parse(message));
        return;
    }
    CommonScrollPanelControl::OnMessage(message);
}

std::string VScrollPanelControl::OnMessageReply(std::string message) {
    if (message == "get Y") return Int::ToString(_position.y);
    return CommonScrollPanelControl::OnMessageReply(message);
}

namespace {
const std::size_t BUTTON_SUFFIX_LENGTH = 11;  // " min button", " max button"
const std::size_t DISPATCHER_SUFFIX_LENGTH = 18;  // " button dispatcher"
}  // namespace

ScrollButtonControl::ScrollButtonControl(const ObjectWeakPointer<Control>& parent,
                                         const ObjectWeakPointer<XmlElement>& xml, const std::string& side)
    : ButtonControl(parent, xml), MessageReceiver(xml), _side(side) {
    const std::string messageReceiverName = GetReceiverName();
    Assert(messageReceiverName.length() > BUTTON_SUFFIX_LENGTH);
    if (messageReceiverName.length() <= BUTTON_SUFFIX_LENGTH) return;
    const std::size_t cut = messageReceiverName.length() - BUTTON_SUFFIX_LENGTH;
    Assert(messageReceiverName.substr(cut) == " " + side + " button");
    _panelName = messageReceiverName.substr(0, cut);
    // The min side stops at the largest position, the max side at the smallest.
    _endReport = side == "min" ? "position maximal" : "position minimal";
}

void ScrollButtonControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    ButtonControl::OnMouseMove(event);
    if (_panelName.empty()) return;
    const std::string text = _side + (GetState() == PRESSED_STATE ? " pressed" : " not pressed");
    if (text == _lastPressText) return;
    _lastPressText = text;
    SendMessage(_panelName, text);
}

void ScrollButtonControl::OnMessage(std::string message) {
    if (!_endReport.empty() && message == _endReport) {
        if (!_isDisabledByPosition) {
            if (GetState() != DISABLED_STATE) SetDisabledState();
            _isDisabledByPosition = true;
        }
    } else if (!_endReport.empty() && message == "position not " + _endReport.substr(9)) {
        if (_isDisabledByPosition) {
            if (GetState() == DISABLED_STATE) SetNormalState();
            _isDisabledByPosition = false;
        }
    } else {
        MessageReceiver::OnMessage(message);
    }
}

ScrollDispatcherControl::ScrollDispatcherControl(const ObjectWeakPointer<Control>& parent,
                                                 const ObjectWeakPointer<XmlElement>& xml)
    : SingleChildControl(parent, xml), MessageReceiver(xml) {
    const ObjectWeakPointer<XmlElement> templates = GetNeededChild(xml, "templates");
    if (templates != NULL) {
        _normalTemplate = templates->GetStringAttribute("normal");
        _hiddenTemplate = templates->GetStringAttribute("hidden");
    }
    const std::string messageReceiverName = GetReceiverName();
    Assert(messageReceiverName.length() > DISPATCHER_SUFFIX_LENGTH);
    if (messageReceiverName.length() <= DISPATCHER_SUFFIX_LENGTH) return;
    const std::string panelName = messageReceiverName.substr(0, messageReceiverName.length() - DISPATCHER_SUFFIX_LENGTH);
    Assert(messageReceiverName == panelName + " button dispatcher");
    _minButtonName = panelName + " min button";
    _maxButtonName = panelName + " max button";
}

void ScrollDispatcherControl::Show(bool isShown) {
    if (_isShown == isShown) return;
    const ObjectWeakPointer<XmlElement> element = TemplateLib::GetTemplate(isShown ? _normalTemplate : _hiddenTemplate);
    if (element == NULL) return;  // reported by the registry
    CreateChild(element);
    _isShown = isShown;
}

void ScrollDispatcherControl::OnMessage(std::string message) {
    if (message == "pos min, max") {
        Show(false);
        return;
    }
    const char* toMax = nullptr;
    const char* toMin = nullptr;
    if (message == "pos min, not max") {
        toMax = "position minimal";
        toMin = "position not maximal";
    } else if (message == "pos not min, max") {
        toMax = "position not minimal";
        toMin = "position maximal";
    } else if (message == "pos not min, not max") {
        toMax = "position not minimal";
        toMin = "position not maximal";
    } else {
        MessageReceiver::OnMessage(message);
        return;
    }
    Show(true);
    SendMessage(_maxButtonName, toMax);
    SendMessage(_minButtonName, toMin);
}
