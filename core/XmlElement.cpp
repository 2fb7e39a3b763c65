#include "core/XmlElement.h"

#include <cstddef>

#include "core/DataFolder.h"
#include "core/XmlMessages.h"
#include "core/XmlOutText.h"
#include "core/XmlUtil.h"

class XmlElement::XmlNodeBarrier : public XmlNode {
public:
    XmlNodeBarrier() {
        _isBarrier = true;
        _isVisited = true;
    }
    explicit XmlNodeBarrier(LastingTag tag) : Object(tag) {
        _isBarrier = true;
        _isVisited = true;
    }
    void Write(const ObjectWeakPointer<XmlOutText>&) override { Assert(false); }
    ObjectSmartPointer<XmlNode> Clone() override {
        Assert(false);
        return ObjectSmartPointer<XmlNode>();
    }
};

class XmlElement::XmlAttributeBarrier : public XmlAttribute {
public:
    XmlAttributeBarrier() {
        _isBarrier = true;
        _isVisited = true;
    }
    explicit XmlAttributeBarrier(LastingTag tag) : Object(tag) {
        _isBarrier = true;
        _isVisited = true;
    }
};

namespace {

// The barrier closes a ring that holds nothing else: it links to itself both ways.
template <class T>
T* Ring(ObjectSmartPointer<T>& barrier, ObjectWeakPointer<T> T::*next, ObjectSmartPointer<T> T::*prev) {
    T* b = barrier.Get();
    b->*next = ObjectWeakPointer<T>(b);
    b->*prev = barrier;
    return b;
}

}  // namespace

XmlNode* XmlElement::EmptyNodes() {
    static XmlNode* const barrier = [] {
        ObjectSmartPointer<XmlNode> held(new XmlNodeBarrier(LastingTag{}));
        return Ring(held, &XmlNode::_nextNode, &XmlNode::_prevNode);
    }();
    return barrier;
}

XmlAttribute* XmlElement::EmptyAttributes() {
    static XmlAttribute* const barrier = [] {
        ObjectSmartPointer<XmlAttribute> held(new XmlAttributeBarrier(LastingTag{}));
        return Ring(held, &XmlAttribute::_nextAttribute, &XmlAttribute::_prevAttribute);
    }();
    return barrier;
}

XmlNode* XmlElement::OwnNodes() {
    if (_nodes.Get() == nullptr) {
        _nodes = ObjectSmartPointer<XmlNode>(new XmlNodeBarrier);
        Ring(_nodes, &XmlNode::_nextNode, &XmlNode::_prevNode);
    }
    return _nodes.Get();
}

XmlAttribute* XmlElement::OwnAttributes() {
    if (_attributes.Get() == nullptr) {
        _attributes = ObjectSmartPointer<XmlAttribute>(new XmlAttributeBarrier);
        Ring(_attributes, &XmlAttribute::_nextAttribute, &XmlAttribute::_prevAttribute);
    }
    return _attributes.Get();
}

XmlElement::XmlElement() = default;

XmlElement::XmlElement(const std::string& name) { SetName(name); }

XmlElement::XmlElement(const ObjectWeakPointer<XmlElement>& source) {
    XmlElement& from = *source;
    SetName(from._name);
    for (XmlAttribute* a = from.FirstAttributeRaw(); !a->IsBarrier(); a = a->NextRaw()) {
        AddAttribute(ObjectSmartPointer<XmlAttribute>(new XmlAttribute(ObjectWeakPointer<XmlAttribute>(a))));
    }
    for (XmlNode* n = from.FirstChildRaw(); !n->IsBarrier(); n = n->NextRaw()) {
        if (n->IsSignificant()) AppendChild(n->Clone());
    }
    from._isVisited = true;
}

XmlElement::~XmlElement() {
    // The barrier's hold on the last member goes first, so the members go from the tail and the
    // barrier, held by the first one, goes last.
    if (_nodes.Get() != nullptr) {
        ObjectSmartPointer<XmlNode> last = std::move(_nodes.Get()->_prevNode);
        last = nullptr;
        _nodes = nullptr;
    }
    if (_attributes.Get() != nullptr) {
        ObjectSmartPointer<XmlAttribute> last = std::move(_attributes.Get()->_prevAttribute);
        last = nullptr;
        _attributes = nullptr;
    }
}

void XmlElement::SetName(const std::string& name) {
    XmlCheck(_name.empty(), "_name == \"\"");
    XmlUtil::CheckName(name);
    _name = name;
}

std::string XmlElement::GetName() {
    _isVisited = true;
    Assert(_name.length() > 0);
    return _name;
}

ObjectWeakPointer<XmlAttribute> XmlElement::GetFirstAttribute() {
    if (_attributes.Get() == nullptr) return ObjectWeakPointer<XmlAttribute>();
    return _attributes.Get()->GetNextAttribute();
}

