#include "core/XmlAttribute.h"

#include "core/XmlOutText.h"
#include "core/XmlUtil.h"

XmlAttribute::XmlAttribute(const std::string& name, const std::string& value) {
    SetName(name);
    SetValue(value);
}

XmlAttribute::XmlAttribute(const ObjectWeakPointer<XmlAttribute>& source) {
    XmlAttribute& from = *source;
    SetName(from._name);
    SetValue(from._value);
    from._isVisited = true;
}

XmlAttribute::~XmlAttribute() {
    ObjectSmartPointer<XmlAttribute> current = _prevAttribute;
    _prevAttribute = nullptr;
    while (current.Get() != nullptr && current.GetLinkInfo()->_hardLinkCount == 1) {
        ObjectSmartPointer<XmlAttribute> previous = current.Get()->_prevAttribute;
        current.Get()->_prevAttribute = nullptr;
        current = previous;
    }
    current = nullptr;
    _nextAttribute = nullptr;
}

void XmlAttribute::SetName(const std::string& name) {
    Assert(_name == "");
    XmlUtil::CheckName(name);
    _name = name;
}

void XmlAttribute::SetValue(const std::string& value) {
    Assert(_value == "");
    _value = value;
}

std::string XmlAttribute::GetName() const {
    Assert(_name.length() > 0);
    return _name;
}

ObjectWeakPointer<XmlAttribute> XmlAttribute::GetSelf() {
    if (_isBarrier) return ObjectWeakPointer<XmlAttribute>();
    return ObjectWeakPointer<XmlAttribute>(this);
}

ObjectWeakPointer<XmlAttribute> XmlAttribute::GetNextAttribute() {
    ObjectWeakPointer<XmlAttribute> next = _nextAttribute->GetSelf();
    if (next.Get() != nullptr) next.Get()->_isVisited = true;
    return next;
}

void XmlAttribute::InsertBefore(const ObjectSmartPointer<XmlAttribute>& newAttribute) {
    XmlAttribute* attribute = newAttribute.operator->();
    Assert(newAttribute->_nextAttribute == NULL);
    Assert(newAttribute->_prevAttribute == NULL);
    attribute->_nextAttribute = ObjectWeakPointer<XmlAttribute>(this);
    attribute->_prevAttribute = _prevAttribute;
    if (_prevAttribute.Get() != nullptr) {
        XmlCheck(_prevAttribute.Get()->_nextAttribute.AsObjectAddress() == this,
                 "_prevAttribute->_nextAttribute == thisAttribute");
        _prevAttribute.Get()->_nextAttribute = ObjectWeakPointer<XmlAttribute>(attribute);
    }
    _prevAttribute = newAttribute;
}

ObjectWeakPointer<XmlAttribute> XmlAttribute::Replace(const ObjectSmartPointer<XmlAttribute>& newAttribute) {
    XmlAttribute* attribute = newAttribute.operator->();
    XmlCheck(attribute->_name == _name, "newAttribute->_name == thisAttribute->_name");
    XmlAttribute* next = _nextAttribute.operator->();
    XmlAttribute* prev = _prevAttribute.operator->();
    XmlCheck(next->_prevAttribute.AsObjectAddress() == this, "_nextAttribute->_prevAttribute == thisAttribute");
    XmlCheck(prev->_nextAttribute.AsObjectAddress() == this, "_prevAttribute->_nextAttribute == thisAttribute");
    attribute->_nextAttribute = _nextAttribute;
    attribute->_prevAttribute = _prevAttribute;
    prev->_nextAttribute = ObjectWeakPointer<XmlAttribute>(attribute);
    next->_prevAttribute = newAttribute;
    return ObjectWeakPointer<XmlAttribute>(attribute);
}

ObjectSmartPointer<XmlAttribute> XmlAttribute::Remove() {
    Assert(_nextAttribute != NULL);
    Assert(_prevAttribute != NULL);
    XmlAttribute* next = _nextAttribute.operator->();
    XmlAttribute* prev = _prevAttribute.operator->();
    XmlCheck(next->_prevAttribute.AsObjectAddress() == this, "_nextAttribute->_prevAttribute == thisAttributeWeak");
    XmlCheck(prev->_nextAttribute.AsObjectAddress() == this, "_prevAttribute->_nextAttribute == thisAttributeWeak");
    ObjectSmartPointer<XmlAttribute> self = next->_prevAttribute;
    prev->_nextAttribute = _nextAttribute;
    next->_prevAttribute = _prevAttribute;
    _nextAttribute = nullptr;
    _prevAttribute = nullptr;
    return self;
}

void XmlAttribute::WriteEscapedValue(XmlOutText& out, const std::string& value) {
    std::string escaped;
    escaped.reserve(value.size() + 8);
    for (unsigned char c : value) {
        if (c < 32) {
            escaped += "&#x";
            escaped += XmlUtil::HexDigit(c >> 4);
            escaped += XmlUtil::HexDigit(c & 15);
            escaped += ';';
        } else if (c == '<') {
            escaped += "&lt;";
        } else if (c == '>') {
            escaped += "&gt;";
        } else if (c == '&') {
            escaped += "&amp;";
        } else if (c == '"') {
            escaped += "&quot;";
        } else {
            escaped += static_cast<char>(c);
        }
    }
    out.PutContent(escaped);
}

void XmlAttribute::Write(const ObjectWeakPointer<XmlOutText>& out) {
    if (_isBarrier) {
        Assert(false);
        return;
    }
    XmlOutText& text = *out;
    text.PutChar(' ');
    text.PutString(_name);
    text.PutString("=\"");
    WriteEscapedValue(text, _value);
    text.PutChar('"');
    _isVisited = true;
}

void XmlAttribute::WriteMarked(const ObjectWeakPointer<XmlOutText>& out) {
    if (_isVisited) {
        Write(out);
        return;
    }
    XmlOutText& text = *out;
    text.PutString(" <<");
    text.PutString(_name);
    text.PutString("=\"");
    WriteEscapedValue(text, _value);
    text.PutString("\">>");
}
