#pragma once
// Nodes of the XML document model: the visit mark, sibling links, texts and comments.

#include <string>

#include "core/ObjectSmartPointer.h"

class XmlOutText;
class XmlInText;
namespace XmlSiblings {
template <class T>
struct Chain;
}

// Anything that records whether a reader of the tree has consulted it.
class XmlVisitable : public Interface {
public:
    XmlVisitable() = default;
    ~XmlVisitable() override;  // an unvisited object fails "_isVisited"

    virtual void ResetVisited();

    bool IsVisited() const { return _isVisited; }
    void MarkVisited() { _isVisited = true; }

protected:
    bool _isVisited = false;
};

// A node in an element's child list. The predecessor is held hard, the successor weak,
// so a list is owned from its tail.
class XmlNode : public XmlVisitable {
public:
    XmlNode() = default;
    ~XmlNode() override;

    // Empty for the barriers closing a list, so that reaching one reads as the end.
    virtual ObjectWeakPointer<XmlNode> GetSelf();
    virtual void Write(const ObjectWeakPointer<XmlOutText>& out) = 0;
    virtual ObjectSmartPointer<XmlNode> Clone() = 0;
    virtual void ResetVisitedTree();
    virtual void MarkVisitedTree();
    virtual bool IsVisitedTree();
    virtual bool IsSignificant();
    virtual void WriteMarked(const ObjectWeakPointer<XmlOutText>& out);

    // The following sibling of any kind, marked; empty after the last child.
    ObjectWeakPointer<XmlNode> GetNextNode();

    void InsertBefore(const ObjectSmartPointer<XmlNode>& newNode);
    // The same for a node just made, whose hold the list takes over.
    void LinkBefore(ObjectSmartPointer<XmlNode>&& newNode);
    void InsertAfter(const ObjectSmartPointer<XmlNode>& newNode);
    ObjectWeakPointer<XmlNode> Replace(const ObjectSmartPointer<XmlNode>& newNode);
    template <class T>
    ObjectWeakPointer<T> ReplaceWith(const ObjectSmartPointer<T>& newNode) {
        return Replace(newNode).template Cast<T>();
    }
    ObjectSmartPointer<XmlNode> Remove();

    bool IsDetached() const { return _nextNode.AsObjectAddress() == nullptr && _prevNode.Get() == nullptr; }
    bool IsBarrier() const { return _isBarrier; }

    // Unmarked links for walks inside the model.
    XmlNode* NextRaw() const { return _nextNode.Get(); }
    XmlNode* PrevRaw() const { return _prevNode.Get(); }
    // For walks that fetch ahead: what a walk reaches after this node starts to come in from memory,
    // one link deeper at each stage. Nothing for a node without parts.
    virtual void FetchAhead(int /*stage*/) {}

protected:
    friend class XmlElement;

    // First, so that it shares the word of the visit mark.
    bool _isBarrier = false;
    ObjectWeakPointer<XmlNode> _nextNode;
    ObjectSmartPointer<XmlNode> _prevNode;

private:
    static const XmlSiblings::Chain<XmlNode>& Siblings();
};

// Character content of an element.
class XmlText : public XmlNode {
public:
    explicit XmlText(const std::string& value);

    std::string GetValue() const { return _value; }
    const std::string& ValueRef() const { return _value; }
    bool IsSpaceOnly() const { return _isSpaceOnly; }

    void ResetVisited() override;
    void Write(const ObjectWeakPointer<XmlOutText>& out) override;
    ObjectSmartPointer<XmlNode> Clone() override;
    bool IsSignificant() override;
    void WriteMarked(const ObjectWeakPointer<XmlOutText>& out) override;

protected:
    XmlText() = default;
    // Set once; a space-only value is visited from the start.
    void SetValue(const std::string& value);
    void SetValue(std::string&& value);
    // Classifies the value just set.
    void NoteValue();

    bool _isSpaceOnly = true;
    std::string _value;
};

// A piece of the prologue or epilogue around the root element.
class XmlMiscReadUnit : public Interface {
public:
    virtual void Write(const ObjectWeakPointer<XmlOutText>& out) = 0;
};

// A comment, kept verbatim; always visited.
class XmlComment : public XmlNode, public XmlMiscReadUnit {
public:
    // Reads "<!--" ... "-->" at the cursor.
    explicit XmlComment(const ObjectWeakPointer<XmlInText>& in);

    const std::string& GetComment() const { return _comment; }

    void ResetVisited() override;
    void Write(const ObjectWeakPointer<XmlOutText>& out) override;
    ObjectSmartPointer<XmlNode> Clone() override;

private:
    struct CopyTag {};
    XmlComment(const std::string& comment, CopyTag);

    std::string _comment;
};
