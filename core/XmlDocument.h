#pragma once
// An XML document: optional declaration, comments around the root element, the root.

#include <string>
#include <vector>

#include "core/XmlElement.h"

class XmlDeclaration : public Interface {
public:
    XmlDeclaration() = default;
    explicit XmlDeclaration(const ObjectWeakPointer<XmlDeclaration>& source);

    void SetDeclarationPresent();
    void SetEncodingName(const std::string& name);
    bool IsPresent() const { return _doesDeclarationPresent; }
    std::string GetEncoding() const { return _encodingName; }

    virtual void Write(const ObjectWeakPointer<XmlOutText>& out);

protected:
    bool _doesDeclarationPresent = false;
    std::string _encodingName;
};

class XmlMisc : public Interface {
public:
    XmlMisc() = default;
    // Shares the comment objects with the source.
    explicit XmlMisc(const ObjectWeakPointer<XmlMisc>& source);

    void AddComment(const ObjectSmartPointer<XmlComment>& comment);
    const std::vector<ObjectSmartPointer<XmlComment>>& GetComments() const { return _comments; }

    virtual void Write(const ObjectWeakPointer<XmlOutText>& out);

protected:
    std::vector<ObjectSmartPointer<XmlComment>> _comments;
};

class XmlDocument : public Interface {
public:
    // A document built in code: no declaration, no comments.
    explicit XmlDocument(const ObjectSmartPointer<XmlElement>& root);
    // A plain copy, written in the normalised form.
    explicit XmlDocument(const ObjectWeakPointer<XmlDocument>& source);

    // Not marked.
    ObjectWeakPointer<XmlElement> GetRoot() const { return _root; }
    ObjectWeakPointer<XmlDeclaration> GetDeclaration() const { return _declarationNode; }

    void Write(const ObjectWeakPointer<XmlOutText>& out);

    // Replaces the file safely: the new text goes whole to the disk as fileName + ".new", the old one
    // keeps a second name fileName + ".bak", and the new text then takes the file's name in one step.
    // Whenever the program stops, the file holds the old or the new text. True when the new text is
    // in place; otherwise (reported) the file keeps the old one and *failure, when given, says why.
    bool Save(const std::string& fileName, std::string* failure = nullptr);

protected:
    // For the reader: an absent declaration, empty comment lists, no root yet.
    XmlDocument();

    ObjectSmartPointer<XmlDeclaration> _declarationNode;
    ObjectSmartPointer<XmlMisc> _miscBefore;
    ObjectSmartPointer<XmlElement> _root;
    ObjectSmartPointer<XmlMisc> _miscAfter;
};

// When the file is missing and a save cut short left its text as fileName + ".new" or ".bak", the
// newer of them that ends whole takes the file's name (never replacing anything). True when one did.
bool RestoreInterruptedSave(const std::string& fileName);

// Reads the file (with its backup fallback) and marks the whole tree visited.
ObjectSmartPointer<XmlDocument> LoadXmlDocument(const std::string& fileName);

// Named constants of tuning files, read from the root element.
float GetRootFloatAttributeOrDef(const ObjectSmartPointer<XmlDocument>& document, const std::string& name,
                                 float def);
int GetRootIntAttributeOrDef(const ObjectSmartPointer<XmlDocument>& document, const std::string& name, int def);
