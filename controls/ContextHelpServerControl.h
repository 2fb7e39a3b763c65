#pragma once
// The container under which context help shows: help clients below it ask for their help on every
// pointer move; it builds the help from the client's template, times its appearance and fades it in.

#include <string>

#include "content/CommonDefinitions.h"
#include "controls/FixedChildrenListControl.h"
#include "core/Point.h"

class ContextHelpServerControl : public FixedChildrenListControl {
public:
    ContextHelpServerControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~ContextHelpServerControl() override;

    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;

    // A client under the pointer asks for its help; once per move.
    void ShowHelp(const std::string& templateName, const ObjectWeakPointer<Control>& client,
                  const ObjectWeakPointer<HelpTimes>& times);
    // The client's watched control has just taken the mouse (pressed).
    void HideHelp(const ObjectWeakPointer<Control>& client);
    // The client's requests are ignored until a move in which it does not ask.
    void SuppressHelp(const ObjectWeakPointer<Control>& client);

    ObjectWeakPointer<Control> GetHelp() const { return _help; }
    // Seconds the help has been fading in or showing; 0 while it waits or none exists.
    float GetTime() const { return _time; }
    float GetHoverTime() const { return _hoverTime; }
    float GetTimeSinceHidden() const { return _timeSinceHidden; }
    bool IsHelpVisible() const { return _help != NULL && _time > 0.0f; }

private:
    ObjectSmartPointer<Control> _help;
    float _time = 0.0f;
    float _speed = 6.0f;
    std::string _newTemplateName;
    ObjectWeakPointer<Control> _client;
    ObjectWeakPointer<HelpTimes> _helpTimes;
    float _timeSinceHidden = 1000.0f;
    Point _lastMousePos;
    float _hoverTime = 0.0f;
    // Clients are held weakly and compared by identity only, so a removed one never dangles.
    ObjectWeakPointer<Control> _suppressedClient;
    ObjectWeakPointer<Control> _inactiveParent;
};
