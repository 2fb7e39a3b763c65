#include "widgets/ContextHelpClientControl.h"

#include "content/TemplateLib.h"
#include "controls/ContextHelpServerControl.h"
#include "controls/MouseEvents.h"
#include "controls/PictureTexture.h"
#include "core/Assert.h"
#include "core/XmlElement.h"

ContextHelpClientControl::ContextHelpClientControl(const ObjectWeakPointer<Control>& parent,
                                                   const ObjectWeakPointer<XmlElement>& xml)
    : SingleChildControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> monitor = GetNeededChild(xml, "controlToMonitor");
    if (monitor != NULL) {
        CreateChild(monitor->GetFirstChildElement());
    }
    const ObjectWeakPointer<XmlElement> show = GetNeededChild(xml, "controlToShow");
    if (show != NULL) {
        _templateName = show->GetStringAttribute("templateName");
        const ObjectWeakPointer<XmlElement> helpTemplate = TemplateLib::GetTemplate(_templateName);
        if (helpTemplate != NULL) {
            TemplateLib::CheckFullyInstantiated(helpTemplate);
        }
    }
    const ObjectWeakPointer<XmlElement> times = GetNeededChild(xml, "times");
    if (times != NULL) {
        _times = ObjectSmartPointer<HelpTimes>(new HelpTimes(times));
    }
}

ContextHelpClientControl::~ContextHelpClientControl() {
    _times = nullptr;
    _templateName.clear();
}

ObjectWeakPointer<ContextHelpServerControl> ContextHelpClientControl::FindServer() {
    for (ObjectWeakPointer<Control> parent = GetParent(); parent != NULL; parent = parent->GetParent()) {
        if (parent.InstanceOf<ContextHelpServerControl>()) {
            return parent.Cast<ContextHelpServerControl>();
        }
    }
    if (!_isMissingServerReported) {
        _isMissingServerReported = true;
        ReportFailure("Assertion failed", "parent != NULL", __FILE__, __LINE__);
    }
    return ObjectWeakPointer<ContextHelpServerControl>();
}

void ContextHelpClientControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    const bool wasHandled = event->IsMouseHandled();
    const bool wasConfirmed = event->IsCaptureConfirmed();
    SingleChildControl::OnMouseMove(event);
    if (!event->IsMouseCaptured()) {
        if (!wasHandled && event->IsMouseHandled() && !_templateName.empty()) {
            const ObjectWeakPointer<ContextHelpServerControl> server = FindServer();
            if (server != NULL) {
                server->ShowHelp(_templateName, ObjectWeakPointer<Control>(this), _times);
            }
        }
    } else if (!wasConfirmed && event->IsCaptureConfirmed()) {
        const ObjectWeakPointer<ContextHelpServerControl> server = FindServer();
        if (server != NULL) {
            server->HideHelp(ObjectWeakPointer<Control>(this));
        }
    }
}

MRContextHelpClientControl::MRContextHelpClientControl(const ObjectWeakPointer<Control>& parent,
                                                       const ObjectWeakPointer<XmlElement>& xml)
    : ContextHelpClientControl(parent, xml), MessageReceiver(xml) {}

MRContextHelpClientControl::~MRContextHelpClientControl() = default;

void MRContextHelpClientControl::OnMessage(std::string message) {
    if (message == "hide help") {
        const ObjectWeakPointer<ContextHelpServerControl> server = FindServer();
        if (server != NULL) {
            server->SuppressHelp(ObjectWeakPointer<Control>(this));
        }
        return;
    }
    MessageReceiver::OnMessage(message);
}
