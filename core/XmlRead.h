#pragma once
// The reader: each grammatical unit is read by the constructor of its class, which keeps
// the source form so that a read document is written back as it came in.

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/XmlDocument.h"
#include "core/XmlInText.h"

// A non-empty run of blanks, tabs and line feeds.
class XmlSpaceRead : public XmlMiscReadUnit {
public:
    explicit XmlSpaceRead(const ObjectWeakPointer<XmlInText>& in);
    void Write(const ObjectWeakPointer<XmlOutText>& out) override;
    const std::string& GetValue() const { return _value; }

private:
    std::string _value;
};

// [S] "=" [S]
class XmlEqRead : public Interface {
public:
    explicit XmlEqRead(const ObjectWeakPointer<XmlInText>& in);
    void Write(const ObjectWeakPointer<XmlOutText>& out);

private:
    ObjectSmartPointer<XmlSpaceRead> _spaceBefore;
    ObjectSmartPointer<XmlSpaceRead> _spaceAfter;
};

class XmlDeclarationRead : public XmlDeclaration {
public:
    explicit XmlDeclarationRead(const ObjectWeakPointer<XmlInText>& in);
    void Write(const ObjectWeakPointer<XmlOutText>& out) override;

private:
    ObjectSmartPointer<XmlSpaceRead> _versionSpace;
    ObjectSmartPointer<XmlEqRead> _versionEq;
    char _versionQuote = 0;
    ObjectSmartPointer<XmlSpaceRead> _encodingSpace;
    ObjectSmartPointer<XmlEqRead> _encodingEq;
    char _encodingQuote = 0;
    ObjectSmartPointer<XmlSpaceRead> _endSpace;
};

class XmlMiscRead : public XmlMisc {
public:
    explicit XmlMiscRead(const ObjectWeakPointer<XmlInText>& in);
    void Write(const ObjectWeakPointer<XmlOutText>& out) override;

private:
    std::vector<ObjectSmartPointer<XmlMiscReadUnit>> _components;
};

// Source text kept beside a read unit: its length, then its bytes, in one block of the pool.
class XmlKeptText {
public:
    XmlKeptText() = default;
    ~XmlKeptText() { Free(); }
    XmlKeptText(const XmlKeptText&) = delete;
    XmlKeptText& operator=(const XmlKeptText&) = delete;

    // The two pieces one after the other in place of what was kept.
    void Assign(const char* first, std::size_t firstLength, const char* second = nullptr, std::size_t secondLength = 0);
    bool IsEmpty() const { return _block == nullptr; }
    const char* Data() const { return _block == nullptr ? nullptr : _block + sizeof(std::uint32_t); }
    std::size_t Size() const {
        std::uint32_t size = 0;
        if (_block != nullptr) std::memcpy(&size, _block, sizeof size);
        return size;
    }

private:
    void Free();

    char* _block = nullptr;
};

// Attributes and texts keep their source text (spaces, "=", references as written; the source
// of a value is kept only when it differs from the value) and give the decoded value; writing
// puts the source back.
// The source parts that are mostly absent are held apart, so a read attribute or text is little
// bigger than a plain one.
class XmlAttributeRead : public XmlAttribute {
public:
    // Reads the attribute at the cursor, after the run of spaces that began at spaceBegin.
    XmlAttributeRead(XmlInText& in, unsigned spaceBegin) : XmlAttributeRead(in, spaceBegin, in.SkipName()) {}
    void Write(const ObjectWeakPointer<XmlOutText>& out) override;
    void FetchTexts() const override;

private:
    XmlAttributeRead(XmlInText& in, unsigned spaceBegin, unsigned nameBegin);

    char _quote = 0;
    // Where "=" with its spaces begins in the layout.
    std::uint32_t _eqAt = 0;
    // The spaces before the name, then "=" with its spaces; none for the usual " " and "=".
    XmlKeptText _layout;
    XmlKeptText _source;
};

class XmlTextRead : public XmlText {
public:
    explicit XmlTextRead(XmlInText& in);
    void Write(const ObjectWeakPointer<XmlOutText>& out) override;

private:
    XmlKeptText _source;
};

class XmlElementRead : public XmlElement {
public:
    explicit XmlElementRead(const ObjectWeakPointer<XmlInText>& in);
    void Write(const ObjectWeakPointer<XmlOutText>& out) override;
    bool IsEmptyTag() const { return _isEmptyTag; }

private:
    bool _isEmptyTag = false;
    // Where the spaces before the end tag's ">" begin.
    std::uint32_t _endTagSpaceAt = 0;
    // The spaces before the start tag's ">" or "/>", then those before the end tag's ">"; none
    // when both are empty.
    XmlKeptText _spaces;
};

class XmlDocumentRead : public XmlDocument {
public:
    // Reads the file; when it fails, reads fileName + ".bak" and puts the backup in its place (the
    // broken file is kept aside, see XmlFileOps::KeepAside).
    explicit XmlDocumentRead(const std::string& fileName);
    // Reads text composed by the program; stops at the first rejected byte.
    XmlDocumentRead(const char* begin, const char* end);

    void ReadDocument(const ObjectWeakPointer<XmlInText>& in);
    void ReadFromFile(const std::string& fileName);
    // The line at which the file itself (not its backup) was found broken; 0 when the file was
    // read, or could not be opened at all.
    int GetFailedLine() const { return _failedLine; }

private:
    int _failedLine = 0;

    // Drops what a failed attempt had read, without reporting its unread parts.
    void Discard();
};
