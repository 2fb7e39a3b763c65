#pragma once
// A block of text lines that animates by itself once built: after a pause it flies in, stays and
// leaves (show, idle, hide), or runs one timed phase whose alpha follows a curve.

#include <string>
#include <vector>

#include "content/MotionChangers.h"
#include "content/MotionFlare.h"
#include "controls/Control.h"
#include "widgets/InPlacePath.h"

class DynamicTextControl : public MouseTransparentControl {
public:
    // Attribute "pause"; curves "showScaleSpline", "hideScaleSpline", "showAngleSpline",
    // "hideAngleSpline", "alphaSpline" and the path "moveIn"; "div" with "fontName" and the lines
    // ("line" elements, or those of the template named by "resourceName"); "start", "idle" and
    // "finish", or "time" when there is an alpha curve.
    DynamicTextControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~DynamicTextControl() override;

    void Draw() override;
    void Update(float dt) override;

    bool IsSinglePhase() const { return _timedPhase != nullptr; }
    float GetPause() const { return _pause; }
    // 0 show, 1 idle, 2 hide, 3 done; the single-phase form gives 0 while timed, then 3.
    int GetPhase() const;
    // Progress of the running phase (of the show phase while waiting); 1 when done.
    float GetProgress() const;
    const std::vector<std::string>& GetLines() const { return _lines; }

private:
    static bool Runs(const ObjectSmartPointer<FlarePosition>& phase);
    void DrawTurned(float p, const ScaleChanger* scale, const AngleChanger* angle);
    void DrawLines();

    ObjectSmartPointer<FlarePosition> _showPhase;
    ObjectSmartPointer<FlarePosition> _idlePhase;
    ObjectSmartPointer<FlarePosition> _hidePhase;
    std::string _fontName;
    std::vector<std::string> _lines;
    ObjectSmartPointer<ScaleChanger> _showScale;
    ObjectSmartPointer<ScaleChanger> _hideScale;
    ObjectSmartPointer<AngleChanger> _showAngle;
    ObjectSmartPointer<AngleChanger> _hideAngle;
    InPlacePath _moveIn;
    ObjectSmartPointer<AlphaChanger> _alphaCurve;
    float _pause = 0.0f;
    ObjectSmartPointer<FlarePosition> _timedPhase;
    int _fontHeight = 0;
};
