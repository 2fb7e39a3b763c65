#pragma once
// An element: a name, an attribute list and a child list, each a ring closed by one barrier. A list
// gets its barrier with its first member; until then the walks meet the one all empty lists share.

#include <string>

#include "core/Color.h"
#include "core/Rect.h"
#include "core/XmlAttribute.h"
#include "core/XmlNode.h"

class XmlElement : public XmlNode {
public:
    class XmlNodeBarrier;
    class XmlAttributeBarrier;

    explicit XmlElement(const std::string& name);
    // Deep copy into plain classes; space-only texts are left out; marks the source.
    explicit XmlElement(const ObjectWeakPointer<XmlElement>& source);
    ~XmlElement() override;

    // Marks the element.
    std::string GetName();
    // Unmarked, for comparisons inside the model.
    const std::string& NameRef() const { return _name; }

    ObjectWeakPointer<XmlAttribute> GetFirstAttribute();
    ObjectWeakPointer<XmlAttribute> GetAttribute(const std::string& name);
    bool HasAttribute(const std::string& name) const;
    void AddAttribute(const ObjectSmartPointer<XmlAttribute>& newAttribute);

    ObjectWeakPointer<XmlNode> GetFirstChildNode();
    ObjectWeakPointer<XmlElement> GetFirstChildElement();
    ObjectWeakPointer<XmlElement> GetFirstChildElement(const std::string& name);
    ObjectWeakPointer<XmlElement> GetLastChildElement();
    ObjectWeakPointer<XmlElement> GetNextElement();
    ObjectWeakPointer<XmlElement> GetNextElement(const std::string& name);
    ObjectWeakPointer<XmlElement> GetPrevElement();

    void AppendChild(const ObjectSmartPointer<XmlNode>& newNode);
    void PrependChild(const ObjectSmartPointer<XmlNode>& newNode);

    // The value of the only child, which must be a text.
    std::string GetText();

    // Reports the unread parts and dumps them to "not-visited-marked.xml" in the data folder.
    void CheckVisited();

    // Typed attribute access by name; every form goes through GetAttribute and marks what it finds.
    std::string GetStringAttribute(const std::string& name);
    int GetIntAttribute(const std::string& name);
    bool GetBoolAttribute(const std::string& name);
    float GetFloatAttribute(const std::string& name);
    std::string GetStringAttributeOrDef(const std::string& name, const std::string& def);
    int GetIntAttributeOrDef(const std::string& name, int def);
    bool GetBoolAttributeOrDef(const std::string& name, bool def);
    float GetFloatAttributeOrDef(const std::string& name, float def);
    void SetStringAttribute(const std::string& name, const std::string& value);
    void SetIntAttribute(const std::string& name, int value);
    void SetBoolAttribute(const std::string& name, bool value);
    void SetFloatAttribute(const std::string& name, float value);
    ObjectWeakPointer<XmlAttribute> ReplaceAttribute(const std::string& name, const std::string& value);
    ObjectSmartPointer<XmlAttribute> RemoveAttribute(const std::string& name);
    template <class T>
    T GetTypedAttribute(const std::string& name);
    // The int attributes "x", "y", "width" and "height".
    Rect GetRect();
    Color GetColorAttribute(const std::string& name);

    void ResetVisited() override;
    void Write(const ObjectWeakPointer<XmlOutText>& out) override;
    ObjectSmartPointer<XmlNode> Clone() override;
    void ResetVisitedTree() override;
    void MarkVisitedTree() override;
    bool IsVisitedTree() override;
    void WriteMarked(const ObjectWeakPointer<XmlOutText>& out) override;
    // Stage 1 the attribute barrier, stage 2 the first attribute.
    void FetchAhead(int stage) override;

    // Unmarked walks for the writer and the reader's subclasses.
    XmlNode* FirstChildRaw() const { return _nodes.Get() != nullptr ? _nodes.Get()->NextRaw() : EmptyNodes(); }
    XmlAttribute* FirstAttributeRaw() const {
        return _attributes.Get() != nullptr ? _attributes.Get()->NextRaw() : EmptyAttributes();
    }
    bool HasChildNodes() const { return !FirstChildRaw()->IsBarrier(); }

protected:
    // For the reader: barriers only, the name is set once read.
    XmlElement();
    void SetName(const std::string& name);
    void WriteAttributes(const ObjectWeakPointer<XmlOutText>& out);
    void WriteChildren(const ObjectWeakPointer<XmlOutText>& out);
    // For the reader's appends.
    XmlNode* ChildEnd() { return OwnNodes(); }
    XmlAttribute* AttributeEnd() { return OwnAttributes(); }

    // Each barrier stands before the first member and after the last: it links weakly to the
    // first and holds the last, the first holds the barrier. Empty until the list has a member.
    ObjectSmartPointer<XmlAttribute> _attributes;
    ObjectSmartPointer<XmlNode> _nodes;
    std::string _name;

private:
    // The list's barrier, made when the list has none yet.
    XmlNode* OwnNodes();
    XmlAttribute* OwnAttributes();
    // The barriers met by walks over empty lists: they link to themselves and last as long as the process.
    static XmlNode* EmptyNodes();
    static XmlAttribute* EmptyAttributes();
    // Reports the missing attribute like the checked pointer access, without the access.
    ObjectWeakPointer<XmlAttribute> GetNeededAttribute(const std::string& name);
};

class MousePosRememberer;
// Restores a remembered mouse position from the int attributes "x" and "y".
void LoadMousePos(MousePosRememberer& rememberer, const ObjectWeakPointer<XmlElement>& element);

template <>
int XmlElement::GetTypedAttribute<int>(const std::string& name);
template <>
bool XmlElement::GetTypedAttribute<bool>(const std::string& name);
template <>
std::string XmlElement::GetTypedAttribute<std::string>(const std::string& name);
