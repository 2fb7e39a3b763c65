#include "core/XmlNode.h"

#include "core/XmlOutText.h"
#include "core/XmlSiblings.h"
#include "core/XmlUtil.h"

XmlVisitable::~XmlVisitable() { XmlDestructorCheck(_isVisited); }

void XmlVisitable::ResetVisited() { _isVisited = false; }

XmlNode::~XmlNode() {
    if (IsDetached()) _isVisited = true;
    Siblings().Release(this);
}

const XmlSiblings::Chain<XmlNode>& XmlNode::Siblings() {
    static constexpr XmlSiblings::Chain<XmlNode> chain{&XmlNode::_nextNode, &XmlNode::_prevNode, "Node"};
    return chain;
}

ObjectWeakPointer<XmlNode> XmlNode::GetSelf() {
    if (_isBarrier) return ObjectWeakPointer<XmlNode>();
    return ObjectWeakPointer<XmlNode>(this);
}

void XmlNode::ResetVisitedTree() { ResetVisited(); }

void XmlNode::MarkVisitedTree() { _isVisited = true; }

bool XmlNode::IsVisitedTree() { return _isVisited; }

bool XmlNode::IsSignificant() { return true; }

void XmlNode::WriteMarked(const ObjectWeakPointer<XmlOutText>& out) { Write(out); }

ObjectWeakPointer<XmlNode> XmlNode::GetNextNode() {
    ObjectWeakPointer<XmlNode> next = _nextNode->GetSelf();
    if (next.Get() != nullptr) next.Get()->_isVisited = true;
    return next;
}

void XmlNode::InsertBefore(const ObjectSmartPointer<XmlNode>& newNode) { Siblings().InsertBefore(this, newNode); }

void XmlNode::LinkBefore(ObjectSmartPointer<XmlNode>&& newNode) { Siblings().LinkBefore(this, std::move(newNode)); }

void XmlNode::InsertAfter(const ObjectSmartPointer<XmlNode>& newNode) {
    Assert(_nextNode != NULL);
    _nextNode->InsertBefore(newNode);
}

ObjectWeakPointer<XmlNode> XmlNode::Replace(const ObjectSmartPointer<XmlNode>& newNode) {
    return Siblings().Replace(this, newNode, true);
}

ObjectSmartPointer<XmlNode> XmlNode::Remove() { return Siblings().Remove(this); }

// XmlText

XmlText::XmlText(const std::string& value) { SetValue(value); }

void XmlText::SetValue(const std::string& value) { SetValue(std::string(value)); }

void XmlText::SetValue(std::string&& value) {
    XmlCheck(_value.empty(), "_value == \"\"");
    _value = std::move(value);
    NoteValue();
}

void XmlText::NoteValue() {
    _isSpaceOnly = true;
    for (unsigned char c : _value) {
        if (!XmlUtil::IsSpace(c)) {
            _isSpaceOnly = false;
            break;
        }
    }
    if (_isSpaceOnly) _isVisited = true;
}

void XmlText::ResetVisited() {
    if (!_isSpaceOnly) _isVisited = false;
}

bool XmlText::IsSignificant() { return !_isSpaceOnly; }

void XmlText::Write(const ObjectWeakPointer<XmlOutText>& out) {
    out->PutEscapedContent(_value, false);
    _isVisited = true;
}

ObjectSmartPointer<XmlNode> XmlText::Clone() {
    _isVisited = true;
    return ObjectSmartPointer<XmlNode>(new XmlText(_value));
}

void XmlText::WriteMarked(const ObjectWeakPointer<XmlOutText>& out) {
    if (_isVisited) {
        Write(out);
        return;
    }
    out->PutString(" <<");
    Write(out);
    out->PutString(">> ");
}

// XmlComment

XmlComment::XmlComment(const std::string& comment, CopyTag) : _comment(comment) { _isVisited = true; }

void XmlComment::ResetVisited() {}

void XmlComment::Write(const ObjectWeakPointer<XmlOutText>& out) {
    XmlOutText& text = *out;
    text.PutString("<!--");
    text.BeginComment();
    text.PutString(_comment);
    text.EndComment();
    text.PutString("-->");
}

ObjectSmartPointer<XmlNode> XmlComment::Clone() {
    return ObjectSmartPointer<XmlNode>(new XmlComment(_comment, CopyTag{}));
}
