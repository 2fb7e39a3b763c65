#pragma once
// Full-screen black veils: DarkeningControl fades from clear to black in half a second and then
// sends its message; BrighteningControl fades from black to clear. Neither touches input.

#include <string>

#include "controls/Control.h"

class DarkeningControl : public MouseTransparentControl {
public:
    // Reads the child "message" with its attributes "value" and "receiver".
    DarkeningControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~DarkeningControl() override;

    void Draw() override;
    void Update(float dt) override;

    // The veil's opacity now.
    float GetAlpha() const;

private:
    std::string _message;
    std::string _receiver;
    const float CHANGE_TIME = 0.5f;
    float _time = 0.0f;
};

class BrighteningControl : public MouseTransparentControl {
public:
    BrighteningControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~BrighteningControl() override;

    void Draw() override;
    void Update(float dt) override;

    float GetAlpha() const;

private:
    const float CHANGE_TIME = 0.5f;
    float _time = 0.0f;
};

// Draws the 800 x 600 black veil at the given lower-left corner with the given opacity.
void DrawVeil(const Point& corner, float alpha);
