#pragma once
// Collects a whole XML text in memory, lays out the tags and writes the file in one piece.

#include <cstdio>
#include <cstring>
#include <string>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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
        if (__builtin_expect(XmlUtil::IsOfClass(static_cast<unsigned char>(c), XmlUtil::OUT_MARKUP_CLASS), 0)) {
            PutMarkupChar(c);
            return;
        }
        *Room(1) = c;
        ++_size;
        _lastChar = c;
    }
    void PutString(const std::string& text) { PutString(text.data(), text.size()); }
    void PutString(const char* text) { PutString(text, std::strlen(text)); }
    void PutString(const char* text, std::size_t length) {
        if (length == 0) return;
        // A leading "<" (as of an end tag) is the one place a line break usually goes.
        if (text[0] == '<') {
            PutMarkupChar('<');
            ++text;
            --length;
            if (length == 0) return;
        }
        if (__builtin_expect(!PutPlain(text, length, XmlUtil::OUT_MARKUP_CLASS), 0)) {
            for (std::size_t i = 0; i < length; ++i) PutChar(text[i]);
            return;
        }
        _lastChar = text[length - 1];
    }
    // Character content: a ">" in it never counts as the end of a tag.
    void PutContent(const std::string& text) { PutContent(text.data(), text.size()); }
    void PutContent(const char* text, std::size_t length) {
        if (length == 0) return;
        if (__builtin_expect(!PutPlain(text, length, XmlUtil::OUT_CONTENT_CLASS), 0)) PutContentBytes(text, length);
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
    // The system's error number of the first step that failed; 0 when none did.
    int GetErrorNumber() const { return _errorNumber; }

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
    void PutLineEnd();
    // The layout's line break and indentation before a "<".
    void PutLineBreak();
    // Appends the text when it holds no byte of the class that needs care (a line feed, a byte that is
    // no character and in markup a "<"); false, with nothing appended, when it does. Short texts are
    // copied and classified in one pass; longer ones classified sixteen bytes at a time and copied whole.
    bool PutPlain(const char* text, std::size_t length, XmlUtil::ByteClass byteClass) {
        char* to = Room(length);
        if (length < 16) {
            bool care = false;
            for (std::size_t i = 0; i < length; ++i) {
                to[i] = text[i];
                care |= XmlUtil::IsOfClass(static_cast<unsigned char>(text[i]), byteClass);
            }
            if (care) return false;
            _size += length;
            return true;
        }
        std::size_t i = 0;
#ifdef __SSE2__
        const __m128i tab = _mm_set1_epi8('\t');
        const __m128i lastControl = _mm_set1_epi8(31);
        const __m128i less = _mm_set1_epi8(byteClass == XmlUtil::OUT_MARKUP_CLASS ? '<' : 0);
        for (; i + 16 <= length; i += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
            const __m128i control =
                _mm_andnot_si128(_mm_cmpeq_epi8(bytes, tab), _mm_cmpeq_epi8(_mm_min_epu8(bytes, lastControl), bytes));
            if (_mm_movemask_epi8(_mm_or_si128(control, _mm_cmpeq_epi8(bytes, less))) != 0) return false;
        }
#endif
        bool care = false;
        for (; i < length; ++i) care |= XmlUtil::IsOfClass(static_cast<unsigned char>(text[i]), byteClass);
        if (care) return false;
        std::memcpy(to, text, length);
        _size += length;
        return true;
    }
    // The char that needs the checks: "<", a line feed or no character.
    void PutMarkupChar(char c);
    // Content holding line feeds or bytes that are no characters.
    void PutContentBytes(const char* text, std::size_t length);
    // A run between the references that PutEscapedContent puts in.
    void PutRun(const char* text, std::size_t length, bool isValue);
    // Text known to hold no byte that needs care, nor a ">" that ends a tag.
    void PutVerbatim(const char* text, std::size_t length);
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
    int _errorNumber = 0;
    std::string _declaration;
    // GetBuffer's copy.
    mutable std::string _text;
};
