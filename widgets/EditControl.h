#pragma once
// The single-line text entry: one line centred on its position with a blinking cursor, typed
// characters (single Windows-1251 bytes), six editing keys and the mouse to place the cursor.
// Owners set and read the text by messages ("set value ", "get value"); nothing is stored.

#include <string>

#include "controls/Control.h"
#include "core/Color.h"
#include "core/MessageReceiver.h"
#include "core/MousePosRememberer.h"

class KeyDownEvent;
class CharEvent;

class EditControl : public Control, public MessageReceiver, public MousePosRememberer {
public:
    EditControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~EditControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    // Also key-down and character events.
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;

    void OnMessage(std::string message) override;
    std::string OnMessageReply(std::string message) override;

    const std::string& GetValue() const { return _value; }
    unsigned int GetCursorPos() const { return _cursorPos; }
    bool IsCursorEnabled() const { return _isCursorEnabled; }
    const std::string& GetDisallowedSymbols() const { return _disallowedSymbols; }
    // The cursor's opacity now: 0 at the start of a blink cycle, 1 in its middle.
    float GetCursorAlpha() const;

private:
    bool IsMouseInside();
    void SetCursorByMouse();
    void OnKeyDown(const ObjectWeakPointer<KeyDownEvent>& event);
    void OnChar(const ObjectWeakPointer<CharEvent>& event);
    // Width of the text in the box's font at scale 1; 0 without the font.
    int TextWidth(const std::string& text) const;
    int FontHeight() const;
    void CheckCursor() const;

    int _width = 0;
    std::string _fontName;
    std::string _value;
    unsigned int _cursorPos = 0;
    float _cursorTime = 0.0f;
    float _blinkPeriod = 1.0f;
    int _cursorWidth = 0;
    Color _cursorColor = Color(255, 255, 255, 255);
    bool _isCursorEnabled = true;
    bool _isMouseCapturedByThis = false;
    std::string _disallowedSymbols;
    bool _hasFont = false;
    bool _isMousePosKnown = false;
};