ObjectWeakPointer<XmlAttribute> XmlElement::GetAttribute(const std::string& name) {
    for (XmlAttribute* a = FirstAttributeRaw(); !a->IsBarrier(); a = a->NextRaw()) {
        if (a->NameRef() == name) {
            a->MarkVisited();
            return ObjectWeakPointer<XmlAttribute>(a);
        }
    }
    return ObjectWeakPointer<XmlAttribute>();
}

bool XmlElement::HasAttribute(const std::string& name) const {
    for (XmlAttribute* a = FirstAttributeRaw(); !a->IsBarrier(); a = a->NextRaw()) {
        if (a->NameRef() == name) return true;
    }
    return false;
}

void XmlElement::AddAttribute(const ObjectSmartPointer<XmlAttribute>& newAttribute) {
    Assert(GetAttribute(newAttribute->GetName()) == NULL);
    OwnAttributes()->InsertBefore(newAttribute);
}

ObjectWeakPointer<XmlNode> XmlElement::GetFirstChildNode() {
    if (_nodes.Get() == nullptr) return ObjectWeakPointer<XmlNode>();
    return _nodes.Get()->GetNextNode();
}

namespace {

XmlElement* AsElement(XmlNode* node) {
    if (node->IsBarrier()) return nullptr;
    return dynamic_cast<XmlElement*>(node);
}

ObjectWeakPointer<XmlElement> Found(XmlElement* element) {
    element->MarkVisited();
    return ObjectWeakPointer<XmlElement>(element);
}

}  // namespace

ObjectWeakPointer<XmlElement> XmlElement::GetFirstChildElement() {
    for (XmlNode* n = FirstChildRaw(); !n->IsBarrier(); n = n->NextRaw()) {
        if (XmlElement* e = AsElement(n)) return Found(e);
    }
    return ObjectWeakPointer<XmlElement>();
}

ObjectWeakPointer<XmlElement> XmlElement::GetFirstChildElement(const std::string& name) {
    for (XmlNode* n = FirstChildRaw(); !n->IsBarrier(); n = n->NextRaw()) {
        XmlElement* e = AsElement(n);
        if (e != nullptr && e->_name == name) return Found(e);
    }
    return ObjectWeakPointer<XmlElement>();
}

ObjectWeakPointer<XmlElement> XmlElement::GetLastChildElement() {
    if (_nodes.Get() == nullptr) return ObjectWeakPointer<XmlElement>();
    for (XmlNode* n = _nodes.Get()->PrevRaw(); !n->IsBarrier(); n = n->PrevRaw()) {
        if (XmlElement* e = AsElement(n)) return Found(e);
    }
    return ObjectWeakPointer<XmlElement>();
}

ObjectWeakPointer<XmlElement> XmlElement::GetNextElement() {
    for (XmlNode* n = _nextNode.operator->(); !n->IsBarrier(); n = n->NextRaw()) {
        if (XmlElement* e = AsElement(n)) return Found(e);
    }
    return ObjectWeakPointer<XmlElement>();
}

ObjectWeakPointer<XmlElement> XmlElement::GetNextElement(const std::string& name) {
    for (XmlNode* n = _nextNode.operator->(); !n->IsBarrier(); n = n->NextRaw()) {
        XmlElement* e = AsElement(n);
        if (e != nullptr && e->_name == name) return Found(e);
    }
    return ObjectWeakPointer<XmlElement>();
}

ObjectWeakPointer<XmlElement> XmlElement::GetPrevElement() {
    for (XmlNode* n = _prevNode.operator->(); !n->IsBarrier(); n = n->PrevRaw()) {
        if (XmlElement* e = AsElement(n)) return Found(e);
    }
    return ObjectWeakPointer<XmlElement>();
}

void XmlElement::AppendChild(const ObjectSmartPointer<XmlNode>& newNode) { OwnNodes()->InsertBefore(newNode); }

void XmlElement::PrependChild(const ObjectSmartPointer<XmlNode>& newNode) { OwnNodes()->InsertAfter(newNode); }

std::string XmlElement::GetText() {
    ObjectWeakPointer<XmlNode> p = GetFirstChildNode();
    Assert(p->GetNextNode() == NULL);
    ObjectWeakPointer<XmlText> text = p.Cast<XmlText>();
    if (text.Get() == nullptr) return std::string();
    return text->GetValue();
}

void XmlElement::ResetVisited() { _isVisited = false; }

// The walks below fetch ahead: list members lie scattered, and each one written or marked waits on
// memory otherwise.
namespace {

// Every cache line of an object of up to `bytes` bytes, which need not start on a line.
void FetchWhole(const void* object, std::size_t bytes) {
    const char* at = static_cast<const char*>(object);
    for (std::size_t offset = 0; offset < bytes; offset += 64) __builtin_prefetch(at + offset);
    __builtin_prefetch(at + bytes - 1);
}

// Room for any node or attribute, the reader's included.
constexpr std::size_t NODE_BYTES = 192;

// Visits the children in order while those ahead come in: the child after next, the attribute
// barrier of that one and the first attribute of the next one.
template <class Visit>
void VisitChildrenAhead(XmlNode* n, Visit&& visit) {
    if (n->IsBarrier()) return;
    XmlNode* next = n->NextRaw();
    XmlNode* after = next->IsBarrier() ? next : next->NextRaw();
    next->FetchAhead(1);
    for (;;) {
        XmlNode* further = after->IsBarrier() ? after : after->NextRaw();
        FetchWhole(further, NODE_BYTES);
        after->FetchAhead(1);
        next->FetchAhead(2);
        visit(n);
        if (next->IsBarrier()) return;
        n = next;
        next = after;
        after = further;
    }
}

}  // namespace

