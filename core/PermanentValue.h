#pragma once
// One stored value of the persistent storage: int, bool, float, text or an XML element.

#include <functional>
#include <set>
#include <string>

#include "core/ObjectSmartPointer.h"
#include "core/PermanentValueListener.h"
#include "core/XmlElement.h"

class PermanentValue {
public:
    enum Type { INT_TYPE = 0, BOOL_TYPE = 1, FLOAT_TYPE = 2, STRING_TYPE = 3, INVALID_TYPE = 4, XML_TYPE = 5 };

    // Registration records ordered by listener address; looked up by address without a new record.
    struct ListenerOrder {
        using is_transparent = void;
        static const void* Address(const UsingPointer<PermanentValueListener>& p) {
            return p.GetPointer().AsObjectAddress();
        }
        static const void* Address(const void* p) { return p; }
        template <class A, class B>
        bool operator()(const A& a, const B& b) const {
            return std::less<const void*>()(Address(a), Address(b));
        }
    };
    using ListenerSet = std::set<UsingPointer<PermanentValueListener>, ListenerOrder>;

    PermanentValue() = default;
    explicit PermanentValue(int value);
    explicit PermanentValue(bool value);
    explicit PermanentValue(float value);
    explicit PermanentValue(const std::string& value);
    explicit PermanentValue(const char* value);
    // Holds the element itself and marks its whole tree as read.
    explicit PermanentValue(const ObjectSmartPointer<XmlElement>& value);

    Type GetType() const { return _type; }
    int GetInt() const;
    bool GetBool() const;
    float GetFloat() const;
    std::string GetString() const;
    ObjectWeakPointer<XmlElement> GetXml() const;

    // The attributes "type" and "value" (or the copied element) of one "Variable" element.
    void WriteToXml(const ObjectWeakPointer<XmlElement>& element) const;
    void ReadFromXml(const ObjectWeakPointer<XmlElement>& element);

    bool HasListener(const PermanentValueListener* listener) const;
    void AddListener(const ObjectWeakPointer<PermanentValueListener>& listener);
    // The number of records removed.
    std::size_t EraseListener(const PermanentValueListener* listener);
    // Drops every registration, which marks the listeners' copies stale.
    void ClearListeners();
    std::size_t GetListenerCount() const { return _listeners.size(); }

private:
    int _int = 0;
    bool _bool = false;
    float _float = 0.0f;
    std::string _string;
    ObjectSmartPointer<XmlElement> _xml;
    Type _type = INVALID_TYPE;
    ListenerSet _listeners;
};
