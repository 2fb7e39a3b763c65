#pragma once
// Hosts at most one dialog: builds it from a template on command, fades it in over a black veil,
// keeps all input from the controls behind it while it exists, fades it out and destroys it on
// "hide".

#include <string>

#include "controls/Control.h"
#include "core/MessageReceiver.h"

class ModalDialogControl : public Control, public MessageReceiver {
public:
    enum MouseState { MOUSE_FREE, MOUSE_CAPTURED_BY_THIS, MOUSE_CAPTURED_BY_A_CHILD };
    enum ShowingState { STATE_INVISIBLE, STATE_STARTING, STATE_SHOWING, STATE_HIDING };

    ModalDialogControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~ModalDialogControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;

    void OnMessage(std::string message) override;
    std::string OnMessageReply(std::string message) override;

    ShowingState GetShowingState() const { return _showingState; }
    MouseState GetMouseState() const { return _mouseState; }
    float GetTime() const { return _time; }
    ObjectWeakPointer<Control> GetRootControl() const { return _rootControl; }

private:
    void Show(const ObjectWeakPointer<XmlElement>& element);
    void Hide();
    // Drops the dialog's controls; a call into them that is under way keeps them alive to its end.
    void Vanish();
    static void MarkHandled(const ObjectWeakPointer<MouseMoveEvent>& event);

    MouseState _mouseState = MOUSE_FREE;
    ShowingState _showingState = STATE_INVISIBLE;
    float _time = 0.0f;
    float _startingTime = 0.0f;
    float _hidingTime = 0.0f;
    int _maxBlackAlpha = 100;
    ObjectSmartPointer<Control> _rootControl;
    ObjectSmartPointer<XmlElement> _currentTemplate;
};
