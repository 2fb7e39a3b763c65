#include "controls/SimpleTimeCounter.h"

#include "core/Assert.h"
#include "core/HtmlLog.h"
#include "core/PermanentStorage.h"
#include "core/PermanentVariable.h"
#include "core/XmlElement.h"

namespace {

bool IsBetaLog() { return PermanentStorage::GetGlobalBoolOrDef("betaLog", false); }

}  // namespace

SimpleTimeCounter::SimpleTimeCounter(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {
    if (xml == NULL) {
        return;
    }
    const ObjectWeakPointer<XmlElement> variable = xml->GetFirstChildElement("variable");
    const ObjectWeakPointer<XmlElement> logMessages = xml->GetFirstChildElement("logMessages");
    if (variable == NULL || logMessages == NULL) {
        // The failed check of the pointer access; the counter counts nothing.
        ReportFailure("Assertion failed", "_object != NULL", __FILE__, __LINE__);
        return;
    }
    const std::string name = variable->GetStringAttribute("name");
    const float defaultValue = variable->GetFloatAttribute("defaultValue");
    _variable = ObjectSmartPointer<Variable<float>>(new PermanentVariableOrDef<Local, float>(name, defaultValue));
    _onDestroyMessage = logMessages->GetStringAttribute("onDestroy");
    const std::string onCreate = logMessages->GetStringAttribute("onCreate");
    if (!onCreate.empty() && IsBetaLog()) {
        HtmlLog::WriteLine(onCreate);
    }
}

SimpleTimeCounter::~SimpleTimeCounter() {
    if (!_onDestroyMessage.empty() && IsBetaLog()) {
        HtmlLog::WriteLine(_onDestroyMessage);
    }
}

void SimpleTimeCounter::Update(float dt) {
    Assert(dt > 0);
    if (_variable == NULL) {
        return;
    }
    const float stored = _variable->GetValue();
    if (!_isCounting || stored != _lastWritten) {
        _base = stored;
        _elapsed = 0.0;
        _isCounting = true;
    }
    _elapsed += dt;
    _lastWritten = static_cast<float>(_base + _elapsed);
    _variable->SetValue(_lastWritten);
}
