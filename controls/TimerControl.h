#pragma once
// Adds the time during which it exists to the active player's "Player in game time".

#include "controls/Control.h"
#include "core/PlayerChangeListener.h"

class TimerControl : public MouseTransparentControl, public PlayerChangeListener {
public:
    TimerControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~TimerControl() override;

    void Draw() override {}
    void Update(float dt) override;

    void BeforePlayerChange() override;
    void AfterPlayerChange() override;

    double GetTime() const { return _time; }

private:
    // Seconds since the last player change; a double, so hours of small steps do not drift.
    double _time = 0.0;
};
