#include "core/PermanentVariableSet.h"

#include <cstring>

#include "core/Assert.h"

namespace {

const std::string TEMP_PREFIX = "temp:";

bool IsTemporary(const std::string& name) { return name.compare(0, TEMP_PREFIX.size(), TEMP_PREFIX) == 0; }

// Equal bits: a stored NaN default reads back as itself.
bool SameFloat(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

template <class T>
void PermanentVariableSet::Store(const std::string& name, const T& value) {
    // Assigning over the old value destroys its registration records, which tells its listeners.
    PermanentValue fresh(value);
    _variables[name] = fresh;
}

template <class T>
T PermanentVariableSet::Read(const std::string& name, const char* typeLabel, T (PermanentValue::*get)() const) {
    const Map::const_iterator i = _variables.find(name);
    if (i == _variables.end()) {
        ReportError(std::string(typeLabel) + " variable " + name + " does not exist");
        return T();
    }
    return (i->second.*get)();
}

void PermanentVariableSet::SetInt(const std::string& name, int value) { Store(name, value); }
void PermanentVariableSet::SetBool(const std::string& name, bool value) { Store(name, value); }
void PermanentVariableSet::SetFloat(const std::string& name, float value) { Store(name, value); }
void PermanentVariableSet::SetString(const std::string& name, const std::string& value) { Store(name, value); }
void PermanentVariableSet::SetXml(const std::string& name, const ObjectSmartPointer<XmlElement>& value) {
    Store(name, value);
}

int PermanentVariableSet::GetInt(const std::string& name) { return Read(name, "Int", &PermanentValue::GetInt); }
bool PermanentVariableSet::GetBool(const std::string& name) { return Read(name, "Bool", &PermanentValue::GetBool); }
float PermanentVariableSet::GetFloat(const std::string& name) {
    return Read(name, "Float", &PermanentValue::GetFloat);
}
std::string PermanentVariableSet::GetString(const std::string& name) {
    return Read(name, "String", &PermanentValue::GetString);
}
ObjectWeakPointer<XmlElement> PermanentVariableSet::GetXml(const std::string& name) {
    return Read(name, "XML", &PermanentValue::GetXml);
}

int PermanentVariableSet::GetIntOrDef(const std::string& name, int defaultValue) {
    if (!IsDefined(name)) {
        Store(name, defaultValue);
        const Map::const_iterator i = _variables.find(name);
        Assert(i != _variables.end());
        Assert(i->second.GetInt() == defaultValue);
    }
    return GetInt(name);
}

bool PermanentVariableSet::GetBoolOrDef(const std::string& name, bool defaultValue) {
    if (!IsDefined(name)) {
        Store(name, defaultValue);
        const Map::const_iterator i = _variables.find(name);
        Assert(i != _variables.end());
        Assert(i->second.GetBool() == defaultValue);
    }
    return GetBool(name);
}

float PermanentVariableSet::GetFloatOrDef(const std::string& name, float defaultValue) {
    if (!IsDefined(name)) {
        Store(name, defaultValue);
        const Map::const_iterator i = _variables.find(name);
        Assert(i != _variables.end());
        if (!SameFloat(i->second.GetFloat(), defaultValue)) {
            ReportFailure("Assertion failed", "i->second.GetFloat() == defaultValue", __FILE__, __LINE__);
        }
    }
    return GetFloat(name);
}

std::string PermanentVariableSet::GetStringOrDef(const std::string& name, const std::string& defaultValue) {
    if (!IsDefined(name)) {
        Store(name, defaultValue);
        const Map::const_iterator i = _variables.find(name);
        Assert(i != _variables.end());
        Assert(i->second.GetString() == defaultValue);
    }
    return GetString(name);
}

ObjectWeakPointer<XmlElement> PermanentVariableSet::GetXmlOrDef(const std::string& name,
                                                                const ObjectSmartPointer<XmlElement>& defaultValue) {
    if (!IsDefined(name)) {
        Store(name, defaultValue);
        Assert(_variables.find(name) != _variables.end());
    }
    return GetXml(name);
}

bool PermanentVariableSet::IsDefined(const std::string& name) const { return _variables.find(name) != _variables.end(); }

void PermanentVariableSet::Undef(const std::string& name) {
    const Map::iterator i = _variables.find(name);
    Assert(i != _variables.end());
    if (i != _variables.end()) {
        _variables.erase(i);
    }
}

void PermanentVariableSet::AddListener(const std::string& name,
                                       const ObjectWeakPointer<PermanentValueListener>& listener) {
    const Map::iterator i = _variables.find(name);
    Assert(i != _variables.end());
    if (i == _variables.end()) {
        return;
    }
    if (i->second.HasListener(listener.Get())) {
        ReportFailure("Assertion failed", "_listeners.find(listener) == _listeners.end()", __FILE__, __LINE__);
        return;
    }
    i->second.AddListener(listener);
}

void PermanentVariableSet::RemoveListener(const std::string& name,
                                          const ObjectWeakPointer<PermanentValueListener>& listener) {
    const Map::iterator i = _variables.find(name);
    Assert(i != _variables.end());
    if (i == _variables.end()) {
        return;
    }
    if (i->second.EraseListener(listener.Get()) != 1) {
        ReportFailure("Assertion failed", "_listeners.erase(listener) == 1", __FILE__, __LINE__);
    }
}

void PermanentVariableSet::ClearListeners() {
    for (Map::value_type& entry : _variables) {
        entry.second.ClearListeners();
    }
}

void PermanentVariableSet::ReadFromXml(const ObjectWeakPointer<XmlElement>& element) {
    for (ObjectWeakPointer<XmlElement> variableXml = element->GetFirstChildElement(); variableXml != NULL;
         variableXml = variableXml->GetNextElement()) {
        Assert(variableXml->GetName() == "Variable");
        const std::string variableName = variableXml->GetStringAttribute("name");
        const bool isNew = _variables.find(variableName) == _variables.end();
        if (!isNew) {
            ReportFailure("Assertion failed", "_variables.find(variableName) == _variables.end()", __FILE__,
                          __LINE__);
        }
        PermanentValue value;
        value.ReadFromXml(variableXml);
        // The first entry of a name stays; a value of an unknown type is not kept.
        if (isNew && value.GetType() != PermanentValue::INVALID_TYPE) {
            _variables.emplace(variableName, value);
        }
    }
}

void PermanentVariableSet::WriteToXml(const ObjectWeakPointer<XmlElement>& parent) const {
    for (const Map::value_type& entry : _variables) {
        if (IsTemporary(entry.first)) {
            continue;
        }
        ObjectSmartPointer<XmlElement> variable(new XmlElement("Variable"));
        variable->SetStringAttribute("name", entry.first);
        entry.second.WriteToXml(variable);
        parent->AppendChild(variable);
    }
}