void XmlElement::FetchAhead(int stage) {
    XmlAttribute* barrier = _attributes.Get();
    if (barrier == nullptr) return;
    if (stage == 1) {
        __builtin_prefetch(barrier);
    } else {
        FetchWhole(barrier->NextRaw(), NODE_BYTES);
    }
}

// Two ahead: the one after next comes in whole while next's texts do.
void XmlElement::WriteAttributes(const ObjectWeakPointer<XmlOutText>& out) {
    XmlAttribute* a = FirstAttributeRaw();
    if (a->IsBarrier()) return;
    a->FetchTexts();
    XmlAttribute* next = a->NextRaw();
    FetchWhole(next, NODE_BYTES);
    for (;;) {
        if (!next->IsBarrier()) {
            FetchWhole(next->NextRaw(), NODE_BYTES);
            next->FetchTexts();
        }
        a->Write(out);
        if (next->IsBarrier()) return;
        a = next;
        next = a->NextRaw();
    }
}

void XmlElement::WriteChildren(const ObjectWeakPointer<XmlOutText>& out) {
    VisitChildrenAhead(FirstChildRaw(), [&out](XmlNode* n) { n->Write(out); });
}

void XmlElement::Write(const ObjectWeakPointer<XmlOutText>& out) {
    XmlOutText& text = *out;
    text.PutChar('<');
    text.PutString(_name);
    WriteAttributes(out);
    if (!HasChildNodes()) {
        text.PutString("/>");
    } else {
        text.PutChar('>');
        text.IncreaseTab();
        WriteChildren(out);
        text.DecreaseTab();
        text.PutString("</");
        text.PutString(_name);
        text.PutChar('>');
    }
    _isVisited = true;
}

ObjectSmartPointer<XmlNode> XmlElement::Clone() {
    return ObjectSmartPointer<XmlNode>(new XmlElement(ObjectWeakPointer<XmlElement>(this)));
}

void XmlElement::ResetVisitedTree() {
    ResetVisited();
    for (XmlAttribute* a = FirstAttributeRaw(); !a->IsBarrier(); a = a->NextRaw()) a->ResetVisited();
    for (XmlNode* n = FirstChildRaw(); !n->IsBarrier(); n = n->NextRaw()) n->ResetVisitedTree();
}

void XmlElement::MarkVisitedTree() {
    _isVisited = true;
    for (XmlAttribute* a = FirstAttributeRaw(); !a->IsBarrier();) {
        XmlAttribute* next = a->NextRaw();
        __builtin_prefetch(next, 1);
        a->MarkVisited();
        a = next;
    }
    VisitChildrenAhead(FirstChildRaw(), [](XmlNode* n) { n->MarkVisitedTree(); });
}

bool XmlElement::IsVisitedTree() {
    bool visited = IsDetached() || _isVisited;
    for (XmlAttribute* a = FirstAttributeRaw(); !a->IsBarrier(); a = a->NextRaw()) {
        visited = a->IsVisited() && visited;
    }
    for (XmlNode* n = FirstChildRaw(); !n->IsBarrier(); n = n->NextRaw()) {
        visited = n->IsVisitedTree() && visited;
    }
    return visited;
}

void XmlElement::WriteMarked(const ObjectWeakPointer<XmlOutText>& out) {
    XmlOutText& text = *out;
    if (!_isVisited && !IsDetached()) {
        text.PutChar('<');
        Write(out);
        text.PutChar('>');
        return;
    }
    text.PutChar('<');
    text.PutString(_name);
    for (XmlAttribute* a = FirstAttributeRaw(); !a->IsBarrier(); a = a->NextRaw()) a->WriteMarked(out);
    if (!HasChildNodes()) {
        text.PutString("/>");
        return;
    }
    text.PutChar('>');
    text.IncreaseTab();
    for (XmlNode* n = FirstChildRaw(); !n->IsBarrier(); n = n->NextRaw()) n->WriteMarked(out);
    text.DecreaseTab();
    text.PutString("</");
    text.PutString(_name);
    text.PutChar('>');
}

void XmlElement::CheckVisited() {
    if (IsVisitedTree()) return;
    {
        ObjectSmartPointer<XmlOutText> out(new XmlOutText(dataFolder + "not-visited-marked.xml"));
        WriteMarked(out);
    }
    ReportError(XmlMessages::NOT_VISITED);
}
