#pragma once
// A named set of stored values: the global scope, or one player's values.

#include <map>
#include <string>

#include "core/PermanentValue.h"

class PermanentVariableSet {
public:
    using Map = std::map<std::string, PermanentValue>;

    void SetInt(const std::string& name, int value);
    void SetBool(const std::string& name, bool value);
    void SetFloat(const std::string& name, float value);
    void SetString(const std::string& name, const std::string& value);
    void SetXml(const std::string& name, const ObjectSmartPointer<XmlElement>& value);

    // The name must be defined and hold that type.
    int GetInt(const std::string& name);
    bool GetBool(const std::string& name);
    float GetFloat(const std::string& name);
    std::string GetString(const std::string& name);
    ObjectWeakPointer<XmlElement> GetXml(const std::string& name);

    // A name not defined first gets the default, which is stored and saved from then on.
    int GetIntOrDef(const std::string& name, int defaultValue);
    bool GetBoolOrDef(const std::string& name, bool defaultValue);
    float GetFloatOrDef(const std::string& name, float defaultValue);
    std::string GetStringOrDef(const std::string& name, const std::string& defaultValue);
    ObjectWeakPointer<XmlElement> GetXmlOrDef(const std::string& name, const ObjectSmartPointer<XmlElement>& defaultValue);

    // The same operations by value type, for the persistent variables.
    template <class T>
    T Get(const std::string& name);
    template <class T>
    T GetOrDef(const std::string& name, const T& defaultValue);
    template <class T>
    void Set(const std::string& name, const T& value);

    bool IsDefined(const std::string& name) const;
    void Undef(const std::string& name);

    void AddListener(const std::string& name, const ObjectWeakPointer<PermanentValueListener>& listener);
    void RemoveListener(const std::string& name, const ObjectWeakPointer<PermanentValueListener>& listener);
    // Drops every registration on every value of the set.
    void ClearListeners();

    // Reads the "Variable" children of the element into the set; adds, never clears.
    void ReadFromXml(const ObjectWeakPointer<XmlElement>& element);
    // Appends a "Variable" element per name in byte order; names beginning "temp:" are left out.
    void WriteToXml(const ObjectWeakPointer<XmlElement>& parent) const;

    const Map& GetValues() const { return _variables; }
    void Clear() { _variables.clear(); }

private:
    template <class T>
    T Read(const std::string& name, const char* typeLabel, T (PermanentValue::*get)() const);
    template <class T>
    void Store(const std::string& name, const T& value);

    Map _variables;
};

template <>
inline int PermanentVariableSet::Get<int>(const std::string& name) {
    return GetInt(name);
}
template <>
inline bool PermanentVariableSet::Get<bool>(const std::string& name) {
    return GetBool(name);
}
template <>
inline float PermanentVariableSet::Get<float>(const std::string& name) {
    return GetFloat(name);
}
template <>
inline std::string PermanentVariableSet::Get<std::string>(const std::string& name) {
    return GetString(name);
}

template <>
inline int PermanentVariableSet::GetOrDef<int>(const std::string& name, const int& defaultValue) {
    return GetIntOrDef(name, defaultValue);
}
template <>
inline bool PermanentVariableSet::GetOrDef<bool>(const std::string& name, const bool& defaultValue) {
    return GetBoolOrDef(name, defaultValue);
}
template <>
inline float PermanentVariableSet::GetOrDef<float>(const std::string& name, const float& defaultValue) {
    return GetFloatOrDef(name, defaultValue);
}
template <>
inline std::string PermanentVariableSet::GetOrDef<std::string>(const std::string& name,
                                                               const std::string& defaultValue) {
    return GetStringOrDef(name, defaultValue);
}

template <>
inline void PermanentVariableSet::Set<int>(const std::string& name, const int& value) {
    SetInt(name, value);
}
template <>
inline void PermanentVariableSet::Set<bool>(const std::string& name, const bool& value) {
    SetBool(name, value);
}
template <>
inline void PermanentVariableSet::Set<float>(const std::string& name, const float& value) {
    SetFloat(name, value);
}
template <>
inline void PermanentVariableSet::Set<std::string>(const std::string& name, const std::string& value) {
    SetString(name, value);
}
