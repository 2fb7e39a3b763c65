#pragma once
// Adds the time during which it exists to a Local float value named in its element, and may write
// a log line when it is made and when it goes ("betaLog" only).

#include <string>

#include "controls/Control.h"
#include "core/Variable.h"

class SimpleTimeCounter : public MouseTransparentControl {
public:
    // Children "variable" ("name", "defaultValue") and "logMessages" ("onCreate", "onDestroy").
    SimpleTimeCounter(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~SimpleTimeCounter() override;

    void Draw() override {}
    void Update(float dt) override;

private:
    ObjectSmartPointer<Variable<float>> _variable;
    std::string _onDestroyMessage;
    // The stored value when counting (re)started, the time since then, and the value last written:
    // another value in the store (a player change, another writer) starts counting from it again.
    float _base = 0.0f;
    double _elapsed = 0.0;
    float _lastWritten = 0.0f;
    bool _isCounting = false;
};
