#include "widgets/DiagnosticControls.h"

#include <algorithm>

#include "core/ContentValues.h"
#include "controls/MouseEvents.h"
#include "core/Assert.h"
#include "core/Float.h"
#include "core/Int.h"
#include "core/XmlAttribute.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"

namespace {

std::string ChildString(const ObjectWeakPointer<XmlElement>& xml, const char* child, const char* attribute) {
    const ObjectWeakPointer<XmlElement> element = xml->GetFirstChildElement(child);
    Assert(element != NULL);
    return element == NULL ? std::string() : element->GetStringAttribute(attribute);
}

}  // namespace

FpsControl::FpsControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> variable = xml->GetFirstChildElement("variable");
    Assert(variable != NULL);
    if (variable != NULL) {
        _variable = ObjectSmartPointer<PermanentVariableOrDef<Global, bool>>(new PermanentVariableOrDef<Global, bool>(variable->GetStringAttribute("name"),
                                                                  variable->GetBoolAttribute("defaultValue")));
    }
    _fontName = ChildString(xml, "font", "name");
}

FpsControl::~FpsControl() = default;

void FpsControl::Update(float dt) {
    Assert(0.0f <= _thisSecondTime && _thisSecondTime < 1.0f);
    Assert(dt > 0.0f);
    _thisSecondTime += dt;
    if (_thisSecondTime >= 1.0f) {
        _fpsText = Int::ToString(_frameCount);
        _frameCount = 0;
        while (_thisSecondTime >= 1.0f) _thisSecondTime -= 1.0f;
        Assert(0.0f <= _thisSecondTime && _thisSecondTime < 1.0f);
    }
    ++_frameCount;
}

void FpsControl::Draw() {
    if (_variable == NULL || !_variable->GetValue()) return;
    Render::fonts.SetFont(_fontName);
    const Point position = GetAbsolutePos();
    Render::fonts.DrawString(position.x, position.y, _fpsText, 1.0f, 1, false);
}

TimeScaleControl::TimeScaleControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : Control(parent, xml),
      _variable(new PermanentVariableOrDef<Global, float>("temp:Time scale", 1.0f)) {
    _fontName = ChildString(xml, "font", "name");
    const ObjectWeakPointer<XmlElement> scales = xml->GetFirstChildElement("scales");
    Assert(scales != NULL);
    if (scales != NULL) {
        for (ObjectWeakPointer<XmlAttribute> a = scales->GetFirstAttribute(); a != nullptr; a = a->GetNextAttribute()) {
            const float scale = Float::Parse(a->GetValue());
            Assert(scale > 0.0f);
            // The main loop multiplies every frame's time by it: a scale that is no positive number
            // of sense is left out.
            if (!(scale > 0.0f)) continue;
            if (!CHECK_ONCE(scale <= 100.0f, "scale <= 100.0f")) continue;
            _scales.push_back(a->GetValue());
        }
    }
    Assert(_scales.size() > 0);
    if (!_scales.empty()) Assert(Float::Parse(_scales[0]) == 1.0f);
}

TimeScaleControl::~TimeScaleControl() = default;

void TimeScaleControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent>) {}
void TimeScaleControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent>) {}
void TimeScaleControl::Update(float) {}

int TimeScaleControl::NextIndex(bool slower) const {
    const int n = static_cast<int>(_scales.size());
    int index = _scaleIndex;
    for (int step = 0; step < n; ++step) {
        index = (index + 1) % n;
        const float scale = Float::Parse(_scales[static_cast<std::size_t>(index)]);
        if (slower ? scale <= 1.0f : scale >= 1.0f) return index;
    }
    return _scaleIndex;
}

void TimeScaleControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    if (event == NULL || !event.InstanceOf<KeyDownEvent>()) return;
    const ObjectWeakPointer<KeyDownEvent> key = event.Cast<KeyDownEvent>();
    if (key->IsKeyHandled()) return;
    const int code = key->GetKey();
    if (code != PAUSE_KEY && code != SCROLL_LOCK_KEY) return;
    if (!PermanentStorage::GetGlobalBoolOrDef("dev", true) || _scales.empty()) return;
    _scaleIndex = NextIndex(code == PAUSE_KEY);
    _variable->SetValue(Float::Parse(_scales[static_cast<std::size_t>(_scaleIndex)]));
    key->SetKeyHandled();
}

void TimeScaleControl::Draw() {
    if (_scaleIndex <= 0) return;
    Render::fonts.SetFont(_fontName);
    const Point position = GetAbsolutePos();
    Render::fonts.DrawString(position.x, position.y, "time scale " + _scales[static_cast<std::size_t>(_scaleIndex)],
                             1.0f, 1, false);
}

const char* const StartupProgressControl::TOTAL_NAME = "Number of UpdateLoadScreen calls";

StartupProgressControl::StartupProgressControl(const ObjectWeakPointer<Control>& parent,
                                               const ObjectWeakPointer<XmlElement>& xml)
    : SingleTextureControl(parent, xml), _total(new PermanentVariableOrDef<Global, int>(TOTAL_NAME, 1)) {}

StartupProgressControl::~StartupProgressControl() = default;

int StartupProgressControl::GetTotal() { return std::max(1, _total->GetValue()); }

void StartupProgressControl::Update(float) {
    Assert(_updateCount >= 0);
    ++_updateCount;
    Assert(_updateCount > 0);
    _updateCount = std::min(_updateCount, GetTotal());
}

void StartupProgressControl::Draw() {
    if (_texture == NULL) return;
    const Rect picture = _texture->GetRectangle();
    const int width = static_cast<int>(static_cast<long long>(_updateCount) * picture.width / GetTotal());
    if (width <= 0) return;
    const Point position = GetAbsolutePos();
    Render::device.PushClipRect(Rect(position.x, position.y, width, picture.height), CLIP_RIGHT);
    _texture->Draw(position);
    Render::device.PopClipRect();
}
