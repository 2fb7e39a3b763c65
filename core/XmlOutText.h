#pragma once
// Collects a whole XML text in memory, lays out the tags and writes the file in one piece.

#include <cstdio>
#include <string>

#include "core/Object.h"

class XmlOutText : public Interface {
public:
    // Opens the file for writing; failing is reported like every file error.
    explicit XmlOutText(const std::string& fileName);
    // Writes and closes the file unless Close already did; reports, never throws.
    ~XmlOutText() override;

    // Markup: a "<" directly after a ">" starts a new line indented by the current depth.
    void PutChar(char c);
    void PutString(const std::string& text);
    void PutString(const char* text);
    void PutString(const char* text, std::size_t length);
    // Character content: a ">" in it never counts as the end of a tag.
    void PutContent(const std::string& text);

    void IncreaseTab();
    void DecreaseTab();
    void BeginComment();
    void EndComment();
    void SetDeclaration();

    // Writes the buffer with line feeds as CR LF, flushes it to the disk (fsync) and closes the file.
    // False when any step failed (each failure is reported).
    bool Close();

    const std::string& GetBuffer() const { return _buffer; }
    const std::string& GetDeclaration() const { return _declaration; }

private:
    bool WriteAndClose(bool fromDestructor);

    std::string _fileName;
    std::FILE* _file = nullptr;
    std::string _buffer;
    char _lastChar = 0;
    int _tabNumber = 0;
    bool _isInComment = false;
    bool _isClosed = false;
    std::string _declaration;
};
