#pragma once
// The developer demo of the match-three effects: every effect of the field and the statistics
// screen, started on a fixed schedule that repeats, each under its name. With "seed" the random
// generator is seeded when the control is made, so headless runs show the same frames.

#include <functional>
#include <string>
#include <vector>

#include "content/EffectCollection.h"
#include "controls/Control.h"

class Match3EffectsDemoControl : public MouseTransparentControl {
public:
    // Attributes: "period" (seconds, default 2.0) and "seed" (optional).
    Match3EffectsDemoControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    void Update(float dt) override;
    void Draw() override;

private:
    struct Start {
        float time = 0.0f;
        std::function<void()> make;
    };
    struct Label {
        int x = 0;
        int y = 0;
        std::string text;
    };

    void BuildSchedule();
    void Add(int layer, EffectBase* effect);

    EffectCollection _effects;
    std::vector<Start> _schedule;
    std::vector<Label> _labels;
    std::size_t _next = 0;
    float _clock = 0.0f;
    float _period = 2.0f;
};
