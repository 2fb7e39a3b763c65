#pragma once
// The horizontal and vertical scroll panels, their min and max buttons that grey out at the ends,
// and the button dispatcher that shows or hides a whole button set by the panel's reports.

#include <string>

#include "controls/ButtonControl.h"
#include "controls/CommonScrollPanelControl.h"
#include "controls/SingleChildControl.h"
#include "core/MessageReceiver.h"

class HScrollPanelControl : public CommonScrollPanelControl {
public:
    HScrollPanelControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    void SetPosition(int pos) override;
};

class VScrollPanelControl : public CommonScrollPanelControl {
public:
    VScrollPanelControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    void SetPosition(int pos) override;
    // Adds "set Y " + y (moves the control only, not the stored position).
    void OnMessage(std::string message) override;
    // Answers "get Y" with the control's y.
    std::string OnMessageReply(std::string message) override;
};

// A scroll button: tells the panel while it is pressed, goes disabled at its end of the range.
class ScrollButtonControl : public ButtonControl, public MessageReceiver {
public:
    // side: "min" or "max"; the receiver name must be the panel's name + " <side> button".
    ScrollButtonControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml,
                        const std::string& side);

    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void OnMessage(std::string message) override;

    std::string GetPanelName() const { return _panelName; }
    bool IsDisabledByPosition() const { return _isDisabledByPosition; }

private:
    std::string _panelName;
    std::string _side;
    std::string _endReport;
    bool _isDisabledByPosition = false;
    std::string _lastPressText;
};

class MinScrollButtonControl : public ScrollButtonControl {
public:
    MinScrollButtonControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
        : ScrollButtonControl(parent, xml, "min") {}
};

class MaxScrollButtonControl : public ScrollButtonControl {
public:
    MaxScrollButtonControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
        : ScrollButtonControl(parent, xml, "max") {}
};

// Shows the normal button set while the panel can move, the hidden one while it cannot.
class ScrollDispatcherControl : public SingleChildControl, public MessageReceiver {
public:
    ScrollDispatcherControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    void OnMessage(std::string message) override;

    bool IsShown() const { return _isShown; }

private:
    void Show(bool isShown);

    bool _isShown = false;
    std::string _normalTemplate;
    std::string _hiddenTemplate;
    std::string _minButtonName;
    std::string _maxButtonName;
};
