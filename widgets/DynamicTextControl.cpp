#include "widgets/DynamicTextControl.h"

#include <algorithm>
#include <cmath>

#include "content/ResourceManager.h"
#include "content/TemplateLib.h"
#include "core/ContentValues.h"
#include "core/Assert.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"

namespace {

constexpr float MAX_STEP = 0.1f;
const float Z_AXIS[3] = {0.0f, 0.0f, 1.0f};

template <class T>
ObjectSmartPointer<T> OptionalCurve(const ObjectWeakPointer<XmlElement>& xml, const char* name) {
    const ObjectWeakPointer<XmlElement> child = xml->GetFirstChildElement(name);
    if (child == NULL) return ObjectSmartPointer<T>();
    return ObjectSmartPointer<T>(new T(child));
}

// A phase of no length (or no number) is reported and passes in a moment; one of more than an
// hour lasts an hour.
ObjectSmartPointer<FlarePosition> Phase(float length) {
    Assert(length > 0.0f);
    if (!(length > 0.0f)) length = 0.001f;
    length = CHECKED_FLOAT(length, 0.0f, MAX_CONTENT_SECONDS, 1.0f, "length <= 3600.0f");
    return ObjectSmartPointer<FlarePosition>(new FlarePosition(length, true, 0.0f, 0.0f, 0.0f));
}

}  // namespace

DynamicTextControl::DynamicTextControl(const ObjectWeakPointer<Control>& parent,
                                       const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {
    _pause = CHECKED_FLOAT(xml->GetFloatAttributeOrDef("pause", 0.0f), 0.0f, MAX_CONTENT_SECONDS, 0.0f,
                           "0.0f <= _pause && _pause <= 3600.0f");
    _showScale = OptionalCurve<ScaleChanger>(xml, "showScaleSpline");
    _hideScale = OptionalCurve<ScaleChanger>(xml, "hideScaleSpline");
    _showAngle = OptionalCurve<AngleChanger>(xml, "showAngleSpline");
    _hideAngle = OptionalCurve<AngleChanger>(xml, "hideAngleSpline");
    _moveIn = InPlacePath(xml->GetFirstChildElement("moveIn"));
    _alphaCurve = OptionalCurve<AlphaChanger>(xml, "alphaSpline");

    const ObjectWeakPointer<XmlElement> div = xml->GetFirstChildElement("div");
    Assert(div != NULL);
    if (div != NULL) {
        _fontName = div->GetStringAttribute("fontName");
        ObjectWeakPointer<XmlElement> source = div;
        if (div->HasAttribute("resourceName")) source = TemplateLib::GetTemplate(div->GetStringAttribute("resourceName"));
        const ObjectWeakPointer<XmlElement> lineXml = source == NULL ? source : source->GetFirstChildElement("line");
        Assert(lineXml != NULL);
        for (ObjectWeakPointer<XmlElement> line = lineXml; line != nullptr; line = line->GetNextElement()) {
            _lines.push_back(line->HasAttribute("resourceName")
                                 ? ResourceManager::GetString(line->GetStringAttribute("resourceName"))
                                 : line->GetText());
        }
    }

    if (_alphaCurve != NULL && !_alphaCurve->_value.keys.empty()) {
        _timedPhase = Phase(xml->GetFloatAttribute("time"));
    } else {
        _showPhase = Phase(xml->GetFloatAttribute("start"));
        _idlePhase = Phase(xml->GetFloatAttribute("idle"));
        _hidePhase = Phase(xml->GetFloatAttribute("finish"));
    }
    _fontHeight = Render::fonts.GetFontHeight(_fontName);
}

DynamicTextControl::~DynamicTextControl() = default;

// A finished one-shot timer can stop at exactly 0 remaining, which still counts as flaring; the
// done flag ends the phase there too.
bool DynamicTextControl::Runs(const ObjectSmartPointer<FlarePosition>& phase) {
    return phase != NULL && phase->IsFlaring() && !phase->_done;
}

int DynamicTextControl::GetPhase() const {
    if (IsSinglePhase()) return Runs(_timedPhase) ? 0 : 3;
    if (Runs(_showPhase)) return 0;
    if (Runs(_idlePhase)) return 1;
    if (Runs(_hidePhase)) return 2;
    return 3;
}

float DynamicTextControl::GetProgress() const {
    switch (GetPhase()) {
        case 0: return IsSinglePhase() ? _timedPhase->GetProgress() : _showPhase->GetProgress();
        case 1: return _idlePhase->GetProgress();
        case 2: return _hidePhase->GetProgress();
        default: return 1.0f;
    }
}

void DynamicTextControl::Update(float dt) {
    dt = std::min(dt, MAX_STEP);
    if (_pause > 0.0f) {
        _pause -= dt;
        return;
    }
    if (IsSinglePhase()) {
        if (Runs(_timedPhase)) _timedPhase->Update(dt);
        return;
    }
    if (Runs(_showPhase)) {
        _showPhase->Update(dt);
    } else if (Runs(_idlePhase)) {
        _idlePhase->Update(dt);
    } else if (Runs(_hidePhase)) {
        _hidePhase->Update(dt);
    }
}

void DynamicTextControl::DrawLines() {
    for (std::size_t i = 0; i < _lines.size(); ++i) {
        Render::fonts.DrawString(FPoint(0.0f, -static_cast<float>(i) * _fontHeight), _lines[i], 1.0f, 2, true);
    }
}

// Scales, turns about the vertical centre of the block, then draws.
void DynamicTextControl::DrawTurned(float p, const ScaleChanger* scale, const AngleChanger* angle) {
    const float s = scale == NULL ? 1.0f : scale->GetScale(p);
    const float a = angle == NULL ? 0.0f : angle->GetAngle(p);
    const float c = static_cast<float>(static_cast<int>(_lines.size()) - 1) * _fontHeight * s * 0.5f;
    Render::device.MatrixTranslate(0.0f, -c, 0.0f);
    Render::device.MatrixRotate(Z_AXIS, a);
    Render::device.MatrixTranslate(0.0f, c, 0.0f);
    Render::device.MatrixScaleUniform(s);
    DrawLines();
}

void DynamicTextControl::Draw() {
    const int phase = GetPhase();
    if (phase == 3 && !IsSinglePhase()) return;
    const Point position = GetAbsolutePos();
    Render::device.PushMatrix();
    Render::device.MatrixTranslate(static_cast<float>(position.x),
                                   static_cast<float>(position.y) - std::round(1.5f * _fontHeight), 0.0f);
    Render::fonts.SetFont(_fontName);
    if (IsSinglePhase()) {
        const float p = _timedPhase->GetProgress();
        Render::device.PushAlpha(std::min(1.0f, std::max(0.0f, _alphaCurve->GetAlpha(p))));
        Render::device.MatrixScaleUniform(_showScale == NULL ? 1.0f : _showScale->GetScale(p));
        DrawLines();
        Render::device.PopAlpha();
    } else if (phase == 0) {
        const float p = _showPhase->GetProgress();
        Render::device.PushAlpha(p);
        const FPoint offset = _moveIn.GetPosition(p);
        Render::device.MatrixTranslate(offset._x, offset._y, 0.0f);
        DrawTurned(p, _showScale.Get(), _showAngle.Get());
        Render::device.PopAlpha();
    } else if (phase == 1) {
        DrawLines();
    } else {
        const float p = _hidePhase->GetProgress();
        Render::device.PushAlpha(1.0f - p);
        DrawTurned(p, _hideScale.Get(), _hideAngle.Get());
        Render::device.PopAlpha();
    }
    Render::device.PopMatrix();
}
