#include "core/XmlDocument.h"

#include "core/XmlFileOps.h"
#include "core/XmlMessages.h"
#include "core/XmlOutText.h"
#include "core/XmlRead.h"
#include "core/XmlUtil.h"

// XmlDeclaration

XmlDeclaration::XmlDeclaration(const ObjectWeakPointer<XmlDeclaration>& source)
    : _doesDeclarationPresent(source->_doesDeclarationPresent), _encodingName(source->_encodingName) {}

void XmlDeclaration::SetDeclarationPresent() {
    Assert(!_doesDeclarationPresent);
    _doesDeclarationPresent = true;
}

void XmlDeclaration::SetEncodingName(const std::string& name) {
    Assert(_doesDeclarationPresent);
    Assert(_encodingName == "");
    _encodingName = name;
}

void XmlDeclaration::Write(const ObjectWeakPointer<XmlOutText>& out) {
    if (!_doesDeclarationPresent) return;
    XmlOutText& text = *out;
    text.PutString("<?xml version=\"1.0\"");
    if (!_encodingName.empty()) {
        text.PutString(" encoding=\"");
        text.PutString(_encodingName);
        text.PutChar('"');
    }
    text.PutString("?>");
    text.SetDeclaration();
}

// XmlMisc

XmlMisc::XmlMisc(const ObjectWeakPointer<XmlMisc>& source) : _comments(source->_comments) {}

void XmlMisc::AddComment(const ObjectSmartPointer<XmlComment>& comment) {
    Assert(comment != NULL);
    _comments.push_back(comment);
}

void XmlMisc::Write(const ObjectWeakPointer<XmlOutText>& out) {
    for (const auto& comment : _comments) comment.Get()->Write(out);
}

// XmlDocument

XmlDocument::XmlDocument()
    : _declarationNode(new XmlDeclaration), _miscBefore(new XmlMisc), _miscAfter(new XmlMisc) {}

XmlDocument::XmlDocument(const ObjectSmartPointer<XmlElement>& root)
    : _declarationNode(new XmlDeclaration), _miscBefore(new XmlMisc), _root(root), _miscAfter(new XmlMisc) {
    Assert(root != NULL);
}

XmlDocument::XmlDocument(const ObjectWeakPointer<XmlDocument>& source) {
    XmlDocument& from = *source;
    _declarationNode = ObjectSmartPointer<XmlDeclaration>(new XmlDeclaration(from._declarationNode));
    _miscBefore = ObjectSmartPointer<XmlMisc>(new XmlMisc(from._miscBefore));
    _root = ObjectSmartPointer<XmlElement>(new XmlElement(ObjectWeakPointer<XmlElement>(from._root)));
    _miscAfter = ObjectSmartPointer<XmlMisc>(new XmlMisc(from._miscAfter));
}

void XmlDocument::Write(const ObjectWeakPointer<XmlOutText>& out) {
    _declarationNode->Write(out);
    _miscBefore->Write(out);
    _root->Write(out);
    _miscAfter->Write(out);
}

bool XmlDocument::Save(const std::string& fileName) {
    const std::string backup = fileName + ".bak";
    const std::string fresh = fileName + ".new";
    // A backup left by an interrupted save comes back when the file itself is missing.
    XmlFileOps::MoveNoReplace(backup, fileName);
    XmlFileOps::Delete(backup);
    XmlFileOps::MoveNoReplace(fileName, backup);

    bool written = false;
    try {
        ObjectSmartPointer<XmlOutText> out(new XmlOutText(fresh));
        Write(out);
        written = out->Close();
    } catch (...) {
        XmlFileOps::MoveNoReplace(backup, fileName);
        throw;
    }
    if (!written) {
        XmlFileOps::MoveNoReplace(backup, fileName);
        ReportError(XmlMessages::CANNOT_WRITE + fresh + XmlMessages::FILE_KEPT + fileName);
        return false;
    }
    if (!XmlFileOps::MoveNoReplace(fresh, fileName)) {
        XmlFileOps::MoveNoReplace(backup, fileName);
        ReportError(XmlMessages::CANNOT_RENAME + fresh + XmlMessages::RENAME_TO + fileName);
        return false;
    }
    XmlFileOps::SyncFolderOf(fileName);
    return true;
}

ObjectSmartPointer<XmlDocument> LoadXmlDocument(const std::string& fileName) {
    ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(fileName));
    XmlElement* root = document->GetRoot().Get();
    XmlCheck(root != nullptr, "_object != NULL");
    if (root != nullptr) root->MarkVisitedTree();
    return document;
}
