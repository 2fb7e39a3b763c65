#include "core/XmlAttribute.h"

#include "core/XmlOutText.h"
#include "core/XmlSiblings.h"
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

XmlAttribute::~XmlAttribute() { Siblings().Release(this); }

const XmlSiblings::Chain<XmlAttribute>& XmlAttribute::Siblings() {
    static constexpr XmlSiblings::Chain<XmlAttribute> chain{&XmlAttribute::_nextAttribute, &XmlAttribute::_prevAttribute,
                                                        "Attribute"};
    return chain;
}

void XmlAttribute::SetName(const std::string& name) {
    XmlCheck(_name.empty(), "_name == \"\"");
    XmlUtil::CheckName(name);
    _name = name;
}

void XmlAttribute::SetValue(const std::string& value) {
    XmlCheck(_value.empty(), "_value == \"\"");
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
    Siblings().InsertBefore(this, newAttribute);
}

void XmlAttribute::LinkBefore(ObjectSmartPointer<XmlAttribute>&& newAttribute) {
    Siblings().LinkBefore(this, std::move(newAttribute));
}

ObjectWeakPointer<XmlAttribute> XmlAttribute::Replace(const ObjectSmartPointer<XmlAttribute>& newAttribute) {
    XmlCheck(newAttribute->_name == _name, "newAttribute->_name == thisAttribute->_name");
    return Siblings().Replace(this, newAttribute, false);
}

ObjectSmartPointer<XmlAttribute> XmlAttribute::Remove() { return Siblings().Remove(this); }

void XmlAttribute::WriteEscapedValue(XmlOutText& out, const std::string& value) { out.PutEscapedContent(value, true); }

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
