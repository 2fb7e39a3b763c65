#include "controls/ContextHelpServerControl.h"

#include "content/TemplateLib.h"
#include "controls/ControlFactory.h"
#include "controls/MouseEvents.h"
#include "core/Assert.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"

namespace {

bool IsSame(const ObjectWeakPointer<Control>& a, const ObjectWeakPointer<Control>& b) {
    return a.AsObjectAddress() == b.AsObjectAddress();
}

bool IsAlive(const ObjectWeakPointer<HelpTimes>& times) {
    return times != NULL && times.GetLinkInfo() != nullptr && times.GetLinkInfo()->_hardLinkCount >= 0;
}

}  // namespace

ContextHelpServerControl::ContextHelpServerControl(const ObjectWeakPointer<Control>& parent,
                                                   const ObjectWeakPointer<XmlElement>& xml)
    : FixedChildrenListControl(parent, xml) {}

ContextHelpServerControl::~ContextHelpServerControl() { _help = nullptr; }

void ContextHelpServerControl::ShowHelp(const std::string& templateName, const ObjectWeakPointer<Control>& client,
                                        const ObjectWeakPointer<HelpTimes>& times) {
    Assert(!templateName.empty());
    Assert(_newTemplateName.empty());
    if (templateName.empty() || !_newTemplateName.empty()) {
        return;
    }
    _newTemplateName = templateName;
    _client = client;
    _helpTimes = times;
}

// The client is the "parent" of the help it asked for.
void ContextHelpServerControl::HideHelp(const ObjectWeakPointer<Control>& parent) {
    Assert(_inactiveParent == NULL);
    Assert(parent != NULL);
    _inactiveParent = parent;
}

void ContextHelpServerControl::SuppressHelp(const ObjectWeakPointer<Control>& parent) {
    Assert(parent != NULL);
    _suppressedClient = parent;
}

void ContextHelpServerControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    const std::string previousName = _newTemplateName;
    const ObjectWeakPointer<Control> previousClient = _client;
    _newTemplateName.clear();
    _client = nullptr;
    _helpTimes = nullptr;
    _inactiveParent = nullptr;

    FixedChildrenListControl::OnMouseMove(event);

    Assert(!event->IsMouseCaptured() || _newTemplateName.empty());

    if (_client != NULL && !IsSame(_client, _suppressedClient)) {
        _suppressedClient = nullptr;
    }
    if (!IsSame(_suppressedClient, _client) && !IsSame(_suppressedClient, _inactiveParent)) {
        _suppressedClient = nullptr;
    }
    if (IsSame(_suppressedClient, _client)) {
        _newTemplateName.clear();
        _client = nullptr;
        _helpTimes = nullptr;
    }

    if (_newTemplateName != previousName || !IsSame(_client, previousClient)) {
        if (!previousName.empty() && _time > 0.0f) {
            _timeSinceHidden = 0.0f;
        }
        _help = nullptr;
        if (!_newTemplateName.empty()) {
            const ObjectWeakPointer<XmlElement> xml = TemplateLib::GetTemplate(_newTemplateName);
            if (xml != NULL) {
                TemplateLib::CheckFullyInstantiated(xml);
                // The template is built again for every help: clear the read marks of the whole tree.
                xml->ResetVisitedTree();
                _help = ControlFactory::CreateControl(ObjectWeakPointer<Control>(this), xml);
                xml->CheckVisited();
            }
        }
        _time = 0.0f;
    }

    const Point mousePos = event->GetMousePos();
    if (mousePos.x != _lastMousePos.x || mousePos.y != _lastMousePos.y) {
        _hoverTime = 0.0f;
        _lastMousePos = mousePos;
    }

    if (_help != NULL && _time > 0.0f) {
        const ObjectSmartPointer<Control> help = _help;
        help->OnMouseMove(event);
    }
}

void ContextHelpServerControl::Draw() {
    FixedChildrenListControl::Draw();
    if (_help == NULL || _time <= 0.0f) {
        return;
    }
    Assert(_speed > 0);
    const float alpha = _speed * _time;
    if (alpha >= 1.0f) {
        _help->Draw();
    } else {
        Render::device.PushAlpha(alpha);
        _help->Draw();
        Render::device.PopAlpha();
    }
}

void ContextHelpServerControl::Update(float dt) {
    Assert(dt > 0.0f);
    _timeSinceHidden += dt;
    _hoverTime += dt;
    if (_help != NULL) {
        bool grows = _time > 0.0f;
        if (IsAlive(_helpTimes)) {
            grows = grows || _hoverTime >= _helpTimes->GetInitialTime() ||
                    _timeSinceHidden <= _helpTimes->GetReshowTime();
        }
        if (grows) {
            _time += dt;
            Assert(_time > 0.0f);
        }
    }
    FixedChildrenListControl::Update(dt);
}
