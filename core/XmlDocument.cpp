#include "core/XmlDocument.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/HtmlLog.h"
#include "platform/FilePort.h"

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

namespace {

std::string ErrorText(int error) { return error == 0 ? std::string("unknown error") : std::strerror(error); }

// A partial new text is removed; whatever else stands under its name (a folder, a link) is not ours.
void DeletePartial(const std::string& path) {
    struct stat info {};
    if (::lstat(FilePort::NormalizePath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode)) XmlFileOps::Delete(path);
}

// Whether the file ends with the end of the element it starts with: a save cut short leaves a text
// without its last end tag (or with a tail of zeros after a power loss). Reports nothing.
bool EndsItsRootElement(const std::string& path) {
    std::FILE* f = FilePort::Open(path, "rb");
    if (f == nullptr) return false;
    std::string head(4096, '\0');
    head.resize(std::fread(&head[0], 1, head.size(), f));
    std::string tail(512, '\0');
    bool ok = std::fseek(f, -static_cast<long>(std::min<std::size_t>(tail.size(), head.size())), SEEK_END) == 0;
    if (ok) tail.resize(std::fread(&tail[0], 1, tail.size(), f));
    std::fclose(f);
    if (!ok) return false;
    // The root's name: the first "<" that opens neither a declaration nor a comment.
    std::size_t at = 0;
    for (;;) {
        at = head.find('<', at);
        if (at == std::string::npos || at + 1 >= head.size()) return false;
        if (head[at + 1] != '?' && head[at + 1] != '!') break;
        ++at;
    }
    std::size_t nameEnd = at + 1;
    while (nameEnd < head.size() && XmlUtil::IsSecondNameLetter(static_cast<unsigned char>(head[nameEnd]))) ++nameEnd;
    const std::string name = head.substr(at + 1, nameEnd - at - 1);
    if (name.empty()) return false;
    while (!tail.empty() && (tail.back() == '\r' || XmlUtil::IsSpace(static_cast<unsigned char>(tail.back())))) {
        tail.pop_back();
    }
    const std::string endTag = "</" + name + ">";
    if (tail.size() >= endTag.size() && tail.compare(tail.size() - endTag.size(), endTag.size(), endTag) == 0) {
        return true;
    }
    // A root without children: "<name .../>" and nothing after it.
    const std::size_t close = head.find('>', nameEnd);
    return close != std::string::npos && close > 0 && head[close - 1] == '/' &&
           head.find_first_not_of(" \t\r\n", close + 1) == std::string::npos && tail.size() == close + 1;
}

}  // namespace

bool RestoreInterruptedSave(const std::string& fileName) {
    if (FilePort::Exists(fileName)) return false;
    std::string best;
    long long bestTime = -1;
    for (const std::string& candidate : {fileName + ".new", fileName + ".bak"}) {
        const long long time = XmlFileOps::ModificationTime(candidate);
        // The new text wins a tie: it was written after the backup was made.
        if (time > bestTime && EndsItsRootElement(candidate)) {
            best = candidate;
            bestTime = time;
        }
    }
    if (best.empty() || !XmlFileOps::MoveNoReplace(best, fileName)) return false;
    XmlFileOps::SyncFolderOf(fileName);
    HtmlLog::WriteLineColor(fileName + " was missing (a save was cut short); its last whole text " + best +
                                " takes its place",
                            "DarkOrange");
    return true;
}

// The new text is written whole and flushed to the disk under its own name before anything else
// changes, so that at every instant the file's name holds a whole document: the old one until the
// new one replaces it in one step. The backup is a second name of the old file.
bool XmlDocument::Save(const std::string& fileName, std::string* failure) {
    const std::string backup = fileName + ".bak";
    const std::string fresh = fileName + ".new";
    // A save cut short by an older program may have left the file missing and its text aside.
    RestoreInterruptedSave(fileName);

    bool written = false;
    int error = 0;
    {
        ObjectSmartPointer<XmlOutText> out(new XmlOutText(fresh));
        try {
            Write(out);
        } catch (...) {
            out->Close();
            DeletePartial(fresh);
            throw;
        }
        written = out->Close();
        error = out->GetErrorNumber();
    }
    if (!written) {
        DeletePartial(fresh);  // the file keeps the old text
        ReportError(XmlMessages::CANNOT_WRITE + fresh + XmlMessages::FILE_KEPT + fileName + "\n(" + fileName +
                    " is not saved: " + ErrorText(error) + "; it keeps its previous text)");
        if (failure) *failure = ErrorText(error);
        return false;
    }
    if (FilePort::Exists(fileName)) {
        // The file is whole, so the old backup is not the only copy of anything.
        XmlFileOps::Delete(backup);
        if (!XmlFileOps::AddName(fileName, backup)) {
            HtmlLog::WriteLineColor("No backup " + backup + " of the previous text: " + ErrorText(errno), "DarkOrange");
        }
    }
    if (!XmlFileOps::Replace(fresh, fileName)) {
        error = errno;
        // The new text stays in fresh for whoever looks; the file keeps the old one.
        ReportError(XmlMessages::CANNOT_RENAME + fresh + XmlMessages::RENAME_TO + fileName + "\n(" + fileName +
                    " is not saved: " + ErrorText(error) + "; it keeps its previous text)");
        if (failure) *failure = ErrorText(error);
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
