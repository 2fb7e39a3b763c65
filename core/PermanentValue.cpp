#include "core/PermanentValue.h"

#include "core/Assert.h"

PermanentValue::PermanentValue(int value) : _int(value), _type(INT_TYPE) {}

PermanentValue::PermanentValue(bool value) : _bool(value), _type(BOOL_TYPE) {}

PermanentValue::PermanentValue(float value) : _float(value), _type(FLOAT_TYPE) {}

PermanentValue::PermanentValue(const std::string& value) : _string(value), _type(STRING_TYPE) {}

PermanentValue::PermanentValue(const char* value) : _string(value), _type(STRING_TYPE) {}

PermanentValue::PermanentValue(const ObjectSmartPointer<XmlElement>& value) : _xml(value), _type(XML_TYPE) {
    Assert(value != NULL);
    if (value != NULL) {
        value->MarkVisitedTree();
    }
}

int PermanentValue::GetInt() const {
    Assert(_type == INT_TYPE);
    return _int;
}

bool PermanentValue::GetBool() const {
    Assert(_type == BOOL_TYPE);
    return _bool;
}

float PermanentValue::GetFloat() const {
    Assert(_type == FLOAT_TYPE);
    return _float;
}

std::string PermanentValue::GetString() const {
    Assert(_type == STRING_TYPE);
    return _string;
}

ObjectWeakPointer<XmlElement> PermanentValue::GetXml() const {
    Assert(_type == XML_TYPE);
    return _xml;
}

void PermanentValue::WriteToXml(const ObjectWeakPointer<XmlElement>& element) const {
    switch (_type) {
        case INT_TYPE:
            element->SetStringAttribute("type", "int");
            element->SetIntAttribute("value", _int);
            break;
        case BOOL_TYPE:
            element->SetStringAttribute("type", "bool");
            element->SetBoolAttribute("value", _bool);
            break;
        case FLOAT_TYPE:
            element->SetStringAttribute("type", "float");
            element->SetFloatAttribute("value", _float);
            break;
        case STRING_TYPE:
            element->SetStringAttribute("type", "string");
            element->SetStringAttribute("value", _string);
            break;
        case XML_TYPE:
            element->SetStringAttribute("type", "xml");
            if (_xml != NULL) {
                element->AppendChild(ObjectSmartPointer<XmlNode>(new XmlElement(ObjectWeakPointer<XmlElement>(_xml))));
            }
            break;
        case INVALID_TYPE:
            Assert(false);
            break;
    }
}

void PermanentValue::ReadFromXml(const ObjectWeakPointer<XmlElement>& element) {
    Assert(_type == INVALID_TYPE);
    const std::string type = element->GetStringAttribute("type");
    if (type == "int") {
        _int = element->GetIntAttribute("value");
        _type = INT_TYPE;
    } else if (type == "bool") {
        _bool = element->GetBoolAttribute("value");
        _type = BOOL_TYPE;
    } else if (type == "float") {
        _float = element->GetFloatAttribute("value");
        _type = FLOAT_TYPE;
    } else if (type == "string") {
        _string = element->GetStringAttribute("value");
        _type = STRING_TYPE;
    } else if (type == "xml") {
        const ObjectWeakPointer<XmlElement> source = element->GetFirstChildElement();
        Assert(source != NULL);
        if (source != NULL) {
            ObjectSmartPointer<XmlElement> copy(new XmlElement(source));
            copy->MarkVisitedTree();
            _xml = copy;
            _type = XML_TYPE;
        }
    } else {
        Assert(false);
    }
}

bool PermanentValue::HasListener(const PermanentValueListener* listener) const {
    return _listeners.find(static_cast<const void*>(listener)) != _listeners.end();
}

void PermanentValue::AddListener(const ObjectWeakPointer<PermanentValueListener>& listener) {
    _listeners.emplace(listener);
}

std::size_t PermanentValue::EraseListener(const PermanentValueListener* listener) {
    const ListenerSet::iterator i = _listeners.find(static_cast<const void*>(listener));
    if (i == _listeners.end()) {
        return 0;
    }
    _listeners.erase(i);
    return 1;
}

void PermanentValue::ClearListeners() {
    ListenerSet dropped;
    dropped.swap(_listeners);
}
