#include "aquarium/ShopMoneyControls.h"

#include <algorithm>
#include <cmath>

#include "content/FloatingTextEffect.h"
#include "content/ResourceManager.h"
#include "content/TemplateLib.h"
#include "core/Assert.h"
#include "core/Int.h"
#include "core/PermanentStorage.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"

namespace {

std::string MoneyString(const std::string& name) {
    return ResourceManager::HasString(name) ? ResourceManager::GetString(name) : std::string();
}

}  // namespace

// MoneyControl.

MoneyControl::MoneyControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> options = xml->GetFirstChildElement("options");
    _value = ObjectSmartPointer<Variable<int>>(
        new PermanentVariable<Local, int>(options->GetStringAttribute("variableName")));
    _oldValueName = options->GetStringAttribute("oldValueStoreTo");
    _font = options->GetStringAttribute("font");
    if (options->HasAttribute("prefixResourceName")) {
        Assert(options->GetStringAttribute("prefixResourceName") == "MoneyPrefix");
    }
    const ObjectWeakPointer<XmlElement> counting = xml->GetFirstChildElement("CountingFlare");
    const int value = _value->GetValue();
    if (PermanentStorage::IsLocalNameDefined(_oldValueName) && value > PermanentStorage::GetLocalInt(_oldValueName)) {
        _timer = ObjectSmartPointer<FlarePosition>(new FlarePosition(counting));
        _timer->_sound = "counter";
        _start = _shown = PermanentStorage::GetLocalInt(_oldValueName);
    } else {
        if (counting != NULL) counting->MarkVisitedTree();
        _start = _shown = value;
        PermanentStorage::SetLocalInt(_oldValueName, value);
    }
}

MoneyControl::~MoneyControl() {
    if (PermanentStorage::IsLoaded()) PermanentStorage::SetLocalInt(_oldValueName, _value->GetValue());
}

void MoneyControl::Update(float dt) {
    const int value = _value->GetValue();
    if (_timer != NULL) {
        _timer->Update(dt);
        if (_timer->_done) {
            _start = value;
            _shown = value;
            PermanentStorage::SetLocalInt(_oldValueName, value);
            _timer = nullptr;
        } else if (_timer->IsFlaring()) {
            const double p = _timer->GetProgress();
            _shown = _start + static_cast<int>(std::round(static_cast<double>(value - _start) * p));
        }
    } else if (value != _start) {
        _timer = ObjectSmartPointer<FlarePosition>(new FlarePosition(0.5f, true, 0.0f, 0.0f, 0.0f));
        _shown = _start;
    }
}

int MoneyControl::GetShownNumber() {
    if (_timer != NULL && !_timer->_done) return _shown;
    return _value->GetValue();
}

std::string MoneyControl::GetText(int number) {
    return MoneyString("MoneyPrefix") + Int::ToString(number) + MoneyString("MoneySuffix");
}

void MoneyControl::Draw() {
    const std::string text = GetText(GetShownNumber());
    const Point p = GetAbsolutePos();
    Render::fonts.SetFont(_font);
    Render::fonts.DrawString(p.x, p.y, text, 1.0f, 2, false);
    if (IsFlaring()) {
        const float q = _timer->GetProgress() - 0.5f;
        Render::device.SetBlendMode(2);
        Render::device.PushAlpha(4.0f * (0.25f - q * q));
        Render::fonts.DrawString(p.x, p.y, text, 1.0f, 2, false);
        Render::device.PopAlpha();
        Render::device.SetBlendMode(0);
    }
}

// MoneyEffectControl.

namespace {
const char* const TEXT_FONT = "money23";
constexpr float TEXT_RISE = 20.0f;
constexpr float TEXT_SCALE = 1.5f;
}  // namespace

MoneyEffectControl::MoneyEffectControl(const ObjectWeakPointer<Control>& parent,
                                       const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml), MessageReceiver(xml) {}

MoneyEffectControl::~MoneyEffectControl() { _effects.Clear(); }

void MoneyEffectControl::OnMessage(std::string message) {
    const std::string::size_type firstCommaPos = message.find(',');
    const std::string::size_type secondCommaPos =
        firstCommaPos == std::string::npos ? std::string::npos : message.find(',', firstCommaPos + 1);
    if (firstCommaPos == std::string::npos || secondCommaPos == std::string::npos) {
        ReportError("A money text without two commas is ignored: " + message);
        return;
    }
    const std::string text = message.substr(0, firstCommaPos);
    const int x = Int::Parse(message.substr(firstCommaPos + 1, secondCommaPos - firstCommaPos - 1));
    const int y = Int::Parse(message.substr(secondCommaPos + 1));
    const FPoint start = KeepOnScreen(text, FPoint(static_cast<float>(x), static_cast<float>(y)));
    _effects.Add(1, ObjectSmartPointer<EffectBase>(new FloatingTextEffect(start._x, start._y, text, TEXT_RISE, 1.0f,
                                                                          TEXT_SCALE, TEXT_FONT, 1.5f)));
}

FPoint MoneyEffectControl::KeepOnScreen(const std::string& text, FPoint start) {
    if (!Render::fonts.DoesFontExist(TEXT_FONT)) return start;
    // The text at its largest: centred on x, from y up, and TEXT_RISE higher at its end.
    const float halfWidth = static_cast<float>(Render::fonts.GetStringWidth(text, TEXT_FONT)) * TEXT_SCALE / 2.0f;
    const float height = static_cast<float>(Render::fonts.GetFontHeight(TEXT_FONT)) * TEXT_SCALE;
    const float width = static_cast<float>(Render::device.GetLogicalWidth());
    const float top = static_cast<float>(Render::device.GetLogicalHeight());
    start._x = std::max(halfWidth, std::min(start._x, width - halfWidth));
    start._y = std::max(0.0f, std::min(start._y, top - TEXT_RISE - height));
    return start;
}

void MoneyEffectControl::Update(float dt) { _effects.Update(dt); }

void MoneyEffectControl::Draw() { _effects.Draw(1); }

// IfMoneyControl.

IfMoneyControl::IfMoneyControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : SingleChildControl(parent, xml) {
    _cost = xml->GetIntAttribute("cost");
    _enoughTemplate = xml->GetFirstChildElement("enough")->GetStringAttribute("templateName");
    _notEnoughTemplate = xml->GetFirstChildElement("notEnough")->GetStringAttribute("templateName");
    _money = ObjectSmartPointer<Variable<int>>(new PermanentVariable<Local, int>("Money"));
    Rebuild();
}

void IfMoneyControl::Rebuild() {
    _isShowingEnough = _money->GetValue() >= _cost;
    const ObjectSmartPointer<XmlElement> copy =
        TemplateLib::CopyTemplate(_isShowingEnough ? _enoughTemplate : _notEnoughTemplate);
    if (copy == NULL) return;
    TemplateLib::CheckFullyInstantiated(copy);
    CreateChild(copy);
}

void IfMoneyControl::Update(float dt) {
    if (_money->IsChanged()) Rebuild();
    SingleChildControl::Update(dt);
}
