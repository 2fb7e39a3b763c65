#pragma once
// An attribute in an element's attribute list (predecessor held hard, successor weak).

#include <string>

#include "core/XmlNode.h"

class XmlAttribute : public XmlVisitable {
public:
    XmlAttribute(const std::string& name, const std::string& value);
    // Copies name and value; marks the source visited.
    explicit XmlAttribute(const ObjectWeakPointer<XmlAttribute>& source);
    ~XmlAttribute() override;

    // Empty for the barriers closing the list.
    virtual ObjectWeakPointer<XmlAttribute> GetSelf();
    virtual void Write(const ObjectWeakPointer<XmlOutText>& out);

    // Neither marks.
    std::string GetName() const;
    std::string GetValue() const { return _value; }
    const std::string& NameRef() const { return _name; }
    const std::string& ValueRef() const { return _value; }

    // The following attribute, marked; empty after the last one.
    ObjectWeakPointer<XmlAttribute> GetNextAttribute();

    void InsertBefore(const ObjectSmartPointer<XmlAttribute>& newAttribute);
    // The same for an attribute just made, whose hold the list takes over.
    void LinkBefore(ObjectSmartPointer<XmlAttribute>&& newAttribute);
    ObjectWeakPointer<XmlAttribute> Replace(const ObjectSmartPointer<XmlAttribute>& newAttribute);
    ObjectSmartPointer<XmlAttribute> Remove();

    // The dump of the visit check: an unvisited attribute appears between "<<" and ">>".
    void WriteMarked(const ObjectWeakPointer<XmlOutText>& out);

    bool IsBarrier() const { return _isBarrier; }
    XmlAttribute* NextRaw() const { return _nextAttribute.Get(); }
    XmlAttribute* PrevRaw() const { return _prevAttribute.Get(); }
    // For the writer's walk: the texts that writing this attribute reads start to come in.
    virtual void FetchTexts() const {
        __builtin_prefetch(_name.data());
        __builtin_prefetch(_value.data());
    }

    // The value as written in a plain attribute: quotes, markup and control bytes escaped.
    static void WriteEscapedValue(XmlOutText& out, const std::string& value);

protected:
    friend class XmlElement;
    XmlAttribute() = default;
    // For the reader: the name as read, which follows the name rule already.
    XmlAttribute(const char* name, std::size_t nameLength) : _name(name, nameLength) {}
    void SetName(const std::string& name);
    void SetValue(const std::string& value);

    // The mark and the links first, so that walks over the list read one part of each attribute.
    bool _isBarrier = false;
    ObjectWeakPointer<XmlAttribute> _nextAttribute;
    ObjectSmartPointer<XmlAttribute> _prevAttribute;
    std::string _name;
    std::string _value;

private:
    static const XmlSiblings::Chain<XmlAttribute>& Siblings();
};
