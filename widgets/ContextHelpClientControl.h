#pragma once
// Watches one control and asks the nearest help server above it for a help box while the pointer
// rests on that control; pressing the control takes the help away.

#include <string>

#include "content/CommonDefinitions.h"
#include "controls/SingleChildControl.h"
#include "core/MessageReceiver.h"

class ContextHelpServerControl;

class ContextHelpClientControl : public SingleChildControl {
public:
    // Children "controlToMonitor" (its first element is the watched control), "controlToShow"
    // (attribute "templateName") and "times" (HelpTimes).
    ContextHelpClientControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~ContextHelpClientControl() override;

    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;

    const std::string& GetTemplateName() const { return _templateName; }

protected:
    // The nearest server in the parent chain, looked up anew; empty (reported once) without one.
    ObjectWeakPointer<ContextHelpServerControl> FindServer();

private:
    std::string _templateName;
    ObjectSmartPointer<HelpTimes> _times;
    bool _isMissingServerReported = false;
};

// A help client that can be told by the message "hide help" to take its help away until the
// pointer has left the watched control.
class MRContextHelpClientControl : public ContextHelpClientControl, public MessageReceiver {
public:
    MRContextHelpClientControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~MRContextHelpClientControl() override;

    void OnMessage(std::string message) override;
};
