#pragma once
// Collects a whole XML text in memory, lays out the tags and writes the file in one piece.

#include <cstdio>
#include <cstring>
#include <string>

#include "core/Object.h"
#include "core/XmlUtil.h"

class XmlOutText : public Interface {
public:
    // Opens the file for writing; failing is reported like every file error.
    explicit XmlOutText(const std::string& fileName);
    // Writes and closes the file unless Close already did; reports, never throws.
    ~XmlOutText() override;

    // Markup: a "<" directly after a ">" starts a new line indented by the current depth.
    void PutChar(char c) {
        XmlCheck(XmlUtil::IsChar(static_cast<unsigned char>(c)), "XmlUtil::IsChar(c)");
        if (__builtin_expect(c == '<' && _lastChar == '>' && !_isInComment, 0)) PutLineBreak();
        if (__builtin_expect(c == '\n', 0)) {
            PutLineEnd();
        } else {
            *Room(1) = c;
            ++_size;
        }
        _lastChar = c;
    }
    void PutString(const std::string& text) { PutString(text.data(), text.size()); }
    void PutString(const char* text) { PutString(text, std::strlen(text)); }
    void PutString(const char* text, std::size_t length) {
        if (length == 0) return;
        // A leading "<" (as of an end tag) is the one place a line break usually goes.
        if (text[0] == '<') {
            PutChar('<');
            ++text;
            --length;
        }
        // Copied and classified in one pass; anything but plain characters is done again byte by byte.
        char* to = Room(length);
        unsigned special = 0;
        for (std::size_t i = 0; i < length; ++i) {
            const unsigned char c = static_cast<unsigned char>(text[i]);
            to[i] = static_cast<char>(c);
            special |= XmlUtil::IsOfClass(c, XmlUtil::OUT_MARKUP_CLASS);
        }
        if (__builtin_expect(special != 0, 0)) {
            PutMarkupBytes(text, length);
            return;
        }
        if (length == 0) return;
        _size += length;
        _lastChar = text[length - 1];
    }
    // Character content: a ">" in it never counts as the end of a tag.
    void PutContent(const std::string& text) { PutContent(text.data(), text.size()); }
    void PutContent(const char* text, std::size_t length) {
        if (length == 0) return;
        char* to = Room(length);
        unsigned special = 0;
        for (std::size_t i = 0; i < length; ++i) {
            const unsigned char c = static_cast<unsigned char>(text[i]);
            to[i] = static_cast<char>(c);
            special |= XmlUtil::IsOfClass(c, XmlUtil::OUT_CONTENT_CLASS);
        }
        if (__builtin_expect(special != 0, 0)) {
            PutContentBytes(text, length);
        } else {
            _size += length;
        }
        _lastChar = text[length - 1] == '>' ? 0 : text[length - 1];
    }

    // Content with "<", ">", "&" and control bytes as references; in an attribute value (isValue) also
    // the quote, tabs and line feeds.
    void PutEscapedContent(const std::string& text, bool isValue);

    void IncreaseTab();
    void DecreaseTab();
    void BeginComment();
    void EndComment();
    void SetDeclaration();

    // Writes the buffer, flushes it to the disk (fsync) and closes the file.
    // False when any step failed (each failure is reported).
    bool Close();

    // The text so far, with line feeds as line ends.
    const std::string& GetBuffer() const;
    const std::string& GetDeclaration() const { return _declaration; }

private:
    // Room for `length` more bytes after the text.
    char* Room(std::size_t length) {
        if (__builtin_expect(_capacity - _size < length, 0)) Grow(length);
        return _data + _size;
    }
    void Grow(std::size_t length);
    // Line ends are kept as CR LF from the start, so the file is the buffer as it stands.
    void PutLineEnd() {
        char* to = Room(2);
        to[0] = '\r';
        to[1] = '\n';
        _size += 2;
    }
    // The layout's line break and indentation before a "<".
    void PutLineBreak();
    // The byte-by-byte forms of the puts above, for text holding line feeds, "<" or bytes that are no characters.
    void PutMarkupBytes(const char* text, std::size_t length);
    void PutContentBytes(const char* text, std::size_t length);
    bool WriteAndClose(bool fromDestructor);

    std::string _fileName;
    std::FILE* _file = nullptr;
    // The text, line ends as CR LF, in a block of _capacity bytes from malloc.
    char* _data = nullptr;
    std::size_t _size = 0;
    std::size_t _capacity = 0;
    char _lastChar = 0;
    int _tabNumber = 0;
    bool _isInComment = false;
    bool _isClosed = false;
    std::string _declaration;
    // GetBuffer's copy.
    mutable std::string _text;
};
