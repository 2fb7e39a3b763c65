#pragma once
// Diagnosis and start-up feedback: the frame rate counter, the developer's time scale keys with
// their label, and the loading bar filled by the load steps of the previous start.

#include <string>
#include <vector>

#include "controls/Control.h"
#include "controls/SingleTextureControl.h"
#include "core/PermanentStorage.h"
#include "core/PermanentVariable.h"

class FpsControl : public MouseTransparentControl {
public:
    // "variable" ("name", "defaultValue"): Global bool that shows the counter; "font" ("name").
    FpsControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~FpsControl() override;

    void Draw() override;
    void Update(float dt) override;

    const std::string& GetFpsText() const { return _fpsText; }
    float GetThisSecondTime() const { return _thisSecondTime; }

private:
    ObjectSmartPointer<PermanentVariableOrDef<Global, bool>> _variable;
    std::string _fontName;
    std::string _fpsText;
    int _frameCount = 0;
    float _thisSecondTime = 0.0f;
};

class TimeScaleControl : public Control {
public:
    static constexpr int PAUSE_KEY = 0x13;
    static constexpr int SCROLL_LOCK_KEY = 0x91;

    // "font" ("name"); "scales": every attribute a scale, the first 1.0.
    TimeScaleControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~TimeScaleControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    // Pause steps through the scales up to 1, Scroll Lock through those from 1, when "dev" is set.
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;

    int GetScaleIndex() const { return _scaleIndex; }

private:
    // The next index whose scale passes; the same index when none does within one cycle.
    int NextIndex(bool slower) const;

    ObjectSmartPointer<PermanentVariableOrDef<Global, float>> _variable;
    std::vector<std::string> _scales;
    int _scaleIndex = 0;
    std::string _fontName;
};

class StartupProgressControl : public SingleTextureControl {
public:
    static const char* const TOTAL_NAME;

    // The base's "texture"; the total is the Global int "Number of UpdateLoadScreen calls".
    StartupProgressControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~StartupProgressControl() override;

    void Draw() override;
    void Update(float dt) override;

    int GetUpdateCount() const { return _updateCount; }
    // The stored total; below 1 counts as 1.
    int GetTotal();

private:
    int _updateCount = 0;
    ObjectSmartPointer<PermanentVariableOrDef<Global, int>> _total;
};
