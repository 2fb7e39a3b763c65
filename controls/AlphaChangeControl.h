#pragma once
// Draws its children with an alpha that glides at a constant speed towards the value of the
// message "change alpha to " + value (speed 0: at once). Children keep their input.

#include <string>

#include "controls/FixedChildrenListControl.h"
#include "core/MessageReceiver.h"

class AlphaChangeControl : public FixedChildrenListControl, public MessageReceiver {
public:
    // Reads the attribute "start" (0.0 or 1.0, default 0) and the child "speed" ("value" >= 0).
    AlphaChangeControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~AlphaChangeControl() override;

    void Draw() override;
    void Update(float dt) override;
    void OnMessage(std::string message) override;

    float GetCurrentAlpha() const { return _currentAlpha; }
    float GetDestinationAlpha() const { return _destinationAlpha; }

private:
    float _currentAlpha = 0.0f;
    float _destinationAlpha = 0.0f;
    float _speed = 0.0f;
};
